// SPDX-License-Identifier: GPL-3.0-or-later
// The Standalone app: JUCE's standalone window with a "Programs" button
// beside "Options" in its title bar, so the factory programs can be chosen
// without a host, the window's sizes in the Options menu, and a title that
// names the program playing.
#include "ui/editor/NadrixAudioProcessorEditor.h"
#include "ui/standalone/ProgramsMenu.h"
#include "ui/standalone/WindowTitle.h"

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_utils/juce_audio_utils.h>
#include <juce_gui_extra/juce_gui_extra.h>

#include <juce_audio_plugin_client/Standalone/juce_StandaloneFilterWindow.h>

namespace nadrix
{
namespace
{
    class NadrixStandaloneWindow final : public juce::StandaloneFilterWindow,
                                         private juce::Timer
    {
    public:
        NadrixStandaloneWindow (const juce::String& title, juce::PropertySet* settings)
            : juce::StandaloneFilterWindow (title, juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId),
                                            settings, false)
        {
            juce::Component::addAndMakeVisible (programsButton);
            programsButton.setTriggeredOnMouseDown (true);
            programsButton.onClick = [this] { showProgramsMenu(); };
            timerCallback();
            startTimerHz (4); // programs and edits come from the window, the menu and restored states alike
        }

        void resized() override
        {
            juce::StandaloneFilterWindow::resized();
            programsButton.setBounds (72, 6, 80, getTitleBarHeight() - 8);
        }

    private:
        void timerCallback() override
        {
            if (auto* processor = getAudioProcessor())
                if (const auto title = WindowTitle::of (*processor); title != getName())
                    setName (title);
        }

        void showProgramsMenu()
        {
            if (auto* processor = getAudioProcessor())
                ProgramsMenu::build (*processor).showMenuAsync (juce::PopupMenu::Options().withTargetComponent (programsButton),
                                                                [processor] (int result) { ProgramsMenu::apply (*processor, result); });
        }

        // JUCE's Options menu, as JUCE builds it, with the window's sizes
        // after it (the window's own right-click menu offers them too).
        void buttonClicked (juce::Button*) override
        {
            juce::PopupMenu menu;
            menu.addItem (1, TRANS ("Audio/MIDI Settings..."));
            menu.addSeparator();
            menu.addItem (2, TRANS ("Save current state..."));
            menu.addItem (3, TRANS ("Load a saved state..."));
            menu.addSeparator();
            menu.addItem (4, TRANS ("Reset to default state"));
            if (auto* processor = getAudioProcessor())
                if (auto* editor = dynamic_cast<NadrixAudioProcessorEditor*> (processor->getActiveEditor()))
                {
                    menu.addSeparator();
                    menu.addSubMenu ("Window size", editor->windowSizeMenu());
                }
            menu.showMenuAsync (juce::PopupMenu::Options(), juce::ModalCallbackFunction::forComponent (menuCallback, static_cast<juce::StandaloneFilterWindow*> (this)));
        }

        juce::TextButton programsButton { "Programs" };
    };

    class NadrixStandaloneApp final : public juce::JUCEApplication
    {
    public:
        NadrixStandaloneApp()
        {
            juce::PropertiesFile::Options options;
            options.applicationName = getApplicationName();
            options.filenameSuffix = ".settings";
            options.osxLibrarySubFolder = "Application Support";
            options.folderName = "~/.config";
            settings.setStorageParameters (options);
        }

        const juce::String getApplicationName() override { return JucePlugin_Name; }
        const juce::String getApplicationVersion() override { return JucePlugin_VersionString; }
        bool moreThanOneInstanceAllowed() override { return true; }
        void anotherInstanceStarted (const juce::String&) override {}

        void initialise (const juce::String&) override
        {
            window = std::make_unique<NadrixStandaloneWindow> (getApplicationName(), settings.getUserSettings());
            window->setVisible (true);
        }

        void shutdown() override
        {
            window = nullptr;
            settings.saveIfNeeded();
        }

        void systemRequestedQuit() override
        {
            if (window != nullptr)
                window->pluginHolder->savePluginState();
            quit();
        }

    private:
        juce::ApplicationProperties settings;
        std::unique_ptr<NadrixStandaloneWindow> window;
    };
}

} // namespace nadrix

START_JUCE_APPLICATION (nadrix::NadrixStandaloneApp)
