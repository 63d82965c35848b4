// SPDX-License-Identifier: GPL-3.0-or-later
// The built LV2 plug-in driven through its bare C interface, as Ardour or
// jalv drive it: the messages it sends its host tell the host every value
// at the first run() and whenever the host asks with patch:Get.

// LV2's own headers and macros draw this warning from GCC 12.
#pragma GCC diagnostic ignored "-Wparentheses"

#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/patch/patch.h>
#include <lv2/urid/urid.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <map>
#include <string>
#include <vector>

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

            // Ports 0..3 audio, 4 and 5 the atom input and output, 6..8 latency, free-wheeling, enabled.
            for (uint32_t port = 0; port < 4; ++port)
                descriptor->connect_port (handle, port, audio[port].data());
            descriptor->connect_port (handle, 4, input.data());
            descriptor->connect_port (handle, 5, output.data());
            descriptor->connect_port (handle, 6, &latency);
            descriptor->connect_port (handle, 7, &freeWheeling);
            descriptor->connect_port (handle, 8, &enabled);
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

        // One block; the host's message, if any, is a patch:Get. Returns the
        // values the plug-in sent back, by property.
        std::map<LV2_URID, float> run (bool askForValues)
        {
            LV2_Atom_Forge forge;
            lv2_atom_forge_init (&forge, &map.feature);
            lv2_atom_forge_set_buffer (&forge, reinterpret_cast<uint8_t*> (input.data()), atomCapacity);
            LV2_Atom_Forge_Frame sequence, object;
            lv2_atom_forge_sequence_head (&forge, &sequence, 0);
            if (askForValues)
            {
                lv2_atom_forge_frame_time (&forge, 0);
                lv2_atom_forge_object (&forge, &object, 0, map (LV2_PATCH__Get));
                lv2_atom_forge_pop (&forge, &object);
            }
            lv2_atom_forge_pop (&forge, &sequence);

            auto* out = reinterpret_cast<LV2_Atom_Sequence*> (output.data());
            out->atom.size = atomCapacity - sizeof (LV2_Atom);
            out->atom.type = map (LV2_ATOM__Chunk);
            descriptor->run (handle, blockSize);

            std::map<LV2_URID, float> values;
            LV2_ATOM_SEQUENCE_FOREACH (out, event)
            {
                const auto* message = reinterpret_cast<const LV2_Atom_Object*> (&event->body);
                if (message->body.otype != map (LV2_PATCH__Set))
                    continue;
                const LV2_Atom* property = nullptr;
                const LV2_Atom* value = nullptr;
                lv2_atom_object_get (message, map (LV2_PATCH__property), &property, map (LV2_PATCH__value), &value, 0);
                if (property != nullptr && value != nullptr && value->type == map (LV2_ATOM__Float))
                    values[reinterpret_cast<const LV2_Atom_URID*> (property)->body] = reinterpret_cast<const LV2_Atom_Float*> (value)->body;
            }
            return values;
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
    };
}

TEST (Lv2Messages, TheHostHearsEveryValueAtTheFirstRunAndWhenItAsks)
{
    Lv2Instance plugin (NADRIX_LV2_BUNDLE);
    ASSERT_NE (plugin.handle, nullptr) << dlerror();
    const auto mix = plugin.map (NADRIX_LV2_URI_TEXT ":Mix");

    const auto first = plugin.run (false);
    EXPECT_EQ (first.size(), 357u);
    ASSERT_EQ (first.count (mix), 1u);
    EXPECT_FLOAT_EQ (first.at (mix), 0.845852f); // "Small Complex Room", the start values

    EXPECT_TRUE (plugin.run (false).empty()); // nothing changed, nothing sent
    EXPECT_EQ (plugin.run (true).size(), 357u);
    EXPECT_TRUE (plugin.run (false).empty());
}
