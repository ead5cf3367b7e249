#include "board_commands.h"
#include "core/library_status.h"
#include "core/values.h"

#include <orvex.h>

#include <cstdio>

namespace orvex_cli {
namespace {

// A fresh process has no direction on a port: reading makes it all inputs and writing all
// outputs, unless a mask was set earlier in the same process.
void ensureDirection(Session &session, int port, std::uint8_t mask) {
    if (!session.portMask(port)) {
        portMask(session, port, mask);
    }
}

std::uint8_t readPort(int port) {
    unsigned char value = 0;
    checked(orvex_portIn(port, &value));
    return value;
}

} // namespace

void portMask(Session &session, int port, std::uint8_t mask) {
    checked(orvex_portMask(port, mask));
    session.setPortMask(port, mask);
}

void portRead(Session &session, int port) {
    ensureDirection(session, port, 0x00);
    std::printf("%s\n", formatByte(readPort(port)).c_str());
}

void portWrite(Session &session, int port, std::uint8_t value) {
    ensureDirection(session, port, 0xFF);
    checked(orvex_portOut(port, value));
}

void lineGet(Session &session, int port, int line) {
    ensureDirection(session, port, 0x00);
    std::printf("%d\n", (readPort(port) >> line) & 1);
}

void lineSet(Session &session, int port, int line, bool high) {
    const auto bit = static_cast<std::uint8_t>(1u << line);
    const std::uint8_t mask = session.portMask(port).value_or(0);
    if ((mask & bit) == 0) {
        portMask(session, port, static_cast<std::uint8_t>(mask | bit));
    }
    const std::uint8_t now = readPort(port);
    checked(orvex_portOut(port, static_cast<unsigned char>(high ? now | bit : now & ~bit)));
}

} // namespace orvex_cli
