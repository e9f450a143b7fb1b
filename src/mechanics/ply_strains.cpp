#include "mechanics/ply_strains.hpp"

#include <algorithm>
#include <cstdint>

#include "foundation/boundary.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/scratch.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::laminate {

int SectionTables::plies(int sec) const {
  const int* column = list + std::ptrdiff_t(sec - 1) * nplies;
  const int* end = column + nplies;
  if (std::all_of(column, end, [this](int id) { return id == defint; })) return -1;
  return int(std::find(column, end, defint) - column);
}

bool SectionTables::has_elastic_constants(int sec, int count) const {
  const double* p = elastic + 9 * std::ptrdiff_t(sec - 1) * nplies;
  return std::any_of(p, p + 9 * std::ptrdiff_t(count), [](double v) { return v != 0.0; });
}

void section_z(const Stack& s, double* z) {
  for_each_ply(s, 0.0, [&](int k, double zb, double zt) {
    z[2 * k - 2] = zb;
    z[2 * k - 1] = zb + 0.5 * s.thickness(k);
    z[2 * k] = zt;
  });
}

double decoupling_angle_d(const Stack& s) {
  const int n = s.size();
  if (n == 0) return 0.0;
  if (n == 1) return s.angle_d(1);
  const double h = s.total_thickness();
  const double eref = std::max(s.properties(1)[0], s.properties(1)[1]);
  // Group angles and weights, in the order the groups open; ply 1 opens
  // the first.
  Scratch<double, 32> angle(n), weight(n);
  angle[0] = s.angle_d(1);
  weight[0] = 0.0;
  int groups = 1;
  for (int k = 1; k <= n; ++k) {
    const double theta = s.angle_d(k);
    int g = 0;
    while (g < groups) {
      const double a = angle[std::size_t(g)];
      if (a == theta || a + 90.0 == theta || a - 90.0 == theta || a + 180.0 == theta ||
          a - 180.0 == theta)
        break;
      ++g;
    }
    if (g == groups) {
      angle[std::size_t(g)] = theta;
      weight[std::size_t(g)] = 0.0;
      ++groups;
    }
    const double* p = s.properties(k);
    const double emax = std::max(p[0], p[1]), emin = std::min(p[0], p[1]);
    weight[std::size_t(g)] += (emax - emin) / emin * (s.thickness(k) / h) * emax / eref;
  }
  int best = 0;
  for (int g = 1; g < groups; ++g)
    if (weight[std::size_t(g)] > weight[std::size_t(best)]) best = g;
  return angle[std::size_t(best)];
}

}  // namespace tavrin::laminate

namespace {
namespace lm = tavrin::laminate;
using tavrin::Mat3;
using tavrin::Vec3;
using tavrin::Vec6;
using tavrin::View;

}  // namespace

extern "C" {

void GetSectionZCoord(double* plyzcoord, const int* sectionlist, const double* plythickness,
                      const int* nplies, const int* nsec, const int* defint) {
  const int rows = lm::section_rows(*nplies);
  const View<double, 2> z(plyzcoord, rows, *nsec);
  std::fill(z.begin(), z.end(), 0.0);
  const lm::SectionTables t{sectionlist, nullptr, plythickness, nullptr, std::max(*nplies, 0), *nsec,
                            defint ? *defint : lm::undefined_ply};
  for (int sec = 1; sec <= t.nsec; ++sec) {
    const int nlay = t.plies(sec);
    if (nlay > 0) lm::section_z(t.stack(sec, nlay), &z(1, sec));
  }
}

void GetPlyStrain(double* plystrain, const double* se, const double* plyzcoord, const int* nzcrd) {
  const Vec6 e = Vec6::load(se);
  for (int i = 0; i < *nzcrd; ++i) lm::strain_at(e, plyzcoord[i]).store(plystrain + 3 * std::ptrdiff_t(i));
}

void GetSectionStrain(double* plystrain, const double* se, const double* plyorientation,
                      const double* plythickness, const int* nplies, const double* reference) {
  tavrin::c_boundary(__func__, [&] {
    const lm::Stack s(nullptr, plyorientation, plythickness, *nplies);
    const int n = s.size();
    const Vec6 e = Vec6::load(se);
    const double r = reference ? *reference : 0.0;
    tavrin::Scratch<double, 2 * 64 + 1> z(2 * std::ptrdiff_t(n) + 1);
    lm::section_z(s, z.data());
    for (int k = 1; k <= n; ++k) {
      // The laminate strains turned to the axes of ply k.
      const Mat3 t = tavrin::lamina::plane_transformation(s.angle_r(k), tavrin::lamina::Form::strain);
      for (int m = 0; m < 3; ++m)
        (t * lm::strain_at(e, z[std::size_t(2 * k - 2 + m)] - r)).store(plystrain + 3 * (3 * std::ptrdiff_t(k - 1) + m));
    }
  });
}

void GetPlyBottomTopStress(double* sbt, const double* sestress, const int* plysectionpoint,
                           const int* nzcrd, const int* nplies) {
  const int n = std::max(*nplies, 0), npoints = *nzcrd;
  const View<double, 2> out(sbt, 6, 2 * n);
  std::fill(out.begin(), out.end(), 0.0);
  if (n == 0 || npoints < 1) return;
  if (std::any_of(plysectionpoint, plysectionpoint + n, [](int c) { return c < 1; })) {
    tavrin::latch_failure(tavrin::status_invalid,
                          "Section point count below 1 in GetPlyBottomTopStress");
    return;
  }
  const View<const double, 2> s(sestress, 6, npoints);
  const auto copy = [&](int column, int point) {
    for (int i = 1; i <= 6; ++i) out(i, column) = s(i, point);
  };
  copy(1, 1);
  copy(2 * n, npoints);
  if (npoints < 3) return;
  // The top of ply p is its last point, cum(p) = count(1) + ... + count(p),
  // the next point the bottom of ply p+1.  The top of the last ply is the
  // last point, whatever the counts sum to.
  std::int64_t cum = 0;
  for (int p = 1; p < n; ++p) {
    cum += plysectionpoint[p - 1];
    if (cum > npoints - 1) break;
    copy(2 * p, int(cum));
    copy(2 * p + 1, int(cum) + 1);
  }
}

double GetDecoupAngle(const double* plyelastic, const double* plyorientation,
                      const double* plythickness, const int* nplies) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    return lm::decoupling_angle_d({plyelastic, plyorientation, plythickness, *nplies});
  });
}

double GetdAngle(const double* plyorientation, const int* luflag, const int* iply, const int* nplies) {
  const int k = *iply, n = *nplies;
  if ((*luflag != 0 && *luflag != 1) || k < 1 || k > n) {
    tavrin::latch_failure(tavrin::status_invalid,
                          "Error: Default case in GetdAngle. Please check your input parameters.");
    return 0.0;
  }
  if (*luflag == 0) return k == 1 ? 0.0 : plyorientation[k - 1] - plyorientation[k - 2];
  return k == n ? 0.0 : plyorientation[k - 1] - plyorientation[k];
}

}  // extern "C"
