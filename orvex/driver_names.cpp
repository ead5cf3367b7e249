#include "driver_names.h"

#include "runtime_text.h"

namespace orvex {
namespace {

constexpr unsigned allLines = 0xFF;
constexpr int linesPerPort = 8;

} // namespace

PortDriverName portTaskName(int port, PortDirection direction, int mask) {
    PortDriverName name{};
    Fmt(name.data(), name.size(), direction == PortDirection::Input ? "port%iR%i" : "port%iW%i",
        port, mask);
    return name;
}

PortDriverName portLines(int slot, int port, unsigned lines) {
    PortDriverName list{};
    if (lines == allLines) {
        Fmt(list.data(), list.size(), "PXI1Slot%i/port%i", slot, port);
        return list;
    }
    std::size_t length = 0;
    const char *separator = "";
    for (int line = 0; line < linesPerPort; ++line) {
        if ((lines & (1u << line)) == 0) {
            continue;
        }
        const int written = Fmt(list.data() + length, list.size() - length,
                                "%sPXI1Slot%i/port%i/line%i", separator, slot, port, line);
        if (written < 0) {
            break; // cut to the buffer, which eight lines of any slot never reach
        }
        length += static_cast<std::size_t>(written);
        separator = ",";
    }
    return list;
}

AnalogDriverName analogOutTaskName(int channel) {
    AnalogDriverName name{};
    Fmt(name.data(), name.size(), "analog%io", channel);
    return name;
}

AnalogDriverName analogOutChannel(int slot, int channel) {
    AnalogDriverName name{};
    Fmt(name.data(), name.size(), "PXI1Slot%i/ao%i", slot, channel);
    return name;
}

AnalogDriverName analogInTaskName(int channel) {
    AnalogDriverName name{};
    Fmt(name.data(), name.size(), "analog%iI", channel);
    return name;
}

AnalogDriverName analogInChannel(int slot, int channel) {
    AnalogDriverName name{};
    Fmt(name.data(), name.size(), "PXI1Slot%i/ai%i", slot, channel);
    return name;
}

} // namespace orvex
