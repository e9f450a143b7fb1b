// The root finders on C++ call-backs: convergence, the ends of the bracket,
// the iteration limits, refused input, re-entrant and throwing call-backs.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "foundation/rootfinding.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using math::bdsafe;
using math::fpsafe;
using math::nrsafe;
using RootFinders = testing::LatchTest;

int evaluations = 0;  // of the call-backs below, reset by each test that counts

// f = x² - c, d = 2x with c = args(1).
void parabola(double* f, double* d, const double* x, const double* args, const int*, const int*) {
  ++evaluations;
  *f = *x * *x - args[0];
  *d = 2.0 * *x;
}
// Writes nothing, as a careless call-back might.
void silent(double*, double*, const double*, const double*, const int*, const int*) {}
void throwing(double*, double*, const double*, const double*, const int*, const int*) {
  throw std::runtime_error("call-back failed");
}
// xnew = cos(fargs(1)).
void cosine(double* xnew, const double* fargs, const int*, const int*) {
  ++evaluations;
  *xnew = std::cos(fargs[0]);
}
// xnew = fargs(1)/2 + fargs(2): the fixed point is 2·args(2).
void halfway(double* xnew, const double* fargs, const int*, const int*) {
  *xnew = 0.5 * fargs[0] + fargs[1];
}
void constant(double* xnew, const double*, const int*, const int*) {
  ++evaluations;
  *xnew = 0.5;
}
void stepping(double* xnew, const double* fargs, const int*, const int*) {
  ++evaluations;
  *xnew = fargs[0] + 1.0;
}
void overflowing(double* xnew, const double* fargs, const int*, const int*) {
  *xnew = fargs[0] * 1e300;
}
// f = √x - args(1), with √x itself found by bdsafe: the solver re-entered
// from its own call-back.
void nested(double* f, double* d, const double* x, const double* args, const int*, const int*) {
  double root = 0.0;
  int istat = 0;
  bdsafe(parabola, 0.0, *x + 1.0, root, x, 1e-14, 100, 1, 0, istat);
  *f = root - args[0];
  *d = 0.0;
}

TEST_F(RootFinders, ConvergeOnTheExamples) {
  const std::array two{2.0};
  double root = 0.0;
  int istat = -1;
  bdsafe(parabola, 0.0, 2.0, root, two.data(), 1e-12, 100, 1, 0, istat);
  EXPECT_NEAR(root, std::sqrt(2.0), 1e-12);
  EXPECT_EQ(istat, 0);
  nrsafe(parabola, 0.0, 2.0, root, two.data(), 1e-12, 100, 1, 0, istat);
  EXPECT_NEAR(root, std::sqrt(2.0), 1e-12);
  EXPECT_EQ(istat, 0);
  double xs = 1.0;
  evaluations = 0;
  const std::array start{0.0};
  fpsafe(cosine, xs, start.data(), 1e-12, 100, 1, 0, istat);
  EXPECT_NEAR(xs, 0.7390851332, 1e-10);
  EXPECT_EQ(istat, 0);
  EXPECT_LE(evaluations, 101);
  EXPECT_EQ(status(), 0);
}

TEST_F(RootFinders, AnEndWhereTheFunctionVanishesIsTheRootBeforeAnySignTest) {
  const std::array zero{0.0};  // f = x²: no sign change anywhere
  double root = 7.0;
  int istat = -1;
  for (const auto solver : {bdsafe, nrsafe}) {
    solver(parabola, 0.0, 1.0, root, zero.data(), 1e-12, 100, 1, 0, istat);
    EXPECT_EQ(root, 0.0);
    solver(parabola, -1.0, 0.0, root, zero.data(), 1e-12, 100, 1, 0, istat);
    EXPECT_EQ(root, 0.0);
    EXPECT_EQ(istat, 0);
  }
  EXPECT_EQ(status(), 0);
}

TEST_F(RootFinders, UnbracketedRoot) {
  const std::array two{2.0};
  double root = 7.0;
  int istat = -1;
  bdsafe(parabola, 2.0, 3.0, root, two.data(), 1e-12, 100, 1, 0, istat);
  EXPECT_EQ(root, 0.0);
  EXPECT_EQ(istat, 0);
  EXPECT_EQ(status(), -2);
  EXPECT_EQ(message(), "Error in BISECTION: Root must be bracketed.");
  reset();
  // Newton's method records the same error and iterates on.
  nrsafe(parabola, 2.0, 3.0, root, two.data(), 1e-12, 100, 1, 0, istat);
  EXPECT_TRUE(std::isfinite(root));
  EXPECT_EQ(message(), "Error in BISECTION: Root must be bracketed.");
}

TEST_F(RootFinders, IterationLimits) {
  const std::array two{2.0};
  double root = 0.0;
  int istat = 0;
  // No pass allowed (a negative limit included): the upper end, reported.
  for (const int maxit : {0, -5}) {
    reset();
    bdsafe(parabola, 0.0, 2.0, root, two.data(), 1e-12, maxit, 1, 0, istat);
    EXPECT_EQ(root, 2.0);
    EXPECT_EQ(istat, 1);
    EXPECT_EQ(status(), -1);
    EXPECT_EQ(message(), "Warning in BrentsMethod: Max iterations exceeded.");
  }
  // A root found in the last allowed pass is a root.  The converging pass
  // evaluates nothing: the search takes evaluations - 1 passes.
  reset();
  evaluations = 0;
  bdsafe(parabola, 0.0, 2.0, root, two.data(), 1e-12, 100, 1, 0, istat);
  const int passes = evaluations - 1;
  bdsafe(parabola, 0.0, 2.0, root, two.data(), 1e-12, passes, 1, 0, istat);
  EXPECT_EQ(istat, 0);
  EXPECT_EQ(status(), 0);
  bdsafe(parabola, 0.0, 2.0, root, two.data(), 1e-12, passes - 1, 1, 0, istat);
  EXPECT_EQ(istat, 1);

  reset();
  nrsafe(parabola, 0.0, 2.0, root, two.data(), 1e-12, 0, 1, 0, istat);
  EXPECT_EQ(root, 1.0);  // the midpoint
  EXPECT_EQ(istat, 1);
  EXPECT_EQ(message(), "Warning in subroutine RTSAFE: Max iterations exceeded.");
}

