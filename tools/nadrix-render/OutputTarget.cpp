// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/OutputTarget.h"

#include <sys/stat.h>

namespace nadrix
{
OutputTarget OutputTarget::of (const juce::File& path)
{
    struct stat s;
    if (::stat (path.getFullPathName().toRawUTF8(), &s) != 0 || S_ISREG (s.st_mode))
        return { Kind::file, {} };
    if (S_ISDIR (s.st_mode))
        return { Kind::directory, "a directory" };
#if ! defined(_WIN32)
    if (S_ISFIFO (s.st_mode) || S_ISCHR (s.st_mode))
        return { Kind::stream, {} };
    if (S_ISSOCK (s.st_mode))
        return { Kind::refused, "a socket" };
    if (S_ISBLK (s.st_mode))
        return { Kind::refused, "a block device" };
#else
    if (S_ISCHR (s.st_mode))
        return { Kind::stream, {} };
#endif
    return { Kind::refused, "neither a file nor a stream" };
}
} // namespace nadrix
