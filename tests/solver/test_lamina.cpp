#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <thread>
#include <vector>

#include "foundation/linalg.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "solver/lamina.hpp"
#include "solver_support.hpp"

namespace tavrin {
namespace {

using testing::UmatCall;

// E1 = 140000, E2 = E3 = 10000, ν12 = ν13 = 0.3, ν23 = 0.45, G12 = G13 = 5000, G23 = E2/2.9.
const std::vector<double> ortho{140000, 10000, 10000, 0.3, 0.3, 0.45, 5000, 5000, 10000 / 2.9};

class Lamina : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::clear_latch();
    jobdata::stepid.deallocate();
    materialdata::peprops.deallocate();
  }
  void TearDown() override {
    jobdata::stepid.deallocate();
    jobdata::nsteps = 0;
    materialdata::peprops.deallocate();
    sectiondata::nplies = sectiondata::nsec = 1;
  }
};

TEST_F(Lamina, IsotropicClosedForms) {
  UmatCall u({1000.0, 0.25});
  u.dstran = {0.001, 0, 0, 0, 0, 0};
  u.stress = {9, 9, 9, 9, 9, 9};  // a secant law: the incoming stress plays no part
  u.run(umat_lamina);
  EXPECT_NEAR(u.stress[0], 1.2, 1e-15);
  EXPECT_NEAR(u.stress[1], 0.4, 1e-15);
  EXPECT_EQ(u.stress[3], 0.0);
  EXPECT_NEAR(u.d(1, 1), 1200.0, 1e-12);
  EXPECT_NEAR(u.d(1, 2), 400.0, 1e-12);
  EXPECT_NEAR(u.d(4, 4), 400.0, 1e-12);
  EXPECT_NEAR(u.sse, 6e-4, 1e-18);
  EXPECT_EQ(u.spd, 0.0);
  EXPECT_EQ(u.scd, 0.0);
  EXPECT_EQ(u.pnewdt, 0.5);
  EXPECT_EQ(std::vector<double>(u.statev.begin(), u.statev.begin() + 6), u.stress);

  u.stran = {0.0005, -0.00025, -0.00025, 0, 0, 0};  // total strain + increment: uniaxial
  u.dstran = {0.0005, 0, 0, 0, 0, 0};
  u.run(umat_lamina);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(u.stress[std::size_t(i)], i == 0 ? 1.0 : 0.0, 1e-15) << i;

  // Plane stress: slots 1, 2 and 4 receive σ11, σ22, σ12; slot 3 keeps its value.
  UmatCall p({1000.0, 0.25}, 3);
  p.statev[2] = 5.0;
  p.dstran = {0.001, 0.0, 0.002};
  p.run(umat_lamina);
  EXPECT_NEAR(p.d(1, 1), 1000.0 / 0.9375, 1e-10);
  EXPECT_NEAR(p.d(1, 2), 250.0 / 0.9375, 1e-10);
  EXPECT_NEAR(p.d(3, 3), 400.0, 1e-12);
  EXPECT_EQ(p.d(1, 3), 0.0);
  EXPECT_EQ(p.statev[0], p.stress[0]);
  EXPECT_EQ(p.statev[1], p.stress[1]);
  EXPECT_EQ(p.statev[2], 5.0);
  EXPECT_NEAR(p.statev[3], 0.8, 1e-15);

  // Five state variables or fewer: none written.
  UmatCall few({1000.0, 0.25}, 6, 5);
  few.dstran[0] = 0.001;
  few.run(umat_lamina);
  EXPECT_EQ(few.statev, std::vector<double>(5, 0.0));
  EXPECT_NEAR(few.stress[0], 1.2, 1e-15);
}

TEST_F(Lamina, OrthotropicStiffnessIsTheInverseCompliance) {
  UmatCall u(ortho);
  u.run(umat_lamina);
  EXPECT_NEAR(u.d(1, 1), 143351.0638, 5e-5);
  EXPECT_NEAR(u.d(2, 2), 12756.7865, 5e-5);
  EXPECT_NEAR(u.d(1, 2), 5585.106383, 5e-7);
  EXPECT_NEAR(u.d(2, 3), 5860.234776, 5e-7);
  EXPECT_NEAR(u.d(6, 6), 10000 / 2.9, 1e-10);
  const Mat6 s = lamina::compliance(lamina::PlyConstants::load(ortho.data()));
  const Mat6 ds = Mat6::load(u.ddsdde.data()) * s;
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) EXPECT_NEAR(ds(i, j), i == j ? 1.0 : 0.0, 1e-14) << i << j;
}

