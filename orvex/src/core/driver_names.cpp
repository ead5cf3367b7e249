#include "driver_names.h"

#include "uiruntime/runtime_text.h"

namespace orvex {
namespace {

constexpr unsigned allLines = 0xFF;
constexpr int linesPerPort = 8;

template <typename Name, typename... Values> Name formatted(const char *format, Values... values) {
    Name name{};
    Fmt(name.data(), name.size(), format, values...);
    return name;
}

} // namespace

PortDriverName portTaskName(int port, PortDirection direction, int mask) {
    return formatted<PortDriverName>(direction == PortDirection::Input ? "port%iR%i" : "port%iW%i",
                                     port, mask);
}

PortDriverName portLines(int slot, int port, unsigned lines) {
    if (lines == allLines) {
        return formatted<PortDriverName>("PXI1Slot%i/port%i", slot, port);
    }
    PortDriverName list{};
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
    return formatted<AnalogDriverName>("analog%io", channel);
}

AnalogDriverName analogOutChannel(int slot, int channel) {
    return formatted<AnalogDriverName>("PXI1Slot%i/ao%i", slot, channel);
}

AnalogDriverName analogInTaskName(int channel) {
    return formatted<AnalogDriverName>("analog%iI", channel);
}

AnalogDriverName analogInChannel(int slot, int channel) {
    return formatted<AnalogDriverName>("PXI1Slot%i/ai%i", slot, channel);
}

} // namespace orvex
