#include "mechanics/shear_stiffness.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "foundation/linalg.hpp"
#include "foundation/numerics_latch.hpp"
#include "mechanics/ply_rotation.hpp"
#include "mechanics/ply_strains.hpp"

namespace tavrin::laminate {
namespace {

// Gauss rules on [-1, 1] with the constants the method is defined by.
constexpr double gauss3_points[3] = {-0.774596669241483, 0.0, 0.774596669241483};
constexpr double gauss3_weights[3] = {0.555555555555556, 0.888888888888889, 0.555555555555556};
constexpr double gauss4_points[4] = {-0.8611363116, -0.3399810436, 0.3399810436, 0.8611363116};
constexpr double gauss4_weights[4] = {0.3478548451, 0.6521451549, 0.6521451549, 0.3478548451};

// Writes a 2×2 matrix into row `row` of a table with four columns.
void store_row(const Mat2& f, double* table, int ld, int row) {
  for (int c = 0; c < 4; ++c) table[(row - 1) + std::ptrdiff_t(ld) * c] = f.v[std::size_t(c)];
}

// ∫ from zb to zt of (α + βz + γz²)² dz from the power integrals
// Pn = (ztⁿ - zbⁿ)/n.
double square_integral(double alpha, double beta, double gamma, double zb, double zt) {
  double p[6];
  for (int n = 1; n <= 5; ++n) p[n] = (std::pow(zt, n) - std::pow(zb, n)) / n;
  return alpha * alpha * p[1] + 2.0 * alpha * beta * p[2] + (beta * beta + 2.0 * alpha * gamma) * p[3] +
         2.0 * beta * gamma * p[4] + gamma * gamma * p[5];
}

// H = (Σk tk/2 Σi wi·Mᵀ·Ck⁻¹·M)⁻¹: the complementary energy of unit shear
// forces by a Gauss rule in every ply, M(q, zb, z) the 2×2 shear stress
// function at z in a ply of stiffness q and bottom zb; close(q, zb, zt)
// moves the function's partial integrals past the ply.
template <int N, class Stress, class Close>
Mat2 shear_stiffness_by_rule(const Stack& s, const double (&xi)[N], const double (&w)[N], Stress stress,
                             Close close) {
  Mat2 energy;
  for_each_ply(s, 0.0, [&](int k, double zb, double zt) {
    const Mat3 q = s.reduced_stiffness(k);
    const Mat2 compliance = math::inverse(s.shear_stiffness(k));
    const double t = s.thickness(k);
    Mat2 ply;
    for (int i = 0; i < N; ++i) {
      const Mat2 m = stress(q, zb, zb + (xi[i] + 1.0) * t / 2.0);
      ply += w[i] * (transpose(m) * (compliance * m));
    }
    energy += (t / 2.0) * ply;
    close(q, zb, zt);
  });
  return math::inverse(energy);
}

}  // namespace

ShearStressFunction::ShearStressFunction(const Stack& s, const ShearFactors& factors) : f_(factors) {
  const double theta = decoupling_angle_d(s) * math::deg2rad;
  c_ = std::cos(theta);
  s_ = std::sin(theta);
  t_stress_ = lamina::plane_transformation(c_, s_, lamina::Form::stress);
  t_strain_transposed_ = transpose(lamina::plane_transformation(c_, s_, lamina::Form::strain));
}

Mat2 ShearStressFunction::at(const PartialAB& p) const {
  // (Tεᵀ)⁻¹ = Tσ: M' = Tσ·M·Tεᵀ.
  const Mat3 m = t_stress_ * ((p.a * f_.fa - p.b * f_.fb) * t_strain_transposed_);
  const double d1 = m(2, 2), d2 = m(1, 1);
  Mat2 f;
  f(1, 1) = c_ * c_ * d1 + s_ * s_ * d2;
  f(2, 2) = s_ * s_ * d1 + c_ * c_ * d2;
  f(1, 2) = f(2, 1) = c_ * s_ * (d2 - d1);
  return f;
}

void section_shear_functions(const Stack& s, const double* z, double* smallf, int ld) {
  const ShearStressFunction f(s);
  const int n = s.size();
  PartialStiffness p;
  for_each_ply(s, 0.0, [&](int k, double zb, double zt) {
    const Mat3 q = s.reduced_stiffness(k);
    const auto row = [&](int r) { store_row(f.at({p.a(q, zb, z[r - 1]), p.b(q, zb, z[r - 1])}), smallf, ld, r); };
    row(2 * k - 1);
    row(2 * k);
    if (k == n) row(2 * n + 1);
    p.add_ply(q, zb, zt);
  });
}

Mat2 shear_stiffness_improved(const Stack& s) {
  const ShearStressFunction f(s);
  PartialStiffness p;
  return shear_stiffness_by_rule(
      s, gauss3_points, gauss3_weights,
      [&](const Mat3& q, double zb, double z) { return f.at({p.a(q, zb, z), p.b(q, zb, z)}); },
      [&](const Mat3& q, double zb, double zt) { p.add_ply(q, zb, zt); });
}

Mat2 shear_stiffness_quadrature(const Stack& s) {
  const InvertedAbd inv = inverted_blocks(abd(s));
  const double z0 = bottom_face(s);
  PowerIntegral<3> i1(1, z0), i2(2, z0);
  return shear_stiffness_by_rule(
      s, gauss4_points, gauss4_weights,
      [&](const Mat3& q, double, double z) {
        // FG = I1·B* - I2·D*, its shear entries as the 2×2 function.
        const Mat3 fg = partial_fg(i1.at(q, z), i2.at(q, z), inv.b, inv.d, 1);
        Mat2 m;
        m(1, 1) = fg(2, 2);
        m(1, 2) = fg(3, 2);
        m(2, 1) = fg(3, 1);
        m(2, 2) = fg(1, 1);
        return m;
      },
      [&](const Mat3& q, double, double zt) {
        i1.close_ply(q, zt);
        i2.close_ply(q, zt);
      });
}

Mat2 plain_shear_stiffness(const Stack& s) {
  Mat2 h;
  for (int k = 1; k <= s.size(); ++k) h += s.thickness(k) * s.shear_stiffness(k);
  return h;
}

SmallVector<2> shear_correction_factors(const Stack& s, const Mat2& hlam) {
  const Abd m = abd(s);
  const double delta1 = m.a(1, 1) * m.d(1, 1) - m.b(1, 1) * m.b(1, 1);
  const double delta2 = m.a(2, 2) * m.d(2, 2) - m.b(2, 2) * m.b(2, 2);
  if (std::abs(delta1) < 1e-10 || std::abs(delta2) < 1e-10) return SmallVector<2>{{1.0, 1.0}};
  // The bending stresses of a unit moment jump at every ply face; s1, s2
  // carry those jumps so that the shear stress of equilibrium is continuous.
  double s1 = 0.0, s2 = 0.0, e1 = 0.0, e2 = 0.0;
  Mat3 below;
  for_each_ply(s, 0.0, [&](int k, double zb, double zt) {
    const Mat3 q = s.reduced_stiffness(k);
    s2 += (below(2, 2) - q(2, 2)) * zb * (2.0 * m.b(2, 2) - m.a(2, 2) * zb);
    s1 += (below(1, 1) - q(1, 1)) * zb * (2.0 * m.b(1, 1) - m.a(1, 1) * zb);
    below = q;
    const Mat2 c = s.shear_stiffness(k);
    const double det = c(1, 1) * c(2, 2) - c(1, 2) * c(1, 2);
    if (det <= 1e-5) return;
    const double j2 = square_integral(s2, 2.0 * m.b(2, 2) * q(2, 2), -m.a(2, 2) * q(2, 2), zb, zt);
    const double j1 = square_integral(s1, 2.0 * m.b(1, 1) * q(1, 1), -m.a(1, 1) * q(1, 1), zb, zt);
    e1 += c(2, 2) / det * j2 * 0.25 / (delta2 * delta2);
    e2 += c(1, 1) / det * j1 * 0.25 / (delta1 * delta1);
  });
  return SmallVector<2>{{1.0 / (e1 * hlam(1, 1)), 1.0 / (e2 * hlam(2, 2))}};
}

Mat2 shear_stiffness_corrected(const Stack& s) {
  const Mat2 hlam = plain_shear_stiffness(s);
  const SmallVector<2> k = shear_correction_factors(s, hlam);
  Mat2 h;
  for (int j = 1; j <= 2; ++j)
    for (int i = 1; i <= 2; ++i) h(i, j) = std::sqrt(k(i) * k(j)) * hlam(i, j);
  return h;
}

Mat2 shear_stiffness(const Stack& s, int method) {
  switch (method) {
    case 0: return shear_stiffness_corrected(s);
    case 2: return shear_stiffness_quadrature(s);
    default: return shear_stiffness_improved(s);
  }
}

void section_fg(const Stack& s, const double* z, double k1, double k2, int csflag, int fgflag, double* fg,
                int ld) {
  const InvertedAbd inv = inverted_blocks(abd(s));
  const Mat3& t1 = fgflag < 1 ? inv.a : inv.b;
  const Mat3& t2 = fgflag < 1 ? inv.b : inv.d;
  // The three curvature pairs (ki, kj) of the combinations a, b, c.
  const double ki[3] = {k2, k2, k1}, kj[3] = {k2, k1, k1};
  std::array<PowerIntegral<3>, 4> integral{PowerIntegral<3>(1, z[0]), PowerIntegral<3>(2, z[0]),
                                           PowerIntegral<3>(3, z[0]), PowerIntegral<3>(4, z[0])};
  // At the last row: the combinations P (of I1, I2, I3) and R (of I2, I3,
  // I4) and their curved-metric integrals C and D.  The first row, the
  // bottom face, has them all zero, and so its F/G row.
  std::array<Mat3, 3> p{}, r{}, c{}, d{};
  for (int k = 1; k <= s.size(); ++k) {
    const Mat3 q = s.reduced_stiffness(k);
    const double zb = z[2 * k - 2];
    const auto pb = p, rb = r, cb = c, db = d;
    for (int row = 2 * k; row <= 2 * k + 1; ++row) {
      const double zr = z[row - 1];
      Mat3 i[4];
      for (int e = 0; e < 4; ++e) i[e] = integral[std::size_t(e)].at(q, zr);
      Mat3 f[3];
      for (std::size_t m = 0; m < 3; ++m) {
        p[m] = curvature_combination(i[0], i[1], i[2], ki[m], kj[m]);
        r[m] = curvature_combination(i[1], i[2], i[3], ki[m], kj[m]);
        if (csflag != 0) {
          f[m] = partial_fg(p[m], r[m], t1, t2, fgflag);
        } else {
          c[m] = curved_integral(cb[m], pb[m], q, zr, zb, ki[m], kj[m], false);
          d[m] = curved_integral(db[m], rb[m], q, zr, zb, ki[m], kj[m], true);
          f[m] = partial_fg(c[m], d[m], t1, t2, fgflag);
        }
      }
      const double u = 1.0 - k1 * zr, w = 1.0 - k2 * zr;
      const double r1 = csflag != 0 ? 1.0 / (w * u * u) : 1.0 / (w * u);
      const double r2 = csflag != 0 ? 1.0 / (w * w * u) : 1.0 / (w * u);
      Mat2 out;
      out.v = {r1 * f[1](2, 2), r1 * f[2](3, 1), r2 * f[0](3, 2), r2 * f[1](1, 1)};
      store_row(out, fg, ld, row);
    }
    for (auto& e : integral) e.close_ply(q, z[2 * k]);
  }
}

}  // namespace tavrin::laminate

