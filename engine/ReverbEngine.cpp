// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReverbEngine.h"

#include "engine/ConstructionTable.h"
#include "engine/LineActivity.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    constexpr auto relaxed = std::memory_order_relaxed;
    constexpr auto acquire = std::memory_order_acquire;
    constexpr auto release = std::memory_order_release;
    constexpr auto sequential = std::memory_order_seq_cst;

    constexpr float referenceRate = 44100.0f; // the rate the construction table was made for

    float crossfadeGain (float share)
    {
        // The angle is formed in double from the float share and rounded to float for cosf.
        return std::cos ((float) ((double) share * M_PI * 0.5));
    }
}

ReverbEngine::ReverbEngine (float sampleRate, const float* startValues)
    : settings (sampleRate),
      lines (std::make_unique<LineSet> (sampleRate))
{
    using namespace ParameterLayout;

    // Its rings are backed with memory once the engine is prepared (or as
    // the audio thread first runs them, without that).
    liveSets.add (lines.get());

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

void ReverbEngine::populateLine (int line) noexcept
{
    const LineRequest& r = settings.line (line);
    liveSets.populate (line, r.delayTime.load (relaxed), r.predelay.load (relaxed));
}

bool ReverbEngine::restart (float sampleRate)
{
    const std::lock_guard<std::mutex> lock (restartLock);
    auto fresh = std::make_unique<LineSet> (sampleRate);
    if (! fresh->hasMemory())
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

void ReverbEngine::takeOverRequests()
{
    bool linesChanged = takeOverFreshLines();
    if (! lines->hasMemory())
    {
        // Nothing to take over into lines that never run; a restart that
        // finds memory brings lines that take everything.
        settings.takePending();
        silenceRequested.store (false, relaxed);
        return;
    }
    if (silenceRequested.load (relaxed) && silenceRequested.exchange (false, acquire))
    {
        silenceLines();
        linesChanged = true;
    }

    if (const uint64_t pending = settings.takePending(); pending != 0)
    {
        if ((pending & EngineSettings::splitChanged) != 0)
            ThreeBandState_Update (&splitter,
                                (int) settings.lowSplitFrequency.load (relaxed),
                                (int) settings.midSplitFrequency.load (relaxed),
                                (int) lines->sampleRate);

        for (int j = 0; j < numLines; ++j)
            if ((pending & (uint64_t { 1 } << j)) != 0)
            {
                takeOverLine (j, Start::continuing);
                linesChanged = true;
            }
    }

    if (linesChanged)
        refreshRunningLines();
}

void ReverbEngine::refreshRunningLines()
{
    numRunning = 0;
    countedLines = 0;
    for (int j = 0; j < numLines; ++j)
    {
        countedLines += LineActivity::isCounted (active[j]) ? 1 : 0;
        if (LineActivity::isRunning (active[j])) // exactly one half runs, though the level does not count it
            runningLines[numRunning++] = { lines->delayLines[j], lines->modLines[j], (double) predelayGain[j], (double) hcGain[j],
                                           panGains[j].left, panGains[j].right, ModLine_Reads_Unmodulated (lines->modLines[j]) };
    }
}

bool ReverbEngine::takeOverFreshLines()
{
    LineSet* fresh = freshLines.take();
    if (fresh == nullptr)
        return false;

    liveSets.retire (lines.get());
    freshLines.giveBack (lines.release()); // freed off the audio thread
    lines.reset (fresh);

    // Every line is taken over below: requests made before this point need no
    // second take-over; later ones set their bits again.
    settings.takePending();

    // The splitter as a fresh engine has it: silent, tuned to the current splits.
    ThreeBandState_Init (&splitter, (int) settings.lowSplitFrequency.load (relaxed), (int) settings.midSplitFrequency.load (relaxed), (int) lines->sampleRate);

    for (int j = 0; j < numLines; ++j)
        takeOverLine (j, Start::freshLines);
    return true;
}

void ReverbEngine::silenceLines()
{
    settings.takePending();
    ThreeBandState_Init (&splitter, (int) settings.lowSplitFrequency.load (relaxed), (int) settings.midSplitFrequency.load (relaxed), (int) lines->sampleRate);

    for (int j = 0; j < numLines; ++j)
    {
        DelayLine_Restart (lines->delayLines[j]);
        ModLine_Restart (lines->modLines[j], ConstructionTable[ParameterLayout::indexOf (j, ParameterLayout::predelay)]);
        takeOverLine (j, Start::silencedLines);
    }
}

void ReverbEngine::takeOverLine (int line, Start start)
{
    LineRequest& r = settings.line (line);
    DelayLine* comb = lines->delayLines[line];

    // The length at the lines' own rate; a flagged change clears the ring
    // even when the length comes back to where it was.
    const bool changed = r.clearRing.exchange (false, acquire);
    const int32_t length = DelayLine_Length_For_Time (comb, r.delayTime.load (relaxed));
    if (start == Start::freshLines)
        comb->length = length; // a fresh ring is silent already
    else if (changed || length != comb->length)
        DelayLine_Reset_Length (comb, length);

    DelayLine_Set_Feedback (comb, r.feedback.load (relaxed));

    // A pre-delay delays by the distance between its write and read
    // positions, which a fresh line takes from the construction table. A new
    // length on a running line keeps to that rule: the line delays exactly as
    // a freshly built engine given this pre-delay does, so a live change is
    // heard as the same value saved and reopened is (left alone, the distance
    // would depend on where the two positions happened to stand). What it
    // reads then is its own recent input, and silence where that is older
    // than it held: never what its ring kept from longer lengths before,
    // which would depend on the instance's history. The table was made for
    // 44.1 kHz: at another rate fresh lines are placed so too.
    ModLine* pre = lines->modLines[line];
    const int32_t lengthBefore = pre->length;
    const float predelay = r.predelay.load (relaxed);
    ModLine_Set_Predelay (pre, predelay);
    const float initialPredelay = ConstructionTable[ParameterLayout::indexOf (line, ParameterLayout::predelay)];
    if (start == Start::continuing && pre->length != lengthBefore)
        ModLine_Keep_Recent_Input (pre, lengthBefore, ModLine_Fresh_Distance (pre, initialPredelay, predelay, referenceRate));
    else if (start != Start::continuing && lines->sampleRate != referenceRate)
        ModLine_Match_Fresh_Delay (pre, initialPredelay, predelay, referenceRate);
    PanGains_Set (&panGains[line], r.pan.load (relaxed));
    hcGain[line] = r.hcGain.load (relaxed);
    active[line] = r.active.load (relaxed);
    predelayGain[line] = r.predelayGain.load (relaxed);
}

//==============================================================================
// The engine's own steps before and after the lines, for lines shared between threads.
struct ReverbEngine::SharedStages final : SharedLineRun::Stages
{
    SharedStages (ReverbEngine& e, const BlockGains& g) : engine (e), gains (g) {}
    void split (const StereoBlock& block, int32_t numFrames, const Signals& to) override { engine.split (block, numFrames, gains, to); }
    void mix (const StereoBlock& block, int32_t first, int32_t end, const Signals& from) override { mixInto (block, first, end, gains, from); }

    ReverbEngine& engine;
    const BlockGains& gains;
};

void ReverbEngine::process (const float* inLeft, const float* inRight, float* outLeft, float* outRight, int numFrames)
{
    takeOverRequests();

    const auto frames = (int32_t) numFrames;
    if (frames <= 0)
        return;

    // Lines without memory are not run: the dry signal goes on as it came.
    if (! lines->hasMemory())
    {
        if (outLeft != inLeft)
            std::copy (inLeft, inLeft + frames, outLeft);
        if (outRight != inRight)
            std::copy (inRight, inRight + frames, outRight);
        return;
    }

    const BlockGains gains = gainsForBlock();
    const StereoBlock block { inLeft, inRight, outLeft, outRight };

    if (sharedRun != nullptr)
    {
        SharedStages stages (*this, gains);
        sharedRun->process (block, frames, runningLines, numRunning, stages);
        return;
    }

    for (int32_t start = 0; start < frames; start += chunkFrames)
        processChunk (block.from (start), std::min (chunkFrames, frames - start), gains);
}

void ReverbEngine::useWorkers (LineWorkers* workers)
{
    sharedRun = workers != nullptr ? std::make_unique<SharedLineRun> (*workers) : nullptr;
}

ReverbEngine::BlockGains ReverbEngine::gainsForBlock()
{
    const float m = settings.mix.load (relaxed);
    if (! (m == crossfadeMix)) // the cosines only when the mix has changed
    {
        dryGain = crossfadeGain (m);
        wetGain = crossfadeGain (1.0f - m);
        crossfadeMix = m;
    }

    BlockGains g;
    g.low = (double) settings.gainLow.load (relaxed);
    g.mid = (double) settings.gainMid.load (relaxed);
    g.high = (double) settings.gainHigh.load (relaxed);
    g.dry = dryGain;
    g.wet = wetGain;
    g.norm = (float) ((double) (2 + countedLines) * 0.7); // formed in double, used as float
    return g;
}

void ReverbEngine::processChunk (const StereoBlock& block, int32_t numFrames, const BlockGains& gains)
{
    const Signals signals { highWeighted, lowMid, accLeft, accRight };
    split (block, numFrames, gains, signals);
    const LineKernelChunk chunk { highWeighted, lowMid, numFrames };
    LineKernel_Run_Lines (&chunk, runningLines, numRunning, accLeft, accRight);
    mixInto (block, 0, numFrames, gains, signals);
}

void ReverbEngine::split (const StereoBlock& block, int32_t numFrames, const BlockGains& gains, const Signals& to)
{
    // On a local copy, so that the poles stay in registers from frame to frame.
    ThreeBandState state = splitter;
    for (int32_t i = 0; i < numFrames; ++i)
    {
        const auto x = (double) ((block.inLeft[i] + block.inRight[i]) * 0.7f); // mono sum formed in float
        double low, mid, high;
        ThreeBandState_Split (&state, &low, &mid, &high, x);

        to.highWeighted[i] = gains.high * high;
        to.lowMid[i] = (float) (gains.low * low + gains.mid * mid); // rounded to float, widened again per line
        to.accLeft[i] = 0.0f;
        to.accRight[i] = 0.0f;
    }
    splitter = state;
}

void ReverbEngine::mixInto (const StereoBlock& block, int32_t first, int32_t end, const BlockGains& gains, const Signals& from)
{
    for (int32_t i = first; i < end; ++i)
    {
        // Both inputs are read before either output is written: a mono
        // input may come in as one buffer for both sides, in place.
        const float dryLeft = block.inLeft[i], dryRight = block.inRight[i];
        const float wetLeft = from.accLeft[i] / gains.norm;
        const float wetRight = from.accRight[i] / gains.norm;
        block.outLeft[i] = dryLeft * gains.dry + wetLeft * gains.wet;
        block.outRight[i] = dryRight * gains.dry + wetRight * gains.wet;
    }
}
} // namespace nadrix
