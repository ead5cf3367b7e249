#include "write_all.h"

#include <QIODevice>

namespace zelbrin {

bool writeAll(QIODevice &device, const char *data, qint64 size) {
    for (qint64 written = 0; written < size;) {
        const qint64 taken = device.write(data + written, size - written);
        if (taken <= 0) {
            return false;
        }
        written += taken;
    }
    return true;
}

} // namespace zelbrin
