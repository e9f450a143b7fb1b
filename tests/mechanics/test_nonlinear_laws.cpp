// Nonlinear property laws and in-situ strengths.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "mechanics/insitu_strengths.hpp"
#include "mechanics/nonlinear_laws.hpp"
#include "ply_support.hpp"

namespace tavrin {
namespace {

namespace nl = nlcollection;

class NonlinearLaws : public testing::LatchTest {};

TEST_F(NonlinearLaws, StrainDrivenDegradation) {
  for (auto* law : {&NLKrause, &NLKaestner}) {
    double at_zero, plus, minus;
    const double beta = 30.0, zero = 0.0, eps = 0.02, neg = -0.02;
    law(&at_zero, &beta, &zero);
    law(&plus, &beta, &eps);
    law(&minus, &beta, &neg);
    EXPECT_EQ(at_zero, 0.0);
    EXPECT_EQ(plus, minus);
    EXPECT_GT(plus, 0.0);
  }
  EXPECT_DOUBLE_EQ(nl::krause(30.0, 0.02), 1.0 - std::exp(-0.6));
  EXPECT_DOUBLE_EQ(nl::kaestner(30.0, 0.02), 1.0 - 1.0 / 1.6);
}

TEST_F(NonlinearLaws, HahnTsai) {
  const double g = 5000.0, beta = 1e-7;
  EXPECT_EQ(nl::hahn_tsai(g, beta, 50.0, 0.0), 0.0);
  const double b = 3 * beta * g * 40.0 * 40.0;
  EXPECT_DOUBLE_EQ(nl::hahn_tsai(g, beta, 40.0, 0.01), (b - 2 * beta * 64000.0 / 0.01) / (b + 1));
  // The selector: none or 0 is the law itself, 2 its fixed-point map.
  const double args[4] = {40.0, 0.01, g, beta};
  const int four = 4, zero = 0, map = 2, solve = 1;
  double d;
  FPHahnTsai(&d, args, &four, nullptr);
  EXPECT_EQ(d, nl::hahn_tsai(g, beta, 40.0, 0.01));
  FPHahnTsai(&d, args, &four, &zero);
  EXPECT_EQ(d, nl::hahn_tsai(g, beta, 40.0, 0.01));
  FPHahnTsai(&d, args, &four, &map);
  EXPECT_EQ(d, 0.01 * g * (1.0 - nl::hahn_tsai(g, beta, 40.0, 0.01)));
  const double unstrained[4] = {40.0, 0.0, g, beta};
  FPHahnTsai(&d, unstrained, &four, &map);
  EXPECT_EQ(d, 0.0);
  // Solved: d at the stress τ = γ·G·(1 - d(τ)).
  FPHahnTsai(&d, args, &four, &solve);
  const double tau = 0.01 * g * (1.0 - d);
  EXPECT_NEAR(nl::hahn_tsai_map(tau, 0.01, g, beta), tau, 1e-6 * tau);
  EXPECT_EQ(status(), 0);
  // The map is Newton's step on γ = τ/G + βτ³: from far away it shrinks τ
  // by about 2/3 a step and does not settle within 100 steps.
  const double wild[4] = {1e30, 0.01, g, beta};
  FPHahnTsai(&d, wild, &four, &solve);
  EXPECT_EQ(status(), -1);
  EXPECT_EQ(message(), "Warning in FixPointIteration:Max iterations exceeded.");
  // Fewer than four arguments are refused, nothing read beyond them.
  testing::LatchTest::reset();
  const int three = 3;
  FPHahnTsai(&d, args, &three, &solve);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(d, 0.0);
}

TEST_F(NonlinearLaws, ResidualStrengthAfterCycles) {
  const double l = 1200.0, x = 400.0, alpha = 1.5, beta = 2.0, nf = 1.0e6;
  double dnl;
  const double quarter = 0.25;
  NLAdam(&dnl, &l, &x, &quarter, &nf, &alpha, &beta, nullptr);
  EXPECT_EQ(dnl, 0.0);
  NLAdam(&dnl, &l, &x, &nf, &nf, &alpha, &beta, nullptr);
  EXPECT_DOUBLE_EQ(dnl, 1.0 - x / l);
  const double lg[2] = {1.0, 1.0}, n = 1.0e3;
  NLAdam(&dnl, &l, &x, &n, &nf, &alpha, &beta, lg);
  const double r = 0.5;  // log 10³ / log 10⁶
  EXPECT_DOUBLE_EQ(dnl, 1.0 - (x + (l - x) * std::pow(1.0 - r * r, 1.0 / alpha)) / l);
}

TEST_F(NonlinearLaws, ModuliOverTemperature) {
  // Glassy 3500, leathery 1800 above 380 K, rubbery 40 above 450 K.
  const double props[5] = {3500.0, 380.0, 1800.0, 450.0, 40.0}, m[2] = {20.0, 30.0}, xi[2] = {1.0, 1.0};
  const int two = 2, none = 0, negative = -1;
  const double cold = 100.0, hot = 700.0;
  EXPECT_NEAR(NLMahieux(&cold, props, m, &two), 3500.0, 1e-3);
  EXPECT_NEAR(NLMahieux(&hot, props, m, &two), 40.0, 1e-3);
  EXPECT_EQ(NLMahieux(&hot, props, m, &none), 3500.0);
  EXPECT_EQ(NLGibson(&hot, props, xi, &none), 0.0);
  const double t = 380.0;
  EXPECT_DOUBLE_EQ(NLGibson(&t, props, xi, &two),
                   (3500.0 + 1800.0) / 2 - (3500.0 - 1800.0) / 2 * std::tanh(1.0) +
                       (1800.0 + 40.0) / 2 - (1800.0 - 40.0) / 2 * std::tanh(380.0 / 450.0));
  EXPECT_EQ(status(), 0);
  // A negative count reads nothing.
  EXPECT_EQ(NLMahieux(&t, props, m, &negative), 0.0);
  EXPECT_EQ(message(), "Negative number of transitions");
}

TEST_F(NonlinearLaws, InSituStrengths) {
  const double elastic[4] = {140.0e3, 9.0e3, 0.3, 5.0e3}, gxc[2] = {0.25, 0.8};
  const double xt22 = 60.0, x12 = 90.0, thin = 0.0007, thick = 0.002;
  double ys[2];
  InSituLaRC04(ys, elastic, gxc, &xt22, &x12, &thick, nullptr);
  EXPECT_EQ(ys[0], 1.5839191966013624 * xt22);
  EXPECT_EQ(ys[1], 1.4142135623730951 * x12);
  // t exactly at the limit is thin.
  InSituLaRC04(ys, elastic, gxc, &xt22, &x12, &thin, &thin);
  const double pi = std::numbers::pi;
  EXPECT_DOUBLE_EQ(ys[0], std::sqrt(8 * 0.25 / (2 * pi * thin * (1 / 9.0e3 - 0.09 / 140.0e3))));
  EXPECT_DOUBLE_EQ(ys[1], std::sqrt(8 * 0.8 * 5.0e3 / (pi * thin)));
  // Chang-Lessard: built-in coefficients leave the shear strength alone.
  const double ilss = 70.0, ratio = 2.0, dtmin = 45.0;
  InSituChangLessard(ys, &xt22, &ilss, &ratio, &dtmin, nullptr);
  EXPECT_DOUBLE_EQ(ys[0], (1 + 1.3 * std::sin(pi / 4) / std::pow(2.0, 0.7)) * xt22);
  EXPECT_EQ(ys[1], ilss);
  const double zeros[4] = {};
  InSituChangLessard(ys, &xt22, &ilss, &ratio, &dtmin, zeros);
  EXPECT_EQ(ys[0], xt22);
  // Puck: the fibre strength along the fibres, the inter-fibre one across.
  const double xc11 = 1200.0, xc22 = 200.0, zero = 0.0, ninety = 90.0, thirty = 30.0;
  double xc;
  InSituPuckPS(&xc, &xc11, &xc22, &x12, &zero, nullptr);
  EXPECT_EQ(xc, xc11);
  InSituPuckPS(&xc, &xc11, &xc22, &x12, &ninety, nullptr);
  EXPECT_NEAR(xc, xc22, 1e-9 * xc22);
  const double gp[4] = {0.3, 0.2, 0.15, 0.15};
  double with_defaults;
  InSituPuckPS(&xc, &xc11, &xc22, &x12, &thirty, nullptr);
  InSituPuckPS(&with_defaults, &xc11, &xc22, &x12, &thirty, gp);
  EXPECT_EQ(xc, with_defaults);
  EXPECT_LT(xc, xc11);
}

}  // namespace
}  // namespace tavrin
