// SPDX-License-Identifier: GPL-3.0-or-later
#include "EValueControl.h"

void EValueControl::setCallback (UICallback* cb) { callback = cb; }
void EValueControl::setValue (float v) { setValue (v, true); }

void EValueControl::setValue (float v, bool repaintNow)
{
    value = v;
    if (repaintNow)
        repaint();
}

float EValueControl::getValue() { return value; }
void EValueControl::setParamId (int id) { paramId = id; }
int EValueControl::getParamId() { return paramId; }
