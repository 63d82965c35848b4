// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/delays/DelaysView.h"
#include "tests/ui/delays/EngineBackedCallback.h"
#include "tests/ui/ControlTestKit.h"

namespace nadrix
{
// A view set up as the editor sets it up (810 x 420, zoom 1.4: origin
// (405, 20), 567 pixels per second, visible radius 400) over a real engine.
struct ViewFixture
{
    EngineBackedCallback cb;
    DelaysView view;

    explicit ViewFixture (bool allLinesOff = true)
    {
        if (allLinesOff)
            cb.switchAllOff();
        view.setup (20, -39, 810, 420, 1.4f, &cb.engine, &cb);
    }

    FanGeometry fan() const { return FanGeometry (810.0f, 420.0f, view.getZoom()); }

    juce::Point<float> dot (int line, bool delayDot) const
    {
        const auto l = fan().line (cb.line (line));
        return delayDot ? l.delayPoint : l.predelayPoint;
    }

    void press (juce::Point<float> p) { view.mouseDown (mouseAt (view, p.x, p.y)); }
    void drag (juce::Point<float> p) { view.mouseDrag (mouseAt (view, p.x, p.y)); }
    void release (juce::Point<float> p) { view.mouseUp (mouseAt (view, p.x, p.y)); }

    void click (juce::Point<float> p)
    {
        press (p);
        release (p);
    }
};
} // namespace nadrix
