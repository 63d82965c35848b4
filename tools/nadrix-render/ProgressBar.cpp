// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/ProgressBar.h"

#include <cstdio>
#include <unistd.h>

namespace nadrix
{
ProgressBar::ProgressBar (juce::int64 totalWork, const juce::String& countingWhat)
    : total (juce::jmax ((juce::int64) 1, totalWork)),
      counting (countingWhat),
      enabled (isatty (STDERR_FILENO) != 0),
      startMs (juce::Time::getMillisecondCounter())
{
}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::finish()
{
    if (! shown)
        return;
    draw (total);
    std::fputc ('\n', stderr);
    shown = false;
}

void ProgressBar::update (juce::int64 done)
{
    if (enabled && (shown || juce::Time::getMillisecondCounter() - startMs >= 1000))
        draw (done);
}

void ProgressBar::note (const juce::String& line)
{
    if (shown)
        std::fputs ("\r\033[K", stderr); // the bar's line, cleared
    std::fprintf (stderr, "%s\n", line.toRawUTF8());
    if (shown)
        redraw (lastDone);
    std::fflush (stderr);
}

void ProgressBar::draw (juce::int64 done)
{
    const auto percent = (int) (100 * juce::jlimit ((juce::int64) 0, total, done) / total);
    if (percent == lastPercent && (counting.isEmpty() || done == lastDone))
        return;
    redraw (done);
}

void ProgressBar::redraw (juce::int64 done)
{
    const auto percent = (int) (100 * juce::jlimit ((juce::int64) 0, total, done) / total);
    lastDone = done;

    constexpr int width = 40;
    const int filled = percent * width / 100;
    const auto count = counting.isEmpty() ? juce::String() : "  " + juce::String (done) + "/" + juce::String (total) + " " + counting;
    std::fprintf (stderr, "\r[%s%s] %3d%%%s",
                  juce::String::repeatedString ("#", filled).toRawUTF8(),
                  juce::String::repeatedString (" ", width - filled).toRawUTF8(),
                  percent, count.toRawUTF8());
    std::fflush (stderr);
    shown = true;
    lastPercent = percent;
}
} // namespace nadrix
