// The Hermite package's error-message facility: framed messages, the line
// printer, the summary table and the control settings.  The full report of a
// real process end is checked from Python, in a child process.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "fatal_paths.hpp"
#include "pchip/runtime.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

class ErrorFacility : public FatalPaths {
 protected:
  static Lines report(std::string_view lib, std::string_view sub, std::string_view msg, int nerr, int level) {
    return run_captured([&] { pchip::xermsg(lib, sub, msg, nerr, level); }).lines();
  }
  static Lines dump() { return run_captured([] { xerdmp(); }).lines(); }
};

// Every control setting with every level: whether the process ends, and what
// is printed: settings 1 and 2 the full frame, -1 and -2 the frame without
// the kind line, 0 nothing but the message of a level 2 report.
TEST_F(ErrorFacility, ControlSettingsAgainstLevels) {
  const int cases[][3] = {{2, -1, 0}, {2, 0, 0},  {2, 1, 1},  {2, 2, 1},  {1, 0, 0},  {1, 1, 0},
                          {1, 2, 1},  {0, -1, 0}, {0, 0, 0},  {0, 1, 0},  {0, 2, 1},  {-1, 0, 0},
                          {-1, 1, 0}, {-1, 2, 1}, {-2, 0, 0}, {-2, 1, 1}, {-2, 2, 1}};  // setting, level, ends
  const std::string kinds[] = {"INFORMATIVE MESSAGE,", "INFORMATIVE MESSAGE,", "POTENTIALLY RECOVERABLE ERROR,",
                               "FATAL ERROR,"};
  for (const auto& [setting, level, ends] : cases) {
    SCOPED_TRACE("setting " + std::to_string(setting) + ", level " + std::to_string(level));
    pchip::reset_error_facility();
    xsetf(&setting);
    const auto o = run_captured([&] { pchip::xermsg("SLATEC", "DPCHIM", "SOME TEXT", -3, level); });
    const bool frame = setting != 0, kind_line = setting > 0;
    const std::string progress = ends ? " PROG ABORTED," : " PROG CONTINUES,";
    Lines expected;
    if (frame) expected.push_back(" ***MESSAGE FROM ROUTINE DPCHIM IN LIBRARY SLATEC.");
    if (kind_line) expected.push_back(" ***" + kinds[level + 1] + progress + " TRACEBACK REQUESTED");
    if (frame || level == 2) expected.push_back(" *  SOME TEXT");
    if (kind_line) expected.push_back(" *  ERROR NUMBER = -3");
    if (frame) expected.insert(expected.end(), {" *   ", " ***END OF MESSAGE", " "});
    if (kind_line && ends) {  // abort notice and summary
      const std::string kind = level == 1 ? "UNRECOVERED" : "FATAL", lv = pchip::format_int(level, 10);
      expected.insert(expected.end(),
                      {" ***JOB ABORT DUE TO " + kind + " ERROR.", "0          ERROR MESSAGE SUMMARY",
                       " LIBRARY    SUBROUTINE MESSAGE START             NERR     LEVEL     COUNT",
                       " SLATEC     DPCHIM     SOME TEXT                   -3" + lv + "         1", " "});
    }
    EXPECT_EQ(o.lines(), expected);
    EXPECT_EQ(o.status, ends ? 1 : -1);
  }
}

// Prefix, prefix length, message, wrap width, lines printed: new-line markers
// never make an empty line; a marker or a blank at position 73 ends a line of
// full width (the blank unprinted); a marker beyond the width has the piece
// before it wrapped first; a longer word is cut; prefix and width are clamped
// to 16.
TEST_F(ErrorFacility, LinePrinterMarkersAndWrapping) {
  const std::string p = " *  ", full(72, 'a'), first(60, 'w'), second(30, 'v'), word(100, 'x'), z(16, 'z');
  const std::tuple<std::string, int, std::string, int, Lines> cases[] = {
      {" ***", -1, "$$A$$$$B$$ C$$", 72, {" ***A", " ***B", " *** C"}},
      {p, -1, full + "$$" + full + " tail", 72, {p + full, p + full, p + "tail"}},
      {p, -1, first + " " + second + "$$" + word, 72,
       {p + first, p + second, p + word.substr(0, 72), p + word.substr(72)}},
      {"AB", 4, "x", 72, {"AB  x"}},
      {"0123456789abcdefXYZ", -1, z + "zzzz", 5, {"0123456789abcdef" + z, "0123456789abcdefzzzz"}},
  };
  for (const auto& [prefix, npref, text, nwrap, expected] : cases)
    EXPECT_EQ(run_captured([&] { pchip::xerprn(prefix, npref, text, nwrap); }).lines(), expected) << text;
}

