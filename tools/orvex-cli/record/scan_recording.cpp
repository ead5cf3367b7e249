#include "scan_recording.h"

#include "core/tool_errors.h"

#include <orvex.h>

#include <stdexcept>
#include <utility>

// Built with the recording library only, which the Windows build leaves out.
#include <unistd.h>

namespace orvex_cli {
namespace {

// Well within every file system's durability and the "at most a second lost" promise.
constexpr double flushSeconds = 0.5;

std::string hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

std::vector<recording::ChannelDescription> runningChannels() {
    std::vector<recording::ChannelDescription> channels;
    orvex_ScanChannel channel{};
    for (int k = 0; orvex_scanChannel(k, &channel) == 0; ++k) {
        recording::ChannelDescription description;
        description.name = channel.name;
        description.range = channel.range;
        description.terminal = channel.terminal == ORVEX_DIFF   ? "DIFF"
                               : channel.terminal == ORVEX_NRSE ? "NRSE"
                                                                : "RSE";
        channels.push_back(std::move(description));
    }
    return channels;
}

const char *startSourceName(int source) {
    switch (source) {
    case ORVEX_TIME_AT_START:
        return "at start";
    case ORVEX_TIME_FROM_COUNT:
        return "from count";
    default:
        return "unknown";
    }
}

} // namespace

ScanRecording::ScanRecording(RecordingPlan plan, const Session &session)
    : plan(std::move(plan)), session(session) {}

template <typename Step> void ScanRecording::guarded(Step step) {
    try {
        step();
    } catch (const recording::RecordingError &error) {
        throw CommandFailed(error.what());
    }
}

void ScanRecording::start(const ScanTiming &timing) {
    recording::RecordingConfig config;
    config.channels = runningChannels();
    channelCount = config.channels.size();
    config.interval = timing.interval;
    config.start = {timing.startTime, startSourceName(timing.startTimeSource),
                    timing.startTimeUncertainty};
    config.format =
        plan.float64 ? recording::SampleFormat::Float64 : recording::SampleFormat::Float32;
    config.rotation = {plan.rotateSeconds, plan.rotateBytes};
    config.directory = plan.directory;
    config.pattern = plan.pattern;
    config.flushSeconds = flushSeconds;
    config.provenance.board = session.boardName();
    config.provenance.slot = session.slot();
    const char *driver = orvex_driverLibrary();
    config.provenance.driver = driver != nullptr ? driver : "";
    config.provenance.program = plan.program;
    config.provenance.programVersion = ORVEX_TOOL_VERSION;
    config.provenance.libraryVersion = orvex_version();
    config.provenance.host = hostName();
    config.provenance.notes = plan.notes;
    config.extraNumbers["channel_step"] = timing.channelStep;
    try {
        guarded([&] { recorder = std::make_unique<recording::Recorder>(std::move(config)); });
    } catch (const std::invalid_argument &refused) {
        throw UsageError(refused.what());
    }
}

void ScanRecording::append(const double *scans, std::size_t count) {
    guarded([&] {
        if (plan.float64) {
            recorder->append(scans, count);
            return;
        }
        const std::size_t values = count * channelCount;
        narrowed.assign(scans, scans + values);
        recorder->append(narrowed.data(), count);
    });
}

void ScanRecording::event(recording::Event event) {
    guarded([&] { recorder->event(std::move(event)); });
}

void ScanRecording::rotateNow() {
    guarded([&] { recorder->rotateNow(); });
}

void ScanRecording::close() {
    if (recorder) {
        guarded([&] { recorder->close(); });
    }
}

std::string ScanRecording::currentFile() const {
    return recorder && !recorder->files().empty() ? recorder->files().back() : plan.directory;
}

} // namespace orvex_cli
