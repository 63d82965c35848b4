// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/NadrixViewdata.h"

#include <juce_graphics/juce_graphics.h>

namespace nadrix
{
// Where a line's dots lie in the delay-line view, and what a pointer
// position means, in the view's flipped coordinates (y grows upwards). The
// fan's origin sits 20 pixels above the bottom edge at the middle; a line
// leaves the 60-pixel centre circle in the direction of its pan, with its
// pre-delay dot at the pre-delay time and its delay dot at pre-delay plus
// delay time, at zoom x width / 2 pixels per second.
class FanGeometry
{
public:
    FanGeometry (float width, float height, float zoom);

    static constexpr float innerRadius = 60.0f;
    static constexpr float originY = 20.0f;

    struct Line
    {
        float angle;              // 0 up, -pi/2 left, +pi/2 right
        float predelayRadius;     // r1
        float delayRadius;        // r2
        juce::Point<float> predelayPoint, delayPoint, innerPoint, edgePoint;
    };

    Line line (const NadrixViewdata& record) const;

    static float angleOfPan (float pan);

    // A dot's drawn radius for its gain (pre-delay gain or feedback), and the
    // radius within which a press catches it.
    static float dotRadius (float gain) { return 15.0f * gain + 2.0f; }
    static float catchRadius (float gain) { return dotRadius (gain) + 2.0f; }
    juce::Point<float> pointAt (float angle, float radius) const;
    float radialTime (juce::Point<float> p) const;  // seconds; negative inside the centre circle
    float direction (juce::Point<float> p) const;   // angle of the pointer as seen from the origin

    juce::Point<float> origin;
    float pixelsPerSecond;
    float visibleRadius;
};
} // namespace nadrix
