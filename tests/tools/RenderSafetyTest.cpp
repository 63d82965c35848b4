// SPDX-License-Identifier: GPL-3.0-or-later
// nadrix-render never destroys a file, never renders more than an input
// holds, and leaves nothing behind when it fails or is interrupted.
#include "tools/nadrix-render/RenderCommand.h"
#include "tests/tools/RenderTestKit.h"

#include <csignal>
#include <random>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace nadrix
{
namespace
{
    // The byte offset of a chunk's size field, found by its id.
    size_t chunkSizeField (const juce::MemoryBlock& data, const char* id)
    {
        const auto* bytes = static_cast<const char*> (data.getData());
        for (size_t i = 12; i + 8 <= data.getSize(); ++i)
            if (std::memcmp (bytes + i, id, 4) == 0)
                return i + 4;
        return 0;
    }

    void writeBytes (const juce::File& file, const juce::MemoryBlock& data) { ASSERT_TRUE (file.replaceWithData (data.getData(), data.getSize())); }
}

TEST_F (RenderFixture, NothingReadOrJustWrittenIsEverReplaced)
{
    juce::WavAudioFormat wav;
    const auto in = writeAudio ("in.wav", wav, noiseBuffer (2, 2000, 1), 44100.0, 16);
    const auto state = dir.getChildFile ("hall.state");
    ASSERT_EQ (runRender ({ "--list-programs" }).exitCode, 0);
    ASSERT_EQ (runRender ({ in.getFullPathName(), "-o", dir.getChildFile ("first.wav").getFullPathName(), "--tail", "0", "--save-state", state.getFullPathName() }).exitCode, 0);
    const auto inputBytes = bytesOf (in), stateBytes = bytesOf (state);

    ASSERT_EQ (::symlink (".", dir.getChildFile ("same").getFullPathName().toRawUTF8()), 0);
    ASSERT_TRUE (in.createSymbolicLink (dir.getChildFile ("soft.wav"), false));
    ASSERT_EQ (::link (in.getFullPathName().toRawUTF8(), dir.getChildFile ("hard.wav").getFullPathName().toRawUTF8()), 0);
    const auto locked = dir.getChildFile ("locked.wav");
    ASSERT_TRUE (locked.replaceWithText ("keep"));
    ASSERT_TRUE (locked.setReadOnly (true));

    const auto path = [this] (const char* name) { return dir.getChildFile (name).getFullPathName(); };
    const std::vector<std::pair<juce::StringArray, juce::String>> refused = {
        { { in.getFullPathName(), "-o", path ("same/in.wav") }, "is the input file" },
        { { in.getFullPathName(), "-o", path ("./same/../in.wav") }, "is the input file" },
        { { in.getFullPathName(), "-o", path ("hard.wav") }, "is the input file" },
        { { in.getFullPathName(), "-o", path ("soft.wav") }, "is the input file" },
        { { in.getFullPathName(), "-o", path ("out.wav"), "--save-state", in.getFullPathName() }, "is the input file" },
        { { in.getFullPathName(), "-o", path ("out.wav"), "--save-state", path ("same/out.wav") }, "is the output file" },
        { { in.getFullPathName(), "-o", path ("out.wav"), "--state", state.getFullPathName(), "--save-state", path ("hall.state") }, "read by --state" },
        { { in.getFullPathName(), "-o", state.getFullPathName(), "--type", "wav", "--state", state.getFullPathName() }, "read by --state" },
        { { in.getFullPathName(), "-o", locked.getFullPathName() }, "read-only" },
    };
    for (const auto& [args, expected] : refused)
    {
        const auto run = runRender (args);
        EXPECT_EQ (run.exitCode, 1) << args.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains (expected)) << args.joinIntoString (" ") << " said: " << run.output;
    }
    EXPECT_EQ (bytesOf (in), inputBytes);
    EXPECT_EQ (bytesOf (state), stateBytes);
    EXPECT_EQ (locked.loadFileAsString(), "keep");
    EXPECT_FALSE (dir.getChildFile ("out.wav").exists());

    // An output that is a symbolic link is written through: the link stays.
    const auto target = dir.getChildFile ("target.wav"), link = dir.getChildFile ("link.wav");
    ASSERT_TRUE (target.replaceWithText ("old"));
    ASSERT_TRUE (target.createSymbolicLink (link, false));
    ASSERT_EQ (runRender ({ in.getFullPathName(), "-o", link.getFullPathName(), "--tail", "0" }).exitCode, 0);
    EXPECT_TRUE (link.isSymbolicLink());
    double rate = 0;
    EXPECT_EQ (readAudio (target, rate).getNumSamples(), 2000);
}

