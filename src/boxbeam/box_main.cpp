#include "boxbeam/box_main.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include <fstream>
#include <initializer_list>
#include <limits>
#include <span>

#include "boxbeam/box_data.hpp"
#include "boxbeam/box_tools.hpp"
#include "foundation/boundary.hpp"
#include "foundation/halt.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/format_record.hpp"
#include "foundation/list_record.hpp"

namespace tavrin::boxbeam {

namespace {

// The report lines, in the order the analysis writes them.
namespace layout {
const io::Format record1("(///1H ,'GURTPARAMETER'/1H ,                                              '============='//1H                                 ,'NR',9X,'YI ',9X,'ZI ',9X,'BI ',9X,                                       'MYI',9X)");
const io::Format record2("(i3,2f12.3,2e12.3)");
const io::Format record3("(///1H ,'WANDPARAMETER'/1H ,                                              '============='//1H                                 ,'NR',5X,'IG1',5X,'IG2',5X,'TYPE',4X,                                      'MAT',9X,'YK1',9X,'ZK1',9X,                                       'YK2',9X,'ZK2',9X,'BK ',9X,                                       'GK ',9X,'RHO',9X)");
const io::Format record4("(i3,4i8,4f12.3,3e12.3)");
const io::Format record5("(///1H ,'ZELLENPARAMETER'/1H ,                                            '==============='//1H                               ,'NR',5X,'IG1',5X,'IG2',5X,'IG3',5X,                                       'IG4',5X)");
const io::Format record6("(i3,4i8)");
const io::Format record7("(//5X,'KRAEFTE UND MOMENTE BEZOGEN AUF QUERSCHNITTSKO',            'ORDINATEN:'/3X,'QX = ',D16.9,5X,                                 'QY = ',D16.9,5X,'QZ = ',D16.9/3X,'MX = ',D16.9,                  5X,'MY = ',D16.9,5X,'MZ = ',D16.9///)");
const io::Format record8("(1H+,T21,'Q U E R S C H N I T T S G R O E S S E N'/                T21,39('-')//)");
const io::Format record9("(1H0,T21,'DEHNSTEIFIGKEIT DES TRAEGERS = ',D16.9,2X,'(K)',/        T8,'GESAMTMASSE PRO EINHEIT DER TRAEGERLAENGE = ',D16.9,          2X,'(M/L)'//T3,'KOORDINATEN DES STEIFIGKEITSMITTEL',              'PUNKTS:   YS = ',D16.9,2X,'(L)'/T47,'ZS = ',D16.9,               2X,'(L)'//T15,'KOORDINATEN DES SCHWERPUNKTS:   YT = ',            D16.9,2X,'(L)'/T47,'ZT = ',D16.9,2X,'(L)'///)");
const io::Format record10("(T14,'STEIFIGKEITSMOMENTE 2.GRADES:   DYY = ',                     D16.9,2X,'(K * L**2)'/T46,                                        'DZY = ',D16.9,2X,'(K * L**2)'/T46,                               'DZZ = ',D16.9,2X,'(K * L**2)'//)");
const io::Format record11("(T14,'STEIFIGKEITSMOM (BEZUGSSYSTEM): DYY = ',                     D16.9,2X,'(K * L**2)'/T46,                                        'DZY = ',D16.9,2X,'(K * L**2)'/T46,                               'DZZ = ',D16.9,2X,'(K * L**2)'//)");
const io::Format record12("(/T11,'MASSENTRAEGHEITSMOMENT UM LAENGSACHSE:',5X,                 '( BEZ. AUF SCHWERPUNKT )'/T46,'IT  =',                            D16.9,2X,'(M*L)'//)");
const io::Format record13("(/T11,'MASSENTRAEGHEITSMOMENT UM LAENGSACHSE:',5X,                 '( BEZUGSSYSTEM )'/T46,'IT  =',                                    D16.9,2X,'(M*L)'//)");
const io::Format record14("(1H0,T32,'HAUPTACHSENWINKEL = ',D16.9,2X,'(RADIAN)',3X,            '=',F9.2,2X,'(GRAD)'//T13,                                        'STEIFIGKEITSMOMENTE 2.GRADES:   DYY* = ',D16.9,2X,               '(K * L**2)'/T45,'DZZ* = ',D16.9,2X,'(K * L**2)'///)");
const io::Format record15("(1H0,' GURT',T10,'LAENGSKRAFT (K)',T38,'DEHNUNG'/                  T15,'N(I)',T39,'EPS(I)'/)");
const io::Format record16("(1H ,I4,3X,D16.9,8X,D16.9)");
const io::Format record17("(///'  WAND',T14,'L A E N G S K R A F T F L U E S S E    ',        '(K/L)',T81,'D   E   H   N   U   N   G   E   N'/T17,              'NK(0)',T33,'NK(LK/2)',T54,'NK(LK)',T77,'EPSK(0)',T94,            'EPSK(LK/2)',T114,'EPSK(LK)'/)");
const io::Format record18("(1H ,I4,3(3X,D16.9),5X,3(3X,D16.9))");
const io::Format record19("(1H0,T5,'WAND',T16,'SSTYK',T34,'SSTZK',T52,'DSIYK',                T70,'DSIZK'/)");
const io::Format record20("(1H ,I6,4D18.9)");
const io::Format record21("(1H0,'   F E H L E R M E L D U N G:'//5X,'IN ZELLE',I4,            '  WURDE DIE WAND ZWISCHEN DEN GURTEN',I4,'  UND',I4,             '  NICHT DEFINIERT !!')");
const io::Format record22("(///5X,'KONTROLLAUSDRUCK GLEICHUNGSSYSTEM:'//5X,                   'ANZAHL DER GLEICHUNGEN =',I4/9X,'ANZAHL DER SPALTEN =',I4        ///5X,'KOEFFIZIENTENMATRIX ( + LETZTE SPALTE = NEGATIVE ',        'RECHTE SEITE):'/)");
const io::Format record23("((10D13.5))");
const io::Format record24("(1H ,'ABBRUCH DER REDUKTION IN SCHRITT',I3,'. PIVOT',              'ELEMENT IST ZU KLEIN')");
const io::Format record25("(///5X,'LOESUNGEN DES GLEICHUNGSSYSTEMS:'/)");
const io::Format record26("(1H0,'FEHLERVEKTOR, LIEFERT HINWEISE UEBER DIE GENAUIG',           'KEIT DER LOESUNG DES STATISCH UNBESTIMMTEN PROBLEMS'//           (1H ,D16.9))");
const io::Format record27("(///T54,'BEZOGEN AUF',T91,'BEZOGEN AUF'/T48,                       'STEIFIGKEITSMITTELPUNKT',T93,'BEZUGSSYSTEM')");
const io::Format record28("(/T9,'KOORDINATEN DES SCHUBMITTELPUNKTS:   YM* = ',D16.9,          2X,'(L)',11X,'YM = ',D16.9,2X,'(L)'/T46,'ZM* = ',D16.9,2X,        '(L)',11X,'ZM = ',D16.9,2X,'(L)'//)");
const io::Format record29("(1H0,'DRILLWINKEL KANN NICHT BERECHNET WERDEN, DA OFFENES',        ' PROFIL \"KEINE\" DRILLSTEIFIGKEIT BESITZT.')");
const io::Format record30("(///'  WAND',T14,'S  C  H  U  B  F  L  U  E  S  S  E    ',         '(K/L)',T81,'S C H U B V E R Z E R R U N G E N'/T17,              'TK(0)',T33,'TK(LK/2)',T54,'TK(LK)',T77,'GAMK(0)',T94,            'GAMK(LK/2)',T114,'GAMK(LK)'/)");
const io::Format record31 = record18;
const io::Format record32("(///1H0,T21,'SPEZIFISCHE VERDREHUNG THETA = ',D16.9,               2X,'(1/L)')");
const io::Format record33("(//T19,'MASSENTRAEGHEITSMOMENTE:',5X,'( BEZOGEN AUF EIN ',         'ZU DEN HAUPTACHSEN'/T50,'PARALLELES SYSTEM IM SCHUB',            'MITTELPUNKT )'//T46,'IYY =',D16.9,2X,'(M*L)'/T46,'IZY =',        D16.9,2X,'(M*L)'/T46,'IZZ =',D16.9,2X,'(M*L)'//)");
const io::Format record34("(/T11,'POLARES MASSENTRAEGHEITSMOMENTE:',5X,                       '( BEZOGEN AUF DEN SCHWERPUNKT )'//T46,'IT  =',                    D16.9,2X,'(M*L)'//)");
const io::Format record35("(//T27,'TORSIONSSTEIFIGKEIT DT =',D16.9,2X,'(K * L**2)')");
const io::Format resultants("(1H1////T11,'SPX = ',D16.9/T11,'SPY = ',D16.9/                     T11,'SPZ = ',D16.9)");
const io::Format four_empty("(////)");
const io::Format nodal_line("(1H ,I6,I10,6X,3(D16.9,5X),I2)");
const io::Format nodal_heading[3] = {io::Format("(1H0,T6,'AEQUIVALENTE KNOTENKRAEFTE IN  X-RICHTUNG'///T4,          'WAND NR.',T16,'IG1',T27,'PKNT(I,1,1)',T48,'PKNT(I,2,1)',         T69,'PKNT(I,3,1)',T87,'IG2'/)"),
    io::Format("(1H0,T6,'AEQUIVALENTE KNOTENKRAEFTE IN  Y-RICHTUNG'///T4,          'WAND NR.',T16,'IG1',T27,'PKNT(I,1,2)',T48,'PKNT(I,2,2)',         T69,'PKNT(I,3,2)',T87,'IG2'/)"),
    io::Format("(1H0,T6,'AEQUIVALENTE KNOTENKRAEFTE IN  Z-RICHTUNG'///T4,          'WAND NR.',T16,'IG1',T27,'PKNT(I,1,3)',T48,'PKNT(I,2,3)',         T69,'PKNT(I,3,3)',T87,'IG2'/)"),
};
}  // namespace layout

// The report file and the extended print file of one run: both are appended
// to (created when missing), only with the report switch set, the extended
// one only with its own switch too.  Closing (and flushing) is left to the
// destructor, so that every way out of a run leaves complete files; a file
// that could not be written to the end (a full disk, a file-size limit) is
// latched then, not taken for written.
class Report {
 public:
  Report() : druck_(steuer::druck), exdru_(steuer::druck && steuer::exdru) {
    if (exdru_) open(ext_, ext_path_, path::vbinfopath.view());
    if (druck_) open(rep_, rep_path_, path::csinfopath.view());
  }
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;
  ~Report() { close(); }
  bool on() const { return druck_; }
  bool extended() const { return exdru_; }

