// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/NearestName.h"

#include <algorithm>
#include <vector>

namespace nadrix
{
namespace
{
    // Letters to change, insert or delete to turn a into b.
    int editDistance (const juce::String& a, const juce::String& b)
    {
        const int n = a.length(), m = b.length();
        std::vector<int> previous ((size_t) m + 1), current ((size_t) m + 1);
        for (int j = 0; j <= m; ++j)
            previous[(size_t) j] = j;
        for (int i = 1; i <= n; ++i)
        {
            current[0] = i;
            for (int j = 1; j <= m; ++j)
            {
                const int change = previous[(size_t) j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
                current[(size_t) j] = std::min ({ change, previous[(size_t) j] + 1, current[(size_t) j - 1] + 1 });
            }
            std::swap (previous, current);
        }
        return previous[(size_t) m];
    }
}

std::optional<juce::String> nearestName (const juce::String& typed, const juce::StringArray& known)
{
    const auto wanted = typed.trim().toLowerCase();
    // A third of the name may be wrong, and at least two letters of a short one.
    const int tolerance = std::max (2, wanted.length() / 3);

    // Of names as near, the one that starts as the typed one does ("--tale": "--tail", not "--rate").
    std::optional<juce::String> best;
    int bestDistance = tolerance + 1, bestPrefix = -1;
    for (const auto& name : known)
    {
        const auto lower = name.toLowerCase();
        const int distance = editDistance (wanted, lower);
        int prefix = 0;
        while (prefix < wanted.length() && prefix < lower.length() && wanted[prefix] == lower[prefix])
            ++prefix;
        if (distance < bestDistance || (distance == bestDistance && prefix > bestPrefix))
        {
            best = name;
            bestDistance = distance;
            bestPrefix = prefix;
        }
    }
    return best;
}

juce::String didYouMean (const juce::String& typed, const juce::StringArray& known)
{
    if (const auto name = nearestName (typed, known))
        return " (did you mean '" + *name + "'?)";
    return {};
}
} // namespace nadrix
