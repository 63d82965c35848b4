// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/SettingReader.h"

#include "tools/nadrix-render/NearestName.h"
#include "processor/DecimalNumber.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"
#include "processor/ParameterText.h"

#include <cmath>

namespace nadrix::SettingReader
{
std::optional<double> plainNumber (const juce::String& text)
{
    const auto s = text.trim();
    if (s.isEmpty() || ! s.containsOnly ("0123456789.eE+-") || ! s.containsAnyOf ("0123456789"))
        return std::nullopt;

    const char* end = nullptr;
    const auto value = readDecimalNumber (s.toRawUTF8(), &end);
    if (! value.has_value() || *end != 0 || ! std::isfinite (*value))
        return std::nullopt;
    return value;
}

juce::StringArray programNames()
{
    juce::StringArray names;
    for (int i = 0; i < FactoryPrograms::count; ++i)
        names.add (FactoryPrograms::names[i]);
    return names;
}

std::optional<int> findProgram (const juce::String& numberOrName)
{
    const auto text = numberOrName.trim();
    if (text.isNotEmpty() && text.containsOnly ("0123456789"))
        return text.length() <= 2 && text.getIntValue() < FactoryPrograms::count ? std::optional<int> (text.getIntValue()) : std::nullopt;

    for (int i = 0; i < FactoryPrograms::count; ++i)
        if (text.equalsIgnoreCase (FactoryPrograms::names[i]))
            return i;
    return std::nullopt;
}

juce::StringArray parameterNames()
{
    juce::StringArray names;
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        names.add (juce::String (ParameterInfo::name (i)));
    return names;
}

int parameterNamed (const juce::String& name)
{
    if (const int exact = ParameterInfo::indexOfName (name.toStdString()); exact >= 0)
        return exact;
    return parameterNames().indexOf (name, true);
}

std::variant<Setting, Refusal> readSetting (const juce::String& name, const juce::String& value)
{
    const int index = parameterNamed (name);
    if (index < 0)
        return Refusal { "unknown parameter '" + name + "'" + didYouMean (name, parameterNames()), true };

    const auto text = value.trim();
    const auto example = ParameterText::format (index, 0.5f);
    if (const auto number = plainNumber (text); number.has_value())
    {
        if (*number < 0.0 || *number > 1.0)
            return Refusal { name + ": a plain number is the normalised value from 0 to 1; give other values with their unit, like \"" + example + "\"" };
        return Setting { index, (float) *number };
    }

    if (const auto typed = ParameterText::parseUnclamped (index, text); typed.has_value())
        return Setting { index, (float) juce::jlimit (0.0, 1.0, *typed), *typed < 0.0 || *typed > 1.0 };
    return Refusal { name + ": cannot read '" + text + "'; give a number from 0 to 1 or a value like \"" + example + "\"" };
}

std::optional<RandomRenderSettings> readRandomSettings (const juce::String& text)
{
    const auto parts = juce::StringArray::fromTokens (text, ",", "");
    if (parts.size() != 4)
        return std::nullopt;
    float values[4];
    for (int i = 0; i < 4; ++i)
    {
        const auto number = plainNumber (parts[i]);
        if (! number.has_value() || *number < 0.0 || *number > 1.0)
            return std::nullopt;
        values[i] = (float) *number;
    }
    RandomRenderSettings settings;
    settings.tailTime = values[0];
    settings.roomSize = values[1];
    settings.predelay = values[2];
    settings.complexity = values[3];
    return settings;
}
} // namespace nadrix::SettingReader
