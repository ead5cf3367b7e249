// Scalar and array attributes on a file, group or dataset, written before the file turns
// to single-writer/multiple-reader mode (attributes cannot be added after).
#ifndef TOOLS_RECORDING_SRC_ATTRIBUTE_WRITER_H
#define TOOLS_RECORDING_SRC_ATTRIBUTE_WRITER_H

#include <hdf5.h>

#include <cstdint>
#include <string>

namespace recording {

class AttributeWriter {
  public:
    explicit AttributeWriter(hid_t location) : location_(location) {}

    // UTF-8, of variable length.
    void text(const std::string &name, const std::string &value) const;
    void number(const std::string &name, double value) const;
    void integer(const std::string &name, std::int64_t value) const;

  private:
    void write(const std::string &name, hid_t type, const void *value) const;

    hid_t location_;
};

} // namespace recording

#endif
