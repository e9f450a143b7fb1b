#include "mechanics/resin.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/list_record.hpp"
#include "foundation/norms.hpp"
#include "foundation/scratch.hpp"
#include "foundation/shared_state.hpp"
#include "interp/tables.hpp"
#include "mechanics/stress_measures.hpp"

namespace tavrin::resin {
namespace {

void latch(const char* what, const char* name) {
  char msg[80];
  std::snprintf(msg, sizeof msg, "Resin table %s %s", name, what);
  xerr(-2, msg);
}

// Value at x0 of one temperature row; false when its abscissas do not increase.
bool row_value(const double* field, int nrows, int npoints, int n, int row, int ycol, double x0,
               bool cubic, double& value) {
  Scratch<double, small_matrix_entries> x(n), y(n);
  const std::ptrdiff_t plane = std::ptrdiff_t(nrows) * npoints;
  for (int j = 0; j < n; ++j) {
    x[std::size_t(j)] = field[row + std::ptrdiff_t(nrows) * j];
    y[std::size_t(j)] = field[row + std::ptrdiff_t(nrows) * j + plane * (ycol - 1)];
  }
  if (Monoticity(x.data(), &n) != 2 && n > 1) return false;
  value = math::table_value(x.data(), y.data(), n, x0, cubic);
  return true;
}

// Softening coefficient of a table at the strain, rate-corrected against the
// strain at the start of the increment.
double softening(const Allocatable<double, 3>& table, int count, const char* name, double end,
                 double start, double tev, double gamma, double dt, bool rate) {
  double a = calibration_value(table, count, 2, end, tev, false, name);
  if (rate) {
    const double a_start = calibration_value(table, count, 2, start, tev, false, name);
    const double f1 = std::abs(end) * a + 1.0, f2 = std::abs(start) * a_start + 1.0;
    a = std::abs(1.0 / end) * ((gamma + dt) * f1 * f2 / (gamma * f1 + f2 * dt) - 1.0);
  }
  return a;
}

}  // namespace

double calibration_value(const Allocatable<double, 3>& table, int count, int ycol, double x0,
                         double temp, bool cubic, const char* name) {
  if (!table.allocated()) {
    latch("is not allocated", name);
    return 0.0;
  }
  return table_value(table.data(), table.size(1), table.size(2), count, ycol, x0, temp, cubic, name);
}

double table_value(const double* field, int nrows, int npoints, int n, int ycol, double x0,
                   double temp, bool cubic, const char* name) {
  n = std::min(n, npoints);
  if (!field || nrows < 1 || n < 1) {
    latch("is empty", name);
    return 0.0;
  }
  double y1 = 0.0, y2 = 0.0;
  if (!row_value(field, nrows, npoints, n, 0, ycol, x0, cubic, y1) ||
      (nrows > 1 && !row_value(field, nrows, npoints, n, 1, ycol, x0, cubic, y2))) {
    latch("needs increasing strains", name);
    return 0.0;
  }
  const auto& temps = materialdata::temperatures;
  if (nrows < 2 || !temps.allocated() || temps.size() < 2) return y1;
  const double t[2] = {temps.data()[0], temps.data()[1]};
  if (!(t[1] > t[0])) {
    latch("needs increasing temperatures", name);
    return y1;
  }
  const double y[2] = {y1, y2};
  return math::table_value(t, y, 2, temp, cubic);
}

}  // namespace tavrin::resin

using namespace tavrin;

namespace {

constexpr bool room_temperature(double t) { return t == 293.0 || t == 293.15; }

// Two blocks of `width` constants, each followed by its temperature, ordered
// by temperature (block 1 the lower; the second block when they are equal).
struct Blocks {
  const double* b1;
  const double* b2;
  double t1, t2;

