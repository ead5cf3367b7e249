#include "port_lines.h"

#include "library_status.h"

#include <cstdio>

namespace zelbrin {

namespace {

constexpr int inputMode = 0;
constexpr int outputMode = 1;
constexpr std::uint8_t allInputs = 0x00;
constexpr std::uint8_t allOutputs = 0xFF;
// S1 is panel line 12, the first of port 1's upper four lines.
constexpr int firstSwitchLine = 12;

bool isPanelLine(int line) {
    return line >= 0 && line < panelLines;
}

int lineBit(std::uint16_t bits, int line) {
    return (bits >> line) & 1;
}

} // namespace

PortLines afterPortRead(PortLines lines, int port, int status, std::uint8_t value) {
    const bool readSomething = status >= 0 && status != statusNoDriverCall;
    lines.known[port] = readSomething;
    if (readSomething) {
        const int shift = linesPerPort * port;
        lines.bits = static_cast<std::uint16_t>((lines.bits & ~(0xFF << shift)) | (value << shift));
    }
    return lines;
}

std::uint8_t portByte(std::uint16_t bits, int port) {
    return static_cast<std::uint8_t>((bits >> (linesPerPort * port)) & 0xFF);
}

std::uint16_t flipLine(std::uint16_t bits, int line) {
    if (!isPanelLine(line)) {
        return bits;
    }
    return static_cast<std::uint16_t>(bits ^ (1u << line));
}

LinePress pressLine(std::uint16_t readBits, int line, int mode) {
    return {flipLine(readBits, line), isPanelLine(line) && mode == inputMode};
}

std::string keptLineNote(int line, std::uint16_t bits) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "P%d.%d = %d is kept for later: ports 0 and 1 are inputs. It is driven once "
                  "Direction is outputs.",
                  line / linesPerPort, line % linesPerPort, lineBit(bits, line));
    return text;
}

std::optional<std::uint8_t> directionMask(int mode) {
    if (mode == inputMode) {
        return allInputs;
    }
    if (mode == outputMode) {
        return allOutputs;
    }
    return std::nullopt;
}

PanelIndicators indicatorsFor(const PortLines &lines) {
    PanelIndicators shown{};
    for (int i = 0; i < panelLines; ++i) {
        shown.lines[i] = {lines.known[i / linesPerPort], lines.bits & (1 << i)};
    }
    // The stand's switches pull their lines low when pressed.
    for (int s = 0; s < switchIndicators; ++s) {
        const int line = firstSwitchLine + s;
        shown.switches[s] = {lines.known[line / linesPerPort], lineBit(lines.bits, line) ? 0 : 1};
    }
    return shown;
}

} // namespace zelbrin
