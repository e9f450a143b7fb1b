#include <cmath>

#include "foundation/format_record.hpp"
#include "foundation/boundary.hpp"
#include "foundation/timestamp.hpp"
#include "pchip/quickcheck.hpp"
#include "pchip/runtime.hpp"

namespace tavrin::pchip {
namespace {

// The generator's state: high and low 11-bit halves.
struct RandomState {
  int ix0 = 0, ix1 = 0;
};
RandomState& random_state() {
  static RandomState state;
  return state;
}

}  // namespace

bool comp(int ieract, int ierexp, int lout, int kprint) {
  return tavrin::c_boundary_value(__func__, [&]() -> bool {
    static const io::Format ok("(a)"), failed("(a,i5)");
    const bool same = ieract == ierexp;
    if (kprint >= 3) {
      if (same) io::write_formatted(lout, ok, {"     OK."});
      else io::write_formatted(lout, failed, {"  COMPARE FAILED -- IERR = ", ieract});
    }
    return same;
  });
}

void dfdtru(double x, double& f, double& d) {
  const double xx = x;
  const double fact1 = xx + 1;
  const double fact2 = xx - 2;
  f = (xx * fact1) * fact2;
  d = (fact1 + fact2) * xx + fact1 * fact2;
}

void fdtrue(float x, float& f, float& d) {
  double fd, dd;
  dfdtru(double(x), fd, dd);
  f = float(fd);
  d = float(dd);
}

float pchip_rand(float r) {
  // state' = (ia state + ic) mod 2^22 on 11-bit halves, in 32-bit integers:
  // ia = ia1 2048 + ia0.
  constexpr int ia1 = 1536, ia0 = 1029, ia1ma0 = 507, ic = 1731;
  RandomState& s = random_state();
  if (r > 0.0f) {  // reseed at frac(r)
    int ix = int(std::fmod(r, 1.0f) * 4194304.0f + 0.5f);
    s.ix0 = ix % 2048;
    s.ix1 = (ix - s.ix0) / 2048;
  } else if (r == 0.0f) {  // draw
    int iy0 = ia0 * s.ix0;
    int iy1 = ia1 * s.ix1 + ia1ma0 * (s.ix0 - s.ix1) + iy0;
    iy0 = iy0 + ic;
    s.ix0 = iy0 % 2048;
    iy1 = iy1 + (iy0 - s.ix0) / 2048;
    s.ix1 = iy1 % 2048;
  }
  return float(s.ix1 * 2048 + s.ix0) / 4194304.0f;
}

void reset_pchip_rand() { random_state() = {}; }

int get_unit() {
  for (int unit = 1; unit <= 99; ++unit) {
    if (unit == 5 || unit == 6 || unit == 9) continue;
    if (!unit_connected(unit)) return unit;
  }
  return 0;
}

}  // namespace tavrin::pchip

extern "C" {

int comp(const int* ieract, const int* ierexp, const int* lout, const int* kprint) {
  return tavrin::c_boundary_value(__func__, [&]() -> int {
    return tavrin::pchip::comp(*ieract, *ierexp, *lout, *kprint) ? 1 : 0;
  });
}
void dfdtru(const double* x, double* f, double* d) { tavrin::pchip::dfdtru(*x, *f, *d); }
void fdtrue(const float* x, float* f, float* d) { tavrin::pchip::fdtrue(*x, *f, *d); }
float pchip_rand(const float* r) { return tavrin::pchip::pchip_rand(*r); }
void get_unit(int* iunit) { *iunit = tavrin::pchip::get_unit(); }
void pchip_timestamp() {
  tavrin::c_boundary(__func__, [&] {
    tavrin::io::write_timestamp(tavrin::pchip::standard_output_unit);
  });
}

}
