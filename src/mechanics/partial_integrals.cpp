#include "mechanics/partial_integrals.hpp"

#include <algorithm>
#include <cstdint>

#include "foundation/numerics_latch.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::laminate {

PartialAB partial_stiffness(const Stack& s, double z, int k) {
  PartialAB r;
  PartialStiffness p;
  for_each_ply(s, 0.0, [&](int j, double zb, double zt) {
    if (j > k) return;
    const Mat3 q = s.reduced_stiffness(j);
    if (j < k) {
      p.add_ply(q, zb, zt);
    } else {
      r.a = p.a(q, zb, z);
      r.b = p.b(q, zb, z);
    }
  });
  return r;
}

SmallMatrix<3, 1> thermal_stiffness(const Stack& s, int k) {
  const double* p = s.properties(k);
  const Vec3 alpha{{p[9], p[10], 0.0}};
  // The inverse rotation takes ply-axis strains to laminate axes.
  const Vec3 x = s.reduced_stiffness(k) * (lamina::plane_transformation(-s.angle_r(k), lamina::Form::strain) * alpha);
  return SmallMatrix<3, 1>{x.v};
}

bool counts_fit(const int* counts, int nplies, int nzcrd) {
  std::int64_t used = 1;
  for (int k = 0; k < nplies; ++k) {
    if (counts[k] < 0) return false;
    used += counts[k];
  }
  return used <= nzcrd;
}

void getpartialabwithcurvature(double* pij, const double* p0, const double* p1, const double* p2,
                               double ki, double kj, int pdim, int nzcrd) {
  const std::ptrdiff_t n = 3 * std::ptrdiff_t(std::max(pdim, 0)) * std::max(nzcrd, 0);
  for (std::ptrdiff_t i = 0; i < n; ++i) pij[i] = curvature_combination(p0[i], p1[i], p2[i], ki, kj);
}

}  // namespace tavrin::laminate

namespace {
namespace lm = tavrin::laminate;
using tavrin::Mat3;
using tavrin::SmallMatrix;

// The per-ply quantity of the integrals: Q̄ (M = 3) or Q̄·α (M = 1).
template <int M>
SmallMatrix<3, M> ply_quantity(const lm::Stack& s, int k) {
  if constexpr (M == 1) return lm::thermal_stiffness(s, k);
  else return s.reduced_stiffness(k);
}

template <int M>
void laminate_integral(double* xint, int e, const lm::Stack& s, const double* z, const int* counts) {
  using Value = SmallMatrix<3, M>;
  lm::PowerIntegral<M> integral(e, z[0]);
  int i = 1;  // 0-based table position of the next entry
  for (int k = 1; k <= s.size(); ++k) {
    if (counts[k - 1] == 0) continue;
    const Value x = ply_quantity<M>(s, k);
    for (int p = 0; p < counts[k - 1]; ++p, ++i) integral.at(x, z[i]).store(xint + std::ptrdiff_t(3 * M) * i);
    integral.close_ply(x, z[i - 1]);
  }
}

template <int M>
void curved_integrals(double* xij, const double* pij, const lm::Stack& s, const double* z,
                      const int* counts, double ki, double kj, bool d_form) {
  using Value = SmallMatrix<3, M>;
  constexpr std::ptrdiff_t stride = 3 * M;
  int b = 0;  // 0-based table position of the ply's bottom
  for (int k = 1; k <= s.size(); ++k) {
    const int n = counts[k - 1];
    if (n == 0) continue;
    const Value x = ply_quantity<M>(s, k);
    const Value xb = Value::load(xij + stride * b), pb = Value::load(pij + stride * b);
    for (int i = b + 1; i <= b + n; ++i)
      lm::curved_integral(xb, pb, x, z[i], z[b], ki, kj, d_form).store(xij + stride * i);
    b += n;
  }
}

void partial_block(double* out, const double* plyelastic, const double* plyorientation,
                   const double* plythickness, const double* zcrd, const int* iply, const int* nplies,
                   bool b, const char* message) {
  if (*iply < 1 || *iply > *nplies) {
    Mat3{}.store(out);
    tavrin::latch_failure(tavrin::status_invalid, message, *iply);
    return;
  }
  const lm::PartialAB p = lm::partial_stiffness({plyelastic, plyorientation, plythickness, *nplies}, *zcrd, *iply);
  (b ? p.b : p.a).store(out);
}

}  // namespace

