// Column-major, 1-based views over caller-owned arrays.
//
// Routine arguments arrive as a pointer plus explicit extents (the Fortran
// contract of the exported interface); View gives them back their shape:
//
//   View<double, 2> a(p, n, m);   // a(i, j) is p[(i-1) + (j-1)*n]
//
// Indices are checked only in builds with TAVRIN_CHECK_BOUNDS (debug and
// sanitizer builds); release builds index without any test.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace tavrin {

namespace detail {
[[noreturn]] inline void bounds_failure(int axis, long index, long extent) {
  std::fprintf(stderr, "tavrin: index %ld out of range 1..%ld on axis %d\n", index, extent,
               axis + 1);
  std::abort();
}
}  // namespace detail

template <class T, int Rank>
class View {
  static_assert(Rank >= 1 && Rank <= 7, "views have rank 1 to 7");

 public:
  using value_type = std::remove_const_t<T>;

  constexpr View() = default;
  constexpr View(T* data, const std::array<int, Rank>& extents) : data_(data), ext_(extents) {
    for (auto& e : ext_) e = e < 0 ? 0 : e;
  }
  template <class... E>
    requires(sizeof...(E) == Rank && (std::is_convertible_v<E, int> && ...))
  constexpr View(T* data, E... extents) : View(data, std::array<int, Rank>{int(extents)...}) {}

  // A view of const elements from a view of mutable ones.
  template <class U>
    requires(std::is_same_v<const U, T> && !std::is_same_v<U, T>)
  constexpr View(const View<U, Rank>& other) : data_(other.data()), ext_(other.extents()) {}

  template <class... I>
    requires(sizeof...(I) == Rank)
  constexpr T& operator()(I... index) const {
    return data_[offset(std::array<long, Rank>{long(index)...})];
  }

  constexpr T* data() const { return data_; }
  constexpr const std::array<int, Rank>& extents() const { return ext_; }
  // Extent of axis `dim`, counted from 1 as in size(a, dim).
  constexpr int size(int dim) const { return ext_[dim - 1]; }
  constexpr std::ptrdiff_t size() const {
    std::ptrdiff_t n = 1;
    for (int e : ext_) n *= e;
    return n;
  }
  constexpr bool empty() const { return size() == 0; }
  constexpr T* begin() const { return data_; }
  constexpr T* end() const { return data_ + size(); }

 private:
  constexpr std::ptrdiff_t offset(const std::array<long, Rank>& index) const {
    std::ptrdiff_t off = 0, stride = 1;
    for (int k = 0; k < Rank; ++k) {
#ifdef TAVRIN_CHECK_BOUNDS
      if (index[k] < 1 || index[k] > ext_[k]) detail::bounds_failure(k, index[k], ext_[k]);
#endif
      off += (index[k] - 1) * stride;
      stride *= ext_[k];
    }
    return off;
  }

  T* data_ = nullptr;
  std::array<int, Rank> ext_{};
};

template <class T>
using Vec = View<T, 1>;
template <class T>
using Mat = View<T, 2>;

}  // namespace tavrin
