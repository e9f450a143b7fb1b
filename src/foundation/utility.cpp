#include "foundation/utility.hpp"

#include <algorithm>
#include <numeric>

#include "foundation/boundary.hpp"
#include "foundation/shared_state.hpp"

namespace {

void refill(const tavrin::Allocatable<int, 1>& list) {
  std::iota(list.begin(), list.end(), 1);
}

}  // namespace

extern "C" {

int ProcessLock(const int* procid, const int* maxid, const int* /*wflag*/) {
  return tavrin::c_boundary_value(__func__, [&]() -> int {
    auto& list = tavrin::jobdata::processid;
    const int n = std::max(*maxid, 0);
    if (!list.allocated() || list.size(1) != n) {
      list.allocate(n);
      refill(list);
    }
    // Only a process number 1..maxid that has not checked in yet counts; the
    // marker -1 itself is not a process number.
    if (*procid < 1) return 0;
    const auto it = std::find(list.begin(), list.end(), *procid);
    if (it == list.end()) return 0;
    *it = -1;
    return std::all_of(list.begin(), list.end(), [](int v) { return v == -1; }) ? 1 : 0;
  });
}

int ProcessUnLock() {
  auto& list = tavrin::jobdata::processid;
  if (list.allocated()) refill(list);
  return 0;
}

}
