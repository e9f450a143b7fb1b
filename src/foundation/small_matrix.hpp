// Small dense vectors, matrices and fourth-order tensors held by value.
//
// The ply, laminate and element routines work on 3×3 tensors, 6×6 stiffness
// matrices and 3×3×3×3 tensors at every integration point; these types keep
// them in a std::array (no heap) with the library's storage order:
// column-major, indices counted from 1 as in View and in the formulas.
//
//   Mat3 m;  m(i, j) is m.v[(i-1) + 3*(j-1)]:
//
//       | v[0] v[3] v[6] |
//       | v[1] v[4] v[7] |
//       | v[2] v[5] v[8] |
//
//   Tensor4 t;  t(i, j, k, l) is t.v[(i-1) + 3*(j-1) + 9*(k-1) + 27*(l-1)]
//
// load() and store() copy from and to a column-major array of a routine's
// argument list; view() hands the storage to code written on View.
#pragma once

#include <array>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <tuple>

#include "foundation/array.hpp"

namespace tavrin {

namespace detail {
// Offset of the 1-based index i on an axis of extent n, checked like View's.
constexpr std::size_t checked(int i, [[maybe_unused]] int n, [[maybe_unused]] int axis) {
#ifdef TAVRIN_CHECK_BOUNDS
  if (i < 1 || i > n) bounds_failure(axis, i, n);
#endif
  return std::size_t(i - 1);
}
}  // namespace detail

template <int N>
struct SmallVector {
  static_assert(N > 0);
  static constexpr int size = N;
  std::array<double, N> v{};

  constexpr double& operator()(int i) { return v[detail::checked(i, N, 0)]; }
  constexpr double operator()(int i) const { return v[detail::checked(i, N, 0)]; }

  static constexpr SmallVector load(const double* p) {
    SmallVector r;
    for (int i = 0; i < N; ++i) r.v[std::size_t(i)] = p[i];
    return r;
  }
  constexpr void store(double* p) const {
    for (int i = 0; i < N; ++i) p[i] = v[std::size_t(i)];
  }
  double* data() { return v.data(); }
  const double* data() const { return v.data(); }
  View<double, 1> view() { return {v.data(), N}; }
  View<const double, 1> view() const { return {v.data(), N}; }
  friend constexpr bool operator==(const SmallVector&, const SmallVector&) = default;
};

template <int R, int C>
struct SmallMatrix {
  static_assert(R > 0 && C > 0);
  static constexpr int rows = R;
  static constexpr int cols = C;
  std::array<double, std::size_t(R) * C> v{};

  constexpr double& operator()(int i, int j) { return v[offset(i, j)]; }
  constexpr double operator()(int i, int j) const { return v[offset(i, j)]; }

  static constexpr SmallMatrix identity()
    requires(R == C)
  {
    SmallMatrix m;
    for (int i = 1; i <= R; ++i) m(i, i) = 1.0;
    return m;
  }
  static constexpr SmallMatrix load(const double* p) {
    SmallMatrix m;
    for (std::size_t i = 0; i < m.v.size(); ++i) m.v[i] = p[i];
    return m;
  }
  constexpr void store(double* p) const {
    for (std::size_t i = 0; i < v.size(); ++i) p[i] = v[i];
  }
  double* data() { return v.data(); }
  const double* data() const { return v.data(); }
  View<double, 2> view() { return {v.data(), R, C}; }
  View<const double, 2> view() const { return {v.data(), R, C}; }
  friend constexpr bool operator==(const SmallMatrix&, const SmallMatrix&) = default;

 private:
  static constexpr std::size_t offset(int i, int j) {
    return detail::checked(i, R, 0) + std::size_t(R) * detail::checked(j, C, 1);
  }
};

// Fourth-order tensor of three-dimensional space (81 entries).
struct Tensor4 {
  std::array<double, 81> v{};

  constexpr double& operator()(int i, int j, int k, int l) { return v[index(i, j, k, l)]; }
  constexpr double operator()(int i, int j, int k, int l) const { return v[index(i, j, k, l)]; }

  static constexpr Tensor4 load(const double* p) {
    Tensor4 t;
    for (std::size_t i = 0; i < t.v.size(); ++i) t.v[i] = p[i];
    return t;
  }
  constexpr void store(double* p) const {
    for (std::size_t i = 0; i < v.size(); ++i) p[i] = v[i];
  }
  double* data() { return v.data(); }
  const double* data() const { return v.data(); }
  friend constexpr bool operator==(const Tensor4&, const Tensor4&) = default;

