#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "failure/damage.hpp"
#include "failure/sublaminate.hpp"
#include "foundation/boundary.hpp"
#include "foundation/datahandling.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/products.hpp"
#include "foundation/scratch.hpp"
#include "foundation/shapes.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/transforms.hpp"

namespace tavrin::damage {
namespace {

constexpr int ellipse = 1;

// The frame of a ply: columns 1 and 2 of refcos turned about column 3 by
// the ply angle; column 3 kept, or (cross) their cross product.
std::array<double, 9> ply_frame(const double* refcos, double plyangle_d, bool cross) {
  std::array<double, 9> f{};
  const double* n = refcos + 6;
  CoordinateRotation(n, refcos, f.data(), &plyangle_d);
  CoordinateRotation(n, refcos + 3, f.data() + 3, &plyangle_d);
  if (cross) {
    const double* u = f.data();
    const double* v = f.data() + 3;
    f[6] = u[1] * v[2] - u[2] * v[1];
    f[7] = u[2] * v[0] - u[0] * v[2];
    f[8] = u[0] * v[1] - u[1] * v[0];
  } else {
    std::copy(n, n + 3, f.begin() + 6);
  }
  return f;
}

// Origin and angle of damage idmg: entries 1-3 of its dmgplane column and
// the last given entry; fewer than four given (or none) mean angle 0.
struct Plane {
  std::array<double, 3> origin{};
  double angle = 0.0;
};
Plane damage_plane(int idmg) {
  Plane p;
  const auto& table = damagedata::dmgplane;
  if (!table.allocated() || idmg > table.size(2)) return p;
  const int n = table.size(1);
  const double* col = table.data() + std::ptrdiff_t(idmg - 1) * n;
  int given = 0;
  while (given < n && col[given] != not_given) ++given;
  for (int i = 0; i < std::min(given, 3); ++i) p.origin[std::size_t(i)] = col[i];
  if (given >= 4) p.angle = col[given - 1];
  return p;
}

// Half-axes (rows 1, 2) of column (ply, idmg) of a mode descriptor, or null
// when it has none.
const double* half_axes(const Allocatable<double, 3>& dds, int ply, int idmg) {
  if (!dds.allocated() || dds.size(1) < 2 || ply < 1 || ply > dds.size(2) || idmg < 1 || idmg > dds.size(3))
    return nullptr;
  return dds.data() + (std::ptrdiff_t(idmg - 1) * dds.size(2) + (ply - 1)) * dds.size(1);
}

bool all_zero(const Allocatable<double, 4>& a) {
  return std::all_of(a.begin(), a.end(), [](double x) { return x == 0.0; });
}

// The buckling lists of every damage and section from the delamination
// descriptors (elliptic delaminations, each interface's angle the ply
// angle of the section whose index is the damage's), sized
// (·, nplies-1, ndmg, nsec) afresh when they are missing or sized otherwise.
// Nothing is built while a section table it needs is missing.
void build_buckling_data() {
  using namespace sectiondata;
  const int np = nplies, ns = nsec, nd = damagedata::ndmg;
  const int ncols = np - 1;
  auto& delam = damagedata::delamdds;
  const auto& elastic = materialdata::peprops;
  const auto has = [&](const AllocatableBase& a, std::initializer_list<int> e) {
    if (!a.allocated()) return false;
    int k = 1;
    for (const int x : e)
      if (a.size(k++) < x) return false;
    return true;
  };
  if (ncols < 1 || ns < 1 || nd < 1 || !has(delam, {3, ncols, nd}) || !has(elastic, {9, np, ns}) ||
      !has(plyorientation, {np, ns}) || !has(plythickness, {np, ns}) || !has(materialdata::matidlist, {np, ns}) ||
      !has(xcstrength, {ns}))
    return;
  for (auto* list : {static_cast<AllocatableBase*>(&bukdata::bukrealdatalist),
                     static_cast<AllocatableBase*>(&bukdata::bukintdatalist)}) {
    const int rows = list == &bukdata::bukrealdatalist ? 12 : 4;
    const std::array<int, 4> want{rows, ncols, nd, ns};
    if (!list->allocated() || !std::equal(want.begin(), want.end(), list->extents().begin()))
      list->allocate_raw(want);
  }
  // Interface angles from the section of the same index, where one exists.
  for (int j = 1; j <= std::min(nd, ns); ++j)
    for (int k = 1; k <= ncols; ++k) delam(3, k, j) = plyorientation(k, j);

  // Compact copies in the layouts the analysis takes.
  std::vector<double> dds(3 * std::size_t(ncols) * nd), props(9 * std::size_t(np) * ns);
  std::vector<double> angles(std::size_t(np) * ns), thick(std::size_t(np) * ns);
  std::vector<int> ids(std::size_t(np) * ns), shapes(std::size_t(ncols) * nd, ellipse);
  for (int j = 1; j <= nd; ++j)
    for (int k = 1; k <= ncols; ++k)
      for (int i = 1; i <= 3; ++i) dds[std::size_t(i - 1 + 3 * (k - 1 + ncols * (j - 1)))] = delam(i, k, j);
  for (int s = 1; s <= ns; ++s)
    for (int k = 1; k <= np; ++k) {
      const std::size_t at = std::size_t(k - 1 + np * (s - 1));
      for (int i = 1; i <= 9; ++i) props[9 * at + std::size_t(i - 1)] = elastic(i, k, s);
      angles[at] = plyorientation(k, s);
      thick[at] = plythickness(k, s);
      ids[at] = materialdata::matidlist(k, s);
    }
  GetBukDataFromDDS(bukdata::bukrealdatalist.data(), bukdata::bukintdatalist.data(), dds.data(), shapes.data(),
                    xcstrength.data(), props.data(), angles.data(), thick.data(), ids.data(), &nd, &np, &ns,
                    nullptr);
}

}  // namespace

void getextentofprojecteddamage(double* halfaxis, const double* gpcoords, const double* refcoords,
                                const double* refcos, const double* theta, const double* mdmg) {
  if (!(*mdmg >= 1.0)) return;
  const double d[3] = {gpcoords[0] - refcoords[0], gpcoords[1] - refcoords[1], gpcoords[2] - refcoords[2]};
  double projected[3], t[9], rot[9];
  CoordinateProjection(refcos, refcos + 3, d, projected, refcoords);
  GetTransformationMatrix(t, refcos, refcos + 3, refcos + 6);
  const double angle_r = *theta * math::deg2rad;
  GetRotationMatrix(rot, refcos + 6, &angle_r);
  double q[3];
  for (int i = 0; i < 3; ++i) q[i] = t[i] * projected[0] + t[i + 3] * projected[1] + t[i + 6] * projected[2];
  for (int k = 0; k < 2; ++k) {
    // r = Rᵀ·q
    const double r = rot[3 * k] * q[0] + rot[3 * k + 1] * q[1] + rot[3 * k + 2] * q[2];
    halfaxis[k] = std::max(halfaxis[k], std::abs(r));
  }
}

}  // namespace tavrin::damage

