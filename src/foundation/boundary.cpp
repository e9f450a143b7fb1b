#include "foundation/boundary.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "foundation/allocatable.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {

AllocationFailure::AllocationFailure(const AllocatableBase* table, std::span<const int> extents, double bytes)
    : table_(table), rank_(int(std::min(extents.size(), extents_.size()))), bytes_(bytes) {
  std::copy_n(extents.begin(), rank_, extents_.begin());
}

namespace {

// "<module>::<name>" of a registered table; "a work table" for the others.
std::string table_name(const AllocatableBase* table) {
  std::string name = "a work table";
  for_each_table([&](const ModuleInfo& m, const VariableInfo& v, const AllocatableBase& a) {
    if (&a == table) name = std::string(m.name) + "::" + v.name;
  });
  return name;
}

}  // namespace

void latch_current_exception(std::string_view entry) noexcept {
  try {
    try {
      throw;
    } catch (const AllocationFailure& e) {
      std::string message = "Out of memory allocating " + table_name(e.table()) + " (";
      for (std::size_t k = 0; k < e.extents().size(); ++k)
        message += (k ? ", " : "") + std::to_string(e.extents()[k]);
      message += ')';
      const double bytes[] = {e.bytes()};
      xerr(-3, message, e.extents(), bytes);
    } catch (const std::bad_alloc&) {
      xerr(-3, "Out of memory in " + std::string(entry));
    } catch (const std::length_error&) {
      xerr(-3, "Out of memory in " + std::string(entry));
    } catch (const std::exception& e) {
      xerr(-3, "Internal error in " + std::string(entry) + ": " + e.what());
    }
  } catch (...) {
    // Not even the message could be composed: the status alone.
    xerr(-3, "Out of memory");
  }
}

double memory_limit_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES), page = sysconf(_SC_PAGE_SIZE);
  double limit = pages > 0 && page > 0 ? double(pages) * double(page) : 1.0e300;
  rlimit as{};
  if (getrlimit(RLIMIT_AS, &as) == 0 && as.rlim_cur != RLIM_INFINITY) limit = std::min(limit, double(as.rlim_cur));
  return limit;
}

bool fits_in_memory(double bytes) {
  double held = 0.0;
  for_each_table([&](const ModuleInfo&, const VariableInfo&, const AllocatableBase& a) {
    held += double(a.size()) * double(a.element_size());
  });
  return bytes + held <= memory_limit_bytes();
}

}  // namespace tavrin
