// The quick checks: their helpers, and the drivers of both precisions at
// every detail level, with their records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <tuple>

#include "fatal_paths.hpp"
#include "foundation/timestamp.hpp"
#include "pchip/evaluator_checks.hpp"
#include "pchip/quickcheck.hpp"
#include "pchip/runtime.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

TEST(QuickCheckHelpers, CompareAndReferenceCubic) {
  const std::tuple<int, int, int, bool, std::string> cases[] = {
      {2, 2, 3, true, "     OK.\n"},   {2, 2, 2, true, ""},
      {-3, 0, 3, false, "  COMPARE FAILED -- IERR =    -3\n"}, {-3, 0, 2, false, ""}};
  for (const auto& [actual, expected, kprint, same, text] : cases) {
    const int lout = 6;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(comp(&actual, &expected, &lout, &kprint), same ? 1 : 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), text);
  }
  for (const auto& [x, f, d] : {std::tuple{-1.0, 0.0, 3.0}, {0.0, 0.0, -2.0}, {2.0, 0.0, 6.0}, {1.0, -2.0, -1.0}}) {
    double fd = 9, dd = 9;
    float fs = 9, ds = 9;
    const float xs = float(x);
    dfdtru(&x, &fd, &dd);
    fdtrue(&xs, &fs, &ds);
    EXPECT_EQ(std::tuple(fd, dd), std::tuple(f, d)) << x;
    EXPECT_EQ(std::tuple(double(fs), double(ds)), std::tuple(f, d)) << x;
  }
}

TEST(QuickCheckHelpers, RandomGenerator) {
  constexpr double scale = 4194304.0;
  const float draw = 0, again = -1;
  pchip::reset_pchip_rand();
  EXPECT_EQ(pchip_rand(&draw) * scale, 1731);
  EXPECT_EQ(pchip_rand(&draw) * scale, 2831506);
  EXPECT_EQ(pchip_rand(&draw) * scale, 677277);
  EXPECT_EQ(pchip_rand(&again) * scale, 677277);
  // Reseeds: 2.5 restarts at 2^21; a fraction that rounds up to 2^22 gives 1.
  const float half = 2.5f, top = 0.99999994f;
  EXPECT_EQ(pchip_rand(&half), 0.5f);
  EXPECT_EQ(pchip_rand(&draw) * scale, double((3146757LL * 2097152 + 1731) % 4194304));
  EXPECT_EQ(pchip_rand(&top), 1.0f);
  EXPECT_EQ(pchip_rand(&draw) * scale, 1731);
  // Full period: back at state 0 after exactly 2^22 draws, not before.
  pchip::reset_pchip_rand();
  long long period = 0;
  do {
    ++period;
  } while (pchip_rand(&draw) != 0.0f && period <= 4194304);
  EXPECT_EQ(period, 4194304);
  pchip::reset_pchip_rand();
}

TEST(QuickCheckHelpers, FreeUnit) {
  int unit = -1;
  get_unit(&unit);
  EXPECT_EQ(unit, 1);
  std::ostringstream sink;
  for (int u = 1; u <= 99; ++u) pchip::connect_unit(u, sink);
  get_unit(&unit);
  EXPECT_EQ(unit, 0);
  pchip::disconnect_unit(50);
  get_unit(&unit);
  EXPECT_EQ(unit, 50);
  for (int u = 1; u <= 99; ++u) pchip::disconnect_unit(u);
  for (int u = 1; u <= 4; ++u) pchip::connect_unit(u, sink);  // 5 and 6 are standard input and output
  get_unit(&unit);
  EXPECT_EQ(unit, 7);
  pchip::connect_unit(7, sink);
  pchip::connect_unit(8, sink);
  get_unit(&unit);
  EXPECT_EQ(unit, 10);
  for (int u = 1; u <= 8; ++u) pchip::disconnect_unit(u);
}