 private:
  static constexpr std::size_t index(int i, int j, int k, int l) {
    return detail::checked(i, 3, 0) + 3 * detail::checked(j, 3, 1) + 9 * detail::checked(k, 3, 2) +
           27 * detail::checked(l, 3, 3);
  }
};

using Vec3 = SmallVector<3>;
using Vec6 = SmallVector<6>;
using Mat3 = SmallMatrix<3, 3>;
using Mat6 = SmallMatrix<6, 6>;

// ---------------------------------------------------------------------------
// Arithmetic.  Sums, differences and scalar multiples work entry by entry on
// every type above (SmallDense: anything holding its entries in `v`).

template <class T>
concept SmallDense = requires(T t) {
  { t.v.data() } -> std::same_as<double*>;
  requires std::tuple_size_v<decltype(t.v)> > 0;
};

template <SmallDense T>
constexpr T& operator+=(T& a, const T& b) {
  for (std::size_t i = 0; i < a.v.size(); ++i) a.v[i] += b.v[i];
  return a;
}
template <SmallDense T>
constexpr T& operator-=(T& a, const T& b) {
  for (std::size_t i = 0; i < a.v.size(); ++i) a.v[i] -= b.v[i];
  return a;
}
template <SmallDense T>
constexpr T& operator*=(T& a, double s) {
  for (double& x : a.v) x *= s;
  return a;
}
template <SmallDense T>
constexpr T operator+(T a, const T& b) {
  return a += b;
}
template <SmallDense T>
constexpr T operator-(T a, const T& b) {
  return a -= b;
}
template <SmallDense T>
constexpr T operator-(T a) {
  for (double& x : a.v) x = -x;
  return a;
}
template <SmallDense T>
constexpr T operator*(double s, T a) {
  return a *= s;
}
template <SmallDense T>
constexpr T operator*(T a, double s) {
  return a *= s;
}

// c += a·b for an l×n a and an n×m b, column by column: c(:,j) += a(:,k)·b(k,j)
// for every k with b(k,j) ≠ 0.  Zero entries of b are skipped, so a zero
// column of b gives a zero column of c whatever a holds (infinities
// included).  Works on anything indexed (i, j) from 1: View, SmallMatrix.
template <class C, class A, class B>
constexpr void accumulate_product(C& c, const A& a, const B& b, int l, int n, int m) {
  for (int j = 1; j <= m; ++j)
    for (int k = 1; k <= n; ++k) {
      const double bkj = b(k, j);
      if (bkj == 0.0) continue;
      for (int i = 1; i <= l; ++i) c(i, j) += a(i, k) * bkj;
    }
}

// a·b (the library's matrix product: see accumulate_product).
template <int R, int K, int C>
constexpr SmallMatrix<R, C> operator*(const SmallMatrix<R, K>& a, const SmallMatrix<K, C>& b) {
  SmallMatrix<R, C> c;
  accumulate_product(c, a, b, R, K, C);
  return c;
}

// a·x, y(i) = Σⱼ a(i,j)·x(j) summed in the order of j.
template <int R, int C>
constexpr SmallVector<R> operator*(const SmallMatrix<R, C>& a, const SmallVector<C>& x) {
  SmallVector<R> y;
  for (int i = 1; i <= R; ++i) {
    double s = 0.0;
    for (int j = 1; j <= C; ++j) s += a(i, j) * x(j);
    y(i) = s;
  }
  return y;
}

template <int R, int C>
constexpr SmallMatrix<C, R> transpose(const SmallMatrix<R, C>& a) {
  SmallMatrix<C, R> t;
  for (int j = 1; j <= C; ++j)
    for (int i = 1; i <= R; ++i) t(j, i) = a(i, j);
  return t;
}

template <int N>
constexpr double trace(const SmallMatrix<N, N>& a) {
  double s = 0.0;
  for (int i = 1; i <= N; ++i) s += a(i, i);
  return s;
}

template <int N>
constexpr double dot(const SmallVector<N>& a, const SmallVector<N>& b) {
  double s = 0.0;
  for (int i = 1; i <= N; ++i) s += a(i) * b(i);
  return s;
}

// Euclidean norm, √(Σ xᵢ²).
template <int N>
double norm(const SmallVector<N>& a) {
  return std::sqrt(dot(a, a));
}

constexpr Vec3 cross(const Vec3& a, const Vec3& b) {
  return Vec3{{a(2) * b(3) - a(3) * b(2), a(3) * b(1) - a(1) * b(3), a(1) * b(2) - a(2) * b(1)}};
}

// The dyadic product a⊗b: c(i,j) = a(i)·b(j).
template <int M, int N>
constexpr SmallMatrix<M, N> outer(const SmallVector<M>& a, const SmallVector<N>& b) {
  SmallMatrix<M, N> c;
  for (int j = 1; j <= N; ++j)
    for (int i = 1; i <= M; ++i) c(i, j) = a(i) * b(j);
  return c;
}

}  // namespace tavrin
