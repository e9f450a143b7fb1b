// Fatigue properties, resin fatigue life, cycle counting and cycle jumps:
// the set selection and temperature laws, the equivalent stress of
// uniaxial states, the mean-stress correction (finite at R = -1), every
// jump algorithm with and without a cycle table, and the allowable jump
// against the life that the gradual degradation finds.
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "failure/degradation.hpp"
#include "failure/fatigue.hpp"
#include "foundation/numerics_support.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {
namespace {

constexpr double huge = std::numeric_limits<double>::max();

class FatigueLife : public testing::LatchTest {
 protected:
  void TearDown() override {
    shokriehdata::cycles.deallocate();
    materialdata::r_crit.deallocate();
    LatchTest::TearDown();
  }
};

struct Outputs {
  std::array<double, 9> e, xf, epsf;
  std::array<double, 6> at, ac, bt, bc, lam, gam, a, b, u, v;
  double eta = -1, degr = -1;
};

Outputs properties(const std::vector<double>& props, double temp, int nprops = -1) {
  Outputs o{};
  const int n = nprops < 0 ? int(props.size()) : nprops;
  GetShokriehProperties(props.data(), &n, &temp, o.e.data(), o.xf.data(), o.epsf.data(), o.at.data(), o.ac.data(),
                        o.bt.data(), o.bc.data(), o.lam.data(), o.gam.data(), o.a.data(), o.b.data(), o.u.data(),
                        o.v.data(), &o.eta, &o.degr);
  return o;
}

// Set entry k (1-based) of the set starting at `base`: 1000·set + k, the
// temperature at 74; moduli entries large enough for sensible strains.
std::vector<double> two_sets(double t1, double t2) {
  std::vector<double> p(159, 0.0);
  for (int k = 1; k <= 74; ++k) {
    p[k - 1] = 1000.0 + k;
    p[74 + k - 1] = 2000.0 + k;
  }
  p[73] = t1;
  p[147] = t2;
  p[149] = 0.05;
  return p;
}

TEST_F(FatigueLife, PropertySetsAndTheirLayout) {
  auto p = two_sets(250.0, 350.0);
  const Outputs low = properties(p, 250.0, 150), up = properties(p, 350.0, 150), mid = properties(p, 300.0, 150);
  EXPECT_EQ(low.e[0], 1001.0);
  EXPECT_EQ(up.e[0], 2001.0);
  EXPECT_EQ(mid.e[0], 1501.0);
  EXPECT_EQ(properties(p, 100.0, 150).e[8], 1009.0);
  EXPECT_EQ(properties(p, 900.0, 150).e[8], 2009.0);
  EXPECT_EQ(low.xf, (std::array<double, 9>{1010, -1013, 1011, -1014, 1012, -1015, 1016, 1017, 1018}));
  EXPECT_EQ(low.epsf[1], -1013.0 / 1001.0);
  EXPECT_EQ(low.epsf[3], -1014.0 / 1002.0);
  EXPECT_EQ(low.epsf[8], 1018.0 / 1006.0);
  EXPECT_EQ(low.at, (std::array<double, 6>{1019, 1021, 1023, 1025, 1026, 1027}));
  EXPECT_EQ(low.ac, (std::array<double, 6>{1020, 1022, 1024, 1025, 1026, 1027}));
  EXPECT_EQ(low.bt, (std::array<double, 6>{1028, 1030, 1032, 1034, 1035, 1036}));
  EXPECT_EQ(low.bc, (std::array<double, 6>{1029, 1031, 1033, 1034, 1035, 1036}));
  EXPECT_EQ(low.lam[0], 1037.0);
  EXPECT_EQ(low.gam[5], 1048.0);
  EXPECT_EQ(low.a, (std::array<double, 6>{1049, 1051, 1053, 1055, 1057, 1059}));
  EXPECT_EQ(low.b[5], 1060.0);
  EXPECT_EQ(low.eta, 1061.0);
  EXPECT_EQ(low.u[0], 1062.0);
  EXPECT_EQ(low.v[5], 1073.0);
  EXPECT_EQ(low.degr, 0.05);
  // Sets given hottest first give the same outputs.
  auto swapped = p;
  std::swap_ranges(swapped.begin(), swapped.begin() + 74, swapped.begin() + 74);
  for (const double t : {200.0, 250.0, 275.0, 350.0, 400.0})
    EXPECT_EQ(properties(swapped, t, 150).e, properties(p, t, 150).e) << t;
  // Equal set temperatures: the lower set at that temperature, no 0/0.
  auto same = two_sets(300.0, 300.0);
  const Outputs at = properties(same, 300.0, 150);
  EXPECT_FALSE(std::isnan(at.e[0]));
  EXPECT_EQ(at.e[0], 2001.0);  // the second set is the lower one when not hotter
  EXPECT_EQ(take().first, 0);
  // Too few properties, or laws without all their parameters.
  Outputs none = properties(p, 300.0, 149);
  EXPECT_EQ(none.degr, -1.0);
  EXPECT_EQ(take().first, -2);
  EXPECT_EQ(properties(p, 300.0, 155).e[1], 1502.0);  // laws skipped
  EXPECT_EQ(take().first, -2);
}

TEST_F(FatigueLife, TemperatureLaws) {
  auto p = two_sets(250.0, 350.0);
  const double q[9] = {-1e-4, 2e-3, 0.95, 230.0, 373.15, 0.4, 2.0, 0.8, 3.0};
  std::copy(q, q + 9, p.begin() + 150);
  const auto e = [&](double t) { return properties(p, t).e; };
  EXPECT_EQ(e(225.0)[1], 1002.0);  // at or below P154: the lower set
  EXPECT_EQ(e(230.0)[1], 1002.0);
  const double dt = 280.0 - 273.15;
  EXPECT_NEAR(e(280.0)[1], (-1e-4 * dt * dt + 2e-3 * dt + 0.95) * 1002.0, 1e-10);
  const double c = 394.0225000000009 * q[0] + 19.850000000000023 * q[1] + q[2];
  const double d2 = 320.0 - 273.15;
  EXPECT_NEAR(e(320.0)[4], (c - (c - 0.4) * std::exp(-std::pow(d2 / 100.0, 2.0))) * 1005.0, 1e-10);
  EXPECT_NEAR(e(320.0)[0], (1 - 0.2 * std::exp(-std::pow(d2 / 100.0, 3.0))) * 1001.0, 1e-10);
  EXPECT_NEAR(e(280.0)[0], 1001.0 + 1000.0 * 0.3, 1e-10);  // the line through the sets
  EXPECT_EQ(e(240.0)[0], 1001.0);
  EXPECT_NEAR(e(293.0)[0], 1001.0 + 1000.0 * 0.43, 1e-10);  // 293 K still on the line
  EXPECT_EQ(e(320.0)[6], properties(p, 320.0, 150).e[6]);  // Poisson ratios keep the set values
  // The continuity constant is the quadratic at 293 K.
  EXPECT_NEAR(c, q[0] * 19.85 * 19.85 + q[1] * 19.85 + q[2], 1e-15);
}

TEST_F(FatigueLife, EquivalentStressOfUniaxialStates) {
  const double xt = 60.0, xc = 120.0, np = 2.0;
  for (const double s : {10.0, 37.5, 60.0}) {
    const double stress[6] = {s, 0, 0, 0, 0, 0};
    double eq = -1;
    GetEquivalentFatigueStress(stress, &xt, &xc, &np, &eq);
    EXPECT_NEAR(eq, s, 1e-13 * s) << s;
  }
  // Shear with a little pressure: di1/dmises between -0.1 and -0.05 is below
  // the -0.05 threshold and takes the compressive branch.
  for (const auto& [tau, expect] : {std::pair{16.0, -38.72053033807676}, std::pair{16.32, -39.503804819041896},
                                    std::pair{20.0, 24.256376721171986}}) {
    const double stress[6] = {-1.0, 0, 0, tau, 0, 0};
    double eq = 0;
    GetEquivalentFatigueStress(stress, &xt, &xc, &np, &eq);
    EXPECT_NEAR(eq, expect, 1e-12 * std::abs(expect)) << tau;
  }
  const double i1 = -1.0, svm2 = 1.0 + 3 * 16.32 * 16.32;
  EXPECT_NEAR(-39.503804819041896, -0.5 * i1 - 0.5 * std::sqrt(8 * svm2 + i1 * i1), 1e-12);
}

TEST_F(FatigueLife, MeanStressCorrectedLife) {
  materialdata::r_crit.allocate(1);
  const double a = 0.9, ex = -0.1, alpha = 0.0;
  const int noel = -5;
  const auto life_of = [&](double r, double lo, double hi, double dn, double& life) {
    materialdata::r_crit(1) = r;
    double nf = 0;
    GetFatigueLife(&lo, &hi, &a, &ex, &alpha, &dn, &noel, &nf, &life);
    return nf;
  };
  const auto text = [&](double r, double lo, double hi) {  // the textbook form for R ≠ -1
    const double m = (1 - r) / (1 + r), ea = (hi - lo) / 2, em = (hi + lo) / 2;
    const double f = (em == 0 || ea / em >= 0 || std::abs(ea / em) >= std::abs(m))
                         ? m * ea / (ea + (1 - em) * m)
                         : m * std::abs(r) * ea / ((em + std::abs(r)) * m - ea);
    return std::pow(f / a, 1 / ex);
  };
  struct Case { double r, lo, hi; };
  const Case cases[] = {{0.1, 0.1, 0.5}, {0.1, -0.5, 0.1}, {-0.5, -0.6, -0.4}, {0.3, -0.2, 0.2}, {-3.0, 0.1, 0.5}};
  for (const auto& c : cases) {
    double life = 0.0;
    EXPECT_NEAR(life_of(c.r, c.lo, c.hi, 0.0, life), text(c.r, c.lo, c.hi), 1e-12 * text(c.r, c.lo, c.hi))
        << c.r << " " << c.lo;
  }
  double life = 0.25;
  const double nf = life_of(-1.0, -0.3, 0.3, 0.0, life);  // fully reversed: f = eq_a/(1 - eq_m)
  EXPECT_NEAR(nf, std::pow(0.3 / 0.9, -10.0), 1e-9 * nf);
  EXPECT_EQ(life, 0.25);
  life_of(-1.0, -0.3, 0.3, 1e30, life);
  EXPECT_EQ(life, 1.0);
  life = 0.25;
  life_of(-1.0, -0.3, 0.3, 1000.0, life);
  EXPECT_NEAR(life, 0.25 + 1000.0 / nf, 1e-15);
  life = 0.25;
  life_of(-1.0, -0.3, 0.3, 0.1, life);
  EXPECT_EQ(life, 0.25 + double(0.1f) / nf);  // dn taken in single precision
  EXPECT_EQ(take().first, 0);
}

double count(int algo, double& n, double njimp_zul = 0.0, int stepflag = 1, double time = 0.0, int istep = 1,
             int ncycles = 2, int nstep = 1, double njimp_in = -7.0) {
  double njimp = njimp_in;
  const double maxcycle = 1e6, time_calc = 10.0, period = 1.0, njimp_min = 25.0, njimp_max = 0.0;
  const int nmax = 0;
  CycleCount(&njimp, &n, &maxcycle, &time, &time_calc, &period, &njimp_min, &njimp_max, &njimp_zul, &ncycles, &nmax,
             &istep, &nstep, &algo, &stepflag);
  return njimp;
}

TEST_F(FatigueLife, CycleCountWithoutTable) {
  double n = 100.0;
  EXPECT_EQ(count(1, n, 0.0, 0), 1.0);
  EXPECT_EQ(n, 1.0);
  n = 100;
  EXPECT_EQ(count(1, n), 25.0);
  EXPECT_EQ(n, 125.0);
  n = 100;
  EXPECT_EQ(count(4, n, huge), 0.0);
  EXPECT_EQ(n, 100.0);
  EXPECT_EQ(count(4, n, 41.7), 42.0);
  EXPECT_EQ(count(4, n, 2e6), 1e6 - 142.0);  // bounded by maxcycle
  EXPECT_EQ(n, 1e6);
  n = 100;
  // Exponential in time: L = ln(1e6)/9.
  const double l = std::log(1e6) / 9.0;
  EXPECT_EQ(count(2, n, 0.0, 1, 5.0), std::round(std::exp(5 * l)) - std::round(std::exp(4 * l)));
  n = 100;
  EXPECT_EQ(count(2, n, 0.0, 1, 0.0), 1.0);
  EXPECT_EQ(take().first, 0);
  for (const int algo : {3, 5}) {
    n = 100;
    EXPECT_EQ(count(algo, n), 0.0);
    EXPECT_EQ(n, 100.0);
    EXPECT_EQ(take().first, -2);
  }
  n = 100;
  EXPECT_EQ(count(9, n, 0.0, 1, 0.0, 1, 2, 1, 5.0), 5.0);  // the jump held on entry
  EXPECT_EQ(n, 105.0);
  EXPECT_EQ(take(), latch(-2, "Unknown cycle jump flag in CycleCount"));
}

TEST_F(FatigueLife, CycleCountWithTable) {
  auto& cycles = shokriehdata::cycles;
  cycles.allocate(2, 2);  // step 1: 1000, 5000; step 2: 20000, 30000
  cycles(1, 1) = 1000, cycles(2, 1) = 5000, cycles(1, 2) = 20000, cycles(2, 2) = 30000;
  double n = 1000;
  EXPECT_EQ(count(5, n), 0.0);  // at the step's first cycle
  EXPECT_EQ(n, 1000.0);
  n = 10;
  EXPECT_EQ(count(5, n, 0.0, 1, 0.0, 2), 19990.0);
  n = 1200;
  EXPECT_EQ(count(4, n, 1e5), 3800.0);  // bounded by the next table cycle
  n = 1200;
  EXPECT_EQ(count(4, n, 99.2), 100.0);
  n = 40000;
  EXPECT_EQ(count(4, n, 99.2), 100.0);  // no table cycle beyond n
  // Algorithm 3: the table row of the time, the next step's first, the last row.
  n = 100;
  EXPECT_EQ(count(3, n, 0, 1, 1.2), 4900.0);  // k = 2
  n = 100;
  EXPECT_EQ(count(3, n, 0, 1, 0.4), 900.0);  // k = 1
  n = 100;
  EXPECT_EQ(count(3, n, 0, 1, 2.4, 1, 2, 2), 19900.0);  // k = 3 > ncycles: next step
  n = 100;
  EXPECT_EQ(count(3, n, 0, 1, 2.4, 1, 2, 1), 4900.0);  // last step: row k - 1
  n = 100;
  EXPECT_EQ(count(3, n, 0, 1, 7.0, 2, 9, 2), 29900.0);  // k = 8 clamped to the table's 2 rows
  n = 100;
  EXPECT_EQ(count(3, n, 0, 1, 0.0, 5, 2, 2), 19900.0);  // step 5 clamped to the table's columns
  n = 100;
  EXPECT_EQ(count(3, n, 0, 1, 1e300, 1, 2, 1), 4900.0);  // a time beyond any row: the last row
  EXPECT_EQ(take().first, 0);
  cycles.allocate(3, 1);
  cycles(1, 1) = 1000, cycles(2, 1) = 5000, cycles(3, 1) = 9000;
  n = 100;
  EXPECT_EQ(count(3, n, 0, 1, 1e300, 1, 9, 1), 8900.0);
  EXPECT_EQ(take().first, 0);
}

// A normalised cycle with life Nf from GradualDegradation (one cycle of
// variant 1 gives nm = 1/Nf) for u = v = 0 (f = amplitude).
double gradual_life(double speak, double sbottom, double a, double b) {
  double st = speak, sb = sbottom, pc = -0.1, bc = -0.05, xct = 1.5, u = 0, v = 0, nm = 0, n = 1, cj = 1;
  double al = 1.3, be = 2.1, ga = 0.9, la = 1.4, de = 1, dft = 1, dfc = 1, degr = 0.1, cjnf = 0, lim = 0.05;
  const int flag = 1, shear = 0, noel = -1;
  GradualDegradation(&st, &sb, &pc, &bc, &xct, &a, &b, &u, &v, &nm, &n, &cj, &al, &be, &al, &be, &ga, &la, &de, &dft,
                     &dfc, &degr, &flag, &shear, &noel, &cjnf, &lim);
  return 1.0 / nm;
}

double allowable(double speak, double sbottom, double a, double b, double nm, double x_n, double e_n,
                 double df = 0.5, double eps_f = 1.0) {
  const double one = 1.0, fc = 1.5, zero = 0.0, al = 1.3, be = 2.1, ga = 0.9, la = 1.4, degr = 0.1, dtol = 1.0;
  double cjimp = -1, sb = sbottom;
  AllowableCycleJump(&speak, &sb, &one, &fc, &one, &one, &eps_f, &a, &b, &zero, &zero, &nm, &cjimp, &al, &be, &ga,
                     &la, &x_n, &e_n, &zero, &df, &degr, &dtol);
  return cjimp;
}

TEST_F(FatigueLife, AllowableJumpFollowsTheGradualLife) {
  // Peak 1.2, bottom 0.12: amplitude 0.54, mean 0.66, σmax 1.2.  Residual
  // fractions of σmax (tolerance 1) put both bounds at the life itself.
  const double b = -0.1, x = 1.2;
  for (const double a : {0.54 * std::pow(3e4, 0.1), 0.54 * std::pow(5.0, 0.1)}) {  // life above / below the clamp
    const double nf = gradual_life(1.2, 0.12, a, b);
    EXPECT_NEAR(allowable(1.2, 0.12, a, b, 0.0, x, x), nf - 1.0, 1e-9 * nf) << a;
    EXPECT_NEAR(allowable(1.2, 0.12, a, b, 0.5, x, x), nf - std::max(1.0, 0.5 * nf), 1e-9 * nf) << a;
    EXPECT_GE(nf, 10.0 * (1 - 1e-12));
  }
  EXPECT_NEAR(gradual_life(1.2, 0.12, 0.54 * std::pow(5.0, 0.1), b), 10.0, 1e-9);  // clamped at a·10^b
  // Below the static strength the life is 1e8 cycles.
  EXPECT_NEAR(allowable(0.5, 0.125, 0.7, b, 0.0, 0.5, 0.5), 1e8 - 1.0, 1e-3);
  // A strength bound that is not a number leaves the stiffness bound.
  EXPECT_EQ(allowable(1.2, 0.12, 2.0, b, 0.0, 1.3, x), allowable(1.2, 0.12, 2.0, b, 0.0, x, x));
  EXPECT_LT(allowable(0.5, 0.125, 0.7, b, 0.0, 0.5, 0.75), 1e8 - 1.0);  // a stiffness bound below the life
  // The stiffness bound works on σmax/eps_f: peak 1.5, bottom 0.375 (σmax
  // exactly 1.5) with eps_f 2 put a stiffness fraction of 0.75 at the life.
  const double nf2 = gradual_life(1.5, 0.375, 2.0, b);
  EXPECT_NEAR(allowable(1.5, 0.375, 2.0, b, 0.0, 1.6, 0.75, 0.5, 2.0), nf2 - 1.0, 1e-9 * nf2);
  // Fully degraded: 1e8 and the bottom stress untouched.
  double sb = 0.0, cjimp = 0.0, speak = 1.2, one = 1.0, zero = 0.0, fac = 0.1, dtol = 0.9;
  AllowableCycleJump(&speak, &sb, &one, &one, &one, &one, &one, &one, &one, &zero, &zero, &zero, &cjimp, &one, &one,
                     &one, &one, &one, &one, &zero, &fac, &fac, &dtol);
  EXPECT_EQ(cjimp, 1e8);
  EXPECT_EQ(sb, 0.0);
  fac = 0.2;
  AllowableCycleJump(&speak, &sb, &one, &one, &one, &one, &one, &one, &one, &zero, &zero, &zero, &cjimp, &one, &one,
                     &one, &one, &one, &one, &zero, &one, &fac, &dtol);
  EXPECT_EQ(sb, 1e-8);
}

}  // namespace
}  // namespace tavrin
