// Shared pieces of the ply mechanics tests: a carbon-epoxy ply, entry-wise
// comparisons of small matrices and a guarded output buffer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/numerics_support.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin::testing {

// E1, E2, E3, ν12, ν13, ν23, G12, G13, G23 of a carbon-epoxy ply (MPa).
inline constexpr double carbon[9] = {140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3};

inline lamina::PlyConstants carbon_ply() { return lamina::PlyConstants::load(carbon); }

template <class M>
double max_difference(const M& a, const M& b) {
  double d = 0.0;
  for (std::size_t i = 0; i < a.v.size(); ++i) d = std::max(d, std::abs(a.v[i] - b.v[i]));
  return d;
}

template <class M>
double max_entry(const M& a) {
  double d = 0.0;
  for (double x : a.v) d = std::max(d, std::abs(x));
  return d;
}

template <int N>
double identity_error(const SmallMatrix<N, N>& a) {
  return max_difference(a, SmallMatrix<N, N>::identity());
}

// An output array of n×n entries followed by guard entries: a routine that
// writes outside its extent changes a guard.
class Guarded {
 public:
  explicit Guarded(int n, double fill = 7.0)
      : n_(std::max(n, 0)), data_(std::size_t(n_ * n_ + guards), fill) {}
  double* data() { return data_.data(); }
  double operator()(int i, int j) const { return data_[std::size_t((i - 1) + n_ * (j - 1))]; }
  bool guards_intact(double fill = 7.0) const {
    return std::all_of(data_.end() - guards, data_.end(), [fill](double v) { return v == fill; });
  }
  bool zero() const {
    return std::all_of(data_.begin(), data_.end() - guards, [](double v) { return v == 0.0; });
  }

 private:
  static constexpr int guards = 64;
  int n_;
  std::vector<double> data_;
};

}  // namespace tavrin::testing
