// What the digital side of the panel decides, apart from the widgets and the board: how a
// port read changes the sixteen known lines, what a line press or all-0 / all-1 drives,
// which directions a mode asks for and what the indicators show.
#ifndef ZELBRIN_LOGIC_PORT_LINES_H
#define ZELBRIN_LOGIC_PORT_LINES_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zelbrin {

inline constexpr int linesPerPort = 8;
// Ports 0 and 1 make up the panel's sixteen lines: line i is port i / 8, bit i % 8.
inline constexpr int panelPorts = 2;
inline constexpr int panelLines = panelPorts * linesPerPort;
// The stand's four switches, S1 to S4, each shown by an indicator of its own.
inline constexpr int switchIndicators = 4;

inline constexpr std::uint16_t allLinesLow = 0x0000;
inline constexpr std::uint16_t allLinesHigh = 0xFFFF;

// Ports 0 and 1 as last read: bit i is panel line i (low byte port 0), and whether the
// last read of each port read anything.
struct PortLines {
    std::uint16_t bits;
    std::array<bool, panelPorts> known;
};

// A read that failed, or that read nothing because the port is not set up, keeps the
// port's byte as it was: a later line press then drives the other lines with what was last
// known rather than with a made-up value, and the indicators show the port as unknown.
PortLines afterPortRead(PortLines lines, int port, int status, std::uint8_t value);

// The byte of one port within the sixteen lines.
std::uint8_t portByte(std::uint16_t bits, int port);

// The lines with one flipped; a line outside 0 to 15 (a button that is no line's) flips
// nothing.
std::uint16_t flipLine(std::uint16_t bits, int line);

// What a press of a line's button does to the lines just read.
struct LinePress {
    std::uint16_t drive;
    // In input mode the press only changes the value the library keeps for the port; the
    // user is told so.
    bool keptForLater;
};
LinePress pressLine(std::uint16_t readBits, int line, int mode);

// The note for a press in input mode.
std::string keptLineNote(int line, std::uint16_t bits);

// The direction mask for ports 0 and 1 that a mode asks for: 0 inputs, 1 outputs; any
// other mode leaves the board as it is.
std::optional<std::uint8_t> directionMask(int mode);

// One indicator: its value, or unknown when its port's last read read nothing.
struct Indicator {
    bool known;
    int value;
};

// The sixteen line indicators show their line's bit as it stands in the word (line 12
// shows 4096); the switch indicators S1 to S4 (index 0 to 3) show lines 12 to 15 inverted.
struct PanelIndicators {
    std::array<Indicator, panelLines> lines;
    std::array<Indicator, switchIndicators> switches;
};
PanelIndicators indicatorsFor(const PortLines &lines);

} // namespace zelbrin

#endif