// Level -1: printed on its first occurrence only, level 0 ten times (slot 4);
// both counted every time; number and level are part of the key.  The summary
// is emptied when printed.  Ten distinct entries fill the table; the eleventh
// is printed every time (its count is 0) and summarised apart.
TEST_F(ErrorFacility, SummaryCountsRepeatsAndOverflow) {
  auto printed = [](std::string_view msg, int nerr, int level) {
    return !report("SLATEC", "DPCHXX", msg, nerr, level).empty();
  };
  EXPECT_TRUE(printed("ONCE", 1, -1));
  EXPECT_FALSE(printed("ONCE", 1, -1));
  int prints = 0;
  for (int k = 0; k < 11; ++k) prints += printed("OFTEN", 2, 0);
  EXPECT_EQ(prints, 10);
  printed("OFTEN", 3, 0);
  printed("OFTEN", 2, -1);
  const Lines summary = dump();
  EXPECT_EQ(Lines(summary.begin() + 2, summary.end()),
            (Lines{" SLATEC     DPCHXX     ONCE                         1        -1         2",
                   " SLATEC     DPCHXX     OFTEN                        2         0        11",
                   " SLATEC     DPCHXX     OFTEN                        3         0         1",
                   " SLATEC     DPCHXX     OFTEN                        2        -1         1", " "}));
  EXPECT_TRUE(dump().empty());
  for (int k = 1; k <= 10; ++k) printed("FILL", k, 0);
  EXPECT_TRUE(printed("EXTRA", 11, -1) && printed("EXTRA", 11, -1));
  const Lines full = dump();
  EXPECT_EQ(Lines(full.begin() + 12, full.end()),
            (Lines{"0OTHER ERRORS NOT INDIVIDUALLY TABULATED =          2", " "}));
}

// Names and messages are cut to their fields; numbers outside the limits and
// bad levels are a fatal report that stores nothing and empties the summary,
// and so is an invalid setting, which leaves the setting.  A slot of the
// control table outside 1..9 stores nothing and reads 0; the channel list is
// one channel, 0 (the standard message unit), and a count outside 1..5 never
// makes it run past five entries.
TEST_F(ErrorFacility, LimitsAndControlTable) {
  EXPECT_EQ(report("LIBRARYNAMELONGER", "ROUTINENAMELONGER16", "A MESSAGE LONGER THAN TWENTY", 5, 0).front(),
            " ***MESSAGE FROM ROUTINE ROUTINENAMELONGE IN LIBRARY LIBRARYNAMELONGE.");
  EXPECT_EQ(dump()[2], " LIBRARYN   ROUTINEN   A MESSAGE LONGER THA         5         0         1");
  for (int nerr : {-9999999, 99999999})
    EXPECT_EQ(report("L", "R", "M", nerr, 0)[3], " *  ERROR NUMBER = " + std::to_string(nerr));
  const Lines invalid{" ***FATAL ERROR IN...", " *** XERMSG -- INVALID ERROR NUMBER OR LEVEL",
                      " *** JOB ABORT DUE TO FATAL ERROR."};
  for (const auto& [nerr, level] : {std::pair{-10000000, 1}, {100000000, 1}, {0, 1}, {1, 3}, {1, -2}}) {
    const auto o = run_captured([&] { pchip::xermsg("L", "R", "M", nerr, level); });
    Lines lines = o.lines();
    lines.resize(std::min<std::size_t>(lines.size(), 3));
    EXPECT_EQ(lines, invalid);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(pchip::j4save(1, 0, false), 99999999);  // not stored
  }
  EXPECT_TRUE(dump().empty());
  int k = 7, units[5] = {-1, -1, -1, -1, -1}, n = 0;
  const int three = 3, value = 5, set = 1;
  const auto o = run_captured([&] { xsetf(&three); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines().at(2), " *  INVALID ARGUMENT =        3");
  xgetf(&k);
  EXPECT_EQ(k, 2);
  for (int slot : {0, 10, -1}) EXPECT_EQ(j4save(&slot, &value, &set), 0);
  xgetua(units, &n);
  EXPECT_EQ((std::pair{n, units[0]}), (std::pair{1, 0}));
  pchip::j4save(5, 9, true);
  xgetua(units, &n);
  EXPECT_EQ(n, 5);
}

}  // namespace
}  // namespace tavrin