extern "C" {

int PointInDamage(const double* point, const double* dmgcos, const double* dmgorigin, const double* dmgangle,
                  const double* plyangle, const double* a, const double* b, const int* modeid, const int* dmgid,
                  const int* layid, const int* skip) {
  return tavrin::c_boundary_value(__func__, [&]() -> int {
    using namespace tavrin;
    if (*skip) return 0;
    const auto& pts = damagedata::dmgpoints;
    const auto in_ellipse = [&] {
      const double angle = *dmgangle + *plyangle;
      constexpr int shape = 1;
      return ProjectedPointInShape(point, a, b, &angle, dmgorigin, dmgcos, &shape) ? 1 : 0;
    };
    if (!pts.allocated() || *layid < 1 || *layid > pts.size(2) || *modeid < 1 || *modeid > pts.size(3) ||
        *dmgid < 1 || *dmgid > pts.size(4))
      return in_ellipse();
    const int n = pts.size(1);
    const double* col =
        pts.data() + ((std::ptrdiff_t(*dmgid - 1) * pts.size(3) + (*modeid - 1)) * pts.size(2) + (*layid - 1)) * n;
    int given = 0;
    while (given < n && col[given] != damage::not_given) ++given;
    if (given < 6) return in_ellipse();
    const int npoly = given / 3;
    // The polygon's (x, y) pairs, one row per vertex, in the damage's plane.
    Scratch<double, 64> xy(2 * std::ptrdiff_t(npoly));
    for (int i = 0; i < npoly; ++i) {
      xy[std::size_t(i)] = col[3 * i];
      xy[std::size_t(npoly + i)] = col[3 * i + 1];
    }
    return ProjectedPointInPolygon(point, xy.data(), dmgangle, dmgorigin, dmgcos, &npoly) ? 1 : 0;
  });
}

void GetDamageFromDDS(double* sdv, const double* gpcoords, const double* refcos, const int* ilay,
                      const int* isec) {
  tavrin::c_boundary(__func__, [&] {
    using namespace tavrin;
    using damage::half_axes;
    const int nd = damagedata::ndmg;
    if (nd < 1) return;
    const auto& orient = sectiondata::plyorientation;
    if (!orient.allocated() || *ilay < 1 || *ilay > orient.size(1) || *isec < 1 || *isec > orient.size(2)) {
      xerr(-3, "Ply or section index selects no section table column in GetDamageFromDDS");
      return;
    }
    const int nplies = sectiondata::nplies;
    const double plyangle = orient(*ilay, *isec);
    const std::array<double, 9> frame = damage::ply_frame(refcos, plyangle, false);
    double flag[6];
    std::copy(sdv, sdv + 6, flag);
    double factor = sdv[11];

    for (int idmg = 1; idmg <= nd; ++idmg) {
      const damage::Plane plane = damage::damage_plane(idmg);
      const auto inside = [&](const double* ab, double angle, int mode, int layid, bool skip) {
        const int s = skip ? 1 : 0;
        return PointInDamage(gpcoords, frame.data(), plane.origin.data(), &plane.angle, &angle, &ab[0], &ab[1],
                             &mode, &idmg, &layid, &s) != 0;
      };
      const auto ply_mode = [&](const Allocatable<double, 3>& dds, int mode) {
        if (const double* ab = half_axes(dds, *ilay, idmg); ab && inside(ab, plyangle, mode, *ilay, false))
          flag[mode - 1] = 1.0;
      };
      ply_mode(damagedata::generaldds, 1);
      ply_mode(damagedata::fiberdds, 2);
      ply_mode(damagedata::matrixdds, 3);
      if (damagedata::delamdds.allocated()) {
        if (!bukdata::bukrealdatalist.allocated() || damage::all_zero(bukdata::bukrealdatalist))
          damage::build_buckling_data();
        sdv[11] = 1.0;
        const auto& real = bukdata::bukrealdatalist;
        const auto& ints = bukdata::bukintdatalist;
        const bool lists = real.allocated() && ints.allocated() && real.size(2) >= nplies - 1 &&
                           ints.size(2) >= nplies - 1 && real.size(3) >= idmg && ints.size(3) >= idmg &&
                           real.size(4) >= *isec && ints.size(4) >= *isec;
        for (int k = 1; k <= nplies - 1; ++k) {
          if (const double* ab = half_axes(damagedata::delamdds, k, idmg); ab && inside(ab, plyangle, 4, k, k != *ilay))
            flag[3] = 1.0;
          if (!lists) continue;
          const int m = ints(1, k, idmg, *isec), first = ints(2, k, idmg, *isec), last = ints(3, k, idmg, *isec);
          if (m < 1 || m > nplies - 1 || m > orient.size(1)) continue;
          const double* ab = half_axes(damagedata::delamdds, m, idmg);
          if (ab && inside(ab, orient(m, *isec), 4, m, *ilay < first || *ilay > last)) {
            flag[5] = 1.0;
            factor = real(2, k, idmg, *isec);
          }
        }
      }
      ply_mode(damagedata::coredds, 5);
    }
    for (int k = 0; k < 6; ++k)
      if (flag[k] > sdv[k]) sdv[k] = flag[k];
    if (factor < sdv[11]) sdv[11] = factor;
  });
}

void UpdateDDS(int* ierror, const double* sdv, const double* gpcoords, const double* refcoords,
               const double* refcos, const int* ilay, const int* isec, const int* idmg) {
  tavrin::c_boundary(__func__, [&] {
    using namespace tavrin;
    *ierror = 0;
    const int nplies = sectiondata::nplies, nsec = sectiondata::nsec;
    if (!damagedata::damagedds.allocated()) datahandling::allocatedamagedata(*ierror, nplies, nsec, damagedata::ndmg);
    const auto& orient = sectiondata::plyorientation;
    if (!orient.allocated() || *ilay < 1 || *ilay > std::min(nplies, orient.size(1)) || *isec < 1 ||
        *isec > orient.size(2) || *idmg < 1 || *idmg > damagedata::ndmg) {
      xerr(-3, "Ply, section or damage index selects no table column in UpdateDDS");
      *ierror = 1;
      return;
    }
    const double plyangle = orient(*ilay, *isec);
    const std::array<double, 9> frame = damage::ply_frame(refcos, plyangle, true);
    Allocatable<double, 3>* modes[5] = {&damagedata::generaldds, &damagedata::fiberdds, &damagedata::matrixdds,
                                        &damagedata::delamdds, &damagedata::coredds};
    for (int k = 0; k < 5; ++k) {
      if (k == 3 && *ilay >= nplies) continue;  // no interface above the last ply
      double* ab = const_cast<double*>(damage::half_axes(*modes[k], *ilay, *idmg));
      if (!ab) continue;
      damage::getextentofprojecteddamage(ab, gpcoords, refcoords, frame.data(), &plyangle, &sdv[k]);
    }
  });
}

}  // extern "C"
