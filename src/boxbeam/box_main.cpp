#include "boxbeam/box_main.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "boxbeam/box_data.hpp"
#include "foundation/errorhandling.hpp"

namespace tavrin::boxbeam {

namespace {

// Why the section cannot be analysed, or empty when it can.
std::string section_fault(int& where) {
  using namespace restr;
  where = 0;
  if (!initialized()) return "section data not initialised (call box_initialize first)";
  const int kw = wand::kw, ig = gurt::ig, az = zelle::az;
  if (kw < 1) return "at least one wall is needed (kw >= 1)";
  if (kw > maxwa) return (where = kw), "kw exceeds the wall capacity maxwa";
  if (ig < 0 || ig > maxgu) return (where = ig), "ig outside 0..maxgu";
  if (az < 0 || az > maxze) return (where = az), "az outside 0..maxze";
  for (int k = 1; k <= kw; ++k) {
    const int a = wand::ig1(k), b = wand::ig2(k);
    if (a < 1 || a > ig || b < 1 || b > ig) return (where = k), "wall boom outside 1..ig";
  }
  for (int c = 1; c <= az; ++c) {
    const int n = zelle::iak(c);
    if (n < 1 || n > maxgu) return (where = c), "cell boom count iak outside 1..maxgu";
    for (int j = 1; j <= n; ++j)
      if (zelle::ia(j, c) < 1 || zelle::ia(j, c) > ig) return (where = c), "cell boom ia outside 1..ig";
  }
  if (kw + 1 != ig + az) return (where = kw), "section not connected: kw + 1 must equal ig + az";
  return {};
}

void zero_results() {
  using namespace quer;
  for (double* r : {&bx, &m, &ys, &zs, &yt, &zt, &dyy, &dzy, &dzz, &alpha, &dyyste, &dzzste, &itt,
                    &ymst, &zmst, &ymstac, &zmstac, &iyys, &izys, &izzs, &dt})
    *r = 0.0;
  for (auto* a : {&kraft::nx0, &kraft::nxl2, &kraft::nxl, &kraft::t0, &kraft::tl2, &kraft::tl,
                  &epigam::epigu})
    if (a->allocated()) a->fill(0.0);
  for (auto* a : {&epigam::epi, &epigam::gam})
    if (a->allocated()) a->fill(0.0);
}

// Second-moment integrals of a straight wall of length lk from (h2, h1)
// (y, z relative to the reference point) along (lambda, phi).
struct WallMoments {
  double yy, zz, zy;
};
WallMoments wall_moments(double h1, double h2, double phi, double lambda, double lk) {
  return {(phi * phi / 3.0 + h1 * h1 + h1 * phi) * lk,
          (lambda * lambda / 3.0 + h2 * h2 + h2 * lambda) * lk,
          (phi * lambda / 3.0 + h1 * h2 + 0.5 * (h2 * phi + lambda * h1)) * lk};
}

}  // namespace

void get_equivalent_xsection() {
  int where = 0;
  if (const std::string fault = section_fault(where); !fault.empty()) {
    zero_results();
    const int detail[] = {where};
    xerr(-2, "Box_GetXSection: " + fault, detail);
    return;
  }
  using namespace quer;
  using namespace wand;
  using namespace gurt;
  const double QX = spanug::qqx, MY = spanug::qmy, MZ = spanug::qmz;

  zero_results();
  std::vector<double> lk(std::size_t(kw) + 1), skyk(lk.size()), skzk(lk.size());

  // Axial stiffness, mass and their first moments.
  double sy = 0.0, sz = 0.0;
  for (int i = 1; i <= ig; ++i) {
    bx += bi(i);
    sy += bi(i) * zi(i);
    sz += bi(i) * yi(i);
    m += myi(i);
    yt += myi(i) * yi(i);
    zt += myi(i) * zi(i);
  }
  for (int k = 1; k <= kw; ++k) {
    const double ym = (yk0(k) + yklk(k)) / 2.0, zm = (zk0(k) + zklk(k)) / 2.0;
    const double l = std::sqrt((zklk(k) - zk0(k)) * (zklk(k) - zk0(k)) +
                               (yklk(k) - yk0(k)) * (yklk(k) - yk0(k)));
    lk[std::size_t(k)] = l;
    bx += bk(k) * l;
    m += rhok(k) * l;
    skyk[std::size_t(k)] = zm * l;
    skzk[std::size_t(k)] = l * ym;
    sy += bk(k) * skyk[std::size_t(k)];
    sz += bk(k) * skzk[std::size_t(k)];
    yt += rhok(k) * skzk[std::size_t(k)];
    zt += rhok(k) * skyk[std::size_t(k)];
  }
  ys = sz / bx;
  zs = sy / bx;
  yt /= m;
  zt /= m;

  // Second moments about the stiffness centre; polar mass moment about the
  // centre of mass.
  for (int i = 1; i <= ig; ++i) {
    const double h1 = zi(i) - zs, h2 = yi(i) - ys;
    dyy += bi(i) * h1 * h1;
    dzy += bi(i) * h1 * h2;
    dzz += bi(i) * h2 * h2;
    const double g1 = zi(i) - zt, g2 = yi(i) - yt;
    itt += (g2 * g2 + g1 * g1) * myi(i);
  }
  for (int k = 1; k <= kw; ++k) {
    const double phi = zklk(k) - zk0(k), lambda = yklk(k) - yk0(k), l = lk[std::size_t(k)];
    const WallMoments s = wall_moments(zk0(k) - zs, yk0(k) - ys, phi, lambda, l);
    dyy += bk(k) * s.yy;
    dzy += bk(k) * s.zy;
    dzz += bk(k) * s.zz;
    const WallMoments t = wall_moments(zk0(k) - zt, yk0(k) - yt, phi, lambda, l);
    itt += (t.zz + t.yy) * rhok(k);
  }

  // Principal axes; dyyste is the smaller value when dzz >= dyy.
  const double d = dzz - dyy, w = std::sqrt(4.0 * dzy * dzy + d * d);
  if (d >= 0.0) {
    dyyste = 0.5 * (dzz + dyy - w);
    dzzste = 0.5 * (dyy + dzz + w);
  } else {
    dyyste = 0.5 * (dyy + dzz + w);
    dzzste = 0.5 * (dzz + dyy - w);
  }
  if (std::fabs(d) > 1e-30 * std::fabs(dzy)) alpha = 0.5 * std::atan(2.0 * dzy / d);
  else if (dzy == 0.0) alpha = 0.0;
  else alpha = std::copysign(std::atan(1.0), dzy);  // the limit of the formula as d -> 0+
  const double sa = std::sin(alpha), ca = std::cos(alpha);

  // Axial strains under the section loads, in the principal system.
  const double m1 = MY - QX * zs, m2 = MZ + ys * QX;
  const double mys = ca * m1 + sa * m2, mzs = ca * m2 - sa * m1;
  const auto strain = [&](double y, double z) {
    const double dy = y - ys, dz = z - zs;
    const double zstar = ca * dz - sa * dy, ystar = ca * dy + sa * dz;
    return QX / bx + mys / dyyste * zstar - mzs / dzzste * ystar;
  };
  for (int i = 1; i <= ig; ++i) {
    const double n = strain(yi(i), zi(i)) * bi(i);
    epigam::epigu(i) = bi(i) == 0.0 ? 0.0 : n / bi(i);
  }
  for (int k = 1; k <= kw; ++k) {
    const double ym = (yk0(k) + yklk(k)) / 2.0, zm = (zk0(k) + zklk(k)) / 2.0;
    kraft::nx0(k) = strain(yk0(k), zk0(k)) * bk(k);
    kraft::nxl2(k) = strain(ym, zm) * bk(k);
    kraft::nxl(k) = strain(yklk(k), zklk(k)) * bk(k);
    const bool stiff = std::fabs(bk(k)) >= 1e-9;
    epigam::epi(k, 1) = stiff ? kraft::nx0(k) / bk(k) : 0.0;
    epigam::epi(k, 2) = stiff ? kraft::nxl2(k) / bk(k) : 0.0;
    epigam::epi(k, 3) = stiff ? kraft::nxl(k) / bk(k) : 0.0;
  }
}

std::vector<std::array<std::array<double, 3>, 3>> wall_nodal_forces(int nwalls) {
  using namespace wand;
  using namespace kraft;
  const int n = std::max(0, std::min({nwalls, kw, restr::maxwa}));
  std::vector<std::array<std::array<double, 3>, 3>> p(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    const double dely = (yklk(i) - yk0(i)) / 30.0, delz = (zklk(i) - zk0(i)) / 30.0;
    const double alng = std::sqrt(delz * delz + dely * dely);
    const double na = nx0(i), nm = nxl2(i), ne = nxl(i);
    const double ta = t0(i), tm = tl2(i), te = tl(i);
    const double hi[3] = {2 * tm + 4 * ta - te, 16 * tm + 2 * ta + 2 * te, 4 * te + 2 * tm - ta};
    auto& f = p[std::size_t(i - 1)];
    f[0][0] = (2 * nm + 4 * na - ne) * alng;
    f[1][0] = (2 * ne + 16 * nm + 2 * na) * alng;
    f[2][0] = (4 * ne + 2 * nm - na) * alng;
    for (int j = 0; j < 3; ++j) {
      f[std::size_t(j)][1] = hi[j] * dely;
      f[std::size_t(j)][2] = hi[j] * delz;
    }
  }
  return p;
}

}  // namespace tavrin::boxbeam

extern "C" {
TAVRIN_API void Box_GetXSection() { tavrin::boxbeam::get_equivalent_xsection(); }
TAVRIN_API void KNKRFT(const int* maxw) { (void)tavrin::boxbeam::wall_nodal_forces(maxw ? *maxw : 0); }
}
