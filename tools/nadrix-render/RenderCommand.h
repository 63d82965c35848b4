// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/Outcome.h"
#include "tools/nadrix-render/RenderOptions.h"

#include <ostream>

namespace nadrix
{
// One nadrix-render run after its command line has been read: a list, a
// snapshot of the window, or a render of one input to one output, with its
// report on `out` and its warnings on `warnings`. JUCE must be initialised.
Outcome runRenderCommand (const RenderOptions& options, std::ostream& out, std::ostream& warnings);
} // namespace nadrix
