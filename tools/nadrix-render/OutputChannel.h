// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <vector>

namespace nadrix
{
// Where an output's bytes go, as they are written: a file opened by its path,
// or a stream (standard output, a FIFO, a character device). Bytes are
// gathered into pieces and written whole. A writer that wants to rewrite a
// header asks canSeek() first: a pipe cannot go back. A reader that has gone
// away (a pipe closed early) is told apart from other failures.
class OutputChannel
{
public:
    // Creates or empties the file (not through a link: the path is the file's own).
    static std::unique_ptr<OutputChannel> createFile (const juce::File& file, juce::String& error);
    // A stream by its path (a FIFO, a character device).
    static std::unique_ptr<OutputChannel> openStream (const juce::File& path, juce::String& error);
    // Standard output, which stays open after.
    static std::unique_ptr<OutputChannel> standardOutput();
    ~OutputChannel();

    OutputChannel (const OutputChannel&) = delete;
    OutputChannel& operator= (const OutputChannel&) = delete;

    bool write (const void* data, size_t bytes);
    bool flush();
    bool canSeek() const noexcept { return seekable; }
    bool isTerminal() const noexcept;
    // Flushes, then moves to `position`; false where the destination cannot.
    bool seekTo (juce::int64 position);
    juce::int64 getPosition() const noexcept { return position; }
    // The furthest byte written so far.
    juce::int64 getLength() const noexcept { return length; }
    // Flushes and closes (or, for standard output, only flushes).
    bool close();

    // Why the last write failed, in the system's words.
    juce::String whyFailed() const;
    // The reader of a pipe or FIFO stopped reading before the end.
    bool readerClosed() const noexcept { return lastError == EPIPE; }

private:
    OutputChannel (int fd, bool owned, size_t pieceBytes);
    bool writeOut (const char* data, size_t bytes);

    int fd;
    bool owned;
    bool seekable;
    int lastError = 0;
    juce::int64 position = 0, length = 0;
    std::vector<char> piece;
    size_t pieceBytes;
};
} // namespace nadrix
