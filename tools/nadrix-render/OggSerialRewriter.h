// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

namespace nadrix
{
// libsndfile gives every Ogg stream a serial number drawn from the clock, so
// two renders of the same audio would differ in those bytes. The pages pass
// through here on their way out and leave with one fixed serial (and each
// page's checksum made again), so that an Ogg Vorbis or Opus render is the
// same file every time, on every machine, whether it goes to a file or into
// a pipe. Bytes wait here only until their page is whole.
class OggSerialRewriter
{
public:
    using Emit = std::function<bool (const void* data, size_t bytes)>;
    OggSerialRewriter (juce::uint32 serial, Emit emit);

    // False when the bytes are not Ogg pages or `emit` failed.
    bool feed (const void* data, size_t bytes);
    // Whether every byte fed has left as part of a whole page.
    bool isEmpty() const noexcept { return pending.empty(); }

private:
    const juce::uint32 serial;
    const Emit emit;
    std::vector<juce::uint8> pending;
};
} // namespace nadrix
