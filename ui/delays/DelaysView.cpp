// SPDX-License-Identifier: GPL-3.0-or-later
#include "DelaysView.h"

#include "FloatColour.h"
#include "ParameterInfo.h"

#include <cmath>

namespace
{
    constexpr int numLines = ParameterLayout::numLines;
    constexpr double pi = juce::MathConstants<double>::pi;

    const juce::Colour guideColour = floatColour (248.0f / 255.0f, 243.0f / 255.0f, 244.0f / 255.0f, 0.7f);
    const juce::Colour outlineColour = floatColour (248.0f / 255.0f, 243.0f / 255.0f, 244.0f / 255.0f, 0.8f);
    const juce::Colour bandColour = floatColour (1.0f, 1.0f, 1.0f, 0.5f);
    const juce::PathStrokeType hairline (1.0f);

    juce::Colour discColour (float h) { return floatColour (1.0f, 1.0f, h, 0.6f); }
    juce::Colour rayColour (float h, float alpha) { return floatColour ((float) (0.5 + 0.5 * (double) h), 0.8f, 0.9f, alpha); }

    float load (const std::atomic<float>& field) { return field.load (std::memory_order_relaxed); }

    juce::Path circle (juce::Point<float> centre, float radius)
    {
        juce::Path p;
        p.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, 0.0f, juce::MathConstants<float>::twoPi, true);
        return p;
    }

    void strokeSegment (juce::Graphics& g, juce::Point<float> from, juce::Point<float> to)
    {
        juce::Path p;
        p.startNewSubPath (from);
        p.lineTo (to);
        g.strokePath (p, hairline);
    }

    // Each dragged value is rounded to float before it is clamped.
    float clamped (double v, float low, float high) { return juce::jlimit (low, high, (float) v); }

    // Edit constants of the mouse handling.
    constexpr float maximumTotalTime = 0.58f, minimumTime = 0.001f, maximumGain = 0.995f;
    constexpr float maximumFeedback = ParameterInfo::highestFeedback; // the engine's cap
    constexpr double highcutPerPixel = 0.004, gainPerPixel = 0.01, followShare = 0.5;

    // A time dot follows half the pointer's radial movement, slowed by its
    // factor, and gives way so that the line's two times stay within 0.58 s.
    float draggedTime (const std::atomic<float>& time, const std::atomic<float>& otherTime, float dT, double factor)
    {
        float v = clamped ((double) load (time) - followShare * dT / factor, minimumTime, 1.0f);
        if (load (otherTime) + v > maximumTotalTime)
            v = maximumTotalTime - load (otherTime);
        return v;
    }
}

//==============================================================================
void DelaysView::setup (int x, int y, int width, int height, float z, const NadrixViewdata* records, DelaysViewCallback* cb)
{
    callback = cb;

    // y grows upwards: the fan stands on the bottom edge.
    setBounds (0, 0, width, height);
    setTransform (juce::AffineTransform::verticalFlip ((float) getHeight()));
    setBounds (x, y, width, height);

    viewdata = records;
    zoom = z;
    const auto ringsHeight = (int) ((float) height - FanGeometry::originY); // the rings stand on the origin's row
    scaleView.setBounds (0, (int) FanGeometry::originY, width, ringsHeight);
    scaleView.zoom = z;
    background = juce::Image (juce::Image::ARGB, width, ringsHeight, false);
    setZoom (z);

    newLineImage.setImage (ScaledImage::named ("new_line_btn"));
    newLineImage.setBounds ((int) ((float) width * 0.5f - 15.0f), 23, 29, 29);
    newLineImage.setAlpha (0.5f);
    addAndMakeVisible (newLineImage);

    setWantsKeyboardFocus (true);
    checkAllLinesBusy();
    repaint();
}

void DelaysView::setZoom (float z)
{
    zoom = z;
    scaleView.zoom = z;
    backgroundDirty = true;
    repaint();
}

void DelaysView::setEditMode (int mode)
{
    const int previous = editMode;
    editMode = mode;
    if (mode == previous)
        return;

    if (mode == Trashcan)
    {
        selection.clear();
        dragState = Idle;
    }
    repaint();
}

bool DelaysView::isBusy (const NadrixViewdata& line)
{
    return ! (load (line.active) < 0.5f);
}

void DelaysView::checkAllLinesBusy()
{
    bool anyFree = false;
    if (viewdata != nullptr)
        for (int j = 0; j < numLines; ++j)
            anyFree = anyFree || ! isBusy (viewdata[j]);

    newLineImage.setVisible (anyFree);
}