  void write(const io::Format& format, std::initializer_list<io::FormatItem> items) {
    write(format, std::span<const io::FormatItem>(items.begin(), items.size()));
  }
  void write(const io::Format& format, std::span<const io::FormatItem> items) {
    if (!rep_.is_open()) return;
    for (const std::string& line : io::format_records(format, items)) rep_ << line << '\n';
  }
  // Flushes and closes both files (before the process is ended).
  void close() noexcept {
    finish(rep_, rep_path_);
    finish(ext_, ext_path_);
  }
  // A free-format record of the extended print file: label, then values.
  void extra(std::string_view label = {}, std::initializer_list<double> values = {}) {
    if (!ext_.is_open()) return;
    io::ListRecord r;
    if (!label.empty()) r << label;
    for (double v : values) r << v;
    ext_ << (label.empty() && values.size() == 0 ? std::string() : r.str()) << '\n';
  }
  void extra(std::string_view label, int value) {
    if (!ext_.is_open()) return;
    io::ListRecord r;
    r << label << value;
    ext_ << r.str() << '\n';
  }

 private:
  static void open(std::ofstream& f, std::string& path, std::string_view field) {
    // The path is the field up to its first NUL, without trailing blanks.
    field = field.substr(0, field.find('\0'));
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    path = field;
    f.open(path, std::ios::out | std::ios::app);
    if (!f.is_open()) xerr(-2, "Box_GetXSection: cannot open report file " + path);
  }
  // Closes an open file; a write, flush or close that failed is latched.
  static void finish(std::ofstream& f, const std::string& path) noexcept {
    if (!f.is_open()) return;
    bool failed = f.fail();
    f.close();
    failed = failed || f.fail();
    if (!failed) return;
    char message[81];  // the latch keeps 80 characters
    std::snprintf(message, sizeof message, "Box_GetXSection: cannot write report file %s", path.c_str());
    xerr(-2, message);
  }
  bool druck_, exdru_;
  std::string rep_path_, ext_path_;
  std::ofstream rep_, ext_;
};

// The input tables and the loads.
void report_input(Report& out) {
  if (!out.on()) return;
  out.write(layout::record1, {});
  for (int i = 1; i <= gurt::ig; ++i)
    out.write(layout::record2, {i, gurt::yi(i), gurt::zi(i), gurt::bi(i), gurt::myi(i)});
  out.write(layout::record3, {});
  using namespace wand;
  for (int k = 1; k <= kw; ++k)
    out.write(layout::record4, {k, ig1(k), ig2(k), it(k), k, yk0(k), zk0(k), yklk(k), zklk(k),
                                bk(k), gk(k), rhok(k)});
  out.write(layout::record5, {});
  for (int c = 1; c <= zelle::az; ++c) {
    // The first four booms of the cell (0 beyond the boom capacity).
    int b[4];
    for (int j = 1; j <= 4; ++j) b[j - 1] = j <= restr::maxgu ? zelle::ia(j, c) : 0;
    out.write(layout::record6, {c, b[0], b[1], b[2], b[3]});
  }
  using namespace spanug;
  out.write(layout::record7, {qqx, qqy, qqz, qmx, qmy, qmz});
}

// Why the section cannot be analysed, or empty when it can.
std::string section_fault(int& where) {
  using namespace restr;
  where = 0;
  if (!initialized()) return "section data not initialised (call box_initialize first)";
  const int kw = wand::kw, ig = gurt::ig, az = zelle::az;
  if (kw < 1) return "at least one wall is needed (kw >= 1)";
  if (kw > maxwa) return (where = kw), "kw exceeds the wall capacity maxwa";
  if (ig < 0 || ig > maxgu) return (where = ig), "ig outside 0..maxgu";
  if (az < 0 || az > maxze) return (where = az), "az outside 0..maxze";
  for (int k = 1; k <= kw; ++k) {
    const int a = wand::ig1(k), b = wand::ig2(k);
    if (a < 1 || a > ig || b < 1 || b > ig) return (where = k), "wall boom outside 1..ig";
  }
  for (int c = 1; c <= az; ++c) {
    const int n = zelle::iak(c);
    if (n < 1 || n > maxgu) return (where = c), "cell boom count iak outside 1..maxgu";
    for (int j = 1; j <= n; ++j)
      if (zelle::ia(j, c) < 1 || zelle::ia(j, c) > ig) return (where = c), "cell boom ia outside 1..ig";
  }
  if (kw + 1 != ig + az) return (where = kw), "section not connected: kw + 1 must equal ig + az";
  return {};
}

void zero_results() {
  using namespace quer;
  for (double* r : {&bx, &m, &ys, &zs, &yt, &zt, &dyy, &dzy, &dzz, &alpha, &dyyste, &dzzste, &itt,
                    &ymst, &zmst, &ymstac, &zmstac, &iyys, &izys, &izzs, &dt})
    *r = 0.0;
  for (auto* a : {&kraft::nx0, &kraft::nxl2, &kraft::nxl, &kraft::t0, &kraft::tl2, &kraft::tl,
                  &epigam::epigu})
    if (a->allocated()) a->fill(0.0);
  for (auto* a : {&epigam::epi, &epigam::gam})
    if (a->allocated()) a->fill(0.0);
}

constexpr double not_computed = std::numeric_limits<double>::quiet_NaN();

// The shear flows of the walls (and the twist of a closed section) read NaN
// until a system that produces them has been solved.
void mark_flows_not_computed() {
  using namespace kraft;
  const int kw = wand::kw;
  for (int k = 1; k <= kw + (zelle::az > 0 ? 1 : 0); ++k) t0(k) = not_computed;
  for (int k = 1; k <= kw; ++k) {
    tl2(k) = tl(k) = not_computed;
    for (int j = 1; j <= 3; ++j) epigam::gam(k, j) = not_computed;
  }
}

// The results of the second half read NaN until it computes them.
void mark_shear_results_not_computed() {
  using namespace quer;
  for (double* r : {&ymst, &zmst, &ymstac, &zmstac, &iyys, &izys, &izzs, &dt}) *r = not_computed;
  mark_flows_not_computed();
}

// True when every result of the run is a finite number.
bool results_finite() {
  using namespace quer;
  for (const double r : {bx, m, ys, zs, yt, zt, dyy, dzy, dzz, alpha, dyyste, dzzste, itt, ymst, zmst,
                         ymstac, zmstac, iyys, izys, izzs, dt})
    if (!std::isfinite(r)) return false;
  const int kw = wand::kw;
  for (int k = 1; k <= kw; ++k) {
    using namespace kraft;
    for (const double v : {nx0(k), nxl2(k), nxl(k), t0(k), tl2(k), tl(k)})
      if (!std::isfinite(v)) return false;
    for (int j = 1; j <= 3; ++j)
      if (!std::isfinite(epigam::epi(k, j)) || !std::isfinite(epigam::gam(k, j))) return false;
  }
  if (zelle::az > 0 && !std::isfinite(kraft::t0(kw + 1))) return false;
  for (int i = 1; i <= gurt::ig; ++i)
    if (!std::isfinite(epigam::epigu(i))) return false;
  return true;
}

// Second-moment integrals of a straight wall of length lk from (h2, h1)
// (y, z relative to the reference point) along (lambda, phi).
struct WallMoments {
  double yy, zz, zy;
};
WallMoments wall_moments(double h1, double h2, double phi, double lambda, double lk) {
  return {(phi * phi / 3.0 + h1 * h1 + h1 * phi) * lk,
          (lambda * lambda / 3.0 + h2 * h2 + h2 * lambda) * lk,
          (phi * lambda / 3.0 + h1 * h2 + 0.5 * (h2 * phi + lambda * h1)) * lk};
}

void report_nodal_forces(Report& out, const std::vector<std::array<std::array<double, 3>, 3>>& p);

// What the first half hands to the shear analysis.
struct FirstHalf {
  const std::vector<double>& lk;    // wall lengths
  const std::vector<double>& skyk;  // z-centre times length
  const std::vector<double>& skzk;  // y-centre times length
  double iyyd, izyd, izzd;          // mass moments about the stiffness centre
  double sa, ca;                    // sin, cos of the principal-axis angle
};

// The equation matrix of the shear problem: rows boom equilibrium
// (1..ig), cell compatibility (ig+1..ig+az), moment equilibrium (ig+az+1);
// columns the wall flows (1..kw), theta or the constant of the unit-shear
// systems (kw+1), the constant of the systems with theta (kw+2).  Every
// system is  sum coefficients * unknowns + constant = 0.
class ShearSystem {
 public:
  ShearSystem(int rows, int cols) : rows_(rows), a_(std::size_t(rows) * std::size_t(cols), 0.0) {}
  double& operator()(int r, int c) { return a_[std::size_t(r - 1) + std::size_t(c - 1) * std::size_t(rows_)]; }
  double operator()(int r, int c) const { return a_[std::size_t(r - 1) + std::size_t(c - 1) * std::size_t(rows_)]; }
  int rows() const { return rows_; }

