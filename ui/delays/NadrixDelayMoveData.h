// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// One selected line and which of its dots a drag moves (at least one).
struct NadrixDelayMoveData
{
    int lineIndex;
    bool moveDelayPoint;
    bool movePredelayPoint;
};
} // namespace nadrix
