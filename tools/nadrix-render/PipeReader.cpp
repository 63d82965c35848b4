// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/PipeReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace nadrix
{
namespace
{
    // What libsndfile is told of the length: more than any stream holds, so
    // that it reads on until the stream ends.
    constexpr sf_count_t unknownLength = (sf_count_t) 1 << 40;

    sf_count_t readSome (int fd, void* into, size_t bytes)
    {
        for (;;)
        {
            const auto n = ::read (fd, into, bytes);
            if (n < 0 && errno == EINTR)
                continue;
            return n;
        }
    }
}

PipeReader::PipeReader (int descriptor) : fd (descriptor)
{
    kept.reserve ((size_t) prefixCapacity);
}

bool PipeReader::fillPrefix (sf_count_t upTo)
{
    upTo = std::min (upTo, prefixCapacity);
    while ((sf_count_t) prefixLength < upTo && ! ended)
    {
        kept.resize ((size_t) upTo);
        const auto n = readSome (fd, kept.data() + prefixLength, (size_t) upTo - prefixLength);
        if (n <= 0)
            ended = true;
        else
            prefixLength += (size_t) n;
        kept.resize (prefixLength);
    }
    return (sf_count_t) prefixLength >= upTo;
}

sf_count_t PipeReader::read (void* into, sf_count_t bytes)
{
    auto* to = static_cast<char*> (into);
    sf_count_t done = 0;
    if (position < prefixCapacity)
    {
        fillPrefix (position + bytes);
        const auto available = std::min (bytes, (sf_count_t) prefixLength - position);
        if (available > 0)
        {
            std::memcpy (to, kept.data() + position, (size_t) available);
            position += available;
            done = available;
        }
    }
    // Past the kept bytes the stream is read straight on.
    while (done < bytes && position >= prefixCapacity && ! ended)
    {
        const auto n = readSome (fd, to + done, (size_t) (bytes - done));
        if (n <= 0)
        {
            ended = true;
            break;
        }
        done += n;
        position += n;
    }
    highest = std::max (highest, position);
    return done;
}

sf_count_t PipeReader::seek (sf_count_t offset, int whence)
{
    const sf_count_t to = whence == SEEK_SET ? offset : whence == SEEK_CUR ? position + offset : -1;
    if (to == position)
        return position;
    // Anywhere within the kept bytes (reading up to there), or nowhere.
    if (to < 0 || to > prefixCapacity || (position > prefixCapacity && to != position))
        return -1;
    fillPrefix (to);
    if (to > (sf_count_t) prefixLength)
        return -1;
    position = to;
    highest = std::max (highest, position);
    return position;
}

SF_VIRTUAL_IO& PipeReader::callbacks()
{
    static SF_VIRTUAL_IO io {
        [] (void*) -> sf_count_t { return unknownLength; },
        [] (sf_count_t offset, int whence, void* self) { return static_cast<PipeReader*> (self)->seek (offset, whence); },
        [] (void* into, sf_count_t bytes, void* self) { return static_cast<PipeReader*> (self)->read (into, bytes); },
        [] (const void*, sf_count_t, void*) -> sf_count_t { return 0; },
        [] (void* self) -> sf_count_t { return static_cast<PipeReader*> (self)->position; },
    };
    return io;
}
} // namespace nadrix
