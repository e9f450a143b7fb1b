#include "elements/surface_loads.hpp"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/norms.hpp"
#include "foundation/products.hpp"
#include "foundation/scratch.hpp"
#include "foundation/shapes.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/signals.hpp"
#include "foundation/strings.hpp"
#include "interp/tables.hpp"

namespace tavrin::sldcollection {
namespace {

constexpr double huge = std::numeric_limits<double>::max();
constexpr double pi = 3.141592653589793;

bool contains(std::string_view s, std::string_view word) { return s.find(word) != s.npos; }

// A warning whose text names a curve by "%S": the name goes into the
// character-code detail (column 1 of the 8×2 table).
void warn_named(std::string_view message, std::string_view name) {
  const std::array<int, 2> ints{};
  const std::array<double, 2> reals{};
  std::array<int, 16> codes{};
  for (std::size_t i = 0; i < name.size() && i < 8; ++i) codes[i] = static_cast<unsigned char>(name[i]);
  xerr(-2, message, ints, reals, View<const int, 2>(codes.data(), 8, 2));
}

// The monotone cubic Hermite curve through the n points (x, y) at xv.  One
// point gives its ordinate, none 0; abscissas that do not increase strictly
// give the warning and 0 instead of reaching the Hermite package's stop.
double curve_value(const double* x, const double* y, int n, double xv, std::string_view name) {
  if (n < 1) return 0.0;
  if (n == 1) return y[0];
  for (int i = 1; i < n; ++i)
    if (!(x[i] > x[i - 1])) {
      warn_named("Warning: Abscissas do not increase strictly in %S", name);
      return 0.0;
    }
  double r = 0.0;
  math::cubichermitianinterpolation(x, y, n, &xv, 1, &r);
  return r;
}

// Whether the impactor number k stands in sname as a whole number (no
// digit right before or after it).
bool names_impactor(std::string_view sname, int k) {
  char buf[12];
  int istat = 0;
  stringhandling::int2str(k, buf, istat, int(sizeof buf));
  std::string_view number(buf, sizeof buf);
  number = number.substr(0, number.find(' '));
  if (istat != 0 || number.empty()) return false;
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  for (auto at = sname.find(number); at != sname.npos; at = sname.find(number, at + 1)) {
    const std::size_t end = at + number.size();
    if ((at == 0 || !digit(sname[at - 1])) && (end == sname.size() || !digit(sname[end])))
      return true;
  }
  return false;
}

// The kind of step kstep from the job data; -1 when it is not known.
int step_kind(int kstep) {
  const auto& ids = jobdata::stepid;
  if (!ids.allocated() || kstep < 1 || kstep > ids.size(1)) return -1;
  return ids.data()[kstep - 1];
}

// The kind of the host element elemid from the element tables; -1 when it
// is not registered.
int element_kind(int elemid) {
  const auto &list = elementdata::elemlist, &kind = elementdata::elemkind;
  if (!list.allocated() || !kind.allocated()) return -1;
  const int n = std::min(list.size(1), kind.size(1));
  for (int row = 0; row < n; ++row)
    if (list.data()[row] == elemid) return kind.data()[row];
  return -1;
}

// t = -dircos(:,3): the third axis reflected through the plane of the first
// two; components of magnitude at most 1e-10 become 0.
void load_direction(double* t, const double* dircos) {
  CoordinateReflection(dircos, dircos + 3, dircos + 6, t);
  for (int i = 0; i < 3; ++i)
    if (std::abs(t[i]) <= 1e-10) t[i] = 0.0;
}

// Index (0-based) of the largest absolute component of a column, the first
// of equal ones.
int dominant(const double* col) {
  int m = 0;
  for (int i = 1; i < 3; ++i)
    if (std::abs(col[i]) > std::abs(col[m])) m = i;
  return m;
}

}  // namespace

void dsload(double& alpha, double* t_user, const int& kstep, const double* coords,
            const double* dircos, const double* cprops, double* dprops, const int& nimp,
            const int& elemid) {
  const int axis[3] = {dominant(dircos), dominant(dircos + 3), dominant(dircos + 6)};
  load_direction(t_user, dircos);
  alpha = 0.0;
  const int kind = step_kind(kstep);
  const bool bookkeeping = kind == 0 || kind == 2 || kind == 3;
  const bool loading = kind == 2 || kind == 3;
  const double id = elemid, no_angle = 0.0, straight = 0.0;

  for (int k = 0; k < nimp; ++k) {
    const double* imp = cprops + 20 * std::size_t(k);
    double* rec = dprops + 12 * std::size_t(k);
    const double* pos = rec + 1;
    double rs[2];
    GetPointOnXYPlane(rs, coords, pos, dircos, &no_angle);
    const double r = rs[0], s = rs[1], r0 = 0.0, s0 = 0.0;
    const double d = std::sqrt((r - r0) * (r - r0) + (s - s0) * (s - s0));
    if (rec[4] == 0.0) rec[4] = id;
    if (rec[5] == 0.0) rec[5] = d;
    if (rec[6] == 0.0) rec[6] = d;

    // Chord lengths to the impactor in the planes of the dominant axes of
    // dircos columns (1, 3) and (2, 3).
    const auto distances = [&](double* out) {
      const int two = 2;
      for (int p = 0; p < 2; ++p) {
        const double oa[2] = {coords[axis[p]], coords[axis[2]]};
        const double ob[2] = {pos[axis[p]], pos[axis[2]]};
        out[p] = EffectiveArcLength(oa, ob, &straight, &two);
      }
    };
    if (bookkeeping) {
      if (rec[5] >= d) {
        rec[5] = rec[6] = d;
        rec[4] = id;
        distances(rec + 7);
      } else if (rec[4] == id && (rec[5] == rec[6] || d >= rec[6])) {
        rec[6] = d;
        distances(rec + 9);
      }
    }

    const double force = imp[0];
    if (force == 0.0 || !loading) continue;
    const double a = rec[7] + rec[9], b = rec[8] + rec[10], radius = imp[1];
    const bool inside = std::abs(r - r0) <= a && std::abs(s - s0) <= b;
    const int code = rec[0] == std::trunc(rec[0]) && std::abs(rec[0]) < 100.0 ? int(rec[0]) : 0;
    switch (code) {
      case 6:
        if (radius >= d && radius > std::max(a, b))
          alpha += HertzianSurfaceLoad(&force, &r, &s, &r0, &s0, &radius, &radius);
        else if (inside)
          alpha += ParabolicSurfaceLoad(&force, &r, &s, &r0, &s0, &a, &b);
        break;
      case 5:
        if (radius >= d && radius > rec[5])
          alpha += HertzianSurfaceLoad(&force, &r, &s, &r0, &s0, &radius, &radius);
        break;
      case 2: if (inside) alpha += UniformSurfaceLoad(&force, &a, &b); break;
      case 3: if (inside) alpha += PyramidalSurfaceLoad(&force, &r, &s, &r0, &s0, &a, &b); break;
      case 4: if (inside) alpha += ParabolicSurfaceLoad(&force, &r, &s, &r0, &s0, &a, &b); break;
      case 7: if (inside) alpha += SineSurfaceLoad(&force, &r, &s, &r0, &s0, &a, &b); break;
      case 8: if (inside) alpha += CosineSurfaceLoad(&force, &r, &s, &r0, &s0, &a, &b); break;
      default: break;
    }
  }

  // Continuum shells and continua take the pressure with the opposite sign.
  if (elemid >= 1) {
    const int ek = element_kind(elemid);
    if (ek == 9 || ek == 10 || ek == 11) alpha = -alpha;
  }
}

void deload(double& alpha, double* t_user, const int&, const int&, const double*, const int&,
            const int&, const double*, const double* dircos, const int&, std::string_view sname,
            const double* cprops, const double*, const int& nimp) {
  load_direction(t_user, dircos);
  alpha = 0.0;
  const double lo = std::numeric_limits<double>::min(), hi = huge;
  const bool halved = contains(sname, "SYMX") || contains(sname, "SYMY") || contains(sname, "SYM2");
  for (int k = 1; k <= nimp; ++k) {
    if (!names_impactor(sname, k)) continue;
    const double length = 2.0 * cprops[20 * std::size_t(k - 1) + 17];
    alpha += cprops[20 * std::size_t(k - 1)] / fLimit(&length, &lo, &hi);
    if (halved) alpha *= 0.5;
  }
}

void cload(double& f, double& ldflag, const double& cforce, std::string_view sname) {
  f = 0.0;
  if (ldflag == 0.0) {
    // Later words win: a name holding "COSINE" (which holds "SINE") is 8.
    constexpr std::string_view words[] = {"POINT",     "UNIFORM",   "PYRAMIDAL", "PARABOLIC",
                                          "HERTZIAN",  "AUTOMATIC", "SINE",      "COSINE"};
    for (int code = 1; code <= 8; ++code)
      if (contains(sname, words[code - 1])) ldflag = code;
    if (contains(sname, "EDGE")) ldflag = 9.0;
    if (ldflag == 0.0) {
      warn_named("Warning: No valid load state detected in %S", "LDFLAG");
      return;
    }
  }
  if ((ldflag == 1.0 && cforce >= 0.0) || ldflag == -1.0) f = cforce / 2.5e-07;
  for (const std::string_view half : {"SYMX", "SYMY", "SYM2"})
    if (contains(sname, half)) f *= 0.5;
  if (contains(sname, "SYM4")) f *= 0.25;
}

}  // namespace tavrin::sldcollection

