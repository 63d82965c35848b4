// SPDX-License-Identifier: GPL-3.0-or-later
// The built LV2 plug-in driven through its bare C interface, with no more
// than it requires (a URID map): every parameter is a control port the host
// owns and the only store of its value. A change the host makes applies once,
// a port holding the value already changes nothing, and after a restore the
// plug-in sounds as its ports read.

// LV2's own headers and macros draw this warning from GCC 12.
#pragma GCC diagnostic ignored "-Wparentheses"

#include "tests/hosting/UridMap.h"
#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include "processor/NadrixAudioProcessor.h"
#include "processor/ParameterInfo.h"
#include "tests/processor/ProcessorTestHelpers.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <map>
#include <string>
#include <vector>

namespace nadrix
{
namespace
{

    // One plug-in instance with every port connected, run a block at a time.
    struct Lv2Instance
    {
        static constexpr uint32_t blockSize = 512, atomCapacity = 1 << 16;

        explicit Lv2Instance (const std::string& bundle)
        {
            library = dlopen ((bundle + "/Nadrix.so").c_str(), RTLD_NOW | RTLD_LOCAL);
            if (library == nullptr)
                return;
            auto* descriptorOf = reinterpret_cast<const LV2_Descriptor* (*) (uint32_t)> (dlsym (library, "lv2_descriptor"));
            descriptor = descriptorOf != nullptr ? descriptorOf (0) : nullptr;
            if (descriptor == nullptr)
                return;

            const LV2_Feature mapFeature { LV2_URID__map, &map.feature };
            const LV2_Feature* features[] = { &mapFeature, nullptr };
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

        // A block of `in` on both inputs; the output, interleaved.
        std::vector<float> run (const std::vector<float>& in)
        {
            audio[0] = audio[1] = in;
            auto* events = reinterpret_cast<LV2_Atom_Sequence*> (input.data());
            events->atom.size = sizeof (LV2_Atom_Sequence_Body);
            events->atom.type = map (LV2_ATOM__Sequence);
            events->body.unit = 0;
            events->body.pad = 0;
            auto* notices = reinterpret_cast<LV2_Atom_Sequence*> (output.data());
            notices->atom.size = atomCapacity - sizeof (LV2_Atom);
            notices->atom.type = map (LV2_ATOM__Chunk);
            descriptor->run (handle, blockSize);
            std::vector<float> out;
            for (uint32_t i = 0; i < blockSize; ++i)
            {
                out.push_back (audio[2][i]);
                out.push_back (audio[3][i]);
            }
            return out;
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
        std::vector<float> audio[4] { std::vector<float> (blockSize), std::vector<float> (blockSize), std::vector<float> (blockSize),
                                      std::vector<float> (blockSize) };
        std::vector<uint64_t> input = std::vector<uint64_t> (atomCapacity / 8), output = std::vector<uint64_t> (atomCapacity / 8);
        float latency = 0.0f, freeWheeling = 0.0f, enabled = 1.0f;
        std::vector<float> ports = std::vector<float> (NadrixAudioProcessor::numParameters);
        const LV2_State_Interface* state = nullptr;
    };
}

TEST (Lv2Ports, TheHostsPortsAreTheOnlyStoreOfEveryValue)
{
    Lv2Instance plugin (NADRIX_LV2_BUNDLE);
    ASSERT_NE (plugin.handle, nullptr) << dlerror();
    ASSERT_NE (plugin.state, nullptr);

    // The same values reach a local processor through its parameters.
    NadrixAudioProcessor local;
    local.setRateAndBufferSizeDetails (44100.0, (int) Lv2Instance::blockSize);
    local.prepareToPlay (44100.0, (int) Lv2Instance::blockSize);
    unsigned seed = 1;
    const auto bothRun = [&] {
        auto audio = noiseBuffer (2, (int) Lv2Instance::blockSize, seed++);
        audio.copyFrom (1, 0, audio, 0, 0, (int) Lv2Instance::blockSize);
        const std::vector<float> in (audio.getReadPointer (0), audio.getReadPointer (0) + Lv2Instance::blockSize);
        const auto out = plugin.run (in);
        processInBlocks (local, audio, (int) Lv2Instance::blockSize);
        for (uint32_t i = 0; i < Lv2Instance::blockSize; ++i)
            if (out[2 * i] != audio.getSample (0, (int) i) || out[2 * i + 1] != audio.getSample (1, (int) i))
                return false;
        return true;
    };

    // Ports holding the start values in their units change nothing, not by a rounding.
    EXPECT_TRUE (bothRun());

    // A host's change, in the parameter's units, applies once.
    const int mix = 0, delay = ParameterLayout::indexOf (3, ParameterLayout::delayTime);
    plugin.ports[mix] = 50.0f;             // %
    plugin.ports[(size_t) delay] = 250.0f; // ms
    local.setParameter (mix, 0.5f);
    local.setParameter (delay, 0.25f);
    EXPECT_TRUE (bothRun());
    EXPECT_TRUE (bothRun());

    // The host moves Mix, then restores a session of 0.3.0 (every value in
    // its chunk) without setting the ports: the plug-in starts afresh with
    // the session, and the one port that says otherwise is heard.
    plugin.ports[mix] = 60.0f;
    std::vector<float> session;
    for (int i = 0; i < ParameterLayout::numParameters; ++i)
        session.push_back (ParameterInfo::normalisedFromShown (i, plugin.ports[(size_t) i]));
    session[mix] = 0.25f;
    session[(size_t) delay] = 0.125f;
    plugin.ports[(size_t) delay] = 125.0f;
    plugin.restore (session);
    local.setStateInformation (session.data(), (int) (session.size() * sizeof (float)));
    local.setParameter (mix, 0.6f);
    EXPECT_TRUE (bothRun());
}
} // namespace nadrix
