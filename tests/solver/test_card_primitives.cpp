// The card line grammar and the reading primitives on numbered units.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/record_files.hpp"
#include "foundation/shared_state.hpp"
#include "solver/card_file.hpp"
#include "solver/card_text.hpp"
#include "solver/iohandling.hpp"

namespace tavrin::iohandling {
namespace {

namespace fs = std::filesystem;

TEST(CardText, ItemsAndNumberForms) {
  std::vector<std::string> items;
  for_each_item("1 , 2,\t3,,", [&](std::string_view i) { items.emplace_back(i); });
  EXPECT_EQ(items, (std::vector<std::string>{"1", "2", "3"}));  // empty fields are no items
  EXPECT_EQ(count_items("  "), 0);
  double x = -1.0;
  const std::pair<const char*, double> reals[] = {{"1.", 1.0},    {".5", 0.5},       {"1D-3", 1e-3}, {"-2.5e+2", -250.0},
                                                  {"+7", 7.0},    {"3d0", 3.0},      {"1e-400", 0.0}, {"-0.0001e-320", -0.0}};
  for (const auto& [text, value] : reals) {
    ASSERT_TRUE(parse_real(text, x)) << text;
    EXPECT_EQ(x, value) << text;
  }
  EXPECT_TRUE(std::signbit(x));
  for (const char* bad : {"3*1.0", "abc", "1e400", "1.0.0", ".", "e5", "1e", "nan", "inf", "0x10", "1,0", "", "--1"})
    EXPECT_FALSE(parse_real(bad, x)) << bad;
  int n = 0;
  EXPECT_TRUE(parse_int("+42", n) && n == 42);
  for (const char* bad : {"1.0", "1e3", "2147483648", "4*1", "+", "-"}) EXPECT_FALSE(parse_int(bad, n)) << bad;
  // Lines: a byte-order mark and trailing blanks and tabs go; the option is
  // left-adjusted, the keyword is not.
  EXPECT_EQ(clean_line("\xEF\xBB\xBF+Cycle \t"), "+Cycle");
  const KeywordLine k = split_keyword(" +Debug ,  TYPE=ELEMENT");
  EXPECT_EQ(k.keyword, " +Debug ");
  EXPECT_EQ(k.option, "TYPE=ELEMENT");
  EXPECT_TRUE(same_word("+DEBUG \t", "+Debug"));
  EXPECT_FALSE(same_word(" +Debug", "+Debug"));
  EXPECT_EQ(trimmed_path(std::string_view("dir  \0\0", 7)), "dir");
}

TEST(CardText, NumbersAtTheLimitsOfTheOnePassReading) {
  // Items and runs of separators of any length, a line's first item.
  std::vector<std::string> items;
  for_each_item("aaaaaaa,bbbbbbbbb\t\tc  ,,  dddddddddddddddddd\te", [&](std::string_view i) { items.emplace_back(i); });
  EXPECT_EQ(items, (std::vector<std::string>{"aaaaaaa", "bbbbbbbbb", "c", "dddddddddddddddddd", "e"}));
  EXPECT_EQ(count_items(",,,,,,,,,,,,,,,,x"), 1);
  EXPECT_EQ(first_item(" ,a b"), "a");
  EXPECT_EQ(first_item(" , "), "");
  EXPECT_EQ(left_adjusted(" \t        \t x"), "x");
  // Long digit runs, mantissas at and beyond 2^53, powers of ten at and
  // beyond 10^22, more than nineteen digits, subnormals: every value the
  // correctly rounded decimal conversion gives.
  const std::string zeros(400, '0');
  const std::pair<std::string, double> reals[] = {
      {"12345678", 12345678.0},
      {"123456789.123456789", 123456789.123456789},
      {"1234567.8D+01", 12345678.0},
      {"9007199254740992", 9007199254740992.0},
      {"9007199254740993", 9007199254740993.0},
      {"90071992547409.93", 90071992547409.93},
      {"1e22", 1e22},
      {"1e23", 1e23},
      {"1.5e-22", 1.5e-22},
      {"1.5e-23", 1.5e-23},
      {"0.0000000000000000000000000001", 1e-28},
      {"00000000000000000000001.5", 1.5},
      {"1" + zeros + "e-400", 1.0},
      {"0." + zeros + "1e401", 1.0},
      {"0.3", 0.3},
      {"-5.000000E-01", -0.5},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"4.9e-324", 4.9406564584124654e-324},
      {"2.4e-324", 0.0}};
  for (const auto& [text, value] : reals) {
    double x = -1.0;
    ASSERT_TRUE(parse_real(text, x)) << text;
    EXPECT_EQ(x, value) << text;
  }
  double z = 1.0;
  ASSERT_TRUE(parse_real("-0.000000E+00", z));
  EXPECT_TRUE(z == 0.0 && std::signbit(z));
  for (const char* bad : {"1.7976931348623159e308", "1.5e", "1.5e+", "1.5E+0x", "12345678x", "1.23456789x", "123456789012.3456789x"})
    EXPECT_FALSE(parse_real(bad, z)) << bad;
  EXPECT_TRUE(std::signbit(z));  // unchanged by a refusal
}

class Primitives : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() / ("tavrin_primitives_" + std::to_string(::getpid()));
  const int unit = 33;
  void SetUp() override {
    fs::create_directories(dir);
    errorhandling::errstat = 0;
  }
  void TearDown() override {
    io::close_unit(unit);
    fs::remove_all(dir);
    errorhandling::errstat = 0;
  }
  void open(const std::string& text) {
    std::ofstream(dir / "f.txt", std::ios::binary) << text;
    ASSERT_TRUE(io::open_input(unit, (dir / "f.txt").string()));
  }
  std::string next() {
    std::string_view r;
    return io::read_record(unit, r) == io::ReadStatus::ok ? std::string(r) : "<end>";
  }
  static std::string latched() { return std::string(errorhandling::errstring.trimmed()); }
};

