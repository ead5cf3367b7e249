// How many scans the recorder asks the board for at a time.  A short block keeps a stop
// prompt while the recorder waits for the board; when the samples are there already (the
// recorder fell behind, or the simulated board runs in virtual time) the blocks grow, so
// that catching up takes a few large reads rather than many small ones.
#ifndef TOOLS_ORVEX_CLI_RECORD_READ_PACE_H
#define TOOLS_ORVEX_CLI_RECORD_READ_PACE_H

#include <cstddef>

namespace orvex_cli {

class ReadPace {
  public:
    // Blocks of `shortest` scans while reads wait for the board, up to `longest` while
    // they do not.
    ReadPace(std::size_t shortest, std::size_t longest);

    std::size_t scans() const { return scans_; }
    // A read of scans() has taken `waited` seconds of real time for `covered` seconds of
    // the board's samples.
    void read(double waited, double covered);

  private:
    std::size_t shortest_;
    std::size_t longest_;
    std::size_t scans_;
};

} // namespace orvex_cli

#endif
