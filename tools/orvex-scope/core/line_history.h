// The levels of the chosen digital lines over the scan's samples.  The library has no clocked
// digital input, so a line is read once per block of scans and its level put against the
// block's last sample: a line keeps only its changes, few beside the samples they span.
#ifndef TOOLS_ORVEX_SCOPE_CORE_LINE_HISTORY_H
#define TOOLS_ORVEX_SCOPE_CORE_LINE_HISTORY_H

#include "scope_setup.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>

namespace scope {

enum class LineState : std::uint8_t { Unknown, Low, High };

// A line's level from this sample on.
struct LineStep {
    long long index;
    LineState state;
};

// What one column of the screen shows of a line.
struct LineColumn {
    LineState first; // at the column's start
    LineState last;  // at its end
    bool changed;    // the level moved within it
};

class LineHistory {
  public:
    // levels and known: bit n is line n (port n / 8, line n % 8); a line not known reads as
    // Unknown, as when its port could not be read.
    void record(long long index, std::uint16_t levels, std::uint16_t known);
    // Changes before first are no longer needed, but the level they leave at first is.
    void dropBefore(long long first);
    void clear();

    LineState stateAt(int line, long long index) const;
    // The stretch [from, to) of samples, fractional: a step at sample i lies at i.
    LineColumn column(int line, double from, double to) const;
    // The newest change to High (rising) or to Low (falling) from the other level, at a
    // sample in [from, to).
    std::optional<double> newestEdge(int line, bool rising, long long from, long long to) const;

    std::size_t steps(int line) const { return lines_[static_cast<std::size_t>(line)].size(); }

  private:
    using Steps = std::deque<LineStep>;
    // The first step after index, or end.
    static Steps::const_iterator after(const Steps &steps, long long index);
    const Steps &of(int line) const { return lines_[static_cast<std::size_t>(line)]; }

    std::array<Steps, lineCount> lines_;
};

} // namespace scope

#endif
