// Controlled derivatives (pchic and its parts: pchci, pchcs, pchsw, pchce)
// and the spline on the classical cubic x^3.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "fatal_paths.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

// The derivative-setter check data: exp(-x^2) on nine nodes.
const Vector xq{-2.2, -1.2, -1.0, -0.5, -0.01, 0.5, 1.0, 2.0, 2.2};
Vector fq() {
  Vector f;
  for (double x : xq) f.push_back(std::exp(-x * x));
  return f;
}

Curve controlled(const Vector& x, const Vector& f, int ibeg, int iend, double sw, Vector vc = {0, 0},
                 int nwk = 0) {
  const int n = int(x.size()), incfd = 1, ic[2] = {ibeg, iend};
  if (nwk == 0) nwk = 2 * (n - 1);
  Curve c{x, f, Vector(x.size(), -99.0), -99};
  Vector wk(std::size_t(std::max(nwk, 1)));
  dpchic(ic, vc.data(), &sw, &n, x.data(), f.data(), c.d.data(), &incfd, wk.data(), &nwk, &c.ierr);
  return c;
}

Curve spline3(const Vector& x, int ibeg, int iend, Vector vc) {
  Vector f;
  for (double v : x) f.push_back(v * v * v);
  const int n = int(x.size()), incfd = 1, ic[2] = {ibeg, iend}, nwk = 2 * n;
  Curve c{x, f, Vector(x.size(), -99.0), -99};
  Vector wk(static_cast<std::size_t>(nwk));
  dpchsp(ic, vc.data(), &n, x.data(), f.data(), c.d.data(), &incfd, wk.data(), &nwk, &c.ierr);
  return c;
}

class Controlled : public FatalPaths {};

