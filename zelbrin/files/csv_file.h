// A file written row by row that holds only whole rows: each row goes to the system as
// it is written, and a row that cannot be written whole (full disk, file gone bad) is cut
// off again, so that what the file holds stays readable up to its last row.
#ifndef ZELBRIN_FILES_CSV_FILE_H
#define ZELBRIN_FILES_CSV_FILE_H

#include <QFile>
#include <string>

namespace zelbrin {

class CsvFile {
  public:
    // Creates or empties the file and writes the opening text (the header); false, with
    // error() saying why, when either fails.
    bool open(const std::string &path, const std::string &opening);
    // False, the file closed and error() saying why, when the row could not be written.
    bool append(const std::string &row);
    void close();

    bool isOpen() const { return file_.isOpen(); }
    long long rows() const { return rows_; }
    const std::string &error() const { return error_; }

  private:
    bool write(const std::string &text);

    QFile file_;
    qint64 wholeSize_ = 0;
    long long rows_ = 0;
    std::string error_;
};

} // namespace zelbrin

#endif
