// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/ui/WindowManagerAtoms.h"

#include <X11/Xlib.h>

namespace nadrix
{
bool makeWindowManagerAtomsExist()
{
    static const bool reached = [] {
        Display* display = XOpenDisplay (nullptr);
        if (display == nullptr)
            return false;
        // The names JUCE 7 looks up only if they exist.
        const char* names[] = { "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING", "WM_CHANGE_STATE", "WM_STATE",
                                "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN" };
        for (const char* name : names)
            XInternAtom (display, name, False);
        XSync (display, False);
        XCloseDisplay (display);
        return true;
    }();
    return reached;
}
} // namespace nadrix
