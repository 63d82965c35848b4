// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/delays/DelaysViewCallback.h"
#include "engine/ReverbEngine.h"

#include <cmath>
#include <string>
#include <vector>

namespace nadrix
{
// Writes every edit of the view into a real engine, the way the editor will
// (values already in engine units), and keeps a log: "pan 3 -0.5".
struct EngineBackedCallback : DelaysViewCallback
{
    ReverbEngine engine { 44100.0f };
    std::vector<std::string> log;

    struct Call
    {
        std::string what;
        int line;
        float value;
    };
    std::vector<Call> calls;

    void write (const char* what, int kind, float value, int line)
    {
        calls.push_back ({ what, line, value });
        log.push_back (std::string (what) + " " + std::to_string (line));
        engine.setParameter (ParameterLayout::indexOf (line, kind), value);
    }

    void setPan (float v, int line) override { write ("pan", 0, v, line); }
    void setHighcutGain (float v, int line) override { write ("highcut", 1, v, line); }
    void setFeedback (float v, int line) override { write ("feedback", 2, v, line); }
    void setPredelayTime (float v, int line) override { write ("predelay", 3, v, line); }
    void setDelayTime (float v, int line) override { write ("delay", 4, v, line); }
    void setDelayActive (float v, int line) override { write ("active", 5, v, line); }
    void setPredelayGain (float v, int line) override { write ("predelaygain", 6, v, line); }

    NadrixViewdata line (int j) const { return engine.lineView (j); }
    // Every line as the view reads them.
    std::vector<NadrixViewdata> lines() const
    {
        std::vector<NadrixViewdata> all;
        for (int j = 0; j < ParameterLayout::numLines; ++j)
            all.push_back (engine.lineView (j));
        return all;
    }

    // The last value written (the engine's record holds it to the sample), or NaN.
    float lastWritten (const std::string& what, int line) const
    {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->what == what && it->line == line)
                return it->value;
        return NAN;
    }

    // Sets a line directly in the engine (as a host or a program would).
    void setLine (int j, float pan, float predelay, float delay, float feedback = 0.5f, float predelayGain = 0.5f, float hc = 0.5f)
    {
        const float values[] = { pan, hc, feedback, predelay, delay, 1.0f, predelayGain };
        for (int k = 0; k < 7; ++k)
            engine.setParameter (ParameterLayout::indexOf (j, k), values[k]);
    }

    void switchAllOff()
    {
        for (int j = 0; j < ParameterLayout::numLines; ++j)
            engine.setParameter (ParameterLayout::indexOf (j, ParameterLayout::active), 0.0f);
    }
};
} // namespace nadrix
