#include "foundation/allocatable.hpp"

#include <cstdlib>
#include <limits>

#include "foundation/boundary.hpp"

namespace tavrin {

std::ptrdiff_t AllocatableBase::size() const {
  if (!block_) return 0;
  std::ptrdiff_t n = 1;
  for (int k = 0; k < rank_; ++k) n *= ext_[k];
  return n;
}

void AllocatableBase::allocate_raw(std::span<const int> extents) {
  block_.reset();
  ext_.fill(0);
  std::array<int, max_rank> ext{};
  std::size_t count = 1;
  constexpr std::size_t limit = std::numeric_limits<std::ptrdiff_t>::max() / 2;
  double bytes = double(elem_size_);
  bool representable = true;
  for (int k = 0; k < rank_; ++k) {
    const int e = k < int(extents.size()) && extents[k] > 0 ? extents[k] : 0;
    ext[k] = e;
    bytes *= double(e);
    if (e != 0 && count > limit / std::size_t(e)) representable = false;
    else count *= std::size_t(e);
  }
  const std::span<const int> asked(ext.data(), std::size_t(rank_));
  if (!representable || count > limit / elem_size_) throw AllocationFailure(this, asked, bytes);
  // calloc: zero-filled (pages the array never touches stay unmapped), aligned
  // for any element type, and a refused request comes back as null instead of
  // ending the process.  At least one element, so that an empty array is still
  // "allocated".
  void* p = std::calloc(count == 0 ? 1 : count, elem_size_);
  if (!p) throw AllocationFailure(this, asked, bytes);
  block_ = std::shared_ptr<void>(p, std::free);
  ext_ = ext;
}

void AllocatableBase::deallocate() {
  block_.reset();
  ext_.fill(0);
}

}  // namespace tavrin
