// The block that the library regenerates on an output: whole periods of a sine or square
// wave, or the voltages of a file.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_WAVEFORM_H
#define TOOLS_ORVEX_CLI_ACQUISITION_WAVEFORM_H

#include <string>
#include <string_view>
#include <vector>

namespace orvex_cli {

enum class WaveKind { Sine, Square };

struct WaveShape {
    WaveKind kind = WaveKind::Sine;
    double frequency = 0.0;
    double amplitude = 0.0;
    double offset = 0.0;
};

// "FREQ,AMPL[,OFFSET]"; throws UsageError.
WaveShape parseWaveShape(WaveKind kind, std::string_view text);

// Whole periods at the given rate, as many as keep the frequency closest to the asked one
// within a block of at most a million samples.  Throws UsageError for a frequency above
// half the rate.
std::vector<double> periodicBlock(const WaveShape &shape, double rate);

// One voltage a line, at most a million; blank lines and '#' comments are skipped.  The
// file must be a regular one within the bounds of line_reader.h.  Throws UsageError.
std::vector<double> readWaveFile(const std::string &path);

// Throws UsageError when a sample lies outside the outputs' -10 to +10 V.
void checkOutputRange(const std::vector<double> &block);

} // namespace orvex_cli

#endif
