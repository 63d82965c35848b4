// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// JUCE's windows name some X atoms a window manager makes (WM_STATE,
// WM_PROTOCOLS, _NET_WM_STATE and a few more) and take them to exist. On an
// X server with no window manager (a headless host, a test under Xvfb) they
// may not, and the window's first requests then fail with errors that reach
// the host's own X error handler, which may end the host. This makes them
// exist, once per process, before JUCE first reads them. Returns whether an
// X server was reached.
bool makeWindowManagerAtomsExist();
} // namespace nadrix
