#include "mechanics/laminate_stiffness.hpp"

#include <algorithm>
#include <cmath>

#include "foundation/boundary.hpp"
#include "foundation/linalg.hpp"
#include "foundation/numerics_latch.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::laminate {

double Stack::total_thickness() const {
  double h = 0.0;
  for (int k = 1; k <= n_; ++k) h += thickness(k);
  return h;
}

Mat3 Stack::reduced_stiffness(int k) const {
  const double theta = angle_r(k);
  return lamina::rotate_orthotropic_stiffness(lamina::reduced_stiffness(constants(k)), std::cos(theta),
                                              std::sin(theta));
}

Mat2 Stack::shear_stiffness(int k) const {
  const double* p = properties(k);
  return lamina::off_axis_shear_stiffness(p[7], p[8], angle_r(k));
}

double ply_z(const Stack& s, int k, Position where, double offset) {
  double below = 0.0;
  for (int j = 1; j < k; ++j) below += s.thickness(j);
  const double z0 = bottom_face(s, offset);
  switch (where) {
    case Position::top: return z0 + (below + s.thickness(k));
    case Position::middle: return z0 + below + 0.5 * s.thickness(k);
    default: return z0 + below;
  }
}

namespace {

// acc += w·q, in place (no temporary on the per-ply path).
void add_scaled(Mat3& acc, double w, const Mat3& q) {
  for (std::size_t i = 0; i < 9; ++i) acc.v[i] += w * q.v[i];
}

// Σ Q̄k (z_t^p - z_b^p) for the powers asked for, then the factors ½ and ⅓.
template <bool A, bool B, bool D>
Abd integrate(const Stack& s, double offset) {
  Abd m;
  for_each_ply(s, offset, [&](int k, double zb, double zt) {
    const Mat3 q = s.reduced_stiffness(k);
    if constexpr (A) add_scaled(m.a, zt - zb, q);
    if constexpr (B) add_scaled(m.b, zt * zt - zb * zb, q);
    if constexpr (D) add_scaled(m.d, zt * zt * zt - zb * zb * zb, q);
  });
  m.b *= 0.5;
  m.d *= 1.0 / 3.0;
  return m;
}

}  // namespace

Mat6 Abd::matrix() const {
  Mat6 m;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) {
      m(i, j) = a(i, j);
      m(i, j + 3) = m(i + 3, j) = b(i, j);
      m(i + 3, j + 3) = d(i, j);
    }
  return m;
}

Abd abd(const Stack& s, double offset) { return integrate<true, true, true>(s, offset); }

Mat3 stiffness_block(const Stack& s, int power, double offset) {
  switch (power) {
    case 1: return integrate<true, false, false>(s, offset).a;
    case 2: return integrate<false, true, false>(s, offset).b;
    case 3: return integrate<false, false, true>(s, offset).d;
    default: return Mat3{};
  }
}

Mat3 reduced_bending_stiffness(const Abd& m) { return m.d - m.b * (math::inverse(m.a) * m.b); }

InvertedAbd inverted_blocks(const Abd& m) {
  const Mat3 ainv = math::inverse(m.a);
  const Mat3 dstar = math::inverse(m.d - m.b * (ainv * m.b));
  const Mat3 btstar = dstar * (m.b * ainv);
  return {ainv + (ainv * m.b) * btstar, btstar, dstar};
}

ShearFactors shear_factors(const Abd& m) {
  const Mat3 ainv = math::inverse(m.a);
  const Mat3 dstar = math::inverse(m.d - m.b * (ainv * m.b));
  return {ainv * (m.b * dstar), dstar};
}

EngineeringConstants engineering_constants(const Mat6& abd, double h) {
  const Mat6 a = math::inverse(abd);
  const double h3 = h * h * h;
  return {{1.0 / (a(1, 1) * h), 1.0 / (a(2, 2) * h), 1.0 / (a(3, 3) * h), -a(1, 2) / a(1, 1)},
          {12.0 / (a(4, 4) * h3), 12.0 / (a(5, 5) * h3), 12.0 / (a(6, 6) * h3), -a(4, 5) / a(4, 4)}};
}

