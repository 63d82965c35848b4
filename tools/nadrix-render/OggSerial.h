// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// libsndfile gives every Ogg stream a serial number drawn from the clock, so
// two renders of the same audio differ in those bytes. Rewriting the serial
// of every page (and each page's checksum) to one fixed number makes an Ogg
// Vorbis or Opus render the same file every time, on every machine, as the
// other kinds already are. Returns false if the file is not Ogg pages
// throughout (it is then left as it was).
bool setOggSerial (const juce::File& file, juce::uint32 serial);
} // namespace nadrix