namespace {
namespace lm = tavrin::laminate;
using tavrin::Mat3;
using tavrin::View;

lm::SectionTables sections(const int* list, const double* orientation, const double* thickness,
                           const double* elastic, const int* nplies, const int* nsec, const int* defint) {
  return {list, orientation, thickness, elastic, std::max(*nplies, 0), std::max(*nsec, 0),
          defint ? *defint : lm::undefined_ply};
}

}  // namespace

extern "C" {

void GetSmallFMatrix(double* smallf, const double* plyelastic, const double* plyorientation,
                     const double* plythickness, const double* zcrd, const double* fa, const double* fb,
                     const int* iply, const int* nplies) {
  tavrin::c_boundary(__func__, [&] {
    if (*iply < 1 || *iply > *nplies) {
      lm::Mat2{}.store(smallf);
      tavrin::latch_failure(tavrin::status_invalid, "Ply outside the stack in GetSmallFMatrix", *iply);
      return;
    }
    const lm::Stack s(plyelastic, plyorientation, plythickness, *nplies);
    lm::ShearStressFunction(s, {Mat3::load(fa), Mat3::load(fb)})
        .at(lm::partial_stiffness(s, *zcrd, *iply))
        .store(smallf);
  });
}

void GetSectionFMatrix(double* plysmallf, const int* sectionlist, const double* plyorientation,
                       const double* plythickness, const double* plyzcoord, const double* plyelastic,
                       const int* nplies, const int* nsec, const int* defint) {
  tavrin::c_boundary(__func__, [&] {
    const lm::SectionTables t =
        sections(sectionlist, plyorientation, plythickness, plyelastic, nplies, nsec, defint);
    const int rows = lm::section_rows(*nplies);
    const View<double, 3> f(plysmallf, rows, 4, t.nsec);
    std::fill(f.begin(), f.end(), 0.0);
    for (int sec = 1; sec <= t.nsec; ++sec) {
      const int nlay = t.plies(sec);
      if (nlay < 1 || !t.has_elastic_constants(sec, nlay)) continue;
      lm::section_shear_functions(t.stack(sec, nlay), plyzcoord + std::ptrdiff_t(rows) * (sec - 1),
                                  &f(1, 1, sec), rows);
    }
  });
}

void GetHMatrixImprovedShear(double* hext2d, const double* plyelastic, const double* plyorientation,
                             const double* plythickness, const int* nplies) {
  tavrin::c_boundary(__func__, [&] {
    lm::shear_stiffness_improved({plyelastic, plyorientation, plythickness, *nplies}).store(hext2d);
  });
}

void GetHMatrixQuadrature(double* hquad, const double* plyelastic, const double* plyorientation,
                          const double* plythickness, const int* nplies) {
  tavrin::c_boundary(__func__, [&] {
    lm::shear_stiffness_quadrature({plyelastic, plyorientation, plythickness, *nplies}).store(hquad);
  });
}

void GetShearCorrectFactors(double* sk, const double* hlam, const double* plyelastic,
                            const double* plyorientation, const double* plythickness, const int* nplies) {
  lm::shear_correction_factors({plyelastic, plyorientation, plythickness, *nplies}, lm::Mat2::load(hlam))
      .store(sk);
}

void GetHMatrixShearCorrect(double* hshear, const double* plyelastic, const double* plyorientation,
                            const double* plythickness, const int* nplies) {
  lm::shear_stiffness_corrected({plyelastic, plyorientation, plythickness, *nplies}).store(hshear);
}

void GetSectionHMatrix(double* sehmatrix, const int* sectionlist, const double* plyorientation,
                       const double* plythickness, const double* plyelastic, const int* nplies,
                       const int* nsec, const int* method, const int* defint) {
  tavrin::c_boundary(__func__, [&] {
    const lm::SectionTables t =
        sections(sectionlist, plyorientation, plythickness, plyelastic, nplies, nsec, defint);
    std::fill_n(sehmatrix, 4 * std::ptrdiff_t(t.nsec), 0.0);
    for (int sec = 1; sec <= t.nsec; ++sec) {
      const int nlay = t.plies(sec);
      if (nlay < 1 || !t.has_elastic_constants(sec, nlay)) continue;
      lm::shear_stiffness(t.stack(sec, nlay), method ? *method : 1).store(sehmatrix + 4 * std::ptrdiff_t(sec - 1));
    }
  });
}

void GetArbitrarySectionFG(double* fg, const int* sectionlist, const double* plyorientation,
                           const double* plythickness, const double* plyzcoord, const double* plyelastic,
                           const int* nplies, const int* nsec, const int* csflag, const int* fgflag,
                           const double* xycurv, const int* defint) {
  tavrin::c_boundary(__func__, [&] {
    const lm::SectionTables t =
        sections(sectionlist, plyorientation, plythickness, plyelastic, nplies, nsec, defint);
    const int rows = lm::section_rows(*nplies);
    const View<double, 3> out(fg, rows, 4, t.nsec);
    std::fill(out.begin(), out.end(), 0.0);
    const double k1 = xycurv ? xycurv[0] : 0.0, k2 = xycurv ? xycurv[1] : 0.0;
    for (int sec = 1; sec <= t.nsec; ++sec) {
      const int nlay = t.plies(sec);
      if (nlay < 1) continue;
      lm::section_fg(t.stack(sec, nlay), plyzcoord + std::ptrdiff_t(rows) * (sec - 1), k1, k2, *csflag,
                     *fgflag, &out(1, 1, sec), rows);
    }
  });
}

}  // extern "C"
