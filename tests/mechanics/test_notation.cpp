// Component orders: conversions between the solver (Nye), Voigt, cyclic,
// four- and three-component layouts, and between 6×6 matrices and
// fourth-order tensors.
#include <gtest/gtest.h>

#include "foundation/transforms.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/stress_measures.hpp"
#include "ply_support.hpp"

namespace tavrin {
namespace {

namespace la = lamina;

class Notation : public testing::LatchTest {};

// A symmetric tensor with distinct entries: q(i,j) = 10·min + max.
const Mat3 q{{11.0, 12.0, 13.0, 12.0, 22.0, 23.0, 13.0, 23.0, 33.0}};

// Solver order ↔ Voigt ↔ cyclic, and the plane layouts.
TEST_F(Notation, ConversionsRoundTrip) {
  Vec6 nye, voigt, cyclic;
  NyeNotation(nye.data(), q.data());
  VoigtNotation(voigt.data(), q.data());
  CyclicNotation(cyclic.data(), q.data());
  EXPECT_EQ(voigt, (Vec6{{11, 22, 33, 23, 13, 12}}));
  EXPECT_EQ(nye, (Vec6{{11, 22, 33, 12, 13, 23}}));
  EXPECT_EQ(cyclic, (Vec6{{11, 22, 33, 12, 23, 13}}));
  // The off-diagonal values come from the upper triangle.
  Mat3 upper = q;
  upper(2, 1) = upper(3, 1) = upper(3, 2) = -1.0;
  EXPECT_EQ(la::voigt(upper), voigt);
  Mat3 back;
  CauchyNotation(back.data(), voigt.data());
  EXPECT_EQ(back, q);
  const int one = 1, to_voigt = 1, to_cyclic = 2, back_shift = -1;
  Vec6 a, b;
  FlipVoigtNyeNotation(a.data(), nye.data(), &one);
  EXPECT_EQ(a, voigt);
  FlipVoigtNyeNotation(b.data(), a.data(), &one);
  EXPECT_EQ(b, nye);
  FlipVoigtCyclicNotation(a.data(), voigt.data(), &one, &to_cyclic);
  EXPECT_EQ(a, cyclic);
  FlipVoigtCyclicNotation(b.data(), a.data(), &one, &to_voigt);
  EXPECT_EQ(b, voigt);
  FlipVoigtCyclicNotation(a.data(), voigt.data(), &one, &back_shift);
  EXPECT_EQ(a, cyclic);
  // Shifts by multiples of 3, extreme ones included, change nothing.
  for (const int s : {0, 3, -3, 2147483646, -2147483647 - 1 + 2}) {
    FlipVoigtCyclicNotation(a.data(), voigt.data(), &one, &s);
    EXPECT_EQ(a, voigt) << s;
  }
  EXPECT_EQ(la::permute(la::permute(nye, la::cyclic_nye), la::cyclic_nye), nye);
  EXPECT_EQ(la::permute(nye, la::cyclic_nye), cyclic);
  // Four components are the leading Nye ones, three the in-plane ones.
  const double four[4] = {nye(1), nye(2), nye(3), nye(4)}, three[3] = {nye(1), nye(2), nye(4)};
  Mat3 plane = q;
  plane(1, 3) = plane(3, 1) = plane(2, 3) = plane(3, 2) = 0.0;
  EXPECT_EQ(*la::stress_tensor(four, 4), plane);
  plane(3, 3) = 0.0;
  EXPECT_EQ(*la::stress_tensor(three, 3), plane);
  EXPECT_EQ(status(), 0);
}

// A matrix in one order turns into another by permuting rows and columns
// alike; for an unsymmetric matrix too.
TEST_F(Notation, MatricesChangeOrderByRowsAndColumns) {
  Mat6 a;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) a(i, j) = 10.0 * i + j;  // unsymmetric
  const int six = 6, to_voigt = 1, to_cyclic = 2;
  Mat6 f, g;
  FlipVoigtNyeNotation(f.data(), a.data(), &six);
  EXPECT_EQ(f(4, 5), a(6, 5));
  EXPECT_EQ(f(5, 4), a(5, 6));
  EXPECT_EQ(f(6, 4), a(4, 6));
  EXPECT_EQ(f(1, 6), a(1, 4));
  FlipVoigtNyeNotation(g.data(), f.data(), &six);
  EXPECT_EQ(g, a);
  // A stiffness acts on the vectors of the same order: (P·A·Pᵀ)(P·x) = P·(A·x).
  const Vec6 x{{1, -2, 3, -4, 5, -6}};
  FlipVoigtCyclicNotation(f.data(), a.data(), &six, &to_cyclic);
  EXPECT_EQ(f * la::permute(x, la::voigt_to_cyclic), la::permute(a * x, la::voigt_to_cyclic));
  FlipVoigtCyclicNotation(g.data(), f.data(), &six, &to_voigt);
  EXPECT_EQ(g, a);
}

TEST_F(Notation, UnsupportedExtentsLeaveTheResult) {
  const int sdim = 3, dir = 1;
  double q18[18] = {}, fn[18];
  std::fill(fn, fn + 18, 4.0);
  FlipVoigtNyeNotation(fn, q18, &sdim);
  EXPECT_EQ(message(), "Unsupported extents of Q in FlipVoigtNyeNotation");
  testing::LatchTest::reset();
  FlipVoigtCyclicNotation(fn, q18, &sdim, &dir);
  EXPECT_EQ(message(), "Unsupported extents of Q inFlipVoigtCyclicNotation");
  EXPECT_EQ(fn[0], 4.0);
}

TEST_F(Notation, StiffnessTensorAndVoigtMatrix) {
  const Mat6 c = la::permute(la::stiffness(testing::carbon_ply()), la::voigt_nye);
  Tensor4 t;
  GetTensorFromVoigtStiffness(t.data(), c.data());
  // Both minor symmetries, and the index pairs without factors of 2.
  EXPECT_EQ(t(1, 2, 1, 2), c(6, 6));
  EXPECT_EQ(t(2, 1, 1, 2), c(6, 6));
  EXPECT_EQ(t(3, 2, 1, 1), c(4, 1));
  EXPECT_EQ(t(1, 1, 2, 3), c(1, 4));
  Mat6 back;
  GetVoigtStiffnessFromTensor(back.data(), t.data());
  EXPECT_EQ(back, c);
  // σ = C:ε in tensor form equals the Voigt product with engineering shears.
  const Mat3 eps{{1e-3, 2e-4, -3e-4, 2e-4, -5e-4, 1e-4, -3e-4, 1e-4, 2e-3}};
  Vec6 gamma = la::voigt(eps);
  for (int k = 4; k <= 6; ++k) gamma(k) *= 2.0;
  const Vec6 sigma = c * gamma, tensor = la::voigt(math::double_contraction(t, eps));
  EXPECT_LT(testing::max_difference(sigma, tensor), 1e-12);
}

}  // namespace
}  // namespace tavrin
