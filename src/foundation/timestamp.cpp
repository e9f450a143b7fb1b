#include "foundation/timestamp.hpp"

#include <array>
#include <chrono>
#include <ctime>
#include <string_view>

#include "foundation/format_record.hpp"
#include "foundation/record_files.hpp"

namespace tavrin::io {
namespace {

constexpr std::string_view unavailable = " Date and time unavailable";

bool system_clock(WallClock& now) { return wall_clock_at(std::chrono::system_clock::now(), now); }

ClockReader& reader() {
  static ClockReader current = system_clock;
  return current;
}

bool valid(const WallClock& c) {
  return c.year >= 0 && c.year <= 9999 && c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= 31 &&
         c.hour >= 0 && c.hour <= 23 && c.minute >= 0 && c.minute <= 59 && c.second >= 0 &&
         c.second <= 60 && c.millisecond >= 0 && c.millisecond <= 999;
}

}  // namespace

bool wall_clock_at(std::chrono::system_clock::time_point t, WallClock& now) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
  std::tm local{};
  if (!localtime_r(&seconds, &local)) return false;
  // Milliseconds within the second (time before 1970 counts down).
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count() % 1000;
  now = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
         local.tm_sec, int(ms < 0 ? ms + 1000 : ms)};
  return true;
}

ClockReader set_clock_reader(ClockReader r) {
  const ClockReader previous = reader();
  reader() = r ? r : system_clock;
  return previous;
}

std::string timestamp_line(const WallClock& now) {
  static constexpr std::array<std::string_view, 12> months{
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  static const Format line("(i2,1x,a,1x,i4,2x,i2,a1,i2.2,a1,i2.2,a1,i3.3,1x,a)");
  if (!valid(now)) return std::string(unavailable);
  int hour = now.hour;
  std::string_view word = "AM";
  if (hour == 12) {
    word = now.minute == 0 && now.second == 0 ? "Noon" : "PM";
  } else if (hour > 12) {
    hour -= 12;
    word = "PM";
  }
  const auto records = format_records(line, {now.day, months[std::size_t(now.month - 1)], now.year, hour,
                                              ":", now.minute, ":", now.second, ".", now.millisecond, word});
  return records.front();
}

std::string timestamp_line() {
  WallClock now;
  if (!reader()(now)) return std::string(unavailable);
  return timestamp_line(now);
}

void write_timestamp(int unit) { io::write_record(unit, timestamp_line()); }

}  // namespace tavrin::io
