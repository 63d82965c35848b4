// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point for everything that links JUCE: the library (and its
// message manager) is initialised once for the whole run. The window's
// settings (its size) are read from and written to a folder of the run's
// own, never the user's.
#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <cstdlib>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    const auto settings = juce::File::createTempFile ("nadrix-test-settings");
    settings.createDirectory();
    setenv ("NADRIX_SETTINGS_DIR", settings.getFullPathName().toRawUTF8(), 1);
    const juce::ScopedJuceInitialiser_GUI juce;
    const int failed = RUN_ALL_TESTS();
    settings.deleteRecursively();
    return failed;
}
