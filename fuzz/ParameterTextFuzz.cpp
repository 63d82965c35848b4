// SPDX-License-Identifier: GPL-3.0-or-later
// Typed values, as hosts and --set hand them over, for every kind of
// parameter: any text reads as nothing or as a value in 0..1, and a text
// the plug-in shows, typed back, gives a value that shows the same text.
// The same from the other side: any normalised value's text reads back.
#include "fuzz/FuzzKit.h"
#include "processor/ParameterInfo.h"
#include "processor/ParameterText.h"

#include <cstring>

namespace
{
    // The seven globals and the seven kinds of a line.
    constexpr int kinds = nadrix::ParameterLayout::numGlobals + nadrix::ParameterLayout::perLine;

    void checkShownTextReadsBack (int index, float normalised)
    {
        using nadrix::ParameterText::format, nadrix::ParameterText::parse;
        const auto shown = format (index, normalised);
        const auto typed = parse (index, shown);
        NADRIX_FUZZ_CHECK (typed.has_value(), "a shown text that does not read back");
        NADRIX_FUZZ_CHECK (format (index, *typed) == shown, "a shown text, typed back, shows another");
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using namespace nadrix;
    if (size < 1)
        return 0;

    const int index = data[0] % kinds;
    if (size == 5 && (data[0] & 0x80) != 0)
    {
        float normalised;
        std::memcpy (&normalised, data + 1, sizeof (float));
        if (fuzz::isNormalised (normalised))
            checkShownTextReadsBack (index, normalised);
        return 0;
    }

    const auto text = juce::String::fromUTF8 (reinterpret_cast<const char*> (data + 1), (int) size - 1);
    if (const auto unclamped = ParameterText::parseUnclamped (index, text))
        NADRIX_FUZZ_CHECK (! std::isnan (*unclamped), "a typed text reads as not a number");

    const auto typed = ParameterText::parse (index, text);
    if (! typed.has_value())
        return 0;
    NADRIX_FUZZ_CHECK (fuzz::isNormalised (*typed), "a typed text reads outside 0..1");
    checkShownTextReadsBack (index, *typed);
    return 0;
}
