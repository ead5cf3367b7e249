// Everything the user sets up: channels, time base, trigger, generator and the history's
// bound, as plain values the window, the worker and the setup files share.
#ifndef TOOLS_ORVEX_SCOPE_CORE_SCOPE_SETUP_H
#define TOOLS_ORVEX_SCOPE_CORE_SCOPE_SETUP_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace scope {

constexpr int inputCount = 16;
constexpr int outputCount = 2;
constexpr int divisionsAcross = 10;
constexpr int divisionsUp = 8;
// Digital lines of ports 0 and 1, where the stand's switches and free lines are; port 2 is
// the lab window's (the joystick's power).  Line n is line n % 8 of port n / 8.
constexpr int linesPerPort = 8;
constexpr int linePorts = 2;
constexpr int lineCount = linesPerPort * linePorts;

enum class SweepMode { Roll, Auto, Normal, Single };
enum class Waveform { Sine, Square, Triangle, Dc, File };

struct ChannelSetup {
    bool enabled = false;
    bool visible = true;
    std::uint32_t colour = 0xFFFF00; // 0xRRGGBB
    double range = 10.0;             // ± volts
    int terminal = 0;                // ORVEX_RSE, ORVEX_NRSE or ORVEX_DIFF
    double voltsPerDivision = 1.0;
    double offset = 0.0; // volts added before drawing
};

struct TriggerSetup {
    int input = 0; // ai0 .. ai15
    double level = 0.0;
    bool rising = true;
    double preTrigger = 0.5; // 0 .. 1 of the screen
    int line = -1;           // a digital line as the source instead, when not negative
};

struct OutputSetup {
    bool enabled = false;
    Waveform waveform = Waveform::Sine;
    double frequency = 1000.0;
    double amplitude = 1.0; // volts from the middle to the peak
    double offset = 0.0;
    std::string file; // values in volts, one a line, for Waveform::File
};

struct ScopeSetup {
    std::array<ChannelSetup, inputCount> channels;
    double rate = 100000.0; // samples per second per channel
    double secondsPerDivision = 1e-3;
    SweepMode mode = SweepMode::Auto;
    TriggerSetup trigger;
    std::array<OutputSetup, outputCount> outputs;
    bool outputsOnScanClock = true; // in step: one output sample per scan
    double outputRate = 100000.0;   // otherwise, the outputs' own clock
    long long historyBound = 100'000'000;
    std::uint16_t lines = 0; // bit n: digital line n read and shown

    ScopeSetup();
    std::vector<int> enabledInputs() const;
    std::vector<int> chosenLines() const;
    // The ports of the chosen lines, which the scan takes as inputs.
    std::vector<int> linePortsRead() const;
};

// "port1/line4"; a line's number from such a name, or -1.
std::string lineName(int line);
int lineOfName(const std::string &name);

// The steps of the time base, 1, 2 and 5 times powers of ten from 1 µs to 10 s.
std::vector<double> timeBaseSteps();
// The volts-per-division steps from 1 mV to 5 V.
std::vector<double> voltageSteps();
// The seconds or volts in the unit that reads best: "2 ms", "500 µs", "50 mV".
std::string withUnit(double value, const char *unit);

} // namespace scope

#endif
