// SPDX-License-Identifier: GPL-3.0-or-later
// A small Windows host for the Windows build, run under Wine (wine-check.sh):
//   nadrix-wine-host PLUGIN.vst3 REFERENCE.png PICTURE.png
// It loads the VST3 as a host does and prints, for each factory program, the
// checksum of its golden render (the fixed input, 66150 frames at 44.1 kHz in
// 512-frame blocks) as "<program> 0x<checksum> <name>". Then it paints the
// window headless for "Nice Hall" with the Windows build's drawing and image
// formats, writes the picture and compares it with the reference.
#include "tests/processor/GoldenSignal.h"
#include "tests/ui/WindowPicture.h"

#include <cstdio>

namespace nadrix
{
namespace
{
    int printGoldenChecksums (const juce::String& pluginFile)
    {
        juce::VST3PluginFormat format;
        juce::OwnedArray<juce::PluginDescription> found;
        format.findAllTypesForFile (found, pluginFile);
        if (found.size() != 1)
        {
            std::fprintf (stderr, "nadrix-wine-host: no plug-in found in %s\n", pluginFile.toRawUTF8());
            return 1;
        }

        for (int program = 0; program < 6; ++program)
        {
            juce::String error;
            auto plugin = format.createInstanceFromDescription (*found[0], 44100.0, 512, error);
            if (plugin == nullptr)
            {
                std::fprintf (stderr, "nadrix-wine-host: %s\n", error.toRawUTF8());
                return 1;
            }
            plugin->setPlayConfigDetails (2, 2, 44100.0, 512);
            plugin->prepareToPlay (44100.0, 512);
            plugin->setCurrentProgram (program);

            auto audio = testSignal (2, 66150);
            processInBlocks (*plugin, audio, 512);
            std::printf ("%d 0x%016llx %s\n", program, (unsigned long long) checksumOf (audio), plugin->getProgramName (program).toRawUTF8());
            plugin->releaseResources();
        }
        return 0;
    }

    int comparePicture (const juce::File& reference, const juce::File& pictureFile)
    {
        const auto painted = paintedNiceHallWindow();
        pictureFile.deleteFile();
        {
            juce::FileOutputStream out (pictureFile);
            if (! juce::PNGImageFormat().writeImageToStream (painted, out))
                return 1;
        }

        const auto expected = juce::ImageFileFormat::loadFrom (reference);
        if (! expected.isValid() || expected.getBounds() != painted.getBounds())
        {
            std::printf ("window: the reference %s is not usable\n", reference.getFullPathName().toRawUTF8());
            return 1;
        }
        const auto d = comparePictures (painted, expected.convertedToFormat (juce::Image::ARGB));
        std::printf ("window: %d of %d pixels differ from the reference by more than %d steps (at most %d may; the largest difference is %d)\n",
                     d.outliers, painted.getWidth() * painted.getHeight(), pictureChannelTolerance, allowedOutliers (painted), d.largest);
        return d.outliers > allowedOutliers (painted) ? 1 : 0;
    }
}
} // namespace nadrix

int main (int argc, char* argv[])
{
    using namespace nadrix;
    if (argc != 4)
    {
        std::fprintf (stderr, "usage: nadrix-wine-host PLUGIN.vst3 REFERENCE.png PICTURE.png\n");
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juceLibrary;
    auto argument = [argv] (int i) { return juce::String (juce::CharPointer_UTF8 (argv[i])); };
    const int audio = printGoldenChecksums (argument (1));
    const int picture = comparePicture (juce::File (argument (2)), juce::File (argument (3)));
    return audio != 0 || picture != 0 ? 1 : 0;
}
