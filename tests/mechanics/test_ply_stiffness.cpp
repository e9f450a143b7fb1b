// Ply elastic constants, stiffness and compliance in every solver layout,
// and their use at a material point.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "foundation/transforms.hpp"

#include "mechanics/nonlinear_laws.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "ply_support.hpp"

namespace tavrin {
namespace {

using testing::carbon;
using testing::carbon_ply;
using testing::Guarded;
using testing::identity_error;
using testing::max_difference;
namespace la = lamina;

class PlyStiffness : public testing::LatchTest {};

std::array<double, 9> nye_properties(std::initializer_list<double> elastic) {
  std::array<double, 9> out{};
  const std::vector<double> in(elastic);
  const int n = int(in.size());
  GetNyeProperties(out.data(), in.data(), &n);
  return out;
}

TEST_F(PlyStiffness, NineConstantsFromEveryInputForm) {
  // Isotropic (E, ν).
  EXPECT_EQ(nye_properties({210.0e3, 0.3}),
            (std::array<double, 9>{210.0e3, 210.0e3, 210.0e3, 0.3, 0.3, 0.3, 210.0e3 / 2.6,
                                   210.0e3 / 2.6, 210.0e3 / 2.6}));
  // The two five-value forms of one transversely isotropic ply.
  const auto poisson_third = nye_properties({1.0e5, 8.0e3, 0.3, 0.0, 4.0e3});
  const auto modulus_third = nye_properties({1.0e5, 8.0e3, 4.0e3, 0.0, 0.3});
  EXPECT_EQ(poisson_third, (std::array<double, 9>{1.0e5, 8.0e3, 8.0e3, 0.3, 0.3, 0.0, 4.0e3, 4.0e3, 4.0e3}));
  EXPECT_EQ(modulus_third, poisson_third);
  // G23 given: ν23 = E2/(2·G23) - 1.
  EXPECT_DOUBLE_EQ(nye_properties({1.0e5, 8.0e3, 4.0e3, 2.5e3, 0.3})[5], 0.6);
  // Nine values with the Poisson's ratios last are taken to the standard
  // order; one of the last three above 1 means they are already in it.
  EXPECT_EQ(nye_properties({1, 2, 3, 40, 50, 60, 0.7, 0.8, 0.9}),
            (std::array<double, 9>{1, 2, 3, 0.7, 0.8, 0.9, 40, 50, 60}));
  EXPECT_EQ(nye_properties({1, 2, 3, 0.1, 0.2, 0.3, 0.4, 0.5, 6}),
            (std::array<double, 9>{1, 2, 3, 0.1, 0.2, 0.3, 0.4, 0.5, 6}));
  // Another count leaves the constants as they were.
  std::array<double, 9> out;
  out.fill(-1.0);
  const int four = 4;
  GetNyeProperties(out.data(), carbon, &four);
  EXPECT_EQ(message(), "Unsupported input in GetNyeProperties");
  EXPECT_EQ(out[0], -1.0);
}

TEST_F(PlyStiffness, IsotropicStiffnessInClosedForm) {
  const double e = 70.0e3, nu = 0.33;
  const la::PlyConstants p = *la::ply_constants(std::array<double, 2>{e, nu});
  const Mat6 c = la::stiffness(p);
  const double f = e / ((1.0 + nu) * (1.0 - 2.0 * nu));
  EXPECT_NEAR(c(1, 1), f * (1.0 - nu), 1e-10 * e);
  EXPECT_NEAR(c(2, 3), f * nu, 1e-10 * e);
  EXPECT_EQ(c(6, 6), e / (2.0 * (1.0 + nu)));
  // Plane stress: E/(1-ν²)·[[1, ν, 0], [ν, 1, 0], [0, 0, (1-ν)/2]].
  const Mat3 q = la::reduced_stiffness(p);
  EXPECT_DOUBLE_EQ(q(1, 1), e / (1.0 - nu * nu));
  EXPECT_DOUBLE_EQ(q(1, 2), e * nu / (1.0 - nu * nu));
  EXPECT_DOUBLE_EQ(q(3, 3), e * (1.0 - nu) / 2.0 / (1.0 - nu * nu));
}

// C·S = I in every layout the solver uses, through the exported routines.
TEST_F(PlyStiffness, StiffnessInvertsComplianceInEveryLayout) {
  const int layouts[][2] = {{3, 1}, {4, 1}, {6, 1}, {4, 0}, {6, 0}};
  for (const auto& [ntens, psflag] : layouts) {
    Guarded c(ntens), s(ntens);
    GetNyeStiffnessMatrix(c.data(), carbon, &ntens, &psflag);
    GetNyeComplianceMatrix(s.data(), carbon, &ntens, &psflag);
    double worst = 0.0;
    for (int i = 1; i <= ntens; ++i)
      for (int j = 1; j <= ntens; ++j) {
        double cs = 0.0;
        for (int k = 1; k <= ntens; ++k) cs += c(i, k) * s(k, j);
        // Rows and columns that plane stress leaves empty stay empty.
        const bool empty = psflag == 0 && (i == 3 || i > 4 || j == 3 || j > 4);
        worst = std::max(worst, std::abs(cs - (i == j && !empty ? 1.0 : 0.0)));
      }
    EXPECT_LT(worst, 1e-14) << ntens << " components, psflag " << psflag;
    EXPECT_TRUE(c.guards_intact() && s.guards_intact());
  }
  EXPECT_EQ(status(), 0);
  EXPECT_LT(identity_error(la::stiffness(carbon_ply()) * la::compliance(carbon_ply())), 1e-14);
}

TEST_F(PlyStiffness, PlaneStressEntriesOnRequest) {
  const int ntens = 6, plane = 0, full = 1;
  Guarded c(6), f(6), absent(6);
  GetNyeStiffnessMatrix(c.data(), carbon, &ntens, &plane);
  GetNyeStiffnessMatrix(f.data(), carbon, &ntens, &full);
  GetNyeStiffnessMatrix(absent.data(), carbon, &ntens, nullptr);
  const Mat3 q = la::reduced_stiffness(carbon_ply());
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      const bool in_plane = (i <= 2 || i == 4) && (j <= 2 || j == 4) && (i == 4) == (j == 4);
      if (in_plane) EXPECT_EQ(c(i, j), q(i == 4 ? 3 : i, j == 4 ? 3 : j));
      else EXPECT_EQ(c(i, j), 0.0) << i << "," << j;
      EXPECT_EQ(f(i, j), absent(i, j));
    }
  EXPECT_NE(f(3, 3), 0.0);
}

// Condensing σ33 = 0 out of the 3-D stiffness gives the reduced stiffness.
TEST_F(PlyStiffness, CondensationGivesTheReducedStiffness) {
  const Mat6 c = la::stiffness(carbon_ply());
  const Mat3 q = la::reduced_stiffness(carbon_ply());
  EXPECT_LT(max_difference(la::condensed_stiffness(c, 1), q), 1e-10 * q(1, 1));
  // The other planes keep their transverse shear modulus.
  EXPECT_EQ(la::condensed_stiffness(c, 2)(3, 3), carbon_ply().g23);
  EXPECT_EQ(la::condensed_stiffness(c, 3)(3, 3), carbon_ply().g13);
  const int absent_plane = 9;
  Mat3 out;
  GetReducedNyeStiffnessMatrix(out.data(), c.data(), &absent_plane);
  EXPECT_EQ(out, la::condensed_stiffness(c, 1));
  GetReducedNyeStiffnessMatrix(out.data(), c.data(), nullptr);
  EXPECT_EQ(out, la::condensed_stiffness(c, 1));
}

// An unsymmetric stiffness condenses with the row of the removed direction:
// σd = 0 gives εd = -V(d,n)·εn/V(d,d).
TEST_F(PlyStiffness, UnsymmetricCondensationUsesTheConstrainedRow) {
  Mat6 c = la::stiffness(carbon_ply());
  c(3, 1) += 900.0;  // only the 31 entry: σ33 depends more on ε11
  const Mat3 qs = la::condensed_stiffness(c, 1);
  // Strain ε11 = 1 with σ33 = 0: ε33 = -c31/c33, σ22 = c21 + c23·ε33.
  const double e33 = -c(3, 1) / c(3, 3);
  EXPECT_NEAR(qs(2, 1), c(2, 1) + c(2, 3) * e33, 1e-9);
  EXPECT_NEAR(qs(1, 1), c(1, 1) + c(1, 3) * e33, 1e-9);
  EXPECT_NE(qs(2, 1), qs(1, 2));
}

TEST_F(PlyStiffness, UnsupportedDimensionsWriteOnlyZeros) {
  for (const int ntens : {-1, 0, 1, 2, 5, 7}) {
    Guarded c(ntens), s(ntens);
    testing::LatchTest::reset();
    GetNyeStiffnessMatrix(c.data(), carbon, &ntens, nullptr);
    EXPECT_EQ(message(), "Unsupported dimension in GetNyeStiffnessMatrix");
    testing::LatchTest::reset();
    GetNyeComplianceMatrix(s.data(), carbon, &ntens, nullptr);
    EXPECT_EQ(message(), "Unsupported dimension in GetNyeComplianceMatrix");
    EXPECT_TRUE(c.zero() && s.zero() && c.guards_intact() && s.guards_intact()) << ntens;
  }
}

void generalized(Guarded& sc, const double* props, int ntens, int nprops, int scflag,
                 const int* psflag = nullptr, const int* unsymm = nullptr) {
  GetGeneralizedNyeOnAxisSC(sc.data(), props, &ntens, &nprops, &scflag, psflag, nullptr, unsymm);
}

TEST_F(PlyStiffness, GeneralizedFromEngineeringConstants) {
  for (const int ntens : {4, 6}) {
    Guarded a(ntens), b(ntens);
    generalized(a, carbon, ntens, 9, 1);
    GetNyeStiffnessMatrix(b.data(), carbon, &ntens, nullptr);
    for (int i = 1; i <= ntens; ++i)
      for (int j = 1; j <= ntens; ++j) EXPECT_EQ(a(i, j), b(i, j));
  }
  Guarded q(3);
  generalized(q, carbon, 3, 9, 1);
  EXPECT_EQ(q(1, 2), q(2, 1));
  EXPECT_EQ(q(3, 3), carbon[6]);
  // The compliance is the inverse.
  Guarded s(6), c(6);
  generalized(s, carbon, 6, 9, 0);
  generalized(c, carbon, 6, 9, 1);
  Mat6 cs;
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j)
      for (int k = 1; k <= 6; ++k) cs(i, j) += c(i, k) * s(k, j);
  EXPECT_LT(identity_error(cs), 1e-14);
  EXPECT_EQ(status(), 0);
}