// x^3: every end code reproduces the cubic's slopes; codes 3 and 4 give the
// end polynomial through 3 and 4 points (d(1) = -2 from 0, 1, 8).
TEST(SplineOnCubic, EveryEndCode) {
  const Vector x4{0, 1, 2, 3, 4}, x3{0, 1, 2, 3};
  const std::tuple<Vector, int, int, Vector, Vector> cases[] = {
      {x4, 0, 0, {0, 0}, {0, 3, 12, 27, 48}}, {x3, 1, 1, {0, 27}, {0, 3, 12, 27}},
      {x3, 2, 2, {0, 18}, {0, 3, 12, 27}},    {x4, 3, 4, {0, 0}, {-2, 3.5, 12, 27, 48}},
  };
  for (const auto& [x, ibeg, iend, vc, d] : cases) {
    const auto c = spline3(x, ibeg, iend, vc);
    EXPECT_EQ(c.ierr, 0);
    EXPECT_NEAR(c.d.front(), d.front(), 1e-13);
    EXPECT_NEAR(c.d.back(), d.back(), 1e-13);
    if (ibeg != 3)
      for (std::size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(c.d[i], d[i], 1e-13) << ibeg << iend << i;
  }
}

// Switch 0 and ends (0, 0) is the monotone setter with status 0; switch -1
// moves only the two nodes around the data's extremum.
TEST(ControlledDerivatives, SwitchControlOnTheCheckData) {
  const Vector f = fq();
  const auto im = monotone(xq, f);
  const auto off = controlled(xq, f, 0, 0, 0.0);
  EXPECT_EQ(im.ierr, 1);
  EXPECT_EQ(off.ierr, 0);
  EXPECT_EQ(off.d, im.d);
  const auto on = controlled(xq, f, 0, 0, -1.0);
  EXPECT_EQ(on.ierr, 0);
  for (std::size_t i = 0; i < xq.size(); ++i) {
    if (i == 4) EXPECT_NEAR(on.d[i] / 0.0176950158, 1, 1e-7);
    else if (i == 5) EXPECT_NEAR(on.d[i] / -0.569579814, 1, 1e-7);
    else EXPECT_EQ(on.d[i], off.d[i]) << i;
  }
  // A positive switch limits the excursion: never more change than switch -1.
  const auto limited = controlled(xq, f, 0, 0, 1e-3);
  EXPECT_EQ(limited.ierr, 0);
  EXPECT_LE(std::abs(limited.d[4]), std::abs(on.d[4]));
}

// End conditions through pchic: value and warning bits 1 (left adjusted),
// 2 (right adjusted); two points take the chord first.
TEST(ControlledDerivatives, EndConditions) {
  const Vector x{0, 1, 2, 3}, f{0, 1, 3, 4};  // slopes 1, 2, 1
  const std::tuple<int, int, Vector, int, double, double> cases[] = {
      {-1, 0, {-5, 0}, 1, 0, -99},   // against the slope: 0
      {-1, 0, {10, 0}, 1, 3, -99},   // beyond three slopes: 3 slopes
      {-1, -1, {0.5, 7}, 2, 0.5, 3}, // right end limited
      {-1, -1, {-1, -1}, 3, 0, 0},   // both
      {1, 1, {-1, -1}, 0, -1, -1},   // positive codes: no adjustment
      {2, 2, {0, 0}, 0, 0.5 * (3 - 4.0 / 3), 0.5 * (3 - 4.0 / 3)},  // d(2) = d(3) = 4/3
  };
  for (const auto& [ibeg, iend, vc, ierr, d1, dn] : cases) {
    const auto c = controlled(x, f, ibeg, iend, 0.0, vc);
    EXPECT_EQ(c.ierr, ierr) << ibeg << " " << vc[0];
    EXPECT_DOUBLE_EQ(c.d[0], d1) << ibeg << " " << vc[0];
    if (dn != -99) EXPECT_DOUBLE_EQ(c.d[3], dn);
  }
  EXPECT_EQ(controlled({0, 2}, {1, 5}, 0, 0, 1.0).d, (Vector{2, 2}));
}

// pchce on a cubic with exact interior derivatives: codes 1, 2, 4 and 5 are
// exact, code 3 is the quadratic through the end's three points.
TEST(ControlledDerivatives, EndCodesOnACubic) {
  const Vector x{0, 1, 2.5, 3, 4.5};
  Vector h, slope, d;
  for (std::size_t i = 0; i + 1 < x.size(); ++i) {
    h.push_back(x[i + 1] - x[i]);
    slope.push_back((std::pow(x[i + 1], 3) - std::pow(x[i], 3)) / h.back());
  }
  for (double v : x) d.push_back(3 * v * v);
  const double dn = d.back();
  const std::tuple<int, Vector, double, double> cases[] = {  // code, vc, d(1), d(n)
      {1, {0, dn}, 0, dn}, {2, {0, 27}, 0, dn}, {3, {0, 0}, -2.5, slope[3] + (slope[3] - slope[2]) / 2 * 1.5}, {4, {0, 0}, 0, dn}, {5, {0, 0}, 0, dn}};
  for (const auto& [code, vc, d1, dlast] : cases) {
    Vector dd = d;
    dd.front() = dd.back() = -99;
    const int n = 5, incfd = 1, ic[2] = {code, code};
    int ierr = -7;
    dpchce(ic, vc.data(), &n, x.data(), h.data(), slope.data(), dd.data(), &incfd, &ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_NEAR(dd.front(), d1, 1e-12) << code;
    EXPECT_NEAR(dd.back(), dlast, 1e-12) << code;
  }
}

// pchsw at the edge of the switch region: rho = 0.33333 exactly returns the
// derivatives unchanged, just below it the excursion is limited.
TEST_F(Controlled, SwitchRegionLimit) {
  const double third = 0.33333, below = std::nextafter(third, 0.0), dfmax = 1e-30, h = 1;
  for (const bool d1_zero : {true, false}) {
    for (const double slope : {third, below}) {
      double d1 = d1_zero ? 0 : 1, d2 = d1_zero ? 1 : 0;
      const int iextrm = 1;
      int ierr = -7;
      dpchsw(&dfmax, &iextrm, &d1, &d2, &h, &slope, &ierr);
      EXPECT_EQ(ierr, 0);
      const double moved = d1_zero ? d2 : d1;
      if (slope == third) EXPECT_EQ(moved, 1.0);
      else EXPECT_LT(moved, 1e-6);
    }
  }
  errors_return_silently();
  // (The radical is never negative in exact arithmetic: (lambda + 3 rho)^2 -
  // (lambda + 6 rho) + 1 >= 0 whenever lambda > 0.)
  const std::tuple<double, double, double, int> bad[] = {{0, 0, 1, -1}, {1, 2, 1, -1}, {-1, -3, 1, -1}};
  for (const auto& [d1in, d2in, slope, expected] : bad) {
    double d1 = d1in, d2 = d2in;
    const int iextrm = 2;
    int ierr = 0;
    dpchsw(&dfmax, &iextrm, &d1, &d2, &h, &slope, &ierr);
    EXPECT_EQ(ierr, expected);
  }
}

// Limited derivatives in each branch of the switch-region limit (both
// nonzero, d1 = 0, d2 = 0), worked from its formulas: h, slope, d1, d2,
// iextrm, dfmax, limited d1 and d2.
TEST(SwitchRegion, LimitedDerivatives) {
  const std::tuple<double, double, double, double, int, double, double, double> cases[] = {
      {1, 0.1, 1, -1, 1, 0.1, 0.3272857999180232, -0.3272857999180232},
      {2, 0.1, 1, -1, 2, 0.1, 0.24325768645744375, -0.24325768645744375},
      {1, -0.2, 0, 1, 1, 0.01, 0, 0.032299804687499989},
      {1.5, 0.05, 2, 0, 1, 0.01, 0.04303311258278146, 0},
      {1, 0.5, 1, -0.5, 1, 0.01, 0.018371173070873836, -0.0091855865354369178}};
  for (const auto& [h, slope, d1in, d2in, iextrm, dfmax, d1out, d2out] : cases) {
    double d1 = d1in, d2 = d2in;
    int ierr = -7;
    dpchsw(&dfmax, &iextrm, &d1, &d2, &h, &slope, &ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_NEAR(d1, d1out, 1e-15) << slope;
    EXPECT_NEAR(d2, d2out, 1e-15) << slope;
  }
}

// A positive switch on a peak at node 2 of (0, 1, 0.5): the extremum lies in
// the second interval; its limit is switch times the largest h |slope|
// around it (1, from the first interval): d(2) = 12 switch, d(3) = -5 d(2).
TEST(SwitchRegion, PositiveSwitchBound) {
  for (const double sw : {0.01, 0.02}) {
    const auto c = controlled({0, 1, 2}, {0, 1, 0.5}, 0, 0, sw);
    ASSERT_EQ(c.ierr, 0);
    EXPECT_EQ(c.d[0], 1.75);
    EXPECT_NEAR(c.d[1], 12 * sw, 1e-15);
    EXPECT_NEAR(c.d[2], -60 * sw, 1e-14);
  }
}

// Slopes 10, 2, -1, -0.5 on unit spacing switch at node 3; the three-point
// estimate there, 0.5, points up, so the extremum lies in x(3)..x(4), whose
// estimate at x(4) is -0.75.  Scaled by the largest slope 2 the slopes are
// del = (1, -0.5, -0.25): d(3) moves by min(4|del3 (del1 - del2)| 0.75/2, 1)
// = 0.5625 of its way to 0.5, d(4) by min(4|del1 (del3 - del2)| 0.5/2, 1) =
// 0.25 of its way to -0.75.
TEST(SwitchRegion, DerivativesMoveTowardTheThreePointEstimates) {
  const Vector h{1, 1, 1, 1}, slope{10, 2, -1, -0.5};
  Vector d(5, 0.0);
  const int n = 5, incfd = 1;
  const double off = 0.0;
  int ierr = -7;
  dpchcs(&off, &n, h.data(), slope.data(), d.data(), &incfd, &ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(d, (Vector{0, 0, 0.28125, -0.1875, 0}));
  // Through pchic with switch 1: from the monotone d(3) = 0, d(4) = -2/3 the
  // same fractions give 0.28125 and -2/3 - 0.25/12; the excursion stays
  // within the limit, so nothing more changes.
  const auto c = controlled({0, 1, 2, 3, 4}, {0, 10, 12, 11, 10.5}, 0, 0, 1.0);
  EXPECT_EQ(c.ierr, 0);
  EXPECT_EQ(c.d[2], 0.28125);
  EXPECT_DOUBLE_EQ(c.d[3], -0.6875);
}

TEST_F(Controlled, ArgumentChecks) {
  errors_return_silently();
  const Vector x{0, 1, 2, 3, 4}, f{0, 1, 0, 1, 0};
  const std::tuple<int, int, int, int> cases[] = {{6, 0, 0, -4}, {0, -6, 0, -5}, {-6, 6, 0, -6}, {0, 0, 7, -7}, {5, 5, 8, 0}};
  for (const auto& [ibeg, iend, nwk, expected] : cases)
    EXPECT_EQ(controlled(x, f, ibeg, iend, 1.0, {0, 0}, nwk).ierr, expected) << ibeg << iend;
  EXPECT_EQ(controlled({1}, {1}, 0, 0, 0.0).ierr, -1);
  EXPECT_EQ(controlled({0, 1, 1}, {1, 1, 1}, 0, 0, 0.0).ierr, -3);
  // End codes above n are 0: nothing changes.
  const Vector h3{1, 1}, s3{1, 2}, x3{0, 1, 2};
  Vector d3{5, 6, 7};
  const int n3 = 3, incfd = 1, ic[2] = {4, -4};
  const Vector vc{0, 0};
  int status = -7;
  dpchce(ic, vc.data(), &n3, x3.data(), h3.data(), s3.data(), d3.data(), &incfd, &status);
  EXPECT_EQ(std::tuple(d3, status), std::tuple(Vector{5, 6, 7}, 0));
  // The end polynomial needs three points: its failure is reported.
  const Vector s{1, 2};
  Vector sc = s;
  const int k = 2;
  int ierr = 0;
  EXPECT_EQ(dpchdf(&k, x.data(), sc.data(), &ierr), 0.0);
  EXPECT_EQ(ierr, -1);
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

using namespace testing_support;

// The spline on the check data: not-a-knot against the expected table, and
// clamped and mixed ends against SciPy's CubicSpline (bench/hermite_forms.py).
TEST(SplineOnCheckData, AgreesWithReferences) {
  const Vector f = fq();
  const Vector ds{-0.0516830792, 0.571455855, 0.740530225, 0.763864934, 0.0192614386,
                  -0.76532438,   -0.728209035, -0.0798445427, -0.0285983446};
  const int n = 9, incfd = 1, nwk = 18;
  Vector d(9), wk(18);
  int ierr = -7;
  const int nak[2] = {0, 0}, clamped[2] = {1, 1}, mixed[2] = {1, 2};
  const Vector none{0, 0}, vclamped{0.3, -1.2}, vmixed{-0.7, 0.25};
  dpchsp(nak, none.data(), &n, xq.data(), f.data(), d.data(), &incfd, wk.data(), &nwk, &ierr);
  EXPECT_EQ(ierr, 0);
  for (std::size_t i = 0; i < 9; ++i) EXPECT_NEAR(d[i] / ds[i], 1, 1e-7) << i;
  dpchsp(clamped, vclamped.data(), &n, xq.data(), f.data(), d.data(), &incfd, wk.data(), &nwk, &ierr);
  EXPECT_NEAR(d[1], 0.53690472373391873, 1e-15);
  EXPECT_NEAR(d[4], 0.013757509025336094, 1e-15);
  EXPECT_NEAR(d[7], 0.41579729148268646, 1e-15);
  dpchsp(mixed, vmixed.data(), &n, xq.data(), f.data(), d.data(), &incfd, wk.data(), &nwk, &ierr);
  EXPECT_EQ(d[0], -0.7);
  EXPECT_NEAR(d[4], 0.017559575413334649, 1e-15);
  EXPECT_NEAR(d[8], -0.02485719334019458, 1e-15);
}

// The B-spline form of the check data with slopes cos(x) + x/10 against
// SciPy's CubicHermiteSpline: values and second derivatives.
TEST(BSplineOnCheckData, AgreesWithCubicHermiteSpline) {
  const Vector f = fq();
  Vector d;
  for (double x : xq) d.push_back(std::cos(x) + 0.1 * x);
  const int n = 9, incfd = 1, knotyp = 2, k = 4;
  int nknots = 0, ndim = 0, kord = 0, ierr = -7, inbv = 1;
  Vector t(22), bcoef(18), work(12);
  dpchbs(&n, xq.data(), f.data(), d.data(), &incfd, &knotyp, &nknots, t.data(), bcoef.data(), &ndim, &kord, &ierr);
  ASSERT_EQ(ierr, 0);
  const std::tuple<double, int, double> cases[] = {
      {-1.7, 0, -0.0089399525996448626}, {0.2, 0, 0.94371628396911977}, {2.1, 0, 0.0169202034878689},
      {-1.7, 2, 1.0508588717320184},     {0.2, 2, -3.0398548403835584}, {2.1, 2, -0.76177140354101702}};
  for (const auto& [x, ideriv, expected] : cases)
    EXPECT_NEAR(dbvalu(t.data(), bcoef.data(), &ndim, &k, &ideriv, &x, &inbv, work.data()), expected,
                1e-14 * (ideriv == 2 ? 100 : 1))
        << x << " " << ideriv;
}

}  // namespace
}  // namespace tavrin
