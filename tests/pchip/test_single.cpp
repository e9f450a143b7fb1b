// The binary32 twins: the same statuses as the double routines on data exact
// in binary32, their own names in messages, binary32 arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "fatal_paths.hpp"
#include "pchip/spchip.hpp"

namespace tavrin {
namespace {

using namespace testing_support;
using Floats = std::vector<float>;

Floats to_float(const Vector& v) { return Floats(v.begin(), v.end()); }

class SinglePrecision : public FatalPaths {};

// Each routine on the same binary32-exact data in both precisions: statuses
// (and codes) agree, results agree to binary32 rounding.
TEST_F(SinglePrecision, StatusesMatchTheDoubleTwins) {
  errors_return_silently();
  const Vector datasets[][2] = {
      {{0, 1, 2, 3, 4, 5}, {0, 1, 0, 1, 1, 3}},
      {{-2, -1.5, 0, 0.25, 4}, {1, 1, 1, 1, 1}},
      {{0, 1, 1, 2}, {0, 1, 2, 3}},  // out of order: -3 everywhere
      {{0}, {1}},                    // one point: -1
  };
  for (const auto& [x, f] : datasets) {
    SCOPED_TRACE(::testing::PrintToString(x));
    const int n = int(x.size()), incfd = 1;
    const Floats xs = to_float(x), fs = to_float(f);
    Vector d(x.size() + 1, 0), wk(4 * x.size() + 4), fe(9), de(9);
    Floats ds(d.size(), 0), wks(wk.size()), fes(9), des(9);
    int ed = 0, es = 0;
    dpchim(&n, x.data(), f.data(), d.data(), &incfd, &ed);
    pchim(&n, xs.data(), fs.data(), ds.data(), &incfd, &es);
    EXPECT_EQ(es, ed) << "pchim";
    for (std::size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(ds[i], d[i], 1e-6 * (1 + std::abs(d[i])));

    const int ic[2] = {-1, 5}, nwk = int(wk.size());
    const Vector vc{3, 0};
    const Floats vcs{3, 0};
    const double sw = 1;
    const float sws = 1;
    dpchic(ic, vc.data(), &sw, &n, x.data(), f.data(), d.data(), &incfd, wk.data(), &nwk, &ed);
    pchic(ic, vcs.data(), &sws, &n, xs.data(), fs.data(), ds.data(), &incfd, wks.data(), &nwk, &es);
    EXPECT_EQ(es, ed) << "pchic";
    const int ics[2] = {2, 3};
    dpchsp(ics, vc.data(), &n, x.data(), f.data(), d.data(), &incfd, wk.data(), &nwk, &ed);
    pchsp(ics, vcs.data(), &n, xs.data(), fs.data(), ds.data(), &incfd, wks.data(), &nwk, &es);
    EXPECT_EQ(es, ed) << "pchsp";

    std::vector<int> md(x.size() + 1, -9), ms(x.size() + 1, -9);
    int skip = 0;
    dpchcm(&n, x.data(), f.data(), d.data(), &incfd, &skip, md.data(), &ed);
    skip = 0;
    pchcm(&n, xs.data(), fs.data(), ds.data(), &incfd, &skip, ms.data(), &es);
    EXPECT_EQ(es, ed) << "pchcm";
    EXPECT_EQ(ms, md);

    const Vector xe{-3, -1, 0.5, 2, 9};
    const Floats xes = to_float(xe);
    const int ne = 5;
    skip = 0;
    dpchfd(&n, x.data(), f.data(), d.data(), &incfd, &skip, &ne, xe.data(), fe.data(), de.data(), &ed);
    skip = 0;
    pchfd(&n, xs.data(), fs.data(), ds.data(), &incfd, &skip, &ne, xes.data(), fes.data(), des.data(), &es);
    EXPECT_EQ(es, ed) << "pchfd";
    const double a = -1, b = 7;
    const float as = -1, bs = 7;
    skip = 0;
    dpchia(&n, x.data(), f.data(), d.data(), &incfd, &skip, &a, &b, &ed);
    skip = 0;
    pchia(&n, xs.data(), fs.data(), ds.data(), &incfd, &skip, &as, &bs, &es);
    EXPECT_EQ(es, ed) << "pchia";

    const int knotyp = 1;
    int nknots = 0, ndim = 0, kord = 0;
    Vector t(2 * x.size() + 4), bc(2 * x.size());
    Floats ts(t.size()), bcs(bc.size());
    dpchbs(&n, x.data(), f.data(), d.data(), &incfd, &knotyp, &nknots, t.data(), bc.data(), &ndim, &kord, &ed);
    pchbs(&n, xs.data(), fs.data(), ds.data(), &incfd, &knotyp, &nknots, ts.data(), bcs.data(), &ndim, &kord, &es);
    EXPECT_EQ(es, ed) << "pchbs";
    if (ed == 0 && n > 1) {
      const int k = 4, ideriv = 1;
      int inbv = 1, inbvs = 1;
      Vector work(12);
      Floats works(12);
      const double xm = 0.5 * (x[0] + x[1]);
      const float xms = float(xm);
      EXPECT_NEAR(bvalu(ts.data(), bcs.data(), &ndim, &k, &ideriv, &xms, &inbvs, works.data()),
                  dbvalu(t.data(), bc.data(), &ndim, &k, &ideriv, &xm, &inbv, work.data()), 1e-5);
    }
  }
}

// Tolerances scale with binary32's epsilon: a cubic 2.4e-7 inside the
// ellipse's edge is borderline in binary32 only.
TEST(SinglePrecisionArithmetic, EpsilonAndConstants) {
  const double a = 3, b = 3 - 2.4e-7, delta = 1;
  const float as = 3, bs = float(b), deltas = 1;
  EXPECT_EQ(dchfcm(&a, &b, &delta), 1);
  EXPECT_EQ(chfcm(&as, &bs, &deltas), 3);
  // The switch-region constant is 0.33333 rounded to binary32.
  const float third = 0.33333f, dfmax = 1e-30f, h = 1;
  float d1 = 0, d2 = 1;
  const int iextrm = 1;
  int ierr = -7;
  pchsw(&dfmax, &iextrm, &d1, &d2, &h, &third, &ierr);
  EXPECT_EQ(std::tuple(ierr, d2), std::tuple(0, 1.0f));
  const float below = std::nextafter(third, 0.0f);
  pchsw(&dfmax, &iextrm, &d1, &d2, &h, &below, &ierr);
  EXPECT_LT(d2, 1.0f);
  // The B-spline of x^3 on (0, 1, 2) in binary32.
  const Floats x{0, 1, 2}, f{0, 1, 8}, d{0, 3, 12};
  const int n = 3, incfd = 1, knotyp = 0;
  int nknots = 0, ndim = 0, kord = 0;
  Floats t(10), bc(6), work(12);
  pchbs(&n, x.data(), f.data(), d.data(), &incfd, &knotyp, &nknots, t.data(), bc.data(), &ndim, &kord, &ierr);
  const int k = 4, ideriv = 0;
  int inbv = 1, ilo = 1, ileft = 0, mflag = 0;
  const float xe = 0.5f;
  EXPECT_EQ(bvalu(t.data(), bc.data(), &ndim, &k, &ideriv, &xe, &inbv, work.data()), 0.125f);
  intrv(t.data(), &nknots, &xe, &ilo, &ileft, &mflag);
  EXPECT_EQ(std::pair(ileft, mflag), std::pair(4, 0));
}

// Messages name the binary32 routines; pchbs passes 8-character names.
TEST_F(SinglePrecision, MessagesNameTheSingleRoutines) {
  const float x = 1, f = 1;
  float d = 0;
  const int n = 1, incfd = 1;
  int ierr = 0;
  const int setting = 1;  // print and continue
  xsetf(&setting);
  auto o = run_captured([&] { pchim(&n, &x, &f, &d, &incfd, &ierr); });
  EXPECT_EQ(ierr, -1);
  ASSERT_GE(o.lines().size(), 4u);
  EXPECT_EQ(o.lines()[0], " ***MESSAGE FROM ROUTINE PCHIM IN LIBRARY SLATEC.");
  EXPECT_EQ(o.lines()[2], " *  NUMBER OF DATA POINTS LESS THAN TWO");
  EXPECT_EQ(o.lines()[3], " *  ERROR NUMBER = -1");

  const Floats xs{0, 1}, fs{0, 1}, ds{1, 1};
  const int two = 2, knotyp = 3;
  int nknots = 0, ndim = 0, kord = 0;
  Floats t(8), bc(4);
  o = run_captured([&] {
    pchbs(&two, xs.data(), fs.data(), ds.data(), &incfd, &knotyp, &nknots, t.data(), bc.data(), &ndim, &kord, &ierr);
  });
  EXPECT_EQ(ierr, -1);
  EXPECT_EQ(o.lines()[0], " ***MESSAGE FROM ROUTINE PCHBS    IN LIBRARY SLATEC  .");
  EXPECT_EQ(o.lines()[2], " *  KNOTYP GREATER THAN 2");

  // Under the initial setting the report ends the process with status 1.
  pchip::reset_error_facility();
  o = run_captured([&] { pchim(&n, &x, &f, &d, &incfd, &ierr); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[0], " ***MESSAGE FROM ROUTINE PCHIM IN LIBRARY SLATEC.");
}

}  // namespace
}  // namespace tavrin
