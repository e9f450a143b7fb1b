// The failure criteria in C++: the angle search against GSSAFE's own
// protocol, the worked values of the polynomial, fibre and fracture-plane
// criteria, the optional arguments whose absence changes what a criterion
// does, and the repaired behaviours (kink plane of a hydrostatic transverse
// stress, a step that would never end a scan, Cuntze's degenerate states,
// short Bahei stress vectors, Puck's tension/compression flag).
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "failure/angle_search.hpp"
#include "failure/delcollection.hpp"
#include "failure/fbcollection.hpp"
#include "failure/gpcollection.hpp"
#include "failure/kink_band.hpp"
#include "failure/mccollection.hpp"
#include "foundation/numerics_support.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin {
namespace {

constexpr double pi = std::numbers::pi;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

class Criteria : public testing::LatchTest {};

// GSSAFE driven by hand through its reverse-communication protocol.
template <class F>
failure::SearchResult gssafe_search(double low, double up, double step, int gsflag, int n, F f) {
  std::vector<double> x(n), y(n);
  double xm[4] = {}, ym[4] = {}, lp[2] = {};
  int incr = 0, proc = 0, side = 0;
  bool golden = false, update = false, finish = false;
  IniGoldenSearch(x.data(), y.data(), xm, lp, &incr, &proc, &golden, &finish, &low, &up, &step, &gsflag, &n);
  double xi = low, yi = 0.0;
  while (!finish) {
    GSSAFE(&xi, &yi, &step, x.data(), y.data(), xm, ym, lp, &side, &incr, &proc, &golden, &update,
           &finish, &up, &n);
    if (update) yi = f(xi);
  }
  return {xi, yi};
}

// The kernel finds what GSSAFE finds, in both modes: the same sampled
// angles (repeated addition), the earliest of tied maxima, (0, 0) when no
// effort is positive.
TEST_F(Criteria, AngleSearchIsGssafesSearch) {
  const auto plateau = [](double t) { return std::min(1.0, 3.0 * std::sin(t)); };  // ties
  const auto peak = [](double t) { return std::cos(t - 1.234) + 0.5; };
  const auto negative = [](double t) { return -1.0 - t; };
  const double steps[] = {5.0 * math::deg2rad, math::deg2rad, 0.3};
  for (const double step : steps) {
    for (const int gsflag : {0, 1}) {
      const failure::AngleSearch s{0.0, pi, step, gsflag == 1};
      const auto check = [&](auto f) {
        const auto ours = failure::search_angle<200>(s, f);
        const auto theirs = gssafe_search(0.0, pi, step, gsflag, 200, f);
        EXPECT_EQ(ours.angle, theirs.angle) << step << " " << gsflag;
        EXPECT_EQ(ours.effort, theirs.effort) << step << " " << gsflag;
      };
      check(plateau);
      check(peak);
      check(negative);
    }
  }
  const auto none = failure::search_angle<200>({0.0, pi, 0.1, false}, negative);
  EXPECT_EQ(none.angle, 0.0);
  EXPECT_EQ(none.effort, 0.0);
  // A NaN anywhere makes the maximum undefined; the search still ends.
  for (const bool golden : {false, true}) {
    const auto r = failure::search_angle<100>({0.0, pi, 0.1, golden},
                                              [](double t) { return t > 1.0 && t < 1.2 ? nan : 1.0; });
    EXPECT_TRUE(std::isnan(r.effort));
  }
}

// Not positive or not finite: the default step with a note; too fine for a
// scan to end within seconds: widened to 10⁸ samples over the span, with a
// note; a golden search's tolerance as given.
TEST_F(Criteria, SearchStepFallsBackToTheDefault) {
  const double bad[] = {0.0, -5.0, nan, std::numeric_limits<double>::infinity()};
  for (const bool golden : {false, true})
    for (const double step : bad) {
      EXPECT_EQ(failure::search_step(&step, 5.0, 0.0, pi, golden), 5.0 * math::deg2rad);
      EXPECT_EQ(status(), -1);
      EXPECT_EQ(message(), "Note: Angle search step not positive and finite: default step used.");
      reset();
    }
  const double fine = 0.001, finer = 1e-5, finest = 1e-9;
  for (const bool golden : {false, true}) {
    EXPECT_EQ(failure::search_step(&fine, 5.0, 0.0, pi, golden), 0.001 * math::deg2rad);
    EXPECT_EQ(failure::search_step(&finer, 5.0, 0.0, pi, golden), 1e-5 * math::deg2rad);
    EXPECT_EQ(failure::search_step(nullptr, 2.0, 0.0, pi, golden), 2.0 * math::deg2rad);
    EXPECT_EQ(failure::search_step(&finest, 5.0, 0.0, pi, true), 1e-9 * math::deg2rad);
  }
  EXPECT_EQ(status(), 0);
  EXPECT_EQ(failure::search_step(&finest, 5.0, 0.0, pi, false), pi * 1e-8);  // 10⁸ samples at most
  EXPECT_EQ(status(), -1);
  EXPECT_EQ(message(), "Note: Angle search step below a hundred-millionth of the span: widened.");
  reset();
  EXPECT_DOUBLE_EQ(failure::search_step(nullptr, 2.0, 0.0, 1e12, false), 1e4);
  // From the routine: a step of 0 searches by 5°.
  const double zero = 0.0, s22 = -200.0, z = 0.0, xt = 50.0, xc = 200.0, x12 = 70.0, a0 = 53.0;
  double rmc = 0.0, theta = -1.0;
  MCrckLaRC05(&rmc, &s22, &z, &z, &z, &z, &xt, &xc, &x12, &a0, &theta, &zero, nullptr);
  EXPECT_EQ(rmc, 0.9946282369479685);
  EXPECT_EQ(status(), -1);
}

// The kink frame is GetRotatedStresses about axis 1 followed by the Nye
// stress transformation about axis 3.
TEST_F(Criteria, KinkFrameIsTheLaminaRotations) {
  const failure::Stress6 s{-700.0, 40.0, -25.0, 30.0, -12.0, 18.0};
  const double axis[3] = {1.0, 0.0, 0.0};
  const int nye = 0, six = 6, stress_form = 0;
  for (const double psi : {0.0, 0.4, 2.1}) {
    double sv[6];
    GetRotatedStresses(sv, &psi, axis, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &nye);
    const auto sp = failure::rotated_about_fibre(std::cos(psi), std::sin(psi), s);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(sp[k], sv[k], 1e-12) << psi << " " << k;
    const double phi = 0.05 + psi / 10;
    double t[36];
    GetNyeTransformationMatrix(t, &phi, &six, &nye, &stress_form);
    const auto m = failure::rotated_about_3(std::cos(phi), std::sin(phi), sp);
    for (int i = 0; i < 6; ++i) {
      double row = 0.0;
      for (int j = 0; j < 6; ++j) row += t[i + 6 * j] * sp[j];
      EXPECT_NEAR(m[i], row, 1e-12) << psi << " " << i;
    }
  }
}

// xt = (1500, 50, 50), xc = (1200, 200, 200), S = (70, 70, 40), ptype 0:
// 1.0 at every signed uniaxial strength and at the shear strength; the
// index scales with the load.
TEST_F(Criteria, PolynomialWorkedValues) {
  const gpcollection::Strengths x{1500, 1200, 50, 200, 50, 200, 70, 70, 40};
  const double uniaxial[7][6] = {{1500, 0, 0, 0, 0, 0}, {-1200, 0, 0, 0, 0, 0}, {0, 50, 0, 0, 0, 0},
                                 {0, -200, 0, 0, 0, 0}, {0, 0, 50, 0, 0, 0},    {0, 0, -200, 0, 0, 0},
                                 {0, 0, 0, 70, 0, 0}};
  for (const auto& s : uniaxial) EXPECT_NEAR(gpcollection::polynomial(s, x, -0.5, 0), 1.0, 1e-15);
  const double s[6] = {300, 20, -10, 30, 5, 8}, s25[6] = {750, 50, -25, 75, 12.5, 20};
  // (L + √D)/2 for L > 0: one ulp from 2Q/(√D - L) = 0.6235109680111476.
  EXPECT_NEAR(gpcollection::polynomial(s, x, -0.5, 0), 0.6235109680111476, 1.2e-16);
  EXPECT_EQ(gpcollection::polynomial(s25, x, -0.5, 0), 1.5587774200278695);
  const double zero[6] = {};
  EXPECT_EQ(gpcollection::polynomial(zero, x, -0.5, 0), 0.0);
  // Purely linear (Q = 0, L > 0): the index is L.
  EXPECT_EQ(gpcollection::inverse_load_factor(0.25, 0.0), 0.25);
  EXPECT_EQ(status(), 0);
}

// Absent xint: no products; ptype absent is ptype 0; ptype 3 has no
// products whatever xint; GPPolyCamanho's products only for |xint| ≤ 1.
TEST_F(Criteria, PolynomialOptionalArguments) {
  const gpcollection::Strengths x{1500, 1200, 50, 200, 50, 200, 70, 70, 40};
  const double s[6] = {300, 20, -10, 30, 5, 8};
  const double without = gpcollection::polynomial(s, x, std::nullopt, std::nullopt);
  EXPECT_EQ(without, gpcollection::polynomial(s, x, 0.0, 0));
  EXPECT_NE(without, gpcollection::polynomial(s, x, -0.5, std::nullopt));
  EXPECT_EQ(gpcollection::polynomial(s, x, -0.5, std::nullopt), gpcollection::polynomial(s, x, -0.5, 0));
  EXPECT_EQ(gpcollection::polynomial(s, x, 0.7, 3), gpcollection::polynomial(s, x, std::nullopt, 3));
  const auto camanho = [&](std::optional<double> xint, std::optional<int> ptype) {
    return gpcollection::poly_camanho(s, 1500, 1200, 50, 200, 70, 70, 40, xint, ptype);
  };
  EXPECT_EQ(camanho(1.5, 0), camanho(std::nullopt, std::nullopt));
  EXPECT_NE(camanho(-0.5, 0), camanho(std::nullopt, 0));
  // The exported routines take null pointers for the absent arguments.
  double r = 0.0;
  const double xint = -0.5;
  GPPolynomial(&r, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &x.xt11, &x.xc11, &x.xt22, &x.xc22,
               &x.xt33, &x.xc33, &x.x12, &x.x13, &x.x23, nullptr, nullptr);
  EXPECT_EQ(r, without);
  GPPolynomial(&r, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &x.xt11, &x.xc11, &x.xt22, &x.xc22,
               &x.xt33, &x.xc33, &x.x12, &x.x13, &x.x23, &xint, nullptr);
  EXPECT_NEAR(r, 0.6235109680111476, 1.2e-16);
}

// A negative discriminant: note, message cut to 80 characters, index 0.
TEST_F(Criteria, PolynomialNegativeDiscriminant) {
  EXPECT_EQ(gpcollection::inverse_load_factor(0.1, -1.0), 0.0);
  EXPECT_EQ(take(), latch(-1, "Note: Negative root during polynomial failure evaluation. Please check your inpu"));
}

// Fibre compression (xc11 1200, x12 70, xc22 200, g12 5000): LaRC04 at
// -xc11 and -xc11/2; the kink-band criteria reach 1.0 at -xc11, which the
// misalignment angle is calibrated for.
TEST_F(Criteria, FibreKinkingWorkedValues) {
  const auto larc04 = [](double s11) {
    return fbcollection::larc04({s11, 0, 0, 0, 0, 0}, 1500, 1200, 50, 200, 70, 140e3, 10e3, 5000, 0.3,
                                std::nullopt, std::nullopt, 0);
  };
  EXPECT_EQ(larc04(-1200.0), 1.0000000000000004);
  EXPECT_EQ(larc04(-600.0), 0.19045526993957163);
  const failure::Stress6 s{-1200, 0, 0, 0, 0, 0};
  for (const int gsflag : {0, 1}) {
    EXPECT_NEAR(fbcollection::larc05(s, 1500, 1200, 50, 200, 70, 5000, {.gsflag = gsflag}), 1.0, 1e-14);
    EXPECT_NEAR(fbcollection::larc05_is(s, 1500, 1200, 50, 40, 70, 5000, {.gsflag = gsflag}, {}), 1.0, 1e-14);
  }
  // Fibre compression switched off; tension is s11/xt11 whatever else.
  EXPECT_EQ(fbcollection::larc05(s, 1500, 1200, 50, 200, 70, 5000, {.fcl = 1}), 0.0);
  EXPECT_EQ(fbcollection::larc05({750, -90, 40, 60, 7, 9}, 1500, 1200, 50, 200, 70, 5000), 0.5);
  // In-situ strengths: entry 1 replaces xt11; below half of XCk nothing.
  std::array<double, 9> x_is{};
  x_is[0] = 1000.0;
  x_is[3] = 2000.0;
  EXPECT_EQ(fbcollection::larc05_is({750, 0, 0, 0, 0, 0}, 1500, 1200, 50, 40, 70, 5000, {}, x_is), 0.75);
  EXPECT_EQ(fbcollection::larc05_is({-999, 0, 0, 60, 0, 0}, 1500, 1200, 50, 40, 70, 5000, {}, x_is), 0.0);
  EXPECT_GT(fbcollection::larc05_is({-1001, 0, 0, 60, 0, 0}, 1500, 1200, 50, 40, 70, 5000, {}, x_is), 0.0);
}

// With standard strengths and ST = x23 the in-situ criterion is LaRC05's
// own beyond half the compressive strength.
TEST_F(Criteria, InSituKinkingWithStandardStrengthsIsLarc05) {
  const double a0 = 53.0 * math::deg2rad;
  const double st = 200.0 * std::cos(a0) * (std::sin(a0) + std::cos(a0) / std::tan(2.0 * a0));
  for (const failure::Stress6 s : {failure::Stress6{-900, -40, 10, 35, -8, 12}, {-700, 20, -60, -15, 5, 30}}) {
    const double r = fbcollection::larc05(s, 1500, 1200, 50, 200, 70, 5000);
    EXPECT_NEAR(fbcollection::larc05_is(s, 1500, 1200, 50, st, 70, 5000, {}, {}), r, 1e-12 * r);
  }
}

// s22 = s33, s23 = 0: the kink plane is ψ = 0 (its closed form is 0/0),
// and a state with no kink-plane shear takes the sign +1.
TEST_F(Criteria, KinkPlaneOfHydrostaticTransverseStress) {
  const auto larc04 = [](const failure::Stress6& s) {
    return fbcollection::larc04(s, 1500, 1200, 50, 200, 70, 140e3, 10e3, 5000, 0.3, std::nullopt, 53.0, 0);
  };
  const double r = larc04({-900, -30, -30, 0, 0, 0});
  EXPECT_TRUE(std::isfinite(r));
  EXPECT_GT(r, 0.0);
  EXPECT_NEAR(r, larc04({-900, -30, -30 + 1e-9, 0, 0, 0}), 1e-9);
  EXPECT_EQ(failure::kink_sign(0.0), 1.0);
  EXPECT_EQ(failure::kink_sign(-0.0), 1.0);
  EXPECT_EQ(failure::kink_sign(-2.0), -1.0);
  EXPECT_TRUE(std::isnan(failure::kink_sign(nan)));
}

// LaRC05 matrix (xt22 50, xc22 200, x12 70, a0 53°): 1.0 at 37° under
// s22 = -xc22 with 1° steps, its 5° sample below; transverse tension and
// in-plane shear fail on the plane at 90°.
TEST_F(Criteria, FracturePlaneWorkedValues) {
  const auto larc05 = [](mccollection::Transverse s, double step, double* theta) {
    return mccollection::larc05(s, 50, 200, 70, 53.0, theta, {step, 0});
  };
  double theta = -1.0;
  EXPECT_NEAR(larc05({-200, 0, 0, 0, 0}, 1.0, &theta), 1.0, 1e-15);
  EXPECT_NEAR(theta, 37.0 * math::deg2rad, 1e-12);
  theta = -1.0;
  EXPECT_EQ(larc05({-200, 0, 0, 0, 0}, 5.0, &theta), 0.9946282369479685);
  EXPECT_EQ(theta, -1.0);  // below 1.0: not reported
  for (const mccollection::Transverse s : {mccollection::Transverse{50, 0, 0, 0, 0}, {0, 0, 70, 0, 0}}) {
    theta = -1.0;
    EXPECT_NEAR(larc05(s, 5.0, &theta), 1.0, 1e-15);
    EXPECT_NEAR(theta, pi / 2, 1e-12);
  }
  // Without a0 the 53° constants as given.
  EXPECT_NEAR(mccollection::larc05({-200, 0, 0, 0, 0}, 50, 200, 70, std::nullopt, nullptr, {1.0, 0}),
              1.0, 1e-15);
}

// MCrckSPC3D: without sainc the step is 2°, without xcs the tensile shear
// strengths, without salims 2° to 178°.
TEST_F(Criteria, Spc3dAbsentArguments) {
  const mccollection::Transverse s{-60, 15, 25, 10, 12};
  const auto spc = [&](std::optional<std::array<double, 3>> xcs, std::optional<double> sainc,
                       std::optional<std::array<double, 2>> salims) {
    double theta = -1.0;
    const double r = mccollection::spc3d(s, 50, 200, 45, 190, 70, 65, 40, xcs, &theta, {0.3, -0.3}, sainc, salims);
    return std::pair{r, theta};
  };
  const auto absent = spc(std::nullopt, std::nullopt, std::nullopt);
  EXPECT_EQ(absent, spc(std::array<double, 3>{70, 65, 40}, 2.0, std::array<double, 2>{2.0, 178.0}));
  EXPECT_NE(absent.first, spc(std::nullopt, 5.0, std::nullopt).first);
  EXPECT_NE(absent.first, spc(std::array<double, 3>{90, 80, 50}, std::nullopt, std::nullopt).first);
  EXPECT_EQ(status(), 0);
  // In-plane shear leaves every plane unloaded in σn: the tensile branch,
  // 1.0 (at 90°) under s12 = xt12, the compressive shear strengths unread.
  EXPECT_NEAR(mccollection::spc3d({0, 0, 70, 0, 0}, 50, 200, 45, 190, 70, 65, 40,
                                  std::array<double, 3>{100, 100, 100}, nullptr, {0.3, -0.3}, std::nullopt,
                                  std::nullopt),
              1.0, 1e-12);
}

// Puck's flag is the sign of σn on the plane reported, not on the last
// plane sampled (near π); it is written only at failure.
TEST_F(Criteria, PuckTensionCompressionFlag) {
  const std::array<double, 4> gp{0.3, 0.2, 0.15, 0.15};
  const auto flag = [&](mccollection::Transverse s) {
    int tcflag = 0;
    mccollection::puck(s, 50, 200, 70, nullptr, gp, {1.0, 0}, &tcflag);
    return tcflag;
  };
  EXPECT_EQ(flag({-240, 0, 0, 0, 0}), -1);
  EXPECT_EQ(flag({0, 60, 0, 0, 0}), 1);
  EXPECT_EQ(flag({60, -10, 0, 0, 0}), 1);  // fails at 90°; σn at 180° is negative
  EXPECT_EQ(flag({10, 0, 0, 0, 0}), 0);     // no failure: unchanged
  EXPECT_GE(mccollection::puck({-200, 0, 0, 0, 0}, 50, 200, 70, nullptr, gp, {1.0, 0}), 0.99995);
}

// Without a0 the constants of 53°; without gp Puck's defaults.
TEST_F(Criteria, AbsentParametersAreTheDefaults) {
  const mccollection::Transverse s{-150, 30, 40, -10, 25};
  EXPECT_NEAR(mccollection::camanho(s, 50, 200, 70, 40, nullptr, 53.0),
              mccollection::camanho(s, 50, 200, 70, 40, nullptr, std::nullopt), 1e-14);
  EXPECT_NEAR(mccollection::wiegand(s, 50, 200, 70, nullptr, 53.0),
              mccollection::wiegand(s, 50, 200, 70, nullptr, std::nullopt), 1e-14);
  const double t[5] = {-150, 30, 40, -10, 25}, xt = 50, xc = 200, x12 = 70;
  const double gp[4] = {0.3, 0.2, 0.15, 0.15};
  double with = 0.0, without = 0.0;
  MCrckPuck(&with, &t[0], &t[1], &t[2], &t[3], &t[4], &xt, &xc, &x12, nullptr, gp, nullptr, nullptr, nullptr);
  MCrckPuck(&without, &t[0], &t[1], &t[2], &t[3], &t[4], &xt, &xc, &x12, nullptr, nullptr, nullptr, nullptr,
            nullptr);
  EXPECT_EQ(with, without);
}

// VDI 2014 weakens only where the fibre effort exceeds 1e-6: at exactly
// 1e-6 the inter-fibre effort stands.
TEST_F(Criteria, VdiWeakeningThreshold) {
  const std::array<double, 4> gp{0.3, 0.3, 0.25, 0.25};
  const mccollection::Transverse s{5e-5, 0, 0, 0, 0};
  const double f = mccollection::vdi2014(0.0, s, 1e6, 1e6, 50, 200, 70, nullptr, gp, {0.5, 0.5});
  EXPECT_EQ(mccollection::vdi2014(1.0, s, 1e6, 1e6, 50, 200, 70, nullptr, gp, {0.5, 0.5}), f);
  EXPECT_NE(mccollection::vdi2014(2.0, s, 1e6, 1e6, 50, 200, 70, nullptr, gp, {0.5, 0.5}), f);
}

// Cuntze 2004: pure in-plane shear and hydrostatic transverse compression
// are finite; zero stress gives 0; Cuntze 2012's plain sum no longer zeroes
// s22 = -s33.
TEST_F(Criteria, CuntzeDegenerateStates) {
  const double xt = 50, xc = 200, x12 = 70, x13 = 70;
  const auto c2004 = [&](double s22, double s33, double s12) {
    const double z = 0.0;
    double r = -1.0;
    MCrckCuntze2004(&r, &s22, &s33, &s12, &z, &z, &xt, &xc, &x12, &x13, nullptr, nullptr);
    return r;
  };
  const auto c2012 = [&](double s22, double s33) {
    const double z = 0.0;
    double r = -1.0;
    MCrckCuntze2012(&r, &s22, &s33, &z, &z, &z, &xt, &xc, &x12, nullptr, nullptr);
    return r;
  };
  // Pure shear at x12: E1 = 0, E2 = 1/(root - h/2) with h = 0, E3 = cbrt(1).
  const double k = 0.4 * x12 * x12;
  const double e2 = 1.0 / std::sqrt(xc * xc / k);
  EXPECT_NEAR(c2004(0, 0, x12), std::pow(std::pow(e2, 2.5) + 1.0, 0.4), 1e-14);
  // Hydrostatic compression: E1 at the floor, E2 = (b⊥ - 1)·I1/xc22 is
  // negative and floored too, E3 = 0.
  EXPECT_NEAR(c2004(-100, -100, 0), std::pow(2.0 * std::pow(0.01, 2.5), 0.4), 1e-15);
  // Uniaxial transverse tension at xt22: E1 = 1.
  EXPECT_GT(c2004(50, 0, 0), 1.0);
  EXPECT_EQ(c2004(0, 0, 0), 0.0);
  EXPECT_EQ(c2012(100, -100), std::pow(std::pow(2.0, 2.4) + std::pow((1.16 * 200) / 200, 2.4), 1 / 2.4));
  EXPECT_EQ(c2012(-200, 0), 1.0);
  {
    // Compression with in-plane shear: E1 = 0, E2 from R and I1, E3 from
    // the shear and I23 = 2·s22·s12².
    const double s22 = -50.0, s12 = 40.0, z = 0.0;
    double r = 0.0;
    MCrckCuntze2012(&r, &s22, &z, &s12, &z, &z, &xt, &xc, &x12, nullptr, nullptr);
    const double e2 = (1.16 * 50.0 - 0.16 * 50.0) / 200.0, i23 = 2.0 * s22 * s12 * s12;
    const double w = std::sqrt(4.0 * x12 * x12 * std::pow(s12, 4) + std::pow(0.16 * i23, 2)) + 0.16 * i23;
    const double e3 = std::sqrt(w / (2.0 * std::pow(x12, 3)));
    EXPECT_NEAR(r, std::pow(std::pow(e2, 2.4) + std::pow(e3, 2.4), 1 / 2.4), 1e-14);
  }
  {
    // A negative b⊥τ makes q negative: the Cuntze note, E2 on the floor.
    const double s22 = -50.0, s12 = 70.0, z = 0.0, gp[3] = {0.13, 1.5, -10.0};
    double r = 0.0;
    MCrckCuntze2004(&r, &s22, &z, &s12, &z, &z, &xt, &xc, &x12, &x13, gp, nullptr);
    const double e3 = std::cbrt((std::pow(s12, 3) + 2.0 * 0.13 * s22 * s12 * s12) / std::pow(x12, 3));
    EXPECT_NEAR(r, std::pow(std::pow(0.01, 2.5) + std::pow(e3, 2.5), 0.4), 1e-14);
    EXPECT_EQ(take(), latch(-3, "Note: Negative root during Cuntze failure evaluation. Please check your input pa"));
  }
  EXPECT_EQ(c2012(0, 0), 0.0);
}

// nstress other than 3, 4 or at least 6 is refused (status -3, effort 0);
// failmode names the largest mode only when asked for and at failure.
TEST_F(Criteria, BaheiStressVectors) {
  const double v[6] = {100, 20, -5, 30, 4, 6}, one = 1.0, big = 1e4, mu = 0.2;
  double r = -1.0;
  int failmode = -1;
  for (const int n : {1, 2, 5, 0, -3}) {
    FBBahei(&r, v, &big, &big, &big, &big, &mu, &n, &failmode);
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(take(), latch(-3, "Stress vector of FBBahei needs 3, 4 or 6 components")) << n;
    MCrckBahei(&r, v, &big, &big, &n, nullptr, &failmode);
    EXPECT_EQ(take(), latch(-3, "Stress vector of MCrckBahei needs 3, 4 or 6 components")) << n;
  }
  const int three = 3, six = 6;
  const double xl = 50.0;
  FBBahei(&r, v, &xl, &big, &big, &big, &mu, &three, &failmode);  // s11 = 100 > xlnorm: mode 1
  EXPECT_EQ(r, 2.0);
  EXPECT_EQ(failmode, 1);
  const double xs = 300.0;
  failmode = -1;
  FBBahei(&r, v, &big, &big, &xs, &big, &mu, &three, &failmode);  // longitudinal shear |s12|/300
  EXPECT_EQ(r, 5.0 / 300.0);
  EXPECT_EQ(failmode, -1);  // below failure
  failmode = 0;
  FBBahei(&r, v, &big, &big, &one, &big, &mu, &six, &failmode);
  EXPECT_EQ(failmode, 0);  // came in non-negative
  const double interphase[2] = {-1.0, 5.0};
  double with_minus_one = 0.0;
  MCrckBahei(&r, v, &big, &big, &six, nullptr, nullptr);
  MCrckBahei(&with_minus_one, v, &big, &big, &six, interphase, nullptr);
  EXPECT_EQ(r, with_minus_one);
}

// GPHa writes life only at failure: a C++ caller's value stays below it.
// Chai's weights: the interlaminar shear term carries 1.875; no weights, no
// effort.
TEST_F(Criteria, ChaiWeights) {
  const double s22 = 0.0, s13 = 90.0, s23 = 0.0, xt = 50.0, xc = 200.0, x23 = 40.0, ilss = 90.0;
  const double one = 1.0, zero = 0.0;
  double r = -1.0;
  DelChai(&r, &s22, &s13, &s23, &xt, &xc, &x23, &ilss, &one, &one, &one);
  EXPECT_EQ(r, std::sqrt(1.875));
  DelChai(&r, &s22, &s13, &s23, &xt, &xc, &x23, &ilss, &zero, &zero, &zero);
  EXPECT_EQ(r, 0.0);
}

TEST_F(Criteria, HaLifeOnlyAtFailure) {
  const double xt = 60, xc = 120, np = 2.0;
  double d, di1, dm, i1cr, mcr, life = 7.0;
  const double low[6] = {30, 0, 0, 0, 0, 0}, high[6] = {61, 0, 0, 0, 0, 0};
  GPHa(low, &xt, &xc, &np, &d, &di1, &dm, &i1cr, &mcr, &life);
  EXPECT_EQ(life, 7.0);
  EXPECT_LT(d, 1.0);
  GPHa(high, &xt, &xc, &np, &d, &di1, &dm, &i1cr, &mcr, &life);
  EXPECT_EQ(life, 1.0);
  EXPECT_EQ(d, 1.0);
  GPHa(high, &xt, &xc, &np, &d, &di1, &dm, &i1cr, &mcr, nullptr);  // no life to write
  EXPECT_EQ(d, 1.0);
}

}  // namespace
}  // namespace tavrin
