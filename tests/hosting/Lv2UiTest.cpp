// SPDX-License-Identifier: GPL-3.0-or-later
// The built LV2 UI as a host meets it, under a real X server: it embeds the
// window in the host's own, a wheel turn on the Mix knob leaves as a write to
// Mix's port in percent, and a value the host notifies is what the window
// holds and turns from.
#include "tests/hosting/UridMap.h"
#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{
using nadrix::UridMap;

constexpr uint32_t mixPort = 9; // the first parameter's port


struct Write
{
    uint32_t port;
    float value;
};

class Lv2UiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay (nullptr);
        ASSERT_NE (display, nullptr) << "no X server (run under xvfb-run)";
        parent = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 900, 650, 0, 0, 0);
        XMapWindow (display, parent);
        XSync (display, False);

        library = dlopen (NADRIX_LV2_BUNDLE "/NadrixUI.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE (library, nullptr) << dlerror();
        auto* descriptorOf = reinterpret_cast<const LV2UI_Descriptor* (*) (uint32_t)> (dlsym (library, "lv2ui_descriptor"));
        ASSERT_NE (descriptorOf, nullptr);
        descriptor = descriptorOf (0);
        ASSERT_NE (descriptor, nullptr);
        EXPECT_STREQ (descriptor->URI, NADRIX_LV2_URI_TEXT ":UI");
        idle = static_cast<const LV2UI_Idle_Interface*> (descriptor->extension_data (LV2_UI__idleInterface));
        ASSERT_NE (idle, nullptr);
    }

    void TearDown() override
    {
        if (ui != nullptr)
            descriptor->cleanup (ui);
        // The library stays loaded: JUCE's statics outlive the instance.
        if (display != nullptr)
        {
            XDestroyWindow (display, parent);
            XCloseDisplay (display);
        }
    }

    LV2UI_Handle instantiate (bool withParent)
    {
        const float rate = 44100.0f;
        options = { { LV2_OPTIONS_INSTANCE, 0, urid (LV2_PARAMETERS__sampleRate), sizeof (float), urid (LV2_ATOM__Float), &rate },
                    { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr } };
        const LV2_Feature parentFeature { LV2_UI__parent, reinterpret_cast<void*> (parent) };
        const LV2_Feature mapFeature { LV2_URID__map, &map.feature };
        const LV2_Feature optionsFeature { LV2_OPTIONS__options, options.data() };
        std::vector<const LV2_Feature*> features { &mapFeature, &optionsFeature };
        if (withParent)
            features.push_back (&parentFeature);
        features.push_back (nullptr);
        return descriptor->instantiate (descriptor, NADRIX_LV2_URI_TEXT, NADRIX_LV2_BUNDLE, &Lv2UiTest::written, this, &widget, features.data());
    }

    static void written (LV2UI_Controller self, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
    {
        if (format == 0 && size == sizeof (float))
            static_cast<Lv2UiTest*> (self)->writes.push_back ({ port, *static_cast<const float*> (buffer) });
    }

    LV2_URID urid (const char* uri) { return map (uri); }

    // Lets the window handle what the X server and its own queue hold.
    void idleFor (int rounds)
    {
        for (int i = 0; i < rounds; ++i)
        {
            XSync (display, False);
            idle->idle (ui);
            usleep (10000);
        }
    }

    // One notch of the mouse wheel over the Mix knob (at 378, 473 in the
    // window, 90 pixels square), as the X server sends it.
    void wheelUpOverMix()
    {
        for (int type : { ButtonPress, ButtonRelease })
        {
            XEvent e {};
            e.xbutton.type = type;
            e.xbutton.display = display;
            e.xbutton.window = (Window) widget;
            e.xbutton.root = DefaultRootWindow (display);
            e.xbutton.x = 423;
            e.xbutton.y = 518;
            e.xbutton.button = Button4;
            e.xbutton.same_screen = True;
            XSendEvent (display, (Window) widget, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
        }
        XFlush (display);
    }

    float lastMixWrite()
    {
        for (auto w = writes.rbegin(); w != writes.rend(); ++w)
            if (w->port == mixPort)
                return w->value;
        return -1.0f;
    }

    Display* display = nullptr;
    Window parent = 0;
    void* library = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    UridMap map;
    std::vector<LV2_Options_Option> options;
    LV2UI_Handle ui = nullptr;
    LV2UI_Widget widget = nullptr;
    std::vector<Write> writes;
};

TEST_F (Lv2UiTest, TheWindowLivesInTheHostsWindowAndTalksThroughItsPorts)
{
    // Without a window of the host's to live in, there is no UI.
    EXPECT_EQ (instantiate (false), nullptr);

    ui = instantiate (true);
    ASSERT_NE (ui, nullptr);
    ASSERT_NE (widget, nullptr);
    idleFor (20);

    // The window is a child of the host's, at its own size.
    Window root, parentOfWidget, *children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE (XQueryTree (display, (Window) widget, &root, &parentOfWidget, &children, &count));
    if (children != nullptr)
        XFree (children);
    EXPECT_EQ (parentOfWidget, parent);
    XWindowAttributes attributes;
    ASSERT_TRUE (XGetWindowAttributes (display, (Window) widget, &attributes));
    EXPECT_EQ (attributes.width, 850);
    EXPECT_EQ (attributes.height, 596);
    // Opening writes back only the stored zoom of the fan, as the window
    // does in every format.
    constexpr uint32_t zoomPort = 15;
    for (const auto& w : writes)
        EXPECT_EQ (w.port, zoomPort) << "opening the window wrote port " << w.port << ": " << w.value;
    writes.clear();

    // The host says Mix is at 20 %: a notch up turns from there, and the
    // window writes the new value in percent to Mix's port.
    const float twenty = 20.0f;
    descriptor->port_event (ui, mixPort, sizeof (float), 0, &twenty);
    idleFor (5);
    EXPECT_TRUE (writes.empty()) << "a value from the host was sent back";
    wheelUpOverMix();
    idleFor (20);
    const float turned = lastMixWrite();
    EXPECT_GT (turned, 20.0f);
    EXPECT_LT (turned, 30.0f);

    // The host's echo of that write changes nothing; a port that is not a
    // parameter's, or a value that is no number, is ignored.
    const auto before = writes.size();
    descriptor->port_event (ui, mixPort, sizeof (float), 0, &turned);
    const float nan = std::nanf ("");
    descriptor->port_event (ui, mixPort, sizeof (float), 0, &nan);
    descriptor->port_event (ui, 4, sizeof (float), 0, &twenty);
    descriptor->port_event (ui, 100000, sizeof (float), 0, &twenty);
    idleFor (5);
    EXPECT_EQ (writes.size(), before);
    wheelUpOverMix();
    idleFor (20);
    EXPECT_GT (lastMixWrite(), turned);
}
} // namespace
