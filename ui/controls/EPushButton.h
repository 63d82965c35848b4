// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/EImageButton.h"

namespace nadrix
{
// The window's momentary buttons (render random reverb, help, about): an up
// and a down image, a click reported through buttonClicked.
class EPushButton final : public EImageButton
{
public:
    EPushButton() : EImageButton (Mode::momentary) {}
};
} // namespace nadrix
