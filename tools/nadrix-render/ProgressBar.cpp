// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressBar.h"

#include <cstdio>
#include <unistd.h>

ProgressBar::ProgressBar (juce::int64 totalWork)
    : total (juce::jmax ((juce::int64) 1, totalWork)),
      enabled (isatty (STDERR_FILENO) != 0),
      startMs (juce::Time::getMillisecondCounter())
{
}

ProgressBar::~ProgressBar()
{
    if (shown)
    {
        draw (total);
        std::fputc ('\n', stderr);
    }
}

void ProgressBar::update (juce::int64 done)
{
    if (enabled && (shown || juce::Time::getMillisecondCounter() - startMs >= 1000))
        draw (done);
}

void ProgressBar::draw (juce::int64 done)
{
    const auto percent = (int) (100 * juce::jlimit ((juce::int64) 0, total, done) / total);
    if (percent == lastPercent)
        return;

    constexpr int width = 40;
    const int filled = percent * width / 100;
    std::fprintf (stderr, "\r[%s%s] %3d%%",
                  juce::String::repeatedString ("#", filled).toRawUTF8(),
                  juce::String::repeatedString (" ", width - filled).toRawUTF8(),
                  percent);
    std::fflush (stderr);
    shown = true;
    lastPercent = percent;
}