TEST_F (RenderFixture, DamagedInputsAreRenderedOnlyAsFarAsTheyGoOrRefusedWhenStrict)
{
    juce::WavAudioFormat wav;
    juce::FlacAudioFormat flac;
    const auto whole = writeAudio ("whole.wav", wav, noiseBuffer (2, 44100, 2), 44100.0, 16);
    const auto flacWhole = writeAudio ("whole.flac", flac, noiseBuffer (2, 44100, 3), 44100.0, 16);

    auto lying = bytesOf (whole);
    const juce::uint32 huge = 0xfffffff0;
    std::memcpy (static_cast<char*> (lying.getData()) + chunkSizeField (lying, "data"), &huge, 4);
    writeBytes (dir.getChildFile ("lying.wav"), lying);

    auto cut = bytesOf (whole);
    cut.setSize (cut.getSize() / 2);
    writeBytes (dir.getChildFile ("cut.wav"), cut);

    auto flacCut = bytesOf (flacWhole);
    flacCut.setSize (flacCut.getSize() / 2);
    writeBytes (dir.getChildFile ("cut.flac"), flacCut);

    // Cut inside its first frame: it declares a second of audio and holds none.
    auto flacHeader = bytesOf (flacWhole);
    flacHeader.setSize (100);
    writeBytes (dir.getChildFile ("header.flac"), flacHeader);

    auto flacGarbage = bytesOf (flacWhole);
    for (size_t i = flacGarbage.getSize() / 3; i < flacGarbage.getSize() / 3 + 4000; ++i)
        static_cast<char*> (flacGarbage.getData())[i] = (char) (i * 37);
    writeBytes (dir.getChildFile ("garbage.flac"), flacGarbage);

    for (const char* name : { "lying.wav", "cut.wav", "cut.flac", "garbage.flac" })
    {
        const auto out = dir.getChildFile (juce::String (name) + ".out.wav");
        const auto run = runRender ({ dir.getChildFile (name).getFullPathName(), "-o", out.getFullPathName(), "--tail", "0" });
        EXPECT_EQ (run.exitCode, 0) << name << ": " << run.output;
        EXPECT_TRUE (run.output.contains ("is damaged")) << name << ": " << run.output;
        double rate = 0;
        const auto frames = readAudio (out, rate).getNumSamples();
        EXPECT_LE (frames, 44100) << name; // never more than was written
        if (juce::String (name).startsWith ("cut"))
        {
            EXPECT_LT (frames, 22100) << name;
        }

        const auto strict = runRender ({ dir.getChildFile (name).getFullPathName(), "-o", dir.getChildFile ("strict.wav").getFullPathName(), "--strict" });
        EXPECT_EQ (strict.exitCode, 1) << name;
        EXPECT_TRUE (strict.output.contains ("--strict")) << strict.output;
        EXPECT_FALSE (dir.getChildFile ("strict.wav").exists());
    }

    for (const char* strictness : { "--tail=0", "--strict" })
    {
        const auto nothing = runRender ({ dir.getChildFile ("header.flac").getFullPathName(), "-o", dir.getChildFile ("h.wav").getFullPathName(), strictness });
        EXPECT_EQ (nothing.exitCode, 1) << nothing.output;
        EXPECT_TRUE (nothing.output.contains (juce::String (strictness) == "--strict" ? "--strict" : "holds no audio")) << nothing.output;
        EXPECT_FALSE (dir.getChildFile ("h.wav").exists());
    }

    // 12-bit samples come in 16-bit words: they are read as the sound they hold, not as silence.
    auto twelve = bytesOf (whole);
    const juce::uint16 bits = 12;
    std::memcpy (static_cast<char*> (twelve.getData()) + chunkSizeField (twelve, "fmt ") + 4 + 14, &bits, 2);
    writeBytes (dir.getChildFile ("twelve.wav"), twelve);
    const auto run = runRender ({ dir.getChildFile ("twelve.wav").getFullPathName(), "-o", dir.getChildFile ("t.wav").getFullPathName(), "--tail", "0" });
    EXPECT_EQ (run.exitCode, 0) << run.output;
    double rate = 0;
    EXPECT_GT (readAudio (dir.getChildFile ("t.wav"), rate).getMagnitude (0, 44100), 0.1f);
}

