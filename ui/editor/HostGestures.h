// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NadrixAudioProcessor.h"

#include <bitset>

// Wraps the editor's writes in the host's change gestures, so that one user
// gesture is one host gesture (one undo step, one automation pass) for every
// parameter it touches. Between begin() and end() (a drag, a click) the
// first write to a parameter opens its gesture and end() closes them all; a
// write outside them (a wheel step, a double-click reset) is a gesture of its
// own.
class HostGestures
{
public:
    explicit HostGestures (NadrixAudioProcessor& processor);
    ~HostGestures();

    void begin();
    void end();
    void write (int index, float value);

private:
    NadrixAudioProcessor& processor;
    int openInteractions = 0;
    std::bitset<NadrixAudioProcessor::numParameters> open;

    JUCE_DECLARE_NON_COPYABLE (HostGestures)
};
