// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

namespace nadrix
{
// Loads a built bundle as a host does: VST3 by its file, LV2 by its URI
// after searching the folder that holds the bundle.
inline std::unique_ptr<juce::AudioPluginInstance> loadBundle (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier)
{
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, fileOrIdentifier);
    juce::String error;
    auto instance = found.size() == 1 ? format.createInstanceFromDescription (*found[0], 44100.0, 512, error) : nullptr;
    EXPECT_TRUE (error.isEmpty()) << error;
    return instance;
}

inline void searchLv2Folder (juce::LV2PluginFormat& format, const char* bundle)
{
    format.searchPathsForPlugins (juce::FileSearchPath (juce::File (bundle).getParentDirectory().getFullPathName()), false, false);
}
} // namespace nadrix
