// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/NadrixAudioProcessor.h"
#include "engine/NadrixViewdata.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"
#include "engine/ParameterLayout.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <tuple>

namespace nadrix
{
TEST (ParameterSet, PublishesThreeHundredFiftySevenNamedParametersAtProgramFiveValues)
{
    NadrixAudioProcessor p;
    const auto& params = p.getParameters();
    ASSERT_EQ (params.size(), ParameterLayout::numParameters);
    const std::pair<int, const char*> names[] = { { 0, "Mix" }, { 6, "UI Zoom" }, { 7, "Pan Dly 0" }, { ParameterLayout::indexOf (5, ParameterLayout::active), "Active Dly 5" }, { 356, "Predelay gain Dly 49" } };
    for (const auto& [index, name] : names)
    {
        EXPECT_EQ (params[index]->getName (100), name);
        EXPECT_EQ (dynamic_cast<juce::AudioProcessorParameterWithID&> (*params[index]).getParameterID(), name);
    }

    for (int i = 0; i < ParameterLayout::numParameters; ++i)
    {
        ASSERT_EQ (params[i]->getValue(), FactoryPrograms::normalised (5, i)) << i;
        ASSERT_EQ (params[i]->getDefaultValue(), FactoryPrograms::normalised (5, i)) << i;
    }
    EXPECT_NEAR (p.getLineView (0).pan, -0.7802f, 1e-6f); // stored pan -0.7802 reaches the engine as stored

    ASSERT_EQ (p.getNumPrograms(), 6);
    for (int i = -1; i < 7; ++i)
        EXPECT_EQ (p.getProgramName (i), factoryProgramNames[i]) << i; // "" outside the table
}

TEST (ParameterSet, IdentitiesHostsSaveNeverChange)
{
    // Hosts keep these in sessions and automation lanes: a changed ID or
    // symbol loses the user's automation silently, whatever the name shows.
    // The checksums cover all 357 of each, in index order.
    const auto checksum = [] (std::string (*of) (int)) {
        std::uint64_t h = 14695981039346656037ull; // FNV-1a over every identity and a separator
        for (int i = 0; i < ParameterLayout::numParameters; ++i)
            for (const char c : of (i) + "\n")
                h = (h ^ (unsigned char) c) * 1099511628211ull;
        return h;
    };
    EXPECT_EQ (checksum (&ParameterInfo::id), 18244430690406641930ull);
    EXPECT_EQ (checksum (&ParameterInfo::symbol), 5058224981319349908ull);

    const std::tuple<int, const char*, const char*> pinned[] = {
        { 0, "Mix", "Mix" }, { 1, "Split Freq LOW", "Split_Freq_LOW" }, { 6, "UI Zoom", "UI_Zoom" }, { 7, "Pan Dly 0", "Pan_Dly_0" },
        { ParameterLayout::indexOf (12, ParameterLayout::delayTime), "Delay time Dly 12", "Delay_time_Dly_12" },
        { ParameterLayout::numParameters - 1, "Predelay gain Dly 49", "Predelay_gain_Dly_49" },
    };
    NadrixAudioProcessor p;
    for (const auto& [index, id, symbol] : pinned)
    {
        EXPECT_EQ (ParameterInfo::id (index), id);
        EXPECT_EQ (dynamic_cast<juce::AudioProcessorParameterWithID&> (*p.getParameters()[index]).getParameterID(), id);
        EXPECT_EQ (ParameterInfo::symbol (index), symbol);
    }

    // Symbols are valid LV2 symbols, and neither kind repeats.
    std::set<std::string> ids, symbols;
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
    {
        const auto symbol = ParameterInfo::symbol (i);
        EXPECT_TRUE (! symbol.empty() && ! std::isdigit ((unsigned char) symbol[0])
                     && std::all_of (symbol.begin(), symbol.end(), [] (char c) { return std::isalnum ((unsigned char) c) || c == '_'; }))
            << symbol;
        ids.insert (ParameterInfo::id (i));
        symbols.insert (symbol);
    }
    EXPECT_EQ ((int) ids.size(), ParameterLayout::numParameters);
    EXPECT_EQ ((int) symbols.size(), ParameterLayout::numParameters);
}

TEST (ParameterSet, HostsWorkingInUnitsSeeTheRangesOfTheTableAndLoseNoValue)
{
    // An LV2 host exchanges each value in its unit over the published range:
    // the values the mappings give, which come back to the normalised value
    // they came from (to within a rounding of the conversion).
    NadrixAudioProcessor p;
    const auto& params = p.getParameters();
    const std::tuple<int, float, float, float, float> cases[] = {
        // index, normalised, shown, range start, range end
        { ParameterLayout::mix, 0.846f, 84.6f, 0.0f, 100.0f },
        { ParameterLayout::splitFreqLow, 0.0f, 20.0f, 20.0f, 9100.0f },
        { ParameterLayout::gainHigh, 0.25f, 0.5f, 0.0f, 2.0f },
        { ParameterInfo::uiZoom, 1.0f, 11.4f, 1.4f, 11.4f },
        { ParameterLayout::indexOf (4, ParameterLayout::pan), 0.5f, 0.0f, -100.0f, 100.0f },
        { ParameterLayout::indexOf (9, ParameterLayout::delayTime), 0.25f, 250.0f, 0.0f, 1000.0f },
        { ParameterLayout::indexOf (9, ParameterLayout::active), 0.5f, 0.5f, 0.0f, 1.0f },
    };
    for (const auto& [index, normalised, shown, start, end] : cases)
    {
        const auto& ranged = dynamic_cast<juce::RangedAudioParameter&> (*params[index]);
        EXPECT_FLOAT_EQ (ranged.convertFrom0to1 (normalised), shown) << ranged.getName (100);
        EXPECT_FLOAT_EQ (ranged.convertTo0to1 (shown), normalised) << ranged.getName (100);
        EXPECT_EQ (ranged.getNormalisableRange().start, start);
        EXPECT_EQ (ranged.getNormalisableRange().end, end);
    }

    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        for (float n : { 0.0f, 0.123456f, 0.5f, 0.987654f, 1.0f })
        {
            const auto& ranged = dynamic_cast<juce::RangedAudioParameter&> (*params[i]);
            ASSERT_NEAR (ranged.convertTo0to1 (ranged.convertFrom0to1 (n)), n, 2.0e-7f) << ranged.getName (100);
        }
    // The zoom of the window is not sound: hosts leave it out of automation.
    EXPECT_FALSE (params[ParameterInfo::uiZoom]->isAutomatable());
    EXPECT_TRUE (params[ParameterLayout::mix]->isAutomatable());
}
} // namespace nadrix
