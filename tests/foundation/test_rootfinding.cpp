// The root finders on C++ call-backs: the ends of the bracket, the iteration
// limits and refused input.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "foundation/rootfinding.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using math::bdsafe;
using math::nrsafe;
using RootFinders = testing::LatchTest;

int evaluations = 0;  // of the call-backs below, reset by each test that counts
const std::array two{2.0};

// f = x² - c, d = 2x with c = args(1).
void parabola(double* f, double* d, const double* x, const double* args, const int*, const int*) {
  ++evaluations;
  *f = *x * *x - args[0];
  *d = 2.0 * *x;
}
// Writes nothing, as a careless call-back might.
void silent(double*, double*, const double*, const double*, const int*, const int*) {}
// xnew = fargs(2)·fargs(1) + fargs(3), fargs(1) the iterate.
void affine(double* xnew, const double* fargs, const int*, const int*) {
  ++evaluations;
  *xnew = fargs[1] * fargs[0] + fargs[2];
}
using Outcome = std::pair<double, int>;  // (root or fixed point, istat)

Outcome solve(decltype(&bdsafe) solver, math::RootFunction f, double x1, double x2, const double* args,
              int maxit = 100, double xacc = 1e-12) {
  Outcome r{-99.0, -99};
  solver(f, x1, x2, r.first, args, xacc, maxit, args ? 1 : 0, 0, r.second);
  return r;
}

Outcome fixed(math::FixedPointFunction g, double xs, const double* args, int na, double xacc = 1e-12,
              int maxit = 100) {
  int istat = -99;
  math::fpsafe(g, xs, args, xacc, maxit, na, 0, istat);
  return {xs, istat};
}

TEST_F(RootFinders, BracketsLimitsAndRefusedInput) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  const std::array zero{0.0};  // f = x²: no sign change anywhere, yet a vanishing end is the root
  for (const auto solver : {bdsafe, nrsafe}) {
    const std::string in = solver == bdsafe ? "in BrentsMethod: " : "in subroutine RTSAFE: ";
    for (const auto& [x1, x2] : {std::pair{0.0, 1.0}, {-1.0, 0.0}})
      EXPECT_EQ(solve(solver, parabola, x1, x2, zero.data()), Outcome(0.0, 0));
    EXPECT_EQ(take(), latch(0));
    // No pass allowed: Brent's method gives the upper end, Newton's the midpoint.
    EXPECT_EQ(solve(solver, parabola, 0.0, 2.0, two.data(), 0), Outcome(solver == bdsafe ? 2.0 : 1.0, 1));
    EXPECT_EQ(take(), latch(-1, "Warning " + in + "Max iterations exceeded."));
    // Refused ends and tolerances call nothing; a call-back that writes nothing ends the search.
    evaluations = 0;
    for (const auto& [x1, x2, xacc] :
         {std::array{0.0, inf, 1e-12}, {nan, 2.0, 1e-12}, {0.0, 2.0, -1e-12}, {0.0, 2.0, nan}}) {
      EXPECT_TRUE(std::isnan(solve(solver, parabola, x1, x2, two.data(), 100, xacc).first));
      EXPECT_EQ(take(), latch(-3, "Error " + in + "Invalid bracket or tolerance."));
    }
    EXPECT_EQ(evaluations, 0);
    EXPECT_TRUE(std::isnan(solve(solver, silent, 0.0, 2.0, nullptr).first));
    EXPECT_EQ(take(), latch(-2, "Error " + in + "Function value is not a number."));
  }
  EXPECT_EQ(solve(bdsafe, parabola, 0.0, 2.0, two.data(), -5), Outcome(2.0, 1));  // a negative limit too
  EXPECT_EQ(take(), latch(-1, "Warning in BrentsMethod: Max iterations exceeded."));
  EXPECT_EQ(solve(bdsafe, parabola, 2.0, 3.0, two.data()), Outcome(0.0, 0));
  EXPECT_EQ(take(), latch(-2, "Error in BISECTION: Root must be bracketed."));
  // Newton's method records the same error and iterates on.
  EXPECT_TRUE(std::isfinite(solve(nrsafe, parabola, 2.0, 3.0, two.data()).first));
  EXPECT_EQ(take(), latch(-2, "Error in BISECTION: Root must be bracketed."));
  // A root found in the last allowed pass is a root.  The converging pass
  // evaluates nothing: the search takes evaluations - 1 passes.
  evaluations = 0;
  solve(bdsafe, parabola, 0.0, 2.0, two.data());
  const int passes = evaluations - 1;
  EXPECT_EQ(solve(bdsafe, parabola, 0.0, 2.0, two.data(), passes).second, 0);
  EXPECT_EQ(take(), latch(0));
  EXPECT_EQ(solve(bdsafe, parabola, 0.0, 2.0, two.data(), passes - 1).second, 1);
}

TEST_F(RootFinders, FixedPointLimitsArgumentsAndRefusedInput) {
  // (iterate, factor, offset) of the affine call-back.
  const std::array constant{99.0, 0.0, 0.5}, stepping{99.0, 1.0, 1.0}, halfway{99.0, 0.5, 1.0},
      overflowing{1.0, 1e300, 0.0};
  // Refused tolerances and argument counts call nothing; an iterate that overflows ends the search.
  evaluations = 0;
  fixed(affine, 1.0, overflowing.data(), 3, -1.0);
  EXPECT_EQ(take(), latch(-3, "Error in FixPointIteration: Invalid tolerance."));
  EXPECT_TRUE(std::isnan(fixed(affine, 1.0, overflowing.data(), 0).first));
  EXPECT_EQ(take(), latch(-3, "Error in FixPointIteration: No argument for the iterate."));
  EXPECT_EQ(evaluations, 0);
  EXPECT_EQ(fixed(affine, 1.0, overflowing.data(), 3).first, std::numeric_limits<double>::infinity());
  EXPECT_EQ(take(), latch(-2, "Error in FixPointIteration: Iterate is not a finite number."));
  // maxit = 0 succeeds only when the first evaluation already meets xacc.
  EXPECT_EQ(fixed(affine, 0.5, constant.data(), 3, 0.0, 0), Outcome(0.5, 0));
  EXPECT_EQ(take(), latch(0));
  EXPECT_EQ(fixed(affine, 1.0, constant.data(), 3, 0.0, 0), Outcome(0.5, 1));
  EXPECT_EQ(take(), latch(-1, "Warning in FixPointIteration:Max iterations exceeded."));
  // Giving up takes maxit + 1 iterations after the first evaluation.
  evaluations = 0;
  EXPECT_EQ(fixed(affine, 0.0, stepping.data(), 3, 0.5, 3).first, 5.0);
  EXPECT_EQ(evaluations, 5);
  // The call-back sees args with the iterate in place of the first entry
  // (the fixed point of x/2 + 1 is 2); the caller's args stay.
  const auto [xs, istat] = fixed(affine, 0.0, halfway.data(), 3, 1e-14, 200);
  EXPECT_NEAR(xs, 2.0, 1e-13);
  EXPECT_EQ(istat, 0);
  EXPECT_EQ(halfway[0], 99.0);
}

}  // namespace
}  // namespace tavrin
