#include "pchip/evaluator_checks.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "foundation/format_record.hpp"
#include "pchip/dpchip.hpp"
#include "pchip/machine.hpp"
#include "pchip/quickcheck.hpp"
#include "pchip/spchip.hpp"
#include "pchip/xerror.hpp"

namespace tavrin::pchip {
namespace {

using io::Format;
using io::write_formatted;

// The single-precision twin of a double check's record: routine names
// without their leading D ("DCHFDV" is "CHFDV", "DPCHFD" is "PCHFD"), the
// twins' headings, and the exponent letter E for D outside quoted text.
std::string single_record(std::string_view literal) {
  std::string out;
  bool quoted = false;
  for (std::size_t i = 0; i < literal.size(); ++i) {
    const char c = literal[i];
    if (c == '\'') quoted = !quoted;
    const bool digit_next = i + 1 < literal.size() && literal[i + 1] >= '0' && literal[i + 1] <= '9';
    out += (!quoted && c == 'D' && digit_next) ? 'E' : c;
  }
  const std::array<std::pair<std::string_view, std::string_view>, 5> names{
      {{"DCHF", "CHF"}, {"DPCHF", "PCHF"}, {"DEVCHK", "EVCHCK"}, {"DEVPCK", "EVPCCK"}, {"DEVERK", "EVERCK"}}};
  for (const auto& [from, to] : names)
    for (auto at = out.find(from); at != std::string::npos; at = out.find(from, at + to.size()))
      out.replace(at, from.size(), to);
  return out;
}

// A record of a check, as written in double precision, parsed once per
// precision.
template <class Real>
Format record(std::string_view literal) {
  if constexpr (std::is_same_v<Real, double>) return Format(literal);
  else return Format(single_record(literal));
}
#define RECORD(name, literal) static const Format name = record<Real>(literal)

template <class Real>
Real relative(Real e, Real v, Real floor) {
  return e / std::max(std::abs(v), floor);
}

// The reference cubic of the one-cubic check, in the precision's way.
template <class Real>
void reference(Real x, Real& f, Real& d) {
  if constexpr (std::is_same_v<Real, double>) dfdtru(x, f, d);
  else fdtrue(x, f, d);
}

// Signed extremes of one error measure with the points where they occur.
template <class Real>
struct Extremes {
  Real min = 0, max = 0, at_min = 0, at_max = 0;
  void add(Real v, Real at, bool first) {
    if (first) {
      min = max = v;
      at_min = at_max = at;
    } else if (v < min) {
      min = v;
      at_min = at;
    } else if (v > max) {
      max = v;
      at_max = at;
    }
  }
};

}  // namespace

template <class Real>
Evaluators<Real>& evaluators() {
  if constexpr (std::is_same_v<Real, double>) {
    static Evaluators<double> set{::dchfev, ::dchfdv, ::dpchfe, ::dpchfd};
    return set;
  } else {
    static Evaluators<float> set{::chfev, ::chfdv, ::pchfe, ::pchfd};
    return set;
  }
}
template TAVRIN_API Evaluators<double>& evaluators<double>();
template TAVRIN_API Evaluators<float>& evaluators<float>();

void restore_evaluators() {
  evaluators<double>() = {::dchfev, ::dchfdv, ::dpchfe, ::dpchfd};
  evaluators<float>() = {::chfev, ::chfdv, ::pchfe, ::pchfd};
}

// ---------------------------------------------------------------------------

template <class Real>
bool check_one_cubic(int lout, int kprint, int npts, Real* xev, Real* fev, Real* dev, Real* fev2) {
  RECORD(results, "(//10X,'DEVCHK RESULTS'/10X,'--------------')");
  RECORD(accuracy, "(/10X,'DCHFDV ACCURACY TEST')");
  RECORD(pair, "(10X,A2,' =',1P,D18.10,5X,A2,' =',D18.10)");
  RECORD(interval, "(/10X,'INTERVAL = (',1P,D12.5,',',D12.5,' ):' )");
  RECORD(ends, "(/' ERRORS AT ENDPOINTS:',40X,'(NEXT =',2I3,')'       // 1P,4X,'F1:',D13.5,4X,'F2:',D13.5,"
               "         4X,'D1:',D13.5,4X,'D2:',D13.5)");
  RECORD(ends_rel, "(1P,4(7X,D13.5))");
  RECORD(ends_failed, "(/' ***** DCHFDV FAILED TO REPRODUCE ENDPOINT VALUES.')");
  RECORD(ends_disagree, "(/' ***** DCHFEV DOES NOT AGREE WITH DCHFDV AT ENDPOINTS.')");
  RECORD(chfdv_error, "(/' ***** ERROR ***** DCHFDV RETURNED IERR =',I5)");
  RECORD(points, "(/' ERRORS AT ',I5,' INTERIOR POINTS + 10 OUTSIDE:',           15X,'(NEXT =',2I3,')'"
                 "       //30X,'FUNCTION',17X,'DERIVATIVE'        /15X,2(11X,'ABS',9X,'REL') )");
  RECORD(extreme, "(/5X,A3,'IMUM ERROR:  ',1P,2D12.4,2X,2D12.4)");
  RECORD(located, "( 5X,'LOCATED AT X =  ',1P,2D12.4,2X,2D12.4)");
  RECORD(exceeds, "(/' ***** MAXIMUM RELATIVE ERROR IN ',A1,' =',1P,D12.5,','       /    17X,"
                  "'EXCEEDS TOLERANCE =',D12.5)");
  RECORD(next_wrong, "(/' ***** REPORTED NEXT =',2I5,'   RATHER THAN    4    6')");
  RECORD(chfdv_ok, "(/' DCHFDV RESULTS OK.')");
  RECORD(chfev_error, "(/' ***** ERROR ***** DCHFEV RETURNED IERR =',I5)");
  RECORD(disagree, "(/' ***** DCHFEV DID NOT AGREE WITH DCHFDV:')");
  RECORD(difference, "(7X,'MAXIMUM DIFFERENCE ',1P,D12.5, '; OCCURRED AT X =',D12.5)");
  RECORD(next_differs, "(7X,'REPORTED NEXT =',2I3,'   RATHER THAN ',2I3)");
  RECORD(agrees, "(/' DCHFEV AGREES WITH DCHFDV.')");
  static const Format blank("(/)");

  if (npts < 11) return true;  // the random points need npts - 10 > 0
  const Evaluators<Real>& ev = evaluators<Real>();
  const Real eps = machine_epsilon<Real>();
  const Real eps1 = Real(4) * eps, eps2 = Real(10) * eps, small = Real(1.0e-10);
  const std::array<std::pair<Real, Real>, 3> intervals{
      {{Real(-1.5), Real(2.5)}, {Real(2.0e-10), Real(3.0e-10)}, {Real(1.0), Real(1.0e8)}}};
  const Vec<Real> XEV(xev, npts), FEV(fev, npts), DEV(dev, npts), FEV2(fev2, npts);
  bool fail = false;
  if (kprint >= 2) write_formatted(lout, results, {});

  for (std::size_t interval_index = 0; interval_index < intervals.size(); ++interval_index) {
    const auto [x1, x2] = intervals[interval_index];
    const Real fact = std::max(std::sqrt(x2 - x1), Real(1));
    const Real tol1 = eps1 * fact, tol2 = eps2 * fact;
    Real f1, d1, f2, d2;
    reference(x1, f1, d1);
    reference(x2, f2, d2);
    if (kprint >= 3) {
      if (interval_index == 0) write_formatted(lout, accuracy, {});
      write_formatted(lout, blank, {});
      write_formatted(lout, pair, {"X1", x1, "X2", x2});
      write_formatted(lout, pair, {"F1", f1, "F2", f2});
      write_formatted(lout, pair, {"D1", d1, "D2", d2});
    }
    if (kprint >= 2) write_formatted(lout, interval, {x1, x2});
    const Real floorf = std::max(std::min(std::abs(f1), std::abs(f2)), small);
    const Real floord = std::max(std::min(std::abs(d1), std::abs(d2)), small);

    // The end values.
    XEV(1) = x1;
    XEV(2) = x2;
    std::array<Real, 2> checkf{}, checkd{}, check{};
    int next[2] = {0, 0}, ierr = 0;
    const int two = 2;
    ev.chfdv(&x1, &x2, &f1, &f2, &d1, &d2, &two, xev, checkf.data(), checkd.data(), next, &ierr);
    const Real aef = checkf[0] - f1, ref = relative(aef, f1, floorf);
    const Real aef2 = checkf[1] - f2, ref2 = relative(aef2, f2, floorf);
    const Real aed = checkd[0] - d1, red = relative(aed, d1, floord);
    const Real aed2 = checkd[1] - d2, red2 = relative(aed2, d2, floord);
    bool failoc = std::max({std::abs(ref), std::abs(ref2), std::abs(red), std::abs(red2)}) > tol1;
    fail = fail || failoc;
    if (kprint >= 3) {
      write_formatted(lout, ends, {next[0], next[1], aef, aef2, aed, aed2});
      write_formatted(lout, ends_rel, {ref, ref2, red, red2});
    }
    if (failoc && kprint >= 2) write_formatted(lout, ends_failed, {});
    ev.chfev(&x1, &x2, &f1, &f2, &d1, &d2, &two, xev, check.data(), next, &ierr);
    failoc = check[0] != checkf[0] || check[1] != checkf[1];
    fail = fail || failoc;
    if (failoc && kprint >= 2) write_formatted(lout, ends_disagree, {});

    // Random points: four left of x1, six at or beyond x2, the rest inside.
    const Real dx = (x2 - x1) / Real(npts - 10);
    for (int i = 1; i <= npts; ++i) {
      const Real r = Real(pchip_rand(0.0f));
      XEV(i) = (x1 + Real(i - 5) * dx) + dx * r;
    }

    // Accuracy of the values and derivatives at the random points.
    ev.chfdv(&x1, &x2, &f1, &f2, &d1, &d2, &npts, xev, fev, dev, next, &ierr);
    std::array<Extremes<Real>, 4> stats{};  // abs and rel error of f, abs and rel error of d
    Real fermax = 0, dermax = 0;
    bool failnx = false;
    if (ierr != 0) {
      failoc = true;
      if (kprint >= 2) write_formatted(lout, chfdv_error, {ierr});
    } else {
      for (int i = 1; i <= npts; ++i) {
        Real ftrue, dtrue;
        reference(XEV(i), ftrue, dtrue);
        const Real ae = FEV(i) - ftrue, ad = DEV(i) - dtrue;
        const std::array<Real, 4> errors{ae, relative(ae, ftrue, floorf), ad, relative(ad, dtrue, floord)};
        for (std::size_t m = 0; m < 4; ++m) stats[m].add(errors[m], XEV(i), i == 1);
      }
      fermax = std::max(std::abs(stats[1].max), std::abs(stats[1].min));
      dermax = std::max(std::abs(stats[3].max), std::abs(stats[3].min));
      failnx = next[0] + next[1] != 10;
      failoc = failnx || std::max(fermax, dermax) > tol2;
    }
    fail = fail || failoc;
    if (kprint >= 3) {
      write_formatted(lout, points, {npts - 10, next[0], next[1]});
      write_formatted(lout, extreme, {"MIN", stats[0].min, stats[1].min, stats[2].min, stats[3].min});
      write_formatted(lout, located, {stats[0].at_min, stats[1].at_min, stats[2].at_min, stats[3].at_min});
      write_formatted(lout, extreme, {"MAX", stats[0].max, stats[1].max, stats[2].max, stats[3].max});
      write_formatted(lout, located, {stats[0].at_max, stats[1].at_max, stats[2].at_max, stats[3].at_max});
    }
    if (kprint >= 2) {
      if (failoc) {
        if (fermax > tol2) write_formatted(lout, exceeds, {"F", fermax, tol2});
        if (dermax > tol2) write_formatted(lout, exceeds, {"D", dermax, tol2});
        if (failnx) write_formatted(lout, next_wrong, {next[0], next[1]});
      } else {
        write_formatted(lout, chfdv_ok, {});
      }
    }

    // The values alone must agree bit for bit.
    int next2[2] = {0, 0};
    ev.chfev(&x1, &x2, &f1, &f2, &d1, &d2, &npts, xev, fev2, next2, &ierr);
    if (ierr != 0) {
      failoc = true;
      if (kprint >= 2) write_formatted(lout, chfev_error, {ierr});
    } else {
      Real aefmax = std::abs(FEV2(1) - FEV(1)), at = XEV(1);
      for (int i = 2; i <= npts; ++i) {
        const Real diff = std::abs(FEV2(i) - FEV(i));
        if (diff > aefmax) {
          aefmax = diff;
          at = XEV(i);
        }
      }
      failnx = next2[0] != next[0] || next2[1] != next[1];
      failoc = failnx || aefmax != Real(0);
      if (kprint >= 2) {
        if (failoc) {
          write_formatted(lout, disagree, {});
          if (aefmax != Real(0)) write_formatted(lout, difference, {aefmax, at});
          if (failnx) write_formatted(lout, next_differs, {next2[0], next2[1], next[0], next[1]});
        } else {
          write_formatted(lout, agrees, {});
        }
      }
    }
    fail = fail || failoc;
  }
  return fail;
}

// ---------------------------------------------------------------------------

template <class Real>
bool check_grid_lines(int lout, int kprint, Real* x, Real* y, Real* f, Real* fx, Real* fy, Real* xe, Real* ye,
                      Real* fe, Real* de, Real* fe2) {
  RECORD(title, "('1'//10X,'TEST DPCHFE AND DPCHFD')");
  RECORD(results, "(//10X,'DEVPCK RESULTS'/10X,'--------------')");
  RECORD(line_head, "(//20X,'DPCHFD INCREMENT TEST -- INCFD = ',I2        /15X,'ON ',A1,'-LINE ',I2,',  ',A1,"
                    "' =',F8.4, '  --  IERR =',I3)");
  RECORD(pchfd_error, "(//' ***** ERROR ***** DPCHFD RETURNED IERR =',I5//)");
  RECORD(table_head, "( /3X,A1,'E',10X,'F',8X,'FE',9X,'DIFF',           13X,'D',8X,'DE',9X,'DIFF')");
  RECORD(table_row, "(F7.2,2(2X,2F10.5,1P,D15.5,0P))");
  RECORD(line_failed, "(/' ***** DPCHFD AND/OR DPCHFE FAILED ON ',A1,'-LINE ',I1, ',  ',A1,' =',F8.4)");
  RECORD(bound, "('  *** BOTH SHOULD BE .LE. TOL =',1P,D12.5,' ***')");
  RECORD(difference, "( '  MAXIMUM DIFFERENCE BETWEEN DPCHFE AND DPCHFD =',                  1P,D13.5,0P,"
                     "' (AT',F6.2,').' )");
  RECORD(status, "(/'  DPCHF',A1,' RETURNED IERR = ',I2,' INSTEAD OF ',I2)");
  RECORD(lines_failed, "(//' ***** ERROR ***** DPCHFD AND/OR DPCHFE FAILED ON',I2,               1X, A1,"
                       "'-LINES.'//)");
  RECORD(lines_ok, "(/' DPCHFD AND DPCHFE OK ON ',A1,'-LINES.')");
  // The maximum-error line: the single twin indents it by 17 and 31.
  static const Format maximum(
      std::is_same_v<Real, double>
          ? "(/19X,'  MAXIMUM ERROR IN FUNCTION =',1P,                  1P,D13.5,0P,' (AT',F6.2,'),'       "
            "/33X,    'IN DERIVATIVE =',1P,D13.5,0P,' (AT',F6.2,').' )"
          : "(/17X,'  MAXIMUM ERROR IN FUNCTION =',1P,                  1P,E13.5,0P,' (AT',F6.2,'),'       "
            "/31X,    'IN DERIVATIVE =',1P,E13.5,0P,' (AT',F6.2,').' )");

  constexpr int nx = 4, ny = 6, ne = 51, nmax = 10;
  const Evaluators<Real>& ev = evaluators<Real>();
  const Real tol = Real(std::is_same_v<Real, double> ? 25 : 10) * machine_epsilon<Real>();
  const Vec<Real> X(x, nx), Y(y, ny), XE(xe, ne), YE(ye, ne), FE(fe, ne), DE(de, ne), FE2(fe2, ne);
  const Mat<Real> F(f, nmax, nmax), FX(fx, nmax, nmax), FY(fy, nmax, nmax);
  auto fxy = [](Real u, Real v) { return (Real(1) + u * u) * ((v * v) * u); };
  auto fx_xy = [](Real u, Real v) { return (Real(1) + (Real(3) * u) * u) * (v * v); };
  auto fy_xy = [](Real u, Real v) { return (Real(1) + u * u) * ((u + u) * v); };

  for (int i = 1; i <= 3; ++i) X(i) = Real(0.25) * Real(i);
  X(4) = Real(1);
  for (int j = 1; j <= ny; ++j) Y(j) = Real(0.5) * Real(j) - Real(1.25);
  for (int j = 1; j <= ny; ++j)
    for (int i = 1; i <= nx; ++i) {
      F(i, j) = fxy(X(i), Y(j));
      FX(i, j) = fx_xy(X(i), Y(j));
      FY(i, j) = fy_xy(X(i), Y(j));
    }
  const Real dx = Real(1) / Real(ne - 1);
  for (int k = 1; k <= ne - 1; ++k) {
    XE(k) = Real(k - 1) * dx;
    YE(k) = Real(4) * XE(k) - Real(2);
  }
  XE(ne) = Real(1);
  YE(ne) = Real(2);
  if (kprint >= 3) write_formatted(lout, title, {});
  if (kprint >= 2) write_formatted(lout, results, {});

  bool fail = false;
  // One grid line: n data along `along` (stride inc) evaluated at the points
  // `at`; truth(k) gives the exact value and slope at point k.
  auto line = [&](int n, const Real* along, const Real* values, const Real* slopes, int inc, int& skip,
                  const Vec<Real>& at, std::string_view line_letter, int index, std::string_view coordinate,
                  Real coordinate_value, std::string_view table_letter, auto truth, int expected) {
    int ierr = 0, ier2 = 0;
    bool failoc = false;
    ev.pchfd(&n, along, values, slopes, &inc, &skip, &ne, at.data(), fe, de, &ierr);
    if (kprint >= 3)
      write_formatted(lout, line_head, {inc, line_letter, index, coordinate, coordinate_value, ierr});
    if (ierr < 0) {
      failoc = true;
      if (kprint >= 2) write_formatted(lout, pchfd_error, {ierr});
      return failoc;
    }
    if (kprint >= 4) write_formatted(lout, table_head, {table_letter});
    ev.pchfe(&n, along, values, slopes, &inc, &skip, &ne, at.data(), fe2, &ier2);
    Real fermax = 0, dermax = 0, fdifmx = 0, xfer = 0, xder = 0, xdif = 0;
    for (int k = 1; k <= ne; ++k) {
      const auto [ftrue, dtrue] = truth(k);
      const Real ferr = FE(k) - ftrue, derr = DE(k) - dtrue, fdif = std::abs(FE2(k) - FE(k));
      if (kprint >= 4) write_formatted(lout, table_row, {at(k), ftrue, FE(k), ferr, dtrue, DE(k), derr});
      if (k == 1 || std::abs(ferr) > fermax) fermax = std::abs(ferr), xfer = at(k);
      if (k == 1 || std::abs(derr) > dermax) dermax = std::abs(derr), xder = at(k);
      if (k == 1 || fdif > fdifmx) fdifmx = fdif, xdif = at(k);
    }
    const bool faild = fermax > tol || dermax > tol, faile = fdifmx != Real(0);
    failoc = faild || faile || ierr != expected || ier2 != ierr;
    if (failoc && kprint >= 2) write_formatted(lout, line_failed, {line_letter, index, coordinate, coordinate_value});
    if (kprint >= 3 || (faild && kprint == 2)) write_formatted(lout, maximum, {fermax, xfer, dermax, xder});
    if (faild && kprint >= 2) write_formatted(lout, bound, {tol});
    if (kprint >= 3 || (faile && kprint == 2)) write_formatted(lout, difference, {fdifmx, xdif});
    if (ierr != expected && kprint >= 2) write_formatted(lout, status, {"D", ierr, expected});
    if (ier2 != ierr && kprint >= 2) write_formatted(lout, status, {"E", ier2, ierr});
    return failoc;
  };
  auto summary = [&](int nerr, std::string_view letter) {
    if (kprint < 2) return;
    if (nerr > 0) write_formatted(lout, lines_failed, {nerr, letter});
    else write_formatted(lout, lines_ok, {letter});
  };

  // Along x (stride 1), one line per y; 13 points lie left of x(1).
  int nerr = 0, skip = 0;
  for (int j = 1; j <= ny; ++j) {
    const Real yj = Y(j);
    const bool failed = line(nx, x, &F(1, j), &FX(1, j), 1, skip, XE, "J", j, "Y", yj, "X",
                             [&](int k) { return std::pair{fxy(XE(k), yj), fx_xy(XE(k), yj)}; }, 13);
    nerr += failed;
    fail = fail || failed;
  }
  summary(nerr, "J");
  // Along y (stride 10), one line per x; 16 points below y(1), 4 above y(6).
  nerr = 0;
  skip = 0;
  for (int i = 1; i <= nx; ++i) {
    const Real xi = X(i);
    const bool failed = line(ny, y, &F(i, 1), &FY(i, 1), nmax, skip, YE, "I", i, "X", xi, "Y",
                             [&](int k) { return std::pair{fxy(xi, YE(k)), fy_xy(xi, YE(k))}; }, 20);
    nerr += failed;
    fail = fail || failed;
  }
  summary(nerr, "I");
  return fail;
}

// ---------------------------------------------------------------------------

template <class Real>
bool check_error_returns(int lout, int kprint) {
  RECORD(title, "('1'//10X,'TEST ERROR RETURNS')");
  RECORD(results, "(//10X,'DEVERK RESULTS'/10X,'--------------')");
  RECORD(should, "(/' THIS CALL SHOULD RETURN IERR =',I3)");
  RECORD(all_ok, "(/' ALL ERROR RETURNS OK.')");
  RECORD(trouble, "(//' ***** TROUBLE IN DEVERK *****'       //5X,I5,' TESTS FAILED TO GIVE EXPECTED RESULTS.')");

  // The control setting for the provoked errors (0 silent, 1 printed; both
  // return), restored however the check ends.
  struct Setting {
    int saved;
    explicit Setting(int kprint) : saved(j4save(2, kprint <= 2 ? 0 : 1, true)) {}
    ~Setting() { j4save(2, saved, true); }
  } setting(kprint);

  const Evaluators<Real>& ev = evaluators<Real>();
  if (kprint >= 3) write_formatted(lout, title, {});
  if (kprint >= 2) write_formatted(lout, results, {});
  int nerr = 0;
  auto expect = [&](int expected, auto call) {
    if (kprint >= 3) write_formatted(lout, should, {expected});
    int ierr = 0;
    call(ierr);
    if (!comp(ierr, expected, lout, kprint)) ++nerr;
  };

  const Real zero = 0, one = 1, three = 3, seven = 7, six = 6;
  Real scratch = 0, scratch2 = 0;
  int next[2] = {0, 0};
  const int none = 0, single = 1;
  expect(-1, [&](int& ierr) { ev.chfev(&zero, &one, &three, &seven, &three, &six, &none, &scratch, &scratch2, next, &ierr); });
  expect(-2, [&](int& ierr) { ev.chfev(&one, &one, &three, &seven, &three, &six, &single, &scratch, &scratch2, next, &ierr); });
  expect(-1, [&](int& ierr) {
    ev.chfdv(&zero, &one, &three, &seven, &three, &six, &none, &scratch, &scratch2, &scratch2, next, &ierr);
  });
  expect(-2, [&](int& ierr) {
    ev.chfdv(&one, &one, &three, &seven, &three, &six, &single, &scratch, &scratch2, &scratch2, next, &ierr);
  });

  // Ten points with x(4) and x(7) exchanged: not increasing.
  std::array<Real, 10> x{}, f{}, d{};
  for (int i = 0; i < 10; ++i) {
    x[std::size_t(i)] = Real(i + 1);
    f[std::size_t(i)] = Real(i + 1) + Real(2);
    d[std::size_t(i)] = one;
  }
  std::swap(x[3], x[6]);
  const int ten = 10, incfd = 1;
  for (const bool derivatives : {false, true}) {
    auto call = [&](int n, int skip_in) {
      return [&, n, skip_in](int& ierr) {
        int skip = skip_in;
        if (derivatives)
          ev.pchfd(&n, x.data(), f.data(), d.data(), &incfd, &skip, &none, &scratch, &scratch2, &scratch2, &ierr);
        else
          ev.pchfe(&n, x.data(), f.data(), d.data(), &incfd, &skip, &none, &scratch, &scratch2, &ierr);
      };
    };
    expect(-1, call(single, 0));
    expect(-3, call(ten, 0));
    expect(-4, call(ten, 1));
  }

  if (kprint >= 3) ::xerdmp();
  if (nerr == 0) {
    if (kprint >= 2) write_formatted(lout, all_ok, {});
    return false;
  }
  if (kprint >= 2) write_formatted(lout, trouble, {nerr});
  return true;
}

#undef RECORD

template TAVRIN_API bool check_one_cubic<double>(int, int, int, double*, double*, double*, double*);
template TAVRIN_API bool check_one_cubic<float>(int, int, int, float*, float*, float*, float*);
template TAVRIN_API bool check_grid_lines<double>(int, int, double*, double*, double*, double*, double*, double*,
                                                  double*, double*, double*, double*);
template TAVRIN_API bool check_grid_lines<float>(int, int, float*, float*, float*, float*, float*, float*, float*,
                                                 float*, float*, float*);
template TAVRIN_API bool check_error_returns<double>(int, int);
template TAVRIN_API bool check_error_returns<float>(int, int);

}  // namespace tavrin::pchip