TEST_F(Primitives, DataBlocks) {
  // Two lines of five items ended by a keyword line; " +x" is data.
  open("1,2,3\r\n4 5\n+End\n");
  EXPECT_EQ(getsizeofdata(unit, "*+", 2), 5);
  EXPECT_EQ(next(), "1,2,3");  // the unit is where it was
  io::rewind(unit);
  double out[6] = {0, 0, 0, 0, 0, -1};
  real_getdatapoints(unit, out, 6);
  EXPECT_EQ(std::vector<double>(out, out + 6), (std::vector<double>{1, 2, 3, 4, 5, -1}));
  EXPECT_EQ(next(), "+End");
  io::close_unit(unit);

  open("\xEF\xBB\xBF+Key\n");  // a byte-order mark before the first line
  EXPECT_EQ(getsizeofdata(unit, "*+", 2), 0);
  io::close_unit(unit);

  open("1\n*x 2\n");  // no stop characters
  EXPECT_EQ(getsizeofdata(unit, "*+", 0), 3);
  io::close_unit(unit);

  open("7\n +8\n\n9");  // runs to the end of the file
  EXPECT_EQ(getsizeofdata(unit, "*+", 2), 3);
  EXPECT_EQ(next(), "7");
  io::rewind(unit);
  int ints[3] = {};
  int_getdatapoints(unit, ints, 3);
  EXPECT_EQ(std::vector<int>(ints, ints + 3), (std::vector<int>{7, 8, 9}));
  EXPECT_EQ(errorhandling::errstat, 0);
  io::rewind(unit);
  int_getdatapoints(unit, ints, 2);  // outdata too short: nothing stored
  EXPECT_EQ(errorhandling::errstat, -2);
  io::close_unit(unit);

  errorhandling::errstat = 0;
  open("1 2.5\n");  // a real in an integer list
  ints[0] = -4;
  int_getdatapoints(unit, ints, 3);
  EXPECT_EQ(ints[0], -4);
  EXPECT_EQ(latched(), "Error: Error in GetDataPointsRead operation exited with an error.");
  errorhandling::errstat = 0;
  int_getdatapoints(77, ints, 3);  // no file on the unit
  EXPECT_EQ(errorhandling::errstat, -2);
}

