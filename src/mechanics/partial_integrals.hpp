// The laminate stiffness integrated from the bottom face up to a height
// (module `laminate`): what the transverse shear stiffness and stress
// functions need besides the whole-thickness blocks.
//
//   partial A(z) = ∫ Q̄ dz,  partial B(z) = ∫ Q̄ ζ dζ   (bottom face to z)
//   I_e(z) = ∫ X ζ^(e-1) dζ                          (first table entry to z)
//
// X is Q̄ (3×3) or, in the thermal variant, Q̄·α (3×1), α the ply's in-plane
// expansion coefficients (α1, α2 from property rows 10 and 11) turned to
// laminate axes as engineering strains.
//
// A point table z(nzcrd) with section-point counts n(k): entry 1 is the
// bottom face of the stack, then ply 1 owns the next n(1) entries, ply 2 the
// next n(2), and so on; the last entry of a ply is its top, which is also the
// bottom of the next ply.  So 1 + Σ n(k) entries are used.  A ply with no
// points adds nothing.
//
// Shells with curvatures ki, kj combine three such stacks,
//   P = p0 - (ki + kj)·p1 + ki·kj·p2,
// and integrate through a ply with the metric of the curved shell (C and D
// forms below).  The shear stress functions are F = p1·T1 - p2·T2.
#pragma once

#include <cmath>

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/laminate_stiffness.hpp"

namespace tavrin::laminate {

// ∫Q̄ dz and ∫Q̄ z dz of a stack, built ply by ply from the bottom face: the
// plies added so far and then part of the current one.
class PartialStiffness {
 public:
  // At z in the current ply, of stiffness q and bottom zb.
  Mat3 a(const Mat3& q, double zb, double z) const { return below_a_ + (z - zb) * q; }
  Mat3 b(const Mat3& q, double zb, double z) const { return 0.5 * (below_b_ + (z * z - zb * zb) * q); }
  // The whole current ply; then the next one is current.
  void add_ply(const Mat3& q, double zb, double zt) {
    below_a_ += (zt - zb) * q;
    below_b_ += (zt * zt - zb * zb) * q;
  }

 private:
  Mat3 below_a_, below_b_;  // B without its factor ½
};

struct PartialAB {
  Mat3 a, b;
};
// partial A and B at z, taken to lie in ply k (1..n).
TAVRIN_API PartialAB partial_stiffness(const Stack& s, double z, int k);

// I_e(z) through a point table for X constant in each ply: S + X·(z^e - zb^e)/e
// with S the closed plies and zb the last entry of the previous ply.
template <int M>
class PowerIntegral {
 public:
  using Value = SmallMatrix<3, M>;
  PowerIntegral(int e, double first) : e_(e), bottom_(std::pow(first, e)) {}
  Value at(const Value& x, double z) const { return below_ + ((std::pow(z, e_) - bottom_) / e_) * x; }
  // Ends the current ply at its last entry z.
  void close_ply(const Value& x, double z) {
    const double top = std::pow(z, e_);
    below_ += ((top - bottom_) / e_) * x;
    bottom_ = top;
  }

