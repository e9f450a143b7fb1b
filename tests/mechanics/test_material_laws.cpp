// Native paths of the material-point laws that Python cannot reach: absent
// optional arguments, stress laws in one C form only, refusals that the
// binding turns into exceptions, and the plasticity update's use of the
// incoming stress.
#include <gtest/gtest.h>

#include <complex>
#include <vector>

#include "foundation/numerics_support.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/contact.hpp"
#include "mechanics/elasticity.hpp"
#include "mechanics/prony.hpp"
#include "mechanics/resin.hpp"

namespace tavrin::testing {
namespace {

namespace el = elasticity;
using cplx = std::complex<double>;

// A diagonal law σᵢ = (i+1)·εᵢ that records the strains it is handed.
std::vector<double> seen;
void diagonal_law(double* s, const double* e, const double*, const int* n, const int*, const int*) {
  for (int i = 0; i < *n; ++i) s[i] = (i + 1) * e[i], seen.push_back(e[i]);
}
void complex_diagonal_law(cplx* s, const cplx* e, const double*, const int* n, const int*, const int*) {
  for (int i = 0; i < *n; ++i) s[i] = double(i + 1) * e[i], seen.push_back(e[i].imag());
}

class MaterialLaws : public LatchTest {};

TEST_F(MaterialLaws, TangentStepWithoutH) {
  // The signed largest entry of dstrain times 2⁻²⁶, NaN entries passed over.
  const double dstrain[3] = {-4.0, std::nan(""), 2.0};
  const double zero[3] = {};
  double ddsdde[9];
  seen.clear();
  el::getnumericaltangent(ddsdde, diagonal_law, nullptr, nullptr, zero, zero, dstrain, 3, 3, 0, false,
                          nullptr, nullptr, nullptr);
  EXPECT_EQ(seen[0] - dstrain[0], 2.0 * 1.4901161193847656e-8);
  EXPECT_DOUBLE_EQ(ddsdde[0], 1.0);
  EXPECT_DOUBLE_EQ(ddsdde[8], 3.0);
  EXPECT_EQ(ddsdde[6], 0.0);  // row 2 carries the NaN strain
  // All-negative: a negative step; the complex step stays exact.
  const double negative[3] = {-4.0, -1.0, -2.0};
  const int complex_step = 1;
  seen.clear();
  el::getnumericaltangent(ddsdde, nullptr, complex_diagonal_law, nullptr, zero, zero, negative, 3, 3, 0,
                          false, nullptr, nullptr, &complex_step);
  EXPECT_EQ(seen[0], -1.0 * 1.4901161193847656e-8);
  EXPECT_EQ(ddsdde[4], 2.0);
  EXPECT_EQ(status(), 0);
}

TEST_F(MaterialLaws, TangentNeedsTheFormOfItsMethod) {
  const double x[2] = {1.0, 1.0};
  double ddsdde[4] = {9, 9, 9, 9};
  const int complex_step = 1;
  el::getnumericaltangent(ddsdde, diagonal_law, nullptr, nullptr, x, x, x, 2, 2, 0, false, nullptr,
                          nullptr, &complex_step);
  EXPECT_EQ(take().first, -2);
  EXPECT_EQ(ddsdde[0], 0.0);
  // Central differences with the complex form alone: real parts read back.
  const double h = 0.5;
  seen.clear();
  el::getnumericaltangent(ddsdde, nullptr, complex_diagonal_law, nullptr, x, x, x, 2, 2, 0, false,
                          nullptr, &h, nullptr);
  EXPECT_EQ(ddsdde[0], 1.0);
  EXPECT_EQ(ddsdde[3], 2.0);
  for (double im : seen) EXPECT_EQ(im, 0.0);
  EXPECT_EQ(status(), 0);
}

TEST_F(MaterialLaws, PlasticityAddsToTheIncomingStressAndRefusesOtherLayouts) {
  const double props[8] = {3000.0, 2500.0, 1100.0, 0.35, 0.3, 3600.0, 120.0, 0.5};
  const double zero[6] = {}, step[6] = {1e-4, 0, 0, 0, 0, 0};
  double stress[6] = {10.0, 0, 0, 0, 0, 0}, eqps = 0.0, ddsdde[36];
  ::testing::internal::CaptureStdout();
  el::getstressfromplastitcity(stress, &eqps, ddsdde, zero, step, props, 6, 3, 8, 0.0);
  EXPECT_DOUBLE_EQ(stress[0], 10.0 + ddsdde[0] * 1e-4);
  double four[4] = {1, 1, 1, 1}, d4[16];
  el::getstressfromplastitcity(four, &eqps, d4, zero, step, props, 4, 3, 8, 0.0);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(take().first, -2);
  EXPECT_EQ(four[3], 0.0);
}

TEST_F(MaterialLaws, ResinRefusals) {
  double out[10];
  for (double& o : out) o = 7.0;
  const double props[20] = {};
  const int n = 20, noel = -1;
  const double temp = 300.0;
  GetResinProperties(props, &n, &temp, &out[0], &out[1], &out[2], &out[3], &out[4], &out[5], &out[6],
                     &out[7], &out[8], &out[9], &noel);
  EXPECT_EQ(take().first, -2);
  for (double o : out) EXPECT_EQ(o, 0.0);
  double stress[6] = {1, 1, 1, 1, 1, 1}, statev[42] = {};
  const double strain[6] = {1e-3}, endo[11] = {1000.0, 0.0, 0.3};
  const int nprops = 11, nstatev = 41, yes = 1;
  const double dt = 1.0;
  EndochroneViscoPlasticity(strain, strain, endo, stress, statev, &dt, &nprops, &nstatev, &yes, &yes);
  EXPECT_EQ(take().first, -2);
  EXPECT_EQ(stress[0], 0.0);
}

TEST_F(MaterialLaws, ThreeDimensionalLawsRefuseOtherLayouts) {
  double stress[4] = {1, 1, 1, 1};
  const double strain[4] = {1e-3, 0, 0, 0}, props[5] = {1000.0, 0.0, 0.3, 0.0, 0.0};
  const int ntens = 4, ndi = 3, nprops = 5;
  GetStressFromIsotropicViscoElasticity(stress, strain, props, &ntens, &ndi, &nprops);
  ASSERT_EQ(errorhandling::errintv.size(), 2);  // the layout that was refused
  EXPECT_EQ(errorhandling::errintv(1), 4);
  EXPECT_EQ(errorhandling::errintv(2), 3);
  EXPECT_EQ(take().first, -2);
  EXPECT_EQ(stress[0], 0.0);
  // The full layout with too few properties.
  double six[6] = {1, 1, 1, 1, 1, 1};
  const double strain6[6] = {1e-3}, four_props[4] = {1000.0, 1.0, 400.0, 0.3};
  const int six_n = 6, four_n = 4;
  GetStressFromNonlinearIsotropic(six, strain6, four_props, &six_n, &ndi, &four_n);
  EXPECT_EQ(take().first, -2);
  EXPECT_EQ(six[0], 0.0);
  double tens[9] = {};
  const double d[16] = {}, one = 1.0;
  const int four = 4;
  GetLameStress(&one, d, &one, &one, tens, &four);
  EXPECT_EQ(take().first, -2);
}

TEST_F(MaterialLaws, EndochroneWritesSixStressesAndItsState) {
  // Guards after the stress and the state: nothing is written past them.
  std::vector<double> stress(7, 7.0), statev(43, 0.0);
  statev[42] = 7.0;
  const double strain[6] = {1e-3, 0, 0, 1e-3, 0, 0}, props[11] = {1000, 1, 0.3, 100, 5, 1, 2, 3, 4, 5, 6};
  const int nprops = 11, nstatev = 42, yes = 1;
  const double dt = 1.0;
  EndochroneViscoPlasticity(strain, strain, props, stress.data(), statev.data(), &dt, &nprops, &nstatev,
                            &yes, &yes);
  EXPECT_EQ(stress[6], 7.0);
  EXPECT_EQ(statev[42], 7.0);
  EXPECT_NE(statev[39], 0.0);  // the last branch's 12 shear
  EXPECT_EQ(status(), 0);
}

TEST_F(MaterialLaws, CureFixedPointStopsAfterItsPassLimit) {
  // A rate that jumps between two values: α = α0 + Δt·rate never settles.
  // Row: A1 = 1, E1 = 0, n = 0 (rate 1 below αmax), p = 0.
  const double table[8] = {1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1e6};
  const int nc = 8;
  const double t = 300.0, a0 = 0.0, dt = 2.0, amax = 1.0;
  // n = 0: (αmax - α)⁰ = 1 for any α, so the rate is constant: one pass.
  EXPECT_EQ(FuncDegree(table, &t, &a0, &dt, &amax, &nc), 2.0);
  EXPECT_EQ(status(), 0);
}

}  // namespace
}  // namespace tavrin::testing