extern "C" {

void GetPartialAMatrix(double* aprt, const double* plyelastic, const double* plyorientation,
                       const double* plythickness, const double* zcrd, const int* iply, const int* nplies) {
  partial_block(aprt, plyelastic, plyorientation, plythickness, zcrd, iply, nplies, false,
                "Ply outside the stack in GetPartialAMatrix");
}

void GetPartialBMatrix(double* bprt, const double* plyelastic, const double* plyorientation,
                       const double* plythickness, const double* zcrd, const int* iply, const int* nplies) {
  partial_block(bprt, plyelastic, plyorientation, plythickness, zcrd, iply, nplies, true,
                "Ply outside the stack in GetPartialBMatrix");
}

void GetArbitraryLaminateIntegral(double* xint, const int* expo, const double* plyprops,
                                  const double* plyorientation, const double* plyzcoord,
                                  const int* plysectionpoint, const int* nzcrd, const int* nplies,
                                  const int* nprops, const int* thflag) {
  const bool thermal = thflag && *thflag == 1;
  const int m = thermal ? 1 : 3, n = std::max(*nplies, 0), points = std::max(*nzcrd, 0);
  std::fill_n(xint, 3 * std::ptrdiff_t(m) * points, 0.0);
  if (*expo < 1 || *nprops < (thermal ? 11 : 9) || points < 1 || !lm::counts_fit(plysectionpoint, n, points)) {
    tavrin::latch_failure(tavrin::status_invalid, *expo < 1 ? "Exponent below 1 in GetArbitraryLaminateIntegral"
                                                            : "Ply data do not fit in GetArbitraryLaminateIntegral");
    return;
  }
  const lm::Stack s(plyprops, plyorientation, nullptr, n, *nprops);
  if (thermal) laminate_integral<1>(xint, *expo, s, plyzcoord, plysectionpoint);
  else laminate_integral<3>(xint, *expo, s, plyzcoord, plysectionpoint);
}

void GetPartialCDwithCurvature(double* xij, const double* pij, const double* plyprops,
                               const double* plyorientation, const double* plyzcoord,
                               const int* plysectionpoint, const double* ki, const double* kj,
                               const int* ndim, const int* nzcrd, const int* nplies, const int* nprops,
                               const int* cdflag) {
  const int m = std::max(*ndim, 0), n = std::max(*nplies, 0), points = std::max(*nzcrd, 0);
  std::fill_n(xij, 3 * std::ptrdiff_t(m) * points, 0.0);
  if ((m != 1 && m != 3) || *nprops < (m == 1 ? 11 : 9) || points < 1 ||
      !lm::counts_fit(plysectionpoint, n, points)) {
    tavrin::latch_failure(tavrin::status_invalid, "Ply data do not fit in GetPartialCDwithCurvature");
    return;
  }
  const lm::Stack s(plyprops, plyorientation, nullptr, n, *nprops);
  if (m == 1) curved_integrals<1>(xij, pij, s, plyzcoord, plysectionpoint, *ki, *kj, *cdflag == 1);
  else curved_integrals<3>(xij, pij, s, plyzcoord, plysectionpoint, *ki, *kj, *cdflag == 1);
}

void GetPartialFG(double* fg, const double* p1, const double* p2, const double* tstar1,
                  const double* tstar2, const int* nzcrd, const int* fgflag) {
  const Mat3 t1 = Mat3::load(tstar1), t2 = Mat3::load(tstar2);
  for (std::ptrdiff_t i = 0; i < *nzcrd; ++i)
    lm::partial_fg(Mat3::load(p1 + 9 * i), Mat3::load(p2 + 9 * i), t1, t2, *fgflag).store(fg + 9 * i);
}

}  // extern "C"
