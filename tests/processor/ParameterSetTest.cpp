// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/NadrixAudioProcessor.h"
#include "engine/NadrixViewdata.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"
#include "engine/ParameterLayout.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <thread>

namespace nadrix
{
TEST (ParameterSet, PublishesThreeHundredFiftySevenNamedParametersAtProgramFiveValues)
{
    NadrixAudioProcessor p;
    const auto& params = p.getParameters();
    ASSERT_EQ (params.size(), 357);
    const std::pair<int, const char*> names[] = { { 0, "Mix" }, { 6, "UI Zoom" }, { 7, "Pan Dly 0" }, { 7 + 7 * 5 + 5, "Active Dly 5" }, { 356, "Predelay gain Dly 49" } };
    for (const auto& [index, name] : names)
    {
        EXPECT_EQ (params[index]->getName (100), name);
        EXPECT_EQ (dynamic_cast<juce::AudioProcessorParameterWithID&> (*params[index]).getParameterID(), name);
    }

    for (int i = 0; i < 357; ++i)
    {
        ASSERT_EQ (params[i]->getValue(), FactoryPrograms::normalised (5, i)) << i;
        ASSERT_EQ (params[i]->getDefaultValue(), FactoryPrograms::normalised (5, i)) << i;
    }
    EXPECT_NEAR (p.getLineView (0).pan, -0.7802f, 1e-6f); // stored pan -0.7802 reaches the engine as stored

    ASSERT_EQ (p.getNumPrograms(), 6);
    for (int i = -1; i < 7; ++i)
        EXPECT_EQ (p.getProgramName (i), factoryProgramNames[i]) << i; // "" outside the table
}

TEST (ParameterSet, FirstConstructionOnTwoThreadsConvertsTheTableOnce)
{
    // ctest runs each test in its own process, so here the two threads race
    // for the very first conversion. A second conversion would turn the
    // frequencies into NaN and the gains into quarters.
    std::unique_ptr<NadrixAudioProcessor> a, b;
    std::thread ta ([&a] { a = std::make_unique<NadrixAudioProcessor>(); });
    std::thread tb ([&b] { b = std::make_unique<NadrixAudioProcessor>(); });
    ta.join();
    tb.join();

    EXPECT_FLOAT_EQ (FactoryPrograms::normalised (5, 1), 0.35653549f);
    EXPECT_FLOAT_EQ (FactoryPrograms::normalised (5, 3), 0.59282452f);
    EXPECT_FLOAT_EQ (FactoryPrograms::normalised (0, 1), 0.18464461f);
    EXPECT_EQ (a->getParameterValue (1), b->getParameterValue (1));
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

    for (int i = 0; i < 357; ++i)
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