TEST_F (RenderFixture, AThousandDamagedFilesNeitherCrashNorOverrunNorLeaveFilesBehind)
{
    juce::WavAudioFormat wav;
    juce::AiffAudioFormat aiff;
    juce::FlacAudioFormat flac;
    const juce::File originals[] = { writeAudio ("a.wav", wav, noiseBuffer (2, 3000, 4), 44100.0, 16),
                                     writeAudio ("b.wav", wav, noiseBuffer (1, 3000, 5), 48000.0, 24),
                                     writeAudio ("c.aiff", aiff, noiseBuffer (2, 3000, 6), 44100.0, 16),
                                     writeAudio ("d.flac", flac, noiseBuffer (2, 3000, 7), 44100.0, 16) };
    const auto work = dir.getChildFile ("fuzz");
    ASSERT_TRUE (work.createDirectory());
    std::mt19937 rng (2026);
    int rendered = 0;

    for (int round = 0; round < 1000; ++round)
    {
        const auto& original = originals[round % 4];
        auto bytes = bytesOf (original);
        auto* raw = static_cast<unsigned char*> (bytes.getData());
        if (round % 3 == 0)
            bytes.setSize (rng() % bytes.getSize());
        else
            for (int flips = 1 + (int) (rng() % 4); flips > 0; --flips)
                raw[rng() % (round % 3 == 1 ? std::min<size_t> (64, bytes.getSize()) : bytes.getSize())] ^= (unsigned char) (1u << (rng() % 8));

        const auto damaged = work.getChildFile ("in" + original.getFileExtension());
        writeBytes (damaged, bytes);
        RenderOptions options;
        options.input = damaged;
        options.output = work.getChildFile ("out.wav");
        options.tailSeconds = 0.0;
        std::ostringstream report, warnings;
        const auto outcome = runRenderCommand (options, report, warnings);

        if (! outcome.failed())
        {
            ++rendered;
            double rate = 0;
            const auto frames = readAudio (options.output, rate).getNumSamples();
            const auto allowed = original.getFileExtension() == ".flac" ? 3000 : (int) bytes.getSize(); // a frame takes a byte at least
            ASSERT_LE (frames, allowed) << "round " << round;
        }
        ASSERT_EQ (work.getNumberOfChildFiles (juce::File::findFiles), outcome.failed() ? 1 : 2) << "round " << round << ": " << outcome.message;
        options.output.deleteFile();
        damaged.deleteFile();
    }
    EXPECT_GT (rendered, 300); // most damage still leaves something to render
    std::cout << rendered << " of 1000 damaged files rendered, the rest refused\n";
}

TEST_F (RenderFixture, AnInterruptedRenderLeavesNoFile)
{
    const auto out = dir.getChildFile ("long.wav");
    ASSERT_TRUE (out.replaceWithText ("previous"));
    for (int signalNumber : { SIGINT, SIGTERM })
    {
        const auto outPath = out.getFullPathName().toStdString();
        char* const argv[] = { (char*) NADRIX_RENDER_PATH, (char*) "--demo", (char*) "-o", (char*) outPath.c_str(), (char*) "--tail", (char*) "3600", nullptr };
        pid_t pid = 0;
        ASSERT_EQ (::posix_spawn (&pid, NADRIX_RENDER_PATH, nullptr, nullptr, argv, environ), 0);

        // Until the temporary file beside the output has begun to fill: an
        // interrupt before it would prove nothing.
        for (int wait = 0; wait < 3000 && dir.getNumberOfChildFiles (juce::File::findFiles) < 2; ++wait)
            juce::Thread::sleep (10);
        const bool temporaryThere = dir.getNumberOfChildFiles (juce::File::findFiles) == 2;
        ::kill (pid, signalNumber);
        ASSERT_TRUE (temporaryThere) << "the render never began its file";
        int status = 0;
        ::waitpid (pid, &status, 0);
        EXPECT_TRUE (WIFSIGNALED (status) && WTERMSIG (status) == signalNumber);
        EXPECT_EQ (dir.getNumberOfChildFiles (juce::File::findFiles), 1) << signalNumber;
        EXPECT_EQ (out.loadFileAsString(), "previous");
    }
}

