#include "solver/impact_elements.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "foundation/arrays.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/polynomials.hpp"
#include "foundation/rootfinding.hpp"
#include "foundation/scratch.hpp"
#include "foundation/search.hpp"
#include "foundation/shared_state.hpp"
#include "interp/tables.hpp"
#include "mechanics/contact.hpp"
#include "solver/step_kind.hpp"
#include "solver/truss_elements.hpp"

namespace tavrin::toplevel {

namespace {

// The truss the solver sees: E, ρ, A.
constexpr std::array<double, 3> truss_props{1e-20, 1e-20, 0.001};
constexpr int truss_nprops = 3;
constexpr double largest = 1.7976931348623157e308;
constexpr double machine_eps = 2.220446049250313e-16;

// Record rows (cprops), counted from 1 as in the record's description.
enum Row : int {
  force = 1, radius, depth, displacement, velocity, acceleration, mass, alpha_row, beta_row, gamma_row,
  force_previous, radius_previous, reference, peak_force, peak_depth, unloading, radius_copy,
  length_copy, half_step_velocity, weight,
};
struct Record {
  double* p;
  double& operator()(int row) const { return p[row - 1]; }
};

// Slots of the element state (SVARS for the implicit element, svars(k, ·)).
enum Slot : int {
  s_acceleration = 13, s_compliance, s_reference, s_elongation, s_peak_force, s_cleared,
  s_history_value, s_history_column,
};
constexpr int first_history_slot = 21;

constexpr int proc_keep = 0, proc_hertz = 1, proc_root = 2;
constexpr int hertz_loading = 0;

// The contact-stiffness argument vector: PROPS(7), (8), (1), (2), (9), (10),
// (3), (4), then the law exponent, the peak force and depth, the permanent
// indentation, the force at which the stiffness is evaluated and 0.
std::array<double, 14> stiffness_arguments(const double* props) {
  return {props[6], props[7], props[0], props[1], props[8], props[9], props[2], props[3],
          0.0,      0.0,      0.0,      0.0,      0.0,      0.0};
}

struct Stiffness {
  double k = 0.0, estar = 0.0;
};
Stiffness contact_stiffness(const std::array<double, 14>& cs, int flag) {
  Stiffness s;
  const int n = 14;
  ContactStiffness(&s.k, &s.estar, cs.data(), &n, &flag);
  return s;
}

// Contact radius and indentation depth under the force f.
void radius_and_depth(double f, double estar, const double* props, int radius_flag, double& a, double& d) {
  const std::array<double, 4> ra{f, estar, props[6], 2.0 * props[7]};
  const std::array<double, 3> da{f, props[6], estar};
  const int four = 4, three = 3, hertz = 0;
  ContactRadius(&a, ra.data(), &four, &radius_flag);
  ContactDepth(&d, da.data(), &three, &hertz);
}

// The initial velocity √(2W/m) of an impactor, 0 with a latched -2 when the
// mass is not positive or the energy negative.
double initial_velocity(const double* props) {
  const double w = props[4], m = props[5];
  if (m > 0.0 && w >= 0.0) return std::sqrt(2.0 * w / m);
  const std::array<double, 2> values{w, m};
  xerr(-2, "Impactor element: the mass must be positive and the impact energy not negative", {},
       values);
  return 0.0;
}

// The impactor's column of impactdata::csvars named by a real value: only a
// whole number in 1..nimp names one; anything else latches -2.
std::optional<int> impactor_column(double value, const char* message) {
  const int nimp = loaddata::nimp;
  if (value >= 1.0 && value <= double(nimp) && value == std::floor(value)) return int(value);
  const std::array<int, 1> ints{nimp};
  const std::array<double, 1> reals{value};
  xerr(-2, message, ints, reals);
  return std::nullopt;
}

// csvars with `rows` rows and nimp columns, created zero when it is absent
// or of another shape.
void ensure_history_table(int rows) {
  auto& t = impactdata::csvars;
  if (!t.allocated() || t.size(1) != rows || t.size(2) != loaddata::nimp)
    t.allocate(rows, std::max(loaddata::nimp, 0));
}

// The row 14 lookup and row 20 lookup messages.
constexpr const char* column_from_svars = "Impactor element: SVARS(20) does not name an impactor (1..nimp)";
constexpr const char* column_from_record = "Impactor element: record row 14 does not name an impactor (1..nimp)";

// SVARS(19): the history table (abscissae then ordinates, each taken in
// reversed order) at dtime.
void interpolate_history(double* svars, int n, double dtime) {
  Scratch<double, 64> x(n), y(n);
  const double* table = svars + first_history_slot - 1;
  for (int i = 0; i < n; ++i) {
    x[std::size_t(i)] = table[n - 1 - i];
    y[std::size_t(i)] = table[2 * n - 1 - i];
  }
  bool increasing = n >= 2;
  for (int i = 1; i < n && increasing; ++i) increasing = x[std::size_t(i)] > x[std::size_t(i - 1)];
  if (!increasing) {
    const std::array<int, 1> ints{n};
    xerr(-2, "Impactor element: the history table needs two increasing abscissae", ints);
    return;
  }
  math::cubichermitianinterpolation(x.data(), y.data(), n, &dtime, 1, &svars[s_history_value - 1]);
}

// The contact force of the implicit element by the procedure JPROPS(1);
// false when no force was solved for (the record's values stay).
struct Contact {
  double xp, r, ci, cs;
};
bool implicit_contact_force(const Contact& c, const double* props, int nprops, const int* jprops,
                            const double* svars, Record rec, double& f, double& estar) {
  auto cs = stiffness_arguments(props);
  Stiffness s = contact_stiffness(cs, jprops[1]);
  estar = s.estar;
  const double compliance = c.ci + c.cs;
  const double gap = c.xp - c.r;
  const int procedure = jprops[0];
  if (procedure == proc_keep) {
    f = rec(force);
    return true;
  }
  if (procedure != proc_hertz && procedure != proc_root) {
    xerr(-3, "Error: Invalid root finding procedure", std::span<const int>(jprops, 1));
    f = 0.0;
    return true;
  }
  if (!(compliance > 0.0)) {
    const std::array<double, 2> values{c.ci, c.cs};
    xerr(-2, "Impactor element: no contact solve without positive compliance Ci + Cs", {}, values);
    return false;
  }
  if (procedure == proc_hertz) {
    if (!(s.k > 0.0)) {
      const std::array<double, 1> values{s.k};
      xerr(-2, "Impactor element: no contact solve without positive contact stiffness", {}, values);
      return false;
    }
    // F = k·δ^1.5 with δ + (Ci + Cs)·F = xp − r: with δ = s², the cubic
    // k·s³ + s²/C − (xp − r)/C = 0, whose largest root is the positive one.
    const double b = 1.0 / compliance, zero = 0.0, d = -gap / compliance;
    double s1, s2, s3;
    Solution3PE(&s.k, &b, &zero, &d, &s1, &s2, &s3);
    f = s.k * s3 * s3 * s3;
    return true;
  }

  // Brent's search of the contact law on [0, upper].
  const int law = jprops[2];
  if (law < 0 || law > 2) {
    xerr(-3, "Unknown contact law flag", std::span<const int>(&jprops[2], 1));
    f = 0.0;
    return true;
  }
  if (law == 2 && nprops < 13) {
    const std::array<int, 1> ints{nprops};
    xerr(-2, "Impactor element: contact law 2 needs 13 properties", ints);
    return false;
  }
  cs[9] = rec(peak_force);
  cs[10] = rec(peak_depth);
  constexpr int nclaw = 107;
  std::array<double, nclaw> cl{};
  cl[1] = c.xp;
  cl[2] = c.ci;
  cl[3] = c.r;
  cl[4] = c.cs;
  double upper = (gap - machine_eps) / compliance;
  switch (law) {
    case 1: {
      // The stiffness tabulated at fifty forces from 0 to the upper bound.
      constexpr int ntable = 50;
      cl[5] = 1.0;
      const double lo = 0.0;
      Linspace(&cl[7], &lo, &upper, &ntable, nullptr);
      for (int i = 0; i < ntable; ++i) {
        cs[12] = cl[std::size_t(7 + i)];
        cl[std::size_t(7 + ntable + i)] = contact_stiffness(cs, jprops[1]).k;
      }
      break;
    }
    case 2:
      cl[0] = props[11];
      cl[5] = props[12];
      break;
    default: {
      double exponent = 1.5, a0 = 0.0;
      if (rec(unloading) != 0.0 && jprops[1] != 0) {
        // Tan-Sun unloading from the peak with a permanent indentation.
        PITanSunNonLinear(&a0, &rec(peak_depth), &props[11]);
        exponent = rec(peak_force) == svars[s_peak_force - 1] ? 2.5 : 1.5;
        cs[8] = exponent;
        cs[11] = a0;
        s.k = contact_stiffness(cs, 2).k;
      }
      cl[0] = s.k;
      cl[5] = exponent;
      cl[6] = a0;
      upper -= a0 / compliance;  // below the permanent indentation nothing pushes back
      break;
    }
  }
  int istat;  // an exhausted search is latched by bdsafe; its root is used as found
  double root = 0.0;
  math::bdsafe(ContactLaw, 0.0, upper, root, cl.data(), 0.001, 100, nclaw, law, istat);
  f = root;
  return true;
}

// Rebound step (kind 2), steps a to c.
void rebound(const double* props, int nsvars, const int* jprops, const int* lflags, double dtime,
             double* svars, Record rec, double* pnewdt) {
  if (lflags[2] == 1 && (lflags[0] == 11 || lflags[0] == 12)) {
    rec(force) = rec(reference) == 0.0 ? 1.0 : 0.0;
    auto cs = stiffness_arguments(props);
    cs[12] = 1.0;
    const Stiffness s = contact_stiffness(cs, jprops[1]);
    double a, d;
    radius_and_depth(rec(force), s.estar, props, jprops[1], a, d);
    rec(radius) = a;
  } else {
    rec(force) = rec(radius) = 0.0;
  }

  const int nhist = nsvars > 20 && (nsvars - 20) % 2 == 0 ? (nsvars - 20) / 2 : 0;
  auto& table = impactdata::csvars;
  if (svars[s_elongation - 1] != 0.0 && rec(reference) == 0.0) {
    // The structure moved before a reference exists: cut the increment.
    rec(force) = rec(radius) = 0.0;
    *pnewdt = -1.0;
    const bool looked_up = nhist > 0 || table.allocated();
    const std::optional<int> column =
        looked_up ? impactor_column(rec(peak_force), column_from_record) : std::nullopt;
    bool cut = false;  // the history gave the increment ratio
    if (nhist > 0 && column) {
      ensure_history_table(2 * nhist);
      double* h = &table(1, *column);
      if (std::all_of(h, h + nhist, [](double x) { return x == 0.0; })) {
        const double lo = dtime;
        Linspace(h, &lo, &rec(peak_depth), &nhist, nullptr);
      }
      const double zero = 0.0;
      const int n2 = 2 * nhist, notfound = -1;
      const int j = fFindLocation(&zero, h, &n2, &notfound);
      // Only an ordinate slot (past the n abscissae) can take the value.
      if (j > nhist) {
        h[j - 1] = svars[s_elongation - 1];
        const double q = h[std::min(j + 1 - nhist, nhist) - 1] / h[j - nhist - 1];
        if (q < 1.0) {
          *pnewdt = q;
          cut = true;
        }
      }
    }
    if (!cut) {
      rec(peak_depth) = largest;
      rec(reference) = table.allocated() && column && *column <= table.size(2) ? table(1, *column)
                                                                             : svars[s_elongation - 1];
      *pnewdt = 0.8;
    }
  }

  if (svars[s_compliance - 1] == 0.0) {
    svars[s_compliance - 1] = rec(reference);
    svars[s_history_column - 1] = rec(peak_force);
    if (table.allocated() && nsvars > 20) {
      if (const auto column = impactor_column(rec(peak_force), column_from_record);
          column && *column <= table.size(2)) {
        const int n = std::min(nsvars - 20, table.size(1));
        std::copy_n(&table(1, *column), n, svars + first_history_slot - 1);
      }
    }
  }
}

}  // namespace

extern "C" {

void uel_impact(double* rhs, double* amatrx, double* svars, double* energy, const int* ndofel,
                const int* nrhs, const int* nsvars, const double* props, const int* nprops,
                const double* coords, const int* mcrd, const int* nnode, const double* u, const double* du,
                const double* v, const double* a, const int* jtype, const double* time, const double* dtime,
                const int* kstep, const int* kinc, const int* jelem, const double* params,
                const int* ndload, const int* jdltyp, const double* adlmag, const double* predef,
                const int* npredf, const int* lflags, const int* mlvarx, const double* ddlmag,
                const int* mdload, double* pnewdt, const int* jprops, const int* njprop,
                const double* period, double* cprops) {
  tavrin::c_boundary(__func__, [&] {
    if (uel_layout_refused(*ndofel, *nnode, *mcrd, *nrhs, *mlvarx)) return;
    if (*nsvars < 20 || *nprops < 12 || *njprop < 3) {
      if (*mlvarx > 0 && *nrhs > 0) std::fill_n(rhs, std::ptrdiff_t(*mlvarx) * *nrhs, 0.0);
      if (*ndofel > 0) std::fill_n(amatrx, std::ptrdiff_t(*ndofel) * *ndofel, 0.0);
      const std::array<int, 3> values{*nsvars, *nprops, *njprop};
      xerr(-2, "Impactor element: needs NSVARS >= 20, NPROPS >= 12 and NJPROPS >= 3", values);
      return;
    }
    // Step 1: the weightless truss.
    if (!run_uel_truss(rhs, amatrx, svars, energy, ndofel, nrhs, nsvars, truss_props.data(), &truss_nprops,
                       coords, mcrd, nnode, u, du, v, a, jtype, time, dtime, kstep, kinc, jelem, params,
                       ndload, jdltyp, adlmag, predef, npredf, lflags, mlvarx, ddlmag, mdload, pnewdt,
                       jprops, njprop, period))
      return;
    const int kind = step_kind(*kstep);
    if (kind == step_unknown) return;

    // Steps 2 and 3: the truss elongation.
    const int procedure = lflags[0], request = lflags[2];
    const bool dynamic = procedure == 11 || procedure == 12;
    const bool statics = procedure == 1 || procedure == 2;
    const BarAxis bar = bar_axis(coords, *mcrd, 1);
    double ue1, ue2, due1, due2;
    bar.axial(u, 1, ue1, ue2);
    bar.axial(du, 1, due1, due2);
    const bool moved = due2 != due1;
    if (request == 1 && (statics || dynamic)) svars[s_elongation - 1] = ue2 - ue1;
    if (request == 100 && statics) svars[s_elongation - 1] = due2 - due1;

    // Steps 4 to 6: start, initialisation, integration scheme.
    const Record rec{cprops};
    const double t0 = std::max(props[10], 0.0), u0 = std::min(props[10], 0.0);
    if (kind == step_initialisation && *kinc != 0) {
      rec(displacement) = u0;
      rec(mass) = props[5];
      rec(radius_copy) = props[6];
      rec(length_copy) = props[7];
      rec(velocity) = initial_velocity(props);
      svars[s_acceleration - 1] = rec(acceleration);
      std::fill(svars + s_compliance - 1, svars + s_cleared, 0.0);
    }
    const double m = rec(mass);
    for (int i = 0; i < 3; ++i) rec(alpha_row + i) = time[0] < t0 ? 0.0 : params[i];

    // Step 7: only impact (3) and rebound (2) steps go on.
    if (kind == step_structural) return rebound(props, *nsvars, jprops, lflags, *dtime, svars, rec, pnewdt);
    if (kind != step_impact) return;
    if (*kinc != 0 && *nsvars > 20 && (*nsvars - 20) % 2 == 0)
      interpolate_history(svars, (*nsvars - 20) / 2, *dtime);

    // Step 8a: impactor compliance over the increment.
    const double alpha = params[0], beta = params[1], dt = *dtime;
    double ci = (1.0 + alpha) * beta * dt * dt / m;
    if (*kinc >= 2 && rec(force_previous) >= 0.0) {
      ensure_history_table(1);
      if (const auto column = impactor_column(svars[s_history_column - 1], column_from_svars)) {
        double& held = impactdata::csvars(1, *column);
        if (held > 0.0) ci = held;
        if (rec(force) < 0.0 && std::abs(rec(force)) != rec(force_previous)) {
          held = std::abs(rec(force));
          rec(force) = 0.0;
        }
      }
    }
    // Step 8b: reference displacement of the structure.
    double r;
    if (*kinc == 0 || *kinc == 1 || !moved) {
      r = svars[s_reference - 1];
    } else {
      if (rec(reference) == 0.0) rec(reference) = svars[s_elongation - 1];
      r = rec(reference);
    }
    if (time[0] < t0) return;

    // Steps 8c to 8e: contact under the implicit-dynamic request only.
    double f = rec(force), ra = rec(radius), de = rec(depth);
    if (request == 1 && dynamic) {
      // Newmark predictor with HHT-α of the impactor displacement.
      const double xp = rec(displacement) + rec(velocity) * dt + (0.5 - beta) * dt * dt * rec(acceleration) +
                        beta * dt * dt * svars[s_acceleration - 1] -
                        alpha * beta * dt * dt * rec(force_previous) / m;
      if (*kinc != 0 && xp > r) {
        double estar = 0.0;
        if (implicit_contact_force({xp, r, ci, svars[s_compliance - 1]}, props, *nprops, jprops, svars, rec,
                                   f, estar))
          radius_and_depth(f, estar, props, jprops[1], ra, de);
      } else if (*kinc != 0 && xp < r) {
        f = 0.0;
        const Stiffness s = contact_stiffness(stiffness_arguments(props), jprops[1]);
        radius_and_depth(f, s.estar, props, jprops[1], ra, de);
      }
    }
    // Step 8f: the record's update.
    if (*kinc == 1 || moved || (*kinc > 0 && rec(force) == 0.0 && rec(force_previous) == 0.0)) {
      rec(force) = f;
      rec(radius) = ra;
      rec(depth) = de;
      svars[s_reference - 1] = svars[s_elongation - 1];
      svars[s_peak_force - 1] = std::max(svars[s_peak_force - 1], f);
    } else {
      rec(force) = -rec(force_previous);
      rec(radius) = rec(radius_previous);
    }
  });
}

void vuel_impact(const int* nblock, double* rhs, double* amass, double* dtimestable, double* svars,
                 const int* nsvars, double* energy, const int* nnode, const int* ndofel, const double* props,
                 const int* nprops, const int* jprops, const int* njprops, const double* coords,
                 const int* ncrd, const double* u, const double* du, const double* v, const double* a,
                 const int* jtype, const int* jelem, const double* time, const double* period,
                 const double* dtimecur, const double* dtimeprev, const int* kstep, const int* kinc,
                 const int* lflags, const double* dmassscalefactor, const double* predef,
                 const int* npredef, const int* jdltyp, const double* adlmag, double* cprops) {
  if (vuel_layout_refused(*nblock, *ndofel, *nnode, *ncrd)) return;
  const bool force_request = lflags[0] == 17 && lflags[2] == 2;
  const std::ptrdiff_t nb = *nblock;
  if (force_request && (*nsvars < 18 || *nprops < 12 || *njprops < 2)) {
    if (*ndofel > 0) {
      std::fill_n(rhs, nb * *ndofel, 0.0);
      std::fill_n(amass, nb * *ndofel * *ndofel, 0.0);
    }
    std::fill_n(dtimestable, nb, 0.0);
    const std::array<int, 3> values{*nsvars, *nprops, *njprops};
    xerr(-2, "Impactor element: needs NSVARS >= 18, NPROPS >= 12 and NJPROPS >= 2", values);
    return;
  }
  // Step 1: the weightless truss.
  if (!run_vuel_truss(nblock, rhs, amass, dtimestable, svars, nsvars, energy, nnode, ndofel,
                      truss_props.data(), &truss_nprops, jprops, njprops, coords, ncrd, u, du, v, a, jtype,
                      jelem, time, period, dtimecur, dtimeprev, kstep, kinc, lflags, dmassscalefactor,
                      predef, npredef, jdltyp, adlmag) ||
      !force_request)
    return;

  // svars(k, j) of point k.
  const auto sv = [&](std::ptrdiff_t k, int j) -> double& { return svars[k + nb * (j - 1)]; };
  // Step 2: the truss elongation of every point.
  for (std::ptrdiff_t k = 0; k < nb; ++k) {
    const BarAxis bar = bar_axis(coords + k, nb, 2 * nb);
    double ue1, ue2;
    bar.axial(u + k, nb, ue1, ue2);
    sv(k, s_elongation) = ue2 - ue1;
  }
  if (!jobdata::stepid.allocated()) return;

  // Step 3: start and integration scheme.
  const Record rec{cprops};
  const double t0 = std::max(props[10], 0.0), u0 = std::min(props[10], 0.0);
  const bool weighted = *njprops == 4 && jprops[3] != 1;
  for (int i = 0; i < 3; ++i) rec(alpha_row + i) = time[0] < t0 ? 0.0 : weighted ? -2.0 : -1.0;
  if (weighted) rec(weight) = *nprops > 12 ? props[12] : 0.5;

  // Step 4: every point of the block.
  const int kind = step_kind(*kstep);
  for (std::ptrdiff_t k = 0; k < nb; ++k) {
    if (kind == step_initialisation && *kinc != 0) {
      rec(displacement) = u0;
      rec(mass) = props[5];
      rec(radius_copy) = props[6];
      rec(length_copy) = props[7];
      sv(k, s_acceleration) = rec(acceleration);
      for (int j = s_compliance; j <= s_cleared; ++j) sv(k, j) = 0.0;
      rec(velocity) = initial_velocity(props);
      rec(half_step_velocity) = rec(velocity) - 0.5 * *dtimecur * rec(acceleration);
    } else if (kind == step_impact && time[0] >= t0) {
      const double ui = rec(displacement), r = sv(k, s_reference);
      double f = rec(force), ra = rec(radius), de = rec(depth);
      if (ui > r && *kinc != 0) {
        auto cs = stiffness_arguments(props);
        Stiffness s = contact_stiffness(cs, jprops[1]);
        double exponent = 1.5, a0 = 0.0;
        switch (jprops[0]) {
          case proc_hertz: break;
          case proc_root:
            if (rec(unloading) != 0.0) {
              // Tan-Sun unloading: k = Fmax/(dmax − a0)^p from the peak.
              PITanSunNonLinear(&a0, &rec(peak_depth), &props[11]);
              exponent = rec(peak_force) == sv(k, s_peak_force) ? 2.5 : 1.5;
              cs[8] = exponent;
              cs[9] = rec(peak_force);
              cs[10] = rec(peak_depth);
              cs[11] = a0;
              s.k = contact_stiffness(cs, 2).k;
            }
            break;
          case proc_keep: f = rec(force); break;
          default:
            xerr(-3, "Error: Invalid root finding procedure", std::span<const int>(jprops, 1));
            f = 0.0;
        }
        if (jprops[0] == proc_hertz || jprops[0] == proc_root)
          f = s.k * std::pow(std::max(ui - r - a0, 0.0), exponent);
        radius_and_depth(f, s.estar, props, jprops[1], ra, de);
      } else if (jprops[0] == proc_keep && *kinc != 0) {
        const Stiffness s = contact_stiffness(stiffness_arguments(props), jprops[1]);
        radius_and_depth(f, s.estar, props, jprops[1], ra, de);
      } else if (ui < r && *kinc != 0) {
        f = ra = de = 0.0;
      }
      rec(force) = f;
      rec(radius) = ra;
      rec(depth) = de;
      sv(k, s_reference) = sv(k, s_elongation);
      sv(k, s_peak_force) = std::max(sv(k, s_peak_force), f);
    }
  }
}

}  // extern "C"

}  // namespace tavrin::toplevel
