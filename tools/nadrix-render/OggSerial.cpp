// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/OggSerial.h"

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
}

bool setOggSerial (const juce::File& file, juce::uint32 serial)
{
    juce::MemoryBlock data;
    if (! file.loadFileAsData (data))
        return false;
    auto* bytes = static_cast<juce::uint8*> (data.getData());
    const size_t size = data.getSize();

    constexpr size_t headerSize = 27; // "OggS", version, flags, granule, serial, sequence, checksum, segment count
    for (size_t at = 0; at < size;)
    {
        if (size - at < headerSize || std::memcmp (bytes + at, "OggS", 4) != 0)
            return false;
        const size_t segments = bytes[at + 26];
        if (size - at < headerSize + segments)
            return false;
        size_t body = 0;
        for (size_t s = 0; s < segments; ++s)
            body += bytes[at + headerSize + s];
        const size_t pageSize = headerSize + segments + body;
        if (size - at < pageSize)
            return false;

        put32 (bytes + at + 14, serial);
        put32 (bytes + at + 22, 0);
        put32 (bytes + at + 22, pageChecksum (bytes + at, pageSize));
        at += pageSize;
    }
    return file.replaceWithData (data.getData(), size);
}
} // namespace nadrix
