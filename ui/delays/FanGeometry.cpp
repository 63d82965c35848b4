// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/delays/FanGeometry.h"

#include <cmath>

namespace nadrix
{
FanGeometry::FanGeometry (float width, float height, float zoom)
    : origin (width * 0.5f, originY),
      pixelsPerSecond (zoom * width * 0.5f),
      visibleRadius (height - 20.0f)
{
}

float FanGeometry::angleOfPan (float pan)
{
    const double pi = juce::MathConstants<double>::pi;
    return (float) (((double) pan + 1.0) * pi * 0.5 - pi / 2.0);
}

juce::Point<float> FanGeometry::pointAt (float angle, float radius) const
{
    return { origin.x + radius * std::sin (angle), originY + radius * std::cos (angle) };
}

float FanGeometry::radialTime (juce::Point<float> p) const
{
    const float beyondCircle = origin.getDistanceFrom (p) - innerRadius;
    return (float) ((double) beyondCircle / (double) pixelsPerSecond);
}

float FanGeometry::direction (juce::Point<float> p) const
{
    return std::atan2 (p.x - origin.x, p.y - originY);
}

FanGeometry::Line FanGeometry::line (const NadrixViewdata& record) const
{
    const float predelay = record.predelay;
    const float delayTime = record.delayTime;

    Line l;
    l.angle = angleOfPan (record.pan);
    l.predelayRadius = innerRadius + pixelsPerSecond * predelay;
    l.delayRadius = innerRadius + pixelsPerSecond * predelay + pixelsPerSecond * delayTime;
    l.predelayPoint = pointAt (l.angle, l.predelayRadius);
    l.delayPoint = pointAt (l.angle, l.delayRadius);
    l.innerPoint = pointAt (l.angle, innerRadius);
    l.edgePoint = pointAt (l.angle, visibleRadius);
    return l;
}
} // namespace nadrix