 private:
  int e_;
  double bottom_;
  Value below_;
};

// X of the thermal variant: Q̄k·(T·(α1, α2, 0)), T the engineering-strain
// transformation from ply to laminate axes.
TAVRIN_API SmallMatrix<3, 1> thermal_stiffness(const Stack& s, int k);

// Whether counts(nplies) describe a point table of nzcrd entries: every
// count at least 0 and 1 + Σ counts ≤ nzcrd.
TAVRIN_API bool counts_fit(const int* counts, int nplies, int nzcrd);

// p0 - (ki + kj)·p1 + ki·kj·p2.
constexpr double curvature_combination(double p0, double p1, double p2, double ki, double kj) {
  return p0 - (ki + kj) * p1 + ki * kj * p2;
}
template <int M>
SmallMatrix<3, M> curvature_combination(const SmallMatrix<3, M>& p0, const SmallMatrix<3, M>& p1,
                                        const SmallMatrix<3, M>& p2, double ki, double kj) {
  SmallMatrix<3, M> r;
  for (std::size_t i = 0; i < r.v.size(); ++i) r.v[i] = curvature_combination(p0.v[i], p1.v[i], p2.v[i], ki, kj);
  return r;
}

// The curved-shell integral at z in a ply of bottom zb and quantity x, from
// its value xb and the combination pb at the bottom: xb + c2·x + c1·pb with
//   c1 = (z - zb)/((1 - ki z)(1 - kj z))
//   C form: c2 = ½ (z - zb)²/(1 - ki z) · (1 - kj (2 zb + z)/3)
//   D form: c2 = (z - zb)²/(6 (1 - ki z)) · (2 zb + z - ½ kj (z² + 2 z zb + 3 zb²))
template <int M>
SmallMatrix<3, M> curved_integral(const SmallMatrix<3, M>& xb, const SmallMatrix<3, M>& pb,
                                  const SmallMatrix<3, M>& x, double z, double zb, double ki,
                                  double kj, bool d_form) {
  const double dz = z - zb, wi = 1.0 - ki * z;
  const double c1 = dz / (wi * (1.0 - kj * z));
  const double c2 = d_form ? dz * dz / (6.0 * wi) * (2.0 * zb + z - 0.5 * kj * (z * z + 2.0 * z * zb + 3.0 * zb * zb))
                           : 0.5 * dz * dz / wi * (1.0 - kj * (2.0 * zb + z) / 3.0);
  return xb + c2 * x + c1 * pb;
}

// p1·t1 - p2·t2 for fgflag > 0, else p2·t2 - p1·t1.
inline Mat3 partial_fg(const Mat3& p1, const Mat3& p2, const Mat3& t1, const Mat3& t2, int fgflag) {
  return fgflag > 0 ? p1 * t1 - p2 * t2 : p2 * t2 - p1 * t1;
}

// pij(3, pdim, nzcrd) = the curvature combination of p0, p1, p2 entry by
// entry.
TAVRIN_API void getpartialabwithcurvature(double* pij, const double* p0, const double* p1,
                                          const double* p2, double ki, double kj, int pdim, int nzcrd);

}  // namespace tavrin::laminate

extern "C" {

// aprt, bprt (3,3) at zcrd, taken to lie in ply iply; iply outside
// 1..nplies is refused (-3, zero).
TAVRIN_API void GetPartialAMatrix(double* aprt, const double* plyelastic, const double* plyorientation,
                                  const double* plythickness, const double* zcrd, const int* iply,
                                  const int* nplies);
TAVRIN_API void GetPartialBMatrix(double* bprt, const double* plyelastic, const double* plyorientation,
                                  const double* plythickness, const double* zcrd, const int* iply,
                                  const int* nplies);
// xint(3, m, nzcrd): I_expo at every entry of the point table plyzcoord
// with counts plysectionpoint; m = 3, or 1 for the thermal variant (thflag
// 1, optional).  An exponent below 1, fewer than 9 (thermal: 11) properties
// or counts that do not fit the table are refused (-3, zero).
TAVRIN_API void GetArbitraryLaminateIntegral(double* xint, const int* expo, const double* plyprops,
                                             const double* plyorientation, const double* plyzcoord,
                                             const int* plysectionpoint, const int* nzcrd,
                                             const int* nplies, const int* nprops, const int* thflag);
// xij(3, ndim, nzcrd): the curved-shell C (cdflag other than 1) or D
// (cdflag 1) integral of pij through the point table; ndim 1 is the thermal
// variant, 3 the stiffness; another ndim, too few properties or counts that
// do not fit the table are refused (-3, zero).
TAVRIN_API void GetPartialCDwithCurvature(double* xij, const double* pij, const double* plyprops,
                                          const double* plyorientation, const double* plyzcoord,
                                          const int* plysectionpoint, const double* ki, const double* kj,
                                          const int* ndim, const int* nzcrd, const int* nplies,
                                          const int* nprops, const int* cdflag);
// fg(3,3,nzcrd) = p1·tstar1 - p2·tstar2 at every entry (fgflag > 0), or its
// negative.
TAVRIN_API void GetPartialFG(double* fg, const double* p1, const double* p2, const double* tstar1,
                             const double* tstar2, const int* nzcrd, const int* fgflag);
}