FanGeometry DelaysView::geometry() const
{
    return FanGeometry ((float) getWidth(), (float) getHeight(), zoom);
}

void DelaysView::resized() {}

//==============================================================================
void DelaysView::paint (juce::Graphics& g)
{
    if (backgroundDirty)
    {
        background.clear (background.getBounds(), juce::Colour (0x00000000));
        juce::Graphics rings (background);
        scaleView.paint (rings);
        backgroundDirty = false;
    }
    g.drawImageAt (background, 0, (int) FanGeometry::originY);

    if (viewdata == nullptr)
        return;

    const FanGeometry fan = geometry();

    if (dragState == NewLine)
        paintNewLineGuide (g, fan);

    for (int j = 0; j < numLines; ++j)
        if (isBusy (viewdata[j]))
            paintLine (g, fan, j);

    // The keyboard's line: both dots ringed black and white, seen on any dot.
    if (keyboardLine >= 0 && hasKeyboardFocus (false) && isBusy (viewdata[keyboardLine]))
    {
        const FanGeometry::Line l = fan.line (viewdata[keyboardLine]);
        for (const auto& [centre, radius] : { std::pair (l.predelayPoint, FanGeometry::dotRadius (load (viewdata[keyboardLine].predelayGain))),
                                              std::pair (l.delayPoint, FanGeometry::dotRadius (load (viewdata[keyboardLine].feedback))) })
        {
            g.setColour (juce::Colours::black);
            g.strokePath (circle (centre, radius + 3.0f), juce::PathStrokeType (3.0f));
            g.setColour (juce::Colours::white);
            g.strokePath (circle (centre, radius + 3.0f), juce::PathStrokeType (1.5f));
        }
    }

    if (dragState == BandSelect)
    {
        g.setColour (bandColour);
        g.drawRect (juce::Rectangle<float> (std::min (bandX1, bandX2), std::min (bandY1, bandY2),
                                            std::abs (bandX2 - bandX1), std::abs (bandY2 - bandY1)), 1.0f);
    }
}

void DelaysView::paintNewLineGuide (juce::Graphics& g, const FanGeometry& fan) const
{
    const juce::Point<float> pointer (mouseX, std::max (FanGeometry::originY, mouseY));
    if (! (fan.origin.getDistanceFrom (pointer) > FanGeometry::innerRadius))
        return;

    g.setColour (guideColour);
    strokeSegment (g, fan.pointAt (fan.direction (pointer), FanGeometry::innerRadius), pointer);
}

void DelaysView::paintLine (juce::Graphics& g, const FanGeometry& fan, int j) const
{
    const NadrixViewdata& record = viewdata[j];
    const FanGeometry::Line l = fan.line (record);
    const float h = load (record.hcGain);
    const bool predelayVisible = l.predelayRadius <= fan.visibleRadius;
    const bool delayVisible = l.delayRadius <= fan.visibleRadius;

    if (predelayVisible)
    {
        const float radius = FanGeometry::dotRadius (load (record.predelayGain));
        g.setColour (discColour (h));
        g.fillPath (circle (l.predelayPoint, radius));
        if (editMode == Highcut || editMode == DelayTime || editMode == Feedback)
            outlineSelected (g, j, false, l.predelayPoint, radius);
    }

    if (delayVisible)
    {
        const float radius = FanGeometry::dotRadius (load (record.feedback));
        g.setColour (discColour (h));
        g.fillPath (circle (l.delayPoint, radius));
        outlineSelected (g, j, true, l.delayPoint, radius);
    }

    if (predelayVisible)
    {
        g.setColour (rayColour (h, 0.6f));
        strokeSegment (g, l.predelayPoint, delayVisible ? l.delayPoint : l.edgePoint);
    }

    g.setColour (rayColour (h, 0.5f));
    strokeSegment (g, l.innerPoint, predelayVisible ? l.predelayPoint : l.edgePoint);
}

void DelaysView::outlineSelected (juce::Graphics& g, int line, bool delayPoint, juce::Point<float> centre, float radius) const
{
    g.setColour (outlineColour);
    for (const auto& entry : selection)
        if (entry.lineIndex == line && (delayPoint ? entry.moveDelayPoint : entry.movePredelayPoint))
            g.strokePath (circle (centre, radius), hairline); // once per entry: a line listed twice gets darker
}

