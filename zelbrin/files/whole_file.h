// Files the window reads or writes in one piece: setup files and the graph's picture.
// A file is replaced whole or left as it was, and a file is read only when it is a
// regular file of a size that such a file can have.
#ifndef ZELBRIN_FILES_WHOLE_FILE_H
#define ZELBRIN_FILES_WHOLE_FILE_H

#include <QByteArray>
#include <optional>
#include <string>
#include <variant>

namespace zelbrin {

// Puts bytes in place of the file at path, or leaves the file as it was and returns the
// cause (the system's text, as "No space left on device").  A path that names something
// other than a regular file (a folder, a FIFO, a device) is refused.
std::optional<std::string> writeWholeFile(const std::string &path, const QByteArray &bytes);

// The content of the regular file at path, or why it was not read: no such file, not a
// regular file (a FIFO would wait for a writer, a device could give bytes without end),
// larger than maxBytes, or the system's cause.
std::variant<QByteArray, std::string> readWholeFile(const std::string &path, qint64 maxBytes);

} // namespace zelbrin

#endif
