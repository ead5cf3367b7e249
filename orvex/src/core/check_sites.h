// Every argument check of the library: the line it reports, the condition as printed,
// and the message (null for the three-field form).  Callers and lab notes match these
// texts, so they stay exactly as they are, misspellings included.
#ifndef ORVEX_SRC_CORE_CHECK_SITES_H
#define ORVEX_SRC_CORE_CHECK_SITES_H

#include "operation_ending.h"

namespace orvex::checks {

inline constexpr const char *portOutOfRange = "Порт вне диапазона";
inline constexpr const char *indexOutOfRange = "вне диапазона";

inline constexpr CheckSite portMaskPort{250, "0 <= portN && portN < PORT_SIZE", portOutOfRange};
inline constexpr CheckSite portOutPort{292, "0 <= port && port < PORT_SIZE", portOutOfRange};
inline constexpr CheckSite portInPort{305, "0 <= port && port < PORT_SIZE", portOutOfRange};
inline constexpr CheckSite portInData{306, "data != NULL", "NULL ptr"};

inline constexpr CheckSite analogOutIndex{385, "0 <= idx && idx < ANALOG_SIZEo", indexOutOfRange};
inline constexpr CheckSite analogInIndex{395, "0 <= idx && idx < ANALOG_SIZEi", indexOutOfRange};
inline constexpr CheckSite analogInValue{396, "val != NULL", nullptr};

inline constexpr CheckSite analogInClkSource{412, "strlen(source) < sizeof(anlgClock.clkSource)",
                                             nullptr};
inline constexpr CheckSite analogInTriggerSource{
    421, "strlen(source) < sizeof(anlgClock.trigSource)", nullptr};

inline constexpr CheckSite analogReadIndex{430, "0 <= idx && idx < ANALOG_SIZEi", indexOutOfRange};
inline constexpr CheckSite analogReadArray{431, "warray != NULL", nullptr};
inline constexpr CheckSite analogReadSize{432, "size > 0", nullptr};

inline constexpr CheckSite analogFetchIndex{469, "0 <= idx && idx < ANALOG_SIZEi", indexOutOfRange};
inline constexpr CheckSite analogFetchArray{470, "warray != NULL", nullptr};
inline constexpr CheckSite analogFetchSize{471, "size > 0", nullptr};
inline constexpr CheckSite analogFetchChannel{489, "anlgClock.maskFetch == (1<<idx)", nullptr};

inline constexpr CheckSite analogInStopIndex{518, "0 <= idx && idx < ANALOG_SIZEi", "вне дипазона"};
inline constexpr CheckSite analogInStopChannel{519, "anlgClock.maskFetch == (1<<idx)", nullptr};

inline constexpr CheckSite analogOutClkSource{541, "strlen(source) < sizeof(dacOpt.clkSource)",
                                              nullptr};
inline constexpr CheckSite analogOutTriggerSource{550, "strlen(source) < sizeof(dacOpt.trigSource)",
                                                  nullptr};

inline constexpr CheckSite analogWriteIndex{558, "0 <= idx && idx < ANALOG_SIZEo", indexOutOfRange};
inline constexpr CheckSite analogWriteArray{559, "warray != NULL", nullptr};
inline constexpr CheckSite analogWriteSize{560, "size > 0", nullptr};

inline constexpr CheckSite analogOutStopIndex{604, "0 <= idx && idx < ANALOG_SIZEo",
                                              indexOutOfRange};
inline constexpr CheckSite analogOutStopChannel{605, "dacOpt.maskFetch == (1<<idx)", nullptr};

} // namespace orvex::checks

#endif
