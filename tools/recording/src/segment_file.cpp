#include "segment_file.h"

#include "attribute_writer.h"
#include "hdf5_failure.h"
#include "utc_time.h"

#include <recording/recorder.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace recording {

namespace {

// Chunks of about this size: small enough that a flush of a slow recording rewrites
// little, large enough that a fast one writes in big pieces.
constexpr std::size_t chunkBytes = 64 * 1024;

struct StoredType {
    hid_t memory;
    hid_t file;
};

StoredType storedType(SampleFormat format) {
    switch (format) {
    case SampleFormat::Float64:
        return {H5T_NATIVE_DOUBLE, H5T_IEEE_F64LE};
    case SampleFormat::Int16:
        return {H5T_NATIVE_INT16, H5T_STD_I16LE};
    case SampleFormat::Float32:
        break;
    }
    return {H5T_NATIVE_FLOAT, H5T_IEEE_F32LE};
}

// Readers that follow the file need the newest format, which single-writer mode requires.
Hdf5Handle newestFormat() {
    Hdf5Handle access = checked(H5Pcreate(H5P_FILE_ACCESS), H5Pclose, "make file properties");
    checked(H5Pset_libver_bounds(access.get(), H5F_LIBVER_LATEST, H5F_LIBVER_LATEST),
            "make file properties");
    return access;
}

// A closed file keeps the room taken ahead of its end; HDF5 only cuts it off when the file
// was not in single-writer mode.  Left as it is when the end cannot be read: the file is
// whole either way.
void giveBackRoom(const std::string &path) {
    const hid_t file = H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
    if (file < 0) {
        H5Eclear2(H5E_DEFAULT);
        return;
    }
    haddr_t end = 0;
    const bool known = H5Fget_eoa(file, &end) >= 0;
    H5Fclose(file);
    if (known && end > 0) {
        truncate(path.c_str(), static_cast<off_t>(end));
    }
}

// A file is made under a hidden name beside its own and takes its name only once its
// structure is written and readers may follow it, so that a recorder killed while making
// it leaves no file under the recording's names that cannot be opened.
std::string makingName(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, base) + "." + path.substr(base) + ".making";
}

// Removes the file being made unless it was given its name.
class Unnamed {
  public:
    explicit Unnamed(std::string making) : making_(std::move(making)) {}
    Unnamed(const Unnamed &) = delete;
    Unnamed &operator=(const Unnamed &) = delete;
    ~Unnamed() { unlink(making_.c_str()); }
    const std::string &path() const { return making_; }

    // A link, not a rename, so that a file that exists meanwhile is never replaced.
    void name(const std::string &path) const {
        if (link(making_.c_str(), path.c_str()) != 0) {
            throw RecordingError("cannot make " + path + ": " + std::strerror(errno));
        }
    }

  private:
    std::string making_;
};

} // namespace

const char *sampleFormatName(SampleFormat format) {
    switch (format) {
    case SampleFormat::Float64:
        return "float64";
    case SampleFormat::Int16:
        return "int16";
    case SampleFormat::Float32:
        break;
    }
    return "float32";
}

SegmentFile::SegmentFile(const RecordingConfig &config, const SegmentStart &start)
    : path_(start.path), channels_(config.channels.size()) {
    if (::access(path_.c_str(), F_OK) == 0) {
        throw RecordingError("cannot make " + path_ + ": " + std::strerror(EEXIST));
    }
    const Unnamed making(makingName(path_));
    Hdf5Handle access = newestFormat();
    file_ = checked(H5Fcreate(making.path().c_str(), H5F_ACC_EXCL, H5P_DEFAULT, access.get()),
                    H5Fclose, "make " + path_);
    writeAttributes(config, start);
    writeChannels(config);
    makeSamples(config);
    events_.emplace(file_.get());
    void *descriptor = nullptr;
    checked(H5Fget_vfd_handle(file_.get(), H5P_DEFAULT, &descriptor), "reach " + path_);
    room_.emplace(*static_cast<int *>(descriptor), path_);
    // Starting single-writer mode cuts the file to its end, room taken before included.
    checked(H5Fstart_swmr_write(file_.get()), "start single-writer mode in " + path_);
    reserve(0);
    making.name(path_);
}

void SegmentFile::reserve(std::uint64_t bytes) {
    haddr_t end = 0;
    checked(H5Fget_eoa(file_.get(), &end), "read the end of " + path_);
    // A new chunk may be started on either side of the samples.
    room_->reserve(std::max<std::uint64_t>(end, flushedEnd_ + unflushedBytes_) + bytes +
                   2 * chunkBytes);
}

