// SPDX-License-Identifier: GPL-3.0-or-later
// The audio thread's side of the engine: at the start of each block it takes
// over what setters and restarts asked for (fresh lines, a silence, changed
// lines and splits) into the lines it runs.
#include "engine/ReverbEngine.h"

#include "engine/ConstructionTable.h"
#include "engine/LineActivity.h"

namespace nadrix
{
namespace
{
    constexpr auto relaxed = std::memory_order_relaxed;
    constexpr auto acquire = std::memory_order_acquire;

    constexpr float referenceRate = 44100.0f; // the rate the construction table was made for
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
} // namespace nadrix
