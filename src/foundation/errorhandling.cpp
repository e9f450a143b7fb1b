#include "foundation/errorhandling.hpp"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>

#include "foundation/halt.hpp"

namespace tavrin {
namespace eh = errorhandling;

namespace {

// A threaded host may refuse at several points at once.  The status is read
// and published atomically, and the whole record is written under one lock,
// so the first failure wins and its message and details stay together; a
// call that fails nothing never touches either.
std::mutex latch_mutex;

std::atomic_ref<int> status_ref() { return std::atomic_ref<int>(eh::errstat); }

void record(int status, std::string_view message, std::span<const int> ints,
            std::span<const double> reals, View<const int, 2> codes) noexcept {
  const std::lock_guard lock(latch_mutex);
  if (status_ref().load(std::memory_order_relaxed) != 0) return;  // another thread was first
  eh::errstring.assign(message);
  // Vectors left from an earlier record (status 0, or assigned by the host)
  // are replaced at the new extents; when memory is exhausted they stay
  // empty and the status and message still tell.
  const auto vector_of = [](auto& table, const auto& values) {
    try {
      table.allocate(int(values.size()));
      std::copy(values.begin(), values.end(), table.data());
    } catch (const std::bad_alloc&) {
      table.deallocate();
    }
  };
  vector_of(eh::errintv, ints);
  vector_of(eh::errrealv, reals);
  const int rows = std::min(codes.size(1), 8);
  const int cols = codes.size(2);
  try {
    eh::errasciim.allocate(rows, cols);
    for (int j = 1; j <= cols; ++j)
      for (int i = 1; i <= rows; ++i) eh::errasciim(i, j) = codes(i, j);
  } catch (const std::bad_alloc&) {
    eh::errasciim.deallocate();
  }
  status_ref().store(status, std::memory_order_release);
}

}  // namespace

void xerr(int status, std::string_view message, std::span<const int> ints,
          std::span<const double> reals, View<const int, 2> codes) {
  if (status_ref().load(std::memory_order_acquire) != 0) return;  // the first failure wins
  record(status, message.substr(0, 80), ints, reals, codes);
}

namespace errorhandling {

void xerr(const int& lop, const char* xerrmsg, const int* intv, const int& nint,
          const double* realv, const int& nreal, const int* asciim, const int& nrows,
          const int& ncols, int* pyerr) {
  const std::string_view message(xerrmsg, 80);
  if (pyerr && *pyerr == 0) {
    std::string line;
    line.reserve(82);
    line += ' ';
    line += message;
    line += '\n';
    // A fatal stop: exit status 1, so that scripts and schedulers see failure.
    halt(1, line);
  }
  if (status_ref().load(std::memory_order_acquire) != 0) return;
  record(lop, message, {intv, std::size_t(std::max(nint, 0))},
         {realv, std::size_t(std::max(nreal, 0))},
         View<const int, 2>(asciim, std::max(nrows, 0), std::max(ncols, 0)));
}

void rsxerr(int& reset, const int& lop) {
  reset = 0;
  if (!lop) return;
  reset = 1;
  const std::lock_guard lock(latch_mutex);
  status_ref().store(0, std::memory_order_release);
  errintv.deallocate();
  errrealv.deallocate();
  errasciim.deallocate();
}

}  // namespace errorhandling
}  // namespace tavrin
