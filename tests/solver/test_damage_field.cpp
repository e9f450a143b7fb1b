#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "foundation/datahandling.hpp"
#include "solver/damage_field.hpp"
#include "solver/lamina.hpp"
#include "solver_support.hpp"

namespace tavrin {
namespace {

constexpr double no = -1.0;

// One gen_damage call at a point of element 7.
struct Point {
  std::vector<double> field, statev;
  std::array<double, 9> tdirect{1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::array<double, 3> coord{};
  std::array<double, 2> time{};
  std::array<double, 16> table;
  double celent = 2.0, dtime = 0.1;
  int nfield, nstatv, noel = 7, npt = 1, layer = 1, kspt = 1, kstep = 2, kinc = 1;
  std::string name = "PLY";

  explicit Point(int nf = 7, int nsv = 40) : field(std::size_t(nf), 9.0), statev(std::size_t(nsv)), nfield(nf), nstatv(nsv) {
    table.fill(no);
  }
  double& slot(int k) { return statev[std::size_t(nstatv - 40 + k - 1)]; }
  void run(bool with_table = false) {
    name.resize(80, ' ');
    gen_damage(field.data(), statev.data(), tdirect.data(), tdirect.data(), &celent, time.data(), &dtime, name.data(),
               &nfield, &nstatv, &noel, &npt, &layer, &kspt, &kstep, &kinc, coord.data(),
               with_table ? table.data() : nullptr, 80);
  }
};

class DamageField : public ::testing::Test {
 protected:
  // An isotropic ply (E = 70000, nu = 0.3) of strengths 800 (shear 100) in
  // nplies plies of one section; steps of kind 0 and then `kinds`.
  void SetUp() override {
    int istat = 0;
    datahandling::deallocall(istat);
    testing::clear_latch();
    plies(1);
    testing::set_step_kinds({0, 1, 2, 4, 5, 3});
  }
  void TearDown() override {
    int istat = 0;
    datahandling::deallocall(istat);
    sectiondata::nplies = sectiondata::nsec = 1;
    elementdata::nelem = 0;
    jobdata::nsteps = 0;
  }
  // Element 7 as the model's one element, of `kind` on nnodes nodes with
  // ndof motions each and `points` section points per ply.
  static void element_7(int kind, int nnodes, int ndof, int points) {
    int istat = 0;
    datahandling::allocateelementdata(istat, nnodes, 1);
    datahandling::allocatenodaldata(istat, ndof, nnodes, 1);
    elementdata::nelem = 1;
    elementdata::elemlist(1) = 7;
    elementdata::elemkind(1) = kind;
    sectiondata::nsectionpoints(1) = points;
  }
  void plies(int n, std::array<int, 5> flags = {1, 1, 0, 0, 0}) {
    namespace md = materialdata;
    sectiondata::nplies = n;
    sectiondata::nsec = 1;
    md::peprops.allocate(9, n, 1);
    md::psprops.allocate(10, n, 1);
    md::pfflags.allocate(5, n, 1);
    md::peflags.allocate(5, n, 1);
    for (int p = 1; p <= n; ++p) {
      const double e[9] = {70000, 70000, 70000, 0.3, 0.3, 0.3, 70000 / 2.6, 70000 / 2.6, 70000 / 2.6};
      const double x[10] = {800, 100, 800, 800, 800, 800, 100, 100, 100, 100};
      for (int k = 1; k <= 9; ++k) md::peprops(k, p, 1) = e[k - 1];
      for (int k = 1; k <= 10; ++k) md::psprops(k, p, 1) = x[k - 1];
      for (int k = 1; k <= 5; ++k) md::pfflags(k, p, 1) = flags[std::size_t(k - 1)], md::peflags(k, p, 1) = 1;
    }
  }
};

TEST_F(DamageField, EndToEndWithTheLaminaRoutine) {
  // umat_lamina takes the ply from slots 21, 22 and leaves its stress in
  // slots 1-6; the fatigue step evaluates it against xt11 = 800.
  Point p;
  p.slot(21) = p.slot(22) = 1.0;
  testing::UmatCall u({0.0}, 6, 40);
  u.statev = p.statev;
  u.dstran[0] = 0.01;
  u.run(umat_lamina);
  EXPECT_NEAR(u.stress[0], 942.30769230769, 1e-9);
  p.statev = u.statev;
  p.run();
  EXPECT_EQ(p.slot(7), 1.0);
  EXPECT_EQ(p.slot(8), 1.0);
  EXPECT_NEAR(p.slot(13), 1.1778846153846, 1e-12);
  EXPECT_NEAR(p.slot(14), 1.1778846153846, 1e-12);
  EXPECT_EQ(p.slot(26), 400.0);
  EXPECT_EQ(p.field, (std::vector<double>{1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(p.slot(24), no);
  EXPECT_EQ(p.slot(35), 2.0);
  EXPECT_EQ(p.slot(18), 1.0);
  EXPECT_EQ(p.slot(20), 1.0);

  // A flag stays once reached; the efforts follow the stress.
  p.slot(1) = 0.0;
  p.slot(9) = p.slot(10) = 1.0;
  p.run();
  EXPECT_EQ(p.slot(8), 1.0);
  EXPECT_EQ(p.slot(14), 0.0);
  EXPECT_EQ(p.slot(26), 444.0);
  EXPECT_EQ(errorhandling::errstat, 0);
}

TEST_F(DamageField, RecordAndFieldsOutsideEvaluationSteps) {
  Point few(7, 39);
  few.run();
  EXPECT_EQ(few.statev, std::vector<double>(39, 0.0));
  EXPECT_EQ(few.field, std::vector<double>(7, 9.0));

  // First call: ply and section, defaults; no evaluation in a kind-2 step.
  plies(3);
  Point p(7, 45);
  p.layer = 0;
  p.kstep = 3;
  p.slot(13) = 0.25;
  p.slot(1) = 5000.0;
  p.run();
  EXPECT_EQ(p.slot(21), 1.0);
  EXPECT_EQ(p.slot(22), 1.0);
  EXPECT_EQ(p.slot(18), 1.0);
  EXPECT_EQ(p.slot(20), 1.0);
  EXPECT_EQ(p.slot(24), no);
  EXPECT_EQ(p.slot(13), 0.25);
  EXPECT_EQ(p.slot(7), 0.0);
  EXPECT_EQ(p.field, std::vector<double>(7, 0.0));
  EXPECT_EQ(p.statev[0], 0.0);  // only the last 40 are the record

  Point high;
  high.layer = 5;
  high.kstep = 1;
  high.name = "PLY_l@2@";
  high.slot(18) = 0.5;
  high.run();
  EXPECT_EQ(high.slot(21), 3.0);  // the last ply; the smaller tag does not lower it
  EXPECT_EQ(high.slot(18), 0.5);
  EXPECT_EQ(high.slot(19), 0.0);

  // A sixteen -1 table is no table: the stress slots stay.
  Point a, b;
  a.slot(1) = b.slot(1) = 900.0;
  a.run(true);
  b.run();
  EXPECT_EQ(a.statev, b.statev);
  EXPECT_EQ(a.slot(7), 1.0);
}

TEST_F(DamageField, DamageDefinitionsSeedTheFlagsInInitialAndDicSteps) {
  int istat = 0;
  damagedata::ndmg = 1;
  datahandling::allocatedamagedata(istat, 1, 1, 1);
  sectiondata::plyorientation.allocate(1, 1);
  damagedata::generaldds(1, 1, 1) = damagedata::generaldds(2, 1, 1) = 10.0;
  for (const int kstep : {1, 3, 5}) {
    Point p;
    p.kstep = kstep;
    p.run();
    EXPECT_EQ(p.slot(7), kstep == 3 ? 0.0 : 1.0) << kstep;
  }
  damagedata::ndmg = 0;
}

TEST_F(DamageField, SectionTagsAndTheirRefusal) {
  sectiondata::nsec = 2;
  sectiondata::secidlist.allocate(2);
  sectiondata::secidlist(1) = 3;
  sectiondata::secidlist(2) = 7;
  Point named;
  named.kstep = 1;
  named.name = "PLY_s@7@";
  named.run();
  EXPECT_EQ(named.slot(22), 2.0);

  // A tag naming no listed section: -1 kept, nothing indexed or evaluated.
  Point unknown;
  unknown.name = "PLY_s@9@";
  unknown.slot(1) = 5000.0;
  unknown.run();
  EXPECT_EQ(unknown.slot(22), -1.0);
  EXPECT_EQ(unknown.slot(7), 0.0);
  EXPECT_EQ(unknown.field, std::vector<double>(7, 0.0));
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(testing::latched_message(), "Ply or section of the state variables outside the material tables.");
}

TEST_F(DamageField, InterfaceOfSectionPointsFromTheSectionStressTable) {
  plies(2, {0, 0, 0, 5, 0});  // Hashin's delamination criterion only
  int istat = 0;
  datahandling::allocateelementdata(istat, 4, 1);
  elementdata::nelem = 1;
  elementdata::elemlist(1) = 7;
  sectiondata::nsectionpoints(1) = 1;  // one point per ply: its top
  sectiondata::sestress.allocate(6, 2, 4, 1);
  for (int isp = 1; isp <= 2; ++isp) sectiondata::sestress(3, isp, 1, 1) = 200.0;  // s33 = 2 xt22
  Point lower, top;
  lower.layer = 1, top.layer = 2;
  lower.run();
  top.run();
  EXPECT_EQ(lower.slot(3), 200.0);
  EXPECT_EQ(lower.slot(23), 1.0);
  EXPECT_EQ(lower.slot(10), 1.0);
  EXPECT_GE(lower.slot(16), 1.0);
  EXPECT_EQ(top.slot(10), 0.0);  // the top ply has no interface above it
  EXPECT_EQ(top.slot(16), 0.0);

  // Three points per ply: the interface stresses are those of the plies'
  // middle points (2 below, 5 above); a shear in the lower ply delaminates.
  sectiondata::nsectionpoints(1) = 3;
  sectiondata::sestress.allocate(6, 6, 4, 1);
  sectiondata::sestress(5, 2, 1, 1) = 150.0;
  Point three;
  three.kspt = 3;
  three.run();
  EXPECT_EQ(three.slot(3), 0.0);
  EXPECT_EQ(three.slot(10), 1.0);
  sectiondata::nsectionpoints(1) = 1;
  sectiondata::sestress.allocate(6, 2, 4, 1);

  // The through-thickness tables: the normal stress at the point's row of
  // the thickness table (top of ply 1: row 3), the 13 shear of the point and
  // of the ply above; a shear in the upper ply delaminates.
  sectiondata::sestress.deallocate();
  sectiondata::tnormalstress.allocate(5, 1);
  sectiondata::tnormalstress(3, 1) = 1.0;
  sectiondata::tshearstress.allocate(2, 2, 4, 1);
  sectiondata::tshearstress(1, 2, 1, 1) = 5.0;
  sectiondata::tshearstress(2, 2, 1, 1) = 150.0;
  Point shear;
  shear.run();
  EXPECT_EQ(shear.slot(3), 1.0);
  EXPECT_EQ(shear.slot(5), 5.0);
  EXPECT_EQ(shear.slot(10), 1.0);
  sectiondata::tnormalstress.deallocate();
  sectiondata::tshearstress.deallocate();
  sectiondata::sestress.allocate(6, 2, 4, 1);

  // A section point beyond the table reads nothing.
  Point beyond;
  beyond.kspt = 3;
  beyond.slot(1) = 1.0;
  beyond.run();
  EXPECT_EQ(beyond.slot(1), 1.0);
  EXPECT_EQ(beyond.slot(3), 0.0);

  // With a table the stress goes to the section stress table (solver order),
  // and the element length only to the record's slot 35.
  Point table(7, 80);
  table.table = {20, 1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0, 2.5, 2.5, 2.5};
  table.kstep = 1;
  table.slot(23) = 1.0;
  table.run(true);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(sectiondata::sestress(i, 1, 1, 1), (std::array{1, 2, 3, 6, 5, 4})[i - 1]);
  EXPECT_EQ(table.statev[34], 0.0);
  EXPECT_EQ(table.slot(35), 2.0);
}

TEST_F(DamageField, FirstMatrixCrackAndCappedFracturePlaneDamage) {
  namespace md = materialdata;
  plies(1, {0, 0, 15, 0, 0});  // LaRC05 matrix cracking
  Point p;
  p.slot(2) = 150.0;  // transverse tension beyond xt22 = 100
  p.run();
  EXPECT_EQ(p.slot(9), 1.0);
  const double angle = p.slot(24), from_xz = p.slot(25);
  EXPECT_NE(angle, no);
  EXPECT_NE(from_xz, no);
  p.slot(2) = 0.0;
  p.slot(4) = 300.0;  // another crack under shear: the plane stays
  p.run();
  EXPECT_EQ(p.slot(24), angle);
  EXPECT_EQ(p.slot(25), from_xz);

  // The fracture-plane degradation (evolution switch 2 of the matrix
  // mode): its damage, capped at 0.995 by the default caps (a pelimits
  // entry of -1), lowers the matrix residual factor to 0.005.
  md::peflags(3, 1, 1) = 2;
  md::pfprops.allocate(5, 1, 1);
  for (int k = 2; k <= 5; ++k) md::pfprops(k, 1, 1) = 1e-6;
  md::pelimits.allocate(12, 1, 1);
  md::pelimits.fill(0.5);
  md::pelimits(7, 1, 1) = -1.0;
  Point q;
  q.slot(24) = 0.5, q.slot(25) = 0.0;
  q.table = {20, 0, 50, 0, 0, 0, 0, 0, 0.001, 0, 0, 0, 0, 1, 1, 1};
  q.run(true);
  EXPECT_EQ(q.field[6], 0.0);  // at the onset strain the plane is not yet damaged
  q.table[8] = 1.0;  // a large opening strain
  q.run(true);
  EXPECT_NEAR(q.field[6], 0.995, 1e-15);
  EXPECT_NEAR(q.slot(20), 0.005, 1e-15);
  EXPECT_EQ(q.field[5], 0.0);  // the angle 0 from the xz-plane
  md::pelimits(7, 1, 1) = 0.5;  // all given: cap 3 = 0.5
  Point r = q;
  r.slot(27) = r.slot(28) = r.slot(29) = r.slot(30) = 0.0;
  r.slot(20) = 1.0;
  r.table[8] = 0.001;
  r.run(true);
  r.table[8] = 1.0;
  r.run(true);
  EXPECT_NEAR(r.slot(20), 0.5, 1e-15);
}

TEST_F(DamageField, SectionTablesOfABrick) {
  // Element 7 (row 1) a brick of side 2 with one section point per ply; its
  // section stress and strain tables feed the fracture-plane degradation.
  namespace md = materialdata;
  plies(1, {0, 0, 15, 0, 0});
  md::peflags(3, 1, 1) = 2;
  md::pfprops.allocate(5, 1, 1);
  for (int k = 2; k <= 5; ++k) md::pfprops(k, 1, 1) = 1e-6;
  element_7(10, 8, 3, 1);
  elementdata::elemlength.allocate(3, 1);
  elementdata::elemlength.fill(-1.0);
  const double corners[8][3] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 0, 2}, {2, 0, 2}, {2, 2, 2}, {0, 2, 2}};
  for (int n = 1; n <= 8; ++n)
    for (int i = 1; i <= 3; ++i) nodaldata::nodalcoords(i, n, 1) = corners[n - 1][i - 1];
  sectiondata::sestress.allocate(6, 1, 4, 1);
  sectiondata::sestrain.allocate(6, 1, 4, 1);
  sectiondata::sestress(2, 1, 1, 1) = 50.0;
  sectiondata::sestrain(2, 1, 1, 1) = 0.001;
  Point p;
  p.celent = 2.0;
  p.slot(24) = 0.5, p.slot(25) = 0.0;
  p.run();
  EXPECT_EQ(p.slot(23), 1.0);
  EXPECT_EQ(p.slot(2), 50.0);
  for (int i = 1; i <= 3; ++i) EXPECT_NEAR(elementdata::elemlength(i, 1), 2.0, 1e-15) << i;
  sectiondata::sestrain(2, 1, 1, 1) = 1.0;
  p.run();
  EXPECT_NEAR(p.field[6], 0.995, 1e-15);
  EXPECT_NEAR(p.slot(20), 0.005, 1e-15);
}

TEST_F(DamageField, ShellRecoveryNeedsEveryTable) {
  // Element 7, a flat 2×2 eight-node shell (kind 4) of one ply 1 thick,
  // tilted by w = 0.01 x: transverse shear strain, recovered in a fatigue
  // step into tshearstress (shear only: seflags (0, 1)).  Without any one
  // of the tables the recovery reads, nothing is recovered.
  namespace sd = sectiondata;
  namespace nd = nodaldata;
  namespace md = materialdata;
  const auto shell = [this] {
    int istat = 0;
    datahandling::deallocall(istat);
    plies(1);
    testing::set_step_kinds({0, 1});
    element_7(4, 8, 6, 3);
    const double xy[8][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    for (int k = 1; k <= 8; ++k) {
      nd::nodalcoords(1, k, 1) = xy[k - 1][0];
      nd::nodalcoords(2, k, 1) = xy[k - 1][1];
      nd::nodesmotion(3, k, 1) = 0.01 * xy[k - 1][0];
    }
    sd::tnormalstress.allocate(3, 1);
    sd::tshearstress.allocate(3, 2, 4, 1);
    sd::sestress.allocate(6, 3, 4, 1);
    sd::sehmatrix.allocate(2, 2, 1);
    sd::sehmatrix(1, 1, 1) = sd::sehmatrix(2, 2, 1) = 5000.0;
    sd::sefmatrix.allocate(3, 4, 1);
    sd::plyorientation.allocate(1, 1);
    sd::plythickness.allocate(1, 1);
    sd::plythickness(1, 1) = 1.0;
    sd::plyzcoord.allocate(3, 1);
    sd::plyzcoord(1, 1) = -0.5, sd::plyzcoord(3, 1) = 0.5;
    md::matidlist.allocate(1, 1);
    md::matidlist(1, 1) = 1;
    sd::seflags.allocate(2, 1);
    sd::seflags(2, 1) = 1;
  };
  const auto recovered = [] {
    Point p;
    p.run();
    const auto& t = sd::tshearstress;
    return std::any_of(t.begin(), t.end(), [](double x) { return x != 0.0; });
  };
  // All there: the 13 shear at mid-thickness, 1.5 Q/t with Q = 5000 · 0.01.
  shell();
  EXPECT_TRUE(recovered());
  EXPECT_NEAR(sd::tshearstress(2, 2, 1, 1), 75.0, 1e-9);
  const std::pair<const char*, void (*)()> missing[] = {
      {"nodalcoords", [] { nd::nodalcoords.deallocate(); }},
      {"sestress", [] { sd::sestress.deallocate(); }},
      {"sehmatrix", [] { sd::sehmatrix.deallocate(); }},
      {"sefmatrix", [] { sd::sefmatrix.deallocate(); }},
      {"plyorientation", [] { sd::plyorientation.deallocate(); }},
      {"plythickness", [] { sd::plythickness.deallocate(); }},
      {"plyzcoord", [] { sd::plyzcoord.deallocate(); }},
      {"peprops", [] { md::peprops.deallocate(); }},
      {"elemcurvatures", [] { elementdata::elemcurvatures.deallocate(); }},
      {"matidlist", [] { md::matidlist.deallocate(); }}};
  for (const auto& [name, drop] : missing) {
    shell();
    drop();
    EXPECT_FALSE(recovered()) << name;
  }
}

TEST_F(DamageField, ExplicitBlock) {
  // Rows in the order 11, 22, 33, 12, 23, 31 reach the record in the solver
  // order; the increment number comes from the step time.
  int nblock = 1, nstatev = 40, nfieldv = 7, nprops = 1, ndir = 3, nshr = 3, kintpt = 1, klayer = 1,
      ksecpt = 1, kstep = 1, jelem = 7, threadid = 0;
  double temp = 20.0, steptime = 0.05, totaltime = 1.0, dt = 0.1, props = 0.0;
  std::array<double, 3> coord{}, lengths{2, 2, 2};
  std::array<double, 9> eye{1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::array<double, 6> stress{1, 2, 3, 4, 5, 6}, strain{};
  std::vector<double> stateold(40), statenew(40, 9.0), field(7, 9.0);
  const auto run = [&] {
    vusdfld_dmg(&nblock, &nstatev, &nfieldv, &nprops, &ndir, &nshr, &jelem, &kintpt, &klayer, &ksecpt, &kstep,
                &temp, &steptime, &totaltime, &dt, "PLY", coord.data(), eye.data(), eye.data(), lengths.data(),
                &props, stateold.data(), stress.data(), strain.data(), statenew.data(), field.data(), &threadid, 3);
  };
  run();
  EXPECT_EQ(std::vector<double>(statenew.begin(), statenew.begin() + 6), (std::vector<double>{1, 2, 3, 4, 6, 5}));
  EXPECT_EQ(statenew[34], 2.0);
  nfieldv = 3;  // four fields or fewer are not touched
  field = {1, 2, 3};
  run();
  EXPECT_EQ(field, (std::vector<double>{1, 2, 3}));
  nfieldv = 7;
  field.assign(7, 9.0);

  // Kind 2, increment 1, point 1: the element's section points are counted;
  // a zero time increment gives increment 0, which counts nothing.
  int istat = 0;
  datahandling::allocateelementdata(istat, 4, 1);
  elementdata::nelem = 1;
  elementdata::elemlist(1) = 7;
  kstep = 3, ksecpt = 4;
  dt = 0.0;
  run();
  EXPECT_EQ(sectiondata::nsectionpoints(1), 0);
  dt = 0.1;
  run();
  EXPECT_EQ(sectiondata::nsectionpoints(1), 4);

  nblock = 0;
  std::fill(field.begin(), field.end(), 9.0);
  run();
  EXPECT_EQ(field, std::vector<double>(7, 9.0));
}

TEST_F(DamageField, StateInitialisation) {
  int n = 3, ncrds = 3, any = 1;
  const double coords[3] = {};
  std::array<double, 3> zero{}, set{0, 1, 0};
  gen_sdvini(zero.data(), coords, &n, &ncrds, &any, &any, &any, &any);
  gen_sdvini(set.data(), coords, &n, &ncrds, &any, &any, &any, &any);
  EXPECT_EQ(zero, (std::array<double, 3>{0, 0, std::numeric_limits<double>::max()}));
  EXPECT_EQ(set, (std::array<double, 3>{0, 1, 0}));
}

}  // namespace
}  // namespace tavrin