TEST_F(PlyStiffness, GeneralizedWithExplicitMinorPoissonRatios) {
  double props[12];
  std::copy_n(carbon, 9, props);
  const la::MinorPoisson nu = la::minor_poisson(carbon_ply());
  props[9] = 1.1 * nu.nu21;  // not consistent with ν12·E2/E1
  props[10] = nu.nu31;
  props[11] = nu.nu32;
  const int unsymmetric = 1;
  Guarded kept(3), averaged(3);
  generalized(kept, props, 3, 12, 1, nullptr, &unsymmetric);
  generalized(averaged, props, 3, 12, 1);
  EXPECT_DOUBLE_EQ(kept(2, 1) / kept(1, 2), 1.1);
  EXPECT_EQ(averaged(1, 2), averaged(2, 1));
  EXPECT_EQ(averaged(1, 2), 0.5 * (kept(1, 2) + kept(2, 1)));
}

TEST_F(PlyStiffness, GeneralizedFromAFullMatrix) {
  // An unsymmetric 6×6 in Nye order, column by column.
  Mat6 a = la::stiffness(carbon_ply());
  a(1, 2) += 100.0;
  a(4, 1) = 50.0;
  const int unsymmetric = 1;
  Guarded kept(6), averaged(6);
  generalized(kept, a.data(), 6, 36, 1, nullptr, &unsymmetric);
  generalized(averaged, a.data(), 6, 36, 1);
  EXPECT_EQ(kept(1, 2), a(1, 2));
  EXPECT_EQ(averaged(1, 2), 0.5 * (a(1, 2) + a(2, 1)));
  EXPECT_EQ(averaged(4, 1), 25.0);
  // Its in-plane entries for three components, without condensation.
  Guarded plane(3);
  generalized(plane, a.data(), 3, 36, 1, nullptr, &unsymmetric);
  EXPECT_EQ(plane(3, 1), 50.0);
  EXPECT_EQ(plane(3, 3), a(4, 4));
  // 21 values: the upper triangle column by column, always symmetric.
  double packed[21];
  int k = 0;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= j; ++i) packed[k++] = 10.0 * i + j;
  Guarded sym(6);
  generalized(sym, packed, 6, 21, 1);
  EXPECT_EQ(sym(2, 5), 25.0);
  EXPECT_EQ(sym(5, 2), 25.0);
  // With plane stress requested and four components: the in-plane entries
  // at positions 1, 2, 4.
  const int plane_stress = 0;
  Guarded four(4);
  generalized(four, packed, 4, 21, 1, &plane_stress);
  EXPECT_EQ(four(2, 4), 24.0);
  EXPECT_EQ(four(3, 3), 0.0);
  EXPECT_EQ(status(), 0);
}

