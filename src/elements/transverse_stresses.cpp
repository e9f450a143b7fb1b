// Transverse stresses of shell elements.
#include "elements/transverse_stresses.hpp"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

#include "elements/element_registry.hpp"
#include "elements/shell_kinematics.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/scratch.hpp"
#include "mechanics/ply_strains.hpp"
#include "mechanics/shear_stiffness.hpp"
#include "mechanics/stress_recovery.hpp"

namespace {

using namespace tavrin;

// Integration points of the element families in natural coordinates.
struct Scheme {
  int nodes = 0;
  int points = 0;
  double weight = 0.0;
  std::array<std::pair<double, double>, 4> at{};
};

constexpr double g = 0.5773502691896257;
constexpr Scheme quad8{8, 4, 0.25, {{{-g, -g}, {g, -g}, {g, g}, {-g, g}}}};
constexpr Scheme tria6{6, 3, 0.3333333333333333,
                       {{{0.16666666667, 0.16666666667}, {0.16666666667, 0.66666666667},
                         {0.66666666667, 0.16666666667}, {0.0, 0.0}}}};

bool all_zero(const double* a, std::ptrdiff_t n) {
  return std::all_of(a, a + n, [](double x) { return x == 0.0; });
}

// The element's scheme by kind; none (0 nodes) when it gets no transverse
// stresses.  Kinds 1 to 3 count as 8-node elements only when their mid-side
// nodes carry coordinates and motion.
Scheme scheme_of(int kind, const double* coords, const double* motion, int ndof, int nnodes) {
  using namespace elements::kind;
  if (kind == shell8r || kind == shell8r5) return nnodes >= 8 ? quad8 : Scheme{};
  if (kind == triangular) return nnodes >= 6 ? tria6 : Scheme{};
  if ((kind == shell4 || kind == shell4r || kind == shell4r5) && nnodes == 8 &&
      !all_zero(coords + 3 * 4, 3 * 4) && !all_zero(motion + std::ptrdiff_t(ndof) * 4, std::ptrdiff_t(ndof) * 4))
    return quad8;
  return {};
}

// The section's F/G table (2·nplies+1, 4) at the curvatures xycurv: the
// flat-plate functions when both are 0.
void section_fg(double* fg, const int* sectionlist, const double* plyorientation, const double* plythickness,
                const double* plyzcoord, const double* plyelastic, int nplies, const double* xycurv) {
  const int one = 1, curved_shell = 1, bending = 1;
  GetArbitrarySectionFG(fg, sectionlist, plyorientation, plythickness, plyzcoord, plyelastic, &nplies, &one,
                        &curved_shell, &bending, xycurv, nullptr);
}

}  // namespace

