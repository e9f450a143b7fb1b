#include "solver/truss_elements.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "foundation/errorhandling.hpp"
#include "elements/element_registry.hpp"
#include "solver/layout.hpp"

namespace tavrin::toplevel {

namespace {

constexpr double tiny_length = 2.220446049250313e-16;

// Requests of the implicit interface (LFLAGS(3)) and procedures (LFLAGS(1)).
constexpr int request_residual = 1, request_stiffness = 2, request_mass = 4, request_half_step = 5,
              request_initial_acceleration = 6, request_perturbation_output = 100;
constexpr int load_axial_node2 = 1001;
constexpr int explicit_dynamic = 17, explicit_mass = 1, explicit_force = 2, explicit_load = 3;
constexpr int explicit_load_axial_node2 = 123;

bool is_static(int procedure) { return procedure == 1 || procedure == 2; }
bool is_implicit_dynamic(int procedure) { return procedure == 11 || procedure == 12; }

void zero(double* p, std::ptrdiff_t n) {
  if (n > 0) std::fill_n(p, n, 0.0);
}
std::ptrdiff_t extent(std::initializer_list<int> dims) {
  std::ptrdiff_t n = 1;
  for (int d : dims) n *= std::max(d, 0);
  return n;
}

// Latches a caller's sizing mistake with the offending values.
void refuse(const char* message, std::initializer_list<int> values) {
  xerr(-2, message, std::span<const int>(values.begin(), values.size()));
}

// State slots a request of the implicit element reads or writes.
int svars_needed(int procedure, int request) {
  switch (request) {
    case request_residual: return is_implicit_dynamic(procedure) ? 12 : 0;
    case request_half_step: return 12;
    case request_initial_acceleration: return 6;
    case request_perturbation_output: return is_static(procedure) || procedure == 41 ? 6 : 0;
    default: return 0;
  }
}

// teᵀ·(r1, r2): the axial values back on the six degrees of freedom.
void spread(const BarAxis& bar, double r1, double r2, double* out, std::ptrdiff_t stride) {
  for (int c = 0; c < 3; ++c) {
    out[c * stride] = bar.n[c] * r1;
    out[(c + 3) * stride] = bar.n[c] * r2;
  }
}

// AMATRX(6,6) += k·teᵀ·[1, -1; -1, 1]·te.
void add_axial_stiffness(const BarAxis& bar, double k, double* amatrx) {
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) {
      const double sign = (i < 3) == (j < 3) ? 1.0 : -1.0;
      amatrx[i + 6 * j] += sign * k * bar.n[i % 3] * bar.n[j % 3];
    }
}

double kinetic_energy(double am, const double* v) {
  double e = 0.0;
  for (int i = 0; i < 6; ++i) e += 0.5 * am * v[i] * v[i];
  return e;
}

}  // namespace

bool uel_layout_refused(int ndofel, int nnode, int mcrd, int nrhs, int mlvarx) {
  if (ndofel != 6 || nnode != 2 || mcrd < 3) {
    refuse("Truss element: NDOFEL must be 6 on two nodes of 3 coordinates", {ndofel, nnode, mcrd});
    return true;
  }
  if (nrhs < 1 || nrhs > 2 || mlvarx < ndofel) {
    refuse("Truss element: NRHS must be 1 or 2 and MLVARX at least NDOFEL", {nrhs, mlvarx});
    return true;
  }
  return false;
}

bool vuel_layout_refused(int nblock, int ndofel, int nnode, int ncrd) {
  if (negative_block(nblock)) return true;
  if (ndofel != 6 || nnode != 2 || ncrd < 3) {
    refuse("Truss element: NDOFEL must be 6 on two nodes of 3 coordinates", {ndofel, nnode, ncrd});
    return true;
  }
  return false;
}

BarAxis bar_axis(const double* xyz, long node_stride, long coord_stride) {
  double c[6];  // coords(3, 2)
  for (int node = 0; node < 2; ++node)
    for (int k = 0; k < 3; ++k) c[3 * node + k] = xyz[node * node_stride + k * coord_stride];
  BarAxis bar;
  GetTruss3ElemLength(&bar.length, c);
  if (bar.length > 0.0) {
    double te[12];  // te(2, 6)
    GetTruss3TransformationMatrix(te, c);
    for (int k = 0; k < 3; ++k) bar.n[k] = te[2 * k];
  }
  return bar;
}

