// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 UI's C interface: every call goes to its Lv2Ui.
#include "lv2/Lv2Uris.h"
#include "lv2/ui/Lv2Ui.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/urid/urid.h>

#include <cstring>

namespace nadrix
{
namespace
{
    template <typename Data>
    Data featureData (const LV2_Feature* const* features, const char* uri)
    {
        for (auto f = features; f != nullptr && *f != nullptr; ++f)
            if (std::strcmp ((*f)->URI, uri) == 0)
                return static_cast<Data> ((*f)->data);
        return nullptr;
    }

    // The host's sample rate and scale, where its options give them.
    void readOptions (Lv2Ui::Host& host, const LV2_Feature* const* features)
    {
        const auto* map = featureData<const LV2_URID_Map*> (features, LV2_URID__map);
        const auto* options = featureData<const LV2_Options_Option*> (features, LV2_OPTIONS__options);
        if (map == nullptr || options == nullptr)
            return;
        const LV2_URID rate = map->map (map->handle, LV2_PARAMETERS__sampleRate), scale = map->map (map->handle, LV2_UI__scaleFactor),
                       floatType = map->map (map->handle, LV2_ATOM__Float);
        for (auto* o = options; o->key != 0; ++o)
        {
            if (o->type != floatType || o->size != sizeof (float) || o->value == nullptr)
                continue;
            const float value = *static_cast<const float*> (o->value);
            if (o->key == rate && value > 0.0f)
                host.sampleRate = value;
            else if (o->key == scale && value > 0.0f)
                host.scaleFactor = value;
        }
    }

    Lv2Ui& of (LV2UI_Handle ui) { return *static_cast<Lv2Ui*> (ui); }

    const LV2UI_Idle_Interface idle { [] (LV2UI_Handle ui) { return of (ui).idle(); } };

    const LV2UI_Descriptor descriptor {
        Lv2Uris::ui,
        [] (const LV2UI_Descriptor*, const char*, const char*, LV2UI_Write_Function write, LV2UI_Controller controller,
            LV2UI_Widget* widget, const LV2_Feature* const* features) -> LV2UI_Handle {
            Lv2Ui::Host host;
            host.write = write;
            host.controller = controller;
            host.parent = featureData<void*> (features, LV2_UI__parent);
            host.resize = featureData<const LV2UI_Resize*> (features, LV2_UI__resize);
            host.touch = featureData<const LV2UI_Touch*> (features, LV2_UI__touch);
            readOptions (host, features);
            if (host.parent == nullptr || widget == nullptr)
                return nullptr; // the window lives only inside the host's
            auto* ui = new Lv2Ui (host);
            *widget = ui->widget();
            return ui;
        },
        [] (LV2UI_Handle ui) { delete static_cast<Lv2Ui*> (ui); },
        [] (LV2UI_Handle ui, uint32_t port, uint32_t size, uint32_t format, const void* buffer) { of (ui).portEvent (port, size, format, buffer); },
        [] (const char* uri) -> const void* { return std::strcmp (uri, LV2_UI__idleInterface) == 0 ? &idle : nullptr; },
    };
}
} // namespace nadrix

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor (uint32_t index)
{
    return index == 0 ? &nadrix::descriptor : nullptr;
}