//==============================================================================
void DelaysView::mouseDown (const juce::MouseEvent& e)
{
    if (callback != nullptr)
        callback->beginEditGesture();
    press (e.getPosition().toFloat());
}

void DelaysView::press (juce::Point<float> p)
{
    mouseX = p.x;
    mouseY = p.y;

    if (dragState != BandHeld && geometry().radialTime (p) < 0.0f)
    {
        startNewLine();
        return;
    }

    if (dragState != BandHeld)
        dragState = PointPress;

    NadrixDelayMoveData hit {};
    const bool found = findDotAt (p, hit);

    if (dragState == BandHeld)
    {
        if (found && selectionHasLine (hit.lineIndex))
        {
            repaint();
            return;
        }

        dragState = Idle;
        selection.clear();
        press (p);
        return;
    }

    if (found)
    {
        selection.add (hit);
        repaint();
        return;
    }

    dragState = BandSelect;
    bandX1 = bandX2 = mouseX;
    bandY1 = bandY2 = mouseY;
    repaint();
}

bool DelaysView::startNewLine()
{
    for (int j = 0; j < numLines; ++j)
    {
        if (! isBusy (viewdata[j]))
        {
            newLineIndex = j;
            dragState = NewLine;
            newLineImage.setAlpha (1.0f);
            return true;
        }
    }
    return false; // every line runs already
}

juce::String DelaysView::getTooltip()
{
    return describeAt (getMouseXYRelative().toFloat());
}

juce::String DelaysView::describeAt (juce::Point<float> p) const
{
    NadrixDelayMoveData hit;
    if (viewdata == nullptr || callback == nullptr || ! findDotAt (p, hit))
        return {};
    return callback->describeLine (hit.lineIndex);
}

bool DelaysView::findDotAt (juce::Point<float> p, NadrixDelayMoveData& hit) const
{
    // The nearest dot within its hit radius (drawn radius + 2) wins; at equal
    // distance the delay dot of the same line, then the lower line, wins.
    const FanGeometry fan = geometry();
    float best = 1000000.0f;
    bool found = false;

    for (int j = 0; j < numLines; ++j)
    {
        if (! isBusy (viewdata[j]))
            continue;

        const FanGeometry::Line l = fan.line (viewdata[j]);
        const float toDelay = p.getDistanceFrom (l.delayPoint);
        const float toPredelay = p.getDistanceFrom (l.predelayPoint);

        if (toDelay < FanGeometry::catchRadius (load (viewdata[j].feedback)) && toDelay < best)
        {
            best = toDelay;
            hit = { j, true, false };
            found = true;
        }
        if (toPredelay < FanGeometry::catchRadius (load (viewdata[j].predelayGain)) && toPredelay < best)
        {
            best = toPredelay;
            hit = { j, false, true };
            found = true;
        }
    }
    return found;
}

bool DelaysView::selectionHasLine (int line) const
{
    for (const auto& entry : selection)
        if (entry.lineIndex == line)
            return true;
    return false;
}

void DelaysView::mouseDrag (const juce::MouseEvent& e)
{
    const auto p = e.getPosition().toFloat();

    if (editMode == Trashcan && dragState != NewLine)
    {
        // Deleting follows the pointer: only the dot under it stays selected.
        selection.clear();
        press (p);
        if (dragState == NewLine)
            newLineImage.setAlpha (0.5f); // the press crossed the centre circle, but no line is being pulled
        dragState = PointPress;
        return;
    }

    previousMouseX = mouseX;
    previousMouseY = mouseY;
    mouseX = p.x;
    mouseY = p.y;

    if (dragState == BandSelect)
    {
        bandX2 = mouseX;
        bandY2 = mouseY;
        repaint();
        return;
    }

    if (dragState == NewLine)
    {
        repaint();
        return;
    }

    if (! selection.isEmpty() && editSelection ({ previousMouseX, previousMouseY }, { mouseX, mouseY }))
        repaint();
}

