// Component orders of symmetric second-order quantities (module `lamina`).
//
// A symmetric stress or strain tensor is stored as a 6-vector in one of three
// orders, and a stiffness or compliance as a 6×6 matrix in the same order on
// both sides:
//
//   position        1    2    3    4    5    6
//   Nye (solver)   11   22   33   12   13   23
//   Voigt          11   22   33   23   13   12
//   cyclic         11   22   33   12   23   31
//
// Plane states keep four components (11, 22, 33, 12) or three (11, 22, 12).
// Stress vectors hold tensor components σij, strain vectors engineering
// shears γij = 2εij.  A 3×3 tensor is read from its upper triangle.  A
// fourth-order tensor C(i,j,k,l) and a 6×6 Voigt matrix correspond through
// the index pairs 1 = (1,1), 2 = (2,2), 3 = (3,3), 4 = (2,3), 5 = (1,3),
// 6 = (1,2), without factors of 2.
//
// Conversions between the orders are permutations of the shear positions;
// on a matrix the same permutation acts on rows and columns, P·A·Pᵀ.
#pragma once

#include <array>

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::lamina {

// A permutation of the six positions: entry k of the result is entry
// perm[k-1] of the input.
using Order = std::array<int, 6>;

// Voigt ↔ Nye: exchange positions 4 and 6 (its own inverse).
inline constexpr Order voigt_nye{1, 2, 3, 6, 5, 4};
// Cyclic → Voigt: (12, 23, 31) → (23, 13, 12) in the shear positions.
inline constexpr Order cyclic_to_voigt{1, 2, 3, 5, 6, 4};
// Voigt → cyclic: (23, 13, 12) → (12, 23, 31).
inline constexpr Order voigt_to_cyclic{1, 2, 3, 6, 4, 5};
// Cyclic ↔ Nye: exchange positions 5 and 6 (its own inverse).
inline constexpr Order cyclic_nye{1, 2, 3, 4, 6, 5};

// The cyclic shift of the shear triple by s places (circular shift of the
// array kind): entry k (k = 0, 1, 2) of the result is a(4 + (k + s) mod 3).
// s = 1 turns cyclic into Voigt order, s = 2 or -1 Voigt into cyclic.
constexpr Order shear_shift(int s) {
  const int m = ((s % 3) + 3) % 3;
  return {1, 2, 3, 4 + m % 3, 4 + (m + 1) % 3, 4 + (m + 2) % 3};
}

constexpr Vec6 permute(const Vec6& a, const Order& p) {
  Vec6 r;
  for (int k = 1; k <= 6; ++k) r(k) = a(p[std::size_t(k - 1)]);
  return r;
}

// P·A·Pᵀ: r(i,j) = a(p(i), p(j)).
constexpr Mat6 permute(const Mat6& a, const Order& p) {
  Mat6 r;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) r(i, j) = a(p[std::size_t(i - 1)], p[std::size_t(j - 1)]);
  return r;
}

// The symmetric tensor of a Voigt vector (11, 22, 33, 23, 13, 12).
constexpr Mat3 cauchy(const Vec6& v) {
  return Mat3{{v(1), v(6), v(5), v(6), v(2), v(4), v(5), v(4), v(3)}};
}

// The 6-vectors of a tensor, off-diagonal values from its upper triangle.
constexpr Vec6 voigt(const Mat3& q) { return Vec6{{q(1, 1), q(2, 2), q(3, 3), q(2, 3), q(1, 3), q(1, 2)}}; }
constexpr Vec6 nye(const Mat3& q) { return Vec6{{q(1, 1), q(2, 2), q(3, 3), q(1, 2), q(1, 3), q(2, 3)}}; }
constexpr Vec6 cyclic(const Mat3& q) { return Vec6{{q(1, 1), q(2, 2), q(3, 3), q(1, 2), q(2, 3), q(1, 3)}}; }

// The symmetric tensor of a Nye vector (11, 22, 33, 12, 13, 23).
constexpr Mat3 tensor_from_nye(const Vec6& v) { return cauchy(permute(v, voigt_nye)); }

// csix(p,q) = C(i_p, j_p, i_q, j_q) over the Voigt index pairs.
TAVRIN_API Mat6 voigt_stiffness(const Tensor4& c);
// The tensor with both minor symmetries whose Voigt matrix is csix.
TAVRIN_API Tensor4 tensor_stiffness(const Mat6& csix);

// Positions of the in-plane components 11, 22, 12 in the solver layout of
// ntens components: (1, 2, 3) for three, (1, 2, 4) for four or more.
constexpr std::array<int, 3> plane_positions(int ntens) {
  return ntens == 3 ? std::array<int, 3>{1, 2, 3} : std::array<int, 3>{1, 2, 4};
}

// The 3×3 block of the in-plane components 11, 22, 12 of a 6×6 Nye matrix
// (rows and columns 1, 2, 4), without condensation.
constexpr Mat3 plane_block(const Mat6& a) {
  constexpr int k[3] = {1, 2, 4};
  Mat3 r;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) r(i, j) = a(k[i - 1], k[j - 1]);
  return r;
}

}  // namespace tavrin::lamina

extern "C" {

// cn(3,3) from qv(6) in Voigt order.
TAVRIN_API void CauchyNotation(double* cn, const double* qv);
TAVRIN_API void VoigtNotation(double* vn, const double* q);
TAVRIN_API void NyeNotation(double* nn, const double* q);
TAVRIN_API void CyclicNotation(double* cn, const double* q);
// fn(6,sdim) = q(6,sdim) with positions 4 and 6 exchanged (rows and columns
// for sdim 6); sdim other than 1 or 6 is refused (fn untouched).
TAVRIN_API void FlipVoigtNyeNotation(double* fn, const double* q, const int* sdim);
// The shear positions shifted cyclically by dir (1: cyclic → Voigt,
// 2 or -1: Voigt → cyclic).
TAVRIN_API void FlipVoigtCyclicNotation(double* fn, const double* q, const int* sdim, const int* dir);
TAVRIN_API void GetVoigtStiffnessFromTensor(double* csix, const double* c_4th);
TAVRIN_API void GetTensorFromVoigtStiffness(double* c_4th, const double* csix);
}
