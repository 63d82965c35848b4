// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/NadrixAudioProcessorEditor.h"

#include "ui/editor/EditorLayout.h"

#include "engine/ParameterLayout.h"
#include "processor/ParameterInfo.h"
#include "processor/ParameterText.h"
#include "ui/editor/ProductLinks.h"
#include "ui/editor/RandomRender.h"
#include "ui/editor/SeededDraws.h"
#include "ui/editor/WindowScale.h"

#include <charconv>

namespace nadrix
{
namespace
{
    constexpr const char* renderRandomTooltip = "Render random reverb: a new set of lines from the four randomizer settings";

    // A setting in the fewest digits that read back as the same float, so
    // that the render command in the tooltip makes exactly the same room.
    juce::String shortestText (float value)
    {
        char text[32];
        const auto end = std::to_chars (text, text + sizeof (text), value).ptr;
        return juce::String (text, (size_t) (end - text));
    }
} // namespace

NadrixAudioProcessorEditor::NadrixAudioProcessorEditor (NadrixAudioProcessor& p)
    : juce::AudioProcessorEditor (p),
      openDocument ([] (const juce::String& address) { return juce::Process::openDocument (address, {}); }),
      nextRandomSeed ([] { return (std::uint32_t) juce::Time::getHighResolutionTicks(); }),
      processor (p)
{
    // What the window shows, as the parameters held it when it opened: the
    // timer shows whatever changes after.
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        shown[i] = processor.getParameterValue (i);

    openGLContext.setPixelFormat (juce::OpenGLPixelFormat (8, 8, 8, 8));
    openGLContext.setMultisamplingEnabled (false);
    openGLContext.attachTo (*getTopLevelComponent());

    setSize (EditorLayout::width, EditorLayout::height);

    delaysView.setup (EditorLayout::delayLines.getX(), EditorLayout::delayLines.getY(), EditorLayout::delayLines.getWidth(),
                      EditorLayout::delayLines.getHeight(), ParameterInfo::lowestZoom, &processor.getLineViews(), this);
    addAndMakeVisible (delaysView);

    editModeChooser.setup (EditorLayout::editModes.x, EditorLayout::editModes.y, this);
    addAndMakeVisible (editModeChooser);

    setUpZoomSlider();
    setUpEqualiser();
    setUpMixKnob();
    setUpRandomizer();
    setUpButtons();
    setUpKeyboardAndNames();
    addChildComponent (readout);

    // Clicked, the window takes the keyboard, so that its own keys (undo,
    // redo) reach it also when no control has the focus.
    setWantsKeyboardFocus (true);

    // At the size the user chose; a host that sets a scale itself does so
    // later, and wins.
    if (const float scale = WindowScale::stored(); scale != 1.0f)
        setScaleFactor (scale);

    startTimerHz (25);
}

void NadrixAudioProcessorEditor::setUpZoomSlider()
{
    // The stored zoom is applied as if the user had set it, and so written back.
    zoomSlider.orientation = ESlider::Orientation::horizontal;
    zoomSlider.setParamId (ParameterInfo::uiZoom);
    controlsByParam[ParameterInfo::uiZoom] = &zoomSlider;
    zoomSlider.setCallback (this);
    zoomSlider.setValue (processor.getParameterValue (ParameterInfo::uiZoom));
    zoomSlider.setBounds (EditorLayout::zoom);
    zoomSlider.style = ESlider::Style::dotOnLine;
    applyZoom (processor.getParameterValue (ParameterInfo::uiZoom));
    addAndMakeVisible (zoomSlider);
}

void NadrixAudioProcessorEditor::setUpEqualiser()
{
    eq.lowSplitParamId = ParameterLayout::splitFreqLow;
    eq.midSplitParamId = ParameterLayout::splitFreqMid;
    eq.lowGainParamId = ParameterLayout::gainLow;
    eq.midGainParamId = ParameterLayout::gainMid;
    eq.highGainParamId = ParameterLayout::gainHigh;
    eq.lowSplit = processor.getParameterValue (ParameterLayout::splitFreqLow);
    eq.midSplit = processor.getParameterValue (ParameterLayout::splitFreqMid);
    // The control keeps its gains in the engine's units, 0..2.
    auto gain = [this] (int index) { return ParameterInfo::engineValue (index, processor.getParameterValue (index)); };
    eq.lowGain = gain (ParameterLayout::gainLow);
    eq.midGain = gain (ParameterLayout::gainMid);
    eq.highGain = gain (ParameterLayout::gainHigh);
    eq.setCallback (this);
    eq.setBounds (EditorLayout::equaliser);
    addAndMakeVisible (eq);
    for (int i = ParameterLayout::splitFreqLow; i <= ParameterLayout::gainHigh; ++i)
        controlsByParam[i] = &eq;
}

void NadrixAudioProcessorEditor::setUpMixKnob()
{
    mixKnob.setCallback (this);
    mixKnob.setParamId (ParameterLayout::mix);
    controlsByParam[ParameterLayout::mix] = &mixKnob;
    mixKnob.setValue (processor.getParameterValue (ParameterLayout::mix), true);
    mixKnob.setBounds (EditorLayout::mix);
    addAndMakeVisible (mixKnob);
}

void NadrixAudioProcessorEditor::setUpRandomizer()
{
    // The randomizer's settings are not parameters: every window starts from these.
    struct RandomSetting
    {
        ESlider& slider;
        juce::Rectangle<int> place;
        float start;
    };
    for (const auto& setting : { RandomSetting { complexitySlider, EditorLayout::complexity, 0.3f }, RandomSetting { predelaySlider, EditorLayout::predelay, 0.1f },
                                 RandomSetting { roomSizeSlider, EditorLayout::roomSize, 0.5f }, RandomSetting { tailTimeSlider, EditorLayout::tailTime, 0.2f } })
    {
        setting.slider.setBounds (setting.place);
        setting.slider.style = ESlider::Style::framedBar;
        setting.slider.orientation = ESlider::Orientation::horizontal;
        setting.slider.setValue (setting.start);
        addAndMakeVisible (setting.slider);
    }
}

void NadrixAudioProcessorEditor::setUpButtons()
{
    struct ImageButton
    {
        EPushButton& button;
        ScaledImage up, down;
        juce::Point<int> place;
    };
    for (const auto& b : { ImageButton { renderRandomButton, ScaledImage::named ("render_random_btn"),
                                         ScaledImage::named ("render_random_down_btn"), EditorLayout::renderRandom },
                           ImageButton { aboutButton, ScaledImage::named ("about_btn"),
                                         ScaledImage::named ("about_down_btn"), EditorLayout::about },
                           ImageButton { helpButton, ScaledImage::named ("help_btn"),
                                         ScaledImage::named ("help_down_btn"), EditorLayout::help } })
    {
        b.button.setImages (b.up, b.down);
        b.button.setTopLeftPosition (b.place);
        b.button.setCallback (this);
        addAndMakeVisible (b.button);
    }
}

void NadrixAudioProcessorEditor::setUpKeyboardAndNames()
{
    // Tab goes from the mode buttons down the window, left to right.
    setFocusContainerType (FocusContainerType::keyboardFocusContainer);
    const std::pair<juce::Component*, const char*> order[] = {
        { &editModeChooser, "Edit mode" },    { &delaysView, nullptr },     { &zoomSlider, "UI Zoom" },   { &eq, "Three-band equaliser" },
        { &mixKnob, "Mix" },                  { &tailTimeSlider, "Tail time" },
        { &roomSizeSlider, "Room size" },     { &predelaySlider, "Predelay" },
        { &complexitySlider, "Complexity" },  { &renderRandomButton, "Render random reverb" },
        { &helpButton, "Help" },              { &aboutButton, "About" },
    };
    int position = 1;
    for (const auto& [control, title] : order)
    {
        control->setExplicitFocusOrder (position++);
        if (title != nullptr)
            control->setTitle (title);
    }

    delaysView.setTitle ("Delay lines");
    delaysView.setDescription ("The fan of delay lines: one ray per running line, edited with the mouse, or with the keyboard "
                               "(Left and Right choose a line, Up and Down step it, Delete switches it off, Insert makes one)");
    renderRandomButton.setTooltip (renderRandomTooltip);
    helpButton.setTooltip ("Help: the manual, in your browser");
    aboutButton.setTooltip ("About: the Nadrix page, in your browser");
}

juce::String NadrixAudioProcessorEditor::parameterName (int paramId)
{
    return juce::String (ParameterInfo::name (paramId));
}

juce::String NadrixAudioProcessorEditor::valueText (int paramId, float value)
{
    return ParameterText::format (paramId, value);
}

juce::String NadrixAudioProcessorEditor::describeLine (int line)
{
    // The record holds the values as realised, in the engine's units; they
    // read as the line's parameters do.
    using namespace ParameterLayout;
    const auto v = processor.getLineView (line);
    auto text = [line] (int kind, float value) { return ParameterText::format (indexOf (line, kind), value); };
    return "Line " + juce::String (line) + ": delay " + text (delayTime, v.delayTime) + ", pre-delay " + text (predelay, v.predelay)
         + ", feedback " + text (feedback, v.feedback) + ", pan " + text (pan, ParameterInfo::normalisedFromEngine (indexOf (line, pan), v.pan)) + ", high cut "
         + text (hcGain, v.hcGain) + ", pre-delay gain " + text (predelayGain, v.predelayGain);
}

NadrixAudioProcessorEditor::~NadrixAudioProcessorEditor()
{
    stopTimer();
    openGLContext.detach();
}

void NadrixAudioProcessorEditor::paint (juce::Graphics& g)
{
    background.drawAt (g, 0, 0);
}

void NadrixAudioProcessorEditor::resized() {}

//==============================================================================
void NadrixAudioProcessorEditor::writeLineParameter (int line, int kind, float value)
{
    gestures.write (ParameterLayout::indexOf (line, kind), value);
    showLineReadout (line);
}

void NadrixAudioProcessorEditor::showLineReadout (int line)
{
    // Over the fan's top edge, whichever dot moves: the pointer stays on the dot.
    readout.show (describeLine (line), EditorLayout::lineReadout);
    if (! gestures.isOpen())
        readout.hideSoon();
}

void NadrixAudioProcessorEditor::showReadout (EComponent* source, int paramId)
{
    // The tooltip's text; the equaliser's is of the band the value belongs to.
    juce::String text;
    if (source == &eq)
        text = eq.describe (paramId == ParameterLayout::gainLow ? EEQ::low : paramId == ParameterLayout::gainHigh ? EEQ::high : EEQ::middle);
    else if (auto* client = dynamic_cast<juce::TooltipClient*> (source))
        text = client->getTooltip();
    readout.show (text, source->getBoundsInParent());
    if (! gestures.isOpen()) // a wheel step: a gesture of its own, already over
        readout.hideSoon();
}

void NadrixAudioProcessorEditor::setPan (float v, int line)
{
    writeLineParameter (line, ParameterLayout::pan, ParameterInfo::normalisedFromEngine (ParameterLayout::indexOf (line, ParameterLayout::pan), v));
}

void NadrixAudioProcessorEditor::setPredelayTime (float v, int line) { writeLineParameter (line, ParameterLayout::predelay, v); }
void NadrixAudioProcessorEditor::setDelayTime (float v, int line) { writeLineParameter (line, ParameterLayout::delayTime, v); }
void NadrixAudioProcessorEditor::setFeedback (float v, int line) { writeLineParameter (line, ParameterLayout::feedback, v); }
void NadrixAudioProcessorEditor::setHighcutGain (float v, int line) { writeLineParameter (line, ParameterLayout::hcGain, v); }
void NadrixAudioProcessorEditor::setDelayActive (float v, int line) { writeLineParameter (line, ParameterLayout::active, v); }
void NadrixAudioProcessorEditor::setPredelayGain (float v, int line) { writeLineParameter (line, ParameterLayout::predelayGain, v); }

void NadrixAudioProcessorEditor::beginEditGesture() { gestures.begin(); }
void NadrixAudioProcessorEditor::ui_beginGesture (EComponent*, int) { gestures.begin(); }

void NadrixAudioProcessorEditor::endEditGesture()
{
    gestures.end();
    readout.hideSoon();
}

void NadrixAudioProcessorEditor::ui_endGesture (EComponent*, int)
{
    gestures.end();
    readout.hideSoon();
}

void NadrixAudioProcessorEditor::editModeChanged (EditMode mode)
{
    delaysView.setEditMode (mode);
}

void NadrixAudioProcessorEditor::valueChanged (EComponent* source, int paramId, float v)
{
    if (source == &zoomSlider)
    {
        delaysView.setZoom (ParameterInfo::shownValue (ParameterInfo::uiZoom, v));
        gestures.write (ParameterInfo::uiZoom, v);
    }
    else if (source == &mixKnob)
    {
        gestures.write (ParameterLayout::mix, v);
    }
    else if (source == &eq)
    {
        gestures.write (paramId, v);
    }
    showReadout (source, paramId);
}

void NadrixAudioProcessorEditor::applyZoom (float v)
{
    // Not the user's edit: the stored or automated zoom, shown and written
    // back as it is, outside any gesture.
    delaysView.setZoom (ParameterInfo::shownValue (ParameterInfo::uiZoom, v));
    processor.setParameterFromUI (ParameterInfo::uiZoom, v, true);
}

void NadrixAudioProcessorEditor::buttonClicked (EComponent* source)
{
    // Whether the address could be opened changes nothing here.
    if (source == &renderRandomButton)
        renderRandom();
    else if (source == &aboutButton)
        openDocument (ProductLinks::productPage);
    else if (source == &helpButton)
        openDocument (ProductLinks::manual);
}

void NadrixAudioProcessorEditor::timerCallback()
{
    // What the parameters hold now against what the window shows: the
    // globals go into their controls, and the fan is redrawn once however
    // many of the lines' values changed (it reads the lines as it draws).
    bool linesChanged = false;
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
    {
        const float value = processor.getParameterValue (i);
        if (value == shown[i])
            continue;
        shown[i] = value;

        if (i == ParameterInfo::uiZoom)
        {
            controlsByParam[ParameterInfo::uiZoom]->setValueForParamId (ParameterInfo::uiZoom, value);
            applyZoom (value);
        }
        else if (i < ParameterInfo::uiZoom)
        {
            controlsByParam[i]->setValueForParamId (i, value);
        }
        else
        {
            linesChanged = true;
        }
    }

    if (linesChanged)
        repaintFan();
}

bool NadrixAudioProcessorEditor::keyPressed (const juce::KeyPress& key)
{
    const auto mods = key.getModifiers();
    if (! mods.isCommandDown() || mods.isAltDown())
        return false;

    const int code = juce::CharacterFunctions::toLowerCase ((juce::juce_wchar) key.getKeyCode());
    if (code == 'z' && ! mods.isShiftDown())
        undo();
    else if ((code == 'z' && mods.isShiftDown()) || (code == 'y' && ! mods.isShiftDown()))
        redo();
    else
        return false;
    return true; // taken, also when there was nothing to undo, so no host acts on it
}

void NadrixAudioProcessorEditor::mouseDown (const juce::MouseEvent& e)
{
    if (! e.mods.isPopupMenu())
        return;

    auto& history = processor.getEditHistory();
    juce::PopupMenu menu;
    menu.addItem ("Undo", history.canUndo(), false, [this] { undo(); });
    menu.addItem ("Redo", history.canRedo(), false, [this] { redo(); });
    menu.addSubMenu ("Window size", windowSizeMenu());
    menu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this).withMousePosition());
}

