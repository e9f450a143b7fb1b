#include "solver/explicit_block.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/arrays.hpp"
#include "foundation/errorhandling.hpp"
#include "mechanics/notation.hpp"

namespace tavrin::toplevel::explicit_ply {

Vec6 Block::row(const View<const double, 2>& a, int k) const {
  Vec6 v{};
  for (int i = 1; i <= ntens; ++i) v(i) = a(k, i);
  return v;
}

void Block::put_row(int k, const Vec6& stress) const {
  for (int i = 1; i <= ntens; ++i) stressnew(k, i) = stress(i);
}

Vec6 Block::state6(int k, int first) const {
  Vec6 v;
  for (int i = 1; i <= 6; ++i) v(i) = stateold(k, first + i - 1);
  return v;
}

void Block::put_state6(int k, int first, const Vec6& v) const {
  for (int i = 1; i <= 6; ++i) statenew(k, first + i - 1) = v(i);
}

void Block::keep_point(int k) const {
  for (int i = 1; i <= ntens; ++i) stressnew(k, i) = stressold(k, i);
  for (int i = 1; i <= nstatev; ++i) statenew(k, i) = stateold(k, i);
  enerinternnew[k - 1] = enerinternold[k - 1];
  enerinelasnew[k - 1] = enerinelasold[k - 1];
}

void Block::keep_block() const {
  for (int k = 1; k <= nblock; ++k) keep_point(k);
}

void Block::energies(int k, const Vec6& stress, const Vec6& deps, const Vec6& eps_el, double f) const {
  const int ndi = 3, six = 6, incremental = 0, secant = 1, tensor = 1;
  const Vec6 old = row(stressold, k), none{};
  // ½Σ(σ + σold)·Δε and ½Σσ·εel, shears counted twice (tensor components).
  double work = 0.0, elastic = 0.0;
  GetSpecificStrainEnergy(&work, stress.v.data(), old.v.data(), none.v.data(), deps.v.data(), &ndi, &six,
                          &incremental, &tensor);
  GetSpecificStrainEnergy(&elastic, stress.v.data(), old.v.data(), eps_el.v.data(), none.v.data(), &ndi, &six,
                          &secant, &tensor);
  const double rho = density[k - 1];
  enerinternnew[k - 1] = enerinternold[k - 1] + work / rho * f;
  enerinelasnew[k - 1] = enerinternnew[k - 1] - elastic / rho * f;
}

void Block::refuse(std::string_view what, std::span<const int> ints, std::span<const double> reals) const {
  explicit_ply::refuse(routine, what, ints, reals);
}

void refuse(const char* routine, std::string_view what, std::span<const int> ints, std::span<const double> reals) {
  char message[81];
  std::snprintf(message, sizeof message, "%s: %.*s", routine, int(what.size()), what.data());
  xerr(-2, message, ints, reals);
}

int switch_of(double x) {
  if (!(std::abs(x) <= 1e9)) return -1000000000 - 1;  // NaN or far out: no switch
  return int(std::trunc(x));
}

Vec6 engineering(Vec6 eps) {
  for (int i = 4; i <= 6; ++i) eps(i) *= 2.0;
  return eps;
}

bool admissible(const lamina::PlyConstants& p) {
  const double moduli[6] = {p.e1, p.e2, p.e3, p.g12, p.g13, p.g23};
  if (!std::all_of(std::begin(moduli), std::end(moduli), [](double m) { return m > 0.0 && std::isfinite(m); }))
    return false;
  // Leading minors of the normal compliance block (times E1·E2·E3).
  const auto nu = lamina::minor_poisson(p);
  const double minor2 = 1.0 - p.nu12 * nu.nu21;
  const double det = minor2 - p.nu23 * nu.nu32 - p.nu13 * nu.nu31 - 2.0 * p.nu12 * p.nu23 * nu.nu31;
  return minor2 > 0.0 && det > 0.0;
}

Mat6 ply_stiffness(const lamina::PlyConstants& p, bool plane_stress) {
  if (!plane_stress) return lamina::permute(lamina::stiffness(p), lamina::cyclic_nye);
  const Mat3 q = lamina::reduced_stiffness(p);  // 11, 22, 12
  Mat6 c{};
  constexpr int at[3] = {1, 2, 4};
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) c(at[i - 1], at[j - 1]) = q(i, j);
  return c;
}

std::optional<ElasticForm> elastic_form(const Block& b, const double* props, int nprops, bool plane_stress) {
  if (nprops == 21) {
    if (plane_stress) {
      b.refuse("a packed stiffness (nprops = 21) needs a 3-D point");
      return std::nullopt;
    }
    const int six = 6;
    Mat6 lu, nye;
    GetUnpackedTriangle(lu.v.data(), props, &six, &nprops, "F", nullptr);
    Symmetrize(lu.v.data(), nye.v.data(), &six);
    return ElasticForm{lamina::permute(nye, lamina::cyclic_nye), std::nullopt};
  }
  const auto p = lamina::ply_constants(std::span<const double>(props, std::size_t(nprops)));
  if (!p) {
    b.refuse("unsupported number of elastic constants", std::span<const int>(&nprops, 1));
    return std::nullopt;
  }
  if (!admissible(*p)) {
    b.refuse("elastic constants not positive definite");
    return std::nullopt;
  }
  return ElasticForm{ply_stiffness(*p, plane_stress), *p};
}

PropertyForm property_form(const Block& b, int nprops, int full) {
  if ((nprops >= 2 && nprops <= 9) || nprops == 21) return PropertyForm::elastic;
  if (nprops >= full) return PropertyForm::full;
  b.refuse(nprops == 1 ? "properties from the material tables (nprops = 1) not supported"
                       : "too few properties",
           std::span<const int>(&nprops, 1));
  return PropertyForm::refused;
}

bool point_accepted(const Block& b, int k, bool lengths) {
  // The density, then the lengths along the ply axes 1, 2, 3.
  double v[4] = {b.density[k - 1], 1.0, 1.0, 1.0};
  if (lengths)
    for (int j = 1; j <= 3; ++j) v[j] = b.charlength(k, j);
  if (std::all_of(std::begin(v), std::end(v), [](double x) { return x > 0.0 && std::isfinite(x); })) return true;
  b.refuse(lengths ? "density and characteristic lengths must be positive" : "density must be positive",
           std::span<const int>(&k, 1), v);
  return false;
}

}  // namespace tavrin::toplevel::explicit_ply
