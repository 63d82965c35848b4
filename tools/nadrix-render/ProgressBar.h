// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// A one-line progress bar on standard error. It appears only when standard
// error is a terminal, and only once the work has run for a second. Not
// thread-safe: one thread draws it.
class ProgressBar
{
public:
    // `counting` names what is counted ("files"), shown as "7/20 files".
    explicit ProgressBar (juce::int64 total, const juce::String& counting = {});
    ~ProgressBar();

    void update (juce::int64 done);
    // The bar at its end and its line closed, before anything else is said.
    void finish();
    // A line of its own on standard error, above the bar if it is shown.
    void note (const juce::String& line);

private:
    void draw (juce::int64 done);
    void redraw (juce::int64 done);

    const juce::int64 total;
    const juce::String counting;
    const bool enabled;
    const juce::uint32 startMs;
    bool shown = false;
    int lastPercent = -1;
    juce::int64 lastDone = 0;
};
} // namespace nadrix
