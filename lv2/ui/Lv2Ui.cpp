// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/ui/Lv2Ui.h"

#include "lv2/Lv2Ports.h"
#include "lv2/ui/WindowManagerAtoms.h"
#include "processor/ParameterInfo.h"

#include <algorithm>
#include <cmath>

namespace juce
{
// JUCE's own dispatch of one message from its queue (juce_linux_Messaging.cpp).
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace nadrix
{
namespace
{
    // The host's UI thread is JUCE's message thread for as long as it calls.
    void becomeMessageThread()
    {
        juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
    }
}

Lv2Ui::Lv2Ui (const Host& h) : reachedXServer (makeWindowManagerAtomsExist()), host (h)
{
    becomeMessageThread();
    processor.prepareToPlay (host.sampleRate, 512);
    processor.addListener (this);

    editor.reset (processor.createEditorIfNeeded());
    setOpaque (true);
    addAndMakeVisible (*editor);
    if (host.scaleFactor.has_value())
        editor->setScaleFactor (*host.scaleFactor);
    fitToEditor();

    setVisible (false);
    addToDesktop (0, host.parent);
    setVisible (true);
    editor->addComponentListener (this);
}

Lv2Ui::~Lv2Ui()
{
    becomeMessageThread();
    processor.removeListener (this);
    if (editor != nullptr)
    {
        editor->removeComponentListener (this);
        processor.editorBeingDeleted (editor.get());
        editor.reset();
    }
}

LV2UI_Widget Lv2Ui::widget()
{
    return getWindowHandle();
}

void Lv2Ui::portEvent (uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    const int index = Lv2Ports::parameterOf (port);
    if (index < 0 || format != 0 || size != sizeof (float) || buffer == nullptr)
        return;

    becomeMessageThread();
    const float shown = *static_cast<const float*> (buffer);
    // The host's echo of the window's own write shows the value held already.
    if (shown == ParameterInfo::shownValue (index, processor.getParameterValue (index)))
        return;
    const float normalised = std::clamp (ParameterInfo::normalisedFromShown (index, shown), 0.0f, 1.0f);
    if (! std::isfinite (normalised))
        return;

    // The value the reverb runs with, shown: a parameter's own value, not
    // a change the window's listeners hear and send back.
    processor.setParameter (index, normalised);
}

int Lv2Ui::idle()
{
    becomeMessageThread();
    while (juce::dispatchNextMessageOnSystemQueue (true))
    {
    }
    return 0;
}

void Lv2Ui::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    if (host.write == nullptr || index < 0 || index >= ParameterLayout::numParameters)
        return;
    const float shown = ParameterInfo::shownValue (index, value);
    host.write (host.controller, Lv2Ports::ofParameter (index), sizeof (float), 0, &shown);
}

void Lv2Ui::touch (int index, bool grabbed)
{
    if (host.touch != nullptr && host.touch->touch != nullptr && index >= 0 && index < ParameterLayout::numParameters)
        host.touch->touch (host.touch->handle, Lv2Ports::ofParameter (index), grabbed);
}

void Lv2Ui::componentMovedOrResized (juce::Component&, bool, bool wasResized)
{
    if (wasResized)
        fitToEditor();
}

void Lv2Ui::fitToEditor()
{
    // The window's own size (its scale chosen from its menu), told to the host.
    const auto bounds = getLocalArea (editor.get(), editor->getLocalBounds());
    setSize (bounds.getWidth(), bounds.getHeight());
    if (host.resize != nullptr && host.resize->ui_resize != nullptr)
        host.resize->ui_resize (host.resize->handle, bounds.getWidth(), bounds.getHeight());
}
} // namespace nadrix