TEST_F(PlyStiffness, GeneralizedRefusals) {
  // An unsupported count: zero stiffness; the compliance's inversion
  // failure stays behind the first message.
  for (const int scflag : {1, 0}) {
    testing::LatchTest::reset();
    Guarded sc(6);
    generalized(sc, carbon, 6, 7, scflag);
    EXPECT_EQ(message(), "Unsupported number of properties or dimensions in GetGeneralizedNyeOnAxisSC.");
    EXPECT_TRUE(sc.guards_intact());
  }
  // Fewer than three components (and extents that are no solver layout):
  // reported, nothing written outside the array.
  for (const int ntens : {1, 2, 5, 7}) {
    testing::LatchTest::reset();
    Guarded sc(ntens);
    generalized(sc, carbon, ntens, 9, 0);
    EXPECT_EQ(status(), -2);
    EXPECT_TRUE(sc.zero() && sc.guards_intact()) << ntens;
  }
}

TEST_F(PlyStiffness, LaminationInvariantsGiveTheOffAxisReducedStiffness) {
  double u[5];
  const int nine = 9;
  GetInvariantsFromReducedStiffness(u, carbon, &nine);
  const int three = 3, stiffness = 1;
  for (const double deg : {0.0, 15.0, 30.0, 45.0, 60.0, 90.0, 123.0, -37.5}) {
    Mat3 q;
    GetNyeOffAxisSC(q.data(), &deg, carbon, &three, &stiffness);
    const double t = deg * std::numbers::pi / 180.0;
    const double c2 = std::cos(2 * t), c4 = std::cos(4 * t), s2 = std::sin(2 * t), s4 = std::sin(4 * t);
    const double tol = 1e-10 * u[0];
    EXPECT_NEAR(q(1, 1), u[0] + u[1] * c2 + u[2] * c4, tol) << deg;
    EXPECT_NEAR(q(2, 2), u[0] - u[1] * c2 + u[2] * c4, tol) << deg;
    EXPECT_NEAR(q(1, 2), u[3] - u[2] * c4, tol) << deg;
    EXPECT_NEAR(q(3, 3), u[4] - u[2] * c4, tol) << deg;
    // The coupling terms with material axis 1 at +θ from the reference.
    EXPECT_NEAR(q(1, 3), u[1] / 2 * s2 + u[2] * s4, tol) << deg;
    EXPECT_NEAR(q(2, 3), u[1] / 2 * s2 - u[2] * s4, tol) << deg;
  }
}

