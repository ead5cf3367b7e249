#include "recording_commands.h"

#include "acquisition/progress_line.h"
#include "acquisition/sample_source.h"
#include "core/tool_errors.h"
#include "os/host_process.h"
#include "os/stop_request.h"
#include "scan_recording.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

namespace orvex_cli {
namespace {

// The output's own name, as a file name pattern that stands for itself.
std::string literalPattern(const std::string &name) {
    std::string pattern;
    for (const char c : name) {
        pattern += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return pattern;
}

RecordingPlan singleFilePlan(const AcquisitionRequest &request) {
    if (request.output == "-") {
        throw UsageError("--format h5 needs a file: give -o FILE.h5");
    }
    const std::filesystem::path output = pathFromUtf8(request.output);
    RecordingPlan plan;
    plan.float64 = request.float64;
    const std::u8string parent = output.parent_path().u8string();
    plan.directory = parent.empty() ? "." : std::string(parent.begin(), parent.end());
    const std::u8string name = output.filename().u8string();
    plan.pattern = literalPattern(std::string(name.begin(), name.end()));
    plan.program = "orvex ai acquire";
    return plan;
}

} // namespace

AcquisitionResult acquireToRecording(const AcquisitionRequest &request, Session &session) {
    ScanRecording recording(singleFilePlan(request), session);
    const std::size_t channels = request.scan.size();
    AcquisitionResult result;
    ProgressLine progress(!session.quiet(), request.samples, request.rate);
    std::vector<double> block(scansPerBlock(request.rate, channels) * channels);
    try {
        const auto source = startSource(request, session);
        if (source->first(block.data())) {
            recording.start(*source->timing());
            recording.append(block.data(), 1);
            result.samples = 1;
        }
        while (result.samples < request.samples && !stopRequested()) {
            const std::size_t count = static_cast<std::size_t>(
                std::min<std::uint64_t>(block.size() / channels, request.samples - result.samples));
            source->next(block.data(), count);
            recording.append(block.data(), count);
            result.samples += count;
            progress.update(result.samples);
        }
        source->stop();
        progress.finish();
        recording.close();
    } catch (const CommandFailed &failure) {
        progress.finish();
        if (*failure.what() != '\0') {
            std::fprintf(stderr, "orvex: %s\n", failure.what());
        }
        // What was flushed stays readable; closing records the stop and the last samples,
        // unless the recording itself failed, which then repeats its failure.
        bool closed = true;
        try {
            recording.close();
        } catch (const CommandFailed &closing) {
            closed = false;
            if (std::string_view(closing.what()) != failure.what()) {
                std::fprintf(stderr, "orvex: %s\n", closing.what());
            }
        }
        if (!recording.started()) {
            std::fprintf(stderr, "orvex: no sample reached a file\n");
        } else if (closed) {
            std::fprintf(stderr, "orvex: %lld samples per channel reached %s\n",
                         static_cast<long long>(recording.samples()),
                         recording.currentFile().c_str());
        } else {
            std::fprintf(stderr, "orvex: %s holds the samples flushed before the failure\n",
                         recording.currentFile().c_str());
        }
        throw CommandFailed("");
    }
    result.stopped = result.samples < request.samples;
    return result;
}

} // namespace orvex_cli
