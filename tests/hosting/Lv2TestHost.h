// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace nadrix
{
// A small LV2 host on lilv, as headless hosts are built: it loads a
// plug-in by its URI from the folder its bundle sits in, gives it what it
// asks for (URID maps, options with the block length and rate, a worker
// whose jobs run between blocks), connects every port and runs blocks of
// stereo audio. Values go through the control ports; states and presets
// through lilv as hosts save and load them. Free of JUCE, so it loads what
// any host would load and nothing of the plug-in's own.
class Lv2TestHost
{
public:
    // Without `offerWorker` the host offers the plug-in no worker.
    Lv2TestHost (const std::string& bundle, const std::string& uri, double sampleRate, int maximumBlock, bool offerWorker = true);
    ~Lv2TestHost();

    // Why the plug-in could not be loaded, or empty when it was.
    const std::string& failure() const noexcept;

    // The input control ports, in port order, by symbol.
    std::vector<std::string> controlSymbols() const;
    bool hasControl (const std::string& symbol) const;
    float control (const std::string& symbol) const;
    void setControl (const std::string& symbol, float value);
    float minimum (const std::string& symbol) const;
    float maximum (const std::string& symbol) const;
    float defaultValue (const std::string& symbol) const;

    // Stereo in, stereo out; frames at most the maximum block. The outputs
    // may be the inputs. Jobs the plug-in scheduled run after the block.
    void run (const float* inLeft, const float* inRight, float* outLeft, float* outRight, int frames);
    // The page faults the plug-in's run() took in the last block (its worker's jobs apart).
    long runPageFaults() const noexcept;

    // The plug-in's state as a host saves it (Turtle, with every port), and back.
    std::string saveState();
    void restoreState (const std::string& turtle);
    // The presets in the bundle, by label, applied as hosts apply them.
    std::vector<std::string> presetLabels() const;
    bool applyPreset (const std::string& label);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};
} // namespace nadrix
