// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputFile.h"

#include "FileIdentity.h"
#include "InterruptCleanup.h"

OutputFile::OutputFile (const juce::File& target, double sampleRate, int bitsPerSample)
    : destination (writeThroughLinks (target)),
      temporary (destination)
{
    cleanupRegistration = InterruptCleanup::removeOnInterrupt (temporary.getFile());

    constexpr size_t writeBufferBytes = 1 << 20; // written in large pieces, not a block at a time
    auto stream = std::make_unique<juce::FileOutputStream> (temporary.getFile(), writeBufferBytes);
    if (! stream->openedOk())
        return;

    juce::WavAudioFormat wav;
    // 32 bits are written as IEEE floats, so the reverb's output is kept as it is.
    writer.reset (wav.createWriterFor (stream.get(), sampleRate, 2, bitsPerSample, {}, 0));
    if (writer != nullptr)
        stream.release(); // the writer owns it now
}

OutputFile::~OutputFile()
{
    writer.reset();
    InterruptCleanup::forget (cleanupRegistration); // the temporary file goes with `temporary`, if it is still there
}

juce::Result OutputFile::commit()
{
    if (writer == nullptr)
        return juce::Result::fail ("nothing was written");

    writer.reset(); // flushes and closes the file

    if (! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("cannot move the finished file to '" + destination.getFullPathName() + "'");

    InterruptCleanup::forget (cleanupRegistration);
    cleanupRegistration = -1;
    return juce::Result::ok();
}
