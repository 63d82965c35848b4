// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/ParameterText.h"

#include "engine/DelayLine.h"
#include "engine/LineActivity.h"

#include "processor/DecimalNumber.h"
#include "processor/ParameterInfo.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    using ParameterInfo::Unit;
    using ParameterInfo::lowestSplitFrequency, ParameterInfo::splitFrequencySpan;

    juce::String decimals (double value) { return juce::String (value, 1); }

    // A value that shows as the most the reverb runs says so ("99.5 % (max)"),
    // so that every text shown for it is the one typing it back shows.
    juce::String atMost (const juce::String& shown, const juce::String& most, const char* unit)
    {
        return shown == most ? most + unit + " (max)" : shown + unit;
    }

    // A typed text split around its first number: "l30%" is "l", 30, "%".
    struct Quantity
    {
        juce::String prefix;
        double number = 0.0;
        bool hasNumber = false;
        juce::String suffix;
    };

    Quantity split (const juce::String& typed)
    {
        const auto s = typed.toLowerCase().removeCharacters (" \t").replace ("\xc3\x97", "x").replaceCharacter (',', '.');
        const char* const text = s.toRawUTF8();
        Quantity q;

        for (int i = 0; text[i] != 0; ++i)
        {
            const bool signedStart = (text[i] == '-' || text[i] == '+')
                                  && (std::isdigit ((unsigned char) text[i + 1]) || text[i + 1] == '.' || text[i + 1] == 'i');
            if (! (std::isdigit ((unsigned char) text[i]) || signedStart || (text[i] == '.' && std::isdigit ((unsigned char) text[i + 1]))))
                continue;

            // The decimal point is '.' whatever the host's locale.
            const char* end = nullptr;
            const auto value = readDecimalNumber (text + i, &end);
            if (! value.has_value() || std::isnan (*value))
                continue;

            q.prefix = juce::String (juce::CharPointer_UTF8 (text), juce::CharPointer_UTF8 (text + i));
            q.number = *value;
            q.hasNumber = true;
            q.suffix = juce::String (juce::CharPointer_UTF8 (end));
            return q;
        }

        q.prefix = s;
        return q;
    }

    bool isOneOf (const juce::String& s, std::initializer_list<const char*> words)
    {
        for (auto* w : words)
            if (s == w)
                return true;
        return false;
    }

    std::optional<double> readPercent (const Quantity& q, bool mix)
    {
        if (! q.hasNumber || q.prefix.isNotEmpty())
            return std::nullopt;
        const auto unit = q.suffix.upToFirstOccurrenceOf ("(", false, false); // "99.5 % (max)"
        if (! isOneOf (unit, { "", "%", "pct" }) && ! (mix && isOneOf (unit, { "%wet", "wet" })))
            return std::nullopt;
        return q.number / 100.0;
    }

    std::optional<double> readHertz (const Quantity& q)
    {
        if (! q.hasNumber || q.prefix.isNotEmpty())
            return std::nullopt;

        double hz = q.number;
        if (isOneOf (q.suffix, { "khz", "k" }))
            hz *= 1000.0;
        else if (! isOneOf (q.suffix, { "", "hz" }))
            return std::nullopt;

        return std::sqrt (juce::jmax (0.0, (hz - (double) lowestSplitFrequency) / (double) splitFrequencySpan));
    }

    std::optional<double> readDecibels (const Quantity& q)
    {
        if (! q.hasNumber || q.prefix.isNotEmpty() || ! isOneOf (q.suffix, { "", "db" }))
            return std::nullopt;
        return std::pow (10.0, q.number / 20.0) * 0.5; // the band gain runs 0..2
    }

    std::optional<double> readSeconds (const Quantity& q)
    {
        if (! q.hasNumber || q.prefix.isNotEmpty())
            return std::nullopt;

        const auto unit = q.suffix.upToFirstOccurrenceOf ("(", false, false); // "500.0 ms (max)"
        if (isOneOf (unit, { "", "ms" }))
            return q.number / 1000.0;
        if (isOneOf (unit, { "s", "sec", "secs", "seconds" }))
            return q.number;
        return std::nullopt;
    }

    std::optional<double> readPan (const Quantity& q)
    {
        if (! q.hasNumber)
            return isOneOf (q.prefix, { "c", "center", "centre", "mid", "middle" }) ? std::optional<double> (0.5) : std::nullopt;

        const auto side = (q.prefix + q.suffix).removeCharacters ("%");
        double percent = q.number;
        if (isOneOf (side, { "l", "left" }))
            percent = -std::abs (percent);
        else if (isOneOf (side, { "r", "right" }))
            percent = std::abs (percent);
        else if (side.isNotEmpty())
            return std::nullopt;

        return (percent / 100.0 + 1.0) * 0.5;
    }

    std::optional<double> readOnOff (const Quantity& q)
    {
        if (q.hasNumber)
            return q.prefix.isEmpty() && q.suffix.isEmpty() ? std::optional<double> (q.number) : std::nullopt;
        if (isOneOf (q.prefix, { "on", "true", "yes" }))
            return 1.0;
        if (isOneOf (q.prefix, { "off", "false", "no" }))
            return 0.0;
        if (q.prefix == "on(notcounted)")
            return (double) LineActivity::threshold;
        return std::nullopt;
    }

    std::optional<double> readZoom (const Quantity& q)
    {
        if (! q.hasNumber || ! isOneOf (q.prefix + q.suffix, { "", "x" }))
            return std::nullopt;
        // The window's own inverse; a number far beyond the range stays far
        // beyond it, and stays a float.
        return (double) ParameterInfo::normalisedFromShown (ParameterInfo::uiZoom, (float) std::clamp (q.number, -1.0e6, 1.0e6));
    }
}

