// SPDX-License-Identifier: GPL-3.0-or-later
// A manifest from a user: any text as the file --manifest reads. It is
// refused with a message, or every line it keeps renders one input into
// one output that no other line reads or writes; its shards together are
// exactly its lines, in order.
#include "fuzz/FuzzKit.h"
#include "tools/nadrix-render/FileIdentity.h"
#include "tools/nadrix-render/ManifestFile.h"

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    nadrix::fuzz::startJuce();
    nadrix::fuzz::scratchFolder().setAsCurrentWorkingDirectory(); // the manifest's paths are taken from here
    return 0;
}

namespace
{
    using Jobs = std::vector<nadrix::RenderOptions>;

    std::variant<Jobs, nadrix::Outcome> read (const juce::File& manifest, int shard, int shards)
    {
        const auto options = nadrix::RenderOptions::parse ({ "--manifest", manifest.getFullPathName(), "--tail", "0",
                                                             "--shard", juce::String (shard) + "/" + juce::String (shards) });
        NADRIX_FUZZ_CHECK (std::holds_alternative<nadrix::RenderOptions> (options), "the harness's own command line is refused");
        return nadrix::readManifest (std::get<nadrix::RenderOptions> (options));
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    using namespace nadrix;
    if (size == 0)
        return 0;

    const int shards = 1 + data[0] % 4;
    const auto manifest = fuzz::scratchFolder().getChildFile ("manifest.tsv");
    manifest.replaceWithData (data + 1, size - 1);

    const auto whole = read (manifest, 1, 1);
    if (const auto* refusal = std::get_if<Outcome> (&whole))
    {
        NADRIX_FUZZ_CHECK (refusal->failed() && refusal->message.isNotEmpty(), "a manifest refused without a reason");
        return 0;
    }

    const auto& jobs = std::get<Jobs> (whole);
    NADRIX_FUZZ_CHECK (! jobs.empty(), "a manifest kept with no renders");
    for (size_t a = 0; a < jobs.size(); ++a)
    {
        NADRIX_FUZZ_CHECK (jobs[a].input != juce::File() && jobs[a].output != juce::File(), "a line without an input or an output");
        for (size_t b = 0; b < jobs.size(); ++b)
        {
            NADRIX_FUZZ_CHECK (! namesSameFile (jobs[a].output, jobs[b].input), "a line writes what a line reads");
            NADRIX_FUZZ_CHECK (a == b || ! namesSameFile (jobs[a].output, jobs[b].output), "two lines write one file");
        }
    }

    // Shard k of n keeps lines k, k + n, ...: together, the whole in order.
    std::vector<juce::File> sharded (jobs.size());
    for (int k = 1; k <= shards; ++k)
    {
        const auto part = read (manifest, k, shards);
        NADRIX_FUZZ_CHECK (std::holds_alternative<Jobs> (part), "a shard refused where the whole is not");
        const auto& partJobs = std::get<Jobs> (part);
        for (size_t i = 0; i < partJobs.size(); ++i)
        {
            const size_t line = (size_t) (k - 1) + i * (size_t) shards;
            NADRIX_FUZZ_CHECK (line < jobs.size() && partJobs[i].output == jobs[line].output, "a shard keeps another line");
            sharded[line] = partJobs[i].output;
        }
    }
    for (size_t i = 0; i < jobs.size(); ++i)
        NADRIX_FUZZ_CHECK (sharded[i] == jobs[i].output, "a line no shard keeps");
    return 0;
}
