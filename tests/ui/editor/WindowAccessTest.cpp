// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tells a user who reads rather than drags: tooltips in the
// reverb's units that follow the host, a keyboard order over every control,
// and names, roles and values for screen readers.
#include "tests/ui/editor/EditorTestKit.h"
#include "ui/delays/FanGeometry.h"
#include "ui/standalone/ProgramsMenu.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

namespace nadrix
{
namespace
{
    // What a screen reader would get once the window is on screen (a headless
    // component has no peer, so JUCE would give none here).
    std::unique_ptr<juce::AccessibilityHandler> accessibilityOf (EComponent& c) { return c.makeAccessibilityHandler(); }
}

TEST (WindowAccess, TooltipsShowCurrentValuesInTheReverbsUnits)
{
    EditorSession s;
    auto in = s.inspect();
    s.hostWrites (0, 0.62f);
    s.hostWrites (1, 0.35653549f);
    s.hostWrites (3, 0.75f);
    const int line = 12, delayTime = ParameterLayout::indexOf (line, ParameterLayout::delayTime);
    s.hostWrites (delayTime, 0.25f);
    s.hostWrites (ParameterLayout::indexOf (line, ParameterLayout::active), 1.0f);
    s.editor->timerCallback();

    EXPECT_EQ (in.mix().getTooltip(), "Mix: 62.0 % wet");
    EXPECT_EQ (in.zoom().getTooltip(), "UI Zoom: " + ParameterText::format (6, s.processor.getParameterValue (6)));
    EXPECT_EQ (in.complexity().getTooltip(), "Complexity: 30 %");
    EXPECT_TRUE (in.eq().describe (EEQ::low).startsWith ("Low band: below 1174.2 Hz, +3.5 dB")) << in.eq().describe (EEQ::low);
    EXPECT_TRUE (in.eq().describe (EEQ::middle).startsWith ("Middle band: 1174.2 Hz to ")) << in.eq().describe (EEQ::middle);
    EXPECT_TRUE (in.eq().describe (EEQ::high).startsWith ("High band: above ")) << in.eq().describe (EEQ::high);

    juce::StringArray modes;
    for (auto* child : in.modeChooser().getChildren())
        modes.add (dynamic_cast<EValueControl&> (*child).getTooltip().upToFirstOccurrenceOf (":", false, false));
    modes.sort (false);
    EXPECT_EQ (modes.joinIntoString (", "), "Delay time, Delete, Feedback, High cut");

    // The line under the pointer, found as a press finds it, after the host moved it.
    const auto dot = FanGeometry (810.0f, 420.0f, in.view().getZoom()).line (s.processor.getLineView (line)).delayPoint;
    EXPECT_TRUE (in.view().describeAt (dot).startsWith ("Line 12: delay 250.0 ms, pre-delay ")) << in.view().describeAt (dot);
    EXPECT_EQ (in.view().describeAt ({ 805.0f, 2.0f }), "");
}

TEST (WindowAccess, TabReachesEveryControlAndScreenReadersHearNamesAndValues)
{
    EditorSession s;
    auto in = s.inspect();
    const auto traverser = s.editor->createKeyboardFocusTraverser();
    juce::StringArray order;
    for (auto* c : traverser->getAllComponents (s.editor.get()))
        order.add (c->getTitle());
    EXPECT_EQ (order.joinIntoString (", "), "Delay time, Delete, Feedback, High cut, Delay lines, UI Zoom, Three-band equaliser, Mix, Tail time, Room size, "
                                            "Predelay, Complexity, Render random reverb, Help, About");

    const auto mix = accessibilityOf (in.mix());
    EXPECT_EQ (mix->getRole(), juce::AccessibilityRole::slider);
    EXPECT_EQ (mix->getTitle(), "Mix");
    EXPECT_EQ (mix->getValueInterface()->getCurrentValueAsString(), ParameterText::format (0, s.processor.getParameterValue (0)));
    mix->getValueInterface()->setValue (0.5);
    EXPECT_EQ (s.processor.getParameterValue (0), 0.5f); // a screen reader's edit is the user's edit

    EXPECT_EQ (accessibilityOf (in.eq())->getValueInterface()->getCurrentValueAsString(), in.eq().describe (EEQ::low));
    EXPECT_EQ (accessibilityOf (in.helpButton())->getRole(), juce::AccessibilityRole::button);
    const auto deleteMode = accessibilityOf (*in.modeChooser().buttonFor (EditMode::Trashcan));
    EXPECT_EQ (deleteMode->getRole(), juce::AccessibilityRole::toggleButton);
    deleteMode->getActions().invoke (juce::AccessibilityActionType::press);
    EXPECT_EQ (in.view().getEditMode(), EditMode::Trashcan);
    EXPECT_TRUE (deleteMode->getCurrentState().isChecked());
}

TEST (ProgramsMenu, ListsTheProgramsTicksTheCurrentOneAndAppliesAChoice)
{
    NadrixAudioProcessor p;
    juce::StringArray items;
    const auto menu = ProgramsMenu::build (p);
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        items.add (it.getItem().text + (it.getItem().isTicked ? " *" : ""));
    EXPECT_EQ (items, (juce::StringArray { "Bright Ambience", "Nice Hall", "Robotizer", "Sheep Spring Reverb", "Small Drum Booth", "Small Complex Room *" }));

    EXPECT_TRUE (ProgramsMenu::apply (p, ProgramsMenu::firstItemId + 2));
    EXPECT_EQ (p.getCurrentProgram(), 2);
    EXPECT_FALSE (ProgramsMenu::apply (p, 0)); // the menu dismissed
    EXPECT_EQ (p.getCurrentProgram(), 2);
}
} // namespace nadrix
