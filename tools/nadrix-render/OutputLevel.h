// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// How loud an output came out: its peak, and how many of its samples lie
// beyond full scale (those an integer or coded file clips).
class OutputLevel
{
public:
    void measure (const float* samples, size_t count) noexcept;

    float peak() const noexcept { return highest; }
    double peakDbfs() const;
    juce::int64 beyondFullScale() const noexcept { return beyond; }

    // The one-line notice a render gives when its output does not fit the
    // kind of file written, or none: integer and coded kinds clip what lies
    // beyond full scale, a float file keeps it.
    juce::String notice (bool keepsBeyondFullScale, const juce::String& kindOfFile) const;

private:
    float highest = 0.0f;
    juce::int64 beyond = 0;
};
} // namespace nadrix
