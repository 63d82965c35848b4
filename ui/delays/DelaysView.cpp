// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/delays/DelaysView.h"

#include "ui/controls/FloatColour.h"
#include "ui/delays/FanEditing.h"

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr int numLines = ParameterLayout::numLines;

    const juce::Colour guideColour = floatColour (248.0f / 255.0f, 243.0f / 255.0f, 244.0f / 255.0f, 0.7f);
    const juce::Colour outlineColour = floatColour (248.0f / 255.0f, 243.0f / 255.0f, 244.0f / 255.0f, 0.8f);
    const juce::Colour bandColour = floatColour (1.0f, 1.0f, 1.0f, 0.5f);
    const juce::PathStrokeType hairline (1.0f);

    juce::Colour discColour (float h) { return floatColour (1.0f, 1.0f, h, 0.6f); }
    juce::Colour rayColour (float h, float alpha) { return floatColour ((float) (0.5 + 0.5 * (double) h), 0.8f, 0.9f, alpha); }


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

}

//==============================================================================
void DelaysView::setup (int x, int y, int width, int height, float z, const LineViews* views, DelaysViewCallback* cb)
{
    callback = cb;

    // y grows upwards: the fan stands on the bottom edge.
    setBounds (0, 0, width, height);
    setTransform (juce::AffineTransform::verticalFlip ((float) getHeight()));
    setBounds (x, y, width, height);

    lines = views;
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

void DelaysView::setEditMode (EditMode mode)
{
    const EditMode previous = editMode;
    editMode = mode;
    if (mode == previous)
        return;

    if (mode == EditMode::Trashcan)
    {
        selection.clear();
        dragState = Idle;
    }
    repaint();
}

void DelaysView::checkAllLinesBusy()
{
    readLines();
    newLineImage.setVisible (lines != nullptr && FanEditing::firstFreeLine (viewdata) >= 0);
}

void DelaysView::readLines() const
{
    if (lines != nullptr)
        for (int j = 0; j < ParameterLayout::numLines; ++j)
            viewdata[j] = lines->lineView (j);
}

FanGeometry DelaysView::geometry() const
{
    return FanGeometry ((float) getWidth(), (float) getHeight(), zoom);
}

void DelaysView::resized() {}

//==============================================================================
void DelaysView::paint (juce::Graphics& g)
{
    readLines();
    if (backgroundDirty)
    {
        background.clear (background.getBounds(), juce::Colour (0x00000000));
        juce::Graphics rings (background);
        scaleView.paint (rings);
        backgroundDirty = false;
    }
    g.drawImageAt (background, 0, (int) FanGeometry::originY);

    if (lines == nullptr)
        return;

    const FanGeometry fan = geometry();

    if (dragState == NewLine)
        paintNewLineGuide (g, fan);

    for (int j = 0; j < numLines; ++j)
        if (FanEditing::isRunning (viewdata[j]))
            paintLine (g, fan, j);

    // The keyboard's line: both dots ringed black and white, seen on any dot.
    if (keyboardLine >= 0 && hasKeyboardFocus (false) && FanEditing::isRunning (viewdata[keyboardLine]))
    {
        const FanGeometry::Line l = fan.line (viewdata[keyboardLine]);
        for (const auto& [centre, radius] : { std::pair (l.predelayPoint, FanGeometry::dotRadius (viewdata[keyboardLine].predelayGain)),
                                              std::pair (l.delayPoint, FanGeometry::dotRadius (viewdata[keyboardLine].feedback)) })
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
    const float h = record.hcGain;
    const bool predelayVisible = l.predelayRadius <= fan.visibleRadius;
    const bool delayVisible = l.delayRadius <= fan.visibleRadius;

    if (predelayVisible)
    {
        const float radius = FanGeometry::dotRadius (record.predelayGain);
        g.setColour (discColour (h));
        g.fillPath (circle (l.predelayPoint, radius));
        if (editMode == EditMode::Highcut || editMode == EditMode::DelayTime || editMode == EditMode::Feedback)
            outlineSelected (g, j, false, l.predelayPoint, radius);
    }

    if (delayVisible)
    {
        const float radius = FanGeometry::dotRadius (record.feedback);
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
    readLines();
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
    const int free = FanEditing::firstFreeLine (viewdata);
    if (free < 0)
        return false; // every line runs already

    newLineIndex = free;
    dragState = NewLine;
    newLineImage.setAlpha (1.0f);
    return true;
}

juce::String DelaysView::getTooltip()
{
    return describeAt (getMouseXYRelative().toFloat());
}

juce::String DelaysView::describeAt (juce::Point<float> p) const
{
    readLines();
    NadrixDelayMoveData hit;
    if (lines == nullptr || callback == nullptr || ! findDotAt (p, hit))
        return {};
    return callback->describeLine (hit.lineIndex);
}

bool DelaysView::findDotAt (juce::Point<float> p, NadrixDelayMoveData& hit) const
{
    const auto found = FanEditing::dotAt (geometry(), viewdata, p);
    if (found.has_value())
        hit = *found;
    return found.has_value();
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
    readLines();
    const auto p = e.getPosition().toFloat();

    if (editMode == EditMode::Trashcan && dragState != NewLine)
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

    if (! selection.isEmpty() && FanEditing::drag (geometry(), viewdata, selection, editMode, { previousMouseX, previousMouseY }, { mouseX, mouseY }, *callback))
        repaint();
}

void DelaysView::mouseUp (const juce::MouseEvent&)
{
    readLines();
    if (dragState == NewLine)
        finishNewLine();
    else if (editMode == EditMode::Trashcan)
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

    // Measured from the last pressed or dragged position.
    if (const auto placement = FanEditing::placementAt (geometry(), { mouseX, mouseY }))
        makeLine (newLineIndex, *placement);
}

void DelaysView::makeLine (int line, FanEditing::Placement placement)
{
    FanEditing::makeLine (line, placement, *callback);
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
    dragState = BandHeld;
    selection = FanEditing::dotsInBand (geometry(), viewdata, { bandX1, bandY1 }, { bandX2, bandY2 });
}

//==============================================================================
void DelaysView::chooseKeyboardLine (int line)
{
    keyboardLine = line;
    setDescription (line >= 0 && callback != nullptr ? callback->describeLine (line) : juce::String ("No line runs: Insert makes one"));
    repaint();
}

void DelaysView::focusGained (FocusChangeType)
{
    readLines();
    if (lines != nullptr)
        chooseKeyboardLine (FanEditing::runningLineBeside (viewdata, keyboardLine, 0));
}

bool DelaysView::keyPressed (const juce::KeyPress& key)
{
    readLines();
    if (lines == nullptr || callback == nullptr)
        return false;

    const int code = key.getKeyCode();
    const bool next = code == juce::KeyPress::rightKey || code == juce::KeyPress::pageDownKey;
    const bool previous = code == juce::KeyPress::leftKey || code == juce::KeyPress::pageUpKey;
    const bool up = code == juce::KeyPress::upKey, down = code == juce::KeyPress::downKey;
    const bool remove = code == juce::KeyPress::deleteKey || code == juce::KeyPress::backspaceKey;
    const bool insert = code == juce::KeyPress::insertKey || key.getTextCharacter() == '+';

    if (next || previous)
    {
        chooseKeyboardLine (FanEditing::runningLineBeside (viewdata, keyboardLine, next ? 1 : -1));
        return true;
    }
    if (! (up || down || remove || insert))
        return false;

    const int line = FanEditing::runningLineBeside (viewdata, keyboardLine, 0);
    callback->beginEditGesture();
    if (insert)
    {
        if (startNewLine())
        {
            dragState = Idle;
            newLineImage.setAlpha (0.5f);
            makeLine (newLineIndex, { 0.0f, 0.2f }); // straight ahead, 0.2 s out
            keyboardLine = newLineIndex;
        }
    }
    else if (line >= 0 && remove)
    {
        keyboardLine = line;
        const int after = FanEditing::runningLineBeside (viewdata, line, 1);
        callback->setDelayActive (0.0f, line);
        newLineImage.setVisible (true);
        keyboardLine = after == line ? -1 : after;
    }
    else if (line >= 0)
    {
        keyboardLine = line;
        const float step = key.getModifiers().isShiftDown() ? 0.1f : 0.01f;
        FanEditing::stepLine (viewdata, line, editMode, up ? step : -step, *callback);
    }
    callback->endEditGesture();
    chooseKeyboardLine (keyboardLine);
    return true;
}
} // namespace nadrix
