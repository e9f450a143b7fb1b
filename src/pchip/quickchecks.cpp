// The quick-check drivers 2 to 5: one template per driver on the real type;
// the records that differ between the precisions come from Texts<Real>.
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "foundation/format_record.hpp"
#include "foundation/boundary.hpp"
#include "pchip/bspline.hpp"
#include "pchip/controlled.hpp"
#include "pchip/derivatives.hpp"
#include "pchip/dpchip.hpp"
#include "pchip/evaluator_checks.hpp"
#include "pchip/integrate.hpp"
#include "pchip/machine.hpp"
#include "pchip/monotonicity.hpp"
#include "pchip/quickcheck.hpp"
#include "pchip/spchip.hpp"

namespace tavrin::pchip {
namespace {

using io::Format;
using io::write_formatted;

// The records of each precision, as the drivers' formats give them.
template <class Real>
struct Texts;

template <>
struct Texts<double> {
  static constexpr std::string_view pass_prefix = " ------------ DPCHIP PASSED  ALL ",
                                    fail_prefix = " ************ DPCHIP FAILED SOME ";
  static constexpr const char* q2_title = "('1'//10X,'TEST DPCHIP INTEGRATORS')";
  static constexpr const char* q2_results = "(//10X,'DPCHQ2 RESULTS'/10X,'--------------')";
  static constexpr const char* q2_heading =
      "(// 5X,'TEST RESULTS:'           //'    A     B    ERR     TRUE',16X,'CALC',15X,'ERROR')";
  static constexpr const char* q2_bad_pair = "(2F6.1,I5,1P,2D20.10,D15.5,'  (',I1,') *****' )";
  static constexpr const char* q2_pair = "(2F6.1,I5,1P,2D20.10,D15.5)";
  static constexpr const char* q2_max = "(/'  MAXIMUM RELATIVE ERROR IS:',1P,D15.5, ',   TOLERANCE:',1P,D15.5)";
  static constexpr const char* q3_title = "('1'//10X,'TEST DPCHIP INTERPOLATORS')";
  static constexpr const char* q3_results = "(//10X,'DPCHQ3 RESULTS'/10X,'--------------')";
  static constexpr const char* q3_data =
      "(// 5X,'DATA:'        /39X,'---------- EXPECTED D-VALUES ----------'        "
      "/12X,'X',9X,'F',18X,'DM',13X,'DC',13X,'DS')";
  static constexpr const char* q3_row = "(5X,F10.2,1P,D15.5,4X,D15.5,15X,D15.5)";
  static constexpr const char* q3_row_dc = "(5X,F10.2,1P,D15.5,4X,3D15.5)";
  static constexpr const char* q3_test = "(/5X,'DPCH',A2,' TEST:')";
  static constexpr const char* q3_node = "(5X,I5,F10.2,1P,2D15.5,2X,A)";
  static constexpr const char* q3_zero = "(/'    **',I5,' DPCHIM RESULTS FAILED TO BE EXACTLY ZERO.')";
  static constexpr const char* q3_tolerance =
      "(/'    **',I5,' DPCH',A2,' RESULTS FAILED TOLERANCE TEST.', '  TOL =',1P,D10.3)";
  static constexpr const char* q3_ok = "(/5X,'  ALL DPCH',A2,' RESULTS OK.')";
  static constexpr const char* q3_agree = "(/'    **',I5,' DPCHIC RESULTS FAILED TO AGREE WITH', ' PREVIOUS CALL.')";
  static constexpr const char* q4_title = "('1'//10X,'TEST DPCHIP MONOTONICITY CHECKER')";
  static constexpr const char* q4_results = "(//10X,'DPCHQ4 RESULTS'/10X,'--------------')";
  static constexpr const char* q5_results = "(//10X,'DPCHQ5 RESULTS'/10X,'--------------')";
  static constexpr const char* q5_node = "(10X,3F8.2,F10.4,1P,D10.2,0P,F10.4,1P,D10.2)";
  static constexpr const char* q5_max =
      "(/5X,'Maximum relative errors:'              /15X,'F-error =',1P,D13.5,5X,'D-error =',D13.5"
      "               /5X,'Both should be less than  TOL =',D13.5)";
  static constexpr const char* q5_change =
      "(/' *** T-ARRAY MAXIMUM CHANGE =',1P,D13.5, ';  SHOULD NOT EXCEED TOLZ =',D13.5)";
};

template <>
struct Texts<float> {
  static constexpr std::string_view pass_prefix = " ------------  PCHIP PASSED  ALL ",
                                    fail_prefix = " ************  PCHIP FAILED SOME ";
  static constexpr const char* q2_title = "('1'//10X,'TEST PCHIP INTEGRATORS')";
  static constexpr const char* q2_results = "(//10X,'PCHQK2 RESULTS'/10X,'--------------')";
  static constexpr const char* q2_heading =
      "(// 5X,'TEST RESULTS:'                //'    A     B    ERR     TRUE',16X,'CALC',15X,'ERROR')";
  static constexpr const char* q2_bad_pair = "(2F6.1,I5,1P,2E20.10,E15.5,'  (',I1,') *****' )";
  static constexpr const char* q2_pair = "(2F6.1,I5,1P,2E20.10,E15.5)";
  static constexpr const char* q2_max = "(/'  MAXIMUM RELATIVE ERROR IS:',1P,E15.5, ',   TOLERANCE:',1P,E15.5)";
  static constexpr const char* q3_title = "('1'//10X,'TEST PCHIP INTERPOLATORS')";
  static constexpr const char* q3_results = "(//10X,'PCHQK3 RESULTS'/10X,'--------------')";
  static constexpr const char* q3_data =
      "(// 5X,'DATA:'                /39X,'---------- EXPECTED D-VALUES ----------'                "
      "/12X,'X',9X,'F',18X,'DM',13X,'DC',13X,'DS')";
  static constexpr const char* q3_row = "(5X,F10.2,1P,E15.5,4X,E15.5,15X,E15.5)";
  static constexpr const char* q3_row_dc = "(5X,F10.2,1P,E15.5,4X,3E15.5)";
  static constexpr const char* q3_test = "(/5X,'PCH',A2,' TEST:')";
  static constexpr const char* q3_node = "(5X,I5,F10.2,1P,2E15.5,2X,A)";
  static constexpr const char* q3_zero = "(/'    **',I5,'  PCHIM RESULTS FAILED TO BE EXACTLY ZERO.')";
  static constexpr const char* q3_tolerance =
      "(/'    **',I5,'  PCH',A2,' RESULTS FAILED TOLERANCE TEST.', '  TOL =',1P,E10.3)";
  static constexpr const char* q3_ok = "(/5X,'  ALL  PCH',A2,' RESULTS OK.')";
  static constexpr const char* q3_agree = "(/'    **',I5,'  PCHIC RESULTS FAILED TO AGREE WITH', ' PREVIOUS CALL.')";
  static constexpr const char* q4_title = "('1'//10X,'TEST PCHIP MONOTONICITY CHECKER')";
  static constexpr const char* q4_results = "(//10X,'PCHQK4 RESULTS'/10X,'--------------')";
  static constexpr const char* q5_results = "(//10X,'PCHQK5 RESULTS'/10X,'--------------')";
  static constexpr const char* q5_node = "(10X,3F8.2,F10.4,1P,E10.2,0P,F10.4,1P,E10.2)";
  static constexpr const char* q5_max =
      "(/5X,'Maximum relative errors:'               /15X,'F-error =',1P,E13.5,5X,'D-error =',E13.5"
      "                /5X,'Both should be less than  TOL =',E13.5)";
  static constexpr const char* q5_change =
      "(/' *** T-ARRAY MAXIMUM CHANGE =',1P,E13.5, ';  SHOULD NOT EXCEED TOLZ =',E13.5)";
};

// A record of the precision's table, parsed once per driver and precision.
#define RECORD(name) static const Format name(Texts<Real>::name)

// The common end of every driver: trouble line, pass or failure line; ipass.
template <class Real>
int finish(int lun, int kprint, int ifail, std::string_view topic) {
  static const Format trouble("(/' *** TROUBLE ***',I5,A)"), line("(/A,A,A)");
  if (kprint >= 2 && ifail != 0)
    write_formatted(lun, trouble, {ifail, " " + std::string(topic) + " TESTS FAILED."});
  if (ifail == 0) {
    if (kprint >= 2) write_formatted(lun, line, {Texts<Real>::pass_prefix, topic, " TESTS ------------"});
    return 1;
  }
  if (kprint >= 1) write_formatted(lun, line, {Texts<Real>::fail_prefix, topic, " TESTS ************"});
  return 0;
}

template <class Real>
void title(int lun, int kprint, const Format& first, const Format& second) {
  if (kprint >= 3) write_formatted(lun, first, {});
  if (kprint >= 2) write_formatted(lun, second, {});
}

// ---------------------------------------------------------------------------
// Evaluators: the three evaluator checks on one scratch array, failures as
// the bits 1, 2 and 4 of ifail.

template <class Real>
int evaluators_check(int lun, int kprint) {
  static const Format heading(
      std::is_same_v<Real, double>
          ? "('1'/' ------------ DPCHIP QUICK CHECK OUTPUT', ' ------------' //20X,'( KPRINT =',I2,' )')"
          : "('1'/' ------------  PCHIP QUICK CHECK OUTPUT', ' ------------' //20X,'( KPRINT =',I2,' )')");
  if (kprint >= 2) write_formatted(lun, heading, {kprint});
  int ifail = 0;
  std::vector<Real> w(4000);
  Real* const p = w.data();
  if (check_one_cubic<Real>(lun, kprint, 1000, p, p + 1000, p + 2000, p + 3000)) ifail += 1;
  if (check_grid_lines<Real>(lun, kprint, p, p + 10, p + 20, p + 120, p + 220, p + 320, p + 371, p + 422, p + 473,
                             p + 524))
    ifail += 2;
  if (check_error_returns<Real>(lun, kprint)) ifail += 4;
  return finish<Real>(lun, kprint, ifail, "EVALUATION");
}

// ---------------------------------------------------------------------------
// Integrators: the cubic 3x^2(x - 2) integrated over 17 intervals.

template <class Real>
int integrators(int lun, int kprint) {
  RECORD(q2_title);
  RECORD(q2_results);
  RECORD(q2_heading);
  RECORD(q2_bad_pair);
  RECORD(q2_pair);
  RECORD(q2_max);
  static const Format data("(// 5X,'DATA:' //11X,'X',9X,'F',9X,'D' /(5X,3F10.3) )");
  constexpr int n = 7, npairs = 17;
  const Real tol = Real(100) * machine_epsilon<Real>();
  const std::array<Real, n> x{Real(-4), Real(-2), Real(-0.9), Real(0), Real(0.9), Real(2), Real(4)};
  std::array<Real, n> f, d;
  for (int i = 0; i < n; ++i) {
    const Real xi = x[std::size_t(i)];
    f[std::size_t(i)] = (xi - Real(2)) * (Real(3) * xi * xi);
    d[std::size_t(i)] = (xi + Real(2) * (xi - Real(2))) * (Real(3) * xi);
  }
  static constexpr std::array<double, npairs> a{-3, 3, -0.5, -0.5, -0.5, -4, -4, 3, -5, -5, -6, 6, -1.5, -1.5, -3, 3, 0.5};
  static constexpr std::array<double, npairs> b{3, -3, 1, 2, 5, -0.5, 4, 5, -3, 5, -5, 5, -0.5, -1, -2.5, 3.5, 0.5};
  static constexpr std::array<int, npairs> expected{0, 0, 0, 0, 2, 0, 0, 2, 1, 3, 3, 3, 0, 0, 0, 0, 0};

  title<Real>(lun, kprint, q2_title, q2_results);
  if (kprint >= 3) {
    std::vector<io::FormatItem> items;
    for (int i = 0; i < n; ++i) items.insert(items.end(), {x[std::size_t(i)], f[std::size_t(i)], d[std::size_t(i)]});
    write_formatted(lun, data, items);
    write_formatted(lun, q2_heading, {});
  }

  int ifail = 0, skip = 0;
  Real errmax = 0;
  for (std::size_t i = 0; i < npairs; ++i) {
    const Real ai = Real(a[i]), bi = Real(b[i]);
    int ierr = 0;
    const Real calc = pchia(n, x.data(), f.data(), d.data(), 1, skip, ai, bi, ierr);
    if (ierr < 0) {
      if (kprint >= 3) write_formatted(lun, q2_pair, {ai, bi, ierr});
      ++ifail;
      continue;
    }
    const bool bad_status = ierr != expected[i];
    const Real exact = bi * bi * bi * (Real(0.75) * bi - Real(2)) - ai * ai * ai * (Real(0.75) * ai - Real(2));
    Real error = calc - exact;
    if (kprint >= 3) {
      if (bad_status) write_formatted(lun, q2_bad_pair, {ai, bi, ierr, exact, calc, error, expected[i]});
      else write_formatted(lun, q2_pair, {ai, bi, ierr, exact, calc, error});
    }
    error = std::abs(error) / std::max(Real(1), std::abs(exact));
    if (bad_status || error > tol) ++ifail;
    errmax = std::max(errmax, error);
  }
  if (kprint >= 2) write_formatted(lun, q2_max, {errmax, tol});
  return finish<Real>(lun, kprint, ifail, "INTEGRATION");
}

// ---------------------------------------------------------------------------
// Derivative setters on exp(-x^2): monotone, controlled with and without
// switches, spline.

template <class Real>
int derivatives(int lun, int kprint) {
  RECORD(q3_title);
  RECORD(q3_results);
  RECORD(q3_data);
  RECORD(q3_row);
  RECORD(q3_row_dc);
  RECORD(q3_test);
  RECORD(q3_node);
  RECORD(q3_zero);
  RECORD(q3_tolerance);
  RECORD(q3_ok);
  RECORD(q3_agree);
  static const Format expect("(15X,'EXPECT  IERR =',I5)"), heading("(/9X,'I',7X,'X',9X,'D',13X,'ERR')");
  constexpr int n = 9, nwk = 18;
  const std::array<Real, n> x{Real(-2.2), Real(-1.2), Real(-1.0), Real(-0.5), Real(-0.01),
                              Real(0.5),  Real(1.0),  Real(2.0),  Real(2.2)};
  const std::array<Real, n> dm{Real(0),         Real(0.380027352),   Real(0.717253009),
                               Real(0.582014161), Real(0),           Real(-0.568208031),
                               Real(-0.513501618), Real(-0.0777910977), Real(-0.00245611117)};
  const std::array<Real, n> ds{Real(-0.0516830792), Real(0.571455855),  Real(0.740530225),
                               Real(0.763864934),   Real(0.0192614386), Real(-0.76532438),
                               Real(-0.728209035),  Real(-0.0798445427), Real(-0.0285983446)};
  const Real dc5 = Real(0.0176950158), dc6 = Real(-0.569579814);
  const Real tol = Real(10) * machine_epsilon<Real>();
  const Real told = std::max(Real(1.0e-7), Real(10) * tol);
  const Real tolz = 0;
  static constexpr int ic[2] = {0, 0};
  const Real vc[2] = {0, 0};

  int ifail = 0;
  title<Real>(lun, kprint, q3_title, q3_results);
  std::array<Real, n> f, d{}, dc{};
  std::array<Real, nwk> wk{};
  for (int i = 0; i < n; ++i) f[std::size_t(i)] = std::exp(-x[std::size_t(i)] * x[std::size_t(i)]);
  if (kprint >= 3) {
    write_formatted(lun, q3_data, {});
    for (std::size_t i = 0; i < n; ++i) {
      if (i == 4 || i == 5) write_formatted(lun, q3_row_dc, {x[i], f[i], dm[i], i == 4 ? dc5 : dc6, ds[i]});
      else write_formatted(lun, q3_row, {x[i], f[i], dm[i], ds[i]});
    }
  }

  // One test: the call's status, then every node judged by `judge`, which
  // returns the node's error and its result mark and counts failures.
  enum Counter { tolerance, zero, agreement };
  auto run = [&](std::string_view code, int ierr, int expected, const std::array<Real, n>& shown, Real tolerance_used,
                 auto judge) {
    if (kprint >= 3) {
      write_formatted(lun, q3_test, {code});
      write_formatted(lun, expect, {expected});
    }
    if (!comp(ierr, expected, lun, kprint)) {
      ++ifail;
      return;
    }
    if (kprint >= 3) write_formatted(lun, heading, {});
    std::array<int, 3> counters{};
    for (int i = 1; i <= n; ++i) {
      auto [err, mark] = judge(i, counters);
      if (kprint >= 3) write_formatted(lun, q3_node, {i, x[std::size_t(i - 1)], shown[std::size_t(i - 1)], err, mark});
    }
    if (counters == std::array<int, 3>{}) {
      if (kprint >= 2) write_formatted(lun, q3_ok, {code});
      return;
    }
    ++ifail;
    if (kprint < 2) return;
    if (counters[zero] != 0) write_formatted(lun, q3_zero, {counters[zero]});
    if (counters[agreement] != 0) write_formatted(lun, q3_agree, {counters[agreement]});
    if (counters[tolerance] != 0) write_formatted(lun, q3_tolerance, {counters[tolerance], code, tolerance_used});
  };
  constexpr std::string_view ok = "  OK  ", bad = "**BAD ", badz = "**BADZ", bada = "**BADA";
  using Judged = std::pair<Real, std::string_view>;

  // Monotone derivatives.
  int ierr = 0;
  const int nn = n, one = 1;
  derivative_setters<Real>().pchim(&nn, x.data(), f.data(), d.data(), &one, &ierr);
  run("IM", ierr, 1, d, told, [&](int i, std::array<int, 3>& c) -> Judged {
    const std::size_t k = std::size_t(i - 1);
    if (dm[k] == Real(0)) {
      const Real err = std::abs(d[k]);
      if (err > tolz) return ++c[zero], Judged{err, badz};
      return {err, ok};
    }
    const Real err = std::abs((d[k] - dm[k]) / dm[k]);
    if (err > told) return ++c[tolerance], Judged{err, bad};
    return {err, ok};
  });

  // Controlled, no switches: the monotone derivatives again.
  ierr = pchic(ic, vc, Real(0), n, x.data(), f.data(), dc.data(), 1, wk.data(), nwk);
  run("IC", ierr, 0, dc, tol, [&](int i, std::array<int, 3>& c) -> Judged {
    const std::size_t k = std::size_t(i - 1);
    const Real err = std::abs(d[k] - dc[k]);
    if (err > tol) return ++c[tolerance], Judged{err, bad};
    return {err, ok};
  });

  // Controlled with switches: only nodes 5 and 6 move.
  ierr = pchic(ic, vc, Real(-1), n, x.data(), f.data(), d.data(), 1, wk.data(), nwk);
  run("IC", ierr, 0, d, told, [&](int i, std::array<int, 3>& c) -> Judged {
    const std::size_t k = std::size_t(i - 1);
    if (i == 5 || i == 6) {
      const Real e = i == 5 ? dc5 : dc6;
      const Real err = std::abs((d[k] - e) / e);
      if (err > told) return ++c[tolerance], Judged{err, bad};
      return {err, ok};
    }
    const Real err = std::abs(d[k] - dc[k]);
    if (err > tolz) return ++c[agreement], Judged{err, bada};
    return {err, ok};
  });

  // Not-a-knot spline.
  ierr = pchsp(ic, vc, n, x.data(), f.data(), d.data(), 1, wk.data(), nwk);
  run("SP", ierr, 0, d, told, [&](int i, std::array<int, 3>& c) -> Judged {
    const std::size_t k = std::size_t(i - 1);
    const Real err = std::abs((d[k] - ds[k]) / ds[k]);
    if (err > told) return ++c[tolerance], Judged{err, bad};
    return {err, ok};
  });

  return finish<Real>(lun, kprint, ifail, "INTERPOLATION");
}

// ---------------------------------------------------------------------------
// Monotonicity check on three strides of one data set, the seven-point test,
// then all of it again with the signs changed.

template <class Real>
int monotonicity(int lun, int kprint) {
  RECORD(q4_title);
  RECORD(q4_results);
  static const Format data("(// 5X,'DATA:'               // 9X,'I',4X,'X',5X,'F',5X,'D',5X,'FB',4X,'DB')"),
      row("(5X,I5,5F6.1)"), strided("(/4X,'INCFD =',I2,':  IERR =',I3/15X,'ISMON =',16I3)"),
      expected_line("(' *** Failed -- expect:',16I3)"), bad_status("(' *** Failed -- bad IERR value.')"),
      bug("(/4X,' Bug test:  IERR =',I3/15X,'ISMON =',7I3)"), change("(/4X,'Changing sign of data.....')");
  constexpr int maxn = 16, nb = 7;
  std::array<Real, maxn> x, f, d;
  for (int i = 0; i < maxn; ++i) {
    x[std::size_t(i)] = Real(i + 1);
    f[std::size_t(i)] = i < 3 ? Real(i + 1) : i < 15 ? f[std::size_t(i - 3)] + Real(1) : Real(6);
    d[std::size_t(i)] = (i + 1) % 3 == 2 && i < 14 ? Real(2) : Real(0);
  }
  std::array<Real, nb> fb{0, 2, 3, 5, 3, 2, 0}, db{1, 3, 3, 0, -3, -3, -1};
  const std::array<int, 3> ns{16, 8, 6};
  std::array<std::vector<int>, 4> expect{
      std::vector<int>{1, 1, -1, 1, 1, -1, 1, 1, -1, 1, 1, -1, 1, 1, -1, 2},
      std::vector<int>{1, 2, 2, 1, 2, 2, 1, 2}, std::vector<int>{1, 1, 1, 1, 1, 1},
      std::vector<int>{1, 3, 1, -1, -3, -1, 2}};

  title<Real>(lun, kprint, q4_title, q4_results);
  int ifail = 0;
  if (kprint >= 3) {
    write_formatted(lun, data, {});
    for (std::size_t i = 0; i < maxn; ++i) {
      if (i < nb) write_formatted(lun, row, {int(i + 1), x[i], f[i], d[i], fb[i], db[i]});
      else write_formatted(lun, row, {int(i + 1), x[i], f[i], d[i]});
    }
  }

  auto codes = [](const std::vector<int>& v) { return std::vector<io::FormatItem>(v.begin(), v.end()); };
  // Compares one call's flags with the expected ones.
  auto judge = [&](int ierr, const std::vector<int>& ismon, const std::vector<int>& want) {
    if (ierr != 0) {
      ++ifail;
      if (kprint >= 3) write_formatted(lun, bad_status, {});
      return;
    }
    if (ismon != want) {
      ++ifail;
      if (kprint >= 3) write_formatted(lun, expected_line, codes(want));
    }
  };

  for (;;) {
    for (int incfd = 1; incfd <= 3; ++incfd) {
      const int n = ns[std::size_t(incfd - 1)];
      std::vector<int> ismon(std::size_t(n), 0);
      int skip = 0;
      const int ierr = pchcm(n, x.data(), f.data(), d.data(), incfd, skip, ismon.data());
      if (kprint >= 3) {
        std::vector<io::FormatItem> items{incfd, ierr};
        for (int v : ismon) items.push_back(v);
        write_formatted(lun, strided, items);
      }
      judge(ierr, ismon, expect[std::size_t(incfd - 1)]);
    }
    std::vector<int> ismon(nb, 0);
    int skip = 0;
    const int ierr = pchcm(nb, x.data(), fb.data(), db.data(), 1, skip, ismon.data());
    if (kprint >= 3) {
      std::vector<io::FormatItem> items{ierr};
      for (int v : ismon) items.push_back(v);
      write_formatted(lun, bug, items);
    }
    judge(ierr, ismon, expect[3]);

    if (f[0] < Real(0)) break;
    if (kprint >= 3) write_formatted(lun, change, {});
    for (auto* v : {&f, &d}) std::transform(v->begin(), v->end(), v->begin(), [](Real r) { return -r; });
    for (auto* v : {&fb, &db}) std::transform(v->begin(), v->end(), v->begin(), [](Real r) { return -r; });
    for (auto& table : expect)
      for (int& code : table) code = code == 2 ? 2 : -code;  // local copies: the constants stay
  }
  return finish<Real>(lun, kprint, ifail, "MONOTONICITY");
}

// ---------------------------------------------------------------------------
// B-spline form for every knot placement, evaluated back at the nodes.

template <class Real>
int bspline(int lun, int kprint) {
  RECORD(q5_results);
  RECORD(q5_node);
  RECORD(q5_max);
  RECORD(q5_change);
  static const Format first("('1'//10X,'TEST PCH TO B-SPLINE CONVERTER')"),
      same("(/4X,'(Results should be the same for all KNOTYP values.)')"),
      status("(/4X,'KNOTYP =',I2,':  NKNOTS =',I3,',  NDIM =',I3, ',  K =',I2,',  IERR =',I3)"),
      bad_status("(' *** Failed -- bad IERR value.')"),
      columns("(/15X,'X',9X,'KNOTS',10X,'F',7X,'FERR',8X,'D',7X,'DERR')"), knots("(18X,2F8.2)");
  constexpr int n = 9;
  const std::array<Real, n> x{Real(-2.2), Real(-1.2), Real(-1.0), Real(-0.5), Real(-0.01),
                              Real(0.5),  Real(1.0),  Real(2.0),  Real(2.2)};
  const std::array<Real, n> f{Real(0.0079), Real(0.2369), Real(0.3679), Real(0.7788), Real(0.9999),
                              Real(0.7788), Real(0.3679), Real(0.1083), Real(0.0079)};
  const std::array<Real, n> d{Real(0),       Real(0.38),    Real(0.7173),  Real(0.582),  Real(0.0177),
                              Real(-0.5696), Real(-0.5135), Real(-0.0778), Real(-0.0025)};
  const Real tol = Real(100) * machine_epsilon<Real>();
  const Real tolz = 0;
  auto relerr = [](Real e, Real a) { return std::abs(e) / std::max(Real(1.0e-5), std::abs(a)); };

  int ifail = 0;
  title<Real>(lun, kprint, first, q5_results);
  if (kprint >= 3) write_formatted(lun, same, {});
  std::array<Real, 2 * n + 4> t{}, tsave{};
  std::array<Real, 2 * n> bcoef{};
  std::array<Real, 144> work{};
  int nknots = 0, ndim = 0, k = 0;
  const Vec<const Real> T(t.data(), 2 * n + 4);
  for (const int knotyp : {2, 1, 0, -1}) {
    const int ierr = pchbs(n, x.data(), f.data(), d.data(), 1, knotyp, nknots, t.data(), bcoef.data(), ndim, k);
    if (kprint >= 3) write_formatted(lun, status, {knotyp, nknots, ndim, k, ierr});
    if (ierr != 0) {
      ++ifail;
      if (kprint >= 3) write_formatted(lun, bad_status, {});
    } else {
      int inbv = 1;
      Real fermax = 0, dermax = 0;
      int j = 1;
      if (kprint >= 3) {
        write_formatted(lun, columns, {});
        write_formatted(lun, knots, {T(1), T(2)});
      }
      for (std::size_t i = 0; i < n; ++i) {
        const Real ferr = f[i] - bvalu(t.data(), bcoef.data(), ndim, k, 0, x[i], inbv, work.data());
        fermax = std::max(fermax, relerr(ferr, f[i]));
        const Real derr = d[i] - bvalu(t.data(), bcoef.data(), ndim, k, 1, x[i], inbv, work.data());
        dermax = std::max(dermax, relerr(derr, d[i]));
        if (kprint >= 3) {
          j += 2;
          write_formatted(lun, q5_node, {x[i], T(j), T(j + 1), f[i], ferr, d[i], derr});
        }
      }
      if (kprint >= 3) {
        j += 2;
        write_formatted(lun, knots, {T(j), T(j + 1)});
      }
      const bool failed = fermax > tol || dermax > tol;
      if (failed) ++ifail;
      if (kprint >= 3 || (kprint >= 2 && failed)) write_formatted(lun, q5_max, {fermax, dermax, tol});
    }
    if (knotyp == 0) tsave = t;
    if (knotyp == -1) {
      Real change = 0;
      for (int i = 0; i < std::min(nknots, 2 * n + 4); ++i)
        change = std::max(change, std::abs(t[std::size_t(i)] - tsave[std::size_t(i)]));
      if (change > tolz) {
        ++ifail;
        if (kprint >= 2) write_formatted(lun, q5_change, {change, tolz});
      }
    }
  }
  return finish<Real>(lun, kprint, ifail, "CONVERSION");
}

#undef RECORD

}  // namespace

template <class Real>
DerivativeSetters<Real>& derivative_setters() {
  if constexpr (std::is_same_v<Real, double>) {
    static DerivativeSetters<double> set{::dpchim};
    return set;
  } else {
    static DerivativeSetters<float> set{::pchim};
    return set;
  }
}
template TAVRIN_API DerivativeSetters<double>& derivative_setters<double>();
template TAVRIN_API DerivativeSetters<float>& derivative_setters<float>();

int quick_check_evaluators(int lun, int kprint, bool single) {
  return single ? evaluators_check<float>(lun, kprint) : evaluators_check<double>(lun, kprint);
}
int quick_check_integrators(int lun, int kprint, bool single) {
  return single ? integrators<float>(lun, kprint) : integrators<double>(lun, kprint);
}
int quick_check_derivatives(int lun, int kprint, bool single) {
  return single ? derivatives<float>(lun, kprint) : derivatives<double>(lun, kprint);
}
int quick_check_monotonicity(int lun, int kprint, bool single) {
  return single ? monotonicity<float>(lun, kprint) : monotonicity<double>(lun, kprint);
}
int quick_check_bspline(int lun, int kprint, bool single) {
  return single ? bspline<float>(lun, kprint) : bspline<double>(lun, kprint);
}

}  // namespace tavrin::pchip

extern "C" {

void dpchq1(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_evaluators(*lun, *kprint, false);
  });
}
void pchqk1(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_evaluators(*lun, *kprint, true);
  });
}
void dpchq2(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_integrators(*lun, *kprint, false);
  });
}
void dpchq3(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_derivatives(*lun, *kprint, false);
  });
}
void dpchq4(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_monotonicity(*lun, *kprint, false);
  });
}
void dpchq5(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_bspline(*lun, *kprint, false);
  });
}
void pchqk2(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_integrators(*lun, *kprint, true);
  });
}
void pchqk3(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_derivatives(*lun, *kprint, true);
  });
}
void pchqk4(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_monotonicity(*lun, *kprint, true);
  });
}
void pchqk5(const int* lun, const int* kprint, int* ipass) {
  tavrin::c_boundary(__func__, [&] {
    *ipass = tavrin::pchip::quick_check_bspline(*lun, *kprint, true);
  });
}

}
