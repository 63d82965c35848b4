// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/BatchRender.h"

#include "tools/nadrix-render/FileIdentity.h"
#include "tools/nadrix-render/ProgressBar.h"
#include "tools/nadrix-render/RenderCommand.h"

#include <atomic>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

namespace nadrix
{
namespace
{
    // What a batch has to report, gathered from the threads that render.
    struct Report
    {
        std::mutex lock;
        ProgressBar progress;
        std::ostream& warnings;
        int done = 0, failed = 0;

        void finished (const juce::File& input, const Outcome& outcome, const std::string& fileWarnings)
        {
            const std::lock_guard<std::mutex> guard (lock);
            for (const auto& line : juce::StringArray::fromLines (juce::String (fileWarnings).trimEnd()))
                if (line.isNotEmpty())
                    note (line);
            if (outcome.failed())
            {
                ++failed;
                note ("nadrix-render: " + input.getFileName() + ": " + outcome.message);
            }
            progress.update (++done);
        }

        void note (const juce::String& line)
        {
            warnings.flush();
            progress.note (line);
        }
    };
}

Outcome runJobs (const std::vector<RenderOptions>& jobs, int threads, const juce::String& where, std::ostream& out, std::ostream& warnings)
{
    const int filesAtOnce = juce::jmax (1, juce::jmin (threads, (int) jobs.size()));
    const int threadsEach = juce::jmax (1, threads / filesAtOnce);

    Report report { {}, ProgressBar ((juce::int64) jobs.size(), "files"), warnings };
    std::atomic<size_t> next { 0 };

    auto renderFiles = [&] {
        for (size_t i; (i = next.fetch_add (1)) < jobs.size();)
        {
            RenderOptions one = jobs[i];
            one.threads = threadsEach;
            one.showProgress = false;
            std::ostringstream fileReport, fileWarnings;
            const auto outcome = runRenderCommand (one, fileReport, fileWarnings);
            report.finished (one.input, outcome, fileWarnings.str());
        }
    };

    std::vector<std::thread> helpers;
    for (int t = 1; t < filesAtOnce; ++t)
        helpers.emplace_back (renderFiles);
    renderFiles();
    for (auto& helper : helpers)
        helper.join();

    report.progress.finish();
    const int written = report.done - report.failed;
    out << "nadrix-render: wrote " << written << " of " << jobs.size() << " files to " << where
        << (report.failed > 0 ? " (" + juce::String (report.failed) + " failed)" : juce::String()) << std::endl;
    if (report.failed > 0)
        return Outcome::files (juce::String (report.failed) + " of " + juce::String ((int) jobs.size()) + " files failed");
    return Outcome::ok();
}

Outcome runBatch (const RenderOptions& options, std::ostream& out, std::ostream& warnings)
{
    const auto folder = options.output;
    if (! isFolder (folder) && ! folder.createDirectory())
        return Outcome::files ("cannot create the folder '" + folder.getFullPathName() + "'");

    std::vector<RenderOptions> jobs;
    for (const auto& input : options.batchInputs)
    {
        RenderOptions one = options;
        one.batchInputs.clear();
        one.input = input;
        one.output = folder.getChildFile (input.getFileNameWithoutExtension() + options.outputType.extension());
        jobs.push_back (std::move (one));
    }
    return runJobs (jobs, options.threadCount(), folder.getFullPathName(), out, warnings);
}
} // namespace nadrix
