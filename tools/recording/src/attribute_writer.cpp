#include "attribute_writer.h"

#include "hdf5_failure.h"

namespace recording {

void AttributeWriter::write(const std::string &name, hid_t type, const void *value) const {
    const std::string what = "write the attribute " + name;
    Hdf5Handle space = checked(H5Screate(H5S_SCALAR), H5Sclose, what);
    Hdf5Handle attribute =
        checked(H5Acreate2(location_, name.c_str(), type, space.get(), H5P_DEFAULT, H5P_DEFAULT),
                H5Aclose, what);
    checked(H5Awrite(attribute.get(), type, value), what);
}

void AttributeWriter::text(const std::string &name, const std::string &value) const {
    Hdf5Handle type = checked(H5Tcopy(H5T_C_S1), H5Tclose, "make a text type");
    checked(H5Tset_size(type.get(), H5T_VARIABLE), "make a text type");
    checked(H5Tset_cset(type.get(), H5T_CSET_UTF8), "make a text type");
    const char *characters = value.c_str();
    write(name, type.get(), &characters);
}

void AttributeWriter::number(const std::string &name, double value) const {
    write(name, H5T_NATIVE_DOUBLE, &value);
}

void AttributeWriter::integer(const std::string &name, std::int64_t value) const {
    write(name, H5T_NATIVE_INT64, &value);
}

} // namespace recording