using namespace tavrin;
using namespace tavrin::sldcollection;

extern "C" {

void CHYSTERESIS(double* amp, double* passed, const double* xydata, const double* xvalue,
                 const int* ndata, const int* skip) {
  tavrin::c_boundary(__func__, [&] {
    *amp = 0.0;
    if (skip != nullptr && *skip != 0) return;
    if (*ndata % 2 != 0) {
      warn_named("Warning: Mismatch between x- and y-values in %S", "TVR_HYST");
      return;
    }
    // Loading while xvalue rises; from the first fall on, for good, the
    // unloading branch, read from the last point backwards.
    bool unloading = *passed == huge;
    if (!unloading) {
      if (*xvalue >= *passed) *passed = *xvalue;
      else unloading = true, *passed = huge;
    }
    const int n = std::max(*ndata / 2, 0);
    Scratch<double, 64> x(n), y(n);
    for (int i = 0; i < n; ++i) {
      const int j = unloading ? n - 1 - i : i;
      x[std::size_t(i)] = xydata[j];
      y[std::size_t(i)] = xydata[n + j];
    }
    // The branch: the first point and every rising step.
    int m = 1;
    if (*ndata > 3)
      for (int i = 1; i < n; ++i)
        if (x[std::size_t(i)] > x[std::size_t(i - 1)]) ++m;
    m = std::min(m, n);
    if (m < 1) return;
    double lo = x[0], hi = x[0];
    for (int i = 1; i < m; ++i) lo = std::min(lo, x[std::size_t(i)]), hi = std::max(hi, x[std::size_t(i)]);
    *amp = curve_value(x.data(), y.data(), m, fLimit(xvalue, &lo, &hi), "TVR_HYST");
  });
}

void CAMPLITUDE(double* amp, const double* xydata, const double* xvalue, const int* ndata,
                const int* skip) {
  tavrin::c_boundary(__func__, [&] {
    *amp = 0.0;
    if (skip != nullptr && *skip != 0) return;
    if (*ndata % 2 != 0) {
      warn_named("Warning: Mismatch between x- and y-values in %S", "TVR_AMPL");
      return;
    }
    const int n = std::max(*ndata / 2, 0);
    *amp = curve_value(xydata, xydata + n, n, *xvalue, "TVR_AMPL");
  });
}

double HertzianSurfaceLoad(const double* f, const double* rcorr, const double* scorr,
                           const double* r0, const double* s0, const double* rcontradius,
                           const double* scontradius) {
  const double a = *rcontradius, b = *scontradius, dr = *rcorr - *r0, ds = *scorr - *s0;
  return 3.0 / (6.283185307179586 * a * b) * *f * std::sqrt(1.0 - dr * dr / (a * a) - ds * ds / (b * b));
}

double ParabolicSurfaceLoad(const double* f, const double* rcorr, const double* scorr,
                            const double* r0, const double* s0, const double* relementlength,
                            const double* selementlength) {
  const double a = *relementlength, b = *selementlength, dr = *rcorr - *r0, ds = *scorr - *s0;
  return 3.0 * *f / (8.0 * a * b) * (1.0 - dr * dr / (a * a + a * b) - ds * ds / (b * b + a * b));
}

double CosineSurfaceLoad(const double* f, const double* rcorr, const double* scorr, const double* r0,
                         const double* s0, const double* relementlength,
                         const double* selementlength) {
  const double a = *relementlength, b = *selementlength;
  return *f / (a * b) * std::cos(pi * (*rcorr - *r0) / a) * std::cos(pi * (*scorr - *s0) / b);
}

double SineSurfaceLoad(const double* f, const double* rcorr, const double* scorr, const double* r0,
                       const double* s0, const double* relementlength, const double* selementlength) {
  const double a = *relementlength, b = *selementlength;
  return *f / (a * b) * std::sin(pi * (*rcorr - *r0) / a) * std::sin(pi * (*scorr - *s0) / b);
}

double PyramidalSurfaceLoad(const double* f, const double* rcorr, const double* scorr,
                            const double* r0, const double* s0, const double* relementlength,
                            const double* selementlength) {
  const double a = *relementlength, b = *selementlength;
  return *f / (a * b) * ((a - std::abs(*rcorr - *r0)) / a) * ((b - std::abs(*scorr - *s0)) / b);
}

double UniformSurfaceLoad(const double* f, const double* relementlength,
                          const double* selementlength) {
  return 0.25 * *f / (*relementlength * *selementlength);
}
}
