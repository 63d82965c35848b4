// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a drag in the delay-line view edits; the chooser uses the same numbers.
enum EditMode
{
    Highcut = 1,
    Trashcan = 2,
    DelayTime = 3,
    Feedback = 4
};
