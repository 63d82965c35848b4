// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// What a drag in the delay-line view edits.
enum class EditMode
{
    Highcut = 1,
    Trashcan = 2,
    DelayTime = 3,
    Feedback = 4
};
} // namespace nadrix
