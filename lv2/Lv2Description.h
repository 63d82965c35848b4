// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace nadrix
{
// The bundle's Turtle descriptions, written from the parameter table and the
// factory programs, the one source of every name, symbol, range, unit and
// default: the manifest, the plug-in and its ports, the window as an X11 UI,
// and the six presets.
namespace Lv2Description
{
    struct Bundle
    {
        std::string dspBinary;  // "Nadrix.so"
        std::string uiBinary;   // "NadrixUI.so", or empty for a bundle without the window
        int minorVersion = 0, microVersion = 0;
        std::string version;    // "0.3.0"
    };

    std::string manifest (const Bundle& bundle);
    std::string plugin (const Bundle& bundle);
    std::string ui (const Bundle& bundle);
    std::string presets();
}
} // namespace nadrix
