// SPDX-License-Identifier: GPL-3.0-or-later
// nadrix-render's outputs that are not files (devices, FIFOs, pipes) are
// written as the render runs and never replaced; a pipe carries the render
// as it goes, in flat memory; a level beyond full scale is said, and set.
#include "tests/SanitizedBuild.h"
#include "tests/tools/RenderTestKit.h"

#include <sndfile.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace nadrix
{
namespace
{
    // nadrix-render started with its standard input and output as pipes of
    // the test's, and $TMPDIR a folder of the test's.
    struct Child
    {
        pid_t pid = 0;
        int in = -1, out = -1;

        Child (juce::StringArray args, const juce::File& temporaryFolder)
        {
            int toChild[2], fromChild[2];
            EXPECT_EQ (::pipe (toChild), 0);
            EXPECT_EQ (::pipe (fromChild), 0);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init (&actions);
            posix_spawn_file_actions_adddup2 (&actions, toChild[0], 0);
            posix_spawn_file_actions_adddup2 (&actions, fromChild[1], 1);
            for (int fd : { toChild[0], toChild[1], fromChild[0], fromChild[1] })
                posix_spawn_file_actions_addclose (&actions, fd);

            args.insert (0, NADRIX_RENDER_PATH);
            std::vector<std::string> words;
            for (const auto& a : args)
                words.push_back (a.toStdString());
            std::vector<char*> argv;
            for (auto& w : words)
                argv.push_back (w.data());
            argv.push_back (nullptr);
            std::string tmp = "TMPDIR=" + temporaryFolder.getFullPathName().toStdString();
            char* envp[] = { tmp.data(), nullptr };
            EXPECT_EQ (::posix_spawn (&pid, NADRIX_RENDER_PATH, &actions, nullptr, argv.data(), envp), 0);
            posix_spawn_file_actions_destroy (&actions);
            ::close (toChild[0]);
            ::close (fromChild[1]);
            in = toChild[1];
            out = fromChild[0];
        }

        void closeInput() { if (in >= 0) ::close (std::exchange (in, -1)); }
        void closeOutput() { if (out >= 0) ::close (std::exchange (out, -1)); }
        bool running() const { int status; return ::waitpid (pid, &status, WNOHANG) == 0; }

        // Its exit status, and the most memory it held, in kB.
        std::pair<int, long> wait()
        {
            int status = 0;
            rusage usage {};
            ::wait4 (pid, &status, 0, &usage);
            return { WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status), usage.ru_maxrss };
        }

        ~Child() { closeInput(); closeOutput(); }
    };

    juce::MemoryBlock readAll (int fd, size_t atMost = SIZE_MAX)
    {
        juce::MemoryBlock all;
        char chunk[65536];
        for (ssize_t n; all.getSize() < atMost && (n = ::read (fd, chunk, std::min (sizeof (chunk), atMost - all.getSize()))) > 0;)
            all.append (chunk, (size_t) n);
        return all;
    }

    // A WAV header for a stream of 16-bit stereo at 44.1 kHz whose length
    // is not known, as programs writing into a pipe give it.
    juce::MemoryBlock streamHeader()
    {
        juce::MemoryOutputStream h;
        h.write ("RIFF", 4); h.writeInt (-1); h.write ("WAVEfmt ", 8); h.writeInt (16);
        h.writeShort (1); h.writeShort (2); h.writeInt (44100); h.writeInt (44100 * 4); h.writeShort (4); h.writeShort (16);
        h.write ("data", 4); h.writeInt (-1);
        return h.getMemoryBlock();
    }

    // The frames of a WAV or FLAC held in memory, as libsndfile decodes them.
    std::vector<float> decoded (const juce::File& file)
    {
        SF_INFO info {};
        SNDFILE* f = sf_open (file.getFullPathName().toRawUTF8(), SFM_READ, &info);
        if (f == nullptr)
            return {};
        std::vector<float> frames ((size_t) (info.frames > 0 && info.frames < (1 << 26) ? info.frames : 1 << 22) * (size_t) info.channels);
        frames.resize ((size_t) sf_readf_float (f, frames.data(), (sf_count_t) frames.size() / info.channels) * (size_t) info.channels);
        sf_close (f);
        return frames;
    }
}

