// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReverbEngine.h"

#include "engine/ConstructionTable.h"

#include <new>

namespace nadrix
{
namespace
{
    constexpr auto relaxed = std::memory_order_relaxed;
    constexpr auto sequential = std::memory_order_seq_cst;
}

ReverbEngine::ReverbEngine (float sampleRate, const float* startValues)
    : settings (sampleRate),
      lines (std::make_unique<LineSet> (sampleRate))
{
    using namespace ParameterLayout;

    // Its rings are backed with memory once the engine is prepared (or as
    // the audio thread first runs them, without that).
    liveSets.add (lines.get());
    linesHaveMemory.store (lines->hasMemory());

    for (int j = 0; j < numLines; ++j)
    {
        const float* d = ConstructionTable + indexOf (j, 0);
        PanGains_Set (&panGains[j], d[pan]);
        hcGain[j] = d[ParameterLayout::hcGain];
        active[j] = d[ParameterLayout::active];
        predelayGain[j] = d[ParameterLayout::predelayGain];
    }

    ThreeBandState_Init (&splitter, (int) settings.lowSplitFrequency.load (relaxed), (int) settings.midSplitFrequency.load (relaxed), (int) lines->sampleRate);
    if (lines->hasMemory())
        refreshRunningLines();

    // The start values, taken over by the first block; memory for their
    // lengths comes with prepare.
    if (startValues != nullptr)
        for (int i = 0; i < numParameters; ++i)
            store (i, startValues[i], Backing::byPrepare);
}

ReverbEngine::~ReverbEngine() = default;

//==============================================================================
void ReverbEngine::setParameter (int index, float value)
{
    store (index, value, Backing::now);
}

void ReverbEngine::setParameterForRestart (int index, float value)
{
    store (index, value, Backing::byRestart);
}

void ReverbEngine::store (int index, float value, Backing backing)
{
    using namespace ParameterLayout;

    const int j = index >= numGlobals && index < numParameters ? lineOf (index) : -1;
    const int kind = j >= 0 ? kindOf (index) : -1;
    const bool newLength = kind == predelay || kind == delayTime;

    // A value for the restart alone: the line takes nothing over before the
    // restart's fresh lines come, so no length reaches the running lines
    // without memory (a change made before, not yet taken over, waits too).
    if (backing == Backing::byRestart && j >= 0)
        settings.cancelTakeOver (j);

    // A new length is backed with memory in every set that may run it before
    // the value is stored, so the audio thread cannot take it over first.
    if (backing == Backing::now && newLength)
    {
        const LineRequest& r = settings.line (j);
        liveSets.populate (j, kind == delayTime ? value : r.delayTime.load (relaxed), kind == predelay ? value : r.predelay.load (relaxed));
    }

    if (settings.store (index, value).line < 0)
        return;

    if (backing == Backing::now && newLength)
    {
        // A restart that listed fresh lines after the populating above
        // either read this value or is seen here: the value's store and the
        // list's reads here, and the listing and the value's reads there,
        // are all sequentially consistent.
        populateLine (j);
    }
    if (backing != Backing::byRestart)
        settings.requestTakeOver (uint64_t { 1 } << j);
}

namespace
{
    // The line and both lengths it would run with `value` set, for a length parameter.
    struct Lengths
    {
        int line = -1;
        float delayTime = 0.0f, predelay = 0.0f;
    };

    Lengths lengthsWith (const EngineSettings& settings, int index, float value) noexcept
    {
        using namespace ParameterLayout;
        if (index < numGlobals || index >= numParameters || (kindOf (index) != predelay && kindOf (index) != delayTime))
            return {};
        const LineRequest& r = settings.line (lineOf (index));
        return { lineOf (index), kindOf (index) == delayTime ? value : r.delayTime.load (relaxed), kindOf (index) == predelay ? value : r.predelay.load (relaxed) };
    }
}

bool ReverbEngine::holdsMemoryFor (int index, float value) noexcept
{
    const Lengths l = lengthsWith (settings, index, value);
    return l.line < 0 || liveSets.reaches (l.line, l.delayTime, l.predelay);
}

void ReverbEngine::backMemoryFor (int index, float value) noexcept
{
    const Lengths l = lengthsWith (settings, index, value);
    if (l.line >= 0)
        liveSets.populate (l.line, l.delayTime, l.predelay);
}

void ReverbEngine::populateLine (int line) noexcept
{
    const LineRequest& r = settings.line (line);
    liveSets.populate (line, r.delayTime.load (relaxed), r.predelay.load (relaxed));
}

bool ReverbEngine::restart (float sampleRate)
{
    const std::lock_guard<std::mutex> lock (restartLock);
    std::unique_ptr<LineSet> fresh (new (std::nothrow) LineSet (sampleRate));
    if (fresh == nullptr || ! fresh->hasMemory())
        return false;

    if (sampleRate != settings.rate())
        settings.changeRate (sampleRate);

    // Listed first, then backed as far as the current settings reach: a
    // length set meanwhile on another thread is either read here or backs
    // the listed set itself (see store).
    liveSets.add (fresh.get());
    for (int j = 0; j < numLines; ++j)
        fresh->populate (j, settings.line (j).delayTime.load (sequential), settings.line (j).predelay.load (sequential));

    freshLines.offer (std::move (fresh));
    linesHaveMemory.store (true);
    return true;
}

void ReverbEngine::releaseReplacedLines()
{
    const std::lock_guard<std::mutex> lock (restartLock);
    freshLines.collect();
}

void ReverbEngine::prepare (float sampleRate)
{
    if (sampleRate != settings.rate())
    {
        restart (sampleRate);
        return;
    }

    for (int j = 0; j < numLines; ++j)
        populateLine (j);
}
} // namespace nadrix
