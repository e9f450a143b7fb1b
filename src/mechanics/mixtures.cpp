#include "mechanics/mixtures.hpp"

#include <array>

#include "foundation/boundary.hpp"
#include "foundation/linalg.hpp"

namespace tavrin::laminate {

namespace {

// result = U + Uᵀ − diag(U) for the upper triangle U of u.
Mat6 complete_symmetric(const Mat6& u) {
  Mat6 c;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= j; ++i) c(i, j) = c(j, i) = u(i, j);
  return c;
}

// Σ v_k / C33_k: the averaged through-thickness compliance.
double thickness_compliance(const Mixture& m) {
  double s = 0.0;
  for (int k = 1; k <= m.size(); ++k) s += m.fraction(k) / m.stiffness(k)(3, 3);
  return s;
}

// The transverse shear block (positions 4, 5) as the inverse of the averaged
// shear compliance.  Each layer's determinant is C44·C55 − C45² (`symmetric`)
// or the LU determinant of its 2×2 block.
void set_shear_block(Mat6& c, const Mixture& m, bool symmetric) {
  double a44 = 0.0, a55 = 0.0, a45 = 0.0, a54 = 0.0;
  for (int k = 1; k <= m.size(); ++k) {
    const Mat6 ck = m.stiffness(k);
    double det;
    if (symmetric) {
      det = ck(4, 4) * ck(5, 5) - ck(4, 5) * ck(4, 5);
    } else {
      const std::array<double, 4> block{ck(4, 4), ck(5, 4), ck(4, 5), ck(5, 5)};
      det = math::lu_determinant(View<const double, 2>(block.data(), 2, 2));
    }
    const double v = m.fraction(k) / det;
    a44 += v * ck(4, 4);
    a55 += v * ck(5, 5);
    a45 += v * ck(4, 5);
    a54 += v * ck(5, 4);
  }
  const double mean_det = a44 * a55 - a45 * (symmetric ? a45 : a54);
  c(4, 4) = a44 / mean_det;
  c(4, 5) = a45 / mean_det;
  c(5, 5) = a55 / mean_det;
}

// 3×3 blocks of a 6×6 matrix at the given positions.
using Positions = std::array<int, 3>;
constexpr Positions out_of_plane{3, 4, 5};
constexpr Positions in_plane{1, 2, 6};

Mat3 block(const Mat6& c, const Positions& rows, const Positions& cols) {
  Mat3 b;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) b(i, j) = c(rows[std::size_t(i - 1)], cols[std::size_t(j - 1)]);
  return b;
}

void set_block(Mat6& c, const Positions& rows, const Positions& cols, const Mat3& b) {
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) c(rows[std::size_t(i - 1)], cols[std::size_t(j - 1)]) = b(i, j);
}

// The inverse by cofactors: no pivoting, no report; a singular block gives
// non-finite entries.
Mat3 cofactor_inverse(const Mat3& a) {
  Mat3 adj;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      const int i1 = i % 3 + 1, i2 = (i + 1) % 3 + 1, j1 = j % 3 + 1, j2 = (j + 1) % 3 + 1;
      adj(j, i) = a(i1, j1) * a(i2, j2) - a(i1, j2) * a(i2, j1);
    }
  const double det = a(1, 1) * adj(1, 1) + a(1, 2) * adj(2, 1) + a(1, 3) * adj(3, 1);
  return (1.0 / det) * adj;
}

}  // namespace

Mat6 voigt_stiffness(const Mixture& m) {
  Mat6 c;
  for (int k = 1; k <= m.size(); ++k) c += m.fraction(k) * m.stiffness(k);
  return c;
}

Mat6 reuss_stiffness(const Mixture& m) {
  Mat6 s;
  for (int k = 1; k <= m.size(); ++k) s += m.fraction(k) * math::inverse(m.stiffness(k));
  return math::inverse(s);
}

