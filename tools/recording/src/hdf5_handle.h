// An HDF5 identifier closed with the call its kind needs, once, when it goes.
#ifndef TOOLS_RECORDING_SRC_HDF5_HANDLE_H
#define TOOLS_RECORDING_SRC_HDF5_HANDLE_H

#include <hdf5.h>

#include <utility>

namespace recording {

using Hdf5Close = herr_t (*)(hid_t);

class Hdf5Handle {
  public:
    Hdf5Handle() = default;
    Hdf5Handle(hid_t id, Hdf5Close close) : id_(id), close_(close) {}
    Hdf5Handle(Hdf5Handle &&other) noexcept
        : id_(std::exchange(other.id_, H5I_INVALID_HID)), close_(other.close_) {}
    Hdf5Handle &operator=(Hdf5Handle &&other) noexcept {
        if (this != &other) {
            reset();
            id_ = std::exchange(other.id_, H5I_INVALID_HID);
            close_ = other.close_;
        }
        return *this;
    }
    Hdf5Handle(const Hdf5Handle &) = delete;
    Hdf5Handle &operator=(const Hdf5Handle &) = delete;
    ~Hdf5Handle() { reset(); }

    hid_t get() const { return id_; }
    // The close call's status: a file's close writes what is left, and may fail.
    herr_t reset() {
        herr_t status = 0;
        if (id_ >= 0 && close_ != nullptr) {
            status = close_(id_);
        }
        id_ = H5I_INVALID_HID;
        return status;
    }

  private:
    hid_t id_ = H5I_INVALID_HID;
    Hdf5Close close_ = nullptr;
};

} // namespace recording

#endif
