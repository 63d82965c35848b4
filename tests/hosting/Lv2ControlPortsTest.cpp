// SPDX-License-Identifier: GPL-3.0-or-later
// The built LV2 plug-in driven through its bare C interface, as Ardour or
// jalv drive it: every parameter is a control port the host owns; a change
// the host makes is applied once, an echo of the plug-in's own value changes
// nothing, and host changes made before a restored state do not undo it.

// LV2's own headers and macros draw this warning from GCC 12.
#pragma GCC diagnostic ignored "-Wparentheses"

#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include "processor/NadrixAudioProcessor.h"
#include "processor/ParameterInfo.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <map>
#include <string>
#include <vector>

namespace nadrix
{
namespace
{
    struct UridMap
    {
        std::map<std::string, LV2_URID> ids;
        LV2_URID_Map feature { this, [] (LV2_URID_Map_Handle self, const char* uri) {
                                  auto& known = static_cast<UridMap*> (self)->ids;
                                  return known.emplace (uri, (LV2_URID) known.size() + 1).first->second;
                              } };
        LV2_URID operator() (const char* uri) { return feature.map (feature.handle, uri); }
    };

    // One plug-in instance with every port connected, run a block at a time.
    struct Lv2Instance
    {
        static constexpr uint32_t blockSize = 512, atomCapacity = 1 << 16;

        explicit Lv2Instance (const std::string& bundle)
        {
            library = dlopen ((bundle + "/libNadrix.so").c_str(), RTLD_NOW | RTLD_LOCAL);
            if (library == nullptr)
                return;
            auto* descriptorOf = reinterpret_cast<const LV2_Descriptor* (*) (uint32_t)> (dlsym (library, "lv2_descriptor"));
            descriptor = descriptorOf != nullptr ? descriptorOf (0) : nullptr;
            if (descriptor == nullptr)
                return;

            const int32_t maxBlock = (int32_t) blockSize;
            options = { { LV2_OPTIONS_INSTANCE, 0, map (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), map (LV2_ATOM__Int), &maxBlock },
                        { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr } };
            const LV2_Feature mapFeature { LV2_URID__map, &map.feature }, optionsFeature { LV2_OPTIONS__options, options.data() },
                              bounded { LV2_BUF_SIZE__boundedBlockLength, nullptr };
            const LV2_Feature* features[] = { &mapFeature, &optionsFeature, &bounded, nullptr };
            handle = descriptor->instantiate (descriptor, 44100.0, bundle.c_str(), features);
            if (handle == nullptr)
                return;

            // Ports 0..3 audio, 4 and 5 the atom input and output, 6..8 latency,
            // free-wheeling, enabled; then one control port per parameter,
            // holding what a host holds at first: the start values.
            for (uint32_t port = 0; port < 4; ++port)
                descriptor->connect_port (handle, port, audio[port].data());
            descriptor->connect_port (handle, 4, input.data());
            descriptor->connect_port (handle, 5, output.data());
            descriptor->connect_port (handle, 6, &latency);
            descriptor->connect_port (handle, 7, &freeWheeling);
            descriptor->connect_port (handle, 8, &enabled);
            NadrixAudioProcessor fresh;
            for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
            {
                ports[(size_t) i] = ParameterInfo::shownValue (i, fresh.getParameterValue (i));
                descriptor->connect_port (handle, 9 + (uint32_t) i, &ports[(size_t) i]);
            }
            state = static_cast<const LV2_State_Interface*> (descriptor->extension_data (LV2_STATE__interface));
            descriptor->activate (handle);
        }

        ~Lv2Instance()
        {
            if (handle != nullptr)
            {
                descriptor->deactivate (handle);
                descriptor->cleanup (handle);
            }
        }

        void run()
        {
            auto* in = reinterpret_cast<LV2_Atom_Sequence*> (input.data());
            in->atom.size = sizeof (LV2_Atom_Sequence_Body);
            in->atom.type = map (LV2_ATOM__Sequence);
            in->body.unit = 0;
            in->body.pad = 0;
            auto* out = reinterpret_cast<LV2_Atom_Sequence*> (output.data());
            out->atom.size = atomCapacity - sizeof (LV2_Atom);
            out->atom.type = map (LV2_ATOM__Chunk);
            descriptor->run (handle, blockSize);
        }

