// Gradual fatigue degradation: the degradation curve at a worked point, the
// equivalent cycle count that inverts it, the next jump, the end of life,
// the regimes, and the repaired cases (negative bases, the life clamp).
#include <cmath>
#include <limits>
#include <string>

#include "failure/degradation.hpp"
#include "foundation/numerics_support.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {
namespace {

constexpr double huge = std::numeric_limits<double>::max();

// A block of GradualDegradation with a life of 2.5e5 cycles at the tensile
// peak 0.4 (u = v = 0: f is the amplitude 0.18, b = -0.1).
struct Block {
  double speak_t = 0.4, sbottom_t = 0.04, speak_c = -0.1, sbottom_c = -0.05;
  double xct = 1.5, a = 0.18 * std::pow(2.5e5, 0.1), b = -0.1, u = 0.0, v = 0.0;
  double nm = 0.0, n = 0.0, cjimp = 0.0;
  double alpha_t = 1.3, beta_t = 2.1, alpha_c = 1.1, beta_c = 1.7, gamma = 0.9, lambda = 1.4;
  double de = 1.0, df_t = 1.0, df_c = 1.0, degr_fac = 0.1;
  int dmgflag = 1, isshear = 0, noel = -12345;
  double cjump_nf = 0.0, lim = 0.05;
  void run() {
    GradualDegradation(&speak_t, &sbottom_t, &speak_c, &sbottom_c, &xct, &a, &b, &u, &v, &nm, &n, &cjimp,
                       &alpha_t, &beta_t, &alpha_c, &beta_c, &gamma, &lambda, &de, &df_t, &df_c, &degr_fac,
                       &dmgflag, &isshear, &noel, &cjump_nf, &lim);
  }
};

// The curve (1 - r^β)^(1/α)·(1 - s) + s with L = log10(4·Nf).
double curve(double cycles, double nf, double alpha, double beta, double s) {
  const double r = std::log10(4 * cycles) / std::log10(4 * nf);
  return std::pow(1 - std::pow(r, beta), 1 / alpha) * (1 - s) + s;
}

class Fatigue : public testing::LatchTest {};

TEST_F(Fatigue, LifeFractionVariantFollowsTheCurve) {
  Block blk;
  blk.cjimp = 1234;
  blk.run();
  EXPECT_NEAR(blk.nm * 2.5e5, 1234.0, 1e-9);
  EXPECT_NEAR(blk.df_t, 0.8251596226168425, 1e-12 * 0.825);
  EXPECT_EQ(blk.df_c, blk.df_t);  // coupled: not a shear mode
  EXPECT_NEAR(blk.de, curve(1234, 2.5e5, 0.9, 1.4, 0.4), 1e-12);
  // Shear: the compressive factor stays; the block after adds its cycles.
  Block shear;
  shear.isshear = 1;
  shear.cjimp = 1234;
  shear.run();
  EXPECT_EQ(shear.df_c, 1.0);
  shear.run();
  EXPECT_NEAR(shear.nm * 2.5e5, 2468.0, 1e-9);
  EXPECT_NEAR(shear.df_t, curve(2468, 2.5e5, 1.3, 2.1, 0.4), 1e-12);
  // At the end of life the loaded side takes degr_fac.
  Block end;
  end.nm = 1.0;
  end.run();
  EXPECT_EQ(end.df_t, 0.1);
  EXPECT_EQ(end.df_c, 0.1);
  EXPECT_EQ(end.de, 0.1);
  // Compression regime: the compressive curve with the floor smax_c.
  Block comp;
  comp.speak_t = -0.3, comp.sbottom_t = -0.6;  // q = 2
  comp.speak_c = -0.6, comp.sbottom_c = -0.3;
  comp.cjimp = 100;
  comp.run();
  EXPECT_LT(comp.df_c, 1.0);
  EXPECT_EQ(comp.df_t, comp.df_c);
}

TEST_F(Fatigue, ConstantLifeRelationUsesAmplitudeAndMean) {
  Block blk;  // amplitude 0.18, mean 0.22, c 1.5
  blk.u = 1.0, blk.v = 0.5, blk.cjimp = 1.0;
  blk.run();
  const double f = 0.18 / (std::pow(1.72, 0.5) * 0.78);
  const double nf = std::pow(f / blk.a, 1 / blk.b);
  EXPECT_NEAR(blk.nm, 1 / nf, 1e-12 / nf);
}

TEST_F(Fatigue, StressRatioOneAndZeroStresses) {
  Block flat;
  flat.speak_t = flat.sbottom_t = 0.5;
  flat.cjimp = 1000;
  flat.run();
  EXPECT_EQ(flat.de, 1.0);
  EXPECT_EQ(flat.df_t, 1.0);
  EXPECT_EQ(flat.df_c, 1.0);
  flat.dmgflag = 2;
  flat.cjump_nf = 77.0;
  flat.nm = 0.25;
  flat.n = 5000;
  flat.run();
  EXPECT_EQ(flat.df_t, 1.0);
  EXPECT_EQ(flat.cjump_nf, huge);  // no amplitude: an endless life
  EXPECT_EQ(flat.nm, 0.25);
  Block zeros;
  zeros.speak_t = 0.4, zeros.sbottom_t = 0.0, zeros.speak_c = 0.0, zeros.sbottom_c = 0.0;
  zeros.run();
  EXPECT_EQ(zeros.sbottom_t, 1e-8);
  EXPECT_EQ(zeros.speak_c, 1e-8);
  EXPECT_EQ(zeros.sbottom_c, 1e-8);
  EXPECT_EQ(zeros.speak_t, 0.4);
}

TEST_F(Fatigue, EquivalentCycleVariantInvertsTheCurve) {
  Block blk;
  blk.dmgflag = 2;
  blk.df_t = 0.8251596226168425;  // g(1234)
  blk.n = 5000;
  blk.run();
  EXPECT_NEAR(blk.nm * 2.5e5, 1234.0, 1234.0 * 1e-12);
  EXPECT_NEAR(blk.df_t, 0.8251596226168425, 1e-15);
  EXPECT_NEAR(blk.df_c, curve(1234, 2.5e5, 1.1, 1.7, 0.1), 1e-12);  // the other side, floor smax_c
  // The next jump brings the strength down by lim.
  EXPECT_NEAR(curve(1234 + blk.cjump_nf, 2.5e5, 1.3, 2.1, 0.4), blk.df_t - 0.05, 1e-10);
  // The stiffness follows the mean strength when its curve is the tensile one.
  Block mean = Block{};
  mean.dmgflag = 2, mean.df_t = 0.8251596226168425, mean.n = 5000, mean.gamma = 1.3, mean.lambda = 2.1;
  mean.run();
  EXPECT_NEAR(mean.de, (mean.df_t + mean.df_c) / 2, 1e-15);
  // The first block (n = cjimp) starts from zero equivalent cycles.
  Block first;
  first.dmgflag = 2, first.n = 1234, first.cjimp = 1234;
  first.run();
  EXPECT_NEAR(first.df_t, 0.8251596226168425, 1e-12);
}

TEST_F(Fatigue, EquivalentCycleVariantLimits) {
  Block done;
  done.dmgflag = 2, done.df_t = 0.1, done.n = 10;
  done.run();
  EXPECT_EQ(done.nm, 1.0);
  EXPECT_EQ(done.cjump_nf, huge);
  // Below the fatigue limit (Nf ≥ 1e20) the jump is the life.
  Block endless;
  endless.dmgflag = 2, endless.b = -0.01, endless.a = 0.18 * std::pow(1e25, 0.01), endless.n = 10;
  endless.run();
  EXPECT_NEAR(endless.cjump_nf, 1e25, 1e25 * 1e-12);
  EXPECT_EQ(endless.df_t, 1.0);
  // A strength below the floor (negative base) gives no number that is not a number.
  Block below;
  below.dmgflag = 2, below.df_t = 0.3, below.n = 5000, below.cjimp = 100;
  below.run();
  EXPECT_FALSE(std::isnan(below.nm));
  EXPECT_EQ(below.nm, 1.0);
  EXPECT_EQ(below.df_t, 0.1);
  EXPECT_FALSE(std::isnan(below.cjump_nf));
  EXPECT_GT(below.cjump_nf, 0.0);
  // The life clamp: an amplitude above a·10^b gives Nf = 10, not more damage than that.
  Block over;
  over.speak_t = 3.0, over.sbottom_t = 0.0;  // f = 1.5 > a·10^b
  over.cjimp = 5;
  over.run();
  EXPECT_NEAR(over.nm, 0.5, 1e-12);
  Block flag;
  flag.dmgflag = 3;
  flag.sbottom_t = 0.0;
  flag.run();
  EXPECT_EQ(flag.sbottom_t, 0.0);
  EXPECT_EQ(flag.df_t, 1.0);
  EXPECT_EQ(take().first, -2);
}

TEST_F(Fatigue, DebugTraceOfTheSelectedElement) {
  Block blk;
  blk.noel = debugdata::edebug = 4711;
  blk.dmgflag = 2, blk.n = 5000, blk.df_t = 0.9;
  ::testing::internal::CaptureStdout();
  blk.run();
  const std::string out = ::testing::internal::GetCapturedStdout();
  debugdata::edebug = 0;
  for (const char* label : {"New Implementation for stiffness degradation", "alpha_t (Exp. im Kehrwert)",
                            "T-T or T-dominated", "dF nach cjump_nf", "Updated results in GradualDegradation"})
    EXPECT_NE(out.find(label), std::string::npos) << label;
}

}  // namespace
}  // namespace tavrin