TEST_F(Primitives, ACardBlockWithAnItemThatIsNoNumberIsDropped) {
  std::ofstream(dir / "c.tvr", std::ios::binary) << "+Key\n1 2 x\n3\n+End\n4 5\n";
  Card card("TestCard");
  ASSERT_TRUE(card.open((dir / "c.tvr").string()));
  std::string_view line;
  ASSERT_TRUE(card.next(line));
  std::vector<double> values{9.0};
  EXPECT_FALSE(card.read_data(values, "+Key"));
  EXPECT_TRUE(values.empty());  // nothing of the block is kept
  EXPECT_EQ(latched(), "Error: TestCard line 2, +Key: item not a number, list dropped");
  ASSERT_TRUE(card.next(line));  // the whole block was consumed
  EXPECT_EQ(line, "+End");
  values = {9.0};
  EXPECT_TRUE(card.read_data(values, "+End"));
  EXPECT_EQ(values, (std::vector<double>{4.0, 5.0}));  // the block's values only
}

TEST_F(Primitives, TablesAndDescriptors) {
  open("1 2 3\n4 5 6\n*x\n");
  double xy[6] = {};
  getxydatapoints(unit, xy, 2, 3);
  EXPECT_EQ(std::vector<double>(xy, xy + 6), (std::vector<double>{1, 4, 2, 5, 3, 6}));  // rows (1,2,3), (4,5,6)
  io::rewind(unit);
  getxydatapoints(unit, xy, 4, 3);  // 6 / 4 is not 3: nothing read
  EXPECT_EQ(latched(), "Error: Error in GetXYDataPointsRead operation exited with an error.");
  EXPECT_EQ(next(), "1 2 3");
  io::close_unit(unit);

  open("1, 10, 20, 2, 2, 11, 21, 3\n");
  double dds[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
  getddsfromfile(unit, dds, 3);
  EXPECT_EQ(std::vector<double>(dds, dds + 9), (std::vector<double>{10, 20, -1, 11, 21, -1, -1, -1, -1}));
  io::rewind(unit);
  errorhandling::errstat = 0;
  getddsfromfile(unit, dds, 1);  // two groups, one ply
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(dds[3], 11.0);
}

TEST_F(Primitives, KeywordSearchAndCounts) {
  open("*Step, a\n data\n  *STEPPED\n*step\nCYCLE 1\nx\n");
  const int yes = 1, no = 0;
  EXPECT_EQ(getnumberofkeywords(unit, "*Step", 5, &yes), 3);
  EXPECT_EQ(getnumberofkeywords(unit, "+Step", 5, &yes), 0);
  EXPECT_EQ(next(), "*Step, a");  // rewound
  EXPECT_EQ(getnumberofkeywords(unit, "*Step", 5, &no), 2);
  EXPECT_EQ(next(), "<end>");     // not rewound
  io::rewind(unit);
  EXPECT_TRUE(get2nextkey(unit, 1, "*STEPPED", 8, 3, &yes));  // on the third line read
  EXPECT_EQ(next(), "  *STEPPED");
  EXPECT_FALSE(get2nextkey(unit, 1, "cycle", 5, 1, &no));
  // Backwards from the end of the file: the last matching line.
  EXPECT_EQ(file_length(unit, false), 2);
  EXPECT_TRUE(get2nextkey(unit, -1, "*step", 5, 6, &yes));
  EXPECT_EQ(next(), "*step");
  EXPECT_TRUE(get2nextkey(unit, -1, "*STEP, A", 8, 6, &yes));  // found on the first line
  EXPECT_EQ(next(), "*Step, a");
  EXPECT_FALSE(get2nextkey(unit, 1, "none", 4, 2147483647, &yes));   // the end of the file
  EXPECT_EQ(next(), "<end>");
  EXPECT_FALSE(get2nextkey(unit, -1, "none", 4, 2147483647, &yes));  // back to the start
  EXPECT_EQ(next(), "*Step, a");

  // lkey beyond the keyword compares the rest of the line with blanks, lkey
  // short of it cuts the keyword; the work does not grow with lkey.
  const int big_key = 2147483647;
  for (const int lkey : {8, 300, big_key}) {
    io::rewind(unit);
    EXPECT_EQ(getnumberofkeywords(unit, " *Step", lkey, &no), 1) << lkey;  // "*step" alone
    io::rewind(unit);
    EXPECT_TRUE(get2nextkey(unit, 1, "*stepped  ", lkey, big_key, &yes)) << lkey;
    EXPECT_EQ(next(), "  *STEPPED");
  }
  io::rewind(unit);
  EXPECT_EQ(getnumberofkeywords(unit, "*STEPPED", 6, &yes), 1);   // "*STEPP" only
  EXPECT_EQ(getnumberofkeywords(unit, "*Step, a", 6, &yes), 1);   // "*Step," only
  EXPECT_EQ(getnumberofkeywords(unit, "*Stepxyz", 5, &yes), 3);
  EXPECT_EQ(getnumberofkeywords(unit, "anything", 0, &yes), 6);   // nothing compared
  EXPECT_EQ(getnumberofkeywords(unit, "anything", -4, &yes), 6);

  io::rewind(unit);
  next();
  next();
  const int three = 3, zero = -2;
  RewindFile(&unit, &zero);
  EXPECT_EQ(next(), "  *STEPPED");
  RewindFile(&unit, &three);
  EXPECT_EQ(next(), "*Step, a");
  const int big = 2147483647;
  RewindFile(&unit, &big);  // stops at the start
  EXPECT_EQ(GetFileLength(&unit, nullptr), 6);
  EXPECT_EQ(next(), "*Step, a");

  const int five = 5, four = 4;
  EXPECT_EQ(GetFreeUnitNumber(&five, &four), -1);
  EXPECT_EQ(getunitnumber((dir / "f.txt").string() + "   "), unit);
  EXPECT_EQ(getunitnumber((dir / "g.txt").string()), -1);
  EXPECT_EQ(errorhandling::errstat, 0);
}

TEST_F(Primitives, AClosedRecordFileLeavesItsUnitToTheNextFile) {
  std::ofstream(dir / "a.txt") << "a\n";
  std::ofstream(dir / "b.txt") << "b\n";
  RecordFile a, b;
  ASSERT_TRUE(a.open((dir / "a.txt").string()));
  a.close();
  EXPECT_FALSE(a.is_open());
  ASSERT_TRUE(b.open((dir / "b.txt").string()));
  a.close();  // closes nothing: the unit it had may now be b's
  std::string_view line;
  ASSERT_TRUE(b.next(line));
  EXPECT_EQ(line, "b");
}

TEST(Extents, ElementTypeNames) {
  struct Case {
    const char* type;
    int iele, inodes, idof;
  };
  const Case cases[] = {{"S4R", 1, 4, 6},   {"STRI3", 1, 3, 6}, {"SC8R", 1, 8, 6},  {"S8R5", 1, 8, 5},
                        {"C3D20", 1, 20, 6}, {"C3D8R", 1, 8, 6}, {"SFM3D4", 1, 0, 6}, {"C3D20RH", 1, 0, 6},
                        {"COH3D8", 1, 0, 6}, {"CINPE4", 0, 0, 0}, {"R3D4", 0, 0, 0},  {"T3D2", 0, 0, 0}};
  for (const Case& c : cases) {
    int iele = 0, inodes = 0, idof = 0;
    getelementdataextents(c.type, iele, inodes, idof);
    EXPECT_EQ((std::vector<int>{iele, inodes, idof}), (std::vector<int>{c.iele, c.inodes, c.idof})) << c.type;
  }
  int iele = 0, inodes = 0, idof = 0;
  for (const char* t : {"S4R", "S8R5", "C3D8R"}) getelementdataextents(t, iele, inodes, idof);
  EXPECT_EQ((std::vector<int>{iele, inodes, idof}), (std::vector<int>{3, 8, 6}));
}

}  // namespace
}  // namespace tavrin::iohandling
