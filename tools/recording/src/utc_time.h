// UTC calendar times of sample times, to the microsecond.
#ifndef TOOLS_RECORDING_SRC_UTC_TIME_H
#define TOOLS_RECORDING_SRC_UTC_TIME_H

#include <string>

namespace recording {

struct UtcTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int microsecond = 0;
};

// Rounded to the nearest microsecond.
UtcTime utcTime(double epochSeconds);

// "2024-05-01T12:00:00.123456Z"
std::string isoUtc(double epochSeconds);

} // namespace recording

#endif
