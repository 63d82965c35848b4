// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/NadrixAudioProcessor.h"
#include "processor/ParameterText.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

namespace nadrix
{
namespace
{
    constexpr int mix = 0, splitLow = 1, gainMid = 4, zoom = 6;
    constexpr int pan = ParameterLayout::indexOf (3, ParameterLayout::pan), hcGain = pan + 1, feedback = pan + 2, predelay = pan + 3, delay = pan + 4, active = pan + 5;

    float parsed (int index, const char* text) { return ParameterText::parse (index, text).value_or (-1.0f); }
}

TEST (ParameterText, EveryKindReadsInTheUnitsTheReverbUses)
{
    const std::vector<std::tuple<int, float, const char*>> cases = {
        { mix, 0.845852f, "84.6 % wet" },
        { splitLow, 0.35653549f, "1174.2 Hz" },        // 9080 n^2 + 20, as the engine receives it
        { gainMid, 0.25f, "-6.0 dB" },                 // linear gain 0.5
        { gainMid, 1.0f, "+6.0 dB" },
        { gainMid, 0.5f, "0.0 dB" },
        { gainMid, 0.0f, "-inf dB" },
        { zoom, 1.0f, "11.40x" },
        { pan, 0.5f, "C" },
        { pan, 0.0f, "L 100.0 %" },
        { pan, 0.826f, "R 65.2 %" },
        { hcGain, 0.8f, "80.0 %" },
        { feedback, 0.6f, "60.0 %" },
        { feedback, 1.0f, "99.5 % (max)" },           // the engine runs feedback at most at 0.995
        { predelay, 0.016447f, "16.4 ms" },
        { delay, 0.25f, "250.0 ms" },
        { delay, 0.8f, "500.0 ms (max)" },             // the ring holds half a second
        { active, 1.0f, "On" },
        { active, 0.3f, "Off" },
        { active, 0.5f, "On (not counted)" },          // runs, but is not counted in the level
    };

    for (const auto& [index, value, text] : cases)
    {
        EXPECT_EQ (ParameterText::format (index, value), text) << index;

        // What is shown reads back to the same text (the value within the text's precision).
        const auto back = ParameterText::parse (index, text);
        ASSERT_TRUE (back.has_value()) << text;
        EXPECT_EQ (ParameterText::format (index, *back), text);
    }
}

TEST (ParameterText, TypedVariantsBareNumbersClampsAndNonsense)
{
    EXPECT_FLOAT_EQ (parsed (mix, "50"), 0.5f);        // a bare number on a percentage is percent
    EXPECT_FLOAT_EQ (parsed (mix, "50 %"), 0.5f);
    EXPECT_FLOAT_EQ (parsed (mix, "60% wet"), 0.6f);
    EXPECT_FLOAT_EQ (parsed (delay, "250ms"), 0.25f);
    EXPECT_FLOAT_EQ (parsed (delay, "0.25 s"), 0.25f);
    EXPECT_FLOAT_EQ (parsed (gainMid, "-3dB"), 0.35397289f);
    EXPECT_FLOAT_EQ (parsed (gainMid, "-inf"), 0.0f);
    EXPECT_FLOAT_EQ (parsed (splitLow, "1.2 kHz"), parsed (splitLow, "1200 Hz"));
    EXPECT_FLOAT_EQ (parsed (pan, "L30"), 0.35f);
    EXPECT_FLOAT_EQ (parsed (pan, "30 % R"), 0.65f);
    EXPECT_FLOAT_EQ (parsed (pan, "-30"), 0.35f);
    EXPECT_FLOAT_EQ (parsed (pan, "C"), 0.5f);
    EXPECT_FLOAT_EQ (parsed (active, "on"), 1.0f);
    EXPECT_FLOAT_EQ (parsed (active, "OFF"), 0.0f);
    EXPECT_FLOAT_EQ (parsed (zoom, "x6.4"), 0.5f);

    EXPECT_FLOAT_EQ (parsed (mix, "150 %"), 1.0f);      // out of range: clamped
    EXPECT_FLOAT_EQ (parsed (delay, "-5 ms"), 0.0f);
    for (auto* nonsense : { "", "abc", "50 Hz", "nan", "L", "on and off" })
        for (int index : { mix, active })
            EXPECT_FALSE (ParameterText::parse (index, nonsense).has_value()) << nonsense;
    EXPECT_FALSE (ParameterText::parse (delay, "5 dB").has_value());
}

TEST (ParameterText, PublishedParametersUseItAndKeepTheirValueForNonsense)
{
    NadrixAudioProcessor p;
    auto& mixParameter = *p.getParameters()[mix];
    EXPECT_EQ (mixParameter.getCurrentValueAsText(), "84.6 % wet");
    EXPECT_FLOAT_EQ (mixParameter.getValueForText ("50"), 0.5f);
    EXPECT_EQ (mixParameter.getValueForText ("loud"), mixParameter.getValue());
}
} // namespace nadrix
