// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace nadrix
{
// Threads that share the lines of an offline render: the caller's thread and
// threads - 1 helpers, started here. Between runs the helpers spin for a
// moment, then sleep until woken. For offline rendering only: a host's audio
// thread never starts or waits for threads.
class LineWorkers
{
public:
    explicit LineWorkers (int threads);
    ~LineWorkers();

    LineWorkers (const LineWorkers&) = delete;
    LineWorkers& operator= (const LineWorkers&) = delete;

    int getNumThreads() const noexcept { return numThreads; }

    // Runs task (context, t) for every t from 0 to getNumThreads() - 1, the
    // caller's thread taking t = 0, and returns when all have finished.
    using Task = void (*) (void* context, int thread);
    void run (Task task, void* context);

private:
    void helperLoop (int thread);
    template <typename T>
    T waitForChange (const std::atomic<T>& value, T old);
    void wakeSleepers();

    const int numThreads;
    std::vector<std::thread> helpers;
    Task currentTask = nullptr;
    void* currentContext = nullptr;
    std::atomic<unsigned> generation { 0 }; // a new run, or the end when stopping
    std::atomic<int> unfinished { 0 };
    std::atomic<bool> stopping { false };
    std::mutex sleepLock;
    std::condition_variable wake;
};
} // namespace nadrix
