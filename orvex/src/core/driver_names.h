// Every name the library gives the driver: task names and physical channels.
// Port names and line lists get 1024 characters, analog names 256; both are far more
// than any slot number can need, and Fmt never writes past them.
#ifndef ORVEX_SRC_CORE_DRIVER_NAMES_H
#define ORVEX_SRC_CORE_DRIVER_NAMES_H

#include <array>

namespace orvex {

using PortDriverName = std::array<char, 1024>;
using AnalogDriverName = std::array<char, 256>;

enum class PortDirection { Input, Output };

PortDriverName portTaskName(int port, PortDirection direction, int mask);

// The physical channel over the given lines (bit n = line n) of a port: the whole port
// when all eight lines belong to it, otherwise the comma-separated list of lines.
PortDriverName portLines(int slot, int port, unsigned lines);

AnalogDriverName analogOutTaskName(int channel);
AnalogDriverName analogOutChannel(int slot, int channel);
AnalogDriverName analogInTaskName(int channel);
AnalogDriverName analogInChannel(int slot, int channel);

} // namespace orvex

#endif