juce::PopupMenu NadrixAudioProcessorEditor::windowSizeMenu()
{
    juce::PopupMenu sizes;
    const float current = std::sqrt (std::abs (getTransform().getDeterminant())); // a scale, never a rotation
    for (const float scale : WindowScale::choices)
        sizes.addItem (juce::String (juce::roundToInt (scale * 100.0f)) + " %", true, current == scale,
                       [safe = juce::Component::SafePointer<NadrixAudioProcessorEditor> (this), scale] {
                           if (safe != nullptr) // the window may have closed while the menu was open
                               safe->setWindowScale (scale);
                       });
    return sizes;
}

void NadrixAudioProcessorEditor::setWindowScale (float scale)
{
    setScaleFactor (scale);
    WindowScale::store (scale);
}

bool NadrixAudioProcessorEditor::undo()
{
    const bool undone = gestures.undo ([this] (int index, float value) { showWrittenValue (index, value); });
    if (undone)
        repaintFan();
    return undone;
}

bool NadrixAudioProcessorEditor::redo()
{
    const bool redone = gestures.redo ([this] (int index, float value) { showWrittenValue (index, value); });
    if (redone)
        repaintFan();
    return redone;
}

void NadrixAudioProcessorEditor::showWrittenValue (int index, float value)
{
    // The fan reads the engine's records and is redrawn once afterwards;
    // the global controls are shown their values here.
    if (index == ParameterInfo::uiZoom)
    {
        zoomSlider.setValueForParamId (index, value);
        delaysView.setZoom (ParameterInfo::shownValue (ParameterInfo::uiZoom, value));
    }
    else if (index < ParameterInfo::uiZoom && controlsByParam[index] != nullptr)
    {
        controlsByParam[index]->setValueForParamId (index, value);
    }
}

