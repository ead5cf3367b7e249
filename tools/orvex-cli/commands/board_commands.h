// The short board commands: ports and lines, single-point analog, generation, info.
// Each prints its data on standard output and throws on failure (library_status.h).
#ifndef TOOLS_ORVEX_CLI_COMMANDS_BOARD_COMMANDS_H
#define TOOLS_ORVEX_CLI_COMMANDS_BOARD_COMMANDS_H

#include "core/session.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orvex_cli {

void portRead(Session &session, int port);
void portWrite(Session &session, int port, std::uint8_t value);
void portMask(Session &session, int port, std::uint8_t mask);
void lineGet(Session &session, int port, int line);
void lineSet(Session &session, int port, int line, bool high);

void analogRead(int channel, std::uint64_t count, double interval);
void analogWrite(int channel, double volts);

// Starts regenerating `block` on the output.  With a duration it stops after that wall
// time; without one it stops on Ctrl-C, except in a script, where it keeps running for
// the next lines until `ao stop` or the script's end.
void generate(Session &session, int channel, double rate, const std::vector<double> &block,
              std::optional<double> duration);
void stopGeneration(Session &session, int channel);

void showInfo(const Session &session);

} // namespace orvex_cli

#endif
