#include "pchip/runtime.hpp"

#include <cstdio>
#include <map>
#include <ostream>

#include "foundation/format_record.hpp"
#include "foundation/halt.hpp"

namespace tavrin::pchip {
namespace {

// Units connected to streams, process-wide.
std::map<int, std::ostream*>& connected() {
  static std::map<int, std::ostream*> units;
  return units;
}

}  // namespace

bool connect_unit(int unit, std::ostream& stream) {
  if (unit == standard_input_unit || unit == standard_output_unit) return false;
  connected()[unit] = &stream;
  return true;
}

void disconnect_unit(int unit) { connected().erase(unit); }

bool unit_connected(int unit) {
  return unit == standard_input_unit || unit == standard_output_unit || connected().contains(unit);
}

void write_record(int unit, std::string_view text) {
  if (const auto it = connected().find(unit); it != connected().end()) {
    *it->second << text << '\n';
    return;
  }
  flush_all_output();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void numeric_stop(int code) {
  flush_all_output();
  std::fprintf(stderr, "STOP %d\n", code);
  halt(code, {});
}

std::string format_int(long long value, int width) { return io::edit_integer(value, width); }

}  // namespace tavrin::pchip
