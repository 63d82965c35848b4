// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/DecimalNumber.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace nadrix
{
namespace
{
    bool isDigit (char c) { return std::isdigit ((unsigned char) c) != 0; }

    const char* skipDigits (const char* p)
    {
        while (isDigit (*p))
            ++p;
        return p;
    }

    // Past `word` when the text starts with it in any letter case, else null.
    const char* pastWord (const char* p, const char* word)
    {
        for (; *word != 0; ++p, ++word)
            if (std::tolower ((unsigned char) *p) != *word)
                return nullptr;
        return p;
    }
}

std::optional<double> readDecimalNumber (const char* text, const char** end)
{
    const char* p = text;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;

    constexpr double infinity = std::numeric_limits<double>::infinity();
    for (const char* word : { "infinity", "inf" })
        if (const char* past = pastWord (p, word))
        {
            *end = past;
            return negative ? -infinity : infinity;
        }

    const char* const first = p;
    p = skipDigits (p);
    const bool wholeDigits = p != first;
    bool fractionDigits = false;
    if (*p == '.')
    {
        const char* fraction = p + 1;
        p = skipDigits (fraction);
        fractionDigits = p != fraction;
    }
    if (! wholeDigits && ! fractionDigits)
        return std::nullopt;

    bool exponentNegative = false;
    if (*p == 'e' || *p == 'E')
    {
        const char* exponent = p + 1;
        exponentNegative = *exponent == '-';
        if (*exponent == '-' || *exponent == '+')
            ++exponent;
        if (isDigit (*exponent))
            p = skipDigits (exponent);
    }

    double value = 0.0;
    const auto [stop, error] = std::from_chars (first, p, value);
    if (error == std::errc::result_out_of_range)
        value = exponentNegative ? 0.0 : infinity;
    else if (error != std::errc() || stop != p)
        return std::nullopt;

    *end = p;
    return negative ? -value : value;
}
} // namespace nadrix
