// SPDX-License-Identifier: GPL-3.0-or-later
// JUCE's VST3 and LV2 hosts (VST3 alone on Windows), for the tests that load
// the built bundles. They are compiled here alone, from JUCE's own sources,
// so that no product binary carries hosting code it never runs. What follows mirrors the part of
// juce_audio_processors.cpp that those two sources rely on.
#define JUCE_CORE_INCLUDE_NATIVE_HEADERS 1
#define JUCE_CORE_INCLUDE_OBJC_HELPERS 1
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#define JUCE_GUI_BASICS_INCLUDE_SCOPED_THREAD_DPI_AWARENESS_SETTER 1
#define JUCE_GRAPHICS_INCLUDE_COREGRAPHICS_HELPERS 1

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_extra/juce_gui_extra.h>

#if JUCE_LINUX || JUCE_BSD
 #include <X11/Xlib.h>
 #include <X11/Xutil.h>
 #include <sys/utsname.h>
 #undef KeyPress
#endif

namespace juce
{
    template <typename Callback>
    void callOnMessageThread (Callback&& callback)
    {
        if (MessageManager::getInstance()->existsAndIsLockedByCurrentThread())
        {
            callback();
            return;
        }

        WaitableEvent completionEvent;
        MessageManager::callAsync ([&callback, &completionEvent] {
            callback();
            completionEvent.signal();
        });
        completionEvent.wait();
    }
}

#include <juce_audio_processors/utilities/juce_FlagCache.h>
#include <juce_audio_processors/format_types/juce_VST3PluginFormat.cpp>
#include <juce_audio_processors/format_types/juce_LV2PluginFormat.cpp>