// D/D0 of a DIC step with the state slots set as given.
Mat6 degraded_ratio(std::initializer_list<std::pair<int, double>> slots, int nstatv = 18) {
  UmatCall base(ortho, 6, nstatv), dic(ortho, 6, nstatv);
  for (auto [k, v] : slots) dic.statev[std::size_t(k - 1)] = v;
  dic.jstep[0] = 2;
  base.run(umat_lamina);
  dic.run(umat_lamina);
  Mat6 r;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) r(i, j) = base.d(i, j) == 0.0 ? 0.0 : dic.d(i, j) / base.d(i, j);
  return r;
}

TEST_F(Lamina, DicStepDegradesByTheModeFlags) {
  const auto all = [](const Mat6& r, double f) {
    for (int j = 1; j <= 6; ++j)
      for (int i = 1; i <= 6; ++i)
        if (r(i, j) != 0.0 && std::abs(r(i, j) - f) > 1e-15 * f) return false;
    return true;
  };
  // Without a step table, or in a step of another kind, nothing is degraded.
  EXPECT_TRUE(all(degraded_ratio({{11, 1.0}}), 1.0));
  testing::set_step_kinds({1, 2});
  EXPECT_TRUE(all(degraded_ratio({{11, 1.0}}), 1.0));
  testing::set_step_kinds({1, 5});
  EXPECT_TRUE(all(degraded_ratio({}), 1.0));
  EXPECT_TRUE(all(degraded_ratio({{11, 1.0}}), 1e-20));               // core crushing
  EXPECT_TRUE(all(degraded_ratio({{12, 1.0}, {18, 0.25}}), 0.25));    // buckled, residual 0.25
  EXPECT_TRUE(all(degraded_ratio({{12, 1.0}, {18, 1.0}}), 1.0));
  EXPECT_TRUE(all(degraded_ratio({{8, 0.5}, {9, 0.5}}), 1.0));        // only exactly 1.0 counts
  // Fibre: D11, D12, D13 halved, G12 and G23 to 1e-20.
  const Mat6 fibre = degraded_ratio({{8, 1.0}});
  EXPECT_EQ(fibre(1, 1), 0.5);
  EXPECT_EQ(fibre(1, 3), 0.5);
  EXPECT_EQ(fibre(2, 2), 1.0);
  EXPECT_EQ(fibre(4, 4), 1e-20);
  EXPECT_EQ(fibre(6, 6), 1e-20);
  // Matrix cracking degrades D12, D22, G12, G13 and D23 (the flag reaches
  // the position the scheme reads).
  const Mat6 matrix = degraded_ratio({{9, 1.0}});
  for (auto [i, j] : {std::pair{1, 2}, {2, 2}, {4, 4}, {5, 5}, {2, 3}}) EXPECT_EQ(matrix(i, j), 1e-20) << i << j;
  for (auto [i, j] : {std::pair{1, 1}, {1, 3}, {3, 3}, {6, 6}}) EXPECT_EQ(matrix(i, j), 1.0) << i << j;
  // Delamination: the transverse shears.
  const Mat6 delam = degraded_ratio({{10, 1.0}});
  EXPECT_EQ(delam(5, 5), 1e-20);
  EXPECT_EQ(delam(6, 6), 1e-20);
  EXPECT_EQ(delam(4, 4), 1.0);
  EXPECT_EQ(errorhandling::errstat, 0);
  // Too few state variables for the flags: latched, undegraded.
  EXPECT_TRUE(all(degraded_ratio({{11, 1.0}}, 17), 1.0));
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(testing::latched_message(), "Too few state variables for the degradation of a DIC step.");
}

TEST_F(Lamina, OnePropertyTakesThePlyOfTheMaterialTables) {
  sectiondata::nplies = 4;
  sectiondata::nsec = 2;
  materialdata::peprops.allocate(9, 4, 2);
  for (int k = 0; k < 9; ++k) materialdata::peprops(k + 1, 2, 2) = ortho[std::size_t(k)];
  UmatCall u({0.0}, 6, 22);
  u.statev[20] = 2.9;  // ply 2
  u.statev[21] = 2.0;
  u.run(umat_lamina);
  EXPECT_NEAR(u.d(1, 1), 143351.0638, 5e-5);
  EXPECT_EQ(errorhandling::errstat, 0);

  // A ply beyond the plies, a section beyond the table, too few state
  // variables, no table: latched with a zero stiffness.
  const auto refused = [](UmatCall v) {
    testing::clear_latch();
    v.dstran[0] = 0.001;
    v.stress[0] = 5.0;
    v.run(umat_lamina);
    return errorhandling::errstat == -2 && v.stress[0] == 0.0 && v.sse == 0.0 && v.d(1, 1) == 0.0 &&
           testing::latched_message() == "Ply or section of the state variables outside the material tables.";
  };
  UmatCall bad = u;
  bad.statev[20] = 9.0;
  EXPECT_TRUE(refused(bad));
  bad.statev[20] = 0.5;
  EXPECT_TRUE(refused(bad));
  bad = u;
  bad.statev[21] = 3.0;
  EXPECT_TRUE(refused(bad));
  bad.statev[21] = std::nan("");
  EXPECT_TRUE(refused(bad));
  UmatCall short_state({0.0}, 6, 21);
  EXPECT_TRUE(refused(short_state));
  materialdata::peprops.deallocate();
  EXPECT_TRUE(refused(u));
}