using Driver = void (*)(const int*, const int*, int*);
const std::tuple<Driver, const char*> drivers[] = {
    {dpchq1, "dpchq1"}, {pchqk1, "pchqk1"}, {dpchq2, "dpchq2"}, {dpchq3, "dpchq3"}, {dpchq4, "dpchq4"}, {dpchq5, "dpchq5"},
    {pchqk2, "pchqk2"}, {pchqk3, "pchqk3"}, {pchqk4, "pchqk4"}, {pchqk5, "pchqk5"}};

// The report of one driver at one level, on a connected unit.
std::pair<int, Lines> report(Driver driver, int kprint) {
  std::ostringstream out;
  const int lun = 31;
  pchip::connect_unit(lun, out);
  int ipass = -1;
  driver(&lun, &kprint, &ipass);
  pchip::disconnect_unit(lun);
  Lines lines;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return {ipass, lines};
}

class QuickChecks : public FatalPaths {};

// Every driver passes at every level, twice in a row; level 0 and 1 write
// nothing, level 2 ends with the pass line.
TEST_F(QuickChecks, EveryDriverPassesAtEveryLevel) {
  pchip::reset_pchip_rand();  // the binary32 evaluator check depends on the draws: a fixed sequence
  for (const auto& [driver, name] : drivers)
    for (int kprint = 0; kprint <= 4; ++kprint)
      for (int round = 0; round < 2; ++round) {
        const auto [ipass, lines] = report(driver, kprint);
        EXPECT_EQ(ipass, 1) << name << " kprint " << kprint;
        if (kprint <= 1) EXPECT_TRUE(lines.empty()) << name;
        else EXPECT_NE(lines.back().find("PASSED  ALL"), std::string::npos) << name << ": " << lines.back();
      }
}

bool holds(const Lines& lines, const Lines& block) {
  return std::search(lines.begin(), lines.end(), block.begin(), block.end()) != lines.end();
}

// Records against the drivers' formats.
TEST_F(QuickChecks, Records) {
  const auto [p2, q2] = report(dpchq2, 3);
  EXPECT_TRUE(holds(q2, {"1", "", "          TEST DPCHIP INTEGRATORS", "", "", "          DPCHQ2 RESULTS",
                         "          --------------", "", "", "     DATA:", "", "           X         F         D",
                         "         -4.000  -288.000   192.000"}));
  EXPECT_TRUE(holds(q2, {"", "", "     TEST RESULTS:", "",
                         "    A     B    ERR     TRUE                CALC               ERROR"}));
  EXPECT_EQ(q2[q2.size() - 5].substr(0, 17), "   0.5   0.5    0");
  EXPECT_EQ(q2[q2.size() - 3].substr(0, 28), "  MAXIMUM RELATIVE ERROR IS:");
  EXPECT_TRUE(holds(q2, {"", " ------------ DPCHIP PASSED  ALL INTEGRATION TESTS ------------"}));

  const auto [p3, q3] = report(pchqk3, 3);
  EXPECT_TRUE(holds(q3, {"", "     PCHIM TEST:", "               EXPECT  IERR =    1", "     OK.", "",
                         "         I       X         D             ERR"}));
  EXPECT_TRUE(holds(q3, {"", "       ALL  PCHIM RESULTS OK."}));
  EXPECT_TRUE(holds(q3, {"", " ------------  PCHIP PASSED  ALL INTERPOLATION TESTS ------------"}));
  EXPECT_TRUE(holds(q3, {"                                       ---------- EXPECTED D-VALUES ----------"}));

  const auto [p4, q4] = report(dpchq4, 3);
  EXPECT_TRUE(holds(q4, {"", "    INCFD = 1:  IERR =  0",
                         "               ISMON =  1  1 -1  1  1 -1  1  1 -1  1  1 -1  1  1 -1  2"}));
  EXPECT_TRUE(holds(q4, {"", "     Bug test:  IERR =  0", "               ISMON = -1 -3 -1  1  3  1  2"}));

  const auto [p5, q5] = report(dpchq5, 3);
  EXPECT_TRUE(holds(q5, {"", "    KNOTYP = 2:  NKNOTS = 22,  NDIM = 18,  K = 4,  IERR =  0", "",
                         "               X         KNOTS          F       FERR        D       DERR",
                         "                     -2.40   -2.40"}));
  EXPECT_TRUE(holds(q5, {"", "     Maximum relative errors:"}));
  EXPECT_TRUE(holds(q5, {"     Both should be less than  TOL =  2.22045D-14"}));
}