juce::String ParameterText::format (int index, float n)
{
    const float value = ParameterInfo::engineValue (index, n);

    switch (ParameterInfo::rowOf (index).unit)
    {
        case Unit::mixPercent: return decimals ((double) n * 100.0) + " % wet";
        case Unit::percent: return decimals ((double) n * 100.0) + " %";

        case Unit::feedbackPercent:
            return atMost (decimals ((double) value * 100.0), decimals ((double) ParameterInfo::highestFeedback * 100.0), " %");
        case Unit::hertz: return decimals ((double) value) + " Hz";

        case Unit::gain:
        {
            if (! (value > 0.0f))
                return "-inf dB";
            const double db = 20.0 * std::log10 ((double) value);
            if (std::abs (db) < 0.05)
                return "0.0 dB";
            return (db > 0.0 ? "+" : "") + decimals (db) + " dB";
        }

        case Unit::milliseconds: return decimals ((double) value * 1000.0) + " ms";

        case Unit::delayMilliseconds:
            // The ring holds half a second: longer times run as that.
            return atMost (decimals ((double) juce::jmin (value, DelayLine_longestSeconds) * 1000.0),
                           decimals ((double) DelayLine_longestSeconds * 1000.0), " ms");

        case Unit::pan:
        {
            // A pan that shows as 0.0 % is the centre, whichever side it leans.
            const auto percent = decimals (std::abs ((double) value) * 100.0);
            if (percent == "0.0")
                return "C";
            return (value < 0.0f ? "L " : "R ") + percent + " %";
        }

        case Unit::onOff:
            if (LineActivity::isCounted (n))
                return "On";
            return LineActivity::isRunning (n) ? "On (not counted)" : "Off";

        case Unit::zoom: return juce::String (ParameterInfo::shownValue (index, n), 2) + "x";
    }

    return juce::String (n);
}

std::optional<float> ParameterText::parse (int index, const juce::String& text)
{
    const auto value = parseUnclamped (index, text);
    if (! value.has_value())
        return std::nullopt;
    return (float) juce::jlimit (0.0, 1.0, *value);
}

std::optional<double> ParameterText::parseUnclamped (int index, const juce::String& text)
{
    const Quantity q = split (text);
    std::optional<double> value;

    switch (ParameterInfo::rowOf (index).unit)
    {
        case Unit::mixPercent: value = readPercent (q, true); break;
        case Unit::percent:
        case Unit::feedbackPercent: value = readPercent (q, false); break;
        case Unit::hertz: value = readHertz (q); break;
        case Unit::gain: value = readDecibels (q); break;
        case Unit::milliseconds:
        case Unit::delayMilliseconds: value = readSeconds (q); break;
        case Unit::pan: value = readPan (q); break;
        case Unit::onOff: value = readOnOff (q); break;
        case Unit::zoom: value = readZoom (q); break;
    }

    if (! value.has_value() || std::isnan (*value))
        return std::nullopt;
    return value;
}
} // namespace nadrix