TEST_F(Lamina, RejectedInputGivesAZeroStiffness) {
  UmatCall six_props({1, 2, 3, 4, 5, 6});
  six_props.dstran[0] = 0.001;
  six_props.run(umat_lamina);
  EXPECT_EQ(testing::latched_message(), "Unsupported input in GetNyeProperties");
  EXPECT_EQ(six_props.d(1, 1), 0.0);
  EXPECT_EQ(six_props.stress[0], 0.0);

  // A layout the ply has no stiffness for touches nothing.
  testing::clear_latch();
  UmatCall five({1000.0, 0.25}, 5);
  five.ndi = 3, five.nshr = 2;
  five.stress[0] = 2.0;
  five.dstran[0] = 0.001;
  five.run(umat_lamina);
  EXPECT_EQ(testing::latched_message(), "Unsupported dimension in GetNyeStiffnessMatrix");
  EXPECT_EQ(five.stress, std::vector<double>({2.0, 0.0, 0.0, 0.0, 0.0}));
  EXPECT_EQ(five.ddsdde, std::vector<double>(25, 7.0));
  EXPECT_EQ(five.spd, 3.0);

  UmatCall none({1000.0, 0.25}, 0);  // no component: nothing is read or written
  none.ndi = 3, none.nshr = 0;
  none.run(umat_lamina);
  EXPECT_EQ(none.statev, std::vector<double>(8, 0.0));
}

// A threaded host: refused and sound calls from eight threads at once give
// the serial results and one whole latch record (CI runs this under
// ThreadSanitizer too).
TEST_F(Lamina, ConcurrentCallsAgreeWithSerialOnes) {
  UmatCall serial(ortho);
  serial.dstran = {0.001, -0.0004, 0.0002, 0.0003, -0.0001, 0.0002};
  serial.run(umat_lamina);
  ASSERT_EQ(errorhandling::errstat, 0);
  std::vector<UmatCall> sound(8, serial), refused(8, UmatCall({1, 2, 3}));
  for (auto& u : sound) std::fill(u.stress.begin(), u.stress.end(), 0.0);
  std::vector<std::thread> pool;
  for (int t = 0; t < 8; ++t) {
    pool.emplace_back([&, t] { refused[std::size_t(t)].run(umat_lamina); });
    pool.emplace_back([&, t] { sound[std::size_t(t)].run(umat_lamina); });
  }
  for (auto& th : pool) th.join();
  for (const auto& u : sound) {
    EXPECT_EQ(u.stress, serial.stress);
    EXPECT_EQ(u.ddsdde, serial.ddsdde);
  }
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(testing::latched_message(), "Unsupported input in GetNyeProperties");
}

// One block of the explicit routine, nblock points of ndir + nshr components.
struct VumatCall {
  int nblock, ndir, nshr, nstatev = 2, nfieldv = 1, nprops, lanneal = 0;
  double steptime = 0.0, totaltime = 0.0, dt = 0.1;
  std::vector<double> props, density, straininc, stressold, stressnew, statenew, enerold, enernew, inelas;
  std::vector<double> any = std::vector<double>(64, 0.0);

