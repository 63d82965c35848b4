// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EImageButton.h"

namespace nadrix
{
// The edit-mode chooser's two-state buttons: an off and an on image, each
// click toggling the value and reporting it through valueChanged. The button
// knows nothing of the others; the chooser makes them a radio group.
class ESwitchButton final : public EImageButton
{
public:
    ESwitchButton() : EImageButton (Mode::toggle) {}
};
} // namespace nadrix
