// Shared pieces of the laminate tests: ply stacks in the library's layout
// and the isotropic and carbon-epoxy plies they are made of.
#pragma once

#include <initializer_list>
#include <vector>

#include "mechanics/laminate_stiffness.hpp"
#include "ply_support.hpp"

namespace tavrin::testing {

// E = 70 GPa, ν = 0.3 in the nine-constant layout (MPa).
inline constexpr double aluminium[9] = {70.0e3, 70.0e3, 70.0e3, 0.3, 0.3, 0.3,
                                        70.0e3 / 2.6, 70.0e3 / 2.6, 70.0e3 / 2.6};

// plyelastic(9, n), plyorientation(n) and plythickness(n) of a layup, ply 1
// first (the bottom).
struct Layup {
  std::vector<double> elastic, angle, thickness;

  Layup(std::initializer_list<double> angles, double t, const double* props = carbon)
      : Layup(std::vector<double>(angles), std::vector<double>(angles.size(), t), props) {}
  Layup(std::vector<double> angles, std::vector<double> thicknesses, const double* props = carbon)
      : angle(std::move(angles)), thickness(std::move(thicknesses)) {
    for (std::size_t k = 0; k < angle.size(); ++k) elastic.insert(elastic.end(), props, props + 9);
  }
  // n equal plies of one angle splitting the thickness h.
  static Layup homogeneous(int n, double h, const double* props, double angle_d = 0.0) {
    return Layup(std::vector<double>(std::size_t(n), angle_d), std::vector<double>(std::size_t(n), h / n),
                 props);
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
