// The boundary between the library and its C, Fortran and Python callers.
//
// Inside, the library is C++: memory exhaustion and the standard library's
// own failures throw.  An exception must never reach a host solver's frames
// (it would end the analysis in std::terminate), so every C-callable entry
// point that can meet one runs its body through c_boundary(): a standard
// exception is caught there, latched with status -3 naming what could not be
// done, and the entry returns to its caller.  The binding's call of a
// routine goes through the same latch, so Python sees the status, not an
// exception.
//
// Exceptions that do not derive from std::exception are the embedder's own
// means of abandoning a call (a failed Python call-back, a test's halt
// handler); they pass through to the embedder that threw them.
#pragma once

#include <array>
#include <cstddef>
#include <limits>
#include <new>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>

#include "foundation/api.hpp"

namespace tavrin {

class AllocatableBase;

// A shared table, or another array of the library, that could not be
// allocated: which one, at which extents and how many bytes were asked for.
class TAVRIN_API AllocationFailure : public std::bad_alloc {
 public:
  AllocationFailure(const AllocatableBase* table, std::span<const int> extents, double bytes);
  const char* what() const noexcept override { return "tavrin: table allocation failed"; }
  const AllocatableBase* table() const { return table_; }
  std::span<const int> extents() const { return {extents_.data(), std::size_t(rank_)}; }
  double bytes() const { return bytes_; }

 private:
  const AllocatableBase* table_;
  std::array<int, 7> extents_{};
  int rank_ = 0;
  double bytes_;
};

// Latches the standard exception being handled, for a call of `entry`:
//   AllocationFailure: -3 "Out of memory allocating <module>::<table> (<extents>)",
//     the extents in the integer details and the bytes in the real one;
//   any other std::bad_alloc or std::length_error: -3 "Out of memory in <entry>",
//   any other std::exception: -3 "Internal error in <entry>: <what>".
// Call it only from a handler of a std::exception; it never throws.
TAVRIN_API void latch_current_exception(std::string_view entry) noexcept;

// Runs the body of a C-callable entry point.  Returns false when a standard
// exception abandoned it (the failure is then latched); the caller's outputs
// hold what was written before.
template <class Body>
bool c_boundary(std::string_view entry, Body&& body) {
  try {
    std::forward<Body>(body)();
    return true;
  } catch (const std::exception&) {
    latch_current_exception(entry);
    return false;
  }
}

// The same for an entry point with a function value, which reads NaN
// (a real) or 0 when the body was abandoned.
template <class Body>
auto c_boundary_value(std::string_view entry, Body&& body) -> decltype(body()) {
  using R = decltype(body());
  try {
    return std::forward<Body>(body)();
  } catch (const std::exception&) {
    latch_current_exception(entry);
    if constexpr (std::is_floating_point_v<R>) return std::numeric_limits<R>::quiet_NaN();
    else return R{};
  }
}

// The memory a table may take: the machine's physical memory, or the
// process's address-space limit when that is lower.
TAVRIN_API double memory_limit_bytes();

// Whether tables of `bytes` more fit beside the shared tables already held
// within memory_limit_bytes().  Readers whose table extents come from their
// input ask before allocating, since an overcommitted allocation would
// otherwise meet the out-of-memory killer, not std::bad_alloc.
TAVRIN_API bool fits_in_memory(double bytes);

}  // namespace tavrin
