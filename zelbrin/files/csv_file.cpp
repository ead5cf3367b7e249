#include "csv_file.h"

#include "write_all.h"

namespace zelbrin {

bool CsvFile::open(const std::string &path, const std::string &opening) {
    close();
    rows_ = 0;
    wholeSize_ = 0;
    error_.clear();
    file_.setFileName(QString::fromLocal8Bit(path.c_str()));
    // Unbuffered: a row reaches the system when it is written, and a failed write leaves
    // nothing behind in a buffer that would keep the file from being cut back.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error_ = file_.errorString().toStdString();
        return false;
    }
    return write(opening);
}

bool CsvFile::append(const std::string &row) {
    if (!write(row)) {
        return false;
    }
    ++rows_;
    return true;
}

bool CsvFile::write(const std::string &text) {
    if (!file_.isOpen()) {
        return false;
    }
    const auto size = static_cast<qint64>(text.size());
    if (writeAll(file_, text.data(), size)) {
        wholeSize_ += size;
        return true;
    }
    error_ = file_.errorString().toStdString();
    file_.resize(wholeSize_);
    file_.close();
    return false;
}

void CsvFile::close() {
    if (file_.isOpen()) {
        file_.flush();
        file_.close();
    }
}

} // namespace zelbrin
