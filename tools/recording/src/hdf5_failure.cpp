#include "hdf5_failure.h"

#include <recording/recorder.h>

namespace recording {

namespace {

// The first entry walking upward is the deepest, the one that names the system's reason.
herr_t keepDeepest(unsigned, const H5E_error2_t *entry, void *data) {
    auto *text = static_cast<std::string *>(data);
    if (text->empty() && entry->desc != nullptr) {
        *text = entry->desc;
    }
    return 0;
}

// HDF5 words a system failure as "..., errno = 28, error message = 'No space left on
// device', ..."; the system's words are what a user can act on.
std::string systemReason(const std::string &description) {
    const std::string marker = "error message = '";
    const std::size_t start = description.find(marker);
    if (start == std::string::npos) {
        return description;
    }
    const std::size_t from = start + marker.size();
    return description.substr(from, description.find('\'', from) - from);
}

} // namespace

void silenceHdf5Errors() {
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
}

void throwHdf5Failure(const std::string &what) {
    std::string reason;
    H5Ewalk2(H5E_DEFAULT, H5E_WALK_UPWARD, keepDeepest, &reason);
    H5Eclear2(H5E_DEFAULT);
    throw RecordingError("cannot " + what + ": " +
                         (reason.empty() ? "HDF5 failed" : systemReason(reason)));
}

Hdf5Handle checked(hid_t id, Hdf5Close close, const std::string &what) {
    if (id < 0) {
        throwHdf5Failure(what);
    }
    return Hdf5Handle(id, close);
}

void checked(herr_t status, const std::string &what) {
    if (status < 0) {
        throwHdf5Failure(what);
    }
}

} // namespace recording
