#include "whole_file.h"

#include "write_all.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zelbrin {

namespace {

// Why a path that exists cannot be read or written whole; nothing when it is a regular
// file.
std::optional<std::string> notRegular(const QFileInfo &file) {
    if (file.isDir()) {
        return "it is a folder";
    }
    if (!file.isFile()) {
        return "it is not a regular file";
    }
    return std::nullopt;
}

std::string sizeText(qint64 bytes) {
    constexpr qint64 mebibyte = 1024 * 1024;
    return bytes % mebibyte == 0 ? std::to_string(bytes / mebibyte) + " MiB"
                                 : std::to_string(bytes) + " bytes";
}

} // namespace

std::optional<std::string> writeWholeFile(const std::string &path, const QByteArray &bytes) {
    const QString name = QString::fromLocal8Bit(path.c_str());
    if (const QFileInfo target(name); target.exists()) {
        if (auto why = notRegular(target)) {
            return why;
        }
    }
    QSaveFile file(name);
    // Unbuffered, so that a write cut short shows at once with its cause (see writeAll).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !writeAll(file, bytes.constData(), bytes.size()) || !file.commit()) {
        return file.errorString().toStdString();
    }
    return std::nullopt;
}

std::variant<QByteArray, std::string> readWholeFile(const std::string &path, qint64 maxBytes) {
    const QString name = QString::fromLocal8Bit(path.c_str());
    const QFileInfo source(name);
    if (!source.exists()) {
        return std::string("there is no such file");
    }
    if (auto why = notRegular(source)) {
        return *why;
    }
    const std::string tooLarge = "it is larger than " + sizeText(maxBytes);
    if (source.size() > maxBytes) {
        return tooLarge;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        return file.errorString().toStdString();
    }
    // A file may grow after its size was taken, and some regular files (those of /proc)
    // give a size of 0 whatever they hold: the read itself is bounded too.
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return file.errorString().toStdString();
    }
    if (bytes.size() > maxBytes) {
        return tooLarge;
    }
    return bytes;
}

} // namespace zelbrin
