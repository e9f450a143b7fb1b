#include "pchip/runtime.hpp"

#include <cstdio>

#include "foundation/format_record.hpp"
#include "foundation/halt.hpp"

namespace tavrin::pchip {

void numeric_stop(int code) {
  flush_all_output();
  std::fprintf(stderr, "STOP %d\n", code);
  halt(code, {});
}

std::string format_int(long long value, int width) { return io::edit_integer(value, width); }

}  // namespace tavrin::pchip