TEST_F(PlyStiffness, OffAxisTransverseShearStiffness) {
  SmallMatrix<2, 2> h;
  const double g13 = 4.8e3, g23 = 3.4e3, zero = 0.0, ninety = 90.0, thirty = 30.0;
  GetOffAxisShearRigidMatrix(h.data(), &g13, &g23, &zero);
  EXPECT_EQ(h, (SmallMatrix<2, 2>{{g23, 0.0, 0.0, g13}}));
  GetOffAxisShearRigidMatrix(h.data(), &g13, &g23, &ninety);
  EXPECT_LT(max_difference(h, SmallMatrix<2, 2>{{g13, 0.0, 0.0, g23}}), 1e-12 * g13);
  // (τ23, τ13) turn as a vector with the in-plane axes.
  GetOffAxisShearRigidMatrix(h.data(), &g13, &g23, &thirty);
  const double c = std::cos(thirty * math::deg2rad), s = std::sin(thirty * math::deg2rad);
  EXPECT_DOUBLE_EQ(h(1, 1), g23 * c * c + g13 * s * s);
  EXPECT_DOUBLE_EQ(h(1, 2), (g13 - g23) * s * c);
}

TEST_F(PlyStiffness, StressUpdateSecantAndIncremental) {
  const int ntens = 4, ndi = 3, yes = 1, no = 0;
  Mat6 full = la::stiffness(carbon_ply());
  SmallMatrix<4, 4> c;
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 4; ++j) c(i, j) = full(i, j);
  double stress[4] = {5.0, 6.0, 7.0, 8.0};
  const double strain0[4] = {1e-3, -2e-4, 1e-4, 2e-3}, zero[4] = {};
  // Incremental with no increment: unchanged.
  GetStressVector(stress, c.data(), strain0, zero, &ndi, &ntens, &no, &no);
  EXPECT_EQ(stress[3], 8.0);
  // Secant: the old stress is ignored; tensor shears are doubled first.
  GetStressVector(stress, c.data(), strain0, zero, &ndi, &ntens, &yes, &yes);
  EXPECT_DOUBLE_EQ(stress[3], carbon[6] * 2.0 * strain0[3]);
  EXPECT_DOUBLE_EQ(stress[0], c(1, 1) * strain0[0] + c(1, 2) * strain0[1] + c(1, 3) * strain0[2]);
  // Strains that share the stress's storage are read before it changes.
  double shared[4] = {1e-3, 0.0, 0.0, 0.0};
  GetStressVector(shared, c.data(), shared, zero, &ndi, &ntens, &yes, &no);
  EXPECT_DOUBLE_EQ(shared[1], c(2, 1) * 1e-3);
  // Specific energy: secant ½σ·ε, incremental by the trapezoidal rule.
  double sse = 99.0;
  GetSpecificStrainEnergy(&sse, stress, zero, strain0, zero, &ndi, &ntens, &yes, &yes);
  double expected = 0.0;
  for (int i = 0; i < 4; ++i) expected += 0.5 * stress[i] * strain0[i] * (i == 3 ? 2.0 : 1.0);
  EXPECT_DOUBLE_EQ(sse, expected);
  const double s0[4] = {1.0, 1.0, 1.0, 1.0};
  GetSpecificStrainEnergy(&sse, stress, s0, zero, strain0, &ndi, &ntens, &no, &no);
  double increment = 0.0;
  for (int i = 0; i < 4; ++i) increment += 0.5 * (stress[i] + 1.0) * strain0[i];
  EXPECT_DOUBLE_EQ(sse, expected + increment);
  const int none = 0;
  GetSpecificStrainEnergy(&sse, stress, s0, zero, strain0, &ndi, &none, &yes, &no);
  EXPECT_EQ(sse, 0.0);
}

TEST_F(PlyStiffness, SecantParameterOfTheNonlinearLaws) {
  const double l = 5.0e3, stress0 = 30.0, strain0 = 0.006, dstrain = 0.004;
  const auto fit = [&](int flag, double eta) {
    return GetMatParamByCurveFitting(&l, &eta, &stress0, &strain0, &dstrain, &flag);
  };
  EXPECT_EQ(fit(0, 40.0), l);
  EXPECT_EQ(fit(7, 40.0), l);
  EXPECT_DOUBLE_EQ(fit(1, 40.0), l / (40.0 * 0.01 + 1.0));
  EXPECT_DOUBLE_EQ(fit(2, 40.0), l * std::exp(-40.0 * 0.01));
  // Hahn-Tsai at the strain strain0: the secant modulus times the strain is
  // the stress that the fixed-point iteration settles on, τ = γ·G·(1 - d(τ)).
  const double beta = 1e-7, g = fit(3, beta);
  const double tau = g * strain0;
  EXPECT_LT(g, l);
  EXPECT_NEAR(nlcollection::hahn_tsai_map(tau, strain0, l, beta), tau, 1e-9 * tau);
  EXPECT_EQ(status(), 0);
}

}  // namespace
}  // namespace tavrin
