// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 plug-in as a hostile host drives it, without JUCE: a restore of
// any text as 0.3.0's saved values (or of any program number), then port
// values of any float bits between blocks. The output stays finite and
// within +24 dBFS, and a state saved after it holds nothing but the ports.
#include "lv2/Lv2Plugin.h"
#include "lv2/Lv2Ports.h"
#include "lv2/Lv2Uris.h"
#include "tests/hosting/UridMap.h"

#include <lv2/atom/atom.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#define NADRIX_LV2_FUZZ_CHECK(condition, what)                                               \
    do                                                                                       \
    {                                                                                        \
        if (! (condition))                                                                   \
        {                                                                                    \
            std::fprintf (stderr, "finding: %s (line %d: %s)\n", what, __LINE__, #condition); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)

namespace
{
using namespace nadrix;

struct Restored
{
    UridMap& map;
    std::string text;
    int32_t program;
    bool asProgram;
};

const void* retrieve (LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags)
{
    auto& r = *static_cast<Restored*> (handle);
    *flags = LV2_STATE_IS_POD;
    if (r.asProgram && key == r.map (Lv2Uris::program))
    {
        *size = sizeof (r.program);
        *type = r.map (LV2_ATOM__Int);
        return &r.program;
    }
    if (! r.asProgram && key == r.map (Lv2Uris::stateString))
    {
        *size = r.text.size() + 1;
        *type = r.map (LV2_ATOM__String);
        return r.text.c_str();
    }
    return nullptr;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    constexpr uint32_t block = 256;
    UridMap map;
    const LV2_Feature mapFeature { LV2_URID__map, &map.feature };
    const LV2_Feature* features[] = { &mapFeature, nullptr };
    auto plugin = Lv2Plugin::create (44100.0, features);
    NADRIX_LV2_FUZZ_CHECK (plugin != nullptr, "no instance");

    std::vector<float> in (block), out[2] { std::vector<float> (block), std::vector<float> (block) };
    std::vector<uint64_t> atoms (512);
    atoms[0] = 8 * 512 - 8;
    float latency = 0, freeWheeling = 0, enabled = 1;
    std::vector<float> ports ((size_t) ParameterLayout::numParameters);
    plugin->connect (Lv2Ports::audioInLeft, in.data());
    plugin->connect (Lv2Ports::audioInRight, in.data());
    plugin->connect (Lv2Ports::audioOutLeft, out[0].data());
    plugin->connect (Lv2Ports::audioOutRight, out[1].data());
    plugin->connect (Lv2Ports::atomOut, atoms.data());
    plugin->connect (Lv2Ports::latency, &latency);
    plugin->connect (Lv2Ports::freeWheeling, &freeWheeling);
    plugin->connect (Lv2Ports::enabled, &enabled);
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        plugin->connect (Lv2Ports::ofParameter (i), &ports[(size_t) i]);

    // The first byte: restore a program or text; the text runs to the first
    // zero byte, then port writes of five bytes each (port, float bits).
    const bool asProgram = size > 0 && (data[0] & 1) != 0;
    size_t at = size > 0 ? 1 : 0;
    Restored restored { map, {}, size > 4 ? (int32_t) (data[1] | data[2] << 8 | data[3] << 16 | (uint32_t) data[4] << 24) : 0, asProgram };
    while (at < size && data[at] != 0)
        restored.text.push_back ((char) data[at++]);
    plugin->restore (retrieve, &restored, 0, nullptr);
    plugin->activate();

    uint32_t counter = 1;
    for (int b = 0; b < 8; ++b)
    {
        for (int k = 0; k < 4 && at + 5 <= size; ++k, at += 5)
        {
            float value;
            std::memcpy (&value, data + at + 1, sizeof (value));
            ports[(size_t) (data[at] % ParameterLayout::numParameters)] = value;
        }
        for (auto& x : in)
        {
            counter = counter * 1664525u + 1013904223u;
            x = (float) (counter >> 8) / 16777216.0f - 0.5f;
        }
        plugin->run (block);
        for (const auto& channel : out)
            for (const float y : channel)
                NADRIX_LV2_FUZZ_CHECK (std::isfinite (y) && std::abs (y) <= 15.848932f, "output not finite or beyond +24 dBFS");
    }

    int stored = 0;
    plugin->save ([] (LV2_State_Handle h, uint32_t, const void*, size_t, uint32_t, uint32_t) {
        ++*static_cast<int*> (h);
        return LV2_STATE_SUCCESS;
    }, &stored, 0, nullptr);
    NADRIX_LV2_FUZZ_CHECK (stored == 0, "a saved state holds more than the ports");
    plugin->deactivate();
    return 0;
}
