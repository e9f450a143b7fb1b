#include "solver/hooks.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "elements/element_registry.hpp"
#include "elements/frames.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/signals.hpp"
#include "foundation/small_matrix.hpp"
#include "solver/gauss_point_report.hpp"
#include "solver/step_kind.hpp"

namespace tavrin::toplevel {

namespace {

constexpr int element_quad4 = 3, element_hex8 = 6;

}  // namespace

extern "C" {

void vucharlength_cel(const int* nblock, const int* /*nfieldv*/, const int* /*nprops*/, const int* ncomp,
                      const int* ndim, const int* nnode, const int* /*nstatev*/, const int* /*ksecpt*/,
                      const int* /*klayer*/, const int* /*kintpt*/, const int* jeltype,
                      const int* /*jelem*/, const double* /*totaltime*/, const double* /*steptime*/,
                      const double* /*dt*/, const char* /*cmname*/, const double* /*coordmp*/,
                      const double* coordnode, const double* tdirect, const double* /*t*/,
                      const double* /*props*/, const double* /*field*/, const double* /*stateold*/,
                      double* charlength, std::size_t /*cmname_len*/) {
  const std::ptrdiff_t nb = std::max(*nblock, 0);
  const int nc = std::max(*ncomp, 0);
  std::fill_n(charlength, nb * nc, 0.0);
  const int type = jeltype[0];
  if (type != element_quad4 && type != element_hex8) return;
  const int corners = type == element_quad4 ? 4 : 8;
  if (*nnode < corners || *ndim < 2) {
    const std::array<int, 3> values{type, *nnode, *ndim};
    xerr(-2, "vucharlength_cel: too few nodes or coordinates for the element type", values);
    return;
  }
  const int nd = std::min(*ndim, 3), nn = *nnode;
  for (std::ptrdiff_t k = 0; k < nb; ++k) {
    // The point's nodes as columns (3, corners), z = 0 in two dimensions,
    // and its direction matrix; both come as (nblock, ·, ·) slices.
    std::array<double, 24> nodes{};
    for (int node = 0; node < corners; ++node)
      for (int c = 0; c < nd; ++c) nodes[std::size_t(3 * node + c)] = coordnode[k + nb * (node + nn * c)];
    Mat3 direction;
    for (int j = 1; j <= 3; ++j)
      for (int i = 1; i <= 3; ++i) direction(i, j) = tdirect[k + nb * ((i - 1) + 3 * (j - 1))];
    Vec3 lengths;
    if (type == element_quad4)
      GetQuad4ElemLength(lengths.data(), direction.data(), nodes.data());
    else
      GetHex8ElemLength(lengths.data(), direction.data(), nodes.data());
    for (int c = 0; c < std::min(nc, 3); ++c) charlength[k + nb * c] = lengths.v[std::size_t(c)];
  }
}

void uvarm_report(double* /*uvar*/, const double* /*tdirect*/, const double* /*t*/, const double* /*time*/,
                  const double* /*dtime*/, const char* /*cmname*/, const char* /*orname*/, const int* /*nuvarm*/,
                  const int* noel, const int* npt, const int* /*layer*/, const int* /*kspt*/, const int* kstep,
                  const int* kinc, const int* /*ndi*/, const int* /*nshr*/, const double* coord,
                  const int* /*jmac*/, const int* /*jmatyp*/, const int* /*matlayo*/, const int* /*laccfla*/,
                  std::size_t /*cmname_len*/, std::size_t /*orname_len*/) {
  tavrin::c_boundary(__func__, [&] {
    if (step_kind(*kstep) != step_initialisation || *kinc != 1) return;
    const std::string path = std::string(jobdata::jobfilepath.trimmed()) + ".rst";
    iohandling::getgausspointreport(path, coord, *noel, *npt);
  });
}

void vdisp_nullify(const int* nblock, const int* mdof, const int* ncoord, const int* kstep, const int* kinc,
                   const double* /*steptime*/, const double* /*totaltime*/, const double* /*dtnext*/,
                   const double* /*dt*/, const char* /*cbname*/, const int* /*jbctype*/,
                   const int* /*jdof*/, const int* jnodeuid, const double* /*amp*/, const double* coordnp,
                   const double* u, const double* /*v*/, const double* /*a*/, const double* /*rf*/,
                   const double* /*rmass*/, const double* /*rotaryi*/, double* /*rval*/,
                   std::size_t /*cbname_len*/) {
  tavrin::c_boundary(__func__, [&] {
    if (!jobdata::stepid.allocated() || *kstep == 0) return;
    if (*kinc == 1) {
      if (*kstep == 1 && step_kind(1) == step_initialisation)
        GetNodalCoordinates(coordnp, jnodeuid, ncoord, nblock);
      return;
    }
    if (*kinc <= 1 || *kstep <= 1) return;
    const int kind = step_kind(*kstep);
    if (kind != step_fatigue && kind != step_impact) return;
    const int next = *kinc + 1;
    if (mLimit(&next, &debugdata::nupdate) != debugdata::nupdate) return;
    // Translations (3, nblock) and rotations (nrot, nblock) gathered from the
    // rows of u(mdof, nblock); rows u does not have are zero.
    const int nb = std::max(*nblock, 0), dof = std::max(*mdof, 0);
    const int nrot = std::max(dof - 3, 2);
    std::vector<double> translations(std::size_t(3) * std::size_t(nb), 0.0);
    std::vector<double> rotations(std::size_t(nrot) * std::size_t(nb), 0.0);
    for (int j = 0; j < nb; ++j) {
      const double* column = u + std::ptrdiff_t(dof) * j;
      for (int i = 0; i < std::min(dof, 3); ++i) translations[std::size_t(3 * j + i)] = column[i];
      for (int i = 3; i < dof; ++i) rotations[std::size_t(nrot * j + i - 3)] = column[i];
    }
    const double defreal = 0.0;
    GetNodesMotion(translations.data(), rotations.data(), jnodeuid, &nrot, &nb, &defreal);
  });
}

void mpc_nullify(double* /*ue*/, double* a, int* jdof, const int* mdof, const int* n, const int* /*jtype*/,
                 const double* /*x*/, const double* /*u*/, const double* /*uinit*/, const int* /*maxdof*/,
                 int* lmpc, const int* /*kstep*/, const int* /*kinc*/, const double* /*time*/,
                 const int* /*nt*/, const int* /*nf*/, const double* /*temp*/, const double* /*field*/,
                 const int* /*ltran*/, const double* /*tran*/) {
  const std::ptrdiff_t m = std::max(*mdof, 0), terms = std::max(*n, 0);
  std::fill_n(a, m * m * terms, 0.0);
  std::fill_n(jdof, m * terms, 0);
  *lmpc = 0;
}

}  // extern "C"

}  // namespace tavrin::toplevel
