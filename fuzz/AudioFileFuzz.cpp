// SPDX-License-Identifier: GPL-3.0-or-later
// An audio file as nadrix-render opens it: any bytes, read through our
// chunk walk and integrity check around libsndfile. A file is refused or
// opened with a usable layout, and the frames the check says it holds are
// all there to read: it never promises audio that is not in the file.
#include "fuzz/FuzzKit.h"
#include "tools/nadrix-render/InputSignal.h"

#include <sndfile.h>

#include <vector>

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    nadrix::fuzz::startJuce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using namespace nadrix;

    const auto path = fuzz::scratchFolder().getChildFile ("input");
    path.replaceWithData (data, size);

    juce::String error;
    const auto input = InputSignal::fromFile (path, error);
    if (input == nullptr)
    {
        NADRIX_FUZZ_CHECK (error.isNotEmpty(), "a refused file without a reason");
        return 0;
    }

    NADRIX_FUZZ_CHECK (input->getNumChannels() == 1 || input->getNumChannels() == 2, "a layout the reverb cannot take");
    NADRIX_FUZZ_CHECK (input->getSampleRate() >= 8000.0, "a rate the reverb cannot take");
    NADRIX_FUZZ_CHECK (input->getLength() >= 0, "a negative length");
    NADRIX_FUZZ_CHECK (input->getDamage().isEmpty() || input->getDamage().startsWith ("it declares"), "damage said unclearly");

    // What the check promises, read back through libsndfile itself.
    SF_INFO info {};
    SNDFILE* file = sf_open (path.getFullPathName().toRawUTF8(), SFM_READ, &info);
    NADRIX_FUZZ_CHECK (file != nullptr, "an opened file that libsndfile cannot open again");
    std::vector<float> scratch ((size_t) (1024 * info.channels));
    juce::int64 decoded = 0;
    for (sf_count_t n; decoded < input->getLength() && (n = sf_readf_float (file, scratch.data(), 1024)) > 0;)
        decoded += n;
    sf_close (file);
    NADRIX_FUZZ_CHECK (decoded >= input->getLength(), "the integrity check promises frames that do not decode");

    // And the renderer's own reads, in blocks, to the end: exactly its length.
    juce::AudioBuffer<float> block (2, 512);
    juce::int64 read = 0;
    for (int n; (n = input->readNext (block, 512)) > 0;)
        read += n;
    NADRIX_FUZZ_CHECK (read == input->getLength() && input->hasEnded(), "the reads do not end at the length");
    return 0;
}
