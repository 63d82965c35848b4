// SPDX-License-Identifier: GPL-3.0-or-later
// Every interaction in the window that writes values reaches the host inside
// change gestures: one gesture per parameter it touches, every value change
// inside its gesture, every gesture closed.
#include "tests/ui/editor/EditorTestKit.h"
#include "ui/delays/FanGeometry.h"
#include "engine/ParameterLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace nadrix
{
namespace
{
    struct GestureLog : juce::AudioProcessorParameter::Listener
    {
        std::vector<std::pair<char, int>> events; // 'b'egin, 'v'alue, 'e'nd
        void parameterValueChanged (int index, float) override { events.push_back ({ 'v', index }); }
        void parameterGestureChanged (int index, bool starting) override { events.push_back ({ starting ? 'b' : 'e', index }); }
    };

    struct Outcome
    {
        int parameters = 0, gestures = 0;
        std::string fault; // empty when every change lies inside a gesture of its own parameter
    };

    Outcome summarise (const GestureLog& log)
    {
        Outcome o;
        std::set<int> open, touched;
        for (const auto& [what, index] : log.events)
        {
            const auto at = " at parameter " + std::to_string (index);
            if (what == 'b' && ! open.insert (index).second)
                o.fault = "a gesture begun twice" + at;
            if (what == 'e' && open.erase (index) == 0)
                o.fault = "a gesture ended that was not begun" + at;
            if (what == 'v' && open.count (index) == 0)
                o.fault = "a value changed outside a gesture" + at;
            o.gestures += what == 'b' ? 1 : 0;
            touched.insert (index);
        }
        if (! open.empty())
            o.fault = "a gesture left open";
        o.parameters = (int) touched.size();
        return o;
    }

    // A window over three known lines, everything else off, at the smallest zoom.
    struct Scene : EditorSession
    {
        GestureLog log;

        Scene()
        {
            for (int j = 0; j < 50; ++j)
                hostWrites (ParameterLayout::indexOf (j, ParameterLayout::active), j < 3 ? 1.0f : 0.0f);
            for (int j = 0; j < 3; ++j)
            {
                const float lineValues[] = { 0.25f + 0.25f * (float) j, 0.5f, 0.5f, 0.1f, 0.1f, 1.0f, 0.5f };
                for (int k = 0; k < 7; ++k)
                    hostWrites (ParameterLayout::indexOf (j, k), lineValues[k]);
            }
            hostWrites (6, 0.0f);
            editor->timerCallback();
            for (auto* p : processor.getParameters())
                p->addListener (&log);
        }
        ~Scene()
        {
            for (auto* p : processor.getParameters())
                p->removeListener (&log);
        }

        juce::Point<float> dot (int line, bool delayDot)
        {
            const auto l = FanGeometry (810.0f, 420.0f, inspect().view().getZoom()).line (processor.getLineView (line));
            return delayDot ? l.delayPoint : l.predelayPoint;
        }

        void drag (juce::Component& c, juce::Point<float> from, juce::Point<float> to)
        {
            c.mouseDown (mouseAt (c, from.x, from.y));
            for (int step = 1; step <= 4; ++step)
                c.mouseDrag (mouseAt (c, from.x + (to.x - from.x) * (float) step / 4.0f, from.y + (to.y - from.y) * (float) step / 4.0f));
            c.mouseUp (mouseAt (c, to.x, to.y));
        }
    };
}

TEST (HostGestures, EveryKindOfEditIsOneHostGesturePerParameterItTouches)
{
    struct Case
    {
        const char* name;
        std::function<void (Scene&)> act;
        int parameters, gestures;
    };

    const std::vector<Case> cases = {
        { "mix knob drag", [] (Scene& s) { s.drag (s.inspect().mix(), { 45, 60 }, { 45, 20 }); }, 1, 1 },
        { "zoom slider drag", [] (Scene& s) { s.drag (s.inspect().zoom(), { 10, 8 }, { 90, 8 }); }, 1, 1 },
        { "equaliser middle band drag", [] (Scene& s) { s.drag (s.inspect().eq(), { 162, 50 }, { 180, 30 }); }, 3, 3 },
        { "fan delay dot drag", [] (Scene& s) { s.drag (s.inspect().view(), s.dot (1, true), s.dot (1, true) + juce::Point<float> (30, 40)); }, 2, 2 },
        { "fan group drag", [] (Scene& s) {
              auto& v = s.inspect().view();
              s.drag (v, { 5, 400 }, { 805, 25 }); // a rubber band around every dot
              s.drag (v, s.dot (0, true), s.dot (0, true) + juce::Point<float> (0, 50));
          }, 9, 9 },
        { "new line pulled from the centre", [] (Scene& s) { s.drag (s.inspect().view(), { 405, 40 }, { 405, 200 }); }, 7, 7 },
        { "line deleted", [] (Scene& s) {
              s.editor->editModeChanged (EditMode::Trashcan);
              s.drag (s.inspect().view(), s.dot (2, true), s.dot (2, true));
          }, 1, 1 },
        { "knob double-click reset", [] (Scene& s) { s.inspect().mix().mouseDoubleClick (mouseAt (s.inspect().mix(), 45, 45, 2)); }, 1, 1 },
        { "two wheel steps", [] (Scene& s) {
              for (int i = 0; i < 2; ++i)
                  s.inspect().mix().mouseWheelMove (mouseAt (s.inspect().mix(), 45, 45), wheel (-0.1f));
          }, 1, 2 },
        { "random render", [] (Scene& s) { s.editor->buttonClicked (&s.inspect().renderButton()); }, 7 * 15 + 35, 7 * 15 + 35 },
        { "two arrow keys on the mix knob", [] (Scene& s) {
              auto& mix = static_cast<juce::Component&> (s.inspect().mix());
              const float before = s.processor.getParameterValue (0);
              mix.keyPressed (juce::KeyPress (juce::KeyPress::upKey));
              mix.keyPressed (juce::KeyPress (juce::KeyPress::downKey, juce::ModifierKeys::shiftModifier, 0));
              EXPECT_FLOAT_EQ (s.processor.getParameterValue (0), before + 0.01f - 0.1f);
          }, 1, 2 },
        { "a fan line stepped and deleted from the keyboard", [] (Scene& s) {
              auto& v = s.inspect().view();
              v.focusGained (juce::Component::focusChangedByTabKey);
              s.editor->editModeChanged (EditMode::Feedback);
              v.keyPressed (juce::KeyPress (juce::KeyPress::upKey));
              v.keyPressed (juce::KeyPress (juce::KeyPress::deleteKey));
          }, 2, 2 },
        { "equaliser: the high band's gain to its top", [] (Scene& s) {
              auto& eq = static_cast<juce::Component&> (s.inspect().eq());
              eq.keyPressed (juce::KeyPress (juce::KeyPress::rightKey));
              eq.keyPressed (juce::KeyPress (juce::KeyPress::rightKey));
              eq.keyPressed (juce::KeyPress (juce::KeyPress::endKey));
              EXPECT_EQ (s.processor.getParameterValue (5), 1.0f);
          }, 1, 1 },
    };

    for (const auto& c : cases)
    {
        Scene s;
        c.act (s);
        const auto o = summarise (s.log);
        EXPECT_EQ (o.fault, "") << c.name;
        EXPECT_EQ (o.parameters, c.parameters) << c.name;
        EXPECT_EQ (o.gestures, c.gestures) << c.name;
    }
}

TEST (HostGestures, EachEditUndoesAndRedoesInOneStepAsHostGesturesAroundHostAutomation)
{
    Scene s;
    auto values = [&s] {
        std::vector<float> v;
        for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
            v.push_back (s.processor.getParameterValue (i));
        return v;
    };
    auto press = [&s] (int key, juce::ModifierKeys mods) { return s.editor->keyPressed (juce::KeyPress (key, mods, 0)); };
    const auto command = juce::ModifierKeys::commandModifier;
    const auto shiftCommand = juce::ModifierKeys (juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier);

    const std::vector<std::function<void()>> edits = {
        [&s] { // a rubber band around every dot, then the group dragged
            auto& v = s.inspect().view();
            s.drag (v, { 5, 400 }, { 805, 25 });
            s.drag (v, s.dot (0, true), s.dot (0, true) + juce::Point<float> (0, 50));
        },
        [&s] { s.editor->buttonClicked (&s.inspect().renderButton()); },
        [&s] {
            s.editor->editModeChanged (EditMode::Trashcan);
            s.drag (s.inspect().view(), s.dot (2, true), s.dot (2, true));
        },
    };
    std::vector<std::vector<float>> seen { values() };
    for (const auto& edit : edits)
    {
        edit();
        seen.push_back (values());
        ASSERT_NE (seen.back(), seen[seen.size() - 2]);
    }

    // The host automates a value none of the edits wrote: undo leaves it alone.
    int automated = 0;
    while (seen[0][(size_t) automated] != seen.back()[(size_t) automated] || seen[1][(size_t) automated] != seen[0][(size_t) automated])
        ++automated;
    s.hostWrites (automated, 0.123f);
    for (auto& v : seen)
        v[(size_t) automated] = 0.123f;

    auto changedBetween = [] (const std::vector<float>& a, const std::vector<float>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i)
            n += a[i] != b[i] ? 1 : 0;
        return n;
    };

    for (size_t k = edits.size(); k > 0; --k)
    {
        s.log.events.clear();
        EXPECT_TRUE (press ('z', command)) << "undo " << k;
        EXPECT_EQ (values(), seen[k - 1]) << "undo " << k;
        const auto o = summarise (s.log);
        EXPECT_EQ (o.fault, "") << "undo " << k;
        EXPECT_EQ (o.gestures, changedBetween (seen[k], seen[k - 1])) << "undo " << k;
        EXPECT_EQ (o.parameters, o.gestures) << "undo " << k;
    }
    EXPECT_FALSE (s.editor->undo()); // nothing left: nothing happens

    for (size_t k = 1; k <= edits.size(); ++k)
    {
        EXPECT_TRUE (k == 2 ? press ('y', command) : press ('z', shiftCommand)) << "redo " << k;
        EXPECT_EQ (values(), seen[k]) << "redo " << k;
    }

    // Kept while the window is closed and reopened; dropped by a restored state.
    s.editor.reset();
    s.open();
    EXPECT_TRUE (s.editor->undo());
    EXPECT_EQ (values(), seen[edits.size() - 1]);
    const auto state = stateOf (s.processor);
    s.processor.setStateInformation (state.getData(), (int) state.getSize());
    EXPECT_FALSE (s.editor->undo());
    EXPECT_FALSE (s.editor->redo());
}
} // namespace nadrix
