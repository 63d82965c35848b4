// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The names hosts keep in sessions and presets: never to change.
#define NADRIX_LV2_URI "https://mirelock.com/plugins/nadrix"

namespace nadrix
{
namespace Lv2Uris
{
    constexpr const char* plugin = NADRIX_LV2_URI;
    constexpr const char* ui = NADRIX_LV2_URI ":UI";
    // A factory preset's program number: choosing the preset starts the
    // reverb afresh with that program, as choosing a program does in every
    // other format.
    constexpr const char* program = NADRIX_LV2_URI ":Program";
    // The state 0.3.0 saved beside the ports: every value, read on restore.
    constexpr const char* stateString = NADRIX_LV2_URI ":StateString";
    // Preset n (1 to 6) is factory program n - 1.
    constexpr const char* presetPrefix = NADRIX_LV2_URI ":preset";
}
} // namespace nadrix