TEST_F (RenderFixture, DevicesAndFifosAreWrittenAsStreamsAndNeverReplaced)
{
    juce::WavAudioFormat wav;
    const auto in = writeAudio ("in.wav", wav, noiseBuffer (2, 4410, 3), 44100.0, 16).getFullPathName();
    const auto file = dir.getChildFile ("file.wav");
    ASSERT_EQ (runRender ({ in, "-o", file.getFullPathName(), "--tail", "0.5" }).exitCode, 0);

    // A character device of the test's own (the null device): written, never replaced.
    const auto device = dir.getChildFile ("mynull");
    if (::mknod (device.getFullPathName().toRawUTF8(), S_IFCHR | 0666, makedev (1, 3)) == 0)
    {
        const auto run = runRender ({ in, "-o", device.getFullPathName(), "--type", "wav", "--tail", "0.5" });
        EXPECT_EQ (run.exitCode, 0) << run.output;
        struct stat s;
        ASSERT_EQ (::stat (device.getFullPathName().toRawUTF8(), &s), 0);
        EXPECT_TRUE (S_ISCHR (s.st_mode) && major (s.st_rdev) == 1 && minor (s.st_rdev) == 3);
    }
    else
    {
        std::cout << "no character device of the test's own (mknod needs root): /dev/null alone\n";
    }
    EXPECT_EQ (runRender ({ in, "-o", "/dev/null", "--type", "flac", "--tail", "0.5" }).exitCode, 0);

    // A FIFO with a reader: the reader gets the render, whole, and the FIFO stays one.
    const auto fifo = dir.getChildFile ("fifo.wav");
    ASSERT_EQ (::mkfifo (fifo.getFullPathName().toRawUTF8(), 0644), 0);
    juce::MemoryBlock heard;
    std::thread reader ([&] {
        const int fd = ::open (fifo.getFullPathName().toRawUTF8(), O_RDONLY);
        heard = readAll (fd);
        ::close (fd);
    });
    const auto run = runRender ({ in, "-o", fifo.getFullPathName(), "--tail", "0.5" });
    reader.join();
    EXPECT_EQ (run.exitCode, 0) << run.output;
    struct stat s;
    ASSERT_EQ (::stat (fifo.getFullPathName().toRawUTF8(), &s), 0);
    EXPECT_TRUE (S_ISFIFO (s.st_mode));
    const auto received = dir.getChildFile ("received.wav");
    received.replaceWithData (heard.getData(), heard.getSize());
    EXPECT_EQ (decoded (received), decoded (file));
    EXPECT_FALSE (decoded (file).empty());

    // A socket is neither a file nor a stream, and a state goes into a file.
    const auto socketPath = dir.getChildFile ("sock");
    const int sock = ::socket (AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy (address.sun_path, socketPath.getFullPathName().toRawUTF8(), sizeof (address.sun_path) - 1);
    ASSERT_EQ (::bind (sock, reinterpret_cast<sockaddr*> (&address), sizeof (address)), 0);
    const auto refused = runRender ({ in, "-o", socketPath.getFullPathName(), "--type", "wav" });
    EXPECT_EQ (refused.exitCode, 1);
    EXPECT_TRUE (refused.output.contains ("it is a socket")) << refused.output;
    ::close (sock);
    const auto stateToFifo = runRender ({ in, "-o", dir.getChildFile ("x.wav").getFullPathName(), "--save-state", fifo.getFullPathName() });
    EXPECT_EQ (stateToFifo.exitCode, 1);
    EXPECT_TRUE (stateToFifo.output.contains ("a state is saved into a file")) << stateToFifo.output;
}

TEST_F (RenderFixture, APipeCarriesTheRenderAsItGoesInFlatMemory)
{
    juce::WavAudioFormat wav;
    const auto in = writeAudio ("in.wav", wav, noiseBuffer (2, 44100 * 20, 4), 44100.0, 16).getFullPathName();
    const auto temporary = dir.getChildFile ("tmp");
    ASSERT_TRUE (temporary.createDirectory());

    for (const char* type : { "wav", "flac" })
    {
        const auto file = dir.getChildFile (juce::String ("file.") + type);
        ASSERT_EQ (runRender ({ in, "-o", file.getFullPathName(), "--program", "Robotizer", "--tail", "2" }).exitCode, 0);

        // The first bytes come while the render still runs (a slow reader),
        // and read whole they are the file's render.
        Child child ({ in, "-o", "-", "--type", type, "--program", "Robotizer", "--tail", "2", "--threads", "1" }, temporary);
        auto streamed = readAll (child.out, 4096);
        EXPECT_EQ (streamed.getSize(), 4096u);
        EXPECT_TRUE (child.running()) << type << ": the first bytes came only at the end";
        const auto rest = readAll (child.out);
        streamed.append (rest.getData(), rest.getSize());
        EXPECT_EQ (child.wait().first, 0);
        const auto received = dir.getChildFile (juce::String ("streamed.") + type);
        received.replaceWithData (streamed.getData(), streamed.getSize());
        EXPECT_EQ (decoded (received), decoded (file)) << type;
        // Only the header's sizes differ: a stream cannot go back to them.
        const size_t header = juce::String (type) == "wav" ? 104 : 42;
        const auto fileBytes = bytesOf (file);
        ASSERT_EQ (streamed.getSize(), fileBytes.getSize()) << type;
        EXPECT_EQ (std::memcmp (static_cast<const char*> (streamed.getData()) + header, static_cast<const char*> (fileBytes.getData()) + header,
                                streamed.getSize() - header), 0) << type;
    }

    // A reader that stops after 1000 bytes ends the render, status 1, nothing left behind.
    {
        Child child ({ in, "-o", "-", "--program", "Robotizer" }, temporary);
        EXPECT_EQ (readAll (child.out, 1000).getSize(), 1000u);
        child.closeOutput();
        EXPECT_EQ (child.wait().first, 1);
        EXPECT_EQ (temporary.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    }

    // Standard input streams too: memory stays flat however long the stream
    // runs. A sanitizer's own bookkeeping grows with the work done, so there
    // one short stream shows only that it streams.
    const std::vector<int> lengths = NADRIX_SANITIZED ? std::vector<int> { 20 } : std::vector<int> { 60, 600 };
    std::vector<long> memoryKb;
    for (int seconds : lengths)
    {
        Child child ({ "-", "-o", "-", "--tail", "0", "--threads", "1" }, temporary);
        std::thread feed ([&child, seconds] {
            const auto header = streamHeader();
            EXPECT_EQ (::write (child.in, header.getData(), header.getSize()), (ssize_t) header.getSize());
            std::vector<char> second (44100 * 4);
            for (size_t i = 0; i < second.size(); ++i)
                second[i] = (char) (i * 2654435761u >> 24);
            for (int s = 0; s < seconds; ++s)
                if (::write (child.in, second.data(), second.size()) != (ssize_t) second.size())
                    break;
            child.closeInput();
        });
        const auto out = readAll (child.out);
        feed.join();
        const auto [status, maxKb] = child.wait();
        EXPECT_EQ (status, 0);
        EXPECT_GE (out.getSize(), (size_t) seconds * 44100 * 8) << seconds << " seconds";
        memoryKb.push_back (maxKb);
    }
    if (memoryKb.size() == 2)
    {
        EXPECT_LT (memoryKb[1], memoryKb[0] + 16 * 1024) << "kB for 1 minute: " << memoryKb[0] << ", for 10: " << memoryKb[1];
    }
    EXPECT_EQ (temporary.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
}

TEST_F (RenderFixture, ALevelBeyondFullScaleIsSaidAndCanBeSet)
{
    // A second of a low tone at -0.1 dBFS, which "Robotizer" takes some 9 dB beyond full scale.
    juce::WavAudioFormat wav;
    juce::AudioBuffer<float> loud (2, 44100);
    for (int i = 0; i < 44100; ++i)
        for (int ch = 0; ch < 2; ++ch)
            loud.setSample (ch, i, 0.988f * (float) std::sin (i * 2.0 * M_PI * 110.0 / 44100.0));
    const auto in = writeAudio ("drums.wav", wav, loud, 44100.0, 32).getFullPathName();
    const auto path = [this] (const char* name) { return dir.getChildFile (name).getFullPathName(); };
    const juce::StringArray common { "--program", "Robotizer", "--tail", "1" };

    for (const auto& [name, kind] : { std::pair { "out.flac", "24-bit FLAC output" }, std::pair { "out16.wav", "16-bit WAV output" } })
    {
        auto args = juce::StringArray { in, "-o", path (name) };
        args.addArray (common);
        if (juce::String (name) == "out16.wav")
            args.addArray ({ "--bits", "16" });
        const auto run = runRender (args);
        EXPECT_EQ (run.exitCode, 0) << run.output;
        EXPECT_TRUE (run.output.contains (juce::String ("samples beyond full scale were clipped in the ") + kind + " (peak +")) << run.output;
    }
    auto floatArgs = juce::StringArray { in, "-o", path ("plain.wav") };
    floatArgs.addArray (common);
    const auto plain = runRender (floatArgs);
    EXPECT_TRUE (plain.output.contains ("the output peaks at +")) << plain.output;

    // --normalize -1: a peak of -1 dBFS; --gain -6: every sample 6 dB lower, exactly.
    auto normalized = juce::StringArray { in, "-o", path ("normalized.wav"), "--normalize", "-1" };
    normalized.addArray (common);
    const auto run = runRender (normalized);
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("normalized to a peak of -1.0 dBFS")) << run.output;
    EXPECT_FALSE (run.output.contains ("notice")) << run.output;
    double rate = 0;
    const auto n = readAudio (dir.getChildFile ("normalized.wav"), rate);
    const float peak = std::max (n.getMagnitude (0, 0, n.getNumSamples()), n.getMagnitude (1, 0, n.getNumSamples()));
    EXPECT_NEAR (20.0 * std::log10 (peak), -1.0, 0.01);

    auto lowered = juce::StringArray { in, "-o", path ("lowered.wav"), "--gain", "-6" };
    lowered.addArray (common);
    ASSERT_EQ (runRender (lowered).exitCode, 0);
    const auto original = readAudio (dir.getChildFile ("plain.wav"), rate), gained = readAudio (dir.getChildFile ("lowered.wav"), rate);
    ASSERT_EQ (gained.getNumSamples(), original.getNumSamples());
    const auto factor = (float) std::pow (10.0, -6.0 / 20.0);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < original.getNumSamples(); ++i)
            ASSERT_EQ (gained.getSample (ch, i), original.getSample (ch, i) * factor) << ch << ", " << i;

    EXPECT_EQ (runRender ({ "-", "-o", path ("x.wav"), "--normalize", "-1" }).exitCode, 2);
    EXPECT_EQ (runRender ({ in, "-o", path ("x.wav"), "--normalize", "-1", "--gain", "3" }).exitCode, 2);
}

TEST_F (RenderFixture, AnInterruptedBatchOfManyFilesAtOnceLeavesNoTemporaryFile)
{
    // More files at once than the 64 places an earlier clean-up had.
    juce::WavAudioFormat wav;
    juce::StringArray args;
    for (int i = 0; i < 80; ++i)
        args.add (writeAudio ("in" + juce::String (i) + ".wav", wav, noiseBuffer (2, 2000, (unsigned) i), 44100.0, 16).getFullPathName());
    const auto out = dir.getChildFile ("out");
    // Each file's five minutes of tail, coded as Ogg Vorbis (slow to make,
    // small to write), keep every render going well after the last file is
    // opened, however the threads are scheduled: with the whole tail alone,
    // one run in three finished a file before the 80th was opened.
    args.addArray ({ "-o", out.getFullPathName() + "/", "--threads", "80", "--program", "Robotizer", "--tail", "300", "--type", "ogg" });

    Child child (args, dir);
    const auto temporaries = [&out] { return out.findChildFiles (juce::File::findFiles, false, "*_temp*").size(); };
    for (int wait = 0; wait < 3000 && temporaries() < 80; ++wait)
        juce::Thread::sleep (10);
    ASSERT_EQ (temporaries(), 80) << "the batch never had its 80 files open at once";
    ::kill (child.pid, SIGINT);
    EXPECT_EQ (child.wait().first, 128 + SIGINT);
    EXPECT_EQ (out.getNumberOfChildFiles (juce::File::findFiles), 0);
}
} // namespace nadrix
