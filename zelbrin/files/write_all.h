// Writing all of a text to a file or not at all, with the system's cause when not.  The
// system may take only part of a write (a disk that fills up on the way, a file size
// limit) without an error; Qt then reports the short count and "Unknown error".  The rest
// is offered again, and the write that takes nothing carries the cause ("No space left
// on device").
#ifndef ZELBRIN_FILES_WRITE_ALL_H
#define ZELBRIN_FILES_WRITE_ALL_H

#include <QtGlobal>

class QIODevice;

namespace zelbrin {

// False, with device.errorString() saying why, when the device took less than size.  For
// a device opened Unbuffered: a buffered one takes everything and loses it at its flush.
bool writeAll(QIODevice &device, const char *data, qint64 size);

} // namespace zelbrin

#endif
