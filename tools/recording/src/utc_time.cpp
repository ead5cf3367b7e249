#include "utc_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace recording {

UtcTime utcTime(double epochSeconds) {
    using namespace std::chrono;
    const sys_time<microseconds> time{microseconds{std::llround(epochSeconds * 1e6)}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    UtcTime utc;
    utc.year = static_cast<int>(date.year());
    utc.month = static_cast<int>(static_cast<unsigned>(date.month()));
    utc.day = static_cast<int>(static_cast<unsigned>(date.day()));
    utc.hour = static_cast<int>(clock.hours().count());
    utc.minute = static_cast<int>(clock.minutes().count());
    utc.second = static_cast<int>(clock.seconds().count());
    utc.microsecond = static_cast<int>(clock.subseconds().count());
    return utc;
}

std::string isoUtc(double epochSeconds) {
    const UtcTime utc = utcTime(epochSeconds);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%06dZ", utc.year, utc.month,
                  utc.day, utc.hour, utc.minute, utc.second, utc.microsecond);
    return text;
}

} // namespace recording
