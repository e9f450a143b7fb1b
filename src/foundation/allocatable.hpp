// Allocatable arrays of the shared-state modules.
//
// An Allocatable is absent until allocated.  Its storage is reference counted:
// a view handed out through share() keeps the block it was taken from alive,
// so a caller that holds a view across deallocate() or a reallocation reads
// the old (stale) values instead of freed memory.  New storage is zero-filled.
//
// Each table held has an identity, taken from a process-wide count when it
// is allocated or refilled in place (renew()), so that a caller can tell
// afterwards whether an array still holds the very table it held before.
// The address cannot tell: storage freed and obtained again may come back
// at the same address.
//
// Element types are int, double and std::complex<double>: all are trivially
// copyable and all-zero bytes are their zero, which lets the untyped base do
// the allocation for every instantiation.
#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <type_traits>

#include "foundation/api.hpp"
#include "foundation/array.hpp"

namespace tavrin {

class TAVRIN_API AllocatableBase {
 public:
  static constexpr int max_rank = 7;

  AllocatableBase(const AllocatableBase&) = delete;
  AllocatableBase& operator=(const AllocatableBase&) = delete;

  int rank() const { return rank_; }
  std::size_t element_size() const { return elem_size_; }
  bool allocated() const { return static_cast<bool>(block_); }
  // Extent of axis `dim` (from 1); 0 when absent.
  int size(int dim) const { return ext_[dim - 1]; }
  std::ptrdiff_t size() const;
  std::span<const int> extents() const { return {ext_.data(), std::size_t(rank_)}; }

  void* raw_data() const { return block_.get(); }
  // Identity of the table held: no other table of the process had it; 0
  // when absent.
  std::uint64_t identity() const { return identity_; }
  // The storage now holds a new table that its owner fills in place: the
  // table takes a new identity.
  void renew();
  // Shared ownership of the current block (null when absent).
  std::shared_ptr<void> share() const { return block_; }

  // Replaces any current block by a new zero-filled one; negative extents
  // count as 0.  Throws AllocationFailure (a std::bad_alloc naming the table)
  // when the size cannot be represented or obtained; the array is then left
  // absent.
  void allocate_raw(std::span<const int> extents);
  void deallocate();

 protected:
  AllocatableBase(int rank, std::size_t elem_size) : rank_(rank), elem_size_(elem_size) {}
  ~AllocatableBase() = default;

 private:
  std::shared_ptr<void> block_;
  std::uint64_t identity_ = 0;
  std::array<int, max_rank> ext_{};
  int rank_;
  std::size_t elem_size_;
};

template <class T, int Rank>
class Allocatable final : public AllocatableBase {
  static_assert(std::is_trivially_copyable_v<T>);
  static_assert(Rank >= 1 && Rank <= max_rank);

 public:
  using value_type = T;
  static constexpr int array_rank = Rank;

  Allocatable() : AllocatableBase(Rank, sizeof(T)) {}

  template <class... E>
    requires(sizeof...(E) == Rank)
  void allocate(E... extents) {
    const std::array<int, Rank> e{int(extents)...};
    allocate_raw(e);
  }
  void allocate(const std::array<int, Rank>& e) { allocate_raw(e); }

  T* data() const { return static_cast<T*>(raw_data()); }
  View<T, Rank> view() const {
    std::array<int, Rank> e{};
    for (int k = 0; k < Rank; ++k) e[k] = size(k + 1);
    return View<T, Rank>(data(), e);
  }
  template <class... I>
    requires(sizeof...(I) == Rank)
  T& operator()(I... index) const {
    return view()(index...);
  }
  T* begin() const { return data(); }
  T* end() const { return data() + size(); }
  void fill(const T& value) const {
    for (T& x : *this) x = value;
  }
};

}  // namespace tavrin
