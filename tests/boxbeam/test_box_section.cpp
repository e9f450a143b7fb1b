// Section properties and axial force flows of small sections whose values
// follow by hand from thin-walled beam theory, the invariances of those
// values, and the sections the analysis refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>
#include <vector>

#include "boxbeam/box_data.hpp"
#include "boxbeam/box_main.hpp"
#include "foundation/numerics_support.hpp"

namespace tavrin::boxbeam {
namespace {

struct Boom {
  double y, z, b = 0.0, mu = 0.0;
};
struct Wall {
  int from, to;
  double bk = 1000.0, gk = 400.0, rho = 0.002;
};
struct Loads {
  double qx = 0, qy = 0, qz = 0, mx = 0, my = 0, mz = 0;
};

// Writes a one-cell (or open) section into the data groups and runs it.
void run(const std::vector<Boom>& booms, const std::vector<Wall>& walls,
         const std::vector<int>& cell, const Loads& q = {}) {
  gurt::ig = int(booms.size());
  for (int i = 1; i <= gurt::ig; ++i) {
    const Boom& b = booms[std::size_t(i - 1)];
    gurt::yi(i) = b.y;
    gurt::zi(i) = b.z;
    gurt::bi(i) = b.b;
    gurt::myi(i) = b.mu;
  }
  wand::kw = int(walls.size());
  for (int k = 1; k <= wand::kw; ++k) {
    const Wall& w = walls[std::size_t(k - 1)];
    wand::ig1(k) = w.from;
    wand::ig2(k) = w.to;
    wand::yk0(k) = booms[std::size_t(w.from - 1)].y;
    wand::zk0(k) = booms[std::size_t(w.from - 1)].z;
    wand::yklk(k) = booms[std::size_t(w.to - 1)].y;
    wand::zklk(k) = booms[std::size_t(w.to - 1)].z;
    wand::bk(k) = w.bk;
    wand::gk(k) = w.gk;
    wand::rhok(k) = w.rho;
  }
  zelle::az = cell.empty() ? 0 : 1;
  if (!cell.empty()) {
    zelle::iak(1) = int(cell.size());
    for (std::size_t j = 0; j < cell.size(); ++j) zelle::ia(int(j) + 1, 1) = cell[j];
  }
  spanug::qqx = q.qx, spanug::qqy = q.qy, spanug::qqz = q.qz;
  spanug::qmx = q.mx, spanug::qmy = q.my, spanug::qmz = q.mz;
  get_equivalent_xsection();
}

const std::vector<Wall> ring4 = {{1, 2}, {2, 3}, {3, 4}, {4, 1}};
const std::vector<int> cell4 = {1, 2, 3, 4};
std::vector<Boom> box(double dy = 0, double dz = 0, double b = 0, double mu = 0) {
  return {{0 + dy, 0 + dz, b, mu}, {4 + dy, 0 + dz, b, mu}, {4 + dy, 2 + dz, b, mu}, {0 + dy, 2 + dz, b, mu}};
}
const Loads box_loads{1000, 100, 200, 300, 4000, 5000};

class BoxSection : public testing::LatchTest {
 protected:
  void SetUp() override {
    LatchTest::SetUp();
    initialize(nullptr, nullptr, nullptr);
  }
};

TEST_F(BoxSection, WallsOnlyBox) {
  run(box(), ring4, cell4, box_loads);
  EXPECT_EQ(status(), 0);
  EXPECT_NEAR(quer::bx, 12000.0, 1e-9);
  EXPECT_NEAR(quer::m, 0.024, 1e-15);
  EXPECT_NEAR(quer::ys, 2.0, 1e-14);
  EXPECT_NEAR(quer::zs, 1.0, 1e-14);
  EXPECT_NEAR(quer::yt, 2.0, 1e-14);
  EXPECT_NEAR(quer::zt, 1.0, 1e-14);
  EXPECT_NEAR(quer::dyy, 28000.0 / 3, 1e-9);
  EXPECT_NEAR(quer::dzz, 80000.0 / 3, 1e-9);
  EXPECT_EQ(quer::dzy, 0.0);
  EXPECT_EQ(quer::alpha, 0.0);
  EXPECT_NEAR(quer::dyyste, 28000.0 / 3, 1e-9);
  EXPECT_NEAR(quer::dzzste, 80000.0 / 3, 1e-9);
  EXPECT_NEAR(quer::itt, 0.072, 1e-15);
  const double nx0[] = {286.904762, -763.095238, -120.238095, 929.761905};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_NEAR(kraft::nx0(k), nx0[k - 1], 5e-7) << k;
    EXPECT_NEAR(kraft::nxl(k), nx0[k % 4], 5e-7) << k;  // wall k ends where k+1 starts
    EXPECT_NEAR(kraft::nxl2(k), 0.5 * (nx0[k - 1] + nx0[k % 4]), 5e-7) << k;
    for (int j = 1; j <= 3; ++j) EXPECT_DOUBLE_EQ(epigam::epi(k, j) * 1000.0, (j == 1 ? kraft::nx0(k) : j == 2 ? kraft::nxl2(k) : kraft::nxl(k)));
  }
}

TEST_F(BoxSection, BoxWithCornerBooms) {
  run(box(0, 0, 500, 0.01), ring4, cell4, box_loads);
  EXPECT_NEAR(quer::bx, 14000.0, 1e-9);
  EXPECT_NEAR(quer::m, 0.064, 1e-15);
  EXPECT_NEAR(quer::dyy, 11333.333333333, 1e-6);
  EXPECT_NEAR(quer::dzz, 34666.666666667, 1e-6);
  // itt: walls 0.072 plus four booms of 0.01 at distance^2 5 from the centre.
  EXPECT_NEAR(quer::itt, 0.072 + 4 * 0.01 * 5, 1e-14);
  const double n[] = {105.284421, -298.561732, -33.855850, 369.990304};
  for (int i = 1; i <= 4; ++i) EXPECT_NEAR(epigam::epigu(i) * gurt::bi(i), n[i - 1], 5e-7) << i;
}

// Resultants of the force flows about the reference axes: Simpson's rule is
// exact on the linear flow along a straight wall.
struct Resultant {
  double n = 0, my = 0, mz = 0;
};
Resultant resultant() {
  Resultant r;
  for (int i = 1; i <= gurt::ig; ++i) {
    const double n = epigam::epigu(i) * gurt::bi(i);
    r.n += n, r.my += n * gurt::zi(i), r.mz -= n * gurt::yi(i);
  }
  for (int k = 1; k <= wand::kw; ++k) {
    const double l = std::hypot(wand::yklk(k) - wand::yk0(k), wand::zklk(k) - wand::zk0(k));
    const double y[] = {wand::yk0(k), 0.5 * (wand::yk0(k) + wand::yklk(k)), wand::yklk(k)};
    const double z[] = {wand::zk0(k), 0.5 * (wand::zk0(k) + wand::zklk(k)), wand::zklk(k)};
    const double f[] = {kraft::nx0(k), kraft::nxl2(k), kraft::nxl(k)};
    for (int j = 0; j < 3; ++j) {
      const double w = (j == 1 ? 4.0 : 1.0) * l / 6.0;
      r.n += w * f[j], r.my += w * f[j] * z[j], r.mz -= w * f[j] * y[j];
    }
  }
  return r;
}

TEST_F(BoxSection, FlowsCarryTheSectionLoads) {
  // An unsymmetric section, so that the principal axes are rotated.
  const std::vector<Boom> booms = {{0, 0, 700, 0.01}, {5, 0, 100, 0.0}, {4, 3, 300, 0.02}, {-1, 2, 0, 0.0}};
  std::vector<Wall> walls = ring4;
  walls[1].bk = 2500, walls[3].bk = 0.0;
  run(booms, walls, cell4, box_loads);
  EXPECT_NE(quer::alpha, 0.0);
  const Resultant r = resultant();
  EXPECT_NEAR(r.n, 1000.0, 1e-9);
  EXPECT_NEAR(r.my, 4000.0, 1e-8);
  EXPECT_NEAR(r.mz, 5000.0, 1e-8);
  // Zero-stiffness boom and wall: strains 0, the wall's flows still computed (zero).
  EXPECT_EQ(epigam::epigu(4), 0.0);
  for (int j = 1; j <= 3; ++j) EXPECT_EQ(epigam::epi(4, j), 0.0);
}

TEST_F(BoxSection, InvariantUnderTranslationReversalAndScaling) {
  const std::vector<Boom> base = {{0, 0, 700, 0.01}, {5, 0, 100, 0.03}, {4, 3, 300, 0.02}, {-1, 2, 0, 0.0}};
  run(base, ring4, cell4);
  const double ref[] = {quer::bx, quer::dyy, quer::dzy, quer::dzz, quer::alpha, quer::itt,
                        quer::ys, quer::zs, quer::yt, quer::zt, quer::dyyste, quer::dzzste};

  std::vector<Boom> moved = base;
  for (Boom& b : moved) b.y += 10, b.z -= 5;
  run(moved, ring4, cell4);
  EXPECT_NEAR(quer::ys, ref[6] + 10, 1e-12);
  EXPECT_NEAR(quer::zs, ref[7] - 5, 1e-12);
  EXPECT_NEAR(quer::yt, ref[8] + 10, 1e-12);
  EXPECT_NEAR(quer::zt, ref[9] - 5, 1e-12);
  const double now[] = {quer::bx, quer::dyy, quer::dzy, quer::dzz, quer::alpha, quer::itt};
  for (int j = 0; j < 6; ++j) EXPECT_NEAR(now[j], ref[j], 1e-9 * (1 + std::fabs(ref[j]))) << j;

  run(base, {{2, 1}, {2, 3}, {4, 3}, {4, 1}}, cell4);  // two walls reversed
  const double rev[] = {quer::bx, quer::dyy, quer::dzy, quer::dzz, quer::alpha, quer::itt};
  for (int j = 0; j < 6; ++j) EXPECT_NEAR(rev[j], ref[j], 1e-9 * (1 + std::fabs(ref[j]))) << j;

  std::vector<Boom> stiff = base;
  for (Boom& b : stiff) b.b *= 3;
  std::vector<Wall> walls = ring4;
  for (Wall& w : walls) w.bk *= 3;
  run(stiff, walls, cell4);
  EXPECT_NEAR(quer::bx, 3 * ref[0], 1e-9);
  EXPECT_NEAR(quer::dyy, 3 * ref[1], 1e-8);
  EXPECT_NEAR(quer::dzy, 3 * ref[2], 1e-8);
  EXPECT_NEAR(quer::dzz, 3 * ref[3], 1e-8);
  EXPECT_NEAR(quer::dyyste, 3 * ref[10], 1e-8);
  EXPECT_NEAR(quer::dzzste, 3 * ref[11], 1e-8);
}

TEST_F(BoxSection, EqualBendingStiffnessesTakeTheLimitAngle) {
  // Square with two diagonal booms: dyy = dzz, dzy > 0.
  const std::vector<Boom> sq = {{0, 0, 500}, {2, 0}, {2, 2, 500}, {0, 2}};
  run(sq, ring4, cell4, {0, 0, 0, 0, 1000, 0});
  EXPECT_NEAR(quer::dyy, quer::dzz, 1e-9);
  EXPECT_NEAR(quer::alpha, std::numbers::pi / 4, 1e-15);
  EXPECT_NEAR(quer::dyyste, 16000.0 / 3, 1e-9);
  EXPECT_NEAR(quer::dzzste, 22000.0 / 3, 1e-9);
  const Resultant r = resultant();
  EXPECT_NEAR(r.my, 1000.0, 1e-9);
  EXPECT_NEAR(r.mz, 0.0, 1e-9);

  const std::vector<Boom> mirrored = {{0, 0}, {2, 0, 500}, {2, 2}, {0, 2, 500}};
  run(mirrored, ring4, cell4);
  EXPECT_NEAR(quer::alpha, -std::numbers::pi / 4, 1e-15);
  EXPECT_NEAR(quer::dyyste, 16000.0 / 3, 1e-9);

  run({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, ring4, cell4);  // plain square: no preferred axis
  EXPECT_EQ(quer::alpha, 0.0);
  EXPECT_NEAR(quer::dyyste, quer::dzzste, 1e-9);
}

TEST_F(BoxSection, MasslessSectionHasNoCentreOfMass) {
  std::vector<Wall> walls = ring4;
  for (Wall& w : walls) w.rho = 0.0;
  run(box(), walls, cell4, box_loads);
  EXPECT_EQ(status(), -3);  // quantities that are no numbers fail the run
  EXPECT_EQ(quer::m, 0.0);
  EXPECT_TRUE(std::isnan(quer::yt));
  EXPECT_TRUE(std::isnan(quer::zt));
  EXPECT_NEAR(quer::bx, 12000.0, 1e-9);  // the stiffness results are unaffected
  EXPECT_NEAR(kraft::nx0(1), 286.904762, 5e-7);
}

TEST_F(BoxSection, OpenProfile) {
  // Channel: three walls, no cell; kw + 1 = ig.
  // The axial force acts at the stiffness centre (1.5, 4/7): uniform flow.
  run({{0, 2}, {0, 0}, {3, 0}, {3, 2}}, {{1, 2}, {2, 3}, {3, 4}}, {}, {600, 0, 0, 0, 600 * 4.0 / 7, -900});
  EXPECT_EQ(status(), 0);
  EXPECT_NEAR(quer::bx, 7000.0, 1e-9);
  for (int k = 1; k <= 3; ++k) EXPECT_NEAR(kraft::nx0(k), 600.0 / 7.0, 1e-12);
}

TEST_F(BoxSection, NodalForcesOfConstantFlows) {
  run(box(), ring4, cell4);
  for (int k = 1; k <= 4; ++k) {
    kraft::nx0(k) = kraft::nxl2(k) = kraft::nxl(k) = 30.0;
    kraft::t0(k) = kraft::tl2(k) = kraft::tl(k) = -6.0;
  }
  const auto p = wall_nodal_forces(4);
  ASSERT_EQ(p.size(), 4u);
  const double len[] = {4, 2, 4, 2}, dy[] = {4, 0, -4, 0}, dz[] = {0, 2, 0, -2};
  const double share[] = {1.0 / 6, 4.0 / 6, 1.0 / 6};
  for (int k = 0; k < 4; ++k)
    for (int j = 0; j < 3; ++j) {
      EXPECT_NEAR(p[std::size_t(k)][std::size_t(j)][0], 30.0 * len[k] * share[j], 1e-12);
      EXPECT_NEAR(p[std::size_t(k)][std::size_t(j)][1], -6.0 * dy[k] * share[j], 1e-12);
      EXPECT_NEAR(p[std::size_t(k)][std::size_t(j)][2], -6.0 * dz[k] * share[j], 1e-12);
    }
  // Linear flow n = s along a wall of length 2: nodal forces 0, 4*1*2/6, 2*2/6.
  kraft::nx0(2) = 0, kraft::nxl2(2) = 1, kraft::nxl(2) = 2;
  const auto q = wall_nodal_forces(2);
  EXPECT_NEAR(q[1][0][0], 0.0, 1e-14);
  EXPECT_NEAR(q[1][1][0], 8.0 / 6, 1e-14);
  EXPECT_NEAR(q[1][2][0], 4.0 / 6, 1e-14);
  EXPECT_EQ(wall_nodal_forces(9).size(), 4u);  // never beyond the walls in use
  EXPECT_EQ(wall_nodal_forces(-1).size(), 0u);
}

// ---------------------------------------------------------------------------
// Initialisation and refused sections.

TEST(BoxData, RunBeforeInitialisationIsRefused) {
  // In a freshly started process, where nothing was initialised yet.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        wand::kw = 1;
        get_equivalent_xsection();
        const bool refused = errorhandling::errstat == -2 && quer::bx == 0.0 &&
                             errorhandling::errstring.trimmed().find("box_initialize") != std::string_view::npos;
        std::exit(refused ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(BoxSection, CapacitiesDefaultAndRecord) {
  EXPECT_EQ(restr::maxwa, 100);
  EXPECT_EQ(restr::maxgu, 100);
  EXPECT_EQ(restr::maxze, 100);
  EXPECT_EQ(wand::yk0.size(1), 100);
  EXPECT_EQ(kraft::t0.size(1), 200);
  EXPECT_EQ(zelle::ia.size(1), 100);
  EXPECT_EQ(zelle::ia.size(2), 100);
  EXPECT_EQ(epigam::epi.size(2), 3);
  EXPECT_EQ(gurt::ig + wand::kw + zelle::az, 0);
}

TEST_F(BoxSection, SameCapacitiesKeepTheStorageOthersReplaceIt) {
  run(box(0, 0, 500, 0.01), ring4, cell4, box_loads);
  wand::e(3) = 7.0;
  const double* before = wand::bk.data();
  initialize(nullptr, nullptr, nullptr);
  EXPECT_EQ(wand::bk.data(), before);
  EXPECT_EQ(wand::bk(1), 0.0);
  EXPECT_EQ(kraft::nx0(1), 0.0);
  EXPECT_EQ(quer::bx, 0.0);
  EXPECT_EQ(spanug::qmz, 0.0);
  EXPECT_EQ(wand::e(3), 7.0);  // carried value, not reset
  EXPECT_EQ(gurt::ig, 0);

  const int nw = 150, ng = 120, nz = 3;
  initialize(&nw, &ng, &nz);
  EXPECT_EQ(restr::maxwa, 150);
  EXPECT_EQ(restr::maxgu, 120);
  EXPECT_EQ(restr::maxze, 3);
  EXPECT_EQ(wand::bk.size(1), 150);
  EXPECT_EQ(wand::e.size(1), 150);
  EXPECT_EQ(kraft::t0.size(1), 300);
  EXPECT_EQ(zelle::ia.size(1), 120);
  EXPECT_EQ(zelle::ia.size(2), 3);
  EXPECT_EQ(epigam::epigu.size(1), 120);
  for (double x : wand::bk) ASSERT_EQ(x, 0.0);
  wand::bk(150) = 1.0;  // the whole recorded capacity is addressable
  run(box(), ring4, cell4);
  EXPECT_NEAR(quer::bx, 12000.0, 1e-9);

  const int bad = -1;
  initialize(&bad, nullptr, nullptr);
  EXPECT_EQ(take().first, -2);
  EXPECT_EQ(restr::maxwa, 150);  // refused: nothing changed
  EXPECT_NEAR(quer::bx, 12000.0, 1e-9);
}

TEST_F(BoxSection, FaultySectionsAreRefusedWithZeroResults) {
  struct Case {
    const char* what;
    void (*spoil)();
  };
  const Case cases[] = {
      {"ig1 = 0", [] { wand::ig1(2) = 0; }},
      {"ig2 > ig", [] { wand::ig2(4) = 5; }},
      {"no wall", [] { wand::kw = 0; }},
      {"kw beyond capacity", [] { wand::kw = 101; }},
      {"ig beyond capacity", [] { gurt::ig = 101; }},
      {"negative ig", [] { gurt::ig = -1; }},
      {"az beyond capacity", [] { zelle::az = 101; }},
      {"iak beyond capacity", [] { zelle::iak(1) = 101; }},
      {"iak = 0", [] { zelle::iak(1) = 0; }},
      {"cell boom 0", [] { zelle::ia(3, 1) = 0; }},
      {"last cell boom beyond ig", [] { zelle::ia(4, 1) = 5; }},
      {"not connected", [] { zelle::az = 0; }},
  };
  for (const Case& c : cases) {
    run(box(0, 0, 500, 0.01), ring4, cell4, box_loads);
    EXPECT_EQ(errorhandling::errintv.allocated(), false);
    ASSERT_EQ(status(), 0) << c.what;
    ASSERT_NE(quer::bx, 0.0);
    c.spoil();
    get_equivalent_xsection();
    ASSERT_EQ(status(), -2) << c.what;
    const std::string_view what = c.what;
    if (what == "ig1 = 0") {
      EXPECT_EQ(errorhandling::errintv(1), 2);  // the wall
    } else if (what == "no wall") {
      EXPECT_EQ(errorhandling::errintv(1), 0);
    }
    reset();
    EXPECT_EQ(quer::bx, 0.0) << c.what;
    EXPECT_EQ(quer::dyy, 0.0) << c.what;
    EXPECT_EQ(kraft::nx0(1), 0.0) << c.what;
    EXPECT_EQ(epigam::epigu(1), 0.0) << c.what;
    initialize(nullptr, nullptr, nullptr);
  }
}

}  // namespace
}  // namespace tavrin::boxbeam