extern "C" {

namespace pchip = tavrin::pchip;

void devchk(const int* lout, const int* kprint, const int* npts, double* xev, double* fev, double* dev, double* fev2,
            int* fail) {
  tavrin::c_boundary(__func__, [&] {
    *fail = pchip::check_one_cubic(*lout, *kprint, *npts, xev, fev, dev, fev2);
  });
}
void evchck(const int* lout, const int* kprint, const int* npts, float* xev, float* fev, float* dev, float* fev2,
            int* fail) {
  tavrin::c_boundary(__func__, [&] {
    *fail = pchip::check_one_cubic(*lout, *kprint, *npts, xev, fev, dev, fev2);
  });
}
void devpck(const int* lout, const int* kprint, double* x, double* y, double* f, double* fx, double* fy, double* xe,
            double* ye, double* fe, double* de, double* fe2, int* fail) {
  tavrin::c_boundary(__func__, [&] {
    *fail = pchip::check_grid_lines(*lout, *kprint, x, y, f, fx, fy, xe, ye, fe, de, fe2);
  });
}
void evpcck(const int* lout, const int* kprint, float* x, float* y, float* f, float* fx, float* fy, float* xe,
            float* ye, float* fe, float* de, float* fe2, int* fail) {
  tavrin::c_boundary(__func__, [&] {
    *fail = pchip::check_grid_lines(*lout, *kprint, x, y, f, fx, fy, xe, ye, fe, de, fe2);
  });
}
void deverk(const int* lout, const int* kprint, int* fail) {
  tavrin::c_boundary(__func__, [&] {
    *fail = pchip::check_error_returns<double>(*lout, *kprint);
  });
}
void everck(const int* lout, const int* kprint, int* fail) {
  tavrin::c_boundary(__func__, [&] {
    *fail = pchip::check_error_returns<float>(*lout, *kprint);
  });
}

}
