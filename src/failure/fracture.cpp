#include "failure/fracture.hpp"

#include <span>

#include "foundation/errorhandling.hpp"
#include "mechanics/ply_rotation.hpp"

extern "C" {

void GetEquivalentMixedModeERR(double* geq, const double* traction, const double* gc, const int* n) {
  if (*n < 3) {
    tavrin::xerr(-2, "GetEquivalentMixedModeERR: fewer than 3 critical rates", std::span<const int>(n, 1));
    *geq = 0.0;
    return;
  }
  const double t1 = traction[0], t2 = traction[1], t3 = traction[2];
  const double norm2 = t1 * t1 + t2 * t2 + t3 * t3;
  if (norm2 == 0.0) {
    *geq = gc[0];
    return;
  }
  double weighted;
  if (*n == 4)
    weighted = (t1 > 0.0 ? gc[0] : t1 < 0.0 ? gc[1] : 0.0) * t1 * t1 + gc[2] * t2 * t2 + gc[3] * t3 * t3;
  else
    weighted = gc[0] * t1 * t1 + gc[1] * t2 * t2 + gc[2] * t3 * t3;
  *geq = weighted / norm2;
}

void GetCrackStatus(int* crckstatus, const double* svoigt, const double* nrot, const double* phi,
                    const int* baseid) {
  *crckstatus = 1;
  if (*baseid < 1 || *baseid > 3) return;
  // Voigt 11, 22, 33, 23, 13, 12 handed over component by component.
  double tv[3];
  GetTVectorFromArbitraryRotation(tv, phi, nrot, &svoigt[0], &svoigt[1], &svoigt[2], &svoigt[5],
                                  &svoigt[4], &svoigt[3], baseid);
  if (tv[0] < 0.0) *crckstatus = -1;
}
}