  Blocks(const double* props, int width) {
    const double ta = props[width], tb = props[2 * width + 1];
    const bool a_first = ta < tb;
    b1 = a_first ? props : props + width + 1;
    b2 = a_first ? props + width + 1 : props;
    t1 = a_first ? ta : tb;
    t2 = a_first ? tb : ta;
  }
  // Entry i (0-based) at temp: the nearer block outside [t1, t2], linear
  // inside it (block 1 when the temperatures are equal).
  double at(int i, double temp) const {
    if (temp < t1) return b1[i];
    if (temp > t2) return b2[i];
    if (t2 == t1) return b1[i];
    return b1[i] + (b2[i] - b1[i]) / (t2 - t1) * (temp - t1);
  }
  // Entry i of the block at room temperature, if there is one.
  bool room(int i, double& value) const {
    if (room_temperature(t1)) value = b1[i];
    else if (room_temperature(t2)) value = b2[i];
    else return false;
    return true;
  }
  // Entry i of a block below room temperature, if there is one.
  bool low(int i, double& value) const {
    if (!(t1 < 293.0)) return false;
    value = b1[i];
    return true;
  }
};

// The modulus law over temperature, law = (c2, c1, c0, b1, b0, Ta, Tb, Tc, Tr,
// k, E∞); e keeps its value at Tb exactly unless the caller set at_tb.
// False when a modulus it needs is missing (e unchanged).
bool modulus_law(const double* law, double temp, const Blocks& blocks, bool low_at_tb, double& e) {
  const double c2 = law[0], c1 = law[1], c0 = law[2], b1 = law[3], b0 = law[4];
  const double ta = law[5], tb = law[6], tc = law[7], tr = law[8], k = law[9], einf = law[10];
  double er = 0.0, el = 0.0;
  const bool has_er = blocks.room(0, er), has_el = blocks.low(0, el);
  const double theta = temp - 273.15;
  if (temp <= ta || (temp == tb && low_at_tb)) {
    if (!has_el) return false;
    e = el;
    return true;
  }
  if (!has_er) return false;
  if (temp < tb) {
    e = er * (b1 * theta + b0);
  } else if (temp > tb && temp < tc) {
    e = er * (c2 * theta * theta + c1 * theta + c0);
  } else if (temp >= tc) {
    const double thc = tc - 273.15;
    const double eg = er * (c2 * thc * thc + c1 * thc + c0);
    e = eg - (eg - einf) * std::exp(-std::pow(theta / (tr - 273.15), k));
  }
  return true;
}

void debug_line(const char* label, double value) {
  io::ListRecord rec;
  rec << label << value;
  rec.write(6);
}

}  // namespace

void GetExternalData(const double* datafield, const int* ndata, const double* x0, const double* temp,
                     double* rvalue, const char* stype, const int* nrows, const int* npoints) {
  tavrin::c_boundary(__func__, [&] {
    const bool cubic = stype && (stype[0] == 'C' || stype[0] == 'c');
    *rvalue = resin::table_value(datafield, *nrows, *npoints, *ndata, 2, *x0, *temp, cubic, "datafield");
  });
}

void GetFlowParameters(const double* eqplaststrain, double* a0, double* a1, const double* temp) {
  tavrin::c_boundary(__func__, [&] {
    using namespace materialdata;
    *a0 = resin::calibration_value(flowprops, nflowdata, 2, *eqplaststrain, *temp, true, "flowprops");
    *a1 = resin::calibration_value(flowprops, nflowdata, 3, *eqplaststrain, *temp, true, "flowprops");
  });
}

void GetModulusFromTable(const double* eqstrain, double* e, const double* temp) {
  tavrin::c_boundary(__func__, [&] {
    using namespace materialdata;
    *e = resin::calibration_value(secantprops, nsecantdata, 2, *eqstrain, *temp, true, "secantprops");
  });
}

void GetResinProperties(const double* props, const int* nprops, const double* temp, double* e,
                        double* nu, double* num, double* gamma, double* degr, double* xt, double* xc,
                        double* np, double* a_woehler, double* exp_woehler, const int* noel) {
  tavrin::c_boundary(__func__, [&] {
    double* out[] = {e, nu, num, xt, np, gamma, xc, a_woehler, exp_woehler};
    if (*nprops < 21) {
      for (double* o : out) *o = 0.0;
      *degr = 0.0;
      xerr(-2, "GetResinProperties: fewer than 21 properties", std::span<const int>(nprops, 1));
      return;
    }
    const Blocks blocks(props, 9);
    const double t = *temp;
    for (int i = 0; i < 9; ++i) *out[i] = blocks.at(i, t);
    *xc *= *xt;  // the block holds the ratio Xc/Xt
    *degr = props[20];
    const bool debug = *noel == debugdata::edebug;
    if (debug) {
      debug_line("temp", t);
      debug_line("T1", blocks.t1);
      debug_line("T2", blocks.t2);
      debug_line(t < blocks.t1 ? "E1 =" : t > blocks.t2 ? "E2 =" : "E =", *e);
    }
    if (*nprops >= 32 && t > 293.15 && !modulus_law(props + 21, t, blocks, false, *e))
      xerr(-2, "GetResinProperties: modulus law needs a room-temperature block");
  });
}

