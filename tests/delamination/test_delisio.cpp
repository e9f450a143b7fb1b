// Module delisio in C++: growth laws and released energies, the buckled
// sublaminate over a compression delamination, force transfer and release
// rates, growth through cycles and the allowable searches under compression
// and tension.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "delamination/delisio.hpp"
#include "foundation/numerics_support.hpp"

namespace tavrin {
namespace {

constexpr double pi = std::numbers::pi;
constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();

class Delisio : public testing::LatchTest {};

// A 6x6 ABD with A and D blocks and no coupling, column-major.
std::vector<double> abd_of(const double (&a)[3][3], const double (&d)[3][3], double scale = 1.0) {
  std::vector<double> m(36, 0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      m[std::size_t(i + 6 * j)] = scale * a[i][j];
      m[std::size_t(i + 3 + 6 * (j + 3))] = scale * d[i][j];
    }
  return m;
}

constexpr double plate_a[3][3] = {{5e4, 1.5e4, 0}, {1.5e4, 5e4, 0}, {0, 0, 1.75e4}};
constexpr double plate_d[3][3] = {{1000, 300, 0}, {300, 1000, 0}, {0, 0, 350}};

// Eight-value ply material with the release-rate data: E1, E2, E3, ν12, ν13,
// ν23, G12, G13, G23, Gc, then the two Paris constants.
std::vector<double> ply_props(double gc = 0.2, double p11 = 1.0, double p12 = 1.0) {
  return {140000, 10000, 10000, 0.3, 0.3, 0.45, 5000, 5000, 3500, gc, p11, p12};
}

TEST_F(Delisio, GrowthLawsAndReleasedEnergies) {
  double g = 1.0, n = -1.0, c1 = 2.0, c2 = 3.0;
  GrowthInitiationParis(&g, &n, &c1, &c2);
  EXPECT_EQ(n, 8.0);
  GrowthInitiationParis(&g, &n, &c1, &c2);  // n = 8 ≥ 0: the other branch
  EXPECT_DOUBLE_EQ(g, 4.0);
  double rate = -1.0;
  const double zero = 0.0, cf = 3e-3, nf = 2.5, g2 = 4.0;
  GrowthRateParis(&zero, &rate, &cf, &nf);
  EXPECT_EQ(rate, 0.0);
  GrowthRateParis(&g2, &rate, &cf, &nf);
  EXPECT_DOUBLE_EQ(rate, 3e-3 * 32.0);

  double serr = 0.0;
  const double s11 = 1000.0, crack = 0.1, e11 = 150000.0;
  const int one = 1;
  fiber_tension_lefm(&s11, &crack, &zero, &one, &e11, &serr);
  EXPECT_DOUBLE_EQ(serr, 2.0943951023931953);

  // An unsymmetric K tells a zeroed row (released stress) from a zeroed
  // column (removed strain): with ε = (1, 2), εᵀKε = 1 + 2·2 + 3·2 + 4·4 = 27.
  const double k[4] = {1.0, 3.0, 2.0, 4.0}, eps[2] = {1.0, 2.0}, area = 2.0;
  const int two = 2, none = 0, first = 1, third = 3;
  double full = 0.0, e = 0.0;
  LinearElasticEnergy(eps, k, &area, &full, &two);
  EXPECT_EQ(full, 27.0);
  reducedElasticEnergy(eps, k, &area, &e, &none, &none, &two);
  EXPECT_EQ(e, full);
  reducedElasticEnergy(eps, k, &area, &e, &first, &none, &two);  // row 1: (1 + 2·2)·1 gone
  EXPECT_EQ(e, 22.0);
  reducedElasticEnergy(eps, k, &area, &e, &none, &first, &two);  // column 1: (1 + 3·2)·1 gone
  EXPECT_EQ(e, 20.0);
  reducedElasticEnergy(eps, k, &area, &e, &first, &first, &two);
  EXPECT_EQ(e, 16.0);
  EXPECT_EQ(k[0], 1.0);  // the caller's matrix is left alone
  reducedElasticEnergy(eps, k, &area, &e, &third, &none, &two);
  EXPECT_EQ(e, 0.0);
  EXPECT_EQ(take(), latch(-3, "Released component outside the stiffness matrix"));
}

TEST_F(Delisio, BuckledSublaminate) {
  const std::vector<double> abd = abd_of(plate_a, plate_d);
  const double dof[6] = {-0.005, 0, 0, 0, 0, 0}, a = 25.0, b = 10.0;
  double energy = 0.0, nsub = 0.0;
  int buckled = 0;
  struct Case {
    double force, buckfactor, r, energy, nsub;
  };
  // N_ss = 10π², N_cl = 186.76..., nbuck = -(N_ss + N_cl)/2.
  const Case cases[] = {{-250.0, 1.0, 0.0, 509.9299349879214, -142.72928404635374},
                        {-250.0, 1.0, 0.5, 567.4649674939607, -196.36464202317688},
                        {-250.0, 0.8, 0.0, 440.5385856293527, -114.18342723708301}};
  for (const Case& c : cases) {
    EnergySublaminat(abd.data(), dof, &a, &b, &c.force, &energy, &nsub, &buckled, &c.buckfactor, &c.r);
    EXPECT_NEAR(energy, c.energy, 1e-12 * c.energy);
    EXPECT_NEAR(nsub, c.nsub, 1e-13 * std::abs(c.nsub));
    EXPECT_EQ(buckled, 1);
  }
  // At exactly the buckling force: buckled, Δ = 0, the energy at the
  // buckling strain; the strain scaled with the force.
  const double nbuck = -142.72928404635374, ratio = nbuck / -250.0;
  const double at[6] = {-0.005 * ratio, 0, 0, 0, 0, 0};
  EnergySublaminat(abd.data(), at, &a, &b, &nbuck, &energy, &nsub, &buckled, nullptr, nullptr);
  EXPECT_NEAR(energy, 203.71648524384727, 1e-12 * 203.7);
  EXPECT_EQ(buckled, 1);
  // Below the buckling load: the straight plate's energy, force as given.
  const double small = -100.0, eps_small[6] = {-0.002, 0, 0, 0, 0, 0};
  EnergySublaminat(abd.data(), eps_small, &a, &b, &small, &energy, &nsub, &buckled, nullptr, nullptr);
  EXPECT_DOUBLE_EQ(energy, 0.5 * 5e4 * 0.002 * 0.002 * 1000.0);
  EXPECT_EQ(nsub, -100.0);
  EXPECT_EQ(buckled, 0);
  // Outside the model: a zero force or half-size.
  const double nothing = 0.0, unit = 1.0;
  EnergySublaminat(abd.data(), dof, &a, &nothing, &small, &energy, &nsub, &buckled, nullptr, nullptr);
  EXPECT_EQ(energy, 0.0);
  EXPECT_EQ(take(), latch(-2, "Sublaminate needs positive half-sizes and a nonzero force"));
  EnergySublaminat(abd.data(), dof, &a, &b, &nothing, &energy, &nsub, &buckled, nullptr, nullptr);
  EXPECT_EQ(status(), -2);
  reset();
  EnergySublaminat(abd.data(), dof, &a, &b, &unit, &energy, &nsub, &buckled, nullptr, nullptr);
  EXPECT_EQ(status(), 0);
}

TEST_F(Delisio, ForceBalanceAndTransfer) {
  double nl = 0.0, nr = 0.0;
  const double n11 = -100, nsub = -100, b = 10, wr = 45, wl = 35, w = 100, e = 5;
  MomentumBalance(&n11, &nsub, &b, &wr, &wl, &w, &e, &nl, &nr);
  EXPECT_NEAR(nl, -100.0, 1e-12);
  EXPECT_NEAR(nr, -100.0, 1e-12);
  // Forces balance for an uneven split too.
  const double patch = -40.0;
  MomentumBalance(&n11, &patch, &b, &wr, &wl, &w, &e, &nl, &nr);
  EXPECT_NEAR(nl * wl + nr * wr + 2 * b * patch, n11 * w, 1e-10);
  EXPECT_NE(nl, nr);

  // Two sublaminates of half the laminate: with both unbuckled and e = 0
  // nothing moves and the strips carry the laminate force.
  const std::vector<double> abd = abd_of(plate_a, plate_d, 2.0);
  const std::vector<double> half = abd_of(plate_a, plate_d);
  std::vector<double> sub(72);
  for (int j = 0; j < 36; ++j) sub[std::size_t(2 * j)] = sub[std::size_t(2 * j + 1)] = half[std::size_t(j)];
  const double f = -200.0, l1 = -100.0, l2 = -100.0;
  std::vector<double> forces(18, 0.0);
  forces[0] = f, forces[1] = l1, forces[2] = l2;
  double nsub1 = 0, nsub2 = 0, dd = 0, ie1 = 0, ie2 = 0;
  const double left = 40, right = 40, dmg = 20, zero = 0.0, r = 0.25;
  ForceTransfer(abd.data(), sub.data(), forces.data(), &l1, &l2, &w, &left, &right, &dmg, &w, &zero,
                &nl, &nr, &nsub1, &nsub2, &dd, &ie1, &ie2, &r);
  EXPECT_EQ(dd, 0.0);
  EXPECT_EQ(ie1 + ie2, 0.0);
  EXPECT_NEAR(nl, f, 1e-12);
  EXPECT_NEAR(nr, f, 1e-12);
  const double shed_early = -60.0;
  // More compression than the laminate gives is no buckling: nothing moves.
  const double squeezed = -120.0;
  ForceTransfer(abd.data(), sub.data(), forces.data(), &squeezed, &l2, &w, &left, &right, &dmg, &w, &zero,
                &nl, &nr, &nsub1, &nsub2, &dd, &ie1, &ie2, &r);
  EXPECT_EQ(dd, 0.0);
  EXPECT_EQ(nsub1, -120.0);
  // Sublaminate 2 buckled alone: its share is r·A11.
  ForceTransfer(abd.data(), sub.data(), forces.data(), &l1, &shed_early, &w, &left, &right, &dmg, &w,
                &zero, &nl, &nr, &nsub1, &nsub2, &dd, &ie1, &ie2, &r);
  EXPECT_DOUBLE_EQ(nsub2, -60.0 + 0.25 * 5e4 * (-40.0 * 20.0 / (80.0 * 1e5 + 20.0 * (5e4 + 0.25 * 5e4))));
  // Sublaminate 1 buckled at -60: it sheds 40·20 to the strips and to its
  // partner at the stiffness shares r·A11 and A11.
  const double shed = -60.0;
  ForceTransfer(abd.data(), sub.data(), forces.data(), &shed, &l2, &w, &left, &right, &dmg, &w, &zero,
                &nl, &nr, &nsub1, &nsub2, &dd, &ie1, &ie2, &r);
  const double expected = -40.0 * 20.0 / (80.0 * 1e5 + 20.0 * (0.25 * 5e4 + 5e4));
  EXPECT_DOUBLE_EQ(dd, expected);
  EXPECT_DOUBLE_EQ(nsub1, -60.0 + 0.25 * 5e4 * expected);
  EXPECT_DOUBLE_EQ(nsub2, -100.0 + 5e4 * expected);
  EXPECT_DOUBLE_EQ(ie1, 0.5 * (-60.0 + nsub1) * expected);
  EXPECT_DOUBLE_EQ(ie2, 0.5 * (-100.0 + nsub2) * expected);

  // The side strips' extra shortening; refused where it divides by zero.
  double dx = 1.0;
  const double dof[6] = {-0.001, 0, 0, 0, 0, 0}, a = 25, bb = 10, wid = 100;
  const double nleft = -50, nright = -50, sl = 35, sr = 45;
  EquivDisp(abd.data(), &a, &bb, &wid, dof, &zero, &nleft, &nright, &sl, &sr, &dx);
  EXPECT_DOUBLE_EQ(dx, 50.0 * -0.001 * std::sqrt((0.25 * 35 + 0.25 * 45) / 80.0));
  const double wide = 50.0;
  EquivDisp(abd.data(), &a, &wide, &wid, dof, &zero, &nleft, &nright, &sl, &sr, &dx);
  EXPECT_EQ(dx, 0.0);
  EXPECT_EQ(status(), -2);
}

// Two equal sublaminates that do not buckle release nothing.
TEST_F(Delisio, ReleaseRatesWithoutBuckling) {
  constexpr double stiff_d[3][3] = {{1e7, 3e6, 0}, {3e6, 1e7, 0}, {0, 0, 3.5e6}};
  const std::vector<double> abd = abd_of(plate_a, stiff_d, 2.0), half = abd_of(plate_a, stiff_d);
  std::vector<double> sub(72);
  for (int j = 0; j < 36; ++j) sub[std::size_t(2 * j)] = sub[std::size_t(2 * j + 1)] = half[std::size_t(j)];
  for (double eps : {-1e-4, -1e-3})
    for (double e : {0.0, 5.0}) {
      const double dof[6] = {eps, 0, 0, 0, 0, 0};
      std::vector<double> forces(18, 0.0);
      forces[0] = 1e5 * eps, forces[1] = forces[2] = 5e4 * eps;
      const double a = 25, b = 10, width = 100, length = 200, area = 0, da = 1.0, db = 0.1;
      double g[4] = {1, 1, 1, 1};
      EnergyReleaseRate(dof, abd.data(), sub.data(), &a, &b, &width, &length, &area, forces.data(), &g[0],
                        &g[1], &g[2], &g[3], &e, &da, &db, nullptr, nullptr);
      for (double gi : g) EXPECT_LT(std::abs(gi), 1e-10) << eps << " " << e;
    }
  EXPECT_EQ(status(), 0);
  // The limits of the model: a patch as wide as the strip.
  const double dof[6] = {-1e-3, 0, 0, 0, 0, 0}, forces[18] = {-100, -50, -50};
  const double a = 25, b = 49.95, width = 100, length = 200, area = 0;
  double g[4] = {1, 1, 1, 1};
  EnergyReleaseRate(dof, abd.data(), sub.data(), &a, &b, &width, &length, &area, forces, &g[0], &g[1],
                    &g[2], &g[3], nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(g[0] + g[1] + g[2] + g[3], 0.0);
  EXPECT_EQ(take(), latch(-2, "Delamination outside the strip or no laminate load"));
}

// A [0/90/90/0]-type strip of one ply material, delaminated above ply 1.
struct CompressionStrip {
  std::vector<double> layup{0.0, 90.0, 90.0, 0.0}, props = ply_props(0.2, 2.5, 1e-3);
  double tply = 0.125, length = 200, width = 100, offset = 0;
  int interface = 1, nplies = 4, nprops = 12, ndof = 6;
};

TEST_F(Delisio, CompressionGrowthThroughCycles) {
  const CompressionStrip s;
  const double dof[6] = {-0.004, 0, 0, 0, 0, 0}, dmgwidth = 20, dmglength = 50, inc = 0.1, ratio = 0.1;
  int total = 10, jump = 3;
  std::vector<double> r(13 * 12, -7.0);
  DelaCompGrowth(s.layup.data(), &s.tply, dof, &s.interface, s.props.data(), &s.length, &s.width,
                 &s.offset, r.data(), &dmgwidth, &dmglength, &total, &s.nplies, &s.nprops, &s.ndof,
                 &jump, &ratio, &inc);
  const double cycles[] = {0, 3, 6, 9, 12};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(r[std::size_t(13 * c)], cycles[c]);
  for (std::size_t i = 13 * 5; i < 13 * 11; ++i) EXPECT_EQ(r[i], 0.0);  // unused columns zeroed
  EXPECT_EQ(r[13 * 11], -7.0);  // nothing past results(13, totalcycles+1)
  EXPECT_EQ(r[3], 50.0);        // column 1: the starting size and area
  EXPECT_EQ(r[5], 1000.0);
  // The thin outer sublaminate buckles and the delamination grows in length:
  // the size follows its own rate, length_k = length_(k-1) + 2·3·da/dN.
  EXPECT_GT(r[13 + 8], 0.0);
  for (int c = 1; c < 5; ++c) {
    const double* col = &r[std::size_t(13 * c)];
    EXPECT_DOUBLE_EQ(col[3], col[3 - 13] + 2.0 * 3.0 * col[6]);
    EXPECT_DOUBLE_EQ(col[6], 1e-3 * std::pow(col[8] > 0 ? col[8] : 0.0, 2.5));
  }
  EXPECT_EQ(status(), 0);

  // No cycles: column 1 only.  A cycle step below 1 or a negative count:
  // refused, the first keeping column 1 and the second writing nothing.
  total = 0;
  std::fill(r.begin(), r.end(), -7.0);
  DelaCompGrowth(s.layup.data(), &s.tply, dof, &s.interface, s.props.data(), &s.length, &s.width,
                 &s.offset, r.data(), &dmgwidth, &dmglength, &total, &s.nplies, &s.nprops, &s.ndof,
                 &jump, &ratio, &inc);
  EXPECT_EQ(r[1], r[1]);
  EXPECT_EQ(r[13], -7.0);
  total = 5, jump = 0;
  DelaCompGrowth(s.layup.data(), &s.tply, dof, &s.interface, s.props.data(), &s.length, &s.width,
                 &s.offset, r.data(), &dmgwidth, &dmglength, &total, &s.nplies, &s.nprops, &s.ndof,
                 &jump, &ratio, &inc);
  EXPECT_EQ(r[3], 50.0);
  EXPECT_EQ(r[13 + 3], 0.0);
  EXPECT_EQ(take(), latch(-2, "Cycle step below 1 in DelaCompGrowth"));
  total = -1;
  std::fill(r.begin(), r.end(), -7.0);
  DelaCompGrowth(s.layup.data(), &s.tply, dof, &s.interface, s.props.data(), &s.length, &s.width,
                 &s.offset, r.data(), &dmgwidth, &dmglength, &total, &s.nplies, &s.nprops, &s.ndof,
                 &jump, &ratio, &inc);
  EXPECT_EQ(r[0], -7.0);
  EXPECT_EQ(take(), latch(-2, "Negative cycle count in DelaCompGrowth"));
  // An interface on a face of the stack splits off no sublaminate.
  total = 2, jump = 1;
  const int top = 4;
  DelaCompGrowth(s.layup.data(), &s.tply, dof, &top, s.props.data(), &s.length, &s.width, &s.offset,
                 r.data(), &dmgwidth, &dmglength, &total, &s.nplies, &s.nprops, &s.ndof, &jump, &ratio,
                 &inc);
  EXPECT_EQ(take(), latch(-2, "Delamination interface outside the stack"));
  EXPECT_EQ(r[13 * 2 + 12], 0.0);  // every column of results(13, 3) zeroed
}

// An unbuckled stack gives release rates of ±1e-14 or so: the rate law
// never sees the negative ones (a non-integer exponent would make NaN).
TEST_F(Delisio, RateLawSeesNoNegativeReleaseRate) {
  const CompressionStrip s;
  const double dof[6] = {-1e-6, 0, 0, 0, 0, 0}, dmgwidth = 2, dmglength = 2, inc = 0.1, ratio = 0.1;
  const int total = 20, jump = 1;
  std::vector<double> r(13 * 21);
  DelaCompGrowth(s.layup.data(), &s.tply, dof, &s.interface, s.props.data(), &s.length, &s.width,
                 &s.offset, r.data(), &dmgwidth, &dmglength, &total, &s.nplies, &s.nprops, &s.ndof,
                 &jump, &ratio, &inc);
  for (double v : r) EXPECT_FALSE(std::isnan(v));
  EXPECT_GE(r[13 * 20 + 3], 2.0);
}

TEST_F(Delisio, CompressionAllowables) {
  const CompressionStrip s;
  // Row i: the delamination at the interface above ply i (width, length).
  const double sizes[6] = {20, 0, 1e-3, 50, 0, 1e-3};
  const int ninter = 3;
  double allowable = 0, force[3], strains[3], eps[3 * 6 * 100];
  const double step = -0.001, inc = 0.1, life = 1.0;
  ::testing::internal::CaptureStdout();
  Find_Allowable_nogrowth_comp(s.layup.data(), &s.tply, &s.offset, &s.length, &s.width, s.props.data(),
                               &allowable, force, eps, sizes, strains, &s.nplies, &s.nprops, &ninter,
                               &step, &inc, &life);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, " ERR for a life of  Ncycles  cycles is  0.20000000000000001\n");
  // Interface 2 has no delamination; interface 3's tiny one never reaches
  // the limit in 100 steps: no allowable, skipped.
  EXPECT_EQ(strains[1], 0.0);
  EXPECT_EQ(force[1], 0.0);
  EXPECT_TRUE(std::isnan(strains[2]) && std::isnan(force[2]));
  EXPECT_LT(strains[0], 0.0);
  EXPECT_EQ(allowable, strains[0]);
  // The interpolation between the steps that bracket the limit.
  int j = 1;
  auto err = [&](int step_j) {
    const double gx = eps[0 + 3 * (1 + 6 * (step_j - 1))], gy = eps[0 + 3 * (2 + 6 * (step_j - 1))];
    return std::max(gx, gy);
  };
  while (err(j) <= 0.2) ++j;
  const double ej = err(j), eb = j > 1 ? err(j - 1) : 0.0;
  EXPECT_DOUBLE_EQ(strains[0], -0.001 * j - 0.001 * (0.2 - ej) / (ej - eb));
  EXPECT_EQ(eps[0 + 3 * 6 * (j - 1)], -0.001 * j);

  // No interface at all; a life below one cycle.
  const int none = 0;
  const double half = 0.5;
  ::testing::internal::CaptureStdout();
  Find_Allowable_nogrowth_comp(s.layup.data(), &s.tply, &s.offset, &s.length, &s.width, s.props.data(),
                               &allowable, force, eps, sizes, strains, &s.nplies, &s.nprops, &none,
                               &step, &inc, &half);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            " Invalid number of cycles was given\n Static limit is calculated\n"
            " ERR for a life of  Ncycles  cycles is  0.20000000000000001\n");
  EXPECT_EQ(allowable, -std::numeric_limits<double>::max());
  // Absent step, increment and life: -0.001, 0.1 and the static limit.
  double again = 0, f2[3], s2[3];
  ::testing::internal::CaptureStdout();
  Find_Allowable_nogrowth_comp(s.layup.data(), &s.tply, &s.offset, &s.length, &s.width, s.props.data(),
                               &again, f2, eps, sizes, s2, &s.nplies, &s.nprops, &ninter, nullptr,
                               nullptr, nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            " ERR for a life of  Ncycles  cycles is  0.20000000000000001\n");
  EXPECT_EQ(again, strains[0]);
  EXPECT_EQ(f2[0], force[0]);
}

// The width perturbation matters once a sublaminate buckles: absent it is 0.1.
TEST_F(Delisio, ReleaseRateDefaults) {
  const std::vector<double> abd = abd_of(plate_a, plate_d, 2.0), half = abd_of(plate_a, plate_d);
  std::vector<double> sub(72);
  for (int j = 0; j < 36; ++j) sub[std::size_t(2 * j)] = sub[std::size_t(2 * j + 1)] = half[std::size_t(j)];
  const double dof[6] = {-0.005, 0, 0, 0, 0, 0}, forces[18] = {-500, -250, -250};
  const double a = 25, b = 10, width = 100, length = 200, area = 0, e = 0, da = 0.1, db = 0.1, db2 = 0.2;
  double g[4], h[4], k[4];
  EnergyReleaseRate(dof, abd.data(), sub.data(), &a, &b, &width, &length, &area, forces, &g[0], &g[1],
                    &g[2], &g[3], nullptr, nullptr, nullptr, nullptr, nullptr);
  EnergyReleaseRate(dof, abd.data(), sub.data(), &a, &b, &width, &length, &area, forces, &h[0], &h[1],
                    &h[2], &h[3], &e, &da, &db, nullptr, nullptr);
  EnergyReleaseRate(dof, abd.data(), sub.data(), &a, &b, &width, &length, &area, forces, &k[0], &k[1],
                    &k[2], &k[3], &e, &da, &db2, nullptr, nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(g[i], h[i]);
  EXPECT_GT(g[1], 0.0);
  EXPECT_NE(k[1], g[1]);
  EXPECT_EQ(g[2], g[3]);  // a centred patch grows alike to both sides
  EXPECT_EQ(status(), 0);
}

TEST_F(Delisio, FibreCrackReleaseRates) {
  // An isotropic ply: the principal strains and stresses share directions,
  // so G_dir = ½·t·ε'_dir·σ'_dir / (2 inner, 1 outer).
  const double e = 70000, nu = 0.3, t = 0.25;
  std::vector<double> props = {e, e, e, nu, nu, nu, e / 2.6, e / 2.6, e / 2.6, 0.2, 1.0, 1.0};
  const std::vector<double> layup = {0.0, 30.0, 30.0, 0.0};
  const double dof[6] = {0.001, 0.0002, 0.0006, 0, 0, 0};
  const double mean = 0.0006, radius = std::hypot(0.0004, 0.0003);
  const double e1 = mean + radius, e2 = mean - radius, q = e / (1 - nu * nu);
  const double s1 = q * (e1 + nu * e2), s2 = q * (e2 + nu * e1);
  const int n = 4, np = 12, nd = 6, total = 0, jump = 1;
  const double zero = 0, width = 10, length = 20, crack = 2;
  std::vector<double> r(13 * 1000);
  for (int ply : {2, 1}) {
    delaTension(layup.data(), &t, dof, &ply, props.data(), &zero, &zero, &zero, r.data(), &width, &length,
                &crack, &total, &n, &np, &nd, &jump, &zero, nullptr);
    const double factor = ply == 1 ? 1.0 : 2.0;
    EXPECT_NEAR(r[6], 0.5 * t * e1 * s1 / factor, 1e-12 * s1 * t * e1);
    EXPECT_NEAR(r[8], 0.5 * t * e2 * s2 / factor, 1e-12 * s1 * t * e1);
    EXPECT_EQ(r[9], 1.0);  // (c1/G1)^c2 with the default (1, 0)
    // Area growth rate 1: 2·l·cos θ·da/dN, θ = ply angle − α, tan 2α = γ/(εx − εy).
    const double theta = (layup[std::size_t(ply - 1)] - 0.5 * std::atan(0.75) * 180.0 / pi) * pi / 180.0;
    EXPECT_NEAR(r[7], 2.0 * crack * std::cos(theta) * r[6], 1e-13 * std::abs(r[7]));
    EXPECT_DOUBLE_EQ(r[5], pi / 4 * 200);
  }
  // α = 0 where the ply's in-plane stress is hydrostatic: θ is the ply angle.
  const double hydro[6] = {0.001, 0.001, 0, 0, 0, 0};
  const int ply = 2;
  delaTension(layup.data(), &t, hydro, &ply, props.data(), &zero, &zero, &zero, r.data(), &width, &length,
              &crack, &total, &n, &np, &nd, &jump, &zero, nullptr);
  EXPECT_NEAR(r[6], 0.5 * t * 0.001 * q * 1.3e-3 / 2, 1e-15);
  EXPECT_FALSE(std::isnan(r[7]));
  EXPECT_EQ(status(), 0);
}

TEST_F(Delisio, TensionGrowthThroughCycles) {
  const std::vector<double> layup = {0, 45, -45, 90}, props = ply_props(0.2, 2.0, 1e-3);
  const double t = 0.125, zero = 0, width = 1, length = 2, crack = 1, dof[6] = {0.004, 0, 0, 0, 0, 0};
  const double paris[2] = {0.5, 2.0};
  const int n = 4, np = 12, nd = 6, ply = 3;
  std::vector<double> r(13 * 1000 + 13, -7.0);
  // Without a cycle step: totalcycles/10.
  int total = 25;
  delaTension(layup.data(), &t, dof, &ply, props.data(), &zero, &zero, &zero, r.data(), &width, &length,
              &crack, &total, &n, &np, &nd, nullptr, &zero, paris);
  for (int c = 0; c <= 12; ++c) EXPECT_EQ(r[std::size_t(13 * c)], 2.0 * c);
  EXPECT_EQ(r[13 * 13], 0.0);
  EXPECT_DOUBLE_EQ(r[9], std::pow(0.5 / r[6], 2.0));
  const double g1 = r[6], rate1 = 1e-3 * g1 * g1;
  EXPECT_DOUBLE_EQ(r[13 + 3], 2.0 + 2.0 * rate1);
  EXPECT_DOUBLE_EQ(r[13 + 6], g1);
  EXPECT_EQ(r[13 + 9], 0.0);
  // 5000 cycles one by one: the table ends at column 1000, nothing beyond.
  total = 5000;
  const int step = 1;
  delaTension(layup.data(), &t, dof, &ply, props.data(), &zero, &zero, &zero, r.data(), &width, &length,
              &crack, &total, &n, &np, &nd, &step, &zero, nullptr);
  EXPECT_EQ(r[13 * 999], 999.0);
  EXPECT_EQ(r[13 * 1000], -7.0);
  EXPECT_EQ(take(), latch(-2, "More cycle steps than result columns in delaTension"));
  const int bad = 0;
  total = 10;
  delaTension(layup.data(), &t, dof, &ply, props.data(), &zero, &zero, &zero, r.data(), &width, &length,
              &crack, &total, &n, &np, &nd, &bad, &zero, nullptr);
  EXPECT_EQ(r[13], 0.0);
  EXPECT_EQ(take(), latch(-2, "Cycle step below 1 in delaTension"));
  // A refused crack position: zero results, every column.
  const int outside = 5;
  std::fill(r.begin(), r.end(), -7.0);
  delaTension(layup.data(), &t, dof, &outside, props.data(), &zero, &zero, &zero, r.data(), &width,
              &length, &crack, &total, &n, &np, &nd, &bad, &zero, nullptr);
  EXPECT_EQ(r[0] + r[1] + r[13 * 999 + 12], 0.0);
  EXPECT_EQ(take(), latch(-2, "Cracked ply outside the stack"));
}

TEST_F(Delisio, TensionAllowables) {
  // Eight 0° plies with a crack in ply 4.
  const std::vector<double> layup(8, 0.0), props = ply_props();
  std::vector<double> crack(8, 0.0);
  crack[3] = 1.0;
  const double t = 0.125, zero = 0, sizes[2] = {10, 10}, step = -0.001, life = 1.0;
  const int n = 8, np = 12, one = 1;
  double per_ply[8], force[8], allowable = 0;
  Find_Allowable_nogrowth_tension(layup.data(), &t, &zero, &zero, &zero, props.data(), crack.data(), sizes,
                                  &n, &np, &one, per_ply, &allowable, force, &step, &life);
  EXPECT_DOUBLE_EQ(per_ply[3], 0.006724646781789639);
  EXPECT_DOUBLE_EQ(allowable, 0.006724646781789639);
  EXPECT_DOUBLE_EQ(force[3], 947.5418901730908);
  EXPECT_EQ(per_ply[0], 0.0);
  // An outer crack releases twice as much: it reaches the limit sooner.
  crack[3] = 0.0, crack[0] = 1.0;
  Find_Allowable_nogrowth_tension(layup.data(), &t, &zero, &zero, &zero, props.data(), crack.data(), sizes,
                                  &n, &np, &one, per_ply, &allowable, force, &step, &life);
  EXPECT_NEAR(per_ply[0], 0.0067394664598368 / std::sqrt(2.0), 2e-5);
  // A limit never reached: no allowable; no crack at all: the largest double.
  std::vector<double> tough = ply_props(1e9);
  Find_Allowable_nogrowth_tension(layup.data(), &t, &zero, &zero, &zero, tough.data(), crack.data(), sizes,
                                  &n, &np, &one, per_ply, &allowable, force, &step, &life);
  EXPECT_TRUE(std::isnan(per_ply[0]) && std::isnan(allowable));
  std::fill(crack.begin(), crack.end(), 0.0);
  Find_Allowable_nogrowth_tension(layup.data(), &t, &zero, &zero, &zero, props.data(), crack.data(), sizes,
                                  &n, &np, &one, per_ply, &allowable, force, &step, &life);
  EXPECT_EQ(allowable, std::numeric_limits<double>::max());
  // Exceeded at the first step: interpolated from zero strain, force and G.
  crack[3] = 1.0;
  std::vector<double> brittle = ply_props(1e-6);
  Find_Allowable_nogrowth_tension(layup.data(), &t, &zero, &zero, &zero, brittle.data(), crack.data(),
                                  sizes, &n, &np, &one, per_ply, &allowable, force, nullptr, nullptr);
  std::vector<double> r(13 * 1000);
  const double first[6] = {0.001, 0, 0, 0, 0, 0}, c = 1.0;
  const int ply = 4, nd = 6, total = 1;
  delaTension(layup.data(), &t, first, &ply, brittle.data(), &zero, &zero, &zero, r.data(), &c, &c, &c, &total, &n,
              &np, &nd, nullptr, nullptr, nullptr);
  const double g1 = std::max(r[6], r[8]);
  EXPECT_DOUBLE_EQ(per_ply[3], 0.001 + 0.001 * (1e-6 - g1) / g1);
  EXPECT_DOUBLE_EQ(force[3], r[1] + (1e-6 - g1) * r[1] / g1);
  EXPECT_EQ(status(), 0);
  (void)nan_value;
}

}  // namespace
}  // namespace tavrin
