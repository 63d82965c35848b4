// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/RandomRender.h"

#include "engine/ParameterLayout.h"

namespace nadrix
{
void renderRandomReverb (const RandomRenderSettings& settings, const std::function<void (int, float)>& write, const std::function<float()>& draw)
{
    using namespace ParameterLayout;

    const float c = settings.complexity, s = settings.roomSize, p = settings.predelay, t = settings.tailTime;

    for (int j = 0; j < numLines; ++j)
    {
        int n = (int) (c * 50.0f);
        if (n <= 0)
            n = 1;

        // Lines past the count only stop; they keep their other values and
        // consume no random numbers.
        if (j >= n)
        {
            write (indexOf (j, active), 0.0f);
            continue;
        }

        const float panValue = draw();

        const auto base = (float) ((double) p * 0.3);
        const double spread = s == 0.0f ? (double) 0.0022f : (double) s * 0.22;
        const auto scatter = (float) ((double) draw() * spread + (double) 0.001f);
        float pre = base + scatter;

        const float r3 = draw();
        const auto delay = (float) ((double) (r3 * s) * 0.22 + (double) 0.005f);

        // The pre-delay gives way so that the line ends within 0.54 s.
        if (pre + delay > 0.54f)
            pre = pre - ((pre + delay) - 0.54f);

        const float hc = draw() * 0.5f + 0.5f;
        const float gain = draw() * 0.3f + 0.6999f;
        const auto fb = (float) ((double) t * 0.5 + (double) draw() * 0.3 + 0.15);

        write (indexOf (j, feedback), fb);
        write (indexOf (j, predelayGain), gain);
        write (indexOf (j, hcGain), hc);
        write (indexOf (j, delayTime), delay);
        write (indexOf (j, ParameterLayout::pan), panValue);
        write (indexOf (j, ParameterLayout::predelay), pre);
        write (indexOf (j, active), 1.0f);
    }
}
} // namespace nadrix
