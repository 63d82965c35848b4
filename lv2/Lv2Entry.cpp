// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 C interface of the plug-in: every call goes to its Lv2Plugin.
#include "lv2/Lv2Plugin.h"
#include "lv2/Lv2Uris.h"

#include <cstring>

namespace nadrix
{
namespace
{
    Lv2Plugin& of (LV2_Handle instance) { return *static_cast<Lv2Plugin*> (instance); }

    const LV2_Worker_Interface worker {
        [] (LV2_Handle instance, LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle, uint32_t size, const void* data) {
            return of (instance).work (respond, handle, size, data);
        },
        [] (LV2_Handle instance, uint32_t size, const void* data) { return of (instance).workResponse (size, data); },
        nullptr,
    };

    const LV2_State_Interface state {
        [] (LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t flags, const LV2_Feature* const* features) {
            return of (instance).save (store, handle, flags, features);
        },
        [] (LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, uint32_t flags, const LV2_Feature* const* features) {
            return of (instance).restore (retrieve, handle, flags, features);
        },
    };

    const LV2_Descriptor descriptor {
        Lv2Uris::plugin,
        [] (const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features) -> LV2_Handle {
            try
            {
                return Lv2Plugin::create (rate, features).release();
            }
            catch (...) // no memory: the host is told the plug-in could not be made
            {
                return nullptr;
            }
        },
        [] (LV2_Handle instance, uint32_t port, void* data) { of (instance).connect (port, data); },
        [] (LV2_Handle instance) { of (instance).activate(); },
        [] (LV2_Handle instance, uint32_t frames) { of (instance).run (frames); },
        [] (LV2_Handle instance) { of (instance).deactivate(); },
        [] (LV2_Handle instance) { delete static_cast<Lv2Plugin*> (instance); },
        [] (const char* uri) -> const void* {
            if (std::strcmp (uri, LV2_WORKER__interface) == 0)
                return &worker;
            if (std::strcmp (uri, LV2_STATE__interface) == 0)
                return &state;
            return nullptr;
        },
    };
}
} // namespace nadrix

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor (uint32_t index)
{
    return index == 0 ? &nadrix::descriptor : nullptr;
}