bool DelaysView::editSelection (juce::Point<float> previous, juce::Point<float> now)
{
    const FanGeometry fan = geometry();
    const float aNow = fan.direction (now), aPrev = fan.direction (previous);
    const float tNow = fan.radialTime (now), tPrev = fan.radialTime (previous);
    const auto dT = (float) ((double) tPrev - (double) tNow);
    const auto dA = (float) ((double) aPrev - (double) aNow);
    const double dy = (double) now.y - (double) previous.y;
    bool changed = false;

    for (const auto& entry : selection)
    {
        const int j = entry.lineIndex;
        const NadrixViewdata& r = viewdata[j];

        // The farther the pointer from the line, in angle and in radius, the
        // slower the dot follows (and the faster a high-cut gain changes).
        const double angleFactor = 2.0 * std::abs ((double) FanGeometry::angleOfPan (load (r.pan)) - (double) aNow) + 1.0;
        const double radiusFactor = 6.0 * std::abs ((double) load (r.predelay) + (double) load (r.delayTime) - (double) tNow) + 1.0;

        auto movePan = [&] {
            callback->setPan (clamped ((double) load (r.pan) - followShare * dA / angleFactor, -1.0f, 1.0f), j);
        };

        switch (editMode)
        {
            case Highcut:
                callback->setHighcutGain (clamped ((double) load (r.hcGain) + highcutPerPixel * dy * angleFactor * radiusFactor, 0.0f, 1.0f), j);
                changed = true;
                break;

            case DelayTime:
                if (entry.movePredelayPoint)
                {
                    const double predelayFactor = 6.0 * std::abs ((double) load (r.predelay) - (double) tNow) + 1.0;
                    callback->setPredelayTime (draggedTime (r.predelay, r.delayTime, dT, predelayFactor), j);
                    movePan();
                    changed = true;
                }
                if (entry.moveDelayPoint)
                {
                    callback->setDelayTime (draggedTime (r.delayTime, r.predelay, dT, radiusFactor), j);
                    movePan();
                    changed = true;
                }
                break;

            case Feedback:
                // Both gains move by the delay dot's radius factor.
                if (entry.moveDelayPoint)
                {
                    callback->setFeedback (clamped ((double) load (r.feedback) + gainPerPixel * dy / radiusFactor, 0.0f, maximumFeedback), j);
                    changed = true;
                }
                if (entry.movePredelayPoint)
                {
                    callback->setPredelayGain (clamped ((double) load (r.predelayGain) + gainPerPixel * dy / radiusFactor, 0.0f, maximumGain), j);
                    changed = true;
                }
                break;

            default:
                break;
        }
    }
    return changed;
}

void DelaysView::mouseUp (const juce::MouseEvent&)
{
    if (dragState == NewLine)
        finishNewLine();
    else if (editMode == Trashcan)
        deleteSelection();
    else if (dragState == BandSelect)
        catchBand();

    if (dragState != BandHeld)
    {
        dragState = Idle;
        selection.clear();
    }
    repaint();

    if (callback != nullptr)
        callback->endEditGesture();
}

void DelaysView::finishNewLine()
{
    newLineImage.setAlpha (0.5f);

    // Measured from the last pressed or dragged position; below the origin
    // only the horizontal distance counts.
    const FanGeometry fan = geometry();
    const float dx = mouseX - fan.origin.x;
    const float dy = mouseY < FanGeometry::originY ? 0.0f : mouseY - FanGeometry::originY;
    const auto t = (float) ((double) (std::sqrt (dx * dx + dy * dy) - FanGeometry::innerRadius) / (double) fan.pixelsPerSecond);
    if (! (t > 0.0f))
        return; // released inside the centre circle

    makeLine (newLineIndex, (float) ((double) std::atan2 (dx, dy) / (pi / 2.0)), t);
}

void DelaysView::makeLine (int line, float pan, float totalTime)
{
    // The delay dot lands at the total time, the pre-delay dot halfway.
    const float half = std::min (maximumTotalTime, totalTime) * 0.5f;
    callback->setPan (pan, line);
    callback->setPredelayTime (half, line);
    callback->setDelayTime (half, line);
    callback->setFeedback (0.6f, line);
    callback->setHighcutGain (0.8f, line);
    callback->setDelayActive (1.0f, line);
    callback->setPredelayGain (0.8f, line);
    checkAllLinesBusy();
}

void DelaysView::deleteSelection()
{
    if (selection.isEmpty())
        return;

    newLineImage.setVisible (true);
    for (const auto& entry : selection)
        callback->setDelayActive (0.0f, entry.lineIndex);
}

void DelaysView::catchBand()
{
    selection.clear();
    dragState = BandHeld;

    const float left = std::min (bandX1, bandX2), bottom = std::min (bandY1, bandY2);
    const float w = std::abs (bandX2 - bandX1), h = std::abs (bandY2 - bandY1);
    auto inside = [&] (juce::Point<float> p) { return left <= p.x && p.x < left + w && bottom <= p.y && p.y < bottom + h; };

    const FanGeometry fan = geometry();
    for (int j = 0; j < numLines; ++j)
    {
        if (! (load (viewdata[j].active) > 0.5f))
            continue;

        const FanGeometry::Line l = fan.line (viewdata[j]);
        const bool delayIn = inside (l.delayPoint), predelayIn = inside (l.predelayPoint);
        if (delayIn || predelayIn)
            selection.add ({ j, delayIn, predelayIn });
    }
}

