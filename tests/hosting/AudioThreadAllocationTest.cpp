// SPDX-License-Identifier: GPL-3.0-or-later
// The built VST3 and LV2 plug-ins never allocate on the thread that calls
// their process, parameter changes included. This test process replaces the
// C library's allocation functions (exported to the loaded bundles) with
// ones that count the calls made on a thread that is being watched.
#include "tests/hosting/HostingKit.h"
#include "tests/processor/ProcessorTestHelpers.h"
#include "engine/ParameterLayout.h"

#include <atomic>
#include <cstddef>

namespace nadrix
{
extern "C"
{
    void* __libc_malloc (size_t);
    void* __libc_calloc (size_t, size_t);
    void* __libc_realloc (void*, size_t);
    void* __libc_memalign (size_t, size_t);
    void __libc_free (void*);
}

namespace
{
    thread_local bool watched = false;
    std::atomic<int> allocations { 0 };

    // Out of line, so that a debugger can stop where an allocation is counted.
    [[gnu::noinline]] void counted() noexcept { allocations.fetch_add (1, std::memory_order_relaxed); }

    void count() noexcept
    {
        if (watched)
            counted();
    }
}

extern "C"
{
    void* malloc (size_t size) { count(); return __libc_malloc (size); }
    void* calloc (size_t n, size_t size) { count(); return __libc_calloc (n, size); }
    void* realloc (void* p, size_t size) { count(); return __libc_realloc (p, size); }
    void* memalign (size_t alignment, size_t size) { count(); return __libc_memalign (alignment, size); }
    void* aligned_alloc (size_t alignment, size_t size) { count(); return __libc_memalign (alignment, size); }
    int posix_memalign (void** p, size_t alignment, size_t size)
    {
        count();
        *p = __libc_memalign (alignment, size);
        return *p != nullptr ? 0 : 12; // ENOMEM
    }
    void free (void* p)
    {
        if (p != nullptr) // freeing nothing is no work; freeing memory on the audio thread is
            count();
        __libc_free (p);
    }
}

namespace
{
    int allocationsOverHundredBlocks (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier)
    {
        auto hosted = loadBundle (format, fileOrIdentifier);
        if (hosted == nullptr)
            return -1;
        hosted->setPlayConfigDetails (2, 2, 44100.0, 512);
        hosted->prepareToPlay (44100.0, 512);

        auto audio = noiseBuffer (2, 512, 4);
        juce::MidiBuffer midi;
        hosted->processBlock (audio, midi); // the host's first block may set itself up

        auto& params = hosted->getParameters();
        allocations = 0;
        for (int block = 0; block < 100; ++block)
        {
            // Automation arrives with the block: ten values every tenth block.
            if (block % 10 == 5)
                for (int k = 0; k < 10; ++k)
                    params[(block * 7 + k * 31) % ParameterLayout::numParameters]->setValueNotifyingHost ((float) k / 10.0f);

            watched = true;
            hosted->processBlock (audio, midi);
            watched = false;
        }
        hosted->releaseResources();
        return allocations.load();
    }
}

TEST (AudioThreadAllocation, NeitherFormatAllocatesInProcess)
{
    juce::VST3PluginFormat vst3;
    EXPECT_EQ (allocationsOverHundredBlocks (vst3, NADRIX_VST3_BUNDLE), 0) << "VST3";

    juce::LV2PluginFormat lv2;
    searchLv2Folder (lv2, NADRIX_LV2_BUNDLE);
    EXPECT_EQ (allocationsOverHundredBlocks (lv2, NADRIX_LV2_URI_TEXT), 0) << "LV2";
}
} // namespace nadrix
