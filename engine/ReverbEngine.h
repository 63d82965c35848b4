// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/AudioThreadHandover.h"
#include "engine/EngineSettings.h"
#include "engine/LineKernel.h"
#include "engine/LineWorkers.h"
#include "engine/SharedLineRun.h"
#include "engine/LineSet.h"
#include "engine/LineSetRegistry.h"
#include "engine/PanGains.h"
#include "engine/ParameterLayout.h"
#include "engine/StereoBlock.h"
#include "engine/ThreeBandState.h"

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>

namespace nadrix
{
// The reverb: 50 lines, each a feedback comb followed by a modulated
// pre-delay, fed from a three-band split of the mono input, panned into a
// stereo sum and crossfaded with the dry signal. Parameters arrive by index
// in engine units (Hz, seconds, linear gains, pan -1..+1).
//
// setParameter may run on any thread while process runs: values are
// atomics, and whatever touches a line's rings is handed to the audio thread,
// which takes it over before the first frame of its next block. restart,
// from any thread but the audio thread, lets the reverb start afresh at a
// sample rate; the fresh lines are built there and handed over too.
class ReverbEngine final : public LineViews
{
public:
    // Starts with the construction table's lines and the engine's own
    // starting globals (ConstructionGlobals), or with `startValues` (every
    // parameter, in engine units) when given.
    explicit ReverbEngine (float sampleRate, const float* startValues = nullptr);
    ~ReverbEngine() override;

    ReverbEngine (const ReverbEngine&) = delete;
    ReverbEngine& operator= (const ReverbEngine&) = delete;

    // `frames` frames of stereo input into stereo output; each output may be
    // its input's memory (in place). Audio thread only. Lines that could get
    // no memory leave the dry signal alone.
    void process (const float* inLeft, const float* inRight, float* outLeft, float* outRight, int frames);

    // Parameter `index` of the flat layout (ParameterLayout), in engine units;
    // indices the engine has no use for are ignored. Any thread. A new
    // length is backed with memory here, before the audio thread can run it.
    void setParameter (int index, float value);
    // The same value, to take effect at the next restart only: for a whole
    // program or state set at once, whose new lengths are backed in the
    // fresh lines alone. The line takes nothing over before that restart.
    // Not the audio thread.
    void setParameterForRestart (int index, float value);
    // For hosts whose values arrive on the audio thread (LV2's control
    // ports): whether this value of this parameter can be set there without
    // a page fault, its lengths being backed in every set that may run them
    // (true for every value that is no length). Any thread.
    bool holdsMemoryFor (int index, float value) noexcept;
    // Backs the memory that value needs, without setting it. Not the audio thread.
    void backMemoryFor (int index, float value) noexcept;
    // Any thread: a line as the editor sees it, made from its settings.
    NadrixViewdata lineView (int line) const noexcept override { return settings.lineView (line); }

    // From the next block on, the reverb runs at this rate from the state a
    // fresh engine has with the current settings: silent rings, pre-delays
    // and splitter. Times and frequencies keep their meaning in seconds and
    // hertz. Not for the audio thread: the new lines are built here. False
    // when they could get no memory (the lines running go on).
    bool restart (float sampleRate);
    // Frees the lines that restarts replaced. Not for the audio thread.
    void releaseReplacedLines();
    // Before playing at this rate: a restart at a new rate, or else the
    // current settings backed with memory in the lines that run them, so that
    // the audio thread takes no page faults. Not for the audio thread.
    void prepare (float sampleRate);
    // Any thread, the audio thread included: at the next block the reverb's
    // memory (rings, pre-delays, splitter) starts afresh where it is, with
    // the current settings. Costs the audio thread the clearing of what the
    // lines can read.
    void requestSilence() noexcept { silenceRequested.store (true, std::memory_order_release); }
    // Any thread: whether the lines that run (or run from the next block)
    // have their memory. Without it the engine passes the input dry; a
    // restart that finds memory ends that.
    bool runsItsLines() const noexcept { return linesHaveMemory.load(); }
    // The rate of the latest restart, or of construction.
    float getSampleRate() const noexcept { return settings.rate(); }

    // For offline rendering only: the lines of each stretch of frames run on
    // these threads, with the same output to the bit. Null: the calling
    // thread alone, as always for a host. Not while process runs; the
    // workers must outlive their use here.
    void useWorkers (LineWorkers* workers);

    // Frames run through the lines together; longer blocks go in pieces.
    static constexpr int32_t chunkFrames = 256;

private:
    static constexpr int numLines = ParameterLayout::numLines;

    struct BlockGains
    {
        double low, mid, high;
        float dry, wet, norm;
    };

    // Who backs a new length with memory: this call, the next prepare (the
    // start values), or the restart that takes the value (whole programs).
    enum class Backing { now, byPrepare, byRestart };
    void store (int index, float value, Backing backing);
    void populateLine (int line) noexcept;
    void takeOverRequests();
    enum class Start { continuing, freshLines, silencedLines };
    bool takeOverFreshLines();
    void silenceLines();
    void takeOverLine (int line, Start start);
    void refreshRunningLines();
    BlockGains gainsForBlock();
    using Signals = SharedLineRun::Signals;
    struct SharedStages;

    void processChunk (const StereoBlock& block, int32_t numFrames, const BlockGains& gains);
    void split (const StereoBlock& block, int32_t numFrames, const BlockGains& gains, const Signals& to);
    static void mixInto (const StereoBlock& block, int32_t first, int32_t end, const BlockGains& gains, const Signals& from);

    EngineSettings settings;                    // what setters ask, on any thread
    LineSetRegistry liveSets;                   // outlives every set below
    std::atomic<bool> linesHaveMemory { false };
    std::unique_ptr<LineSet> lines;             // owned by the audio thread
    AudioThreadHandover<LineSet> freshLines;    // lines for the next restart
    std::mutex restartLock;                     // between restarting threads; never the audio thread
    std::atomic<bool> silenceRequested { false };
    ThreeBandState splitter;

    // Owned by the audio thread; refreshed from the settings at each take-over.
    float hcGain[numLines];
    float predelayGain[numLines];
    PanGains panGains[numLines];
    float active[numLines];

    // Owned by the audio thread and rebuilt whenever a take-over changes a
    // line: the lines that run, as the kernel sees them, and how many of
    // them the level counts (LineActivity).
    LineKernelLine runningLines[numLines];
    int32_t numRunning = 0;
    int countedLines = 0;
    // The crossfade of the last mix value, taken again only when it changes.
    float crossfadeMix = std::numeric_limits<float>::quiet_NaN();
    float dryGain = 0.0f, wetGain = 0.0f;

    // Per-chunk scratch of the audio thread.
    static_assert (chunkFrames <= LineKernel_maxFrames);
    double highWeighted[chunkFrames];
    float lowMid[chunkFrames];
    float accLeft[chunkFrames];
    float accRight[chunkFrames];

    // Offline only: the lines shared between worker threads.
    std::unique_ptr<SharedLineRun> sharedRun;
};
} // namespace nadrix
