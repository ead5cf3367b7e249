#include "read_pace.h"

#include <algorithm>

namespace orvex_cli {

ReadPace::ReadPace(std::size_t shortest, std::size_t longest)
    : shortest_(std::max<std::size_t>(1, shortest)), longest_(std::max(shortest_, longest)),
      scans_(shortest_) {}

void ReadPace::read(double waited, double covered) {
    // A read that waited for most of its samples has caught up with the board: a longer
    // one would only hold the samples longer before they reach the file.
    if (waited < covered / 2) {
        scans_ = std::min(scans_ * 2, longest_);
    } else {
        scans_ = shortest_;
    }
}

} // namespace orvex_cli
