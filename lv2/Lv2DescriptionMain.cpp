// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the LV2 bundle's descriptions at build time:
//   nadrix-lv2-description FOLDER VERSION DSP_BINARY [UI_BINARY]
#include "lv2/Lv2Description.h"

#include <cstdio>
#include <fstream>
#include <string>

int main (int argc, char** argv)
{
    using namespace nadrix;
    if (argc < 4 || argc > 5)
    {
        std::fprintf (stderr, "usage: nadrix-lv2-description FOLDER VERSION DSP_BINARY [UI_BINARY]\n");
        return 2;
    }

    Lv2Description::Bundle bundle;
    bundle.version = argv[2];
    bundle.dspBinary = argv[3];
    bundle.uiBinary = argc == 5 ? argv[4] : "";
    if (std::sscanf (argv[2], "%*d.%d.%d", &bundle.minorVersion, &bundle.microVersion) != 2)
    {
        std::fprintf (stderr, "nadrix-lv2-description: the version must read MAJOR.MINOR.MICRO, not '%s'\n", argv[2]);
        return 2;
    }

    const std::string folder = argv[1];
    const auto write = [&folder] (const char* name, const std::string& text) {
        std::ofstream file (folder + "/" + name, std::ios::binary);
        file << text;
        return static_cast<bool> (file.flush());
    };
    bool written = write ("manifest.ttl", Lv2Description::manifest (bundle)) && write ("dsp.ttl", Lv2Description::plugin (bundle))
                   && write ("presets.ttl", Lv2Description::presets());
    if (! bundle.uiBinary.empty())
        written = written && write ("ui.ttl", Lv2Description::ui (bundle));
    if (! written)
    {
        std::fprintf (stderr, "nadrix-lv2-description: could not write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
