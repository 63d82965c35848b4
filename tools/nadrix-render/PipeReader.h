// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sndfile.h>

#include <vector>

namespace nadrix
{
// A pipe (or any file descriptor) as libsndfile reads it while it arrives:
// forward only, except that its first MiB is kept, so that a decoder may go
// back within the header it has just read, as each of them does once. Its
// length is unknown until its end. Memory stays at that MiB however long
// the stream runs.
class PipeReader
{
public:
    explicit PipeReader (int fd);

    // libsndfile's callbacks over this reader (the user data is the reader).
    static SF_VIRTUAL_IO& callbacks();

    // Whether every byte read so far is still kept, so that all of it can
    // be handed on elsewhere (bytesSoFar), followed by the rest of the fd.
    bool keptWhole() const noexcept { return highest <= prefixCapacity; }
    const std::vector<char>& bytesSoFar() const noexcept { return kept; }
    int descriptor() const noexcept { return fd; }

private:
    sf_count_t read (void* into, sf_count_t bytes);
    sf_count_t seek (sf_count_t offset, int whence);
    bool fillPrefix (sf_count_t upTo);

    static constexpr sf_count_t prefixCapacity = 1 << 20;
    int fd;
    std::vector<char> kept;      // the first bytes, up to prefixCapacity
    size_t prefixLength = 0;     // how many of them have arrived
    sf_count_t position = 0, highest = 0;
    bool ended = false;
};
} // namespace nadrix
