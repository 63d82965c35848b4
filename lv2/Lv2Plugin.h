// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReverbEngine.h"
#include "lv2/Lv2Ports.h"
#include "lv2/ParameterPorts.h"
#include "processor/AudioPath.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <memory>
#include <vector>

namespace nadrix
{
// One instance of the LV2 plug-in: the engine behind the audio path, its
// values read from the host's control ports (the only store of them).
//
// A length the engine has no memory for yet is not set on the audio thread:
// the host's worker backs it first and the value applies in the run after
// (at once when the host renders offline, has no worker, or sets its ports
// between starting the reverb and its first block, as a host reopening a
// session may: a session then sounds the same each time it is opened). A restore of a
// factory preset or of a state saved by 0.3.0 starts the reverb afresh with
// its values, as a program or a restored state does in every other format;
// states saved now hold nothing but the ports.
class Lv2Plugin
{
public:
    // Null without a URID map, which the state's types need.
    static std::unique_ptr<Lv2Plugin> create (double sampleRate, const LV2_Feature* const* features);

    void connect (uint32_t port, void* data) noexcept;
    // Not the audio thread: the reverb starts from silence with the values
    // the ports hold (or held last).
    void activate();
    void run (uint32_t frames) noexcept;
    void deactivate();

    // The worker's side, on the host's worker thread: memory for a length.
    LV2_Worker_Status work (LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle, uint32_t size, const void* data);
    // Back on the audio thread: the length applies, unless a newer one came.
    LV2_Worker_Status workResponse (uint32_t size, const void* data) noexcept;

    LV2_State_Status save (LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t flags, const LV2_Feature* const* features);
    LV2_State_Status restore (LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, uint32_t flags, const LV2_Feature* const* features);

private:
    Lv2Plugin (float rate, const LV2_URID_Map& map, const LV2_Worker_Schedule* schedule);

    void apply (int index, float normalised) noexcept;
    void startAfresh (const std::vector<float>& normalisedValues);
    void writeEmptySequence() noexcept;

    struct Urids
    {
        LV2_URID atomInt, atomString, atomSequence, program, stateString;
    };

    const float rate;
    const Urids urids;
    const LV2_Worker_Schedule* const schedule;
    ReverbEngine engine;
    AudioPath path { engine };
    ParameterPorts parameters;

    const float* audioIn[2] {};
    float* audioOut[2] {};
    LV2_Atom_Sequence* atomSequenceOut = nullptr;
    float* latencyPort = nullptr;
    const float* freeWheelingPort = nullptr;
    const float* enabledPort = nullptr;

    // The engine value of a length waiting for its memory, by parameter
    // (not a number: none waits).
    float waiting[ParameterLayout::numParameters];
    // Whether the reverb has run a block since it last started afresh.
    bool playedSinceStart = false;
};
} // namespace nadrix
