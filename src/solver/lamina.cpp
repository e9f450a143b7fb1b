#include "solver/lamina.hpp"

#include <algorithm>
#include <array>
#include <span>

#include "elements/layouts.hpp"
#include "failure/degradation.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/notation.hpp"
#include "solver/layout.hpp"
#include "solver/step_kind.hpp"
#include "solver/usermat_entry.hpp"
#include "solver/wrapper.hpp"

namespace tavrin::toplevel {
namespace {

constexpr char outside_tables[] = "Ply or section of the state variables outside the material tables.";
constexpr char few_state_dic[] = "Too few state variables for the degradation of a DIC step.";

// A state slot holding a 1-based index as a real, truncated toward zero,
// when it names one of 1 .. n; 0 otherwise (NaN and values beyond the
// integers included).
int index_in_slot(double x, int n) { return x >= 1.0 && x < double(n) + 1.0 ? int(x) : 0; }

// The stiffness of ntens components (3, 4 or 6) in the solver order: the
// reduced plane-stress matrix for three, the leading block of the 3-D
// stiffness otherwise; entries beyond ntens are zero.
Mat6 layout_stiffness(const lamina::PlyConstants& p, int ntens) {
  if (ntens != 3) return lamina::stiffness(p);
  const Mat3 q = lamina::reduced_stiffness(p);
  Mat6 c;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) c(i, j) = q(i, j);
  return c;
}

// The stiffness of a DIC step degraded by the mode flags of the state array
// (scheme 5 of a tape ply).  The matrix flag goes to positions 3 and 4 of the
// damage vector: position 4 is where the scheme reads matrix cracking.
void degrade_by_flags(Mat6& d, const double* statev, int ntens) {
  const double* slot = statev - 1;  // slot k is statev(k)
  const double dds[10] = {slot[8], 0.0, slot[9], slot[9], slot[10], 0.0, slot[11], slot[12], 0.0, 0.0};
  const double rdisc = slot[18];
  const int grid = 5, tape = 1;
  double factors[9];
  FalcomDegradation(factors, dds, &rdisc, &grid, &tape, nullptr);
  double m[36];
  GetNyeDegradationMatrix(m, factors, &ntens, nullptr);
  for (int j = 1; j <= ntens; ++j)
    for (int i = 1; i <= ntens; ++i) d(i, j) *= m[(i - 1) + ntens * (j - 1)];
}

}  // namespace

std::optional<lamina::PlyConstants> umat_ply_constants(const double* statev, int nstatv,
                                                       const double* props, int nprops) {
  if (nprops == 1) {
    const auto& table = materialdata::peprops;
    const int ply = nstatv >= 22 && table.allocated() && table.size(1) >= 9
                        ? index_in_slot(statev[20], std::min(sectiondata::nplies, table.size(2)))
                        : 0;
    const int section = ply ? index_in_slot(statev[21], std::min(sectiondata::nsec, table.size(3))) : 0;
    if (!section) {
      xerr(-2, outside_tables, std::array{nstatv, ply});
      return std::nullopt;
    }
    return lamina::ply_constants(std::span<const double>(&table(1, ply, section), 9));
  }
  auto p = lamina::ply_constants(std::span<const double>(props, std::size_t(std::max(nprops, 0))));
  if (!p) xerr(-2, "Unsupported input in GetNyeProperties", std::array{nprops});
  return p;
}

bool store_stress_in_state(double* statev, int nstatv, const double* stress, int ndi, int nshr, int ntens) {
  const int direct = std::clamp(ndi, 0, std::min(3, std::max(ntens, 0)));
  const int shear = std::clamp(nshr, 0, std::max(ntens, 0) - direct);
  bool all = true;
  for (int i = 1; i <= direct; ++i)
    if (i <= nstatv) statev[i - 1] = stress[i - 1];
    else all = false;
  for (int i = 1; i <= shear; ++i)
    if (3 + i <= nstatv) statev[3 + i - 1] = stress[direct + i - 1];
    else all = false;
  return all;
}

}  // namespace tavrin::toplevel

