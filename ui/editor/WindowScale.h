// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// The window's size as the user chose it: 100, 150 or 200 % of 850 x 596.
// Kept in the user's own settings, not in the plug-in state: it belongs to
// the user's screen, not to the session, and every window opens at it.
namespace WindowScale
{
    inline constexpr float choices[] = { 1.0f, 1.5f, 2.0f };

    // The chosen scale; 1 when none was chosen or the stored one is not a choice.
    float stored();
    void store (float scale);

    // ~/.config/Nadrix/window.settings, or window.settings in the folder
    // NADRIX_SETTINGS_DIR names (the tests keep theirs apart so).
    juce::File settingsFile();
}
} // namespace nadrix
