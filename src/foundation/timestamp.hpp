// The time-stamp line of the interpolation packages: the local date and time
// of day to the millisecond on a 12-hour clock,
//   " 5 December 2026   6:14:02.123 PM"
// (format "(i2,1x,a,1x,i4,2x,i2,a1,i2.2,a1,i2.2,a1,i3.3,1x,a)"; 12:00:00 is
// "Noon", midnight hour 0 "AM").  The wall clock is replaceable, so the line
// can be produced for any moment.
#pragma once

#include <chrono>
#include <string>

#include "foundation/api.hpp"

namespace tavrin::io {

struct WallClock {
  int year = 0, month = 0, day = 0;                        // month 1..12
  int hour = 0, minute = 0, second = 0, millisecond = 0;  // hour 0..23
};

// Reads the clock; false when it cannot be read.
using ClockReader = bool (*)(WallClock& now);

// The local date and time of day of a moment of the system clock; false
// when it cannot be converted.
TAVRIN_API bool wall_clock_at(std::chrono::system_clock::time_point t, WallClock& now);

// Installs the clock the time stamps read (nullptr: the system's local time)
// and returns the previous one.
TAVRIN_API ClockReader set_clock_reader(ClockReader reader);

// The line for `now`; a time that is no valid date and time of day (or a
// clock that cannot be read) gives the fixed line " Date and time unavailable".
TAVRIN_API std::string timestamp_line(const WallClock& now);
TAVRIN_API std::string timestamp_line();  // from the installed clock

// Writes the current time stamp as one record to a numbered unit.
TAVRIN_API void write_timestamp(int unit);

}  // namespace tavrin::io