EngineeringConstants engineering_constants_from_stiffness(const Mat6& abd, double h) {
  const double h3 = h * h * h;
  return {{abd(1, 1) / h, abd(2, 2) / h, abd(3, 3) / h, 0.0},
          {12.0 * abd(4, 4) / h3, 12.0 * abd(5, 5) / h3, 12.0 * abd(6, 6) / h3, 0.0}};
}

SmallMatrix<4, 3> lamination_parameters(const double* angle_r, const double* thickness, int nplies) {
  // Only the thicknesses matter for the faces: a stack view without
  // properties or angles of its own.
  const Stack s(nullptr, nullptr, thickness, nplies);
  SmallMatrix<4, 3> v;
  for_each_ply(s, 0.0, [&](int k, double zb, double zt) {
    const double t = angle_r[k - 1];
    const double g[4] = {std::cos(2.0 * t), std::cos(4.0 * t), std::sin(2.0 * t), std::sin(4.0 * t)};
    for (int i = 1; i <= 3; ++i) {
      const double dz = std::pow(zt, i) - std::pow(zb, i);
      for (int j = 1; j <= 4; ++j) v(j, i) += g[j - 1] * dz;
    }
  });
  const double h = s.total_thickness();
  constexpr double f[3] = {1.0, 2.0, 4.0};
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 4; ++j) v(j, i) *= f[i - 1] / std::pow(h, i);
  return v;
}

double effective_plate_stiffness(const Mat3& d) {
  const double d1122 = d(1, 1) * d(2, 2);
  return std::sqrt(0.5 * (1.0 + (d(1, 2) + 2.0 * d(3, 3)) / std::sqrt(d1122)) * d1122);
}

std::array<int, 2> thinner_sublaminate(const double* thickness, int nplies, int interface) {
  // An interface outside the stack is its nearest face: nothing lies below
  // the bottom or above the top.
  const int n = std::max(nplies, 0), split = std::clamp(interface, 0, n);
  double lower = 0.0, upper = 0.0;
  for (int k = 1; k <= split; ++k) lower += thickness[k - 1];
  for (int k = split + 1; k <= n; ++k) upper += thickness[k - 1];
  if (lower >= upper) return {split + 1, n};
  return {1, split};
}

Vec3 chai_factors(const InterfacePlies& p, double dangle_d) {
  const double t = dangle_d * math::deg2rad;
  const double c = std::cos(t), s = std::sin(t), c2 = c * c, s2 = s * s;
  const Mat3& u = p.q_upper;
  const double q11u = u(1, 1) * c2 * c2 + 2.0 * (u(1, 2) + 2.0 * u(3, 3)) * c2 * s2 + u(2, 2) * s2 * s2;
  const double q11l = p.q_lower(1, 1);
  Vec3 f;
  f(1) = q11l == u(2, 2) ? 0.0
                         : p.thickness_lower / p.thickness_upper * (q11l - q11u) / (q11l - u(2, 2));
  f(2) = 0.5 * (1.0 + p.g23_upper / p.g23_lower * c2 + p.g23_upper / p.g13_lower * s2);
  f(3) = 0.5 * (1.0 + p.g13_lower / p.g13_upper * c2 + p.g13_lower / p.g23_upper * s2);
  return f;
}

}  // namespace tavrin::laminate

namespace {
namespace lm = tavrin::laminate;
using tavrin::Mat3;
using tavrin::Mat6;

lm::Abd load_abd(const double* a, const double* b, const double* d) {
  return {Mat3::load(a), Mat3::load(b), Mat3::load(d)};
}

}  // namespace

