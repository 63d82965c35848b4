// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processor/NadrixAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>
#include <lv2/ui/ui.h>

#include <memory>
#include <optional>

namespace nadrix
{
// The plug-in window as an LV2 UI, embedded in the host's window (X11). It
// talks to the reverb only through the host: the values arrive as port
// notifications and the window's edits leave as port writes, touches around
// them, so it works the same where the UI runs in another process than the
// reverb. The window draws from a processor of its own that follows the
// ports and never runs: the fan's whole-sample values come from the engine's
// own mapping at the host's rate. All on the host's UI thread, which is
// JUCE's message thread while the UI lives.
class Lv2Ui final : private juce::Component,
                    private juce::AudioProcessorListener,
                    private juce::ComponentListener
{
public:
    struct Host
    {
        LV2UI_Write_Function write = nullptr;
        LV2UI_Controller controller = nullptr;
        void* parent = nullptr;                 // the host's X11 window
        const LV2UI_Resize* resize = nullptr;   // optional
        const LV2UI_Touch* touch = nullptr;     // optional
        double sampleRate = 48000.0;            // the host's, when it says
        std::optional<float> scaleFactor;       // the host's, when it says
    };

    explicit Lv2Ui (const Host& host);
    ~Lv2Ui() override;

    LV2UI_Widget widget();
    // A port's value as the host notifies it: the window shows it.
    void portEvent (uint32_t port, uint32_t size, uint32_t format, const void* buffer);
    // The host's idle call: JUCE's messages (timers, repaints, input) run here.
    int idle();

    // For tests: the processor the window draws from.
    NadrixAudioProcessor& viewedProcessor() noexcept { return processor; }

private:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { touch (index, true); }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { touch (index, false); }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void componentMovedOrResized (juce::Component&, bool, bool wasResized) override;

    void touch (int index, bool grabbed);
    void fitToEditor();

    const bool reachedXServer; // before JUCE's first window request
    const juce::ScopedJuceInitialiser_GUI juceLibrary;
    const Host host;
    NadrixAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Lv2Ui)
};
} // namespace nadrix
