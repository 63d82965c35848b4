// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point for everything that links JUCE: the library (and its
// message manager) is initialised once for the whole run.
#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    const juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
