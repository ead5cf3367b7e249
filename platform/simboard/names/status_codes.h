// Status codes of the simulated board.  Where the real board has a well-known code for
// the same condition the simulation returns that code, so a lab program's handling of
// it carries over to the hardware; the board's other refusals use codes of its own.
#ifndef PLATFORM_SIMBOARD_NAMES_STATUS_CODES_H
#define PLATFORM_SIMBOARD_NAMES_STATUS_CODES_H

#include <cstdint>

namespace simboard {

namespace status {
constexpr int32_t ok = 0;
constexpr int32_t resourceReserved = -50103;
constexpr int32_t invalidTask = -200088;
constexpr int32_t readBeyondFinalSample = -200278;
constexpr int32_t samplesOverwritten = -200279;
constexpr int32_t readTimeout = -200284;

constexpr int32_t deviceNotPresent = -209001;
constexpr int32_t channelSyntax = -209002;
constexpr int32_t portOutOfRange = -209003;
constexpr int32_t lineOutOfRange = -209004;
constexpr int32_t lineNamedTwice = -209005;
constexpr int32_t emptyChannelList = -209006;
constexpr int32_t channelKindMismatch = -209007;
constexpr int32_t valueOutOfRange = -209008;
constexpr int32_t sampleRateTooHigh = -209009;
constexpr int32_t unknownClockTerminal = -209010;
constexpr int32_t invalidTriggerSource = -209011;
constexpr int32_t duplicateTaskName = -209012;
constexpr int32_t taskHasNoChannel = -209013;
constexpr int32_t wrongTaskType = -209014;
constexpr int32_t invalidArgument = -209015;
constexpr int32_t taskAlreadyHasChannel = -209016;
constexpr int32_t timingNotSupported = -209017;
constexpr int32_t taskNotRunning = -209018;
constexpr int32_t taskIsRunning = -209019;
constexpr int32_t noDataToGenerate = -209020;
constexpr int32_t readAborted = -209021;
constexpr int32_t benchFileInvalid = -209022;
constexpr int32_t controlArgument = -209023;
constexpr int32_t outOfMemory = -209024;
constexpr int32_t unexpectedFailure = -209025;
} // namespace status

// The generic text of a code (empty for a code the board does not know).
const char *statusText(int32_t code);

} // namespace simboard

#endif
