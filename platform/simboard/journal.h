// The call journal: one line per driver call with its arguments and status, written to
// the file named by ORVEX_SIM_JOURNAL and flushed at once, so it is complete even when
// the program under test crashes.
#ifndef ORVEX_SIMBOARD_JOURNAL_H
#define ORVEX_SIMBOARD_JOURNAL_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace simboard {

class JournalLine {
  public:
    explicit JournalLine(std::string_view entryPoint);

    JournalLine &text(std::string_view name, const char *value);
    JournalLine &number(std::string_view name, double value);
    JournalLine &integer(std::string_view name, int64_t value);
    JournalLine &task(std::string_view name, const void *handle);
    // At most the first few values, then the count.
    JournalLine &samples(std::string_view name, const double *values, int64_t count);
    JournalLine &bytes(std::string_view name, const uint8_t *values, int64_t count);
    std::string finish(int32_t status, bool injected);

  private:
    void name(std::string_view name);

    std::string line_;
    bool first_ = true;
};

class Journal {
  public:
    Journal() = default;
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;
    ~Journal();

    // Null or empty: no journal.
    void open(const char *path);
    bool enabled() const { return file_ != nullptr; }
    void write(const std::string &line);

  private:
    std::FILE *file_ = nullptr;
};

} // namespace simboard

#endif