// All eight drivers under the default control setting, in a child process
// that then exits 0: no driver ends the process.
std::size_t count(const Lines& lines, const std::string& text) {
  return std::size_t(std::count_if(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return l.find(text) != std::string::npos; }));
}

// The evaluator driver's summary at level 2; the grid-line statuses at 3.
TEST_F(QuickChecks, EvaluatorRecords) {
  pchip::reset_pchip_rand();
  const auto [ipass, q1] = report(dpchq1, 2);
  EXPECT_EQ(ipass, 1);
  EXPECT_TRUE(holds(q1, {"1", " ------------ DPCHIP QUICK CHECK OUTPUT ------------", "",
                         "                    ( KPRINT = 2 )", "", "", "          DEVCHK RESULTS",
                         "          --------------", "", "          INTERVAL = (-1.50000D+00, 2.50000D+00 ):", "",
                         " DCHFDV RESULTS OK.", "", " DCHFEV AGREES WITH DCHFDV."}));
  EXPECT_EQ(count(q1, "INTERVAL = ("), 3u);
  EXPECT_EQ(count(q1, " DCHFDV RESULTS OK."), 3u);
  EXPECT_EQ(count(q1, " DCHFEV AGREES WITH DCHFDV."), 3u);
  EXPECT_TRUE(holds(q1, {" DPCHFD AND DPCHFE OK ON J-LINES.", "", " DPCHFD AND DPCHFE OK ON I-LINES."}));
  EXPECT_TRUE(holds(q1, {" ALL ERROR RETURNS OK."}));
  const auto [ipass3, q3] = report(pchqk1, 3);
  EXPECT_EQ(ipass3, 1);
  EXPECT_EQ(count(q3, "-LINE "), 10u);
  EXPECT_EQ(count(q3, "  --  IERR = 13"), 6u);
  EXPECT_EQ(count(q3, "  --  IERR = 20"), 4u);
  EXPECT_TRUE(holds(q3, {"", "          EVPCCK RESULTS"}));
  EXPECT_EQ(count(q3, "CHFDV ACCURACY TEST"), 1u);
  EXPECT_EQ(count(q3, "TEST PCHFE AND PCHFD"), 1u);
  // Signed extremes: every minimum at most its maximum.
  for (std::size_t i = 0; i + 3 < q3.size(); ++i) {
    if (q3[i].find("MINIMUM ERROR:") == std::string::npos) continue;
    std::istringstream mins(q3[i].substr(20)), maxs(q3[i + 3].substr(20));
    ASSERT_NE(q3[i + 3].find("MAXIMUM ERROR:"), std::string::npos);
    for (int m = 0; m < 4; ++m) {
      double lo = 0, hi = 0;
      mins >> lo;
      maxs >> hi;
      EXPECT_LE(lo, hi) << q3[i];
    }
  }
  EXPECT_EQ(count(q3, " ERRORS AT ENDPOINTS:"), 3u);
  EXPECT_EQ(count(q3, " INTERIOR POINTS + 10 OUTSIDE:"), 3u);
}

// Faulty evaluators put in place of the package's: each check reports.
void nudged_pchfe(const int* n, const double* x, const double* f, const double* d, const int* incfd, int* skip,
                  const int* ne, const double* xe, double* fe, int* ierr) {
  dpchfe(n, x, f, d, incfd, skip, ne, xe, fe, ierr);
  if (*ne > 20) fe[20] = std::nextafter(fe[20], 1e300);  // one point, last bit
}
void wrong_flag_chfev(const double* x1, const double* x2, const double* f1, const double* f2, const double* d1,
                      const double* d2, const int* ne, const double* xe, double* fe, int* next, int* ierr) {
  dchfev(x1, x2, f1, f2, d1, d2, ne, xe, fe, next, ierr);
  if (*ierr == -2) *ierr = -1;
}
void off_chfdv(const double* x1, const double* x2, const double* f1, const double* f2, const double* d1,
               const double* d2, const int* ne, const double* xe, double* fe, double* de, int* next, int* ierr) {
  dchfdv(x1, x2, f1, f2, d1, d2, ne, xe, fe, de, next, ierr);
  for (int i = 0; i < *ne; ++i) de[i] *= 1.001;
}