        // The plug-in's values as its state holds them (what its host saves).
        std::vector<float> values()
        {
            std::string text;
            state->save (handle, [] (LV2_State_Handle h, uint32_t, const void* value, size_t size, uint32_t, uint32_t) {
                *static_cast<std::string*> (h) = std::string (static_cast<const char*> (value), size > 0 ? size - 1 : 0);
                return LV2_STATE_SUCCESS;
            }, &text, LV2_STATE_IS_POD, nullptr);
            juce::MemoryBlock chunk;
            chunk.fromBase64Encoding (text);
            const auto* floats = static_cast<const float*> (chunk.getData());
            return std::vector<float> (floats, floats + chunk.getSize() / sizeof (float));
        }

        // Restores a state holding these values, as a host restores a session.
        void restore (std::vector<float> restored)
        {
            juce::MemoryBlock chunk (restored.data(), restored.size() * sizeof (float));
            struct Retrieved { std::string text; LV2_URID key, type; } retrieved { chunk.toBase64Encoding().toStdString(),
                                                                                      map (NADRIX_LV2_URI_TEXT ":StateString"), map (LV2_ATOM__String) };
            state->restore (handle, [] (LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags) -> const void* {
                auto* r = static_cast<Retrieved*> (h);
                if (key != r->key)
                    return nullptr;
                *size = r->text.size() + 1;
                *type = r->type;
                *flags = LV2_STATE_IS_POD;
                return r->text.c_str();
            }, &retrieved, 0, nullptr);
        }

        UridMap map;
        void* library = nullptr;
        const LV2_Descriptor* descriptor = nullptr;
        LV2_Handle handle = nullptr;
        std::vector<LV2_Options_Option> options;
        std::vector<float> audio[4] { std::vector<float> (blockSize), std::vector<float> (blockSize), std::vector<float> (blockSize),
                                      std::vector<float> (blockSize) };
        std::vector<uint64_t> input = std::vector<uint64_t> (atomCapacity / 8), output = std::vector<uint64_t> (atomCapacity / 8);
        float latency = 0.0f, freeWheeling = 0.0f, enabled = 1.0f;
        std::vector<float> ports = std::vector<float> (NadrixAudioProcessor::numParameters);
        const LV2_State_Interface* state = nullptr;
    };
}

TEST (Lv2Ports, TheHostsChangesApplyOnceAndAreNotLetUndoARestore)
{
    Lv2Instance plugin (NADRIX_LV2_BUNDLE);
    ASSERT_NE (plugin.handle, nullptr) << dlerror();
    ASSERT_NE (plugin.state, nullptr);
    NadrixAudioProcessor fresh;
    std::vector<float> start;
    for (int i = 0; i < NadrixAudioProcessor::numParameters; ++i)
        start.push_back (fresh.getParameterValue (i));

    // Ports holding the start values in their units change nothing, not by a rounding.
    plugin.run();
    EXPECT_EQ (plugin.values(), start);

    // A host's change, in the parameter's units, applies; the same port value again changes nothing.
    const int mix = 0, delay = ParameterLayout::indexOf (3, ParameterLayout::delayTime);
    plugin.ports[mix] = 50.0f;            // %
    plugin.ports[(size_t) delay] = 250.0f; // ms
    plugin.run();
    auto values = plugin.values();
    EXPECT_EQ (values[mix], 0.5f);
    EXPECT_EQ (values[(size_t) delay], 0.25f);
    plugin.run();
    EXPECT_EQ (plugin.values(), values);

    // The host moves Mix, then restores a session before the next block:
    // the restored values stand, and the next change of the port applies.
    plugin.ports[mix] = 60.0f;
    auto session = start;
    session[mix] = 0.25f;
    plugin.restore (session);
    plugin.run();
    EXPECT_EQ (plugin.values(), session);
    plugin.ports[mix] = 70.0f;
    plugin.run();
    EXPECT_FLOAT_EQ (plugin.values()[mix], 0.7f);
}
} // namespace nadrix
