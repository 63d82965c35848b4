// SPDX-License-Identifier: GPL-3.0-or-later
// nadrix-render's command line, from any arguments (the input's bytes split
// at NUL), run in a scratch folder that holds a short stereo and a mono
// file, a state and a manifest. A command line is refused or run; a run
// ends with a status of 0, 1 or 2, never changes the files it reads, and
// leaves no temporary file behind. Runs that would render more than a
// moment (no short --tail, the demo, impulses, the window), read standard
// input or write standard output are only parsed.
#include "fuzz/FuzzKit.h"
#include "processor/NadrixAudioProcessor.h"
#include "tools/nadrix-render/RenderCommand.h"
#include "tools/nadrix-render/WavWriter.h"

#include <map>
#include <sstream>

namespace
{
    juce::File folder() { return nadrix::fuzz::scratchFolder().getChildFile ("run"); }

    // The files a command line may read, and their bytes.
    std::map<juce::String, juce::MemoryBlock> fixtures;

    void writeFixture (const juce::String& name, int channels)
    {
        juce::String error;
        auto channel = nadrix::OutputChannel::createFile (folder().getChildFile (name), error);
        nadrix::WavWriter wav (*channel, 44100, channels, 32);
        std::vector<float> frames ((size_t) (441 * channels), 0.0f);
        frames[0] = 1.0f;
        wav.start();
        wav.write (frames.data(), 441);
        wav.finish();
        channel->close();
    }

    void makeFixtures()
    {
        folder().createDirectory();
        writeFixture ("in.wav", 2);
        writeFixture ("mono.wav", 1);
        nadrix::NadrixAudioProcessor processor;
        juce::MemoryBlock state;
        processor.getStateInformation (state);
        folder().getChildFile ("state.bin").replaceWithData (state.getData(), state.getSize());
        folder().getChildFile ("m.tsv").replaceWithText ("in.wav\tout/a.wav\n# a comment\nmono.wav\tb.flac\tNice Hall\t7\n");
        for (const auto& file : folder().findChildFiles (juce::File::findFiles, false))
            file.loadFileAsData (fixtures[file.getFileName()]);
    }

    // Whatever the arguments say, nothing outside the scratch folder: no
    // absolute path, no way up, no home folder.
    bool staysInScratch (const juce::String& arg)
    {
        const auto value = arg.fromFirstOccurrenceOf ("=", false, false);
        for (const auto& path : { arg, value })
            if (path.startsWithChar ('/') || path.startsWithChar ('~'))
                return false;
        return ! arg.contains ("..");
    }

    // Lists, and renders of the short fixtures with a short tail; the rest
    // (help, the demo, impulses, the window) is the main program's or slow.
    bool cheapToRun (const nadrix::RenderOptions& o)
    {
        if (o.showHelp || o.showVersion || o.isImpulse() || o.snapshotFile != juce::File())
            return false;
        if (o.listPrograms || o.listParameters)
            return true;
        const bool rendersFiles = o.input != juce::File() || o.isBatch() || o.hasManifest();
        return rendersFiles && ! o.demo && ! o.inputIsStandardInput && ! o.manifestIsStandardInput && ! o.outputIsStandardOutput
            && o.threads <= 4 && o.tailSeconds.has_value() && *o.tailSeconds <= 0.1;
    }

    void checkNothingLostOrLeft()
    {
        for (const auto& [name, bytes] : fixtures)
        {
            juce::MemoryBlock now;
            folder().getChildFile (name).loadFileAsData (now);
            NADRIX_FUZZ_CHECK (now == bytes, "a run changed a file it reads");
        }
        for (const auto& file : nadrix::fuzz::scratchFolder().findChildFiles (juce::File::findFiles, true))
            NADRIX_FUZZ_CHECK (! file.getFileName().contains ("_temp"), "a run left a temporary file");
    }

    // Outputs go, so that every run starts from the fixtures alone.
    void removeOutputs()
    {
        for (const auto& entry : folder().findChildFiles (juce::File::findFilesAndDirectories, false))
            if (fixtures.count (entry.getFileName()) == 0)
                entry.isDirectory() ? (void) entry.deleteRecursively() : (void) entry.deleteFile();
    }
}

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    nadrix::fuzz::startJuce();
    makeFixtures();
    const auto temporary = nadrix::fuzz::scratchFolder().getChildFile ("tmp");
    temporary.createDirectory();
    setenv ("TMPDIR", temporary.getFullPathName().toRawUTF8(), 1);
    folder().setAsCurrentWorkingDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using namespace nadrix;

    juce::StringArray args;
    for (size_t start = 0, end; start <= size && args.size() < 24; start = end + 1)
    {
        end = start;
        while (end < size && data[end] != 0)
            ++end;
        // As the main program: what is not UTF-8 is refused before JUCE sees it.
        const std::string arg (reinterpret_cast<const char*> (data + start), end - start);
        if (! juce::CharPointer_UTF8::isValidString (arg.c_str(), (int) arg.size()) || arg.find ('\0') != std::string::npos)
            return 0;
        args.add (juce::String::fromUTF8 (arg.c_str(), (int) arg.size()));
        if (! staysInScratch (args[args.size() - 1]))
            return 0;
    }

    const auto parsed = RenderOptions::parse (args);
    if (const auto* error = std::get_if<juce::String> (&parsed))
    {
        NADRIX_FUZZ_CHECK (error->isNotEmpty(), "a command line refused without a reason");
        return 0;
    }
    const auto& options = std::get<RenderOptions> (parsed);
    if (! cheapToRun (options))
        return 0;

    std::ostringstream out, warnings;
    const auto outcome = runRenderCommand (options, out, warnings);
    NADRIX_FUZZ_CHECK (outcome.code == Outcome::success || outcome.code == Outcome::inputOutputError || outcome.code == Outcome::usageError,
                       "a status other than 0, 1 or 2");
    NADRIX_FUZZ_CHECK (! outcome.failed() || outcome.message.isNotEmpty(), "a failure without a reason");
    checkNothingLostOrLeft();
    removeOutputs();
    return 0;
}