void off_values_chfdv(const double* x1, const double* x2, const double* f1, const double* f2, const double* d1,
                      const double* d2, const int* ne, const double* xe, double* fe, double* de, int* next,
                      int* ierr) {
  dchfdv(x1, x2, f1, f2, d1, d2, ne, xe, fe, de, next, ierr);
  if (*ne > 2) fe[*ne / 2] *= 1.001;
}

void failing_chfdv(const double* x1, const double* x2, const double* f1, const double* f2, const double* d1,
                   const double* d2, const int* ne, const double* xe, double* fe, double* de, int* next, int* ierr) {
  dchfdv(x1, x2, f1, f2, d1, d2, ne, xe, fe, de, next, ierr);
  if (*ne > 2) *ierr = -1;
}

TEST_F(QuickChecks, FaultyEvaluatorsAreCaught) {
  pchip::reset_pchip_rand();
  pchip::evaluators<double>().pchfe = nudged_pchfe;
  auto [ipass, lines] = report(dpchq1, 2);
  EXPECT_EQ(ipass, 0);
  EXPECT_EQ(count(lines, "  MAXIMUM DIFFERENCE BETWEEN DPCHFE AND DPCHFD ="), 10u);
  EXPECT_EQ(count(lines, " ***** DPCHFD AND/OR DPCHFE FAILED ON J-LINE"), 6u);
  EXPECT_TRUE(holds(lines, {"", " *** TROUBLE ***    2 EVALUATION TESTS FAILED."}));
  pchip::restore_evaluators();

  pchip::evaluators<double>().chfev = wrong_flag_chfev;
  std::tie(ipass, lines) = report(dpchq1, 2);
  EXPECT_TRUE(holds(lines, {"", " *** TROUBLE ***    4 EVALUATION TESTS FAILED."}));
  EXPECT_TRUE(holds(lines, {"", "", " ***** TROUBLE IN DEVERK *****", "", "         1 TESTS FAILED TO GIVE EXPECTED RESULTS."}));

  // An error return of the many-point call: its statistics are zero, so no
  // stale extremes are reported.
  pchip::restore_evaluators();
  pchip::evaluators<double>().chfdv = failing_chfdv;
  std::tie(ipass, lines) = report(dpchq1, 2);
  EXPECT_EQ(count(lines, " ***** ERROR ***** DCHFDV RETURNED IERR =   -1"), 3u);
  EXPECT_EQ(count(lines, "EXCEEDS TOLERANCE"), 0u);
  EXPECT_TRUE(holds(lines, {"", " *** TROUBLE ***    1 EVALUATION TESTS FAILED."}));

  pchip::evaluators<double>().chfdv = off_values_chfdv;
  std::tie(ipass, lines) = report(dpchq1, 2);
  EXPECT_EQ(count(lines, " ***** MAXIMUM RELATIVE ERROR IN F ="), 3u);
  EXPECT_EQ(count(lines, " ***** MAXIMUM RELATIVE ERROR IN D ="), 0u);
  EXPECT_EQ(count(lines, " ***** DCHFEV DID NOT AGREE WITH DCHFDV:"), 3u);

  pchip::evaluators<double>().chfdv = off_chfdv;
  pchip::evaluators<double>().chfev = wrong_flag_chfev;
  pchip::evaluators<double>().pchfe = nudged_pchfe;
  std::tie(ipass, lines) = report(dpchq1, 1);
  EXPECT_EQ(lines, (Lines{"", " ************ DPCHIP FAILED SOME EVALUATION TESTS ************"}));
  std::tie(ipass, lines) = report(dpchq1, 2);
  EXPECT_TRUE(holds(lines, {"", " *** TROUBLE ***    7 EVALUATION TESTS FAILED."}));
  pchip::restore_evaluators();
}

