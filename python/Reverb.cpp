// SPDX-License-Identifier: GPL-3.0-or-later
#include "python/Reverb.h"

#include "processor/EngineRate.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"
#include "processor/TailLength.h"
#include "ui/editor/SeededDraws.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace nadrix
{
namespace
{
    std::array<float, Reverb::numParameters> startValues()
    {
        std::array<float, Reverb::numParameters> v;
        for (int i = 0; i < Reverb::numParameters; ++i)
            v[(size_t) i] = FactoryPrograms::normalised (FactoryPrograms::startProgram, i);
        return v;
    }
}

// Before a host prepares it, the plug-in runs on 44.1 kHz's time base; the
// steps of a set-up before the first block take place there, as they do
// in nadrix-render.
Reverb::Reverb (double sampleRate)
    : rate (sampleRate),
      engineRate (engineRateFor (0.0)),
      values (startValues()),
      engine (engineRate, FactoryPrograms::engineValues (FactoryPrograms::startProgram).data())
{
}

bool Reverb::take (int index, float normalised, Takes when)
{
    if (index < 0 || index >= numParameters || ! std::isfinite (normalised))
        return false;
    const float held = std::clamp (normalised, 0.0f, 1.0f);
    if (values[(size_t) index] == held)
        return false;
    values[(size_t) index] = held;
    const float engineValue = ParameterInfo::engineValue (index, held);
    if (when == Takes::now)
        engine.setParameter (index, engineValue);
    else
        engine.setParameterForRestart (index, engineValue);
    return true;
}

void Reverb::startAfresh()
{
    engine.restart (engineRate);
    engine.releaseReplacedLines();
}

void Reverb::restoreState (const std::array<unsigned char, stateBytes>& state)
{
    for (int i = 0; i < numParameters; ++i)
    {
        std::uint32_t bits = 0;
        for (int b = 3; b >= 0; --b) // little-endian, whatever this machine is
            bits = (bits << 8) | state[(size_t) (4 * i + b)];
        float value;
        std::memcpy (&value, &bits, sizeof (value));
        take (i, value, Takes::atRestart);
    }
    startAfresh();
}

std::array<unsigned char, Reverb::stateBytes> Reverb::saveState() const
{
    std::array<unsigned char, stateBytes> state;
    for (int i = 0; i < numParameters; ++i)
    {
        std::uint32_t bits;
        std::memcpy (&bits, &values[(size_t) i], sizeof (bits));
        for (int b = 0; b < 4; ++b)
            state[(size_t) (4 * i + b)] = (unsigned char) (bits >> (8 * b));
    }
    return state;
}

void Reverb::selectProgram (int program)
{
    if (program < 0 || program >= FactoryPrograms::count)
        return;
    for (int i = 0; i < numParameters; ++i)
        take (i, FactoryPrograms::normalised (program, i), Takes::atRestart);
    startAfresh();
}

void Reverb::buildRandomRoom (std::uint32_t seed, const RandomRenderSettings& settings)
{
    SeededDraws draws (seed);
    renderRandomReverb (settings, [this] (int index, float value) { take (index, value, Takes::now); }, std::ref (draws));
}

void Reverb::set (int index, float normalised)
{
    take (index, normalised, Takes::now);
}

void Reverb::reset()
{
    startAfresh();
}

void Reverb::prepare()
{
    if (prepared)
        return;
    engineRate = engineRateFor (rate);
    engine.prepare (engineRate);
    engine.releaseReplacedLines();
    prepared = true;
}

std::int64_t Reverb::process (float* left, float* right, bool stereoInput, std::int64_t frames)
{
    prepare();
    std::int64_t replaced = 0;
    constexpr std::int64_t longestBlock = 1 << 20;
    for (std::int64_t done = 0; done < frames;)
    {
        const auto n = std::min (longestBlock, frames - done);
        replaced += path.process (left + done, right + done, stereoInput, (int) n);
        done += n;
    }
    return replaced;
}

double Reverb::tailSeconds() const
{
    // In seconds of the given rate: below the rates the engine runs at, its
    // 44.1 kHz time base makes its seconds last longer.
    return reverbTailSeconds (engine) * std::max (1.0, (double) engineRate / rate);
}
} // namespace nadrix