TEST_F(RootFinders, FixedPointLimitAndArguments) {
  const std::array args{99.0, 1.0};
  double xs = 0.5;
  int istat = -1;
  // maxit = 0 succeeds only when the first evaluation already meets xacc.
  fpsafe(constant, xs, args.data(), 0.0, 0, 2, 0, istat);
  EXPECT_EQ(istat, 0);
  EXPECT_EQ(status(), 0);
  xs = 1.0;
  fpsafe(constant, xs, args.data(), 0.0, 0, 2, 0, istat);
  EXPECT_EQ(xs, 0.5);
  EXPECT_EQ(istat, 1);
  EXPECT_EQ(message(), "Warning in FixPointIteration:Max iterations exceeded.");
  // Giving up takes maxit + 1 iterations after the first evaluation.
  evaluations = 0;
  xs = 0.0;
  fpsafe(stepping, xs, args.data(), 0.5, 3, 2, 0, istat);
  EXPECT_EQ(evaluations, 5);
  EXPECT_EQ(xs, 5.0);
  // The call-back sees args with the iterate in place of the first entry.
  reset();
  xs = 0.0;
  fpsafe(halfway, xs, args.data(), 1e-14, 200, 2, 0, istat);
  EXPECT_NEAR(xs, 2.0, 1e-13);
  EXPECT_EQ(istat, 0);
  EXPECT_EQ(args[0], 99.0);
}

TEST_F(RootFinders, RefusedInputCallsNothing) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  const std::array two{2.0};
  double root = 0.0;
  int istat = -1;
  evaluations = 0;
  for (const auto& [x1, x2, xacc] : {std::array{0.0, inf, 1e-12}, {nan, 2.0, 1e-12},
                                     {0.0, 2.0, -1e-12}, {0.0, 2.0, nan}}) {
    reset();
    bdsafe(parabola, x1, x2, root, two.data(), xacc, 100, 1, 0, istat);
    EXPECT_TRUE(std::isnan(root));
    EXPECT_EQ(status(), -3);
    EXPECT_EQ(message(), "Error in BrentsMethod: Invalid bracket or tolerance.");
    reset();
    nrsafe(parabola, x1, x2, root, two.data(), xacc, 100, 1, 0, istat);
    EXPECT_EQ(message(), "Error in subroutine RTSAFE: Invalid bracket or tolerance.");
  }
  double xs = 1.0;
  reset();
  fpsafe(cosine, xs, two.data(), -1.0, 100, 1, 0, istat);
  EXPECT_EQ(message(), "Error in FixPointIteration: Invalid tolerance.");
  reset();
  fpsafe(cosine, xs, two.data(), 1e-12, 100, 0, 0, istat);
  EXPECT_TRUE(std::isnan(xs));
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Error in FixPointIteration: No argument for the iterate.");
  EXPECT_EQ(evaluations, 0);
}

TEST_F(RootFinders, ValuesThatAreNotNumbersEndTheSearch) {
  double root = 0.0;
  int istat = -1;
  bdsafe(silent, 0.0, 2.0, root, nullptr, 1e-12, 100, 0, 0, istat);
  EXPECT_TRUE(std::isnan(root));
  EXPECT_EQ(status(), -2);
  EXPECT_EQ(message(), "Error in BrentsMethod: Function value is not a number.");
  reset();
  nrsafe(silent, 0.0, 2.0, root, nullptr, 1e-12, 100, 0, 0, istat);
  EXPECT_EQ(message(), "Error in subroutine RTSAFE: Function value is not a number.");
  reset();
  double xs = 1.0;
  const std::array one{1.0};
  fpsafe(overflowing, xs, one.data(), 1e-12, 100, 1, 0, istat);
  EXPECT_EQ(xs, std::numeric_limits<double>::infinity());
  EXPECT_EQ(message(), "Error in FixPointIteration: Iterate is not a finite number.");
}

TEST_F(RootFinders, CallBacksMayCallTheSolverAgain) {
  const std::array target{1.5};
  double root = 0.0;
  int istat = -1;
  bdsafe(nested, 0.0, 4.0, root, target.data(), 1e-12, 100, 1, 0, istat);
  EXPECT_NEAR(root, 2.25, 1e-10);
  EXPECT_EQ(istat, 0);
}

TEST_F(RootFinders, AThrowingCallBackAbandonsTheSearch) {
  double root = 0.0, xs = 0.0;
  int istat = 0;
  EXPECT_THROW(bdsafe(throwing, 0.0, 2.0, root, nullptr, 1e-12, 100, 0, 0, istat),
               std::runtime_error);
  EXPECT_THROW(nrsafe(throwing, 0.0, 2.0, root, nullptr, 1e-12, 100, 0, 0, istat),
               std::runtime_error);
  const auto raise = [](double*, const double*, const int*, const int*) {
    throw std::runtime_error("call-back failed");
  };
  const std::array one{1.0};
  EXPECT_THROW(fpsafe(raise, xs, one.data(), 1e-12, 100, 1, 0, istat), std::runtime_error);
  EXPECT_EQ(status(), 0);
}

}  // namespace
}  // namespace tavrin
