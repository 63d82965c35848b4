// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/OggSerialRewriter.h"

#include <array>
#include <cstring>

namespace nadrix
{
namespace
{
    // Ogg's page checksum: CRC-32 with the polynomial 0x04c11db7, not reflected, starting at 0.
    const std::array<juce::uint32, 256>& crcTable()
    {
        static const auto table = [] {
            std::array<juce::uint32, 256> t {};
            for (juce::uint32 i = 0; i < 256; ++i)
            {
                juce::uint32 r = i << 24;
                for (int b = 0; b < 8; ++b)
                    r = (r & 0x80000000u) != 0 ? (r << 1) ^ 0x04c11db7u : r << 1;
                t[i] = r;
            }
            return t;
        }();
        return table;
    }

    juce::uint32 pageChecksum (const juce::uint8* page, size_t size)
    {
        juce::uint32 crc = 0;
        for (size_t i = 0; i < size; ++i)
            crc = (crc << 8) ^ crcTable()[((crc >> 24) ^ page[i]) & 0xff];
        return crc;
    }

    void put32 (juce::uint8* at, juce::uint32 v)
    {
        for (int i = 0; i < 4; ++i)
            at[i] = (juce::uint8) (v >> (8 * i));
    }

    // "OggS", version, flags, granule, serial, sequence, checksum, segment count.
    constexpr size_t headerSize = 27;
}

OggSerialRewriter::OggSerialRewriter (juce::uint32 s, Emit e) : serial (s), emit (std::move (e)) {}

bool OggSerialRewriter::feed (const void* data, size_t bytes)
{
    const auto* from = static_cast<const juce::uint8*> (data);
    pending.insert (pending.end(), from, from + bytes);

    size_t at = 0;
    for (;;)
    {
        const size_t left = pending.size() - at;
        if (left < headerSize)
            break;
        if (std::memcmp (pending.data() + at, "OggS", 4) != 0)
            return false;
        const size_t segments = pending[at + 26];
        if (left < headerSize + segments)
            break;
        size_t body = 0;
        for (size_t s = 0; s < segments; ++s)
            body += pending[at + headerSize + s];
        const size_t pageSize = headerSize + segments + body;
        if (left < pageSize)
            break;

        juce::uint8* page = pending.data() + at;
        put32 (page + 14, serial);
        put32 (page + 22, 0);
        put32 (page + 22, pageChecksum (page, pageSize));
        if (! emit (page, pageSize))
            return false;
        at += pageSize;
    }
    pending.erase (pending.begin(), pending.begin() + (std::ptrdiff_t) at);
    return true;
}
} // namespace nadrix
