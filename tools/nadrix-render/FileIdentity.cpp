// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/FileIdentity.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace nadrix
{
#if defined(_WIN32)
// Windows: a file is known by its full path (in any letter case, as
// juce::File compares there); links are not followed.
juce::String fileIdentityKey (const juce::File& file)
{
    return file.getFullPathName().toLowerCase();
}

juce::File writeThroughLinks (const juce::File& file)
{
    return file;
}

bool isReadOnly (const juce::File& file)
{
    return file.exists() && ! file.hasWriteAccess();
}
#else
namespace
{
    constexpr int maximumLinks = 40; // as the kernel allows

    juce::String resolvedPath (const juce::File& file)
    {
        // The folder with every link resolved, then the last name.
        char resolved[PATH_MAX];
        const auto parent = file.getParentDirectory().getFullPathName();
        if (::realpath (parent.toRawUTF8(), resolved) == nullptr)
            return file.getFullPathName();
        return juce::File (juce::String::fromUTF8 (resolved)).getChildFile (file.getFileName()).getFullPathName();
    }
}

juce::String fileIdentityKey (const juce::File& file)
{
    struct stat s;
    if (::stat (file.getFullPathName().toRawUTF8(), &s) == 0)
        return "file " + juce::String ((juce::uint64) s.st_dev) + ":" + juce::String ((juce::uint64) s.st_ino);
    return "path " + resolvedPath (writeThroughLinks (file));
}

juce::File writeThroughLinks (const juce::File& file)
{
    auto target = file;
    for (int hop = 0; hop < maximumLinks && target.isSymbolicLink(); ++hop)
        target = target.getLinkedTarget();
    return target;
}

bool isReadOnly (const juce::File& file)
{
    struct stat s;
    return ::stat (file.getFullPathName().toRawUTF8(), &s) == 0 && (s.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}
#endif

bool namesSameFile (const juce::File& a, const juce::File& b)
{
    return fileIdentityKey (a) == fileIdentityKey (b);
}

bool isFolder (const juce::File& file)
{
    struct stat s;
    return ::stat (file.getFullPathName().toRawUTF8(), &s) == 0 && S_ISDIR (s.st_mode);
}
} // namespace nadrix
