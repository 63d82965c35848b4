// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/OutputChannel.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#if defined(_WIN32)
#include <io.h>
#endif

namespace nadrix
{
namespace
{
    // Files take large pieces; a stream smaller ones, so that its reader
    // hears the render as it goes.
    constexpr size_t filePiece = 1 << 20, streamPiece = 1 << 16;

#if defined(_WIN32)
    constexpr int binary = O_BINARY;
#else
    constexpr int binary = 0;
#endif
}

OutputChannel::OutputChannel (int descriptor, bool ownsIt, size_t bytesPerPiece)
    : fd (descriptor), owned (ownsIt), pieceBytes (bytesPerPiece)
{
    seekable = ::lseek (fd, 0, SEEK_CUR) >= 0;
    piece.reserve (pieceBytes);
}

std::unique_ptr<OutputChannel> OutputChannel::createFile (const juce::File& file, juce::String& error)
{
    const int fd = ::open (file.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_TRUNC | binary, 0666);
    if (fd < 0)
    {
        error = juce::String (std::strerror (errno)).toLowerCase();
        return {};
    }
    return std::unique_ptr<OutputChannel> (new OutputChannel (fd, true, filePiece));
}

std::unique_ptr<OutputChannel> OutputChannel::openStream (const juce::File& path, juce::String& error)
{
    const int fd = ::open (path.getFullPathName().toRawUTF8(), O_WRONLY | binary);
    if (fd < 0)
    {
        error = juce::String (std::strerror (errno)).toLowerCase();
        return {};
    }
    return std::unique_ptr<OutputChannel> (new OutputChannel (fd, true, streamPiece));
}

std::unique_ptr<OutputChannel> OutputChannel::standardOutput()
{
#if defined(_WIN32)
    _setmode (1, _O_BINARY);
#endif
    return std::unique_ptr<OutputChannel> (new OutputChannel (1, false, streamPiece));
}

bool OutputChannel::isTerminal() const noexcept
{
    return ::isatty (fd) != 0;
}

OutputChannel::~OutputChannel()
{
    if (owned && fd >= 0)
        ::close (fd);
}

bool OutputChannel::writeOut (const char* data, size_t bytes)
{
    for (size_t done = 0; done < bytes;)
    {
        const auto n = ::write (fd, data + done, bytes - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            lastError = n < 0 ? errno : ENOSPC;
            return false;
        }
        done += (size_t) n;
    }
    return true;
}

bool OutputChannel::write (const void* data, size_t bytes)
{
    if (lastError != 0)
        return false;
    const auto* from = static_cast<const char*> (data);
    position += (juce::int64) bytes;
    length = juce::jmax (length, position);
    if (piece.size() + bytes > pieceBytes && ! flush())
        return false;
    if (bytes >= pieceBytes)
        return writeOut (from, bytes);
    piece.insert (piece.end(), from, from + bytes);
    return true;
}

bool OutputChannel::flush()
{
    if (lastError != 0)
        return false;
    const bool written = writeOut (piece.data(), piece.size());
    piece.clear();
    return written;
}

bool OutputChannel::seekTo (juce::int64 to)
{
    if (! seekable || ! flush() || ::lseek (fd, (off_t) to, SEEK_SET) < 0)
        return false;
    position = to;
    return true;
}

bool OutputChannel::close()
{
    const bool flushed = flush();
    if (! owned)
        return flushed;
    const bool closed = ::close (fd) == 0;
    if (! closed && lastError == 0)
        lastError = errno;
    fd = -1;
    return flushed && closed;
}

juce::String OutputChannel::whyFailed() const
{
    return juce::String (std::strerror (lastError != 0 ? lastError : EIO)).toLowerCase();
}
} // namespace nadrix
