// Physical channel names of the board: one chassis PXI1 with the board in slot 2.
//   digital:  "PXI1Slot2/port1", "PXI1Slot2/port1/line3", "PXI1Slot2/port1/line0:3",
//             comma-separated lists of these (all in one port)
//   analog:   "PXI1Slot2/ai0" .. "PXI1Slot2/ai15", "PXI1Slot2/ao0", "PXI1Slot2/ao1",
//             ranges up or down ("PXI1Slot2/ai0:3", "PXI1Slot2/ai3:0") and comma-separated
//             lists of these (all inputs or all outputs), in the order named
// A leading '/' (terminal style) and spaces around list items are accepted; names are
// not case-sensitive.
#ifndef PLATFORM_SIMBOARD_NAMES_CHANNEL_NAMES_H
#define PLATFORM_SIMBOARD_NAMES_CHANNEL_NAMES_H

#include "outcome.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace simboard {

constexpr int portCount = 3;
constexpr int linesPerPort = 8;
constexpr int analogInputCount = 16;
constexpr int analogOutputCount = 2;
constexpr const char *boardDeviceName = "PXI1Slot2";

enum class ChannelKind { Digital, AnalogInput, AnalogOutput };

struct PhysicalChannel {
    ChannelKind kind = ChannelKind::Digital;
    int port = 0;          // digital
    uint8_t lineMask = 0;  // digital: bit n = line n
    int analogChannel = 0; // ai or ao number
};

struct ParsedChannel {
    Outcome outcome;
    PhysicalChannel channel;         // analog: the first named
    std::vector<int> analogChannels; // analog: every one named, in order, repeats kept
};

ParsedChannel parsePhysicalChannels(std::string_view text);

} // namespace simboard

#endif
