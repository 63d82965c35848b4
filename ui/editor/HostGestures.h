// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processor/NadrixAudioProcessor.h"

#include <bitset>
#include <functional>

namespace nadrix
{
class EditHistory;

// Wraps the editor's writes in the host's change gestures, so that one user
// gesture is one host gesture (one undo step, one automation pass) for every
// parameter it touches. Between begin() and end() (a drag, a click) the
// first write to a parameter opens its gesture and end() closes them all; a
// write outside them (a wheel step, a double-click reset) is a gesture of its
// own.
//
// Each user gesture is also one transaction of the window's edit history,
// which undo() and redo() replay through these same writes.
class HostGestures
{
public:
    HostGestures (NadrixAudioProcessor& processor, EditHistory& history);
    ~HostGestures();

    void begin();
    void end();
    void write (int index, float value);
    bool isOpen() const noexcept { return openInteractions > 0; }

    // The last transaction undone or redone, as one gesture; `shown` is
    // told every value written, for the window to show it. Not in the
    // middle of a gesture. False when there is nothing to undo or redo.
    using Shown = std::function<void (int index, float value)>;
    bool undo (const Shown& shown);
    bool redo (const Shown& shown);

private:
    bool replay (bool backwards, const Shown& shown);

    NadrixAudioProcessor& processor;
    EditHistory& history;
    int openInteractions = 0;
    bool recording = true;
    std::bitset<NadrixAudioProcessor::numParameters> open;

    JUCE_DECLARE_NON_COPYABLE (HostGestures)
};
} // namespace nadrix