void SegmentFile::writeAttributes(const RecordingConfig &config, const SegmentStart &start) {
    const AttributeWriter root(file_.get());
    const Provenance &provenance = config.provenance;
    const double startTime = start.epoch;
    root.text("format", "orvex recording");
    root.integer("format_version", 1);
    root.text("start_time", isoUtc(startTime));
    root.number("start_time_epoch", startTime);
    root.text("start_time_source", config.start.source);
    root.number("start_time_uncertainty", config.start.uncertainty);
    root.text("recording_start_time", isoUtc(config.start.epochSeconds));
    root.number("recording_start_time_epoch", config.start.epochSeconds);
    root.number("sample_interval", config.interval);
    root.number("sample_rate", 1.0 / config.interval);
    root.integer("first_sample_index", start.firstIndex);
    root.integer("file_number", start.number);
    root.integer("channel_count", static_cast<std::int64_t>(config.channels.size()));
    root.text("sample_format", sampleFormatName(config.format));
    root.text("board", provenance.board);
    root.integer("slot", provenance.slot);
    root.text("driver", provenance.driver);
    root.text("program", provenance.program);
    root.text("program_version", provenance.programVersion);
    root.text("library_version", provenance.libraryVersion);
    root.text("host", provenance.host);
    root.text("notes", provenance.notes);
    root.number("rotation_seconds", config.rotation.seconds);
    root.integer("rotation_bytes", static_cast<std::int64_t>(config.rotation.bytes));
    for (const auto &[name, value] : config.extraTexts) {
        root.text(name, value);
    }
    for (const auto &[name, value] : config.extraNumbers) {
        root.number(name, value);
    }
}

void SegmentFile::writeChannels(const RecordingConfig &config) {
    const auto group = [](hid_t parent, const std::string &name) {
        return checked(H5Gcreate2(parent, name.c_str(), H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT),
                       H5Gclose, "make the group " + name);
    };
    Hdf5Handle channels = group(file_.get(), "channels");
    for (std::size_t k = 0; k < config.channels.size(); ++k) {
        const ChannelDescription &description = config.channels[k];
        Hdf5Handle channel = group(channels.get(), std::to_string(k));
        const AttributeWriter attributes(channel.get());
        attributes.text("name", description.name);
        attributes.number("range", description.range);
        attributes.text("terminal", description.terminal);
        attributes.text("units", description.units);
        if (config.format == SampleFormat::Int16) {
            attributes.number("scale", description.scale);
            attributes.number("offset", description.offset);
        }
        Hdf5Handle calibration = group(channel.get(), "calibration");
        for (const auto &[key, value] : description.calibration) {
            AttributeWriter(calibration.get()).number(key, value);
        }
    }
}

void SegmentFile::makeSamples(const RecordingConfig &config) {
    const std::string what = "make the samples in " + path_;
    const StoredType type = storedType(config.format);
    memoryType_ = type.memory;
    const hsize_t empty[2] = {0, channels_};
    const hsize_t most[2] = {H5S_UNLIMITED, channels_};
    rowBytes_ = channels_ * H5Tget_size(type.memory);
    const hsize_t chunk[2] = {std::max<hsize_t>(1, chunkBytes / rowBytes_), channels_};
    Hdf5Handle space = checked(H5Screate_simple(2, empty, most), H5Sclose, what);
    Hdf5Handle properties = checked(H5Pcreate(H5P_DATASET_CREATE), H5Pclose, what);
    checked(H5Pset_chunk(properties.get(), 2, chunk), what);
    samples_ = checked(H5Dcreate2(file_.get(), "samples", type.file, space.get(), H5P_DEFAULT,
                                  properties.get(), H5P_DEFAULT),
                       H5Dclose, what);
    AttributeWriter(samples_.get()).text("layout", "samples x channels");
}

void SegmentFile::append(const void *scans, std::int64_t count) {
    const std::string what = "write samples to " + path_;
    const hsize_t start[2] = {rows_, 0};
    const hsize_t size[2] = {static_cast<hsize_t>(count), channels_};
    const hsize_t extent[2] = {rows_ + size[0], channels_};
    checked(H5Dset_extent(samples_.get(), extent), what);
    Hdf5Handle fileSpace = checked(H5Dget_space(samples_.get()), H5Sclose, what);
    checked(H5Sselect_hyperslab(fileSpace.get(), H5S_SELECT_SET, start, nullptr, size, nullptr),
            what);
    Hdf5Handle memorySpace = checked(H5Screate_simple(2, size, nullptr), H5Sclose, what);
    checked(H5Dwrite(samples_.get(), memoryType_, memorySpace.get(), fileSpace.get(), H5P_DEFAULT,
                     scans),
            what);
    rows_ = extent[0];
    unflushedBytes_ += size[0] * rowBytes_;
}

void SegmentFile::appendEvents(const std::vector<Event> &events, const SampleClock &clock) {
    try {
        events_->append(events, clock);
    } catch (const RecordingError &error) {
        throw RecordingError(std::string(error.what()) + " (in " + path_ + ")");
    }
}

void SegmentFile::flush() {
    checked(H5Fflush(file_.get(), H5F_SCOPE_LOCAL), "flush " + path_);
    checked(H5Fget_eoa(file_.get(), &flushedEnd_), "read the end of " + path_);
    unflushedBytes_ = 0;
}

void SegmentFile::close() {
    events_.reset();
    const herr_t samplesClosed = samples_.reset();
    const herr_t fileClosed = file_.reset();
    if (samplesClosed < 0 || fileClosed < 0) {
        throwHdf5Failure("close " + path_);
    }
    giveBackRoom(path_);
}

} // namespace recording
