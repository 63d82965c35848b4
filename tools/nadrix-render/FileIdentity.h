// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

namespace nadrix
{
// Which file a path names in the end. Two paths name the same file when the
// files they lead to share a device and an inode: symbolic links, "./" and
// ".." spellings and hard links all count. For a file that does not exist
// yet, the paths are compared once every link on the way is resolved.
bool namesSameFile (const juce::File& a, const juce::File& b);

// The same rule as a key, for comparing many paths at once: two paths name
// the same file exactly when their keys are equal.
juce::String fileIdentityKey (const juce::File& file);

// The path a write to `file` should go to: a symbolic link is followed to
// the file it points at (which may not exist yet), so writing replaces the
// target and never the link.
juce::File writeThroughLinks (const juce::File& file);

// Whether an existing file has no write permission for anyone.
bool isReadOnly (const juce::File& file);

// Whether the path leads to a folder. (juce::File::isDirectory takes a
// socket or a block device for one: it tests a bit their types share.)
bool isFolder (const juce::File& file);
} // namespace nadrix
