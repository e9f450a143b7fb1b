// Machine constants of 32-bit two's-complement integers and IEEE 754 binary32
// and binary64 arithmetic, by index, as fixed tables (nothing is probed at run
// time).  Entry 4 of the real tables is the machine epsilon; entry 4 of the
// integer table is the standard message unit, 6 (standard output).
//
// An index outside a table prints five lines on standard output and ends the
// process with exit status 1.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// Entries 1..16: channels 5, 6, 7, 6; 32 bits, 4 characters, base 2, 31
// digits, largest 2147483647; base 2; binary32 24 digits, exponents -125 and
// 128; binary64 53 digits, exponents -1021 and 1024.
TAVRIN_API int i1mach(const int* i);
// Entries 1..5: smallest normal, largest finite, 2^-24, 2^-23, log10(2).
TAVRIN_API float r1mach(const int* i);
// Entries 1..5: 2^-1021, half the largest double, 2^-53 + 2 ulp, 2^-52, and
// log10(2) four units in the last place low (the table's values, bit for bit).
TAVRIN_API double d1mach(const int* i);

}

namespace tavrin::pchip {

// The machine epsilon of the real type: entry 4 of d1mach or r1mach.
template <class Real>
Real machine_epsilon() {
  static constexpr int index = 4;
  if constexpr (sizeof(Real) == sizeof(double)) return d1mach(&index);
  else return r1mach(&index);
}

}  // namespace tavrin::pchip
