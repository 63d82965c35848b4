// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostGestures.h"

HostGestures::HostGestures (NadrixAudioProcessor& p) : processor (p) {}

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
}

void HostGestures::write (int index, float value)
{
    if (index < 0 || index >= NadrixAudioProcessor::numParameters)
        return;

    if (openInteractions == 0)
    {
        processor.beginParameterGesture (index);
        processor.setParameterFromUI (index, value, true);
        processor.endParameterGesture (index);
        return;
    }

    if (! open[(size_t) index])
    {
        open.set ((size_t) index);
        processor.beginParameterGesture (index);
    }
    processor.setParameterFromUI (index, value, true);
}
