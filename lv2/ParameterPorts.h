// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"
#include "processor/ParameterInfo.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <limits>

namespace nadrix
{
// The parameters' control ports. The host owns them, and they hold the one
// copy of every value, in its unit ("250 ms"); the plug-in keeps only which
// normalised value it gave the engine for each port, so that a port showing
// exactly that value again is no change (no conversion back and forth moves
// a value by a rounding). Audio thread, but for restored() and the start.
class ParameterPorts
{
public:
    static constexpr int count = ParameterLayout::numParameters;

    // Every value as a fresh instance holds it; no port connected.
    ParameterPorts() noexcept;

    void connect (int index, const float* port) noexcept { ports[index] = port; }

    // The normalised value the engine was given for this parameter.
    float normalised (int index) const noexcept { return held[index]; }

    // A restore started the reverb with this value. Every port is read again
    // at the next run: one that shows the value (or what a host's saved text
    // of it reads back as) leaves it, any other value applies, so that the
    // plug-in always sounds as its ports read.
    void restored (int index, float normalisedValue) noexcept;

    // What the host changed since the last call: `changed (index, normalised)`
    // for each changed value, in parameter order. Values that are not
    // numbers are ignored; the others are held to the parameter's range.
    template <typename Changed>
    void takeChanges (Changed&& changed) noexcept
    {
        for (int i = 0; i < count; ++i)
        {
            const float* port = ports[i];
            if (port == nullptr || *port == lastSeen[i])
                continue;

            const float shown = *port;
            lastSeen[i] = shown;
            const bool afterRestore = justRestored[(size_t) i];
            justRestored.reset ((size_t) i);

            const float heldShown = ParameterInfo::shownValue (i, held[i]);
            if (shown == heldShown || (afterRestore && readsBackAs (shown, heldShown)))
                continue;

            const float n = normalisedOf (i, shown);
            if (! std::isfinite (n) || n == held[i])
                continue;
            held[i] = n;
            changed (i, n);
        }
    }

private:
    // The normalised value a port's value stands for. Units do not convert
    // back exactly: 77.88 % reads back one step of a float away from the
    // 0.7788 it was shown for. A factory program's value shown as it is
    // reads back as that value, so a preset applied by its ports alone, or
    // a session saved after one, sounds exactly as the program does.
    static float normalisedOf (int index, float shown) noexcept;

    // A host writes a saved port value as text with eight decimals: it reads
    // back within a millionth of the value (relative, or absolute below 1).
    static bool readsBackAs (float shown, float value) noexcept
    {
        return std::abs (shown - value) <= 1.0e-6f * std::max (1.0f, std::abs (value));
    }

    const float* ports[count] {};
    float lastSeen[count];
    float held[count];
    std::bitset<count> justRestored;
};
} // namespace nadrix
