#include "foundation/list_record.hpp"

#include <cmath>
#include <cstdio>

#include "foundation/record_files.hpp"

namespace tavrin::io {

std::string list_real(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17G", value);
  return buf;
}

void ListRecord::item(std::string_view text) {
  line_ += ' ';
  line_ += text;
}

ListRecord& ListRecord::operator<<(std::string_view text) {
  item(text);
  return *this;
}
ListRecord& ListRecord::operator<<(int value) {
  item(std::to_string(value));
  return *this;
}
ListRecord& ListRecord::operator<<(long long value) {
  item(std::to_string(value));
  return *this;
}
ListRecord& ListRecord::operator<<(double value) {
  item(list_real(value));
  return *this;
}
ListRecord& ListRecord::operator<<(bool value) {
  item(value ? "T" : "F");
  return *this;
}

void ListRecord::write(int unit) {
  io::write_record(unit, line_.empty() ? std::string_view(" ") : std::string_view(line_));
  line_.clear();
}

}  // namespace tavrin::io
