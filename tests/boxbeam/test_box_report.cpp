// The report and extended print files of a run: which files and records the
// switches produce, exact lines of the fixed layout, appending.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cmath>
#include <fstream>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include "boxbeam/box_data.hpp"
#include "boxbeam/box_main.hpp"
#include "foundation/numerics_support.hpp"

namespace tavrin::boxbeam {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines_of(const fs::path& p) {
  std::vector<std::string> lines;
  std::ifstream f(p);
  for (std::string l; std::getline(f, l);) lines.push_back(l);
  return lines;
}
bool has_line(const std::vector<std::string>& lines, const std::string& l) {
  return std::find(lines.begin(), lines.end(), l) != lines.end();
}
int count_prefix(const std::vector<std::string>& lines, const std::string& p) {
  return int(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(p, 0) == 0; }));
}

class BoxReport : public testing::LatchTest {
 protected:
  fs::path dir, rep, ext;
  void SetUp() override {
    LatchTest::SetUp();
    dir = fs::temp_directory_path() / ("tavrin_box_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    rep = dir / "box.rep";
    ext = dir / "box.ext";
  }
  void TearDown() override {
    fs::remove_all(dir);
    steuer::druck = steuer::exdru = false;
    LatchTest::TearDown();
  }
  // The 4 x 2 box with corner booms, capacities as given.
  void describe(int booms_capacity = 100) {
    const int nw = 100, nz = 100;
    initialize(&nw, &booms_capacity, &nz);
    path::csinfopath = rep.string();
    path::vbinfopath = ext.string();
    const double y[] = {0, 4, 4, 0}, z[] = {0, 0, 2, 2};
    const int nb = std::min(4, booms_capacity);
    gurt::ig = 4;
    for (int i = 1; i <= nb; ++i) gurt::yi(i) = y[i - 1], gurt::zi(i) = z[i - 1], gurt::bi(i) = 500, gurt::myi(i) = 0.01;
    wand::kw = 4;
    for (int k = 1; k <= 4; ++k) {
      wand::ig1(k) = k, wand::ig2(k) = k % 4 + 1;
      wand::yk0(k) = y[k - 1], wand::zk0(k) = z[k - 1], wand::yklk(k) = y[k % 4], wand::zklk(k) = z[k % 4];
      wand::bk(k) = 1000, wand::gk(k) = 400, wand::rhok(k) = 0.002;
    }
    zelle::az = 1;
    zelle::iak(1) = 4;
    for (int j = 1; j <= std::min(4, booms_capacity); ++j) zelle::ia(j, 1) = j;
    spanug::qqx = 1000, spanug::qqy = 100, spanug::qqz = 200;
    spanug::qmx = 300, spanug::qmy = 4000, spanug::qmz = 5000;
  }
};

TEST_F(BoxReport, SwitchesDecideTheFiles) {
  describe();
  steuer::druck = false, steuer::exdru = true;
  get_equivalent_xsection();
  EXPECT_FALSE(fs::exists(rep));
  EXPECT_FALSE(fs::exists(ext));

  steuer::druck = true, steuer::exdru = false;
  get_equivalent_xsection();
  EXPECT_EQ(status(), 0);
  EXPECT_FALSE(fs::exists(ext));
  const auto a = lines_of(rep);
  EXPECT_TRUE(has_line(a, "             STEIFIGKEITSMOMENTE 2.GRADES:   DYY =  0.113333333D+05  (K * L**2)"));
  EXPECT_EQ(count_prefix(a, "0                   DEHNSTEIFIGKEIT"), 0);  // record 9 needs exdru
  EXPECT_TRUE(has_line(a, "0 GURT   LAENGSKRAFT (K)             DEHNUNG"));  // the boom forces' heading
  EXPECT_TRUE(has_line(a, "              N(I)                    EPS(I)"));

  steuer::exdru = true;
  get_equivalent_xsection();  // appended
  const auto b = lines_of(rep);
  // Record 9 (eleven lines) and the equation systems are extended-only.
  EXPECT_GT(b.size(), 2 * a.size() + 11);
  EXPECT_EQ(count_prefix(a, "     KONTROLLAUSDRUCK"), 0);
  EXPECT_EQ(count_prefix(b, "     KONTROLLAUSDRUCK GLEICHUNGSSYSTEM:"), 4);
  EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin()));
  EXPECT_TRUE(has_line(b, "0                   DEHNSTEIFIGKEIT DES TRAEGERS =  0.140000000D+05  (K)"));
  EXPECT_EQ(count_prefix(b, "    1    0.10528442"), 2);  // boom 1's force, once per run
  const auto e = lines_of(ext);
  EXPECT_EQ(count_prefix(e, " Wand:"), 12);  // per wall: moments, shear quantities, flows
  EXPECT_TRUE(has_line(e, " BX 14000"));
  EXPECT_TRUE(has_line(e, " ALPHA 0"));
  EXPECT_TRUE(has_line(e, " H3 0"));
}

