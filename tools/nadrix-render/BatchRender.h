// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/Outcome.h"
#include "tools/nadrix-render/RenderOptions.h"

#include <ostream>

namespace nadrix
{
// Renders every input of a batch into the output folder as NAME.wav, with
// the same settings, several files at once: as many as there are threads,
// each file on one thread (fewer files share the threads among their lines).
// A file that fails is reported on `warnings` and the others go on; the
// outcome is a failure if any file failed. One progress line on a terminal.
Outcome runBatch (const RenderOptions& options, std::ostream& out, std::ostream& warnings);

// The same for renders each given whole (a manifest's lines), `where`
// naming their destination in the report ("the manifest's outputs").
Outcome runJobs (const std::vector<RenderOptions>& jobs, int threads, const juce::String& where, std::ostream& out, std::ostream& warnings);
} // namespace nadrix
