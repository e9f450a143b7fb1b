// The Hermite package's error-message facility: framed messages, the line
// printer, the summary table, the control settings and the halt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fatal_paths.hpp"
#include "pchip/dpchip.hpp"
#include "pchip/runtime.hpp"
#include "pchip/xerror.hpp"

namespace tavrin {
namespace {

using testing_support::FatalPaths;
using testing_support::run_captured;
using Lines = std::vector<std::string>;
namespace pchip = tavrin::pchip;

class ErrorFacility : public FatalPaths {};

TEST_F(ErrorFacility, FirstReportOfTheProcessUnderTheInitialSetting) {
  const int n = 1, incfd = 1;
  const double x = 0.0, f = 1.0;
  double d = 7.0;
  int ierr = 0;
  const auto o = run_captured([&] { dpchim(&n, &x, &f, &d, &incfd, &ierr); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines(),
            (Lines{" ***MESSAGE FROM ROUTINE DPCHIM IN LIBRARY SLATEC.",
                   " ***POTENTIALLY RECOVERABLE ERROR, PROG ABORTED, TRACEBACK REQUESTED",
                   " *  NUMBER OF DATA POINTS LESS THAN TWO",
                   " *  ERROR NUMBER = -1",
                   " *   ",
                   " ***END OF MESSAGE",
                   " ",
                   " ***JOB ABORT DUE TO UNRECOVERED ERROR.",
                   "0          ERROR MESSAGE SUMMARY",
                   " LIBRARY    SUBROUTINE MESSAGE START             NERR     LEVEL     COUNT",
                   " SLATEC     DPCHIM     NUMBER OF DATA POINT        -1         1         1",
                   " "}));
  EXPECT_EQ(d, 7.0);  // outputs untouched on an error
  EXPECT_EQ(pchip::j4save(1, 0, false), -1);  // the last error number
}

// Every control setting with every level: what is printed and whether the
// process ends.
TEST_F(ErrorFacility, ControlSettingsAgainstLevels) {
  struct Case {
    int setting;
    int level;
    bool header, kind_line, message, frame_end;
    const char* progress;  // in the kind line
    bool notice;           // abort notice and summary
    bool ends;
  };
  const Case cases[] = {
      {2, -1, true, true, true, true, "PROG CONTINUES", false, false},
      {2, 0, true, true, true, true, "PROG CONTINUES", false, false},
      {2, 1, true, true, true, true, "PROG ABORTED", true, true},
      {2, 2, true, true, true, true, "PROG ABORTED", true, true},
      {1, 0, true, true, true, true, "PROG CONTINUES", false, false},
      {1, 1, true, true, true, true, "PROG CONTINUES", false, false},
      {1, 2, true, true, true, true, "PROG ABORTED", true, true},
      {0, -1, false, false, false, false, "", false, false},
      {0, 0, false, false, false, false, "", false, false},
      {0, 1, false, false, false, false, "", false, false},
      {0, 2, false, false, true, false, "", false, true},
      {-1, 0, true, false, true, true, "", false, false},
      {-1, 1, true, false, true, true, "", false, false},
      {-1, 2, true, false, true, true, "", false, true},
      {-2, 0, true, false, true, true, "", false, false},
      {-2, 1, true, false, true, true, "", false, true},
      {-2, 2, true, false, true, true, "", false, true},
  };
  const char* kinds[] = {"INFORMATIVE MESSAGE,", "INFORMATIVE MESSAGE,", "POTENTIALLY RECOVERABLE ERROR,",
                         "FATAL ERROR,"};
  for (const Case& c : cases) {
    SCOPED_TRACE("setting " + std::to_string(c.setting) + ", level " + std::to_string(c.level));
    pchip::reset_error_facility();
    xsetf(&c.setting);
    const auto o = run_captured([&] { pchip::xermsg("SLATEC", "DPCHIM", "SOME TEXT", -3, c.level); });
    Lines expected;
    if (c.header) expected.push_back(" ***MESSAGE FROM ROUTINE DPCHIM IN LIBRARY SLATEC.");
    if (c.kind_line)
      expected.push_back(std::string(" ***") + kinds[c.level + 1] + " " + c.progress + ", TRACEBACK REQUESTED");
    if (c.message) expected.push_back(" *  SOME TEXT");
    if (c.kind_line) expected.push_back(" *  ERROR NUMBER = -3");
    if (c.frame_end) expected.insert(expected.end(), {" *   ", " ***END OF MESSAGE", " "});
    if (c.notice) {
      expected.push_back(c.level == 1 ? " ***JOB ABORT DUE TO UNRECOVERED ERROR."
                                      : " ***JOB ABORT DUE TO FATAL ERROR.");
      expected.insert(expected.end(),
                      {"0          ERROR MESSAGE SUMMARY",
                       " LIBRARY    SUBROUTINE MESSAGE START             NERR     LEVEL     COUNT",
                       " SLATEC     DPCHIM     SOME TEXT                   -3" +
                           pchip::format_int(c.level, 10) + "         1",
                       " "});
    }
    EXPECT_EQ(o.lines(), expected);
    EXPECT_EQ(o.status, c.ends ? 1 : -1);
  }
}

TEST_F(ErrorFacility, LinePrinterMarkersAndWrapping) {
  auto printed = [](std::string_view prefix, int npref, std::string_view text, int nwrap = 72) {
    return run_captured([&] { pchip::xerprn(prefix, npref, text, nwrap); }).lines();
  };
  // New-line markers, never an empty line.
  EXPECT_EQ(printed(" ***", -1, "$$A$$$$B$$ C$$"), (Lines{" ***A", " ***B", " *** C"}));
  EXPECT_EQ(printed(" ***", -1, "FATAL ERROR IN...$$ XERMSG -- INVALID ERROR NUMBER OR LEVEL$$ JOB"),
            (Lines{" ***FATAL ERROR IN...", " *** XERMSG -- INVALID ERROR NUMBER OR LEVEL", " *** JOB"}));
  // A marker one position after the wrap width ends a line of full width.
  const std::string full(72, 'a');
  EXPECT_EQ(printed(" *  ", -1, full + "$$b"), (Lines{" *  " + full, " *  b"}));
  // Wrapping at the last blank within the first 73 characters, which is
  // not printed; a blank at position 73 itself counts.
  const std::string first(60, 'w'), second(30, 'v');
  EXPECT_EQ(printed(" *  ", -1, first + " " + second), (Lines{" *  " + first, " *  " + second}));
  EXPECT_EQ(printed(" *  ", -1, full + " tail"), (Lines{" *  " + full, " *  tail"}));
  // A marker beyond the wrap width: the piece before it is wrapped first.
  EXPECT_EQ(printed(" *  ", -1, first + " " + second + "$$end"),
            (Lines{" *  " + first, " *  " + second, " *  end"}));
  // A word longer than the width is cut at it.
  const std::string word(100, 'x');
  EXPECT_EQ(printed(" *  ", -1, word), (Lines{" *  " + word.substr(0, 72), " *  " + word.substr(72)}));
  // Blank messages, prefix lengths, clamped widths.
  EXPECT_EQ(printed(" *  ", -1, "   "), (Lines{" *   "}));
  EXPECT_EQ(printed(" *  ", 0, ""), (Lines{" "}));
  EXPECT_EQ(printed("AB", 4, "x"), (Lines{"AB  x"}));
  EXPECT_EQ(printed("0123456789abcdefXYZ", -1, "m"), (Lines{"0123456789abcdefm"}));
  EXPECT_EQ(printed("", 0, std::string(20, 'z'), 5), (Lines{std::string(16, 'z'), "zzzz"}));
}

TEST_F(ErrorFacility, SummaryCountsRepeatsAndOverflow) {
  auto report = [](std::string_view msg, int nerr, int level) {
    return run_captured([&] { pchip::xermsg("SLATEC", "DPCHXX", msg, nerr, level); });
  };
  // Level -1: printed on its first occurrence only, counted every time.
  EXPECT_FALSE(report("ONCE", 1, -1).out.empty());
  EXPECT_TRUE(report("ONCE", 1, -1).out.empty());
  EXPECT_EQ(pchip::xersve("SLATEC", "DPCHXX", "ONCE", 1, 1, -1), 3);
  // Level 0: printed ten times (slot 4), counted eleven.
  int printed = 0;
  for (int k = 0; k < 11; ++k) printed += !report("OFTEN", 2, 0).out.empty();
  EXPECT_EQ(printed, 10);
  // Number and level are part of the key.
  report("OFTEN", 3, 0);
  report("OFTEN", 2, -1);
  const auto dump = run_captured([] { xerdmp(); }).lines();
  ASSERT_EQ(dump.size(), 7u);
  EXPECT_EQ(dump[2], " SLATEC     DPCHXX     ONCE                         1        -1         3");
  EXPECT_EQ(dump[3], " SLATEC     DPCHXX     OFTEN                        2         0        11");
  EXPECT_EQ(dump[4], " SLATEC     DPCHXX     OFTEN                        3         0         1");
  EXPECT_EQ(dump[5], " SLATEC     DPCHXX     OFTEN                        2        -1         1");
  EXPECT_TRUE(run_captured([] { xerdmp(); }).out.empty());  // emptied

  // Ten distinct entries fill the table; the eleventh is printed every time
  // (its count is 0) and summarised apart.
  for (int k = 1; k <= 10; ++k) report("FILL", k, 0);
  EXPECT_FALSE(report("EXTRA", 11, -1).out.empty());
  EXPECT_FALSE(report("EXTRA", 11, -1).out.empty());
  const auto full = run_captured([] { xerdmp(); }).lines();
  ASSERT_EQ(full.size(), 14u);
  EXPECT_EQ(full[12], "0OTHER ERRORS NOT INDIVIDUALLY TABULATED =          2");
  EXPECT_EQ(full[13], " ");
}

TEST_F(ErrorFacility, LongNamesAreCut) {
  const auto o = run_captured([] {
    pchip::xermsg("LIBRARYNAMELONGER", "ROUTINENAMELONGER16", "A MESSAGE LONGER THAN TWENTY", 5, 0);
    xerdmp();
  });
  const auto lines = o.lines();
  EXPECT_EQ(lines.front(), " ***MESSAGE FROM ROUTINE ROUTINENAMELONGE IN LIBRARY LIBRARYNAMELONGE.");
  EXPECT_EQ(lines[lines.size() - 2],
            " LIBRARYN   ROUTINEN   A MESSAGE LONGER THA         5         0         1");
}

TEST_F(ErrorFacility, ErrorNumberAndLevelLimits) {
  EXPECT_EQ(run_captured([] { pchip::xermsg("L", "R", "M", -9999999, 0); }).lines()[3],
            " *  ERROR NUMBER = -9999999");
  EXPECT_EQ(run_captured([] { pchip::xermsg("L", "R", "M", 99999999, 0); }).lines()[3],
            " *  ERROR NUMBER = 99999999");
  const Lines invalid{" ***FATAL ERROR IN...", " *** XERMSG -- INVALID ERROR NUMBER OR LEVEL",
                      " *** JOB ABORT DUE TO FATAL ERROR."};
  for (const auto& [nerr, level] : {std::pair{-10000000, 1}, {100000000, 1}, {0, 1}, {1, 3}, {1, -2}}) {
    const auto o = run_captured([&] { pchip::xermsg("L", "R", "M", nerr, level); });
    const Lines lines = o.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3), invalid);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(pchip::j4save(1, 0, false), 99999999);  // not stored
  }
  // The faulty report empties the summary after printing it.
  EXPECT_TRUE(run_captured([] { xerdmp(); }).out.empty());
}

TEST_F(ErrorFacility, SettingTheControl) {
  int k = 7;
  xgetf(&k);
  EXPECT_EQ(k, 2);
  const int minus_two = -2, three = 3;
  xsetf(&minus_two);
  xgetf(&k);
  EXPECT_EQ(k, -2);
  pchip::reset_error_facility();
  const auto o = run_captured([&] { xsetf(&three); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[2], " *  INVALID ARGUMENT =        3");
  xgetf(&k);
  EXPECT_EQ(k, 2);  // unchanged
}

TEST_F(ErrorFacility, ControlTableSlots) {
  EXPECT_EQ(pchip::j4save(4, 0, false), 10);
  EXPECT_EQ(pchip::j4save(4, 3, true), 10);
  EXPECT_EQ(pchip::j4save(4, 0, false), 3);
  // A slot outside 1..9 stores nothing and reads 0.
  for (int slot : {0, 10, -1}) {
    const int value = 5, set = 1;
    EXPECT_EQ(j4save(&slot, &value, &set), 0);
  }
  for (int slot = 1; slot <= 9; ++slot)
    EXPECT_NE(pchip::j4save(slot, 0, false), 5) << "slot " << slot;
  // The channel list: one channel, 0 (the standard message unit); a count
  // outside 1..5 never makes the list run past five entries.
  int units[5] = {-1, -1, -1, -1, -1}, n = 0;
  xgetua(units, &n);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(units[0], 0);
  pchip::j4save(5, 9, true);
  xgetua(units, &n);
  EXPECT_EQ(n, 5);
}

TEST(ErrorFacilityDeathTest, LevelOneReportEndsTheProcessWithStatusOne) {
  EXPECT_EXIT(pchip::xermsg("SLATEC", "DPCHFE", "X-ARRAY NOT STRICTLY INCREASING", -3, 1),
              ::testing::ExitedWithCode(1), "STOP 1");
}

}  // namespace
}  // namespace tavrin