TEST_F(BoxReport, RecordsOfTheWallsOnlyBox) {
  describe();
  for (int i = 1; i <= 4; ++i) gurt::bi(i) = 0, gurt::myi(i) = 0;
  steuer::druck = true;
  get_equivalent_xsection();
  const auto r = lines_of(rep);
  for (const char* line : {
           "             STEIFIGKEITSMOMENTE 2.GRADES:   DYY =  0.933333333D+04  (K * L**2)",
           "                                             DZY =  0.000000000D+00  (K * L**2)",
           "                                             DZZ =  0.266666667D+05  (K * L**2)",
           "  1       0.000       0.000   0.000E+00   0.000E+00",
           "  1       1       2       0       1       0.000       0.000       4.000       0.000   0.100E+04   0.400E+03   0.200E-02",
           "  1       1       2       3       4",
           "  4       4       1       0       4       0.000       2.000       0.000       0.000   0.100E+04   0.400E+03   0.200E-02",
           "   QX =  0.100000000D+04     QY =  0.100000000D+03     QZ =  0.200000000D+03",
           "+                   Q U E R S C H N I T T S G R O E S S E N",
           "                    ---------------------------------------",
           "0                              HAUPTACHSENWINKEL =  0.000000000D+00  (RADIAN)   =     0.00  (GRAD)",
           "    1    0.286904762D+03   -0.238095238D+03   -0.763095238D+03         0.286904762D+00   -0.238095238D+00   -0.763095238D+00",
           "                                             IT  = 0.720000000D-01  (M*L)",
       })
    EXPECT_TRUE(has_line(r, line)) << line;
}

TEST_F(BoxReport, BoomCapacityBelowFourPrintsZeros) {
  // Boom capacity 3: record 6 shows 0 for the fourth boom, the run is refused
  // (ig = 4 exceeds the capacity) before any file is opened.
  describe(3);
  steuer::druck = true;
  gurt::ig = 3, wand::kw = 3, zelle::az = 1, zelle::iak(1) = 3;
  for (int k = 1; k <= 3; ++k) wand::ig2(k) = k % 3 + 1;
  wand::yklk(3) = 0, wand::zklk(3) = 0;
  get_equivalent_xsection();
  EXPECT_EQ(status(), 0);
  EXPECT_TRUE(has_line(lines_of(rep), "  1       1       2       3       0"));
  gurt::ig = 4;
  get_equivalent_xsection();
  EXPECT_EQ(take().first, -2);
}

TEST_F(BoxReport, NodalForceRecords) {
  describe();
  get_equivalent_xsection();
  steuer::druck = true, steuer::exdru = true;
  wand::ig2(4) = 100;  // does not fit the two columns
  const int kw = 4;
  KNKRFT(&kw);
  const auto r = lines_of(rep);
  EXPECT_TRUE(has_line(r, "0    AEQUIVALENTE KNOTENKRAEFTE IN  X-RICHTUNG"));
  EXPECT_TRUE(has_line(r, "0    AEQUIVALENTE KNOTENKRAEFTE IN  Z-RICHTUNG"));
  EXPECT_TRUE(has_line(r, "   WAND NR.    IG1        PKNT(I,1,2)          PKNT(I,2,2)          PKNT(I,3,2)       IG2"));
  EXPECT_EQ(r.size(), 7u + 3 * (5 + 5 + 4));  // resultants; per direction blanks, heading, walls
  EXPECT_EQ(count_prefix(r, "1"), 1);  // the resultants' new page
  EXPECT_EQ(count_prefix(r, "          SPX = "), 1);
  int stars = 0;
  for (const auto& l : r) stars += l.size() > 2 && l.compare(l.size() - 2, 2, "**") == 0;
  EXPECT_EQ(stars, 3);  // wall 4 in each direction
  steuer::druck = false;
  fs::remove(rep);
  KNKRFT(&kw);
  EXPECT_FALSE(fs::exists(rep));
}

TEST_F(BoxReport, RefusedRunOpensNothing) {
  describe();
  steuer::druck = steuer::exdru = true;
  wand::ig1(1) = 0;
  get_equivalent_xsection();
  EXPECT_EQ(take().first, -2);
  EXPECT_FALSE(fs::exists(rep));
  EXPECT_FALSE(fs::exists(ext));
}

