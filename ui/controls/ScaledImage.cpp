// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/ScaledImage.h"

#include "BinaryData.h"

namespace nadrix
{
namespace
{
    juce::Image compiledIn (const juce::String& resource)
    {
        int size = 0;
        const char* data = BinaryData::getNamedResource (resource.toRawUTF8(), size);
        return data != nullptr ? juce::ImageCache::getFromMemory (data, size) : juce::Image();
    }
}

ScaledImage::ScaledImage (juce::Image normalSize, juce::Image doubleSize) : normal (normalSize), doubled (doubleSize) {}

ScaledImage ScaledImage::named (const char* name)
{
    return { compiledIn (juce::String (name) + "_png"), compiledIn (juce::String (name) + "_2x_png") };
}

void ScaledImage::drawAt (juce::Graphics& g, int x, int y) const
{
    if (doubled.isValid() && g.getInternalContext().getPhysicalPixelScaleFactor() > 1.0f)
        g.drawImage (doubled, x, y, normal.getWidth(), normal.getHeight(), 0, 0, doubled.getWidth(), doubled.getHeight());
    else
        g.drawImageAt (normal, x, y);
}
} // namespace nadrix