// Layer 1 is the reference: the corrections sum over layers 2..n.
Mat6 sun_stiffness(const Mixture& m) {
  const Mat6 cv = voigt_stiffness(m);
  Mat6 u;
  u(3, 3) = 1.0 / thickness_compliance(m);
  const Mat6 c1 = m.size() > 0 ? m.stiffness(1) : Mat6{};
  // P1, P2, P6: the couplings (1,3), (2,3), (3,6) with the thickness direction.
  constexpr std::array<std::array<int, 2>, 3> p{{{1, 3}, {2, 3}, {3, 6}}};
  for (const auto& [i, j] : p) {
    double sum = 0.0;
    for (int k = 2; k <= m.size(); ++k) {
      const Mat6 ck = m.stiffness(k);
      sum += m.fraction(k) * (ck(3, 3) - u(3, 3)) * (c1(i, j) - ck(i, j)) / ck(3, 3);
    }
    u(i, j) = cv(i, j) + sum;
  }
  constexpr std::array<std::array<int, 2>, 6> pairs{{{1, 1}, {1, 2}, {1, 6}, {2, 2}, {2, 6}, {6, 6}}};
  auto coupling = [&](const Mat6& c, int i) { return i == 6 ? c(3, 6) : c(i, 3); };
  for (const auto& [i, j] : pairs) {
    double sum = 0.0;
    for (int k = 2; k <= m.size(); ++k) {
      const Mat6 ck = m.stiffness(k);
      sum += m.fraction(k) * (coupling(ck, i) - coupling(u, i)) * (coupling(c1, j) - coupling(ck, j)) /
             ck(3, 3);
    }
    u(i, j) = cv(i, j) + sum;
  }
  set_shear_block(u, m, true);
  return complete_symmetric(u);
}

Mat6 chou_stiffness(const Mixture& m) {
  const Mat6 cv = voigt_stiffness(m);
  const double s = thickness_compliance(m);
  constexpr std::array<int, 4> pos{1, 2, 3, 6};
  Mat6 u;
  for (std::size_t b = 0; b < pos.size(); ++b)
    for (std::size_t a = 0; a <= b; ++a) {
      const int i = pos[a], j = pos[b];
      double products = 0.0, left = 0.0, right = 0.0;
      for (int k = 1; k <= m.size(); ++k) {
        const Mat6 ck = m.stiffness(k);
        const double v = m.fraction(k) / ck(3, 3);
        products += v * ck(i, 3) * ck(3, j);
        left += v * ck(i, 3);
        right += v * ck(3, j);
      }
      u(i, j) = cv(i, j) - products + left / s * right;
    }
  set_shear_block(u, m, false);
  return complete_symmetric(u);
}

Mat6 henry_stiffness(const Mixture& m) {
  const auto& o = out_of_plane;
  const auto& p = in_plane;
  Mat3 soo, soo_coi, cio_soo, reduced;  // ⟨Coo⁻¹⟩, ⟨Coo⁻¹Coi⟩, ⟨Cio Coo⁻¹⟩, ⟨Cii − Cio Coo⁻¹ Coi⟩
  for (int k = 1; k <= m.size(); ++k) {
    const Mat6 ck = m.stiffness(k);
    const double v = m.fraction(k);
    const Mat3 inv = cofactor_inverse(block(ck, o, o));
    const Mat3 coi = block(ck, o, p), cio = block(ck, p, o);
    const Mat3 inv_coi = inv * coi;
    soo += v * inv;
    soo_coi += v * inv_coi;
    cio_soo += v * (cio * inv);
    reduced += v * (block(ck, p, p) - cio * inv_coi);
  }
  const Mat3 coo = cofactor_inverse(soo);
  const Mat3 coi = coo * soo_coi;
  Mat6 c;
  set_block(c, o, o, coo);
  set_block(c, o, p, coi);
  set_block(c, p, o, cio_soo * coo);
  set_block(c, p, p, reduced + cio_soo * coi);
  return c;
}

}  // namespace tavrin::laminate

namespace {

using tavrin::Mat6;
using tavrin::laminate::Mixture;

template <Mat6 (*Rule)(const Mixture&)>
void effective(double* c, const double* v, const double* layers, const int* n) {
  Rule(Mixture{v, layers, *n}).store(c);
}

}  // namespace

extern "C" {

void GetVoigtEffectiveStiffness(double* cvoigt, const double* volratios, const double* c,
                                const int* nvols) {
  effective<tavrin::laminate::voigt_stiffness>(cvoigt, volratios, c, nvols);
}
void GetReussEffectiveStiffness(double* creuss, const double* volratios, const double* c,
                                const int* nvols) {
  tavrin::c_boundary(__func__, [&] {
    effective<tavrin::laminate::reuss_stiffness>(creuss, volratios, c, nvols);
  });
}
void GetSunEffectiveStiffness(double* csun, const double* volratios, const double* c, const int* nvols) {
  tavrin::c_boundary(__func__, [&] {
    effective<tavrin::laminate::sun_stiffness>(csun, volratios, c, nvols);
  });
}
void GetChouEffectiveStiffness(double* chou, const double* volratios, const double* c, const int* nvols) {
  tavrin::c_boundary(__func__, [&] {
    effective<tavrin::laminate::chou_stiffness>(chou, volratios, c, nvols);
  });
}
void GetHenryEffectiveStiffness(double* chenry, const double* volratios, const double* c,
                                const int* nvols) {
  effective<tavrin::laminate::henry_stiffness>(chenry, volratios, c, nvols);
}

}
