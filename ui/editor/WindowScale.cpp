// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/WindowScale.h"

#include "processor/DecimalNumber.h"

#include <juce_data_structures/juce_data_structures.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace nadrix
{
namespace
{
    constexpr const char* key = "windowScale";

    juce::PropertiesFile open()
    {
        juce::PropertiesFile::Options options;
        options.storageFormat = juce::PropertiesFile::storeAsXML;
        return juce::PropertiesFile (WindowScale::settingsFile(), options);
    }
}

juce::File WindowScale::settingsFile()
{
    if (const char* folder = std::getenv ("NADRIX_SETTINGS_DIR"); folder != nullptr && *folder != 0)
        return juce::File (juce::String::fromUTF8 (folder)).getChildFile ("window.settings");
    return juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config/Nadrix/window.settings");
}

float WindowScale::stored()
{
    const char* end = nullptr;
    const auto scale = (float) readDecimalNumber (open().getValue (key, "1").toRawUTF8(), &end).value_or (1.0);
    const bool isChoice = std::find (std::begin (choices), std::end (choices), scale) != std::end (choices);
    return isChoice ? scale : 1.0f;
}

void WindowScale::store (float scale)
{
    auto settings = open();
    settings.setValue (key, (double) scale);
    settings.saveIfNeeded();
}
} // namespace nadrix
