// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/HostGestures.h"

#include "processor/EditHistory.h"

namespace nadrix
{
HostGestures::HostGestures (NadrixAudioProcessor& p, EditHistory& h) : processor (p), history (h) {}

HostGestures::~HostGestures()
{
    // A window closed in the middle of a drag still closes what it opened.
    openInteractions = 1;
    end();
}

void HostGestures::begin()
{
    ++openInteractions;
}

void HostGestures::end()
{
    if (openInteractions == 0 || --openInteractions > 0)
        return;

    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
        if (open[(size_t) i])
            processor.endParameterGesture (i);
    open.reset();
    history.commit();
}

void HostGestures::write (int index, float value)
{
    if (index < 0 || index >= NadrixAudioProcessor::numParameters)
        return;

    const float before = processor.getParameterValue (index);
    if (openInteractions == 0)
    {
        processor.beginParameterGesture (index);
        processor.setParameterFromUI (index, value, true);
        processor.endParameterGesture (index);
        if (recording)
        {
            history.record (index, before, processor.getParameterValue (index));
            history.commit();
        }
        return;
    }

    if (! open[(size_t) index])
    {
        open.set ((size_t) index);
        processor.beginParameterGesture (index);
    }
    processor.setParameterFromUI (index, value, true);
    if (recording)
        history.record (index, before, processor.getParameterValue (index));
}

bool HostGestures::undo (const Shown& shown) { return replay (true, shown); }
bool HostGestures::redo (const Shown& shown) { return replay (false, shown); }

bool HostGestures::replay (bool backwards, const Shown& shown)
{
    if (openInteractions > 0)
        return false;

    const EditHistory::Write writeBack = [this, &shown] (int index, float value) {
        write (index, value);
        shown (index, value);
    };

    recording = false;
    begin();
    const bool replayed = backwards ? history.undo (writeBack) : history.redo (writeBack);
    end();
    recording = true;
    return replayed;
}
} // namespace nadrix
