// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/OutputLevel.h"

#include <cmath>

namespace nadrix
{
void OutputLevel::measure (const float* samples, size_t count) noexcept
{
    for (size_t i = 0; i < count; ++i)
    {
        const float magnitude = std::abs (samples[i]);
        highest = magnitude > highest ? magnitude : highest;
        beyond += magnitude > 1.0f ? 1 : 0;
    }
}

double OutputLevel::peakDbfs() const
{
    return 20.0 * std::log10 (juce::jmax ((double) highest, 1.0e-30));
}

juce::String OutputLevel::notice (bool keepsBeyondFullScale, const juce::String& kindOfFile) const
{
    if (beyond == 0)
        return {};
    const auto peakText = juce::String (peakDbfs(), 1);
    const auto lower = "--gain -" + juce::String (std::ceil (peakDbfs() * 10.0) / 10.0, 1) + " or --normalize -1 keeps it within";
    if (keepsBeyondFullScale)
        return "the output peaks at +" + peakText + " dBFS, above full scale; the " + kindOfFile + " keeps it, but a player or converter to integers will clip it ("
             + lower + ")";
    return juce::String (beyond) + (beyond == 1 ? " sample beyond full scale was" : " samples beyond full scale were") + " clipped in the " + kindOfFile
         + " (peak +" + peakText + " dBFS; " + lower + ")";
}
} // namespace nadrix
