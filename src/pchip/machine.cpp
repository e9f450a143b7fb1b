#include "pchip/machine.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/boundary.hpp"
#include "foundation/halt.hpp"
#include "pchip/runtime.hpp"

namespace {

constexpr std::array<int, 16> integer_table{5, 6, 7, 6, 32, 4, 2, 31, 2147483647, 2, 24, -125,
                                            128, 53, -1021, 1024};

constexpr std::array<float, 5> single_table{
    std::bit_cast<float>(std::uint32_t{0x00800000}), std::bit_cast<float>(std::uint32_t{0x7f7fffff}),
    std::bit_cast<float>(std::uint32_t{0x33800000}), std::bit_cast<float>(std::uint32_t{0x34000000}),
    std::bit_cast<float>(std::uint32_t{0x3e9a209b})};

constexpr std::array<double, 5> double_table{
    std::bit_cast<double>(std::uint64_t{0x0020000000000000}),
    std::bit_cast<double>(std::uint64_t{0x7fdfffffffffffff}),
    std::bit_cast<double>(std::uint64_t{0x3ca0000000000002}),
    std::bit_cast<double>(std::uint64_t{0x3cb0000000000000}),
    std::bit_cast<double>(std::uint64_t{0x3fd34413509f79fb})};

// The five lines of an out-of-range index; a fatal error, so exit status 1.
[[noreturn]] void out_of_bounds(std::string_view routine, int last, int i) {
  std::string text = " \n";
  text += routine;
  text += " - Fatal error!\n  The input argument I is out of bounds.\n";
  text += "  Legal values satisfy 1 <= I <= " + std::to_string(last) + ".\n";
  text += "  I = " + tavrin::pchip::format_int(i, 12) + "\n";
  tavrin::halt(1, text);
}

template <class T, std::size_t N>
T lookup(const std::array<T, N>& table, std::string_view routine, int i) {
  if (i < 1 || i > int(N)) out_of_bounds(routine, int(N), i);
  return table[std::size_t(i - 1)];
}

}  // namespace

extern "C" {

int i1mach(const int* i) {
  return tavrin::c_boundary_value(__func__, [&]() -> int {
    return lookup(integer_table, "I1MACH", *i);
  });
}
float r1mach(const int* i) {
  return tavrin::c_boundary_value(__func__, [&]() -> float {
    return lookup(single_table, "R1MACH", *i);
  });
}
double d1mach(const int* i) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    return lookup(double_table, "D1MACH", *i);
  });
}

}
