// Per-call work arrays that live on the stack when they are small.
//
// The numerics run at every integration point; their work arrays for the
// usual sizes (3×3, 6×6, 8×8 matrices, the queried LAPACK workspace of such
// matrices) must not touch the heap.  Scratch<T, Inline> holds up to Inline
// elements in the object itself and takes a heap block only beyond that.
// The elements start uninitialised: every user writes before it reads.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>

namespace tavrin {

template <class T, std::size_t Inline>
class Scratch {
 public:
  explicit Scratch(std::ptrdiff_t n) : n_(n > 0 ? std::size_t(n) : 0) {
    if (n_ > Inline) heap_ = std::make_unique_for_overwrite<T[]>(n_);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  T* data() { return heap_ ? heap_.get() : local_.data(); }
  std::size_t size() const { return n_; }
  std::span<T> span() { return {data(), n_}; }
  T& operator[](std::size_t i) { return data()[i]; }

 private:
  std::size_t n_;
  std::array<T, Inline> local_;  // deliberately not value-initialised
  std::unique_ptr<T[]> heap_;
};

// Work arrays of the small-matrix paths: 64 reals hold an 8×8 matrix.
inline constexpr std::size_t small_matrix_entries = 64;

}  // namespace tavrin