// A monotone setter with a tiny non-zero where an exact zero belongs.
void tiny_pchim(const int* n, const double* x, const double* f, double* d, const int* incfd, int* ierr) {
  dpchim(n, x, f, d, incfd, ierr);
  d[0] = 1e-300;
}

TEST_F(QuickChecks, FaultySetterIsCaught) {
  pchip::derivative_setters<double>().pchim = tiny_pchim;
  auto [ipass, lines] = report(dpchq3, 3);
  pchip::derivative_setters<double>().pchim = dpchim;
  EXPECT_EQ(ipass, 0);
  EXPECT_EQ(lines[std::size_t(std::find(lines.begin(), lines.end(), "     DPCHIM TEST:") - lines.begin()) + 5]
                .substr(52),
            "**BADZ");
  EXPECT_TRUE(holds(lines, {"", "    **    1 DPCHIM RESULTS FAILED TO BE EXACTLY ZERO.", "", "     DPCHIC TEST:"}));
  EXPECT_TRUE(holds(lines, {"", " *** TROUBLE ***    1 INTERPOLATION TESTS FAILED."}));
}

// The error-return check under the initial control setting runs its ten
// calls, prints them at level 3 and leaves the setting at 2; too few points
// for the one-cubic check give FAIL without touching the arrays.
TEST_F(QuickChecks, ErrorReturnsAndBadInput) {
  const int lout = 6, kprint = 3;
  int fail = -1;
  const auto o = run_captured([&] { deverk(&lout, &kprint, &fail); });
  EXPECT_EQ(o.status, -1);
  EXPECT_EQ(fail, 0);
  EXPECT_EQ(pchip::j4save(2, 0, false), 2);
  EXPECT_EQ(count(o.lines(), " THIS CALL SHOULD RETURN IERR ="), 10u);
  EXPECT_EQ(count(o.lines(), "     OK."), 10u);
  EXPECT_EQ(count(o.lines(), "ERROR MESSAGE SUMMARY"), 1u);
  EXPECT_EQ(o.lines().back(), " ALL ERROR RETURNS OK.");

  // A stop inside the check (a halting evaluator) still restores the setting.
  pchip::evaluators<double>().chfev = [](const double*, const double*, const double*, const double*, const double*,
                                         const double*, const int*, const double*, double*, int*, int*) {
    halt(1, "stopped");
  };
  const int two = 2;
  EXPECT_EQ(run_captured([&] { deverk(&lout, &two, &fail); }).status, 1);
  pchip::restore_evaluators();
  EXPECT_EQ(pchip::j4save(2, 0, false), 2);

  // The time stamp of the quick checks is the package's.
  const auto previous = io::set_clock_reader([](io::WallClock& now) {
    now = {2026, 12, 5, 12, 0, 0, 500};
    return true;
  });
  EXPECT_EQ(run_captured([] { pchip_timestamp(); }).out, " 5 December 2026  12:00:00.500 Noon\n");
  io::set_clock_reader(previous);

  const int npts = 10;
  Vector xev(10, -7), fev(10, -7), dev(10, -7), fev2(10, -7);
  devchk(&lout, &kprint, &npts, xev.data(), fev.data(), dev.data(), fev2.data(), &fail);
  EXPECT_EQ(fail, 1);
  EXPECT_EQ(xev, Vector(10, -7));
}

int all_drivers_pass() {
  const int lun = 6, kprint = 1;
  int all = 1;
  for (const auto& entry : drivers) {
    int ipass = 0;
    std::get<0>(entry)(&lun, &kprint, &ipass);
    all &= ipass;
  }
  return all;
}

TEST(QuickChecksProcess, RunUnderTheDefaultSetting) {
  EXPECT_EXIT(std::exit(all_drivers_pass() == 1 ? 0 : 3), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tavrin
