// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 plug-in against the golden outputs with nothing but the C library
// and LV2's headers: the smallest host there is, for builds where no other
// host runs (64-bit ARM under qemu). Every golden case is played as a host
// plays a preset: every port set to the program's value in its unit before
// the plug-in is activated.
// Usage: lv2-golden-check BUNDLE_DIR   (exit 0 when every case matches)
#include "tests/hosting/UridMap.h"
#include "lv2/Lv2Ports.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"
#include "tests/processor/GoldenCases.h"

#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include <dlfcn.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace nadrix;

namespace
{

// The checksum of the golden signal through one instance set up for `c`,
// or 0 when the plug-in cannot be instantiated.
std::uint64_t play (const LV2_Descriptor& plugin, const std::string& bundle, const GoldenCase& c)
{
    UridMap map;
    const LV2_Feature mapFeature { LV2_URID__map, &map.feature };
    const LV2_Feature* features[] = { &mapFeature, nullptr };
    LV2_Handle handle = plugin.instantiate (&plugin, c.rate, bundle.c_str(), features);
    if (handle == nullptr)
        return 0;

    std::vector<float> in[2], out[2];
    for (auto* v : { &in[0], &in[1], &out[0], &out[1] })
        v->resize (goldenBlock);
    std::vector<std::uint64_t> atoms[2] { std::vector<std::uint64_t> (1024), std::vector<std::uint64_t> (1024) };
    atoms[1][0] = 8 * 1024 - 8; // the output sequence's capacity
    float latency = 0, freeWheeling = 0, enabled = 1;
    std::vector<float> ports (ParameterLayout::numParameters);
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        ports[(size_t) i] = ParameterInfo::shownValue (i, FactoryPrograms::normalised (c.program, i));
    if (c.mix >= 0.0f)
        ports[ParameterLayout::mix] = ParameterInfo::shownValue (ParameterLayout::mix, c.mix);

    // A mono host leaves the right input unconnected.
    plugin.connect_port (handle, Lv2Ports::audioInLeft, in[0].data());
    plugin.connect_port (handle, Lv2Ports::audioInRight, c.monoInput ? nullptr : in[1].data());
    plugin.connect_port (handle, Lv2Ports::audioOutLeft, out[0].data());
    plugin.connect_port (handle, Lv2Ports::audioOutRight, out[1].data());
    plugin.connect_port (handle, Lv2Ports::atomIn, atoms[0].data());
    plugin.connect_port (handle, Lv2Ports::atomOut, atoms[1].data());
    plugin.connect_port (handle, Lv2Ports::latency, &latency);
    plugin.connect_port (handle, Lv2Ports::freeWheeling, &freeWheeling);
    plugin.connect_port (handle, Lv2Ports::enabled, &enabled);
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        plugin.connect_port (handle, Lv2Ports::ofParameter (i), &ports[(size_t) i]);
    plugin.activate (handle);

    // A mono track carries the left channel of the golden signal.
    GoldenSignal signal (2);
    GoldenChecksum sum;
    for (int start = 0; start < goldenFrames; start += goldenBlock)
    {
        const int n = std::min (goldenBlock, goldenFrames - start);
        for (int i = 0; i < n; ++i)
            for (int ch = 0; ch < 2; ++ch)
                in[ch][(size_t) i] = signal.next();
        plugin.run (handle, (uint32_t) n);
        for (int i = 0; i < n; ++i)
        {
            sum.add (out[0][(size_t) i]);
            sum.add (out[1][(size_t) i]);
        }
    }
    plugin.deactivate (handle);
    plugin.cleanup (handle);
    return sum.value();
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s BUNDLE_DIR\n", argv[0]);
        return 2;
    }
    const std::string bundle = std::string (argv[1]) + "/";
    void* library = dlopen ((bundle + "Nadrix.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    auto* descriptorOf = library != nullptr ? reinterpret_cast<const LV2_Descriptor* (*) (uint32_t)> (dlsym (library, "lv2_descriptor")) : nullptr;
    const LV2_Descriptor* plugin = descriptorOf != nullptr ? descriptorOf (0) : nullptr;
    if (plugin == nullptr)
    {
        std::fprintf (stderr, "cannot load the plug-in from %s: %s\n", bundle.c_str(), library == nullptr ? dlerror() : "no descriptor");
        return 1;
    }

    int differing = 0;
    for (const auto& c : goldenCases)
    {
        const auto sum = play (*plugin, bundle, c);
        const bool same = sum == c.checksum;
        differing += same ? 0 : 1;
        std::printf ("%-22s%s: %016" PRIx64 " %s\n", FactoryPrograms::names[c.program], c.variant, sum, same ? "as golden" : "DIFFERS");
    }
    std::printf ("%d of %zu cases as golden\n", (int) std::size (goldenCases) - differing, std::size (goldenCases));
    return differing == 0 ? 0 : 1;
}
