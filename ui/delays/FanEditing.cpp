// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/delays/FanEditing.h"

#include "engine/LineActivity.h"

#include <cmath>

namespace nadrix::FanEditing
{
namespace
{
    constexpr int numLines = ParameterLayout::numLines;
    constexpr double highcutPerPixel = 0.004, gainPerPixel = 0.01, followShare = 0.5;


    // Each edited value is rounded to float before it is clamped.
    float clamped (double v, float low, float high) { return juce::jlimit (low, high, (float) v); }

    // A time dot follows half the pointer's radial movement, slowed by its
    // factor, and gives way so that the line's two times stay within 0.58 s.
    float draggedTime (float time, float otherTime, float dT, double factor)
    {
        float v = clamped ((double) time - followShare * dT / factor, minimumTime, 1.0f);
        if (otherTime + v > maximumTotalTime)
            v = maximumTotalTime - otherTime;
        return v;
    }
}

bool isRunning (const NadrixViewdata& line)
{
    return LineActivity::isRunning (line.active);
}

int firstFreeLine (const NadrixViewdata* lines)
{
    for (int j = 0; j < numLines; ++j)
        if (! isRunning (lines[j]))
            return j;
    return -1;
}

std::optional<NadrixDelayMoveData> dotAt (const FanGeometry& fan, const NadrixViewdata* lines, juce::Point<float> p)
{
    float best = 1000000.0f;
    std::optional<NadrixDelayMoveData> hit;

    for (int j = 0; j < numLines; ++j)
    {
        if (! isRunning (lines[j]))
            continue;

        const FanGeometry::Line l = fan.line (lines[j]);
        const float toDelay = p.getDistanceFrom (l.delayPoint);
        const float toPredelay = p.getDistanceFrom (l.predelayPoint);

        if (toDelay < FanGeometry::catchRadius (lines[j].feedback) && toDelay < best)
        {
            best = toDelay;
            hit = NadrixDelayMoveData { j, true, false };
        }
        if (toPredelay < FanGeometry::catchRadius (lines[j].predelayGain) && toPredelay < best)
        {
            best = toPredelay;
            hit = NadrixDelayMoveData { j, false, true };
        }
    }
    return hit;
}

juce::Array<NadrixDelayMoveData> dotsInBand (const FanGeometry& fan, const NadrixViewdata* lines, juce::Point<float> corner1, juce::Point<float> corner2)
{
    const float left = std::min (corner1.x, corner2.x), bottom = std::min (corner1.y, corner2.y);
    const float w = std::abs (corner2.x - corner1.x), h = std::abs (corner2.y - corner1.y);
    auto inside = [&] (juce::Point<float> p) { return left <= p.x && p.x < left + w && bottom <= p.y && p.y < bottom + h; };

    juce::Array<NadrixDelayMoveData> caught;
    for (int j = 0; j < numLines; ++j)
    {
        if (! isRunning (lines[j]))
            continue;

        const FanGeometry::Line l = fan.line (lines[j]);
        const bool delayIn = inside (l.delayPoint), predelayIn = inside (l.predelayPoint);
        if (delayIn || predelayIn)
            caught.add ({ j, delayIn, predelayIn });
    }
    return caught;
}

bool drag (const FanGeometry& fan, const NadrixViewdata* lines, const juce::Array<NadrixDelayMoveData>& held, EditMode mode,
           juce::Point<float> previous, juce::Point<float> now, DelaysViewCallback& callback)
{
    const float aNow = fan.direction (now), aPrev = fan.direction (previous);
    const float tNow = fan.radialTime (now), tPrev = fan.radialTime (previous);
    const auto dT = (float) ((double) tPrev - (double) tNow);
    const auto dA = (float) ((double) aPrev - (double) aNow);
    const double dy = (double) now.y - (double) previous.y;
    bool changed = false;

    for (const auto& entry : held)
    {
        const int j = entry.lineIndex;
        const NadrixViewdata& r = lines[j];

        // The farther the pointer from the line, in angle and in radius, the
        // slower the dot follows (and the faster a high-cut gain changes).
        const double angleFactor = 2.0 * std::abs ((double) FanGeometry::angleOfPan (r.pan) - (double) aNow) + 1.0;
        const double radiusFactor = 6.0 * std::abs ((double) r.predelay + (double) r.delayTime - (double) tNow) + 1.0;

        auto movePan = [&] {
            callback.setPan (clamped ((double) r.pan - followShare * dA / angleFactor, -1.0f, 1.0f), j);
        };

        switch (mode)
        {
            case EditMode::Highcut:
                callback.setHighcutGain (clamped ((double) r.hcGain + highcutPerPixel * dy * angleFactor * radiusFactor, 0.0f, 1.0f), j);
                changed = true;
                break;

            case EditMode::DelayTime:
                if (entry.movePredelayPoint)
                {
                    const double predelayFactor = 6.0 * std::abs ((double) r.predelay - (double) tNow) + 1.0;
                    callback.setPredelayTime (draggedTime (r.predelay, r.delayTime, dT, predelayFactor), j);
                    movePan();
                    changed = true;
                }
                if (entry.moveDelayPoint)
                {
                    callback.setDelayTime (draggedTime (r.delayTime, r.predelay, dT, radiusFactor), j);
                    movePan();
                    changed = true;
                }
                break;

            case EditMode::Feedback:
                // Both gains move by the delay dot's radius factor.
                if (entry.moveDelayPoint)
                {
                    callback.setFeedback (clamped ((double) r.feedback + gainPerPixel * dy / radiusFactor, 0.0f, maximumFeedback), j);
                    changed = true;
                }
                if (entry.movePredelayPoint)
                {
                    callback.setPredelayGain (clamped ((double) r.predelayGain + gainPerPixel * dy / radiusFactor, 0.0f, maximumGain), j);
                    changed = true;
                }
                break;

            case EditMode::Trashcan: // deletes on press: a drag moves nothing
                break;
        }
    }
    return changed;
}

std::optional<Placement> placementAt (const FanGeometry& fan, juce::Point<float> release)
{
    // Below the origin only the horizontal distance counts.
    const float dx = release.x - fan.origin.x;
    const float dy = release.y < FanGeometry::originY ? 0.0f : release.y - FanGeometry::originY;
    const auto t = (float) ((double) (std::sqrt (dx * dx + dy * dy) - FanGeometry::innerRadius) / (double) fan.pixelsPerSecond);
    if (! (t > 0.0f))
        return std::nullopt;

    constexpr double pi = juce::MathConstants<double>::pi;
    return Placement { (float) ((double) std::atan2 (dx, dy) / (pi / 2.0)), t };
}

void makeLine (int line, Placement placement, DelaysViewCallback& callback)
{
    const float half = std::min (maximumTotalTime, placement.totalTime) * 0.5f;
    callback.setPan (placement.pan, line);
    callback.setPredelayTime (half, line);
    callback.setDelayTime (half, line);
    callback.setFeedback (0.6f, line);
    callback.setHighcutGain (0.8f, line);
    callback.setDelayActive (1.0f, line);
    callback.setPredelayGain (0.8f, line);
}

void stepLine (const NadrixViewdata* lines, int line, EditMode mode, float step, DelaysViewCallback& callback)
{
    const NadrixViewdata& v = lines[line];
    if (mode == EditMode::DelayTime)
        callback.setDelayTime (clamped ((double) v.delayTime + step, minimumTime, std::max (minimumTime, maximumTotalTime - v.predelay)), line);
    else if (mode == EditMode::Feedback)
        callback.setFeedback (clamped ((double) v.feedback + step, 0.0f, maximumFeedback), line);
    else if (mode == EditMode::Highcut)
        callback.setHighcutGain (clamped ((double) v.hcGain + step, 0.0f, 1.0f), line);
}

int runningLineBeside (const NadrixViewdata* lines, int line, int direction)
{
    const bool current = line >= 0 && line < numLines && isRunning (lines[line]);
    const float pan = current ? lines[line].pan : 0.0f;
    auto before = [lines] (int a, float panA, int b) { const float panB = lines[b].pan; return panA < panB || (panA == panB && a < b); };

    if (direction == 0 && current)
        return line;

    int best = -1;
    for (int j = 0; j < numLines; ++j)
    {
        if (j == line || ! isRunning (lines[j]))
            continue;
        const float p = lines[j].pan;
        const bool beyond = ! current || direction == 0 || (direction > 0 ? before (line, pan, j) : ! before (line, pan, j));
        if (! beyond)
            continue;
        const bool better = best < 0 || (direction < 0 ? before (best, lines[best].pan, j) : before (j, p, best));
        if (better)
            best = j;
    }
    return best >= 0 ? best : current ? line : -1;
}
} // namespace nadrix::FanEditing
