// SPDX-License-Identifier: GPL-3.0-or-later
#include "NadrixAudioProcessor.h"
#include "Nadrix_Preset_Data.h"
#include "ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <thread>

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
        ASSERT_EQ (params[i]->getValue(), Nadrix_Preset_Data[5][i]) << i;
        ASSERT_EQ (params[i]->getDefaultValue(), Nadrix_Preset_Data[5][i]) << i;
    }
    EXPECT_NEAR (p.getViewData()[0].pan.load(), -0.7802f, 1e-6f); // stored pan -0.7802 reaches the engine as stored

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

    EXPECT_FLOAT_EQ (Nadrix_Preset_Data[5][1], 0.35653549f);
    EXPECT_FLOAT_EQ (Nadrix_Preset_Data[5][3], 0.59282452f);
    EXPECT_FLOAT_EQ (Nadrix_Preset_Data[0][1], 0.18464461f);
    EXPECT_EQ (a->getParameterValue (1), b->getParameterValue (1));
}
