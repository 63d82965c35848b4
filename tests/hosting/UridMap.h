// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <lv2/urid/urid.h>

#include <map>
#include <string>

namespace nadrix
{
// The one feature a host must give the LV2 plug-in: URIs mapped to numbers,
// each new URI the next number. For the small hosts of the tests.
struct UridMap
{
    std::map<std::string, LV2_URID> ids;
    LV2_URID_Map feature { this, [] (LV2_URID_Map_Handle self, const char* uri) {
                              auto& known = static_cast<UridMap*> (self)->ids;
                              return known.emplace (uri, (LV2_URID) known.size() + 1).first->second;
                          } };

    LV2_URID operator() (const char* uri) { return feature.map (feature.handle, uri); }
};
} // namespace nadrix
