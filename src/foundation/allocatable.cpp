#include "foundation/allocatable.hpp"

#include <cstring>
#include <limits>
#include <new>

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
  for (int k = 0; k < rank_; ++k) {
    const int e = k < int(extents.size()) && extents[k] > 0 ? extents[k] : 0;
    ext[k] = e;
    if (e != 0 && count > limit / std::size_t(e)) throw std::bad_alloc();
    count *= std::size_t(e);
  }
  if (count > limit / elem_size_) throw std::bad_alloc();
  const std::size_t bytes = count * elem_size_;
  // At least one unit, so that an empty array is still "allocated".
  const std::size_t units = bytes / sizeof(std::max_align_t) + 1;
  // Zero every byte: value-initialising max_align_t need not clear the
  // padding of its long double member.
  block_ = std::make_shared_for_overwrite<std::max_align_t[]>(units);
  std::memset(block_.get(), 0, units * sizeof(std::max_align_t));
  ext_ = ext;
}

void AllocatableBase::deallocate() {
  block_.reset();
  ext_.fill(0);
}

}  // namespace tavrin
