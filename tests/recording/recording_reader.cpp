#include "recording_reader.h"

#include <hdf5.h>

#include <cstring>
#include <stdexcept>

namespace {

// Closes an identifier at the end of a scope.
struct Owned {
    hid_t id;
    herr_t (*close)(hid_t);
    Owned(hid_t opened, herr_t (*closer)(hid_t), const std::string &what)
        : id(opened), close(closer) {
        if (id < 0) {
            throw std::runtime_error("cannot " + what);
        }
    }
    Owned(const Owned &) = delete;
    Owned &operator=(const Owned &) = delete;
    ~Owned() { close(id); }
};

herr_t readAttribute(hid_t location, const char *name, const H5A_info_t *, void *data) {
    auto *attributes = static_cast<ReadAttributes *>(data);
    Owned attribute(H5Aopen(location, name, H5P_DEFAULT), H5Aclose, name);
    Owned type(H5Aget_type(attribute.id), H5Tclose, name);
    if (H5Tget_class(type.id) == H5T_STRING) {
        char *text = nullptr;
        H5Aread(attribute.id, type.id, &text);
        attributes->texts[name] = text;
        H5free_memory(text);
    } else {
        double value = 0.0;
        H5Aread(attribute.id, H5T_NATIVE_DOUBLE, &value);
        attributes->numbers[name] = value;
    }
    return 0;
}

ReadAttributes attributesOf(hid_t location) {
    ReadAttributes attributes;
    H5Aiterate2(location, H5_INDEX_NAME, H5_ITER_INC, nullptr, readAttribute, &attributes);
    return attributes;
}

void readChannels(hid_t file, ReadRecording &read) {
    for (int k = 0; k < read.columns; ++k) {
        const std::string name = "channels/" + std::to_string(k);
        Owned channel(H5Gopen2(file, name.c_str(), H5P_DEFAULT), H5Gclose, name);
        read.channels.push_back(attributesOf(channel.id));
        Owned calibration(H5Gopen2(channel.id, "calibration", H5P_DEFAULT), H5Gclose, name);
        read.calibrations.push_back(attributesOf(calibration.id).numbers);
    }
}

void readSamples(hid_t file, ReadRecording &read) {
    Owned samples(H5Dopen2(file, "samples", H5P_DEFAULT), H5Dclose, "open the samples");
    Owned space(H5Dget_space(samples.id), H5Sclose, "read the samples' extent");
    hsize_t extent[2] = {0, 0};
    H5Sget_simple_extent_dims(space.id, extent, nullptr);
    read.rows = static_cast<std::int64_t>(extent[0]);
    read.columns = static_cast<int>(extent[1]);
    read.volts.resize(extent[0] * extent[1]);
    if (!read.volts.empty() && H5Dread(samples.id, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT,
                                       read.volts.data()) < 0) {
        throw std::runtime_error("cannot read the samples");
    }
}

// Raw codes become volts with their channel's scale and offset.
void scaleCodes(ReadRecording &read) {
    if (read.root.texts["sample_format"] != "int16") {
        return;
    }
    for (std::int64_t row = 0; row < read.rows; ++row) {
        for (int k = 0; k < read.columns; ++k) {
            double &value = read.volts[row * read.columns + k];
            value = value * read.channels[k].numbers["scale"] + read.channels[k].numbers["offset"];
        }
    }
}

void readEvents(hid_t file, ReadRecording &read) {
    Owned events(H5Dopen2(file, "events", H5P_DEFAULT), H5Dclose, "open the events");
    Owned fileType(H5Dget_type(events.id), H5Tclose, "read the events' type");
    Owned type(H5Tget_native_type(fileType.id, H5T_DIR_ASCEND), H5Tclose, "type the events");
    Owned space(H5Dget_space(events.id), H5Sclose, "read the events' extent");
    const auto rows = static_cast<std::size_t>(H5Sget_simple_extent_npoints(space.id));
    const std::size_t rowSize = H5Tget_size(type.id);
    std::vector<char> buffer(rows * rowSize + 1);
    if (rows > 0 && H5Dread(events.id, type.id, H5S_ALL, H5S_ALL, H5P_DEFAULT, buffer.data()) < 0) {
        throw std::runtime_error("cannot read the events");
    }
    const auto member = [&](const char *name) {
        return H5Tget_member_offset(type.id,
                                    static_cast<unsigned>(H5Tget_member_index(type.id, name)));
    };
    Owned kindType(
        H5Tget_member_type(type.id, static_cast<unsigned>(H5Tget_member_index(type.id, "kind"))),
        H5Tclose, "type the events' kinds");
    for (std::size_t i = 0; i < rows; ++i) {
        const char *row = buffer.data() + i * rowSize;
        ReadEvent event;
        std::memcpy(&event.sampleIndex, row + member("sample_index"), sizeof event.sampleIndex);
        std::memcpy(&event.timeOffset, row + member("time_offset"), sizeof event.timeOffset);
        std::memcpy(&event.code, row + member("code"), sizeof event.code);
        std::memcpy(&event.duration, row + member("duration"), sizeof event.duration);
        char kind[32] = {};
        H5Tenum_nameof(kindType.id, row + member("kind"), kind, sizeof kind);
        event.kind = kind;
        event.text = std::string(row + member("text"));
        read.events.push_back(event);
    }
}

} // namespace

ReadRecording readRecording(const std::string &path) {
    // Files of a killed writer, and files still written, open for reading only so.
    Owned file(H5Fopen(path.c_str(), H5F_ACC_RDONLY | H5F_ACC_SWMR_READ, H5P_DEFAULT), H5Fclose,
               "open " + path);
    ReadRecording read;
    read.root = attributesOf(file.id);
    readSamples(file.id, read);
    readChannels(file.id, read);
    scaleCodes(read);
    readEvents(file.id, read);
    return read;
}
