// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/analysis/DecayAnalysis.h"

#include <juce_core/juce_core.h>

namespace nadrix
{
// A decay analysis as a plain text table for people, or as JSON for
// scripts: the same figures with their units; a figure that cannot be
// computed is said so ("-" with a note, or null with a reason).
namespace AnalysisReport
{
    juce::String asText (const DecayAnalysis& analysis, const juce::String& settings, const juce::String& channels);
    juce::String asJson (const DecayAnalysis& analysis, const juce::String& settings, const juce::String& channels);
}
} // namespace nadrix