  // Solves `n` unknowns from rows 1..n+1 with the constants of column
  // `constant`; x receives the n unknowns.  Returns TVERT's failure code.
  int solve(int n, int constant, std::vector<double>& x) const {
    const auto rows = static_cast<std::size_t>(rows_);
    std::vector<double> a = a_, b(rows), xs(static_cast<std::size_t>(n));
    std::vector<int> ip(rows);
    for (int r = 1; r <= n + 1; ++r) b[std::size_t(r - 1)] = -(*this)(r, constant);
    const double eps = 1e-30;
    int ifail = 0;
    TVERT(a.data(), &n, &rows_, &eps, b.data(), ip.data(), xs.data(), &ifail);
    if (ifail == 0) x = std::move(xs);
    return ifail;
  }
  // Whether the coefficients of `n` unknowns in rows 1..n+1 and their
  // constants are finite.
  bool finite(int n, int constant) const {
    for (int r = 1; r <= n + 1; ++r) {
      if (!std::isfinite((*this)(r, constant))) return false;
      for (int c = 1; c <= n; ++c)
        if (!std::isfinite((*this)(r, c))) return false;
    }
    return true;
  }
  // |constant + row . x| of rows 1..n+1.
  std::vector<double> residuals(int n, int constant, const std::vector<double>& x) const {
    std::vector<double> res;
    const int one = 1;
    for (int r = 1; r <= n + 1; ++r)
      res.push_back(std::fabs((*this)(r, constant) + QVSKPX(&a_[std::size_t(r - 1)], x.data(), &n, &rows_, &one)));
    return res;
  }