  VumatCall(std::vector<double> p, int nb, int nd, int ns)
      : nblock(nb), ndir(nd), nshr(ns), nprops(int(p.size())), props(std::move(p)),
        density(std::size_t(nb), 2.0), straininc(std::size_t(nb * (nd + ns))), stressold(straininc),
        stressnew(straininc.size(), 9.0), statenew(std::size_t(2 * nb), 9.0), enerold(std::size_t(nb), 1.0),
        enernew(std::size_t(nb)), inelas(std::size_t(nb), 9.0) {}
  void run() {
    vumat_lamina(&nblock, &ndir, &nshr, &nstatev, &nfieldv, &nprops, &lanneal, &steptime, &totaltime, &dt,
                 "PLY", any.data(), any.data(), props.data(), density.data(), straininc.data(), any.data(),
                 any.data(), any.data(), any.data(), any.data(), stressold.data(), any.data(), enerold.data(),
                 any.data(), any.data(), any.data(), any.data(), any.data(), stressnew.data(), statenew.data(),
                 enernew.data(), inelas.data(), 3);
  }
};

TEST_F(Lamina, ExplicitBlockInTheCyclicOrder) {
  VumatCall v({1000.0, 0.25}, 2, 3, 3);
  v.straininc[0] = 0.001;            // point 1, Δε11
  v.straininc[2 * 3] = 0.0005;       // point 1, Δε12 (tensor): Δγ12 = 0.001
  v.straininc[1 + 2 * 4] = 0.001;    // point 2, Δε23 (tensor): Δγ23 = 0.002
  v.stressold[1] = 5.0;              // point 2, σ11
  v.run();
  EXPECT_NEAR(v.stressnew[0], 1.2, 1e-15);
  EXPECT_NEAR(v.stressnew[2 * 2], 0.4, 1e-15);
  EXPECT_NEAR(v.stressnew[1 + 2 * 4], 0.8, 1e-15);
  EXPECT_EQ(v.stressnew[1], 5.0);
  EXPECT_NEAR(v.stressnew[2 * 3], 0.4, 1e-15);
  EXPECT_NEAR(v.enernew[0], 1.0 + 0.5 * (1.2 * 0.001 + 0.4 * 0.001) / 2.0, 1e-15);
  EXPECT_NEAR(v.enernew[1], 1.0 + 0.5 * 0.8 * 0.002 / 2.0, 1e-15);
  EXPECT_EQ(v.statenew, std::vector<double>(4, 0.0));
  EXPECT_EQ(v.inelas, std::vector<double>(2, 0.0));

  // Four components: plane stress; the thickness increment is replaced.
  VumatCall p(ortho, 1, 3, 1);
  p.straininc = {0.001, 0.0, 0.5, 0.0};
  p.stressold = {0.0, 0.0, 7.0, 0.0};
  p.run();
  const double q11 = 140000 / (1 - 0.3 * 0.3 * 10000 / 140000.0), q12 = 0.3 * 10000 / (1 - 0.3 * 0.3 / 14);
  EXPECT_NEAR(p.stressnew[0], q11 * 0.001, 1e-10);
  EXPECT_NEAR(p.stressnew[1], q12 * 0.001, 1e-10);
  EXPECT_EQ(p.stressnew[2], 7.0);
  EXPECT_NEAR(p.straininc[2], -0.3 / 140000 * q11 * 0.001 - 0.45 / 10000 * q12 * 0.001, 1e-18);

  VumatCall none({1000.0, 0.25}, 0, 3, 3);
  none.run();
  EXPECT_EQ(errorhandling::errstat, 0);

  // Properties it cannot use: the stress and energy stay.
  VumatCall bad({1, 2, 3}, 1, 3, 3);
  bad.stressold = {1, 2, 3, 4, 5, 6};
  bad.straininc = {1, 1, 1, 1, 1, 1};
  bad.run();
  EXPECT_EQ(bad.stressnew, bad.stressold);
  EXPECT_EQ(bad.enernew, bad.enerold);
  EXPECT_EQ(errorhandling::errstat, -2);
}

TEST_F(Lamina, MarcEntryReturnsZeros) {
  int ngens = 2, code = 7, any = 1;
  std::array<double, 4> d{1, 1, 1, 1};
  std::array<double, 3> g{1, 1, 5}, s{1, 1, 5};
  std::array<double, 16> in{};
  hypela_lamina(d.data(), g.data(), in.data(), in.data(), s.data(), in.data(), in.data(), &ngens, &any, &any,
                &any, &any, &any, &any, in.data(), in.data(), in.data(), in.data(), in.data(), in.data(),
                in.data(), in.data(), in.data(), in.data(), in.data(), &any, &any, &any, &any, &any, &any, &any,
                &any, &any, &any, &any, &any, in.data(), "        ", &any, &any, &any, &code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(d, (std::array<double, 4>{}));
  EXPECT_EQ(g, (std::array<double, 3>{0, 0, 5}));
  EXPECT_EQ(s, (std::array<double, 3>{0, 0, 5}));
}

}  // namespace
}  // namespace tavrin