TEST_F (RenderFixture, EveryRefusalIsOneLineWithTheExitCodeOfItsKindAndLosesNothing)
{
    juce::WavAudioFormat wav;
    const auto in = writeAudio ("in.wav", wav, noiseBuffer (2, 500, 8), 44100.0, 16).getFullPathName();
    const auto kept = dir.getChildFile ("out.wav");
    ASSERT_TRUE (kept.replaceWithText ("keep me"));
    const auto out = kept.getFullPathName(), notAudio = dir.getChildFile ("notes.wav").getFullPathName();
    ASSERT_TRUE (juce::File (notAudio).replaceWithText ("this is not audio"));
    const auto empty = writeAudio ("empty.wav", wav, juce::AudioBuffer<float> (2, 0), 44100.0, 16).getFullPathName();
    const auto inputBytes = bytesOf (juce::File (in));
    const auto low = writeAudio ("low.wav", wav, noiseBuffer (1, 400, 9), 4000.0, 16).getFullPathName();

    const std::vector<std::tuple<juce::StringArray, int, juce::String>> cases = {
        { { in }, 2, "missing -o" },
        { { in, "-o", out, "--bogus" }, 2, "unknown option" },
        { { in, "-o", out, "--program", "Cathedral" }, 2, "unknown program" },
        { { in, "-o", out, "--program", "6" }, 2, "unknown program" },
        { { in, "-o", out, "--set", "Colour=0.5" }, 2, "unknown parameter" },
        { { in, "-o", out, "--set", "Mix=1.5" }, 2, "from 0 to 1" },
        { { in, "-o", out, "--set", "=0.5" }, 2, "names no parameter" },
        { { in, "-o", out, "--set", "Mix=0.5=0.6" }, 2, "cannot read" },
        { { in, "-o", out, "--tail", "0x10" }, 2, "--tail" },
        { { in, "-o", out, "--block", "0" }, 2, "--block" },
        { { dir.getChildFile ("missing.wav").getFullPathName(), "-o", out }, 1, "no such file" },
        { { dir.getFullPathName(), "-o", out }, 1, "is a directory" },
        { { notAudio, "-o", out }, 1, "not an audio file" },
        { { empty, "-o", out }, 1, "holds no audio" },
        { { in, "-o", out, "--state", in }, 1, "1428 bytes" },
        { { in, "-o", "/nonexistent-dir/out.wav" }, 1, "'/nonexistent-dir' does not exist" },
        { { in, "-o", dir.getChildFile ("out.xyz").getFullPathName() }, 2, "extensions .wav" },
        { { in, "-o", dir.getChildFile ("out.flac").getFullPathName(), "--bits", "32" }, 2, "FLAC files hold 16 or 24 bits" },
        { { in, "-o", dir.getChildFile ("out.opus").getFullPathName() }, 1, "Ogg Opus files hold 8000" },
        { { in, "-o", out, "--tail=0x10" }, 2, "--tail" },
        { { in, "-o", out, "--strict=yes" }, 2, "takes no value" },
        { { in, "-o", out, "--tial", "1" }, 2, "did you mean '--tail'" },
        { { in, "-o", out, "--set", "Mx=0.5" }, 2, "did you mean 'Mix'" },
        { { in, "-o", out, "--program", "Nice Hal" }, 2, "did you mean 'Nice Hall'" },
        { { "-o", out }, 2, "--demo" },
        { { "--json" }, 2, "give it with --analyze" },
        { { "-V" }, 2, "did you mean '--version'" },
        { { low, "-o", out }, 1, "out of range (8000 to 768000 Hz)" },
    };
    for (const auto& [args, code, expected] : cases)
    {
        const auto run = runRender (args);
        EXPECT_EQ (run.exitCode, code) << args.joinIntoString (" ");
        EXPECT_TRUE (run.output.contains (expected)) << args.joinIntoString (" ") << " said: " << run.output;
        EXPECT_EQ (run.output.trim().indexOfChar ('\n'), -1) << run.output;
    }
    EXPECT_EQ (kept.loadFileAsString(), "keep me");
    EXPECT_EQ (bytesOf (juce::File (in)), inputBytes);
    EXPECT_EQ (dir.getNumberOfChildFiles (juce::File::findFiles), 5); // no temporary left behind

    // Audio is not written to a terminal (run on one of its own by script(1)).
    const auto onTerminal = runShell ("script -qec \"'" + juce::String (NADRIX_RENDER_PATH) + "' '" + in + "' -o -\" /dev/null");
    EXPECT_EQ (onTerminal.exitCode, 1) << onTerminal.output;
    EXPECT_TRUE (onTerminal.output.contains ("it is a terminal")) << onTerminal.output;

    // A state file of any size but 1428 bytes is refused, and nothing is written.
    for (const size_t size : { (size_t) 0, (size_t) 1, (size_t) 1424, (size_t) 1427, (size_t) 1429, (size_t) 2856 })
    {
        const auto state = dir.getChildFile ("wrong.state");
        ASSERT_TRUE (size == 0 ? state.create().wasOk() : state.replaceWithData (juce::MemoryBlock (size, true).getData(), size));
        const auto run = runRender ({ in, "-o", out, "--state", state.getFullPathName() });
        EXPECT_EQ (run.exitCode, 1) << size << " bytes: " << run.output;
        EXPECT_TRUE (run.output.contains ("1428 bytes")) << size << " bytes: " << run.output;
        EXPECT_EQ (kept.loadFileAsString(), "keep me");
        state.deleteFile();
    }

    // An empty program name is not quietly ignored (a child process would drop the empty argument).
    const auto unnamed = RenderOptions::parse ({ in, "-o", out, "--program", "" });
    ASSERT_TRUE (std::holds_alternative<juce::String> (unnamed));
    EXPECT_TRUE (std::get<juce::String> (unnamed).contains ("unknown program"));
}
} // namespace nadrix