//==============================================================================
int DelaysView::runningLineBeside (int line, int direction) const
{
    // Pan order, ties by index; direction 0: the line itself if it runs,
    // else the leftmost.
    const bool current = line >= 0 && line < numLines && isBusy (viewdata[line]);
    const float pan = current ? load (viewdata[line].pan) : 0.0f;
    auto before = [this] (int a, float panA, int b) { const float panB = load (viewdata[b].pan); return panA < panB || (panA == panB && a < b); };

    if (direction == 0 && current)
        return line;

    int best = -1;
    for (int j = 0; j < numLines; ++j)
    {
        if (j == line || ! isBusy (viewdata[j]))
            continue;
        const float p = load (viewdata[j].pan);
        const bool beyond = ! current || direction == 0 || (direction > 0 ? before (line, pan, j) : ! before (line, pan, j));
        if (! beyond)
            continue;
        const bool better = best < 0 || (direction < 0 ? before (best, load (viewdata[best].pan), j) : before (j, p, best));
        if (better)
            best = j;
    }
    return best >= 0 ? best : current ? line : -1;
}

void DelaysView::chooseKeyboardLine (int line)
{
    keyboardLine = line;
    setDescription (line >= 0 && callback != nullptr ? callback->describeLine (line) : juce::String ("No line runs: Insert makes one"));
    repaint();
}

void DelaysView::focusGained (FocusChangeType)
{
    if (viewdata != nullptr)
        chooseKeyboardLine (runningLineBeside (keyboardLine, 0));
}

void DelaysView::stepKeyboardLine (float step)
{
    const NadrixViewdata& v = viewdata[keyboardLine];
    if (editMode == DelayTime)
        callback->setDelayTime (clamped ((double) load (v.delayTime) + step, minimumTime, std::max (minimumTime, maximumTotalTime - load (v.predelay))), keyboardLine);
    else if (editMode == Feedback)
        callback->setFeedback (clamped ((double) load (v.feedback) + step, 0.0f, maximumFeedback), keyboardLine);
    else if (editMode == Highcut)
        callback->setHighcutGain (clamped ((double) load (v.hcGain) + step, 0.0f, 1.0f), keyboardLine);
}

bool DelaysView::keyPressed (const juce::KeyPress& key)
{
    if (viewdata == nullptr || callback == nullptr)
        return false;

    const int code = key.getKeyCode();
    const bool next = code == juce::KeyPress::rightKey || code == juce::KeyPress::pageDownKey;
    const bool previous = code == juce::KeyPress::leftKey || code == juce::KeyPress::pageUpKey;
    const bool up = code == juce::KeyPress::upKey, down = code == juce::KeyPress::downKey;
    const bool remove = code == juce::KeyPress::deleteKey || code == juce::KeyPress::backspaceKey;
    const bool insert = code == juce::KeyPress::insertKey || key.getTextCharacter() == '+';

    if (next || previous)
    {
        chooseKeyboardLine (runningLineBeside (keyboardLine, next ? 1 : -1));
        return true;
    }
    if (! (up || down || remove || insert))
        return false;

    const int line = runningLineBeside (keyboardLine, 0);
    callback->beginEditGesture();
    if (insert)
    {
        if (startNewLine())
        {
            dragState = Idle;
            newLineImage.setAlpha (0.5f);
            makeLine (newLineIndex, 0.0f, 0.2f); // straight ahead, 0.2 s out
            keyboardLine = newLineIndex;
        }
    }
    else if (line >= 0 && remove)
    {
        keyboardLine = line;
        const int after = runningLineBeside (line, 1);
        callback->setDelayActive (0.0f, line);
        newLineImage.setVisible (true);
        keyboardLine = after == line ? -1 : after;
    }
    else if (line >= 0)
    {
        keyboardLine = line;
        const float step = key.getModifiers().isShiftDown() ? 0.1f : 0.01f;
        stepKeyboardLine (up ? step : -step);
    }
    callback->endEditGesture();
    chooseKeyboardLine (keyboardLine);
    return true;
}
