// Module dg8: growth of a buckled elliptical delamination under an
// increasing in-plane strain.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "delamination/dg8.hpp"
#include "failure/sublaminate.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/strings.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/laminate_stiffness.hpp"
#include "mechanics/ply_rotation.hpp"

namespace {

// The solver's settings in every increment and growth step.
constexpr double newton_tolerance = 1e-15;
constexpr int newton_iterations = 150;

// Latches a failure of the analysis with its message cut to the latch's
// 80 characters.
void report(std::string_view message) {
  tavrin::xerr(-2, message.substr(0, std::min<std::size_t>(message.size(), 80)),
               std::array<int, 2>{}, std::array<double, 2>{});
}

std::string iteration_limit() {
  std::array<char, 12> text;
  int istat = 0;
  tavrin::stringhandling::int2str(newton_iterations, text, istat, int(text.size()));
  std::string s(text.data(), text.size());
  return s.substr(0, s.find_last_not_of(' ') + 1);
}

}  // namespace

extern "C" void DelaminationGrowthAnalysis(double* success, double* strains, const double* limstrain,
                                           const double* relstrain, const double* plyelastic,
                                           const double* plyorientation, const double* plythickness,
                                           const double* delamination, const int* sublamstack,
                                           const double* kmd, const double* gamma,
                                           const double* width, const double* radius,
                                           const int* ninc, const int* nprec, const int* nplies) {
  tavrin::c_boundary(__func__, [&] {
    *success = 0.0;
    std::fill(strains, strains + 3, 0.0);
    // The applied strain at load level eps is eps * relstrain.  A range whose
    // levels fall is the same loading as the rising range of the negated levels
    // under the negated ratio; the analysis runs that form, and its strains
    // (levels times the ratio's first entry) are the same either way.
    const double sign = limstrain[1] < limstrain[0] ? -1.0 : 1.0;
    const std::array<double, 2> lim{sign * limstrain[0], sign * limstrain[1]};
    const std::array<double, 3> load{sign * relstrain[0], sign * relstrain[1], sign * relstrain[2]};
    // Without a positive number of increments over a finite range the load
    // would never reach the end of the range.
    if (*ninc < 1 || !std::isfinite(lim[0]) || !std::isfinite(lim[1])) {
      report("Error: Load increments need ninc >= 1 and a finite Eps_Start and Eps_End!");
      return;
    }
    const int first = sublamstack[0], last = sublamstack[1];
    if (first < 1 || last < first || last > *nplies) {
      report("Error: Sublaminate plies outside the laminate!");
      return;
    }

    // The sublaminate above the delamination and its stiffness.
    const int nsub = last - first + 1;
    const double* elastic = plyelastic + 9 * std::ptrdiff_t(first - 1);
    const double* orientation = plyorientation + (first - 1);
    const double* thickness = plythickness + (first - 1);
    std::array<double, 9> am, bm, dm;
    std::array<double, 36> abd;
    GetAMatrix(am.data(), elastic, orientation, thickness, &nsub);
    GetBMatrix(bm.data(), elastic, orientation, thickness, &nsub);
    GetDMatrix(dm.data(), elastic, orientation, thickness, &nsub);
    GetABDMatrix(abd.data(), am.data(), bm.data(), dm.data());

    // Its linear buckling strain and mode under the laminate's load ratio.
    double a = delamination[0], b = delamination[1];
    const double phi = delamination[2];
    double epsbuck = 0.0, nx = 0.0;
    std::array<double, 6> mode{};
    const int ellipse = 1;
    GetSubLamBucklingStrain(&epsbuck, &nx, mode.data(), delamination, load.data(), elastic, orientation,
                            thickness, &ellipse, &nsub);

    // The load ratio in the ellipse frame and the energy per area it stores.
    std::array<double, 9> t;
    const double angle = phi * std::numbers::pi / 180.0;
    const int tdim = 3, ttype = 0, tflag = 1;
    GetNyeTransformationMatrix(t.data(), &angle, &tdim, &ttype, &tflag);
    std::array<double, 3> rel{};
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) rel[i] += t[i + 3 * j] * load[std::size_t(j)];
    double g0 = 0.0;
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) g0 += 0.5 * rel[i] * am[i + 3 * j] * rel[j];

    // Start from a small deflection in the shape of the buckling mode.
    std::array<double, 8> sol{};
    sol[4] = 1e-6;
    if (mode[0] != 0.0)
      for (int k = 1; k < 4; ++k) sol[4 + k] = 1e-6 * mode[2 + k] / mode[0];

    const double step0 = (lim[1] - lim[0]) / *ninc;
    double eps = lim[0], step = step0;
    bool found = false;
    double buckling_strain = 0.0, growth_strain = 0.0;
    bool grown = false;
    double prev_r1 = 0.0, prev_dr1 = 0.0, prev_ratio = 1.0;
    const std::string limit = iteration_limit();

    if (lim[1] > lim[0]) {
      std::string_view failure;
      std::string message;
      for (int nli = 1;; ++nli) {
        const int w = found ? 1 : 0;
        double nrerr = 0.0;
        NewtonRaphson8(sol.data(), &nrerr, &a, &b, kmd, &g0, &eps, &epsbuck, rel.data(), abd.data(),
                       &newton_tolerance, &newton_iterations, nprec, &w);
        if (!(nrerr <= newton_tolerance)) {
          *success = -1.0;
          message = "Error: No convergence in load increment iteration! Error after " + limit +
                    " iterations. Try increasing number of load increments" +
                    " and/or decreasing Eps_Start and Eps_End parameter.";
          failure = message;
          break;
        }
        double norm = 0.0;
        for (double v : sol) norm += v * v;
        if (!(std::sqrt(norm) >= 1e-10) && nli > 3) {
          *success = -2.0;
          failure = "Error: Encountered trivial solution! Try playing with Eps_Start parameter and/or";
          break;
        }
        double serr = 0.0, fa = 1.0, fb = 1.0;
        GetEnergyReleaseRate8(&serr, &fa, &fb, sol.data(), &a, &b, kmd, &g0, &eps, &epsbuck,
                              rel.data(), abd.data(), nprec, &w, nullptr, nullptr);

        // Grow the semi-axis with the larger release rate while it exceeds the
        // toughness; the analysis ends when the ellipse outgrows its bounds
        // (or the bounds are not numbers).
        bool outgrown = false;
        while (serr > *gamma) {
          a *= fa;
          b *= fb;
          std::array<double, 2> box;
          GetBoundingBoxFromEllipse(box.data(), &a, &b, &phi);
          if (!(a <= *radius && b <= *radius && 2.0 * box[1] < *width)) {
            outgrown = true;
            break;
          }
          if (!grown) {
            grown = true;
            growth_strain = eps;
          }
          NewtonRaphson8(sol.data(), &nrerr, &a, &b, kmd, &g0, &eps, &epsbuck, rel.data(), abd.data(),
                         &newton_tolerance, &newton_iterations, nprec, &w);
          if (!(nrerr <= newton_tolerance)) {
            *success = -3.0;
            report("Error: No convergence in delamination grow loop! Error after " + limit +
                   " iterations. Try increasing number of " + " load increments.");
            break;
          }
          GetEnergyReleaseRate8(&serr, &fa, &fb, sol.data(), &a, &b, kmd, &g0, &eps, &epsbuck,
                                rel.data(), abd.data(), nprec, &w, nullptr, nullptr);
        }
        if (outgrown) break;

        // Buckling shows as a drop of the load-deflection slope; the step
        // shrinks when the deflection accelerates and recovers towards the
        // initial step when it slows.
        const double dr1 = sol[4] - prev_r1;
        const double ratio = step / dr1;
        if (nli > 5) {
          if (!found && ratio > prev_ratio) {
            found = true;
            buckling_strain = eps;
          }
          const double q = prev_dr1 / dr1;
          if (q < 0.9)
            step *= 0.9;
          else if (q > 1.0 && 1.1 * step < step0)
            step *= 1.1;
        }
        const double next = eps + step;
        if (!(next > eps)) {
          // The step has shrunk below the resolution of the load level.
          *success = -1.0;
          failure = "Error: Load increment vanished before Eps_End was reached!";
          break;
        }
        eps = next;
        if (!(eps < lim[1])) break;
        prev_r1 = sol[4];
        prev_dr1 = dr1;
        prev_ratio = ratio;
      }
      if (!failure.empty()) report(failure);
    }

    if (*success == 0.0) *success = 1.0;
    strains[0] = epsbuck * load[0];
    strains[1] = buckling_strain * load[0];
    strains[2] = growth_strain * load[0];
  });
}
