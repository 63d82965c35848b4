// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/Lv2Plugin.h"

#include "lv2/Lv2Uris.h"
#include "lv2/SavedValues.h"
#include "processor/EngineRate.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"

#include <lv2/atom/atom.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

namespace nadrix
{
namespace
{
    template <typename Data>
    const Data* featureData (const LV2_Feature* const* features, const char* uri)
    {
        for (auto f = features; f != nullptr && *f != nullptr; ++f)
            if (std::strcmp ((*f)->URI, uri) == 0)
                return static_cast<const Data*> ((*f)->data);
        return nullptr;
    }

    // A worker's job: the engine value of one length parameter.
    struct LengthJob
    {
        int32_t index;
        float value;
    };

    // The job a worker message holds, if it is one.
    std::optional<LengthJob> jobIn (uint32_t size, const void* data) noexcept
    {
        if (size != sizeof (LengthJob) || data == nullptr)
            return std::nullopt;
        LengthJob job;
        std::memcpy (&job, data, sizeof (job));
        if (job.index < 0 || job.index >= ParameterLayout::numParameters)
            return std::nullopt;
        return job;
    }

    constexpr float none = std::numeric_limits<float>::quiet_NaN();

    bool sameBits (float a, float b) noexcept { return std::memcmp (&a, &b, sizeof (float)) == 0; }
}

std::unique_ptr<Lv2Plugin> Lv2Plugin::create (double sampleRate, const LV2_Feature* const* features)
{
    const auto* map = featureData<LV2_URID_Map> (features, LV2_URID__map);
    if (map == nullptr || ! std::isfinite (sampleRate))
        return nullptr;
    return std::unique_ptr<Lv2Plugin> (new Lv2Plugin (engineRateFor (sampleRate), *map, featureData<LV2_Worker_Schedule> (features, LV2_WORKER__schedule)));
}

Lv2Plugin::Lv2Plugin (float sampleRate, const LV2_URID_Map& map, const LV2_Worker_Schedule* workerSchedule)
    : rate (sampleRate),
      urids { map.map (map.handle, LV2_ATOM__Int), map.map (map.handle, LV2_ATOM__String), map.map (map.handle, LV2_ATOM__Sequence),
              map.map (map.handle, Lv2Uris::program), map.map (map.handle, Lv2Uris::stateString) },
      schedule (workerSchedule),
      engine (sampleRate, FactoryPrograms::engineValues (FactoryPrograms::startProgram).data())
{
    std::fill (std::begin (waiting), std::end (waiting), none);
    engine.prepare (rate); // memory for the start values, here rather than in the first run
}

void Lv2Plugin::connect (uint32_t port, void* data) noexcept
{
    using namespace Lv2Ports;
    switch (port)
    {
        case audioInLeft: audioIn[0] = static_cast<const float*> (data); return;
        case audioInRight: audioIn[1] = static_cast<const float*> (data); return;
        case audioOutLeft: audioOut[0] = static_cast<float*> (data); return;
        case audioOutRight: audioOut[1] = static_cast<float*> (data); return;
        case atomIn: return; // nothing arrives there
        case atomOut: atomSequenceOut = static_cast<LV2_Atom_Sequence*> (data); return;
        case latency: latencyPort = static_cast<float*> (data); return;
        case freeWheeling: freeWheelingPort = static_cast<const float*> (data); return;
        case enabled: enabledPort = static_cast<const float*> (data); return;
        default:
            if (const int index = parameterOf (port); index >= 0)
                parameters.connect (index, static_cast<const float*> (data));
            return;
    }
}

void Lv2Plugin::activate()
{
    // Whatever the host set before activating is where the reverb starts.
    // A reverb that has not run since it started, with no port changed (a
    // new instance, as a rule), is that start already: a restart would only
    // hold a second set of lines until the host next calls outside run().
    engine.releaseReplacedLines();
    bool changed = false;
    parameters.takeChanges ([this, &changed] (int index, float n) {
        engine.setParameterForRestart (index, ParameterInfo::engineValue (index, n));
        changed = true;
    });
    std::fill (std::begin (waiting), std::end (waiting), none);
    if (changed || playedSinceStart)
        engine.restart (rate);
    playedSinceStart = false;
}

void Lv2Plugin::deactivate()
{
    engine.releaseReplacedLines();
}

void Lv2Plugin::apply (int index, float normalised) noexcept
{
    const float value = ParameterInfo::engineValue (index, normalised);

    // Offline, or without a worker, the memory is backed here; a render
    // waits for nothing, and sounds the same every time.
    const bool offline = freeWheelingPort != nullptr && *freeWheelingPort > 0.5f;
    if (offline || schedule == nullptr || ! playedSinceStart || engine.holdsMemoryFor (index, value))
    {
        waiting[index] = none;
        engine.setParameter (index, value);
        return;
    }

    const LengthJob job { index, value };
    waiting[index] = value;
    if (schedule->schedule_work (schedule->handle, sizeof (job), &job) != LV2_WORKER_SUCCESS)
    {
        waiting[index] = none;
        engine.setParameter (index, value);
    }
}

LV2_Worker_Status Lv2Plugin::work (LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle, uint32_t size, const void* data)
{
    const auto job = jobIn (size, data);
    if (! job.has_value())
        return LV2_WORKER_ERR_UNKNOWN;

    engine.backMemoryFor (job->index, job->value);
    engine.releaseReplacedLines(); // the worker is a good place to free what restarts replaced
    return respond (handle, sizeof (*job), &*job);
}

LV2_Worker_Status Lv2Plugin::workResponse (uint32_t size, const void* data) noexcept
{
    const auto job = jobIn (size, data);
    if (! job.has_value())
        return LV2_WORKER_ERR_UNKNOWN;

    // A newer value of the same port has its own job, or applied at once.
    if (sameBits (waiting[job->index], job->value))
    {
        waiting[job->index] = none;
        engine.setParameter (job->index, job->value);
    }
    return LV2_WORKER_SUCCESS;
}

void Lv2Plugin::writeEmptySequence() noexcept
{
    if (atomSequenceOut == nullptr || atomSequenceOut->atom.size < sizeof (LV2_Atom_Sequence_Body))
        return;
    atomSequenceOut->atom.type = urids.atomSequence;
    atomSequenceOut->atom.size = sizeof (LV2_Atom_Sequence_Body);
    atomSequenceOut->body.unit = 0;
    atomSequenceOut->body.pad = 0;
}

void Lv2Plugin::run (uint32_t frames) noexcept
{
    parameters.takeChanges ([this] (int index, float n) { apply (index, n); });
    if (latencyPort != nullptr)
        *latencyPort = 0.0f;
    writeEmptySequence();

    float* left = audioOut[0];
    float* right = audioOut[1];
    if (left == nullptr || frames == 0)
        return;

    const auto n = (size_t) frames;
    const auto copyIn = [n] (const float* from, float* to) {
        if (to == nullptr || to == from)
            return;
        if (from == nullptr)
            std::fill (to, to + n, 0.0f);
        else
            std::memmove (to, from, n * sizeof (float));
    };
    copyIn (audioIn[0], left);
    copyIn (audioIn[1] != nullptr ? audioIn[1] : audioIn[0], right);

    // Switched off by the host: the input passes as it came.
    if (enabledPort != nullptr && ! (*enabledPort > 0.5f))
        return;

    path.process (left, right, audioIn[1] != nullptr, (int) frames);
    playedSinceStart = true;
}

LV2_State_Status Lv2Plugin::save (LV2_State_Store_Function, LV2_State_Handle, uint32_t, const LV2_Feature* const*)
{
    // Every value is a port, which the host saves itself: nothing to add.
    return LV2_STATE_SUCCESS;
}

LV2_State_Status Lv2Plugin::restore (LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, uint32_t, const LV2_Feature* const*)
{
    size_t size = 0;
    uint32_t type = 0, flags = 0;

    if (const void* program = retrieve (handle, urids.program, &size, &type, &flags); program != nullptr && type == urids.atomInt && size == sizeof (int32_t))
    {
        int32_t number;
        std::memcpy (&number, program, sizeof (number));
        if (number < 0 || number >= FactoryPrograms::count)
            return LV2_STATE_ERR_UNKNOWN;
        std::vector<float> values ((size_t) ParameterLayout::numParameters);
        for (int i = 0; i < ParameterLayout::numParameters; ++i)
            values[(size_t) i] = FactoryPrograms::normalised (number, i);
        startAfresh (values);
        return LV2_STATE_SUCCESS;
    }

    if (const void* text = retrieve (handle, urids.stateString, &size, &type, &flags); text != nullptr && type == urids.atomString)
    {
        const auto values = savedValuesFromText (std::string_view (static_cast<const char*> (text), size));
        if (values.empty())
            return LV2_STATE_ERR_UNKNOWN;
        startAfresh (values);
    }
    return LV2_STATE_SUCCESS;
}

void Lv2Plugin::startAfresh (const std::vector<float>& normalisedValues)
{
    engine.releaseReplacedLines();
    for (size_t i = 0; i < normalisedValues.size() && i < (size_t) ParameterLayout::numParameters; ++i)
    {
        const float v = normalisedValues[i];
        if (! std::isfinite (v))
            continue; // a damaged value keeps the one held
        const float held = std::clamp (v, 0.0f, 1.0f);
        parameters.restored ((int) i, held);
        engine.setParameterForRestart ((int) i, ParameterInfo::engineValue ((int) i, held));
    }
    std::fill (std::begin (waiting), std::end (waiting), none);
    engine.restart (rate);
    playedSinceStart = false;
}
} // namespace nadrix