 private:
  int rows_;
  std::vector<double> a_;
};

// Writes `values` ten per line in the layout of the matrix rows.
void write_row(Report& out, const io::Format& format, const std::vector<double>& values) {
  std::vector<io::FormatItem> items(values.begin(), values.end());
  out.write(format, std::span<const io::FormatItem>(items));
}

// The matrix of one system (rows 1..neq, unknown columns 1..ncol and the
// constant column), then its solution: record 24 on failure, else the
// solution and, in the extended report, the residuals.  Returns the failure.
// A system the run could not solve: status -3 with the system (1 and 2 the
// unit shears, 3 the loads, 4 the unit torque) and the failure code.
void latch_failure(const std::string& message, int code, int system) {
  const int detail[] = {code, system};
  xerr(-3, message, detail);
}

int solve_and_report(Report& out, const ShearSystem& s, int system, int neq, int ncol, int n, int constant,
                     std::vector<double>& x, bool open_profile = false) {
  if (out.extended()) {
    out.write(layout::record22, {neq, ncol});
    for (int r = 1; r <= neq; ++r) {
      std::vector<double> row;
      for (int c = 1; c <= ncol; ++c) row.push_back(s(r, c));
      row.push_back(s(r, constant));
      write_row(out, layout::record23, row);
    }
  }
  if (open_profile) out.write(layout::record29, {});
  if (!s.finite(n, constant)) {
    // A coefficient that is no number (a wall without shear stiffness, a
    // zero principal stiffness): the elimination would return values of no
    // solution, so the system is not solved.
    latch_failure("Box_GetXSection: equation system with coefficients that are not finite", 0, system);
    return -1;
  }
  const int ifail = s.solve(n, constant, x);
  if (ifail != 0) {
    out.write(layout::record24, {ifail});
    std::string words = io::format_records(layout::record24, {ifail}).front();
    latch_failure("Box_GetXSection: " + words.substr(1), ifail, system);
    return ifail;
  }
  if (out.extended()) {
    out.write(layout::record25, {});
    write_row(out, layout::record23, x);
    const std::vector<double> res = s.residuals(n, constant, x);
    std::vector<io::FormatItem> items(res.begin(), res.end());
    out.write(layout::record26, std::span<const io::FormatItem>(items));
  }
  return 0;
}

// Shear flows, shear centre, specific twist, mass moments about the shear
// centre and torsional stiffness.  Returns false when a system could not be
// solved (the results so far stay).
bool shear_and_torsion(Report& out, const FirstHalf& f) {
  using namespace quer;
  using namespace wand;
  using namespace gurt;
  const int nb = ig, nc = zelle::az, nw = kw;
  const double sa = f.sa, ca = f.ca;
  const double QY = spanug::qqy, QZ = spanug::qqz;
  double MX = spanug::qmx;
  // Principal-axis shear forces: the load system's torque term integrates
  // in the principal system, so it takes these too.
  const double qys = sa * QZ + ca * QY, qzs = ca * QZ - sa * QY;

  // Work data sized as the systems need them.
  const int W = std::max({1, kw, int(yk0.size())});
  const int G = std::max({1, ig, int(myi.size())});
  const int Z = std::max({1, nc, int(zelle::iak.size())});
  ShearSystem s(G + Z + 1, W + 2);
  std::vector<double> scale(std::size_t(Z) + 2, 1.0), zfa(std::size_t(Z) + 1, 0.0);
  std::vector<double> ruk(std::size_t(W) + 1), sstyk(ruk.size()), sstzk(ruk.size()),
      fstsym(ruk.size()), fstszm(ruk.size()), deltyk(ruk.size()), deltzk(ruk.size()),
      truyk(ruk.size()), truzk(ruk.size()), ddqyk(ruk.size()), ddqzk(ruk.size());
  const int mrow = nb + nc + 1;

  // Wall quantities.
  double rmx = 0.0, rumax = 0.0;
  if (out.extended()) out.write(layout::record19, {});
  for (int k = 1; k <= nw; ++k) {
    const std::size_t u = std::size_t(k);
    const double l = f.lk[u];
    double h1 = f.skyk[u] - zs * l, h2 = f.skzk[u] - ys * l;
    sstyk[u] = ca * h1 - sa * h2;
    sstzk[u] = sa * h1 + ca * h2;
    deltyk[u] = -sstyk[u] * bk(k) / dyyste;
    deltzk[u] = -sstzk[u] * bk(k) / dzzste;
    h1 = (zklk(k) + 2.0 * zk0(k)) / 3.0 - zs;
    h2 = (yklk(k) + 2.0 * yk0(k)) / 3.0 - ys;
    const double h3 = l * l / 2.0;
    const double dsiyk = h3 * (ca * h1 - sa * h2), dsizk = h3 * (sa * h1 + ca * h2);
    h1 = zklk(k) + 3.0 * zk0(k) - 4.0 * zs;
    h2 = yklk(k) + 3.0 * yk0(k) - 4.0 * ys;
    fstsym[u] = (ca * h1 - sa * h2) * (l / 8.0);
    fstszm[u] = (l / 8.0) * (ca * h2 + sa * h1);
    ruk[u] = (zklk(k) - zk0(k)) * (yk0(k) - ys) - (yklk(k) - yk0(k)) * (zk0(k) - zs);
    truyk[u] = dsiyk * ruk[u] / l;
    truzk[u] = dsizk * ruk[u] / l;
    ddqyk[u] = dsiyk * (bk(k) / gk(k)) / dyyste;
    ddqzk[u] = dsizk * (bk(k) / gk(k)) / dzzste;
    s(mrow, k) = ruk[u];
    rumax = std::max(rumax, std::fabs(ruk[u]));
    rmx += (truzk[u] * qys / dzzste + (qzs / dyyste) * truyk[u]) * bk(k);
    if (out.extended()) {
      out.extra("Wand:", k);
      out.extra("SSTYK", {sstyk[u]});
      out.extra("SSTZK", {sstzk[u]});
      out.extra("DYYSTE", {dyyste});
      out.extra("DZZSTE", {dzzste});
      out.extra("DELTYK", {deltyk[u]});
      out.extra("DELTZK", {deltzk[u]});
      out.extra();
    }
    if (out.extended()) out.write(layout::record20, {k, sstyk[u], sstzk[u], dsiyk, dsizk});
  }
  const double sm = rumax == 0.0 ? 1.0 : 1.0 / rumax;
  scale[std::size_t(Z) + 1] = sm;
  for (int k = 1; k <= nw; ++k) s(mrow, k) *= sm;

  // Boom equilibrium.
  for (int i = 1; i <= nb; ++i)
    for (int k = 1; k <= nw; ++k) s(i, k) = ig1(k) == i ? -1.0 : ig2(k) == i ? 1.0 : 0.0;

  // Cell compatibility; each cell's walls along and against its direction.
  std::vector<std::vector<int>> along(std::size_t(nc) + 1), against(std::size_t(nc) + 1);
  for (int c = 1; c <= nc; ++c) {
    const int r = nb + c, n = zelle::iak(c);
    double za = 0.0;
    for (int j = 1; j <= n; ++j) {
      const int b1 = zelle::ia(j, c), b2 = zelle::ia(j == n ? 1 : j + 1, c);
      int found = 0;
      for (int k = 1; k <= nw && found == 0; ++k) {
        if (ig1(k) == b1 && ig2(k) == b2) {
          s(r, k) = f.lk[std::size_t(k)] / gk(k);
          along[std::size_t(c)].push_back(k);
          za += ruk[std::size_t(k)];
          found = k;
        } else if (ig1(k) == b2 && ig2(k) == b1) {
          s(r, k) = -f.lk[std::size_t(k)] / gk(k);
          against[std::size_t(c)].push_back(k);
          za -= ruk[std::size_t(k)];
          found = k;
        }
      }
      if (found == 0) {
        // A cell side without a wall: the section cannot be analysed at all.
        out.write(layout::record21, {c, b1, b2});
        out.close();
        halt(1, {});
      }
    }
    zfa[std::size_t(c)] = za;
    double big = 0.0;
    for (int k = 1; k <= nw; ++k) big = std::max(big, std::fabs(s(r, k)));
    const double si = big == 0.0 ? 1.0 : 1.0 / big;
    scale[std::size_t(c)] = si;
    for (int k = 1; k <= nw; ++k) s(r, k) *= si;
  }

  // Principal coordinates of a boom; sums over the walls of a list.
  const auto zstar = [&](int i) { return ca * (zi(i) - zs) - sa * (yi(i) - ys); };
  const auto ystar = [&](int i) { return ca * (yi(i) - ys) + sa * (zi(i) - zs); };
  const auto ending_at = [&](int i, const std::vector<double>& v) {
    double sum = 0.0;
    for (int k = 1; k <= nw; ++k)
      if (ig2(k) == i) sum += v[std::size_t(k)];
    return sum;
  };
  const auto over = [](const std::vector<int>& walls, const std::vector<double>& v) {
    double sum = 0.0;
    for (int k : walls) sum += v[std::size_t(k)];
    return sum;
  };

  // Unit shear along z* (n = 1) and y* (n = 2): the shear centre.
  std::vector<double> x;
  for (int n = 1; n <= 2; ++n) {
    const std::vector<double>& delt = n == 1 ? deltyk : deltzk;
    const std::vector<double>& ddq = n == 1 ? ddqyk : ddqzk;
    for (int i = 1; i <= nb; ++i)
      s(i, nw + 1) = ending_at(i, delt) - bi(i) * (n == 1 ? zstar(i) / dyyste : ystar(i) / dzzste);
    for (int c = 1; c <= nc; ++c)
      s(nb + c, nw + 1) = (over(against[std::size_t(c)], ddq) - over(along[std::size_t(c)], ddq)) * scale[std::size_t(c)];
    if (solve_and_report(out, s, n, nb + nc, nw, nw, nw + 1, x) != 0) {
      mark_flows_not_computed();
      return false;
    }
    double sum = 0.0;
    for (int k = 1; k <= nw; ++k) {
      const std::size_t u = std::size_t(k);
      kraft::t0(k) = x[u - 1];
      sum += n == 1 ? x[u - 1] * ruk[u] - truyk[u] * bk(k) / dyyste
                    : truzk[u] * bk(k) / dzzste - ruk[u] * x[u - 1];
    }
    (n == 1 ? ymst : zmst) = sum;
  }
  ymstac = ys + ca * ymst - sa * zmst;
  zmstac = zs + sa * ymst + ca * zmst;
  out.write(layout::record27, {});
  out.write(layout::record28, {ymst, ymstac, zmst, zmstac});

  // The actual loads: flows and specific twist.
  MX = MX + zmstac * QY - ymstac * QZ;
  const double h11 = qzs / dyyste, h22 = qys / dzzste;
  for (int i = 1; i <= nb; ++i) {
    s(i, nw + 2) = qys * ending_at(i, deltzk) + qzs * ending_at(i, deltyk) - bi(i) * h11 * zstar(i) -
                   bi(i) * h22 * ystar(i);
    s(i, nw + 1) = 0.0;
  }
  for (int c = 1; c <= nc; ++c) {
    const std::size_t u = std::size_t(c);
    s(nb + c, nw + 2) = ((over(against[u], ddqyk) - over(along[u], ddqyk)) * qzs -
                         (over(along[u], ddqzk) - over(against[u], ddqzk)) * qys) * scale[u];
    s(nb + c, nw + 1) = -zfa[u] * scale[u];
  }
  s(mrow, nw + 2) = (zmst * qys - MX - rmx - ymst * qzs) * sm;
  s(mrow, nw + 1) = 0.0;
  const bool open = nc == 0;
  const int nload = open ? nw : nw + 1;
  if (solve_and_report(out, s, 3, mrow, nw + 1, nload, nw + 2, x, open) != 0) {
    mark_flows_not_computed();
    return false;
  }
  for (int k = 1; k <= nload; ++k) kraft::t0(k) = x[std::size_t(k - 1)];
  out.write(layout::record30, {});
  for (int k = 1; k <= nw; ++k) {
    const std::size_t u = std::size_t(k);
    using namespace kraft;
    tl2(k) = t0(k) - bk(k) * (fstszm[u] * h22 + fstsym[u] * h11);
    tl(k) = t0(k) - bk(k) * (sstzk[u] * h22 + sstyk[u] * h11);
    const bool shear = gk(k) != 0.0;
    epigam::gam(k, 1) = shear ? t0(k) / gk(k) : 0.0;
    epigam::gam(k, 2) = shear ? tl2(k) / gk(k) : 0.0;
    epigam::gam(k, 3) = shear ? tl(k) / gk(k) : 0.0;
    out.write(layout::record31, {k, t0(k), tl2(k), tl(k), epigam::gam(k, 1), epigam::gam(k, 2),
                                 epigam::gam(k, 3)});
    if (out.extended()) {
      out.extra("Wand:", k);
      out.extra("T0", {t0(k)});
      out.extra("TL2", {tl2(k)});
      out.extra("TL", {tl(k)});
      out.extra("GK", {gk(k)});
      out.extra("ZWA", {epigam::gam(k, 1)});
      out.extra("ZWB", {epigam::gam(k, 2)});
      out.extra("ZWC", {epigam::gam(k, 3)});
      out.extra();
    }
  }
  if (!open) out.write(layout::record32, {kraft::t0(nw + 1)});

  // Mass moments in the principal directions through the shear centre.
  const double h1 = ys - yt, h2 = zs - zt;
  const double s2 = 2.0 * sa * ca, c2 = ca * ca - sa * sa;
  iyys = (zmst + 2.0 * h2 * ca - 2.0 * h1 * sa) * (m * zmst) + f.iyyd * ca * ca + f.izzd * sa * sa - f.izyd * s2;
  izys = m * (ca * (h2 * ymst + zmst * h1) + zmst * ymst - sa * (h1 * ymst - h2 * zmst)) +
         0.5 * s2 * (f.iyyd - f.izzd) + f.izyd * c2;
  izzs = (ymst + 2.0 * h1 * ca + 2.0 * h2 * sa) * (m * ymst) + f.izzd * ca * ca + f.iyyd * sa * sa + f.izyd * s2;
  out.write(layout::record33, {iyys, izys, izzs});
  out.write(layout::record34, {itt});

  // Torsional stiffness from a unit torque; the load flows stay in t0.
  if (open) dt = 0.0;
  if (!open) {
    for (int i = 1; i <= nb; ++i) s(i, nw + 1) = s(i, nw + 2) = 0.0;
    for (int c = 1; c <= nc; ++c) {
      s(nb + c, nw + 1) = -scale[std::size_t(c)] * zfa[std::size_t(c)];
      s(nb + c, nw + 2) = 0.0;
    }
    s(mrow, nw + 1) = 0.0;
    s(mrow, nw + 2) = -sm;
    if (solve_and_report(out, s, 4, mrow, nw + 1, nw + 1, nw + 2, x) != 0) return false;
    dt = 1.0 / x[std::size_t(nw)];
  }
  out.write(layout::record35, {dt});
  return true;
}

}  // namespace

void get_equivalent_xsection() {
  int where = 0;
  if (const std::string fault = section_fault(where); !fault.empty()) {
    zero_results();
    const int detail[] = {where};
    xerr(-2, "Box_GetXSection: " + fault, detail);
    return;
  }
  using namespace quer;
  using namespace wand;
  using namespace gurt;
  const double QX = spanug::qqx, MY = spanug::qmy, MZ = spanug::qmz;

  Report out;
  report_input(out);
  zero_results();
  mark_shear_results_not_computed();
  std::vector<double> lk(std::size_t(kw) + 1), skyk(lk.size()), skzk(lk.size());

  // Axial stiffness, mass and their first moments.
  double sy = 0.0, sz = 0.0;
  for (int i = 1; i <= ig; ++i) {
    bx += bi(i);
    sy += bi(i) * zi(i);
    sz += bi(i) * yi(i);
    m += myi(i);
    yt += myi(i) * yi(i);
    zt += myi(i) * zi(i);
  }
  for (int k = 1; k <= kw; ++k) {
    const double ym = (yk0(k) + yklk(k)) / 2.0, zm = (zk0(k) + zklk(k)) / 2.0;
    const double l = std::sqrt((zklk(k) - zk0(k)) * (zklk(k) - zk0(k)) +
                               (yklk(k) - yk0(k)) * (yklk(k) - yk0(k)));
    lk[std::size_t(k)] = l;
    bx += bk(k) * l;
    m += rhok(k) * l;
    skyk[std::size_t(k)] = zm * l;
    skzk[std::size_t(k)] = l * ym;
    sy += bk(k) * skyk[std::size_t(k)];
    sz += bk(k) * skzk[std::size_t(k)];
    yt += rhok(k) * skzk[std::size_t(k)];
    zt += rhok(k) * skyk[std::size_t(k)];
  }
  ys = sz / bx;
  zs = sy / bx;
  yt /= m;
  zt /= m;

  // Second moments about the stiffness centre; polar mass moment about the
  // centre of mass.
  double iyyd = 0.0, izyd = 0.0, izzd = 0.0;
  for (int i = 1; i <= ig; ++i) {
    const double h1 = zi(i) - zs, h2 = yi(i) - ys;
    dyy += bi(i) * h1 * h1;
    dzy += bi(i) * h1 * h2;
    dzz += bi(i) * h2 * h2;
    iyyd += myi(i) * h1 * h1;
    izyd += myi(i) * h1 * h2;
    izzd += myi(i) * h2 * h2;
    const double g1 = zi(i) - zt, g2 = yi(i) - yt;
    itt += (g2 * g2 + g1 * g1) * myi(i);
  }
  for (int k = 1; k <= kw; ++k) {
    const double phi = zklk(k) - zk0(k), lambda = yklk(k) - yk0(k), l = lk[std::size_t(k)];
    const WallMoments s = wall_moments(zk0(k) - zs, yk0(k) - ys, phi, lambda, l);
    dyy += bk(k) * s.yy;
    dzy += bk(k) * s.zy;
    dzz += bk(k) * s.zz;
    iyyd += rhok(k) * s.yy;
    izyd += rhok(k) * s.zy;
    izzd += rhok(k) * s.zz;
    const WallMoments t = wall_moments(zk0(k) - zt, yk0(k) - yt, phi, lambda, l);
    itt += (t.zz + t.yy) * rhok(k);
    if (out.extended()) {
      out.extra("Wand:", k);
      out.extra("PHIK,ZKLK,ZK0", {phi, zklk(k), zk0(k)});
      out.extra("LAMK,YKLK,YK0", {lambda, yklk(k), yk0(k)});
      out.extra("SZ", {sz});
      out.extra("SY", {sy});
      out.extra("BX", {bx});
      out.extra("H1", {zk0(k) - zs});
      out.extra("H2", {yk0(k) - ys});
      out.extra("BI", {k <= restr::maxgu ? bi(k) : 0.0});  // the boom numbered like the wall
      out.extra("BK", {bk(k)});
      out.extra("DYYK", {s.yy});
      out.extra("DZZK", {s.zz});
      out.extra("DZYK", {s.zy});
      out.extra("DYY", {dyy});
      out.extra("DZY", {dzy});
      out.extra("DZZ", {dzz});
      out.extra();
      out.extra("IYYD", {iyyd});
      out.extra("IZYD", {izyd});
      out.extra("IZZD", {izzd});
      out.extra();
      out.extra("ITT", {itt});
      out.extra();
    }
  }

  // Principal axes; dyyste is the smaller value when dzz >= dyy.
  const double d = dzz - dyy, w = std::sqrt(4.0 * dzy * dzy + d * d);
  if (d >= 0.0) {
    dyyste = 0.5 * (dzz + dyy - w);
    dzzste = 0.5 * (dyy + dzz + w);
  } else {
    dyyste = 0.5 * (dyy + dzz + w);
    dzzste = 0.5 * (dzz + dyy - w);
  }
  if (std::fabs(d) > 1e-30 * std::fabs(dzy)) alpha = 0.5 * std::atan(2.0 * dzy / d);
  else if (dzy == 0.0) alpha = 0.0;
  else alpha = std::copysign(std::atan(1.0), dzy);  // the limit of the formula as d -> 0+
  const double sa = std::sin(alpha), ca = std::cos(alpha);
  const double degrees = 180.0 * alpha / 3.141592654;
  out.extra("H1", {w});
  out.extra("H2", {d});
  out.extra("DZY", {dzy});
  out.extra("ALPHA", {alpha});
  out.extra("SINA", {sa});
  out.extra("COSA", {ca});
  out.extra();

  // Stiffnesses about the reference origin; polar mass moments about the
  // stiffness centre and the origin.
  const double dyyvrt = dyy + zs * zs * bx, dzyvrt = dzy + ys * zs * bx, dzzvrt = dzz + ys * ys * bx;
  const double ditt = izzd + iyyd, dittvrt = ditt + (ys * ys + zs * zs) * m;
  out.write(layout::record8, {});
  if (out.extended()) out.write(layout::record9, {bx, m, ys, zs, yt, zt});
  out.write(layout::record10, {dyy, dzy, dzz});
  out.write(layout::record11, {dyyvrt, dzyvrt, dzzvrt});
  out.write(layout::record12, {ditt});
  out.write(layout::record13, {dittvrt});
  out.write(layout::record14, {alpha, degrees, dyyste, dzzste});

  // Axial strains under the section loads, in the principal system.
  const double m1 = MY - QX * zs, m2 = MZ + ys * QX;
  const double mys = ca * m1 + sa * m2, mzs = ca * m2 - sa * m1;
  out.extra("H1, MY, ZS, QX", {m1, MY, zs, QX});
  out.extra("H2, MZ ,YS ,QX", {m2, MZ, ys, QX});
  out.extra("H3", {degrees});
  out.extra();
  const auto strain = [&](double y, double z) {
    const double dy = y - ys, dz = z - zs;
    const double zstar = ca * dz - sa * dy, ystar = ca * dy + sa * dz;
    return QX / bx + mys / dyyste * zstar - mzs / dzzste * ystar;
  };
  out.write(layout::record15, {});
  for (int i = 1; i <= ig; ++i) {
    const double n = strain(yi(i), zi(i)) * bi(i);
    epigam::epigu(i) = bi(i) == 0.0 ? 0.0 : n / bi(i);
    out.write(layout::record16, {i, n, epigam::epigu(i)});
  }
  out.extra("H1, MY, ZS, QX", {QX / bx, mys, zs, QX});
  out.extra("H2, MZ ,YS ,QX", {mys / dyyste, mzs, ys, QX});
  out.extra("H3", {-mzs / dzzste});
  out.extra();
  out.write(layout::record17, {});
  for (int k = 1; k <= kw; ++k) {
    const double ym = (yk0(k) + yklk(k)) / 2.0, zm = (zk0(k) + zklk(k)) / 2.0;
    kraft::nx0(k) = strain(yk0(k), zk0(k)) * bk(k);
    kraft::nxl2(k) = strain(ym, zm) * bk(k);
    kraft::nxl(k) = strain(yklk(k), zklk(k)) * bk(k);
    const bool stiff = std::fabs(bk(k)) >= 1e-9;
    epigam::epi(k, 1) = stiff ? kraft::nx0(k) / bk(k) : 0.0;
    epigam::epi(k, 2) = stiff ? kraft::nxl2(k) / bk(k) : 0.0;
    epigam::epi(k, 3) = stiff ? kraft::nxl(k) / bk(k) : 0.0;
    out.write(layout::record18, {k, kraft::nx0(k), kraft::nxl2(k), kraft::nxl(k), epigam::epi(k, 1),
                                 epigam::epi(k, 2), epigam::epi(k, 3)});
  }

  if (shear_and_torsion(out, {lk, skyk, skzk, iyyd, izyd, izzd, sa, ca}))
    report_nodal_forces(out, wall_nodal_forces(kw));
  // A zero axial stiffness or mass, a wall of no length, a zero principal
  // stiffness or twist: quantities that are no numbers are a failed run.
  if (!results_finite()) xerr(-3, "Box_GetXSection: section quantities that are not finite");
}

std::vector<std::array<std::array<double, 3>, 3>> wall_nodal_forces(int nwalls) {
  using namespace wand;
  using namespace kraft;
  const int n = std::max(0, std::min({nwalls, kw, restr::maxwa}));
  std::vector<std::array<std::array<double, 3>, 3>> p(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    const double dely = (yklk(i) - yk0(i)) / 30.0, delz = (zklk(i) - zk0(i)) / 30.0;
    const double alng = std::sqrt(delz * delz + dely * dely);
    const double na = nx0(i), nm = nxl2(i), ne = nxl(i);
    const double ta = t0(i), tm = tl2(i), te = tl(i);
    const double hi[3] = {2 * tm + 4 * ta - te, 16 * tm + 2 * ta + 2 * te, 4 * te + 2 * tm - ta};
    auto& f = p[std::size_t(i - 1)];
    f[0][0] = (2 * nm + 4 * na - ne) * alng;
    f[1][0] = (2 * ne + 16 * nm + 2 * na) * alng;
    f[2][0] = (4 * ne + 2 * nm - na) * alng;
    for (int j = 0; j < 3; ++j) {
      f[std::size_t(j)][1] = hi[j] * dely;
      f[std::size_t(j)][2] = hi[j] * delz;
    }
  }
  return p;
}

namespace {
void report_nodal_forces(Report& out, const std::vector<std::array<std::array<double, 3>, 3>>& p) {
  if (!out.on()) return;
  double sum[3] = {0, 0, 0};
  for (const auto& f : p)
    for (int dir = 0; dir < 3; ++dir) sum[dir] += f[0][std::size_t(dir)] + f[1][std::size_t(dir)] + f[2][std::size_t(dir)];
  if (out.extended()) out.write(layout::resultants, {sum[0], sum[1], sum[2]});
  for (std::size_t dir = 0; dir < 3; ++dir) {
    out.write(layout::four_empty, {});
    out.write(layout::nodal_heading[dir], {});
    for (std::size_t i = 0; i < p.size(); ++i) {
      const int k = int(i) + 1;
      out.write(layout::nodal_line, {k, wand::ig1(k), p[i][0][dir], p[i][1][dir], p[i][2][dir], wand::ig2(k)});
    }
  }
}
}  // namespace

}  // namespace tavrin::boxbeam

extern "C" {
TAVRIN_API void Box_GetXSection() {
  tavrin::c_boundary(__func__, [&] {
    tavrin::boxbeam::get_equivalent_xsection();
  });
}
TAVRIN_API void KNKRFT(const int* maxw) {
  tavrin::c_boundary(__func__, [&] {
    using namespace tavrin::boxbeam;
    if (!steuer::druck) return;  // the forces are only reported
    Report out;
    report_nodal_forces(out, wall_nodal_forces(maxw ? *maxw : 0));
  });
}
}
