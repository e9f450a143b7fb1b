#include "foundation/allocatable.hpp"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>
#include <limits>

#include "foundation/boundary.hpp"

namespace tavrin {
namespace {
constexpr bool map_large_blocks = !TAVRIN_ADDRESS_SANITIZER;

std::uint64_t next_identity() {
  static std::atomic<std::uint64_t> count{0};
  return count.fetch_add(1, std::memory_order_relaxed) + 1;
}
}  // namespace

std::ptrdiff_t AllocatableBase::size() const {
  if (!block_) return 0;
  std::ptrdiff_t n = 1;
  for (int k = 0; k < rank_; ++k) n *= ext_[k];
  return n;
}

void AllocatableBase::allocate_raw(std::span<const int> extents) {
  block_.reset();
  identity_ = 0;
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
  // Zero-filled, aligned for any element type, and a refused request comes
  // back as null instead of ending the process.  At least one element, so
  // that an empty array is still "allocated".  A large block is mapped
  // straight from the system, so that the pages the array never touches
  // (most of a model's per-element tables until they are used) are never
  // mapped nor cleared: calloc would serve it from its heap, clearing every
  // byte, whenever the allocator has raised its own mapping threshold after
  // a large block was freed.  Not under AddressSanitizer, which watches
  // only the heap.
  const std::size_t size = (count == 0 ? 1 : count) * elem_size_;
  if (map_large_blocks && size >= (std::size_t(1) << 20)) {
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw AllocationFailure(this, asked, bytes);
    try {
      block_ = std::shared_ptr<void>(p, [size](void* q) { ::munmap(q, size); });
    } catch (...) {
      ::munmap(p, size);
      throw;
    }
  } else {
    void* p = std::calloc(count == 0 ? 1 : count, elem_size_);
    if (!p) throw AllocationFailure(this, asked, bytes);
    block_ = std::shared_ptr<void>(p, std::free);
  }
  ext_ = ext;
  identity_ = next_identity();
}

void AllocatableBase::renew() {
  if (block_) identity_ = next_identity();
}

void AllocatableBase::deallocate() {
  block_.reset();
  identity_ = 0;
  ext_.fill(0);
}

}  // namespace tavrin