using namespace tavrin;

extern "C" {

void umat_lamina(double* stress, double* statev, double* ddsdde, double* sse, double* spd, double* scd,
                 double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/,
                 const double* stran, const double* dstran, const double* /*time*/,
                 const double* /*dtime*/, const double* /*temp*/, const double* /*dtemp*/,
                 const double* /*predef*/, const double* /*dpred*/, const char* /*materl*/,
                 const int* ndi, const int* nshr, const int* ntens, const int* nstatv,
                 const double* props, const int* nprops, const double* /*coords*/,
                 const double* /*drot*/, double* /*pnewdt*/, const double* /*celent*/,
                 const double* /*dfgrd0*/, const double* /*dfgrd1*/, const int* /*noel*/,
                 const int* /*npt*/, const int* /*kslay*/, const int* /*kspt*/, const int* jstep,
                 const int* /*kinc*/, std::size_t /*materl_len*/) {
  const int n = *ntens;
  // A layout the ply has no stiffness for touches nothing: the arrays need
  // not have the extents the host claims.
  if (!toplevel::supported_layout(n)) {
    xerr(-2, toplevel::unsupported_dimension, std::array{n});
    return;
  }
  if (!toplevel::stress_layout(*ndi, *nshr, n)) {
    xerr(-2, toplevel::unsupported_dimension, std::array{*ndi, *nshr, n});
    return;
  }
  *spd = *scd = 0.0;
  const auto ply = toplevel::umat_ply_constants(statev, *nstatv, props, *nprops);
  if (!ply) {
    // A zero stiffness: no stress, no energy, no tangent.
    std::fill_n(stress, n, 0.0);
    std::fill_n(ddsdde, n * n, 0.0);
    *sse = 0.0;
  } else {
    Mat6 d = toplevel::layout_stiffness(*ply, n);
    if (toplevel::step_kind(jstep[0]) == toplevel::step_dic) {
      if (*nstatv >= 18)
        toplevel::degrade_by_flags(d, statev, n);
      else
        xerr(-2, toplevel::few_state_dic, std::array{*nstatv});
    }
    // Secant law of the total strain: σ = D·(ε + Δε), W = ½ σ·(ε + Δε).
    double strain[6], s[6];
    for (int i = 0; i < n; ++i) strain[i] = stran[i] + dstran[i];
    double w = 0.0;
    for (int i = 1; i <= n; ++i) {
      double sum = 0.0;
      for (int j = 1; j <= n; ++j) sum += d(i, j) * strain[j - 1];
      s[i - 1] = sum;
      w += sum * strain[i - 1];
    }
    std::copy_n(s, n, stress);
    *sse = 0.5 * w;
    for (int j = 1; j <= n; ++j)
      for (int i = 1; i <= n; ++i) ddsdde[(i - 1) + n * (j - 1)] = d(i, j);
  }
  if (*nstatv > 5) toplevel::store_stress_in_state(statev, *nstatv, stress, *ndi, *nshr, n);
}

void vumat_lamina(const int* nblock, const int* ndir, const int* nshr, const int* nstatev,
                  const int* /*nfieldv*/, const int* nprops, const int* /*lanneal*/,
                  const double* /*steptime*/, const double* /*totaltime*/, const double* /*dt*/,
                  const char* /*cmname*/, const double* /*coordmp*/, const double* /*charlength*/,
                  const double* props, const double* density, double* straininc,
                  const double* /*relspininc*/, const double* /*tempold*/,
                  const double* /*stretchold*/, const double* /*defgradold*/,
                  const double* /*fieldold*/, const double* stressold, const double* /*stateold*/,
                  const double* enerinternold, const double* /*enerinelasold*/,
                  const double* /*tempnew*/, const double* /*stretchnew*/,
                  const double* /*defgradnew*/, const double* /*fieldnew*/, double* stressnew,
                  double* statenew, double* enerinternnew, double* enerinelasnew,
                  std::size_t /*cmname_len*/) {
  // The layout first, each extent alone: a refused one touches nothing.
  if (toplevel::negative_block(*nblock)) return;
  if (!toplevel::components_in_range(*ndir, *nshr)) {
    xerr(-2, toplevel::unsupported_dimension, std::array{*ndir, *nshr});
    return;
  }
  const int nb = *nblock, nt = *ndir + *nshr;
  if (!toplevel::supported_layout(nt)) {
    xerr(-2, toplevel::unsupported_dimension, std::array{nt});
    return;
  }
  std::fill_n(enerinelasnew, nb, 0.0);
  std::fill_n(stressnew, std::size_t(nb) * std::size_t(nt), 0.0);
  std::fill_n(statenew, std::size_t(nb) * std::size_t(std::max(*nstatev, 0)), 0.0);

  const auto ply = lamina::ply_constants(std::span<const double>(props, std::size_t(std::max(*nprops, 0))));
  if (!ply) xerr(-2, "Unsupported input in GetNyeProperties", std::array{*nprops});
  const View<double, 2> de(straininc, nb, nt), snew(stressnew, nb, nt);
  const View<const double, 2> sold(stressold, nb, nt);
  if (!ply) {
    // A zero stiffness: the stress and energy stay where they were.
    for (int k = 1; k <= nb; ++k) {
      for (int i = 1; i <= nt; ++i) snew(k, i) = sold(k, i);
      enerinternnew[k - 1] = enerinternold[k - 1];
    }
    return;
  }

  // The stiffness in the explicit solver's order: cyclic 11, 22, 33, 12, 23,
  // 31 for six components (it differs from the solver order by exchanging
  // the last two), the reduced plane-stress entries at 11, 22, 12 otherwise.
  Mat6 d;
  if (nt == 6) {
    d = lamina::permute(lamina::stiffness(*ply), lamina::cyclic_nye);
  } else {
    const Mat3 q = lamina::reduced_stiffness(*ply);
    const auto pos = lamina::plane_positions(nt);
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) d(pos[std::size_t(i)], pos[std::size_t(j)]) = q(i + 1, j + 1);
  }
  const bool thickness = *ndir == 3 && *nshr == 1;
  const double e1 = ply->e1, e2 = ply->e2, e3 = ply->e3;
  const double nu31 = ply->nu13 * e3 / e1, nu32 = ply->nu23 * e3 / e2;
  const int first_shear = std::clamp(*ndir, 0, nt);
  // Points in chunks, component by component: the block's columns are
  // contiguous, and each point's sums run in the same order as a point-wise
  // loop would take them.  The arithmetic runs over whole chunks (the last
  // one padded with zeros), which lets the compiler use vector instructions.
  constexpr int chunk = 64;
  double e[6][chunk], ds[6][chunk], s[chunk], w[chunk];
  double pad_e[6][chunk], pad_old[6][chunk], pad_rho[chunk];
  for (int k0 = 1; k0 <= nb; k0 += chunk) {
    const int m = std::min(chunk, nb - k0 + 1);
    // The chunk's columns where they lie, or copied and padded for the last.
    const double* strain_col[6];
    const double* old_col[6];
    const double* rho = density + (k0 - 1);
    for (int j = 1; j <= nt; ++j) {
      strain_col[j - 1] = &de(k0, j);
      old_col[j - 1] = &sold(k0, j);
    }
    if (m < chunk) {
      for (int j = 0; j < nt; ++j) {
        std::fill(std::copy_n(strain_col[j], m, pad_e[j]), pad_e[j] + chunk, 0.0);
        std::fill(std::copy_n(old_col[j], m, pad_old[j]), pad_old[j] + chunk, 0.0);
        strain_col[j] = pad_e[j];
        old_col[j] = pad_old[j];
      }
      std::fill(std::copy_n(rho, m, pad_rho), pad_rho + chunk, 1.0);
      rho = pad_rho;
    }
    // Shear increments arrive as tensor components: doubled to engineering.
    for (int j = 0; j < nt; ++j) {
      const double f = j >= first_shear ? 2.0 : 1.0;
      const double* src = strain_col[j];
      for (int k = 0; k < chunk; ++k) e[j][k] = f * src[k];
    }
    for (int i = 1; i <= nt; ++i) {
      double* out = ds[i - 1];
      bool started = false;
      for (int j = 1; j <= nt; ++j) {
        // Zero entries (the normal-shear coupling of an on-axis ply) are
        // skipped, as the library's matrix products skip them.
        const double dij = d(i, j);
        if (dij == 0.0) continue;
        const double* ej = e[j - 1];
        if (started) {
          for (int k = 0; k < chunk; ++k) out[k] += dij * ej[k];
        } else {
          for (int k = 0; k < chunk; ++k) out[k] = 0.0 + dij * ej[k];
          started = true;
        }
      }
      if (!started) std::fill_n(out, chunk, 0.0);
    }
    if (thickness) {
      for (int k = 0; k < m; ++k) {
        de(k0 + k, 3) = GetPlaneStressEpsZZ(&e3, &nu31, &nu32, &ds[0][k], &ds[1][k]);
        e[2][k] = de(k0 + k, 3);
      }
    }
    for (int k = 0; k < chunk; ++k) w[k] = 0.0;
    for (int i = 0; i < nt; ++i) {
      // The whole old column is read before the new one is written: the
      // two may share storage.
      const double* old = old_col[i];
      for (int k = 0; k < chunk; ++k) {
        s[k] = old[k] + ds[i][k];
        w[k] += (s[k] + old[k]) * e[i][k];
      }
      std::copy_n(s, m, &snew(k0, i + 1));
    }
    for (int k = 0; k < chunk; ++k) w[k] = 0.5 * w[k] / rho[k];
    for (int k = 0; k < m; ++k) enerinternnew[k0 + k - 1] = enerinternold[k0 + k - 1] + w[k];
  }
}

