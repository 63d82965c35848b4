// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// How every edit leaves the delay-line view: one value for one line (0..49).
// Pans are -1..+1, times are seconds on the normalised 0..1 scale, gains
// and feedback 0..1, and active is 1 to create a line and 0 to delete it.
// A press opens one edit gesture and its release closes it: every value sent
// in between belongs to that one gesture.
class DelaysViewCallback
{
public:
    virtual ~DelaysViewCallback() {}

    virtual void setPan (float value, int line) = 0;
    virtual void setPredelayTime (float value, int line) = 0;
    virtual void setDelayTime (float value, int line) = 0;
    virtual void setFeedback (float value, int line) = 0;
    virtual void setHighcutGain (float value, int line) = 0;
    virtual void setDelayActive (float value, int line) = 0;
    virtual void setPredelayGain (float value, int line) = 0;

    virtual void beginEditGesture() {}
    virtual void endEditGesture() {}

    // How a line reads in the view's tooltip: "Line 12: delay 250.0 ms, ...".
    virtual juce::String describeLine (int) { return {}; }
};
} // namespace nadrix
