#include "events_table.h"

#include "hdf5_failure.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>

namespace recording {

namespace {

// One row in memory; the file's type has the same members, packed, little-endian.
struct EventRow {
    std::int64_t sampleIndex;
    double timeOffset;
    std::int8_t kind;
    std::int32_t code;
    std::int64_t duration;
    char text[eventTextSize];
};

constexpr hsize_t rowsPerChunk = 64;

Hdf5Handle kindType() {
    Hdf5Handle type = checked(H5Tenum_create(H5T_NATIVE_INT8), H5Tclose, "make the events type");
    const char *names[] = {"start", "stop", "trigger", "driver_error", "retry", "gap", "rotation"};
    for (std::int8_t value = 0; value < static_cast<std::int8_t>(std::size(names)); ++value) {
        checked(H5Tenum_insert(type.get(), names[value], &value), "make the events type");
    }
    return type;
}

Hdf5Handle rowType() {
    const std::string what = "make the events type";
    Hdf5Handle text = checked(H5Tcopy(H5T_C_S1), H5Tclose, what);
    checked(H5Tset_size(text.get(), eventTextSize), what);
    checked(H5Tset_strpad(text.get(), H5T_STR_NULLTERM), what);
    checked(H5Tset_cset(text.get(), H5T_CSET_UTF8), what);
    Hdf5Handle kind = kindType();
    Hdf5Handle row = checked(H5Tcreate(H5T_COMPOUND, sizeof(EventRow)), H5Tclose, what);
    checked(H5Tinsert(row.get(), "sample_index", offsetof(EventRow, sampleIndex), H5T_NATIVE_INT64),
            what);
    checked(H5Tinsert(row.get(), "time_offset", offsetof(EventRow, timeOffset), H5T_NATIVE_DOUBLE),
            what);
    checked(H5Tinsert(row.get(), "kind", offsetof(EventRow, kind), kind.get()), what);
    checked(H5Tinsert(row.get(), "code", offsetof(EventRow, code), H5T_NATIVE_INT32), what);
    checked(H5Tinsert(row.get(), "duration", offsetof(EventRow, duration), H5T_NATIVE_INT64), what);
    checked(H5Tinsert(row.get(), "text", offsetof(EventRow, text), text.get()), what);
    return row;
}

// The bytes of `text` that fit, cut at a character's start so that the rest stays UTF-8.
std::size_t textLength(const std::string &text) {
    if (text.size() < eventTextSize) {
        return text.size();
    }
    std::size_t length = eventTextSize - 1;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return length;
}

} // namespace

EventsTable::EventsTable(hid_t file) : memoryType_(rowType()) {
    const std::string what = "make the events table";
    Hdf5Handle fileType = checked(H5Tcopy(memoryType_.get()), H5Tclose, what);
    checked(H5Tpack(fileType.get()), what);
    const hsize_t empty = 0;
    const hsize_t unlimited = H5S_UNLIMITED;
    Hdf5Handle space = checked(H5Screate_simple(1, &empty, &unlimited), H5Sclose, what);
    Hdf5Handle properties = checked(H5Pcreate(H5P_DATASET_CREATE), H5Pclose, what);
    checked(H5Pset_chunk(properties.get(), 1, &rowsPerChunk), what);
    dataset_ = checked(H5Dcreate2(file, "events", fileType.get(), space.get(), H5P_DEFAULT,
                                  properties.get(), H5P_DEFAULT),
                       H5Dclose, what);
}

void EventsTable::append(const std::vector<Event> &events, const SampleClock &clock) {
    if (events.empty()) {
        return;
    }
    std::vector<EventRow> rows(events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event &event = events[i];
        EventRow &row = rows[i];
        row.sampleIndex = event.sampleIndex;
        row.timeOffset = clock.offsetOf(event.sampleIndex);
        row.kind = static_cast<std::int8_t>(event.kind);
        row.code = event.code;
        row.duration = event.duration;
        std::memset(row.text, 0, sizeof row.text);
        std::memcpy(row.text, event.text.data(), textLength(event.text));
    }
    const std::string what = "write the events";
    const hsize_t count = rows.size();
    const hsize_t extent = rows_ + count;
    checked(H5Dset_extent(dataset_.get(), &extent), what);
    Hdf5Handle fileSpace = checked(H5Dget_space(dataset_.get()), H5Sclose, what);
    checked(H5Sselect_hyperslab(fileSpace.get(), H5S_SELECT_SET, &rows_, nullptr, &count, nullptr),
            what);
    Hdf5Handle memorySpace = checked(H5Screate_simple(1, &count, nullptr), H5Sclose, what);
    checked(H5Dwrite(dataset_.get(), memoryType_.get(), memorySpace.get(), fileSpace.get(),
                     H5P_DEFAULT, rows.data()),
            what);
    rows_ = extent;
}

} // namespace recording
