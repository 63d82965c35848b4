// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

// A one-line progress bar on standard error. It appears only when standard
// error is a terminal, and only once the work has run for a second.
class ProgressBar
{
public:
    explicit ProgressBar (juce::int64 total);
    ~ProgressBar();

    void update (juce::int64 done);

private:
    void draw (juce::int64 done);

    const juce::int64 total;
    const bool enabled;
    const juce::uint32 startMs;
    bool shown = false;
    int lastPercent = -1;
};
