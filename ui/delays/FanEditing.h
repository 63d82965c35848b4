// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/NadrixViewdata.h"
#include "processor/ParameterInfo.h"
#include "ui/delays/DelaysViewCallback.h"
#include "ui/delays/EditMode.h"
#include "ui/delays/FanGeometry.h"
#include "ui/delays/NadrixDelayMoveData.h"

#include <optional>

// The rules of editing the fan: which dot a press takes, what a drag or a key
// does to the lines it holds, where a pulled-out line lands. They read the
// engine's view records and write only through the view's callback, so a
// test calls them with a recording callback and no Component.
namespace nadrix::FanEditing
{
    // What an edit keeps a line within: a line's two times together at most
    // 0.58 s, each at least 1 ms; gains below 0.995; feedback at the engine's cap.
    constexpr float maximumTotalTime = 0.58f, minimumTime = 0.001f, maximumGain = 0.995f;
    constexpr float maximumFeedback = ParameterInfo::highestFeedback;

    bool isRunning (const NadrixViewdata& line);
    // The lowest line that does not run, or -1 when all of them do.
    int firstFreeLine (const NadrixViewdata* lines);

    // The nearest dot within its catch radius; at equal distance the delay
    // dot of the same line, then the lower line, wins.
    std::optional<NadrixDelayMoveData> dotAt (const FanGeometry& fan, const NadrixViewdata* lines, juce::Point<float> p);
    // Every dot of a running line inside the band spanned by two corners.
    juce::Array<NadrixDelayMoveData> dotsInBand (const FanGeometry& fan, const NadrixViewdata* lines, juce::Point<float> corner1, juce::Point<float> corner2);

    // Moves the held dots for a pointer step from previous to now, as the
    // edit mode says; true when anything was written.
    bool drag (const FanGeometry& fan, const NadrixViewdata* lines, const juce::Array<NadrixDelayMoveData>& held, EditMode mode,
               juce::Point<float> previous, juce::Point<float> now, DelaysViewCallback& callback);

    // A line pulled out of the centre circle and released at a point: its
    // pan and total time, or nothing when released inside the circle.
    struct Placement
    {
        float pan;
        float totalTime;
    };
    std::optional<Placement> placementAt (const FanGeometry& fan, juce::Point<float> release);

    // Starts a line: its delay dot at the total time, its pre-delay dot halfway.
    void makeLine (int line, Placement placement, DelaysViewCallback& callback);

    // Steps a line's value of the edit mode from the keyboard.
    void stepLine (const NadrixViewdata* lines, int line, EditMode mode, float step, DelaysViewCallback& callback);

    // The running line next to a line in pan order (ties by index) to the
    // right (direction 1) or left (-1); direction 0 gives the line itself if
    // it runs, else the leftmost running line. -1 when no line runs.
    int runningLineBeside (const NadrixViewdata* lines, int line, int direction);
}
