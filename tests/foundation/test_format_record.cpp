// Formatted records: single fields, whole formats (stop rule, reversion,
// records and slashes), the parser's refusals, and the time-stamp line.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "foundation/format_record.hpp"
#include "foundation/timestamp.hpp"
#include "interp/lagrange.hpp"
#include "foundation/record_files.hpp"

namespace tavrin {
namespace {

using Records = std::vector<std::string>;
constexpr double inf = std::numeric_limits<double>::infinity();

// Value, width, decimals, scale factor, Fw.d field: the leading 0 only where
// there is room; -0 unsigned; rounding; overflow; 1P moves the point.
TEST(FormatFields, Fixed) {
  const std::tuple<double, int, int, int, std::string> cases[] = {
      {0.5, 4, 2, 0, "0.50"},      {0.5, 3, 2, 0, ".50"},      {-0.5, 4, 2, 0, "-.50"},
      {-0.5, 6, 2, 0, " -0.50"},   {-0.0, 5, 1, 0, "  0.0"},   {-3, 6, 1, 0, "  -3.0"},
      {2.345, 6, 2, 0, "  2.35"},  {-0.96, 4, 1, 0, "-1.0"},   {123.4, 4, 1, 0, "****"},
      {99.96, 5, 1, 0, "100.0"},   {99.96, 4, 1, 0, "****"},   {7, 3, 0, 0, " 7."},
      {0.2, 2, 0, 0, "0."},        {1.23456, 7, 2, 1, "  12.35"}, {0.05, 5, 1, 2, "  5.0"},
      {inf, 9, 2, 0, " Infinity"}, {-inf, 5, 2, 0, " -Inf"},   {std::nan(""), 5, 1, 0, "  NaN"},
      {-inf, 3, 1, 0, "***"},
  };
  for (const auto& [x, w, d, k, expected] : cases) EXPECT_EQ(io::edit_fixed(x, w, d, k), expected) << x;
}

// Value, width, decimals, scale, letter, exponent field: 1P one nonzero digit
// before the point, 0P "0." (the 0 dropped when tight), three exponent digits
// without the letter beyond 99, rounding into the next decade.
TEST(FormatFields, Exponent) {
  const std::tuple<double, int, int, int, char, std::string> cases[] = {
      {-108, 20, 10, 1, 'D', "   -1.0800000000D+02"}, {0, 15, 5, 1, 'D', "    0.00000D+00"},
      {-0.0, 12, 3, 1, 'E', "   0.000E+00"},          {1.5e-7, 10, 3, 1, 'E', " 1.500E-07"},
      {9.99996, 11, 4, 1, 'D', " 1.0000D+01"},        {1e100, 11, 4, 1, 'D', " 1.0000+100"},
      {-2.5e-100, 11, 4, 1, 'E', "-2.5000-100"},      {1e100, 9, 4, 1, 'D', "*********"},
      {0.5, 10, 3, 0, 'E', " 0.500E+00"},             {0.5, 8, 3, 0, 'E', ".500E+00"},
      {1234.5, 10, 3, 0, 'E', " 0.123E+04"},          {1234.56, 10, 3, 2, 'E', " 12.35E+02"},
      {1.0, 8, 3, 5, 'E', "********"},                {-inf, 10, 3, 1, 'E', " -Infinity"},
  };
  for (const auto& [x, w, d, k, letter, expected] : cases)
    EXPECT_EQ(io::edit_exponent(x, w, d, k, letter), expected) << x << " k=" << k;
}

// Integers (Iw, Iw.m) and texts (A, Aw).
TEST(FormatFields, IntegerAndText) {
  const std::tuple<long long, int, int, std::string> ints[] = {
      {-3, 5, -1, "   -3"}, {123, 2, -1, "**"},  {5, 4, 3, " 005"},   {-5, 4, 3, "-005"},
      {0, 3, 0, "   "},     {7, 1, -1, "7"},     {LLONG_MIN, 20, -1, "-9223372036854775808"},
  };
  for (const auto& [v, w, m, expected] : ints) EXPECT_EQ(io::edit_integer(v, w, m), expected) << v;
  EXPECT_EQ(io::edit_text("December ", 0), "December ");
  EXPECT_EQ(io::edit_text("OK", 4), "  OK");
  EXPECT_EQ(io::edit_text("IMX", 2), "IM");
  EXPECT_EQ(io::edit_integer(-2147483647 - 1, 11), "-2147483648");
}

// Format, items, records.
TEST(FormatRecords, WholeFormats) {
  using Items = std::vector<io::FormatItem>;
  const std::tuple<const char*, Items, Records> cases[] = {
      // A full record; the same format stopping after the integer.
      {"(2F6.1,I5,1P,2D20.10,D15.5)", {-3.0, 3.0, 0, -108.0, -108.0, 0.0},
       {"  -3.0   3.0    0   -1.0800000000D+02   -1.0800000000D+02    0.00000D+00"}},
      {"(2F6.1,I5,1P,2D20.10,D15.5)", {-0.5, 1.0, -1}, {"  -0.5   1.0   -1"}},
      // Text after the last item up to the next value descriptor.
      {"(2F6.1,I5,1P,2D20.10,D15.5,'  (',I1,') *****' )", {3.0, 5.0, 1, 1.0, 2.0, 3.0},
       {"   3.0   5.0    1    1.0000000000D+00    2.0000000000D+00    3.00000D+00  ("}},
      // The first title of the evaluator check: '1' is an ordinary character.
      {"('1'/' ------------ DPCHIP QUICK CHECK OUTPUT', ' ------------' //20X,'( KPRINT =',I2,' )')", {3},
       {"1", " ------------ DPCHIP QUICK CHECK OUTPUT ------------", "", "                    ( KPRINT = 3 )"}},
      // A final group repeats for the values left over, one record each.
      {"(// 5X,'DATA:' //11X,'X',9X,'F',9X,'D' /(5X,3F10.3) )", {-4.0, -288.0, 144.0, -2.0, -48.0, 36.0},
       {"", "", "     DATA:", "", "           X         F         D",
        "         -4.000  -288.000   144.000", "         -2.000   -48.000    36.000"}},
      // Reversion with the group's count; without a group, the whole format.
      {"(I2,2(I3))", {1, 2, 3, 4, 5, 6, 7}, {" 1  2  3", "  4  5", "  6  7"}},
      {"('X',I2)", {1, 2}, {"X 1", "X 2"}},
      // Slashes: "(/)" two empty records; trailing // two after the text.
      {"(/)", {}, {"", ""}},
      {"(' A'//)", {}, {" A", "", ""}},
      {"(A,' B'/' C',I3)", {"  OK."}, {"  OK. B", " C"}},
      // Quotes, blanks, lower case, repeat counts on groups, scale kept.
      {"('it''s',2x,\"q\"\"\")", {}, {"it's  q\""}},
      {"(1P,E10.3,0P,F6.2,2(1X,A1))", {1234.5, 0.25, ":", "."}, {" 1.234E+03  0.25 : ."}},
      {"(16I3)", {1, 2, 3}, {"  1  2  3"}},
      {"('a',0X,'b',X,'c')", {}, {"ab c"}},
      // An item of the wrong kind spoils only its own field.
      {"(I3,F5.1)", {2.5, 1}, {"********"}},
      // Control characters as Hollerith text; a tab counts them as column 1.
      {"(1H0,T6,'AB',T3,'x'/1H ,I2,T10,'|'/1H1/1H+,2HAB)", {7},
       {"0 x  AB", "  7      |", "1", "+AB"}},
      {"(T4,'abcd',T2,'XY',T12,'.')", {}, {" XYabcd    ."}},
      {"(1H                 ,'NR',9X,'YI ')", {}, {" NR         YI "}},
      // Reversion into a final group that starts with a control character.
      {"(1H0,'FEHLER'//(1H ,D16.9))", {-0.0, 1e100, -1.5e-101},
       {"0FEHLER", "", "  0.000000000D+00", "  0.100000000+101", " -0.150000000-100"}},
      {"(T13,'DYY = ',D16.9,2X,'(K * L**2)')", {28000.0 / 3},
       {"            DYY =  0.933333333D+04  (K * L**2)"}},
  };
  for (const auto& [format, items, expected] : cases)
    EXPECT_EQ(io::format_records(io::Format(format), items), expected) << format;
}

TEST(FormatRecords, ParserRefusesMalformedFormats) {
  for (const char* bad : {"I5", "(I)", "(F5)", "(E10)", "(Q5)", "(5X", "('abc)", "(I5) x", "(P)", "(0I3)",
                          "(I99999)", "(F0.1)", "(T)", "(T0)", "(3T4)", "(H)", "(0Ha)", "(4Hab)"})
    EXPECT_THROW(io::Format{bad}, std::invalid_argument) << bad;
}

TEST(FormatRecords, WritesToAConnectedUnit) {
  std::ostringstream out;
  ASSERT_TRUE(io::connect_unit(42, out));
  static const io::Format line("(/5X,'  ALL DPCH',A2,' RESULTS OK.')");
  io::write_formatted(42, line, {"IM"});
  io::disconnect_unit(42);
  EXPECT_EQ(out.str(), "\n       ALL DPCHIM RESULTS OK.\n");
}

// The time stamp at fixed moments; unreadable clocks and impossible dates
// give the placeholder line.
TEST(TimeStamp, Lines) {
  const std::tuple<io::WallClock, std::string> cases[] = {
      {{2026, 12, 5, 18, 14, 2, 123}, " 5 December 2026   6:14:02.123 PM"},
      {{2026, 12, 5, 12, 0, 0, 500}, " 5 December 2026  12:00:00.500 Noon"},
      {{2026, 12, 5, 12, 0, 1, 0}, " 5 December 2026  12:00:01.000 PM"},
      {{2027, 1, 31, 0, 30, 0, 7}, "31 January 2027   0:30:00.007 AM"},
      {{2027, 9, 1, 11, 59, 59, 999}, " 1 September 2027  11:59:59.999 AM"},
      {{2026, 13, 5, 1, 2, 3, 4}, " Date and time unavailable"},
      {{2026, 0, 5, 1, 2, 3, 4}, " Date and time unavailable"},
      {{2026, 5, 5, 24, 2, 3, 4}, " Date and time unavailable"},
  };
  for (const auto& [now, expected] : cases) EXPECT_EQ(io::timestamp_line(now), expected);

  const auto previous = io::set_clock_reader([](io::WallClock& now) {
    now = {2026, 12, 5, 18, 14, 2, 123};
    return true;
  });
  ::testing::internal::CaptureStdout();
  interp_timestamp();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), " 5 December 2026   6:14:02.123 PM\n");
  io::set_clock_reader([](io::WallClock&) { return false; });
  EXPECT_EQ(io::timestamp_line(), " Date and time unavailable");
  // A moment of the system clock: its milliseconds within the second.
  io::WallClock at;
  ASSERT_TRUE(io::wall_clock_at(std::chrono::system_clock::time_point(std::chrono::milliseconds(86400999)), at));
  EXPECT_EQ(at.millisecond, 999);
  ASSERT_TRUE(io::wall_clock_at(std::chrono::system_clock::time_point(std::chrono::milliseconds(1700000000123)), at));
  EXPECT_EQ(std::tuple(at.year, at.millisecond), std::tuple(2023, 123));
  io::set_clock_reader(nullptr);  // the system clock: a real date
  EXPECT_NE(io::timestamp_line(), " Date and time unavailable");
  io::set_clock_reader(previous);
}

}  // namespace
}  // namespace tavrin