bool run_uel_truss(double* rhs, double* amatrx, double* svars, double* energy, const int* ndofel,
               const int* nrhs, const int* nsvars, const double* props, const int* nprops,
               const double* coords, const int* mcrd, const int* nnode, const double* u, const double* du,
               const double* v, const double* a, const int* /*jtype*/, const double* /*time*/,
               const double* dtime, const int* /*kstep*/, const int* /*kinc*/, const int* /*jelem*/,
               const double* params, const int* ndload, const int* jdltyp, const double* adlmag,
               const double* /*predef*/, const int* /*npredf*/, const int* lflags, const int* mlvarx,
               const double* ddlmag, const int* mdload, double* /*pnewdt*/, const int* /*jprops*/,
               const int* /*njprop*/, const double* /*period*/) {
  if (uel_layout_refused(*ndofel, *nnode, *mcrd, *nrhs, *mlvarx)) return false;
  const int procedure = lflags[0], request = lflags[2];
  const bool perturbation = lflags[3] != 0;
  const bool reads_loads = request == request_residual && is_static(procedure) && !perturbation;
  // Other refusals answer with a zero right-hand side and matrix.
  const auto refused = [&](const char* message, std::initializer_list<int> values) {
    zero(rhs, extent({*mlvarx, *nrhs}));
    zero(amatrx, extent({*ndofel, *ndofel}));
    refuse(message, values);
    return false;
  };
  if (*nprops < 3) return refused("Truss element: needs 3 properties (E, density, area)", {*nprops});
  if (*nsvars < svars_needed(procedure, request))
    return refused("Truss element: too few state variables for the request",
                   {*nsvars, svars_needed(procedure, request)});
  if (reads_loads && *ndload > *mdload)
    return refused("Truss element: more distributed loads than MDLOAD", {*ndload, *mdload});

  // Step 1: geometry and axial displacements.
  const BarAxis bar = bar_axis(coords, *mcrd, 1);
  if (!(bar.length > 0.0)) return refused("Truss element: the bar has no length (coincident or undefined nodes)", {});
  const std::ptrdiff_t ld = *mlvarx;
  double ue[2], due[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
  bar.axial(u, 1, ue[0], ue[1]);
  for (int k = 0; k < *nrhs; ++k) bar.axial(du + k * ld, 1, due[k][0], due[k][1]);
  const double stretch = ue[1] - ue[0];
  const double dstretch = due[0][1] - due[0][0];

  // Step 2: stiffness, mass, cleared outputs.
  const double e = props[0], rho = props[1], area = props[2];
  const double ak = e * area / bar.length, am = 0.5 * rho * area * bar.length;
  const double alpha = params[0], beta = params[1];
  if (request == request_residual && is_implicit_dynamic(procedure) && !(beta * *dtime * *dtime > 0.0))
    return refused("Truss element: implicit dynamics needs beta*DTIME**2 > 0", {});
  for (int k = 0; k < *nrhs; ++k) zero(rhs + k * ld, 6);
  zero(amatrx, 36);

  const double force = ak * stretch;
  // Internal force teᵀ·(-F, F) of the current displacements.
  double sresid[6];
  spread(bar, -force, force, sresid, 1);
  // ½·F·Δdue + ½·dF·Δue + ½·dF·Δdue: strain energy of a perturbation.
  const auto perturbation_energy = [&](double df) {
    return 0.5 * force * dstretch + 0.5 * df * stretch + 0.5 * df * dstretch;
  };

  switch (request) {
    case request_residual:
      if (is_static(procedure)) {
        add_axial_stiffness(bar, ak, amatrx);
        if (perturbation) {
          const double df = ak * dstretch;
          spread(bar, df, -df, rhs, 1);
          energy[1] = perturbation_energy(df);
        } else {
          double rhse[2][2] = {{force, -force}, {0.0, 0.0}};
          for (int k = 0; k < *ndload; ++k) {
            if (jdltyp[k] != load_axial_node2) continue;
            rhse[0][1] += adlmag[k];
            energy[7] += (adlmag[k] - 0.5 * ddlmag[k]) * due[0][1];
            if (*nrhs == 2) rhse[1][1] += ddlmag[k];
          }
          for (int k = 0; k < *nrhs; ++k) spread(bar, rhse[k][0], rhse[k][1], rhs + k * ld, 1);
          energy[1] = 0.5 * force * stretch;
        }
      } else if (is_implicit_dynamic(procedure)) {
        const double dadu = 1.0 / (beta * *dtime * *dtime);
        add_axial_stiffness(bar, (1.0 + alpha) * ak, amatrx);
        for (int i = 0; i < 6; ++i) {
          amatrx[i + 6 * i] += am * dadu;
          rhs[i] -= am * a[i];
          rhs[i] -= (1.0 + alpha) * sresid[i] - alpha * svars[i];
        }
        energy[0] = kinetic_energy(am, v);
        for (int i = 0; i < 6; ++i) {
          svars[i + 6] = svars[i];
          svars[i] = sresid[i];
        }
        energy[1] = 0.5 * force * stretch;
      }
      break;
    case request_stiffness: add_axial_stiffness(bar, ak, amatrx); break;
    case request_mass:
      for (int i = 0; i < 6; ++i) amatrx[i + 6 * i] = am;
      break;
    case request_half_step:
      for (int i = 0; i < 6; ++i)
        rhs[i] += -am * a[i] - (1.0 + alpha) * sresid[i] + 0.5 * alpha * (svars[i] + svars[i + 6]);
      break;
    case request_initial_acceleration:
      for (int i = 0; i < 6; ++i) {
        amatrx[i + 6 * i] = am;
        rhs[i] -= sresid[i];
        svars[i] = sresid[i];
      }
      energy[0] = kinetic_energy(am, v);
      energy[1] = 0.5 * force * stretch;
      break;
    case request_perturbation_output:
      if (is_static(procedure)) {
        const double df = ak * dstretch;
        spread(bar, df, -df, rhs, 1);
        energy[1] = perturbation_energy(df);
      } else if (procedure == 41) {
        for (int k = 0; k < *nrhs; ++k) {
          const double df = ak * (due[k][1] - due[k][0]);
          spread(bar, df, -df, rhs + k * ld, 1);
        }
      } else {
        break;
      }
      zero(svars, *nsvars);
      std::copy_n(rhs, 6, svars);
      break;
    default: break;
  }
  return true;
}

bool run_vuel_truss(const int* nblock, double* rhs, double* amass, double* dtimestable, double* svars,
                const int* nsvars, double* energy, const int* nnode, const int* ndofel, const double* props,
                const int* nprops, const int* /*jprops*/, const int* /*njprops*/, const double* coords,
                const int* ncrd, const double* u, const double* /*du*/, const double* /*v*/,
                const double* /*a*/, const int* /*jtype*/, const int* /*jelem*/, const double* /*time*/,
                const double* /*period*/, const double* /*dtimecur*/, const double* /*dtimeprev*/,
                const int* /*kstep*/, const int* /*kinc*/, const int* lflags,
                const double* /*dmassscalefactor*/, const double* /*predef*/, const int* /*npredef*/,
                const int* jdltyp, const double* adlmag) {
  if (vuel_layout_refused(*nblock, *ndofel, *nnode, *ncrd)) return false;
  const int request = lflags[2];
  if (lflags[0] != explicit_dynamic) return true;
  if (request != explicit_mass && request != explicit_force && request != explicit_load) return true;
  if (request == explicit_load && *jdltyp != explicit_load_axial_node2) return true;
  const std::ptrdiff_t nb = *nblock;
  // Other refusals answer with zero forces, masses and stable increments.
  const auto refused = [&](const char* message, std::initializer_list<int> values) {
    zero(rhs, extent({*nblock, *ndofel}));
    zero(amass, extent({*nblock, *ndofel, *ndofel}));
    zero(dtimestable, nb);
    refuse(message, values);
    return false;
  };
  if (*nprops < 3) return refused("Truss element: needs 3 properties (E, density, area)", {*nprops});
  if (request == explicit_force && *nsvars < 2)
    return refused("Truss element: too few state variables for the request", {*nsvars, 2});

  const double e = props[0], rho = props[1], area = props[2];
  const double half_mass_per_length = 0.5 * rho * area;
  for (std::ptrdiff_t k = 0; k < nb; ++k) {
    // coords(k, node, coordinate), u(k, dof), rhs(k, dof): strides nblock.
    const BarAxis bar = bar_axis(coords + k, nb, 2 * nb);
    const double l0 = bar.length > 0.0 ? bar.length : tiny_length;
    switch (request) {
      case explicit_mass:
        for (int j = 0; j < 6; ++j)
          for (int i = 0; i < 6; ++i) amass[k + nb * (i + 6 * j)] = i == j ? half_mass_per_length * l0 : 0.0;
        break;
      case explicit_force: {
        double ue1, ue2;
        bar.axial(u + k, nb, ue1, ue2);
        double l = ue2 + l0 - ue1;
        if (!(l > 0.0)) l = tiny_length;
        // Volume kept: the current area A·L0/L.
        const double ac = area * l0 / l;
        const double ak = e * ac / l, mass = rho * area * l0;
        // 0.99·(√(1 + ξ²) − ξ)·√(M/k) without damping (ξ = 0).
        dtimestable[k] = 0.99 * std::sqrt(mass / ak);
        const double force = e * std::log(l / l0) * ac;
        spread(bar, -force, force, rhs + k, nb);
        double& length_old = svars[k];
        double& force_old = svars[k + nb];
        energy[k + 2 * nb] += 0.5 * (force_old + force) * (l - length_old);
        length_old = l;
        force_old = force;
        break;
      }
      case explicit_load: spread(bar, 0.0, adlmag[k], rhs + k, nb); break;
    }
  }
  return true;
}

extern "C" {

void uel_truss(double* rhs, double* amatrx, double* svars, double* energy, const int* ndofel,
               const int* nrhs, const int* nsvars, const double* props, const int* nprops,
               const double* coords, const int* mcrd, const int* nnode, const double* u, const double* du,
               const double* v, const double* a, const int* jtype, const double* time, const double* dtime,
               const int* kstep, const int* kinc, const int* jelem, const double* params,
               const int* ndload, const int* jdltyp, const double* adlmag, const double* predef,
               const int* npredf, const int* lflags, const int* mlvarx, const double* ddlmag,
               const int* mdload, double* pnewdt, const int* jprops, const int* njprop,
               const double* period) {
  run_uel_truss(rhs, amatrx, svars, energy, ndofel, nrhs, nsvars, props, nprops, coords, mcrd, nnode, u,
                du, v, a, jtype, time, dtime, kstep, kinc, jelem, params, ndload, jdltyp, adlmag, predef,
                npredf, lflags, mlvarx, ddlmag, mdload, pnewdt, jprops, njprop, period);
}

void vuel_truss(const int* nblock, double* rhs, double* amass, double* dtimestable, double* svars,
                const int* nsvars, double* energy, const int* nnode, const int* ndofel, const double* props,
                const int* nprops, const int* jprops, const int* njprops, const double* coords,
                const int* ncrd, const double* u, const double* du, const double* v, const double* a,
                const int* jtype, const int* jelem, const double* time, const double* period,
                const double* dtimecur, const double* dtimeprev, const int* kstep, const int* kinc,
                const int* lflags, const double* dmassscalefactor, const double* predef,
                const int* npredef, const int* jdltyp, const double* adlmag) {
  run_vuel_truss(nblock, rhs, amass, dtimestable, svars, nsvars, energy, nnode, ndofel, props, nprops,
                 jprops, njprops, coords, ncrd, u, du, v, a, jtype, jelem, time, period, dtimecur,
                 dtimeprev, kstep, kinc, lflags, dmassscalefactor, predef, npredef, jdltyp, adlmag);
}

}  // extern "C"

}  // namespace tavrin::toplevel
