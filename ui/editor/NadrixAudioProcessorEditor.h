// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/delays/DelaysView.h"
#include "ui/delays/DelaysViewCallback.h"
#include "ui/controls/EEQ.h"
#include "ui/controls/EKnob.h"
#include "ui/controls/EPushButton.h"
#include "ui/controls/ESlider.h"
#include "ui/delays/EditModeChooserCallback.h"
#include "ui/delays/EditModeChooserView.h"
#include "ui/editor/HostGestures.h"
#include "processor/NadrixAudioProcessor.h"
#include "engine/ParameterLayout.h"
#include "ui/controls/ScaledImage.h"
#include "ui/controls/UICallback.h"
#include "ui/editor/ValueReadout.h"

#include <juce_opengl/juce_opengl.h>

#include <functional>

namespace nadrix
{
// The plug-in window, 850 x 596: the background picture, the fan of delay
// lines with its mode chooser and zoom, the equaliser, the mix knob, the
// randomizer and the about and help buttons. Every user edit goes to the
// processor at once with a host notification, inside the host's change
// gestures; 25 times a second the window compares what it shows with the
// parameters and shows what changed.
class NadrixAudioProcessorEditor final : public juce::AudioProcessorEditor,
                                         public DelaysViewCallback,
                                         public EditModeChooserCallback,
                                         public juce::Timer,
                                         public UICallback
{
public:
    explicit NadrixAudioProcessorEditor (NadrixAudioProcessor& processor);
    ~NadrixAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    void setPan (float value, int line) override;
    void setPredelayTime (float value, int line) override;
    void setDelayTime (float value, int line) override;
    void setFeedback (float value, int line) override;
    void setHighcutGain (float value, int line) override;
    void setDelayActive (float value, int line) override;
    void setPredelayGain (float value, int line) override;
    void beginEditGesture() override;
    void endEditGesture() override;

    void editModeChanged (EditMode mode) override;

    void valueChanged (EComponent* source, int paramId, float value) override;
    void buttonClicked (EComponent* source) override;
    void ui_beginGesture (EComponent* source, int paramId) override;
    void ui_endGesture (EComponent* source, int paramId) override;
    juce::String parameterName (int paramId) override;
    juce::String valueText (int paramId, float value) override;
    juce::String describeLine (int line) override;

    void timerCallback() override;
    bool keyPressed (const juce::KeyPress& key) override;
    void mouseDown (const juce::MouseEvent& e) override;

    void renderRandom();

    // The window's last edit taken back, or made again, as one host gesture
    // per parameter it writes (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y; the context
    // menu). False when there is nothing to undo or redo.
    bool undo();
    bool redo();

    // The window at 100, 150 or 200 % (WindowScale::choices), as the user
    // chooses it from the window's menu: kept for every window opened after.
    void setWindowScale (float scale);
    // The choices as a menu, the current one ticked: the window's own
    // right-click menu and the Standalone's Options menu both offer it.
    juce::PopupMenu windowSizeMenu();

    // Opens a web address; the system's document handler unless replaced.
    std::function<bool (const juce::String& address)> openDocument;
    // The seed of the next random reverb; the clock's unless replaced. The
    // render button's tooltip names the last one, so that
    // `nadrix-render --random SEED` makes the same room again.
    std::function<std::uint32_t()> nextRandomSeed;

private:
    void setUpZoomSlider();
    void setUpEqualiser();
    void setUpMixKnob();
    void setUpRandomizer();
    void setUpButtons();
    void setUpKeyboardAndNames();
    void writeLineParameter (int line, int kind, float value);
    void applyZoom (float value);
    void repaintFan();
    void showWrittenValue (int index, float value);
    void showReadout (EComponent* source, int paramId);
    void showLineReadout (int line);

    juce::OpenGLContext openGLContext;
    EditModeChooserView editModeChooser;
    DelaysView delaysView;
    ESlider zoomSlider;
    EEQ eq;
    EKnob mixKnob;
    ESlider complexitySlider;
    ESlider roomSizeSlider;
    ESlider tailTimeSlider;
    ESlider predelaySlider;
    EPushButton renderRandomButton;
    EPushButton aboutButton;
    EPushButton helpButton;
    EComponent* controlsByParam[7] = {};
    juce::TooltipWindow tooltips { this, 500 };
    ValueReadout readout;
    const ScaledImage background = ScaledImage::named ("bkg_au");
    NadrixAudioProcessor& processor;
    HostGestures gestures { processor, processor.getEditHistory() };
    float shown[ParameterLayout::numParameters] = {}; // each parameter as the window shows it
    int fanRepaintRequests = 0; // how often the fan was asked to redraw for changes

    friend struct EditorInspector; // lets the tests reach the children

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NadrixAudioProcessorEditor)
};
} // namespace nadrix