extern "C" {

void GetShellTransverseStresses(double* tnormalstress, double* tshearstress, const double* nodalcoords,
                                const double* nodesmotion, const double* sestress, const double* sehmatrix,
                                const double* sefmatrix, const double* plyorientation, const double* plythickness,
                                const double* plyzcoord, const double* plyelastic, const int* elemsectionpoints,
                                const double* elemcurvatures, const int* elemkind, const int* sectionlist,
                                const int* elemid, const int* gpid, const int* secid, const int* itnsflag,
                                const int* itshrflag, const int* nplies, const int* nsec, const int* nzcoord,
                                const int* nintpoint, const int* ndof, const int* nnodes, const int* nelem) {
  tavrin::c_boundary(__func__, [&] {
    const int e = *elemid, n = *nplies, nz = *nzcoord, ni = *nintpoint, nd = *ndof, nn = *nnodes;
    const int nspt = (e >= 1 && e <= *nelem) ? elemsectionpoints[e - 1] : 0;
    const bool inside = e >= 1 && e <= *nelem && *gpid >= 1 && *gpid <= 4 && *secid >= 1 && *secid <= *nsec &&
                        n >= 1 && nz == 2 * n + 1 && nspt >= 1 && ni >= std::ptrdiff_t(nspt) * n && nd >= 1 &&
                        nn >= 1;
    if (!inside) {
      const std::array<int, 4> detail{e, *gpid, *secid, nspt};
      xerr(-3, "Element, point or section outside the transverse-stress tables.", detail);
      return;
    }
    const std::ptrdiff_t col = e - 1, sec = *secid - 1;
    const double* coords = nodalcoords + 3 * std::ptrdiff_t(nn) * col;
    const double* motion = nodesmotion + std::ptrdiff_t(nd) * nn * col;
    const Scheme scheme = scheme_of(elemkind[col], coords, motion, nd, nn);
    if (scheme.nodes == 0 || *gpid > scheme.points) return;
    const int inodes = scheme.nodes;

    std::array<double, 40> u{};
    GetDisplacementVector(u.data(), motion, &inodes, &nd);
    if (all_zero(u.data(), 40)) return;

    // Principal curvatures, larger first.
    std::array<double, 2> kappa{elemcurvatures[2 * col], elemcurvatures[2 * col + 1]};
    if (kappa[0] < kappa[1]) std::swap(kappa[0], kappa[1]);
    const bool curved = kappa[0] != 0.0 || kappa[1] != 0.0;
    const double* h = sehmatrix + 4 * sec;
    const double* z = plyzcoord + nz * sec;
    const double* angles = plyorientation + n * sec;
    const double* thick = plythickness + n * sec;
    const double* elastic = plyelastic + 9 * std::ptrdiff_t(n) * sec;
    const int* plies = sectionlist + n * sec;
    const int rows = 2 * n + 1;

    double* s33 = tnormalstress + std::ptrdiff_t(nz) * col;
    if (*itnsflag != 0 && all_zero(s33, nz)) {
      // Shear-force derivatives: at the centre, or summed over the points.
      std::array<double, 2> rdx{}, rdy{};
      const bool centre = *itnsflag == 2 && inodes == 8;
      const int npoints = centre ? 1 : scheme.points;
      for (int p = 0; p < npoints; ++p) {
        const double xi = centre ? 0.0 : scheme.at[std::size_t(p)].first;
        const double eta = centre ? 0.0 : scheme.at[std::size_t(p)].second;
        const double w = centre ? 1.0 : scheme.weight;
        std::array<double, 2> dx{}, dy{};
        ShellxDerivShearForces(dx.data(), u.data(), h, coords, &inodes, &xi, &eta);
        ShellyDerivShearForces(dy.data(), u.data(), h, coords, &inodes, &xi, &eta);
        for (int i = 0; i < 2; ++i) {
          rdx[std::size_t(i)] += w * dx[std::size_t(i)];
          rdy[std::size_t(i)] += w * dy[std::size_t(i)];
        }
      }
      Scratch<double, 64> result(rows);
      if (!curved) {
        GetNormalStressFromBottom(result.data(), rdx.data(), rdy.data(), z, sefmatrix + 4 * std::ptrdiff_t(nz) * sec,
                                  &n);
      } else {
        Scratch<double, 256> fg(4 * std::ptrdiff_t(rows));
        section_fg(fg.data(), plies, angles, thick, z, elastic, n, kappa.data());
        GetNormalStressFromBottom(result.data(), rdx.data(), rdy.data(), z, fg.data(), &n);
        // Membrane part: the four stored section-stress sets of the element.
        Scratch<double, 384> sbt(12 * std::ptrdiff_t(n));
        Scratch<double, 64> component(2 * std::ptrdiff_t(n)), integral(rows), membrane(rows);
        Scratch<int, 32> counts(n), threes(n);
        std::fill_n(counts.data(), n, nspt);
        std::fill_n(threes.data(), n, 3);
        std::fill_n(membrane.data(), rows, 0.0);
        const int used = nspt * n;
        for (int set = 0; set < 4; ++set) {
          GetPlyBottomTopStress(sbt.data(), sestress + 6 * std::ptrdiff_t(ni) * (set + 4 * col), counts.data(), &used,
                                &n);
          // σ11 with (κ1, κ2), σ22 with (κ2, κ1).
          for (const auto& [c, ki, kj] : {std::tuple{0, kappa[0], kappa[1]}, std::tuple{1, kappa[1], kappa[0]}}) {
            for (int j = 0; j < 2 * n; ++j) component[std::size_t(j)] = sbt[std::size_t(6 * j + c)];
            GetIntegralOfMembraneNormalStress(integral.data(), component.data(), z, threes.data(), &ki, &kj, &rows,
                                              &n);
            for (int r = 0; r < rows; ++r) membrane[std::size_t(r)] += integral[std::size_t(r)];
          }
        }
        for (int r = 0; r < rows; ++r) result[std::size_t(r)] += scheme.weight * membrane[std::size_t(r)];
      }
      std::copy_n(result.data(), rows, s33);
    }

    double* tau = tshearstress + std::ptrdiff_t(ni) * 2 * (*gpid - 1 + 4 * col);
    if (*itshrflag != 0 && all_zero(tau, 2 * std::ptrdiff_t(ni))) {
      const auto [xi, eta] = scheme.at[std::size_t(*gpid - 1)];
      std::array<double, 320> b{};
      ShellBMatrix(b.data(), coords, &inodes, &xi, &eta);
      // Transverse shear strains (γyz, γxz): rows 7 and 8 of B·u.
      double gyz = 0.0, gxz = 0.0;
      for (int k = 0; k < 40; ++k) {
        gyz += b[std::size_t(6 + 8 * k)] * u[std::size_t(k)];
        gxz += b[std::size_t(7 + 8 * k)] * u[std::size_t(k)];
      }
      const std::array<double, 2> q{h[0] * gyz + h[2] * gxz, h[1] * gyz + h[3] * gxz};
      Scratch<double, 256> fg(4 * std::ptrdiff_t(rows));
      section_fg(fg.data(), plies, angles, thick, z, elastic, n, kappa.data());
      const int used = nspt * n;
      Scratch<double, 256> xytss(2 * std::ptrdiff_t(used));
      GetExt2DShearStress(xytss.data(), q.data(), angles, fg.data(), &nspt, &n);
      std::copy_n(xytss.data(), used, tau);
      std::copy_n(xytss.data() + used, used, tau + ni);
    }
  });
}

}  // extern "C"