TAVRIN_USERMAT_ENTRY(usermat_lamina, umat_lamina)

void upermat_lamina(double* stressnew, double* statenew, const double* stressold,
                    const double* stateold, const double* straininc, const double* props,
                    const double* steptime, const double* totaltime, const double* dt,
                    const int* matid, const int* npoint, const int* ndir, const int* nshr,
                    const int* nstatev, const int* nprops) {
  tavrin::c_boundary(__func__, [&] {
    abq_umat_to_peridigm_upermat(umat_lamina, stressnew, statenew, stressold, stateold, straininc, props,
                                 steptime, totaltime, dt, matid, npoint, ndir, nshr, nstatev, nprops);
  });
}

void hypela_lamina(double* d, double* g, const double* /*e*/, const double* /*de*/, double* s,
                   const double* /*t*/, const double* /*dt*/, const int* ngens, const int* /*n*/,
                   const int* /*nn*/, const int* /*kcus*/, const int* /*matus*/, const int* /*ndi*/,
                   const int* /*nshear*/, const double* /*disp*/, const double* /*dispt*/,
                   const double* /*coord*/, const double* /*ffn*/, const double* /*frotn*/,
                   const double* /*strechn*/, const double* /*eigvn*/, const double* /*ffn1*/,
                   const double* /*frotn1*/, const double* /*strechn1*/, const double* /*eigvn1*/,
                   const int* /*ncrd*/, const int* /*itel*/, const int* /*ndeg*/, const int* /*ndm*/,
                   const int* /*nnode*/, const int* /*jtype*/, const int* /*lclass*/,
                   const int* /*ifr*/, const int* /*ifu*/, const int* /*nstats*/,
                   const int* /*isunit*/, const int* /*idata*/, const double* /*rdata*/,
                   const char* /*cdata*/, const int* /*len_idata*/, const int* /*len_rdata*/,
                   const int* /*len_cdata*/, int* error_code) {
  *error_code = 0;
  const int n = std::max(*ngens, 0);
  std::fill_n(d, std::size_t(n) * std::size_t(n), 0.0);
  std::fill_n(g, n, 0.0);
  std::fill_n(s, n, 0.0);
}
}
