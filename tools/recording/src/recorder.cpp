#include <recording/recorder.h>

#include "file_name_pattern.h"
#include "hdf5_failure.h"
#include "sample_clock.h"
#include "segment_file.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>

namespace recording {

namespace {

std::size_t sampleBytes(SampleFormat format) {
    switch (format) {
    case SampleFormat::Float64:
        return sizeof(double);
    case SampleFormat::Int16:
        return sizeof(std::int16_t);
    case SampleFormat::Float32:
        break;
    }
    return sizeof(float);
}

void checkConfig(const RecordingConfig &config) {
    const auto refuse = [](const std::string &why) {
        throw std::invalid_argument("recording: " + why);
    };
    if (config.channels.empty()) {
        refuse("no channels");
    }
    if (!(config.interval > 0.0) || !std::isfinite(config.interval)) {
        refuse("the sample interval must be above 0 seconds");
    }
    if (!(config.flushSeconds > 0.0) || config.flushSeconds > 1.0) {
        refuse("the flush interval must be above 0 and at most 1 second");
    }
    if (!(config.rotation.seconds >= 0.0) || !std::isfinite(config.rotation.seconds)) {
        refuse("the rotation time must be 0 (none) or above");
    }
    for (const ChannelDescription &channel : config.channels) {
        if (config.format == SampleFormat::Int16 &&
            !(std::isfinite(channel.scale) && channel.scale != 0.0)) {
            refuse("channel " + channel.name + " needs a scale for 16-bit codes");
        }
    }
    checkFileNamePattern(config.pattern);
}

} // namespace

Recorder::Recorder(RecordingConfig config)
    : config_(std::move(config)), scanBytes_(0), flushScans_(0),
      soonestFlush_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
          std::chrono::duration<double>(config_.flushSeconds / 2))),
      clock_(std::make_unique<SampleClock>(config_.start.epochSeconds, config_.interval)) {
    checkConfig(config_);
    silenceHdf5Errors();
    scanBytes_ = config_.channels.size() * sampleBytes(config_.format);
    flushScans_ = std::max<std::int64_t>(1, std::llround(config_.flushSeconds / config_.interval));
    openSegment();
    pendingEvents_.push_back(Event{EventKind::Start, 0, 0, {}, 0});
}

Recorder::~Recorder() {
    if (closed_ || !failure_.empty()) {
        return;
    }
    try {
        close();
    } catch (const std::exception &) {
        // The files stay readable up to the last flush; the caller chose not to hear.
    }
}

void Recorder::append(const float *scans, std::size_t count) {
    appendBytes(SampleFormat::Float32, scans, count);
}

void Recorder::append(const double *scans, std::size_t count) {
    appendBytes(SampleFormat::Float64, scans, count);
}

void Recorder::append(const std::int16_t *scans, std::size_t count) {
    appendBytes(SampleFormat::Int16, scans, count);
}

std::int64_t Recorder::segmentCapacity() const {
    std::int64_t capacity = std::numeric_limits<std::int64_t>::max();
    if (config_.rotation.seconds > 0.0) {
        capacity =
            std::max<std::int64_t>(1, std::llround(config_.rotation.seconds / config_.interval));
    }
    if (config_.rotation.bytes > 0) {
        capacity = std::min<std::int64_t>(
            capacity, std::max<std::int64_t>(
                          1, static_cast<std::int64_t>(config_.rotation.bytes / scanBytes_)));
    }
    return capacity;
}

void Recorder::appendBytes(SampleFormat format, const void *scans, std::size_t count) {
    throwIfFailed();
    if (closed_) {
        throw std::logic_error("recording: append after close");
    }
    if (format != config_.format) {
        throw std::invalid_argument("recording: samples of another format than configured");
    }
    const auto *bytes = static_cast<const char *>(scans);
    std::int64_t remaining = static_cast<std::int64_t>(count);
    try {
        while (remaining > 0) {
            if (segmentFull_) {
                closeSegment();
                openSegment();
            }
            const std::int64_t room = segmentCapacity() - segmentScans_;
            const std::int64_t taken = std::min(remaining, room);
            const std::size_t takenBytes = static_cast<std::size_t>(taken) * scanBytes_;
            segment_->reserve(takenBytes);
            segment_->append(bytes, taken);
            bytes += takenBytes;
            remaining -= taken;
            appended_ += taken;
            segmentScans_ += taken;
            unflushedScans_ += taken;
            // The next file begins only with the next sample, so that a recording that
            // ends here leaves no empty file.
            if (segmentScans_ == segmentCapacity()) {
                flushSegment();
                segmentFull_ = true;
            }
        }
        // Not sooner than half the period in real time: a recording faster than real time
        // (a backlog read at once, a board in virtual time) then pays for a flush a period
        // rather than one a block, and blocks paced by a timer that fires a little early
        // still get one each.
        if (unflushedScans_ >= flushScans_ &&
            std::chrono::steady_clock::now() - lastFlush_ >= soonestFlush_) {
            flushSegment();
        }
    } catch (const RecordingError &error) {
        failed(error);
        throw;
    }
}

void Recorder::event(Event event) {
    throwIfFailed();
    if (event.sampleIndex < 0) {
        event.sampleIndex = appended_;
    }
    if (event.kind == EventKind::Gap && event.duration > 0) {
        clock_->gap(event.sampleIndex, event.duration);
    }
    pendingEvents_.push_back(std::move(event));
}

void Recorder::rotateNow() {
    flush();
    if (segmentScans_ > 0) {
        segmentFull_ = true;
    }
}

void Recorder::flush() {
    throwIfFailed();
    try {
        flushSegment();
    } catch (const RecordingError &error) {
        failed(error);
        throw;
    }
}

void Recorder::close() {
    throwIfFailed();
    if (closed_) {
        return;
    }
    pendingEvents_.push_back(Event{EventKind::Stop, appended_, 0, {}, 0});
    try {
        closeSegment();
    } catch (const RecordingError &error) {
        failed(error);
        throw;
    }
    closed_ = true;
}

void Recorder::openSegment() {
    const int number = static_cast<int>(files_.size());
    const double start = clock_->epochOf(appended_);
    const std::filesystem::path path =
        std::filesystem::path(config_.directory) / fileName(config_.pattern, start, number);
    segment_ = std::make_unique<SegmentFile>(config_,
                                             SegmentStart{path.string(), appended_, start, number});
    if (!files_.empty()) {
        const std::string previous = std::filesystem::path(files_.back()).filename().string();
        pendingEvents_.push_back(Event{EventKind::Rotation, appended_, 0, "after " + previous, 0});
    }
    files_.push_back(path.string());
    segmentScans_ = 0;
    segmentFull_ = false;
}

void Recorder::closeSegment() {
    flushSegment();
    segment_->close();
    segment_.reset();
}

void Recorder::flushSegment() {
    segment_->appendEvents(pendingEvents_, *clock_);
    pendingEvents_.clear();
    segment_->flush();
    lastFlush_ = std::chrono::steady_clock::now();
    unflushedScans_ = 0;
}

void Recorder::failed(const RecordingError &error) {
    failure_ = error.what();
    // Closing what can be closed leaves the file as its last flush wrote it.
    segment_.reset();
}

void Recorder::throwIfFailed() const {
    if (!failure_.empty()) {
        throw RecordingError(failure_);
    }
}

} // namespace recording
