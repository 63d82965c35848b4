// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/SavedValues.h"

#include "engine/ParameterLayout.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace nadrix
{
namespace
{
    constexpr std::string_view sixBitDigits = ".ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+";
}

std::vector<float> savedValuesFromText (std::string_view text)
{
    const auto dot = text.find ('.');
    if (dot == std::string_view::npos)
        return {};

    size_t bytes = 0;
    const auto [end, error] = std::from_chars (text.data(), text.data() + dot, bytes);
    if (error != std::errc() || end != text.data() + dot)
        return {};
    bytes = std::min (bytes, sizeof (float) * (size_t) ParameterLayout::numParameters);

    std::vector<uint8_t> data (bytes, 0);
    size_t bit = 0;
    for (const char c : text.substr (dot + 1))
    {
        const auto digit = sixBitDigits.find (c);
        if (digit == std::string_view::npos)
            continue; // as JUCE reads it: anything else is skipped
        for (size_t b = 0; b < 6; ++b, ++bit)
            if (bit / 8 < data.size() && (digit & (size_t { 1 } << b)) != 0)
                data[bit / 8] = (uint8_t) (data[bit / 8] | (1u << (bit % 8)));
    }

    std::vector<float> values (bytes / sizeof (float));
    for (size_t i = 0; i < values.size(); ++i)
    {
        const uint32_t bits = (uint32_t) data[4 * i] | (uint32_t) data[4 * i + 1] << 8 | (uint32_t) data[4 * i + 2] << 16 | (uint32_t) data[4 * i + 3] << 24;
        std::memcpy (&values[i], &bits, sizeof (float));
    }
    return values;
}
} // namespace nadrix
