#include "acquisition.h"

#include "core/tool_errors.h"
#include "description.h"
#include "os/stop_request.h"
#include "progress_line.h"
#include "record/recording_commands.h"
#include "sample_source.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace orvex_cli {
namespace {

void reportFailure(const CommandFailed &failure) {
    if (*failure.what() != '\0') {
        std::fprintf(stderr, "orvex: %s\n", failure.what());
    }
}

// A step of winding up after a failure: its own failure is reported, so that the steps
// after it still run.
template <typename Step> void windUp(Step step) {
    try {
        step();
    } catch (const CommandFailed &failure) {
        reportFailure(failure);
    }
}

// The file's description, written once: before the first sample, when a scan's start
// time is known, or on the way out when no sample came.  Even a killed acquisition
// leaves its data described; the count follows at the end.
class Description {
  public:
    Description(const AcquisitionRequest &request, const Session &session, OutputFile &file)
        : request(request), session(session), file(file) {
        if (!request.headerFile.empty()) {
            header.emplace(request.headerFile);
        }
    }

    void write(const std::optional<ScanTiming> &timing) {
        if (written) {
            return;
        }
        written = true;
        if (isText(request.format)) {
            const char separator = request.format == SampleFormat::Csv ? ',' : '\t';
            file.append(describeAcquisition(request, session, timing, "# "));
            file.append(columnNames(request, separator));
        } else if (header) {
            header->append(describeAcquisition(request, session, timing, ""));
            header->append(describeLayout(request));
            header->flush();
        }
    }

    void count(std::uint64_t samples) {
        if (header) {
            header->append(describeCount(request, samples));
            header->close();
        }
    }

  private:
    const AcquisitionRequest &request;
    const Session &session;
    OutputFile &file;
    std::optional<OutputFile> header;
    bool written = false;
};

const char *samplesWord(const AcquisitionRequest &request) {
    return request.scan.empty() ? "samples" : "samples per channel";
}

} // namespace

AcquisitionResult acquire(const AcquisitionRequest &request, Session &session) {
    if (request.format == SampleFormat::H5) {
        return acquireToRecording(request, session);
    }
    const std::size_t channels = request.scan.empty() ? 1 : request.scan.size();
    OutputFile file(request.output, recordSize(request.format, channels));
    Description description(request, session, file);

    AcquisitionResult result;
    ProgressLine progress(!session.quiet(), request.samples, request.rate);
    std::vector<double> block(scansPerBlock(request.rate, channels) * channels);
    try {
        const auto source = startSource(request, session);
        // Each block reaches the file as soon as it is read, a tenth of a second of board
        // time at most: a killed tool or a power cut loses no more, and `tail -f` follows.
        if (source->first(block.data())) {
            description.write(source->timing());
            appendScans(file, request.format, block.data(), 1, channels, 0);
            file.flush();
            result.samples = 1;
        }
        while (result.samples < request.samples && !stopRequested()) {
            const std::size_t count = static_cast<std::size_t>(
                std::min<std::uint64_t>(block.size() / channels, request.samples - result.samples));
            source->next(block.data(), count);
            appendScans(file, request.format, block.data(), count, channels, result.samples);
            file.flush();
            result.samples += count;
            progress.update(result.samples);
        }
        source->stop();
        progress.finish();
        description.write(std::nullopt);
        file.close();
    } catch (const CommandFailed &failure) {
        progress.finish();
        reportFailure(failure);
        // Keep every whole sample that came before the failure, and say how many there are.
        windUp([&] { description.write(std::nullopt); });
        windUp([&] { file.close(); });
        windUp([&] { description.count(file.samplesWritten()); });
        std::fprintf(stderr, "orvex: %llu %s reached %s\n",
                     static_cast<unsigned long long>(file.samplesWritten()), samplesWord(request),
                     file.name().c_str());
        throw CommandFailed("");
    }
    result.stopped = result.samples < request.samples;
    description.count(result.samples);
    return result;
}

} // namespace orvex_cli
