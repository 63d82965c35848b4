// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/nadrix-render/Outcome.h"
#include "tools/nadrix-render/RenderOptions.h"

#include <variant>
#include <vector>

namespace nadrix
{
// A manifest: one render per line, its columns separated by tabs:
//
//   IN  OUT  [PROGRAM  [SEED  [TAIL,ROOM,PREDELAY,COMPLEXITY]]]
//
// PROGRAM is a number or name ("-" or empty: none), SEED a --random seed
// with, optionally, its --random-settings. Blank lines and lines starting
// with # are skipped; paths are taken from the current folder. Every line
// renders with the rest of the command line's options, its own columns
// after them. Lines are numbered from 1 among the renders, and --shard K/N
// keeps lines K, K + N, K + 2N, ...: any split of the same manifest gives
// the same files.
//
// Every line is read and checked before anything is rendered: a line that
// cannot mean anything, or two lines writing one file, refuse the whole
// manifest (a usage error, naming the line).
std::variant<std::vector<RenderOptions>, Outcome> readManifest (const RenderOptions& options);
} // namespace nadrix
