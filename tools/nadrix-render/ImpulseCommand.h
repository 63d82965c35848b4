// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/HostSession.h"
#include "tools/nadrix-render/Outcome.h"
#include "tools/nadrix-render/RenderOptions.h"

#include <ostream>

namespace nadrix
{
// The impulse response of the settings as set up in `session`: a unit
// impulse on both channels through the plug-in, rendered exactly as a file
// holding it would be, long enough to fall 90 dB below its peak or to the
// reverb's reported tail (whichever is longer, at least 1 s, at most 60 s);
// then written (--impulse), analysed (--analyze, --json) and drawn (--plot).
Outcome runImpulseCommand (const RenderOptions& options, HostSession& session, NadrixAudioProcessor& processor, std::ostream& out,
                           std::ostream& warnings);
} // namespace nadrix