extern "C" {

double GetPlyZCoord(const double* plythickness, const int* iply, const int* nplies, const int* zpos,
                    const double* refoffset) {
  if (*iply < 1 || *iply > *nplies) {
    tavrin::latch_failure(tavrin::status_invalid, "Ply outside the stack in GetPlyZCoord", *iply);
    return 0.0;
  }
  const lm::Position where = *zpos == 2 ? lm::Position::top
                             : *zpos == 1 ? lm::Position::middle
                                          : lm::Position::bottom;
  return lm::ply_z(lm::Stack(nullptr, nullptr, plythickness, *nplies), *iply, where,
                   refoffset ? *refoffset : 0.0);
}

void GetAMatrix(double* a, const double* plyelastic, const double* plyorientation,
                const double* plythickness, const int* nplies) {
  lm::stiffness_block({plyelastic, plyorientation, plythickness, *nplies}, 1).store(a);
}

void GetBMatrix(double* b, const double* plyelastic, const double* plyorientation,
                const double* plythickness, const int* nplies) {
  lm::stiffness_block({plyelastic, plyorientation, plythickness, *nplies}, 2).store(b);
}

void GetDMatrix(double* d, const double* plyelastic, const double* plyorientation,
                const double* plythickness, const int* nplies) {
  lm::stiffness_block({plyelastic, plyorientation, plythickness, *nplies}, 3).store(d);
}

void GetABDMatrix(double* abd, const double* a, const double* b, const double* d) {
  load_abd(a, b, d).matrix().store(abd);
}

void GetReducedBendingStiffness(double* dred, const double* a, const double* b, const double* d) {
  tavrin::c_boundary(__func__, [&] {
    lm::reduced_bending_stiffness(load_abd(a, b, d)).store(dred);
  });
}

void GetABDTilde(const double* a, const double* b, const double* d, double* atstar, double* btstar,
                 double* dtstar) {
  tavrin::c_boundary(__func__, [&] {
    const lm::InvertedAbd t = lm::inverted_blocks(load_abd(a, b, d));
    t.a.store(atstar);
    t.b.store(btstar);
    t.d.store(dtstar);
  });
}

void GetEngConstsFromABDMatrix(double* eng, const double* abd, const double* h, const int* tcflag) {
  tavrin::c_boundary(__func__, [&] {
    const Mat6 m = Mat6::load(abd);
    (tcflag && *tcflag ? lm::engineering_constants_from_stiffness(m, *h)
                       : lm::engineering_constants(m, *h))
        .store(eng);
  });
}

void GetVMatrix(double* v, const double* plyorientation, const double* plythickness,
                const int* nplies) {
  lm::lamination_parameters(plyorientation, plythickness, *nplies).store(v);
}

double GetEffectivePlateStiffness(const double* plyelastic, const double* plyorientation,
                                  const double* plythickness, const int* nplies) {
  return lm::effective_plate_stiffness(
      lm::stiffness_block({plyelastic, plyorientation, plythickness, *nplies}, 3));
}

void GetSubLaminateStack(int* sublamstack, const double* plythickness, const int* intface,
                         const int* nplies) {
  const auto range = lm::thinner_sublaminate(plythickness, *nplies, *intface);
  sublamstack[0] = range[0];
  sublamstack[1] = range[1];
}

void GetSubLaminateXMatrix(double* xsub, const char* slflag, const double* plyelastic,
                           const double* plyorientation, const double* plythickness,
                           const int* sublamstack, const int* nplies) {
  const int first = sublamstack[0], last = sublamstack[1];
  const int power = *slflag == 'A' ? 1 : *slflag == 'B' ? 2 : *slflag == 'D' ? 3 : 0;
  Mat3 x;
  if (last >= first) {
    // A non-empty range must lie in the stack.
    if (first < 1 || last > *nplies) {
      Mat3{}.store(xsub);
      tavrin::latch_failure(tavrin::status_invalid,
                            "Sublaminate plies outside the stack in GetSubLaminateXMatrix", first);
      return;
    }
    x = lm::stiffness_block(lm::Stack(plyelastic, plyorientation, plythickness, *nplies).plies(first, last),
                            power);
  }
  x.store(xsub);
}

void GetChaiDelamFactors(double* chaidfactors, const double* qonl, const double* qonu,
                         const double* dangl_d, const double* plythickl, const double* plythicku,
                         const double* g23l, const double* g23u, const double* g13l,
                         const double* g13u) {
  lm::chai_factors({Mat3::load(qonl), Mat3::load(qonu), *plythickl, *plythicku, *g23l, *g23u, *g13l,
                    *g13u},
                   *dangl_d)
      .store(chaidfactors);
}

}  // extern "C"