void GetResinPlasticProperties(const double* props, const int* nprops, const double* temp,
                               const double* eqplaststrain, double* et, double* ec, double* g,
                               double* nut, double* nuc, double* a0, double* a1, double* alpha,
                               double* degr, double* xt, double* xc, double* np, double* a_woehler,
                               double* exp_woehler) {
  tavrin::c_boundary(__func__, [&] {
    double* out[] = {et, ec, g, nut, nuc, alpha, xt, xc, np, a_woehler, exp_woehler};
    if (*nprops < 25) {
      for (double* o : out) *o = 0.0;
      *degr = *a0 = *a1 = 0.0;
      xerr(-2, "GetResinPlasticProperties: fewer than 25 properties", std::span<const int>(nprops, 1));
      return;
    }
    const Blocks blocks(props, 11);
    const double t = *temp;
    for (int i = 0; i < 11; ++i) *out[i] = blocks.at(i, t);
    *degr = props[24];
    if (*nprops >= 36) {
      double etr = 0.0, ecr = 0.0, gr = 0.0, e = *et;
      if (blocks.room(0, etr) && blocks.room(1, ecr) && blocks.room(2, gr) &&
          modulus_law(props + 25, t, blocks, true, e)) {
        *et = e;
        *ec = ecr * e / etr;
        *g = gr * e / etr;
      } else {
        xerr(-2, "GetResinPlasticProperties: modulus law needs its temperature blocks");
      }
    }
    GetFlowParameters(eqplaststrain, a0, a1, temp);
  });
}

void GetResinOrthotropicProperties(const double* props, const int* nprops, const double* temp,
                                   const double* dt, const double* stran, const double* endstran,
                                   double* e1, double* e2, double* e3, double* nu12, double* nu13,
                                   double* nu23, double* nu21, double* nu31, double* nu32, double* g12,
                                   double* g13, double* g23, double* xt, double* xc, double* np,
                                   double* a_woehler, double* exp_woehler, double* degr,
                                   const int* noel, const double* d) {
  tavrin::c_boundary(__func__, [&] {
    double e = 0.0, nu = 0.0, num = 0.0, gamma = 0.0;
    GetResinProperties(props, nprops, temp, &e, &nu, &num, &gamma, degr, xt, xc, np, a_woehler,
                       exp_woehler, noel);
    const auto& temps = materialdata::temperatures;
    double tev = *temp;
    if (temps.allocated() && temps.size() > 0)
      tev = std::max(temps.data()[0], std::min(tev, temps.data()[temps.size() - 1]));
    const bool soften = *d < 1.0 || *degr >= 1.0;
    double* normal[] = {e1, e2, e3};
    for (int i = 0; i < 3; ++i) {
      const double strain = endstran[i];
      const double a = soften ? resin::softening(materialdata::normalprops, materialdata::nnormaldata,
                                          "normalprops", strain, stran[i], tev, gamma, *dt,
                                          gamma != 0.0 && strain < 0.0)
                              : 0.0;
      *normal[i] = strain == 0.0 ? e : e / (std::abs(strain) * a + 1.0);
    }
    *nu21 = 2.0 * nu / (*e1 / *e2 + 1.0);
    *nu12 = 2.0 * nu - *nu21;
    *nu31 = 2.0 * nu / (*e1 / *e3 + 1.0);
    *nu13 = 2.0 * nu - *nu31;
    *nu32 = 2.0 * nu / (*e2 / *e3 + 1.0);
    *nu23 = 2.0 * nu - *nu32;
    const double g0 = e / (2.0 * nu + 2.0);
    double* shear[] = {g12, g13, g23};
    for (int k = 3; k < 6; ++k) {
      const double strain = endstran[k];
      const double b = soften ? resin::softening(materialdata::shearprops, materialdata::nsheardata,
                                          "shearprops", strain, stran[k], tev, gamma, *dt,
                                          gamma != 0.0 && strain != 0.0)
                              : 0.0;
      *shear[k - 3] = g0 / (std::abs(strain) * b + 1.0);
    }
    if (*noel == debugdata::edebug) {
      io::ListRecord rec;
      rec << "E1, E2, E3" << *e1 << *e2 << *e3;
      rec.write(6);
      rec << "G12, G13, G23" << *g12 << *g13 << *g23;
      rec.write(6);
    }
  });
}

void EquivalentStrain(const double* strain, double* eqstrain, const int* ndi, const int* ntens) {
  (void)ndi;
  double t[6];
  const double half = 0.5;
  GetTensorComponents(&t[0], &t[1], &t[2], &t[3], &t[4], &t[5], strain, ntens, &half);
  const double trace = t[0] + t[1] + t[2];
  const double norm = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2] +
                                2.0 * (t[3] * t[3] + t[4] * t[4] + t[5] * t[5]));
  *eqstrain = std::signbit(trace) ? -norm : norm;
}
