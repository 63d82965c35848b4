// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/delays/DelaysViewCallback.h"
#include "ui/delays/EditMode.h"
#include "ui/delays/FanEditing.h"
#include "ui/delays/FanGeometry.h"
#include "ui/delays/NadrixDelayMoveData.h"
#include "engine/NadrixViewdata.h"
#include "engine/ParameterLayout.h"
#include "ui/delays/ScaleView.h"
#include "ui/controls/ScaledImageComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace nadrix
{
// The fan of delay lines. Each running line is a ray from the centre circle:
// its direction is the pan, its two dots sit at the pre-delay and at
// pre-delay plus delay time, their sizes are the pre-delay gain and the
// feedback, their colour the high-cut share. The view reads the engine's
// view records at every paint and never writes them: every edit leaves
// through DelaysViewCallback, and shows once the record follows. Its
// tooltip describes the line under the pointer, found as a press finds it.
//
// From the keyboard: Left and Right (or Page Up and Page Down) choose a
// running line in pan order, Up and Down step its value of the edit mode
// (delay time, feedback, high cut; Shift for large steps), Delete switches
// it off, Insert or + makes a new line straight ahead. Each key is one edit
// gesture.
class DelaysView final : public juce::Component, public juce::TooltipClient
{
public:
    DelaysView() = default;

    enum DragState { Idle, PointPress, NewLine, BandSelect, BandHeld };

    // The lines are read from `lines` each time they are drawn or handled.
    void setup (int x, int y, int width, int height, float zoom, const LineViews* lines, DelaysViewCallback* callback);
    void setZoom (float z);
    void setEditMode (EditMode mode);
    void checkAllLinesBusy();

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void focusGained (FocusChangeType) override;
    void focusLost (FocusChangeType) override { repaint(); }
    juce::String getTooltip() override;
    // The line a press at this point would take, as the tooltip describes it ("" for none).
    juce::String describeAt (juce::Point<float> p) const;

    // For tests and the editor: what the view is doing.
    int getDragState() const noexcept { return dragState; }
    EditMode getEditMode() const noexcept { return editMode; }
    float getZoom() const noexcept { return zoom; }
    const juce::Array<NadrixDelayMoveData>& getSelection() const noexcept { return selection; }
    const juce::Component& getNewLineImage() const noexcept { return newLineImage; }
    int getKeyboardLine() const noexcept { return keyboardLine; }

private:
    FanGeometry geometry() const;

    void paintNewLineGuide (juce::Graphics& g, const FanGeometry& fan) const;
    void paintLine (juce::Graphics& g, const FanGeometry& fan, int line) const;
    void outlineSelected (juce::Graphics& g, int line, bool delayPoint, juce::Point<float> centre, float radius) const;

    void press (juce::Point<float> p);
    bool startNewLine();
    bool findDotAt (juce::Point<float> p, NadrixDelayMoveData& hit) const;
    bool selectionHasLine (int line) const;
    void finishNewLine();
    void deleteSelection();
    void catchBand();
    void makeLine (int line, FanEditing::Placement placement);
    void chooseKeyboardLine (int line);
    // The lines as they are now, into `viewdata`.
    void readLines() const;

    ScaledImageComponent newLineImage;
    ScaleView scaleView;
    bool backgroundDirty = false;
    juce::Image background;
    DelaysViewCallback* callback = nullptr;
    const LineViews* lines = nullptr;
    mutable NadrixViewdata viewdata[ParameterLayout::numLines]; // as read last (readLines)
    float zoom = 1.0f;
    int dragState = Idle;
    EditMode editMode = EditMode::DelayTime;
    int newLineIndex = 0;
    int keyboardLine = -1;
    juce::Array<NadrixDelayMoveData> selection;
    float mouseX = 0.0f, mouseY = 0.0f;
    float previousMouseX = 0.0f, previousMouseY = 0.0f;
    float bandX1 = 0.0f, bandY1 = 0.0f, bandX2 = 0.0f, bandY2 = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DelaysView)
};
} // namespace nadrix
