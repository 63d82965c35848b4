// SPDX-License-Identifier: GPL-3.0-or-later
#include "NadrixAudioProcessor.h"
#include "Nadrix_Preset_Data.h"
#include "ParameterMapping.h"

#include <gtest/gtest.h>

namespace
{
    juce::AudioProcessorParameter& parameter (NadrixAudioProcessor& p, int index) { return *p.getParameters()[index]; }
}

TEST (ParameterSet, PublishesThreeHundredFiftySevenNamedParametersAtProgramFiveValues)
{
    NadrixAudioProcessor p;
    ASSERT_EQ (p.getParameters().size(), 357);

    EXPECT_EQ (parameter (p, 0).getName (100), "Mix");
    EXPECT_EQ (parameter (p, 6).getName (100), "UI Zoom");
    EXPECT_EQ (parameter (p, 7).getName (100), "Pan Dly 0");
    EXPECT_EQ (parameter (p, 7 + 7 * 5 + 5).getName (100), "Active Dly 5");
    EXPECT_EQ (parameter (p, 7 + 7 * 49 + 5).getName (100), "Active Dly 49");
    EXPECT_EQ (parameter (p, 356).getName (100), "Predelay gain Dly 49");
    EXPECT_EQ (dynamic_cast<juce::AudioProcessorParameterWithID&> (parameter (p, 356)).getParameterID(), "Predelay gain Dly 49");

    const float globals[] = { 0.8458520f, 0.35653549f, 0.75341016f, 0.59282452f, 0.96196753f, 0.41208249f, 1.0f };
    for (int i = 0; i < 7; ++i)
    {
        EXPECT_FLOAT_EQ (p.getParameterValue (i), globals[i]) << i;
        EXPECT_EQ (parameter (p, i).getValue(), p.getParameterValue (i));
        EXPECT_EQ (parameter (p, i).getDefaultValue(), p.getParameterValue (i));
    }

    // Line 0 of program 5: pan -0.7802 reaches the engine as stored.
    EXPECT_NEAR (p.getViewData()[0].pan.load(), -0.7802f, 1e-6f);
    EXPECT_EQ (p.getViewData()[36].active.load(), 0.0f);
    EXPECT_EQ (p.getCurrentProgram(), 5); // the program whose values are loaded
}

TEST (ParameterSet, MappingsKeepTheirAsymmetricFrequencyDivisor)
{
    using namespace ParameterMapping;
    EXPECT_EQ (engineValueFor (1, 0.0f), 20.0f);
    EXPECT_EQ (engineValueFor (2, 1.0f), 9100.0f);
    EXPECT_EQ (engineValueFor (7 + 7 * 3, 0.5f), 0.0f);
    EXPECT_EQ (engineValueFor (4, 0.75f), 1.5f);
    EXPECT_EQ (engineValueFor (6, 0.3f), 0.3f);

    // Stored 360.25446 Hz is converted with 9980 and mapped back with 9080.
    EXPECT_FLOAT_EQ (normalisedFromStored (1, 360.25446f), 0.18464461f);
    EXPECT_FLOAT_EQ (engineValueFor (1, normalisedFromStored (1, 360.25446f)), 329.57019f);
    EXPECT_FLOAT_EQ (engineValueFor (2, normalisedFromStored (2, 3741.4175f)), 3405.8186f);
}

TEST (ParameterSet, FactoryProgramsAreConvertedOnceWithExactNames)
{
    NadrixAudioProcessor first, second;
    EXPECT_TRUE (Nadrix_Normalized.load());
    EXPECT_FLOAT_EQ (Nadrix_Preset_Data[0][1], 0.18464461f);
    EXPECT_EQ (Nadrix_Preset_Data[3][3], 0.0f);
    EXPECT_EQ (Nadrix_Preset_Data[3][4], 1.0f);
    for (int j = 0; j < 50; ++j)
    {
        EXPECT_GE (Nadrix_Preset_Data[0][7 + 7 * j], 0.0f);
        EXPECT_LE (Nadrix_Preset_Data[0][7 + 7 * j], 1.0f);
    }

    const char* names[] = { "Bright Ambience", "Nice Hall", "Robotizer", "Sheep Spring Reverb", "Small Drum Booth", "Small Complex Room" };
    ASSERT_EQ (first.getNumPrograms(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ (first.getProgramName (i), names[i]);
    EXPECT_EQ (first.getProgramName (6), "");
    EXPECT_EQ (first.getProgramName (-1), "");
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
