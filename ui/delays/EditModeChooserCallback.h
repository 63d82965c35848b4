// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/delays/EditMode.h"

namespace nadrix
{
// Told each edit mode the user picks: 1 high-cut, 2 delete, 3 delay time, 4 feedback.
class EditModeChooserCallback
{
public:
    virtual ~EditModeChooserCallback() {}

    virtual void editModeChanged (EditMode mode) = 0;
};
} // namespace nadrix
