// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the checksum of the engine as constructed, for comparing builds for
// other instruction sets with this one.
#include "tests/engine/EngineChecksum.h"

#include <cstdio>

int main()
{
    using namespace nadrix;

    std::printf ("0x%016llx\n", (unsigned long long) constructedEngineChecksum());
}