void NadrixAudioProcessorEditor::repaintFan()
{
    ++fanRepaintRequests;
    delaysView.repaint();
}

void NadrixAudioProcessorEditor::renderRandom()
{
    RandomRenderSettings settings;
    settings.complexity = complexitySlider.getValue();
    settings.roomSize = roomSizeSlider.getValue();
    settings.predelay = predelaySlider.getValue();
    settings.tailTime = tailTimeSlider.getValue();

    const std::uint32_t seed = nextRandomSeed();
    SeededDraws draws (seed);

    // One click: one gesture for each parameter it writes.
    gestures.begin();
    renderRandomReverb (settings, [this] (int index, float value) { gestures.write (index, value); }, std::ref (draws));
    gestures.end();
    repaintFan();

    renderRandomButton.setTooltip (juce::String (renderRandomTooltip) + ". The last room: seed " + juce::String (seed)
                                   + " (nadrix-render --random " + juce::String (seed) + " --random-settings "
                                   + shortestText (settings.tailTime) + "," + shortestText (settings.roomSize) + ","
                                   + shortestText (settings.predelay) + "," + shortestText (settings.complexity) + " makes it again)");
}

// The processor makes its window here, so that the processor's own sources
// never include the window's: the dependency runs from the window to the
// processor only.
juce::AudioProcessorEditor* NadrixAudioProcessor::createEditor()
{
    return new NadrixAudioProcessorEditor (*this);
}
} // namespace nadrix