TEST_F(BoxReport, UnwritablePathIsLatchedAndTheResultsStillComputed) {
  describe();
  steuer::druck = true;
  path::csinfopath = (dir / "missing" / "box.rep").string();
  get_equivalent_xsection();
  EXPECT_EQ(take().first, -2);
  EXPECT_NEAR(quer::bx, 14000.0, 1e-9);
}

// The extended print file of the walls-only box: every record's label and
// values in order.
TEST_F(BoxReport, ExtendedPrintRecords) {
  describe();
  for (int i = 1; i <= 4; ++i) gurt::bi(i) = 0, gurt::myi(i) = 0;
  steuer::druck = steuer::exdru = true;
  get_equivalent_xsection();
  const auto e = lines_of(ext);
  using Rec = std::pair<std::string, std::vector<double>>;
  const std::vector<Rec> wall1 = {
      {"Wand:", {1}}, {"PHIK,ZKLK,ZK0", {0, 0, 0}}, {"LAMK,YKLK,YK0", {4, 4, 0}}, {"SZ", {24000}},
      {"SY", {12000}}, {"BX", {12000}}, {"H1", {-1}}, {"H2", {-2}}, {"BI", {0}}, {"BK", {1000}},
      {"DYYK", {4}}, {"DZZK", {16.0 / 3}}, {"DZYK", {0}}, {"DYY", {4000}}, {"DZY", {0}},
      {"DZZ", {16000.0 / 3}}, {"", {}}, {"IYYD", {0.008}}, {"IZYD", {0}}, {"IZZD", {0.032 / 3}},
      {"", {}}, {"ITT", {0.056 / 3}}, {"", {}}};
  const std::vector<Rec> tail = {
      {"H1", {52000.0 / 3}}, {"H2", {52000.0 / 3}}, {"DZY", {0}}, {"ALPHA", {0}}, {"SINA", {0}},
      {"COSA", {1}}, {"", {}}, {"H1, MY, ZS, QX", {3000, 4000, 1, 1000}},
      {"H2, MZ ,YS ,QX", {7000, 5000, 2, 1000}}, {"H3", {0}}, {"", {}},
      {"H1, MY, ZS, QX", {1.0 / 12, 3000, 1, 1000}}, {"H2, MZ ,YS ,QX", {9.0 / 28, 7000, 2, 1000}},
      {"H3", {-0.2625}}, {"", {}}};

  const auto check = [&](const std::string& line, const Rec& want) {
    if (want.first.empty()) {
      EXPECT_EQ(line, "");
      return;
    }
    ASSERT_EQ(line.rfind(" " + want.first + " ", 0), 0u) << line;
    std::istringstream in(line.substr(want.first.size() + 2));
    for (double v : want.second) {
      double got = 0;
      in >> got;
      EXPECT_NEAR(got, v, 1e-12 * (1 + std::fabs(v))) << line;
    }
  };
  for (std::size_t j = 0; j < wall1.size(); ++j) check(e[j], wall1[j]);
  for (std::size_t j = 0; j < tail.size(); ++j) check(e[4 * wall1.size() + j], tail[j]);
  // The shear analysis: per wall its first moments and flow changes, then
  // after the load system its flows and shear strains.
  const std::vector<Rec> shear1 = {
      {"Wand:", {1}}, {"SSTYK", {-4}}, {"SSTZK", {0}}, {"DYYSTE", {28000.0 / 3}},
      {"DZZSTE", {80000.0 / 3}}, {"DELTYK", {3.0 / 7}}, {"DELTZK", {0}}, {"", {}}};
  const std::vector<Rec> flows1 = {
      {"Wand:", {1}}, {"T0", {-495.0 / 14}}, {"TL2", {15}}, {"TL", {705.0 / 14}}, {"GK", {400}},
      {"ZWA", {-495.0 / 14 / 400}}, {"ZWB", {15.0 / 400}}, {"ZWC", {705.0 / 14 / 400}}, {"", {}}};
  ASSERT_EQ(e.size(), 4 * (wall1.size() + shear1.size() + flows1.size()) + tail.size());
  const std::size_t first_half = 4 * wall1.size() + tail.size();
  for (std::size_t j = 0; j < shear1.size(); ++j) check(e[first_half + j], shear1[j]);
  for (std::size_t j = 0; j < flows1.size(); ++j) check(e[first_half + 4 * shear1.size() + j], flows1[j]);
  EXPECT_EQ(e[wall1.size()], " Wand: 2");
}

}  // namespace
}  // namespace tavrin::boxbeam
