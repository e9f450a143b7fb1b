// Shared pieces of the mechanics tests: the carbon-epoxy and isotropic plies,
// ply stacks in the library's layout, entry-wise comparisons of small
// matrices and a guarded output buffer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include "foundation/numerics_support.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/laminate_stiffness.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin::testing {

// E1, E2, E3, ν12, ν13, ν23, G12, G13, G23 of a carbon-epoxy ply (MPa).
inline constexpr double carbon[9] = {140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3};
// E = 70 GPa, ν = 0.3 in the same layout.
inline constexpr double aluminium[9] = {70.0e3, 70.0e3, 70.0e3, 0.3, 0.3, 0.3,
                                        70.0e3 / 2.6, 70.0e3 / 2.6, 70.0e3 / 2.6};
inline constexpr double pi = std::numbers::pi;

inline lamina::PlyConstants carbon_ply() { return lamina::PlyConstants::load(carbon); }

template <class M>
double max_difference(const M& a, const M& b) {
  double d = 0.0;
  for (std::size_t i = 0; i < a.v.size(); ++i) d = std::max(d, std::abs(a.v[i] - b.v[i]));
  return d;
}

template <class M>
double max_entry(const M& a) {
  return max_difference(a, M{});
}

template <int N>
double identity_error(const SmallMatrix<N, N>& a) {
  return max_difference(a, SmallMatrix<N, N>::identity());
}

// An output array of n×n entries, 7 at first, followed by guard entries: a
// routine that writes outside its extent changes a guard.
class Guarded {
 public:
  explicit Guarded(int n) : n_(std::max(n, 0)), data_(std::size_t(n_ * n_ + guards), 7.0) {}
  double* data() { return data_.data(); }
  double operator()(int i, int j) const { return data_[std::size_t((i - 1) + n_ * (j - 1))]; }
  bool guards_intact() const {
    return std::all_of(data_.end() - guards, data_.end(), [](double v) { return v == 7.0; });
  }
  bool zero() const {
    return std::all_of(data_.begin(), data_.end() - guards, [](double v) { return v == 0.0; });
  }

 private:
  static constexpr int guards = 64;
  int n_;
  std::vector<double> data_;
};

// plyelastic(9, n), plyorientation(n) and plythickness(n) of a layup of
// equal plies, ply 1 first (the bottom).
struct Layup {
  std::vector<double> elastic, angle, thickness;

  Layup(std::vector<double> angles, double t, const double* props = carbon)
      : angle(std::move(angles)), thickness(angle.size(), t) {
    for (std::size_t k = 0; k < angle.size(); ++k) elastic.insert(elastic.end(), props, props + 9);
  }
  // n equal plies of one angle splitting the thickness h.
  static Layup homogeneous(int n, double h, const double* props, double angle_d = 0.0) {
    return Layup(std::vector<double>(std::size_t(n), angle_d), h / n, props);
  }
  int n() const { return int(angle.size()); }
  const int* np() const {
    count = n();
    return &count;
  }
  laminate::Stack stack() const { return {elastic.data(), angle.data(), thickness.data(), n()}; }

 private:
  mutable int count = 0;
};

}  // namespace tavrin::testing

// The names every mechanics test uses.
namespace tavrin {
using namespace testing;
namespace la = lamina;
namespace lm = laminate;
using Mat2 = laminate::Mat2;
}  // namespace tavrin
