// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LineWorkers.h"

#include <algorithm>

namespace nadrix
{
namespace
{
    // Runs come every few microseconds while a render goes on: a waiting
    // thread spins this many rounds before it sleeps until woken, so that a
    // busy machine does not lose its cores to spinning.
    constexpr int spinsBeforeSleeping = 4000;

    void pause() noexcept
    {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
}

template <typename T>
T LineWorkers::waitForChange (const std::atomic<T>& value, T old)
{
    for (int spins = 0; spins < spinsBeforeSleeping; ++spins)
    {
        if (const T now = value.load (std::memory_order_acquire); now != old)
            return now;
        pause();
    }
    std::unique_lock<std::mutex> lock (sleepLock);
    T now = old;
    wake.wait (lock, [&] { return (now = value.load (std::memory_order_acquire)) != old; });
    return now;
}

void LineWorkers::wakeSleepers()
{
    // Taken and let go so that a thread about to sleep has either seen the
    // change or is waiting when the notification comes.
    { const std::lock_guard<std::mutex> lock (sleepLock); }
    wake.notify_all();
}

LineWorkers::LineWorkers (int threads) : numThreads (std::max (1, threads))
{
    for (int t = 1; t < numThreads; ++t)
        helpers.emplace_back ([this, t] { helperLoop (t); });
}

LineWorkers::~LineWorkers()
{
    stopping.store (true, std::memory_order_relaxed);
    generation.fetch_add (1, std::memory_order_release);
    wakeSleepers();
    for (auto& helper : helpers)
        helper.join();
}

void LineWorkers::run (Task task, void* context)
{
    currentTask = task;
    currentContext = context;
    unfinished.store (numThreads - 1, std::memory_order_relaxed);
    generation.fetch_add (1, std::memory_order_release); // publishes the task to the helpers
    wakeSleepers();

    task (context, 0);
    for (int left = unfinished.load (std::memory_order_acquire); left != 0;)
        left = waitForChange (unfinished, left);
}

void LineWorkers::helperLoop (int thread)
{
    for (unsigned seen = 0;;)
    {
        seen = waitForChange (generation, seen);
        if (stopping.load (std::memory_order_relaxed))
            return;

        currentTask (currentContext, thread);
        if (unfinished.fetch_sub (1, std::memory_order_acq_rel) == 1)
            wakeSleepers();
    }
}
} // namespace nadrix
