// The scan's channel lists as their users write them ("ai0:3,ai8"), the board's ranges and
// the wiring rules of its terminal configurations.  Each check fills `why` with a reason
// meant for the error text.
#ifndef ORVEX_SRC_SCAN_CHANNEL_LIST_H
#define ORVEX_SRC_SCAN_CHANNEL_LIST_H

#include <orvex.h>

#include <array>
#include <cstddef>

namespace orvex {

inline constexpr int scanInputCount = 16;
// Differential input n is measured against input n + 8.
inline constexpr int differentialPartnerOffset = 8;

struct ScanChannel {
    int input = 0;
    double range = 10.0; // one of the board's ranges
    int terminal = ORVEX_RSE;
};

struct ChannelList {
    std::array<ScanChannel, scanInputCount> entries{};
    int count = 0;
};

using Reason = std::array<char, 256>;

// The inputs named by `text` in its order, each with the given range and terminal; the
// device, when named, must be PXI1Slot<slot>.
bool parseChannelList(const char *text, int slot, ChannelList &list, Reason &why);
// One input ("ai3", "PXI1Slot2/ai3"), or -1 with the reason.
int parseInput(const char *text, int slot, Reason &why);
// The smallest of the board's ranges that holds `requested` volts either side of 0, or 0
// when none does (or `requested` is not above 0).
double boardRange(double requested);
bool validTerminal(int terminal);
// No input twice, no differential channel above ai7, no partner of a differential one.
bool checkWiring(const ChannelList &list, Reason &why);

} // namespace orvex

#endif
