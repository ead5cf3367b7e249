// The call journal: one line per driver call with its arguments and status, written to
// the file named by ORVEX_SIM_JOURNAL and flushed at once, so it is complete even when
// the program under test crashes.  A journal that cannot be written (a full disk) says so
// once on the error output rather than staying silently empty.
#ifndef PLATFORM_SIMBOARD_BENCH_JOURNAL_H
#define PLATFORM_SIMBOARD_BENCH_JOURNAL_H

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
    template <class Value>
    JournalLine &values(std::string_view name, const Value *values, int64_t count) {
        this->name(name);
        if (values == nullptr) {
            line_ += "NULL";
            return *this;
        }
        line_ += '[';
        for (int64_t i = 0; i < count && i < valuesShown; ++i) {
            line_ += (i == 0 ? "" : " ") + format(values[i]);
        }
        if (count > valuesShown) {
            line_ += " ... (" + std::to_string(count) + " values)";
        }
        line_ += ']';
        return *this;
    }
    std::string finish(int32_t status, bool injected);

  private:
    static constexpr int64_t valuesShown = 4;

    void name(std::string_view name);
    static std::string format(double value);
    static std::string format(uint8_t value) { return std::to_string(value); }

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
    std::string path_;
    bool failureReported_ = false;
};

} // namespace simboard

#endif
