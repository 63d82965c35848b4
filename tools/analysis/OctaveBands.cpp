// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/analysis/OctaveBands.h"

#include <juce_dsp/juce_dsp.h>

#include <cmath>

namespace nadrix
{
namespace
{
    constexpr int order = 6;

    void runSections (std::vector<double>& signal, const juce::ReferenceCountedArray<juce::dsp::IIR::Coefficients<double>>& sections)
    {
        for (auto* coefficients : sections)
        {
            juce::dsp::IIR::Filter<double> section (coefficients);
            for (auto& sample : signal)
                sample = section.processSample (sample);
        }
    }
}

std::vector<double> OctaveBands::filtered (const std::vector<double>& signal, double sampleRate, double centre)
{
    using Design = juce::dsp::FilterDesign<double>;
    auto band = signal;
    runSections (band, Design::designIIRHighpassHighOrderButterworthMethod (centre / std::sqrt (2.0), sampleRate, order));
    runSections (band, Design::designIIRLowpassHighOrderButterworthMethod (centre * std::sqrt (2.0), sampleRate, order));
    return band;
}
} // namespace nadrix
