// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EComponent.h"

// A control that carries one value for one parameter and reports to one
// callback: the knob, the slider and the two buttons. Values set here are
// stored as they come, drawn, and never reported.
class EValueControl : public EComponent
{
public:
    void setCallback (UICallback* cb) override;
    void setValue (float v) override;
    void setValue (float v, bool repaintNow) override;
    float getValue() override;
    void setParamId (int id) override;
    int getParamId() override;

protected:
    EValueControl() = default;

    int paramId = -1;
    float value = 0.0f;
    UICallback* callback = nullptr;
};
