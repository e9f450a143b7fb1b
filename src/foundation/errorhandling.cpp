#include "foundation/errorhandling.hpp"

#include <algorithm>
#include <string>

#include "foundation/halt.hpp"

namespace tavrin {
namespace eh = errorhandling;

namespace {

void record(int status, std::string_view message, std::span<const int> ints,
            std::span<const double> reals, View<const int, 2> codes) {
  eh::errstat = status;
  eh::errstring.assign(message);
  // Vectors left from an earlier record (status 0, or assigned by the host)
  // are replaced at the new extents.
  eh::errintv.allocate(int(ints.size()));
  std::copy(ints.begin(), ints.end(), eh::errintv.data());
  eh::errrealv.allocate(int(reals.size()));
  std::copy(reals.begin(), reals.end(), eh::errrealv.data());
  const int rows = std::min(codes.size(1), 8);
  const int cols = codes.size(2);
  eh::errasciim.allocate(rows, cols);
  for (int j = 1; j <= cols; ++j)
    for (int i = 1; i <= rows; ++i) eh::errasciim(i, j) = codes(i, j);
}

}  // namespace

void xerr(int status, std::string_view message, std::span<const int> ints,
          std::span<const double> reals, View<const int, 2> codes) {
  if (eh::errstat != 0) return;  // the first failure wins
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
  if (errstat != 0) return;
  record(lop, message, {intv, std::size_t(std::max(nint, 0))},
         {realv, std::size_t(std::max(nreal, 0))},
         View<const int, 2>(asciim, std::max(nrows, 0), std::max(ncols, 0)));
}

void rsxerr(int& reset, const int& lop) {
  reset = 0;
  if (!lop) return;
  reset = 1;
  errstat = 0;
  errintv.deallocate();
  errrealv.deallocate();
  errasciim.deallocate();
}

}  // namespace errorhandling
}  // namespace tavrin
