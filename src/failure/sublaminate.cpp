#include "failure/sublaminate.hpp"

#include <array>
#include <string_view>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/linalg.hpp"
#include "foundation/scratch.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::sublaminate {
namespace {

// One type of a shape matrix: its upper-triangle entries, all to be
// multiplied by one factor (an exact power of two over an odd integer).
struct Entry {
  int row, col;
  double value;
};
struct Terms {
  double factor;
  int n;
  std::array<Entry, 9> e;
};

// [shape 1..3][type 1..3]
constexpr Terms kg_terms[3][3] = {
    {{1.0, 7, {{{1, 1, 1.0 / 3}, {1, 6, 1.0 / 30}, {2, 2, 1.0 / 10}, {3, 3, 1.0 / 30}, {4, 4, 1.0 / 120}, {5, 5, 1.0 / 40}, {6, 6, 1.0 / 120}}}},
     {1.0, 7, {{{1, 1, 1.0 / 3}, {1, 5, 1.0 / 30}, {2, 2, 1.0 / 30}, {3, 3, 1.0 / 10}, {4, 4, 1.0 / 120}, {5, 5, 1.0 / 120}, {6, 6, 1.0 / 40}}}},
     {1.0, 4, {{{1, 4, -1.0 / 30}, {2, 3, 1.0 / 15}, {4, 5, 1.0 / 120}, {4, 6, 1.0 / 120}}}}},
    {{0.0023093661188899285, 7, {{{1, 1, 429}, {1, 6, 39}, {2, 2, 143}, {3, 3, 39}, {4, 4, 13}, {5, 5, 39}, {6, 6, 9}}}},
     {0.0023093661188899285, 7, {{{1, 1, 429}, {1, 5, 39}, {2, 2, 39}, {3, 3, 143}, {4, 4, 13}, {5, 5, 9}, {6, 6, 39}}}},
     {0.015010879772784534, 4, {{{1, 4, -11}, {2, 3, 11}, {4, 5, 1}, {4, 6, 1}}}}},
    {{0.040634920634920635, 9, {{{1, 1, 35}, {1, 5, 7}, {1, 6, 5}, {2, 2, 21}, {3, 3, 5}, {4, 4, 3}, {5, 5, 11}, {5, 6, 1}, {6, 6, 5.0 / 3}}}},
     {0.040634920634920635, 9, {{{1, 1, 35}, {1, 5, 5}, {1, 6, 7}, {2, 2, 5}, {3, 3, 21}, {4, 4, 3}, {5, 5, 5.0 / 3}, {5, 6, 1}, {6, 6, 11}}}},
     {0.040634920634920635, 4, {{{1, 4, -7}, {2, 3, 7}, {4, 5, 1}, {4, 6, 1}}}}},
};

// [shape 1..3][type 1..5]
constexpr Terms kk_terms[3][5] = {
    {{1.0, 9, {{{1, 1, 4}, {1, 5, 1.0 / 2}, {1, 6, 1.0 / 2}, {2, 2, 5.0 / 2}, {3, 3, 1.0 / 2}, {4, 4, 1.0 / 4}, {5, 5, 27.0 / 20}, {5, 6, 1.0 / 20}, {6, 6, 3.0 / 20}}}},
     {1.0, 9, {{{1, 1, 4}, {1, 5, 1.0 / 2}, {1, 6, 1.0 / 2}, {2, 2, 1.0 / 2}, {3, 3, 5.0 / 2}, {4, 4, 1.0 / 4}, {5, 5, 3.0 / 20}, {5, 6, 1.0 / 20}, {6, 6, 27.0 / 20}}}},
     {1.0, 9, {{{1, 1, 8.0 / 3}, {1, 5, 1.0 / 3}, {1, 6, 1.0 / 3}, {2, 2, 1}, {3, 3, 1}, {4, 4, 3.0 / 10}, {5, 5, 11.0 / 30}, {5, 6, 1.0 / 6}, {6, 6, 11.0 / 30}}}},
     {1.0, 3, {{{2, 3, 2}, {4, 5, 4.0 / 5}, {4, 6, 2.0 / 5}}}},
     {1.0, 3, {{{2, 3, 2}, {4, 5, 2.0 / 5}, {4, 6, 4.0 / 5}}}}},
    {{0.010392147535004679, 9, {{{1, 1, 1001}, {1, 5, 143}, {1, 6, 91}, {2, 2, 715}, {3, 3, 91}, {4, 4, 65}, {5, 5, 429}, {5, 6, 13}, {6, 6, 21}}}},
     {0.010392147535004679, 9, {{{1, 1, 1001}, {1, 5, 91}, {1, 6, 143}, {2, 2, 91}, {3, 3, 715}, {4, 4, 65}, {5, 5, 21}, {5, 6, 13}, {6, 6, 429}}}},
     {0.060043519091138135, 6, {{{1, 1, 99}, {2, 2, 33}, {3, 3, 33}, {4, 4, 11}, {5, 5, 9}, {6, 6, 9}}}},
     {0.09006527863670721, 4, {{{1, 4, -33}, {2, 3, 33}, {4, 5, 11}, {4, 6, 3}}}},
     {0.09006527863670721, 4, {{{1, 4, -33}, {2, 3, 33}, {4, 5, 3}, {4, 6, 11}}}}},
    // Type 2 is not the mirror of type 1: its (3,3) is 19 and its (5,6) 13.
    {{0.20317460317460317, 9, {{{1, 1, 21}, {1, 5, 21}, {1, 6, 3}, {2, 2, 63}, {3, 3, 3}, {4, 4, 9}, {5, 5, 88.2}, {5, 6, 3}, {6, 6, 1}}}},
     {0.20317460317460317, 9, {{{1, 1, 21}, {1, 5, 3}, {1, 6, 21}, {2, 2, 3}, {3, 3, 19}, {4, 4, 9}, {5, 5, 1}, {5, 6, 13}, {6, 6, 88.2}}}},
     {0.20317460317460317, 9, {{{1, 1, 35}, {1, 5, 7}, {1, 6, 7}, {2, 2, 21}, {3, 3, 21}, {4, 4, 12.6}, {5, 5, 11}, {5, 6, 1.4}, {6, 6, 11}}}},
     {0.6095238095238096, 4, {{{1, 4, -7}, {2, 3, 7}, {4, 5, 4.2}, {4, 6, 1}}}},
     {0.6095238095238096, 4, {{{1, 4, -7}, {2, 3, 7}, {4, 5, 1}, {4, 6, 4.2}}}}},
};

constexpr std::string_view routine_names[2][3] = {{"GetKGEllipse", "GetKGRectangle", "GetKGRectTang"},
                                                  {"GetKKEllipse", "GetKKRectangle", "GetKKRectTang"}};

// Type code 1..ntypes, or in its two-digit form (11, 22, 33, 16, 26).
int type_index(int type, int ntypes) {
  constexpr int long_form[5] = {11, 22, 33, 16, 26};
  for (int k = 1; k <= ntypes; ++k)
    if (type == k || type == long_form[k - 1]) return k;
  return 0;
}

void latch_default(std::string_view routine, std::string_view tail) {
  std::array<char, 160> text{};
  std::size_t n = 0;
  for (const std::string_view part : {std::string_view("Error: Default case in subroutine "), routine, tail})
    for (const char c : part)
      if (n < text.size()) text[n++] = c;
  xerr(-2, std::string_view(text.data(), n < 80 ? n : 80));
}

bool known_shape(int dshape, std::string_view routine) {
  if (dshape >= 0 && dshape <= 3) return true;
  latch_default(routine, ". DShape has to be an integer between 0 and 3.");
  return false;
}

Mat3 upper_left(const Mat6& m) {
  Mat3 r;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) r(i, j) = m(i, j);
  return r;
}

Vec3 times(const Mat3& m, const Vec3& x) {
  Vec3 y;
  for (int i = 1; i <= 3; ++i) y(i) = m(i, 1) * x(1) + m(i, 2) * x(2) + m(i, 3) * x(3);
  return y;
}

}  // namespace

Mat6 shape_matrix(Matrix kind, int shape, int type) {
  Mat6 m{};
  const bool kg = kind == Matrix::geometric;
  const int k = type_index(type, kg ? 3 : 5);
  if (k == 0) {
    latch_default(routine_names[kg ? 0 : 1][shape - 1], ". Please check your input parameters.");
    return m;
  }
  const Terms& t = kg ? kg_terms[shape - 1][k - 1] : kk_terms[shape - 1][k - 1];
  for (int i = 0; i < t.n; ++i) {
    const Entry& e = t.e[std::size_t(i)];
    m(e.row, e.col) = e.value * t.factor;
    m(e.col, e.row) = m(e.row, e.col);
  }
  return m;
}

Mat6 geometric_matrix(const Vec3& nglob, const Mat6& abd, const Mat6& abdinv, double a, double b,
                      double dangle, int dshape) {
  Mat6 kg{};
  if (!known_shape(dshape, "GetSubKG") || dshape == 0) return kg;
  const Mat3 t = lamina::plane_transformation(math::deg2rad * dangle, lamina::Form::stress);
  const Vec3 strain = times(upper_left(abdinv), times(t, nglob));
  Vec3 n = times(upper_left(abd), strain);
  n(1) *= b / a;
  n(2) *= a / b;
  for (int k = 1; k <= 3; ++k) kg += n(k) * shape_matrix(Matrix::geometric, dshape, k);
  return kg;
}

Mat6 stiffness_matrix(const Mat3& dred, double a, double b, int dshape) {
  Mat6 kk{};
  if (!known_shape(dshape, "GetSubKK") || dshape == 0) return kk;
  const double c[5] = {dred(1, 1) * b / (a * a * a), dred(2, 2) * a / (b * b * b),
                       (dred(1, 2) + 2.0 * dred(3, 3)) / (a * b), dred(1, 3) / (a * a),
                       dred(2, 3) / (b * b)};
  for (int k = 1; k <= 5; ++k) kk += c[k - 1] * shape_matrix(Matrix::stiffness, dshape, k);
  return kk;
}

Buckling buckling_strain(const Plies& p, const double* dsize, const Vec3& nglob, int dshape) {
  const double da = dsize[0], db = dsize[1], theta = dsize[2];
  const int n = p.n;
  const laminate::Stack s(p.elastic, p.angle_d, p.thickness, n);
  const double tges = s.total_thickness();
  const Vec3 nload{{-nglob(1), -nglob(2), -nglob(3)}};
  const double ainv11on = math::inverse(laminate::abd(s).matrix())(1, 1);

  // The same plies with their angles measured from the delamination's axis.
  Scratch<double, 64> angles(n);
  for (int k = 1; k <= n; ++k) angles[std::size_t(k - 1)] = p.angle_d[k - 1] - theta;
  const laminate::Stack turned(p.elastic, angles.data(), p.thickness, n);
  const laminate::Abd blocks = laminate::abd(turned);
  const Mat6 abd = blocks.matrix();
  const Mat6 abdinv = math::inverse(abd);
  const Mat6 kk = stiffness_matrix(laminate::reduced_bending_stiffness(blocks), da, db, dshape);
  const Mat6 kg = geometric_matrix(nload, abd, abdinv, da, db, theta, dshape);

  const Mat6 kd = math::inverse(kk) * kg;
  constexpr double start[6] = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
  Buckling r;
  const double eigval = math::power_iteration(kd.view(), r.mode.data(), 2000, start, 1e-10);
  r.eps = ainv11on / eigval;
  r.nx = 1.0 / (eigval * tges);
  return r;
}

double peeling_analysis(const Plies& s, double comprstrength,
                        View<const double, 2> plydelamination, const int* plydshape,
                        View<double, 2> real, View<int, 2> integer) {
  const int nplies = s.n;
  const int ncols = nplies - 1;
  for (int j = 1; j <= ncols; ++j) {
    for (int i = 1; i <= 12; ++i) real(i, j) = 0.0;
    for (int i = 1; i <= 4; ++i) integer(i, j) = 0;
  }
  double epsbuck = 0.0;
  if (nplies < 1) return epsbuck;
  const Vec3 uniaxial{{-1.0, 0.0, 0.0}};
  const auto size = [&](int iface) { return &plydelamination(1, iface); };

  // Stores a record of plies first..last bounded by interface iface.
  const auto store = [&](int col, const Buckling& b, int iface, int first, int last, int side) {
    real(1, col) = b.eps;
    real(2, col) = b.nx / comprstrength;
    real(3, col) = b.nx;
    for (int i = 1; i <= 3; ++i) real(3 + i, col) = size(iface)[i - 1];
    for (int i = 1; i <= 6; ++i) real(6 + i, col) = b.mode(i);
    const int ints[4] = {iface, first, last, side};
    for (int i = 1; i <= 4; ++i) integer(i, col) = ints[i - 1];
  };

  int startply = 1, endply = nplies, endintface = nplies - 1, nbuck = 0;
  do {
    if (endintface < startply) break;
    double minstrain = 1e20;
    Buckling best;
    int bface = 0, bfirst = 0, blast = 0, bside = 0;
    const auto consider = [&](int iface, int first, int last, int side) {
      const Buckling b = buckling_strain(s.sub(first, last), size(iface), uniaxial, plydshape[iface - 1]);
      if (!(b.eps < minstrain)) return;
      minstrain = b.eps;
      best = b;
      bface = iface, bfirst = first, blast = last, bside = side;
      if (nbuck == 0) epsbuck = b.eps;
    };
    for (int iface = startply; iface <= endintface; ++iface) {
      if (!delaminated(size(iface))) continue;
      consider(iface, startply, iface, 0);
      consider(iface, iface + 1, endply, 1);
    }
    if (minstrain >= 1e19) break;
    store(++nbuck, best, bface, bfirst, blast, bside);
    if (bside == 0) {
      startply = blast + 1;
    } else {
      endply = bfirst - 1;
      endintface = bfirst - 2;
    }
  } while (endply != startply);

  // The stack that remains: no column left for it when every interface
  // bounds a buckled sublaminate.
  if (nbuck >= ncols) return epsbuck;
  const auto area = [&](int iface) { return size(iface)[0] * size(iface)[1]; };
  const double upper = startply > 1 ? area(startply - 1) : -1.0;
  const double lower = endply < nplies ? area(endply) : -1.0;
  const int col = nbuck + 1;
  if (upper < 0.0 && lower < 0.0) {
    real(1, col) = 0.0;
    real(2, col) = 1.0;
    real(3, col) = comprstrength;
    const int ints[4] = {startply, startply, endply, 0};
    for (int i = 1; i <= 4; ++i) integer(i, col) = ints[i - 1];
    return 0.0;
  }
  const int iface = upper > lower ? startply - 1 : endply;
  store(col, buckling_strain(s.sub(startply, endply), size(iface), uniaxial, plydshape[iface - 1]),
        iface, startply, endply, 0);
  return epsbuck;
}

}  // namespace tavrin::sublaminate

namespace {
namespace sl = tavrin::sublaminate;
using tavrin::Mat3;
using tavrin::Mat6;
using tavrin::Vec3;
using tavrin::View;

void store_shape(double* m, sl::Matrix kind, int shape, const int* type) {
  sl::shape_matrix(kind, shape, *type).store(m);
}

int count_or(const int* n, int fallback) { return n ? *n : fallback; }

}  // namespace

extern "C" {

void GetKGEllipse(double* kg, const int* kgtype) { store_shape(kg, sl::Matrix::geometric, 1, kgtype); }
void GetKGRectangle(double* kg, const int* kgtype) { store_shape(kg, sl::Matrix::geometric, 2, kgtype); }
void GetKGRectTang(double* kg, const int* kgtype) { store_shape(kg, sl::Matrix::geometric, 3, kgtype); }
void GetKKEllipse(double* kk, const int* kktype) { store_shape(kk, sl::Matrix::stiffness, 1, kktype); }
void GetKKRectangle(double* kk, const int* kktype) { store_shape(kk, sl::Matrix::stiffness, 2, kktype); }
void GetKKRectTang(double* kk, const int* kktype) { store_shape(kk, sl::Matrix::stiffness, 3, kktype); }

void GetSubKG(double* subkg, const double* nglob, const double* abd, const double* abdinv, const double* a,
              const double* b, const double* dangle, const int* dshape) {
  sl::geometric_matrix(Vec3::load(nglob), Mat6::load(abd), Mat6::load(abdinv), *a, *b, *dangle, *dshape)
      .store(subkg);
}

void GetSubKK(double* subkk, const double* dred, const double* a, const double* b, const int* dshape) {
  sl::stiffness_matrix(Mat3::load(dred), *a, *b, *dshape).store(subkk);
}

void GetSubLamBucklingStrain(double* eps, double* nx, double* eigvec, const double* dsize,
                             const double* nglob, const double* plyelastic, const double* plyorientation,
                             const double* plythickness, const int* dshape, const int* nplies) {
  tavrin::c_boundary(__func__, [&] {
    const sl::Plies s{plyelastic, plyorientation, plythickness, count_or(nplies, 1)};
    const sl::Buckling r = sl::buckling_strain(s, dsize, Vec3::load(nglob), *dshape);
    *eps = r.eps;
    *nx = r.nx;
    r.mode.store(eigvec);
  });
}

void DelaminatedBucklingAnalysis(double* epsbuck, double* bukrealdatalist, int* bukintdatalist,
                                 const double* comprstrength, const double* plyelastic,
                                 const double* plyorientation, const double* plythickness,
                                 const double* plydelamination, const int* plydshape, const int* nplies) {
  tavrin::c_boundary(__func__, [&] {
    const int n = count_or(nplies, 1);
    const int ncols = n > 1 ? n - 1 : 0;
    *epsbuck = sl::peeling_analysis(sl::Plies{plyelastic, plyorientation, plythickness, n},
                                    *comprstrength, View<const double, 2>(plydelamination, 3, ncols),
                                    plydshape, View<double, 2>(bukrealdatalist, 12, ncols),
                                    View<int, 2>(bukintdatalist, 4, ncols));
  });
}

void GetBukDataFromDDS(double* bukrealdatalist, int* bukintdatalist, const double* delamdds,
                       const int* plydshape, const double* comprstrength, const double* plyelastic,
                       const double* plyorientation, const double* plythickness, const int* sectionlist,
                       const int* ndmg, const int* nplies, const int* nsec, const int* defint) {
  tavrin::c_boundary(__func__, [&] {
    const int nd = count_or(ndmg, 1), np = count_or(nplies, 1), ns = count_or(nsec, 1);
    const int missing = count_or(defint, 2147483647);
    const int ncols = np > 1 ? np - 1 : 0;
    const std::ptrdiff_t per_real = 12 * std::ptrdiff_t(ncols), per_int = 4 * std::ptrdiff_t(ncols);
    const std::ptrdiff_t lists = per_real * nd * ns;
    for (std::ptrdiff_t i = 0; i < lists; ++i) bukrealdatalist[i] = 0.0;
    for (std::ptrdiff_t i = 0; i < per_int * nd * ns; ++i) bukintdatalist[i] = -1;

    for (int isec = 1; isec <= ns; ++isec) {
      const int* plies = sectionlist + std::ptrdiff_t(isec - 1) * np;
      int nply = np;
      for (int k = 1; k <= np; ++k)
        if (plies[k - 1] == missing) {
          nply = k - 1;
          break;
        }
      if (nply < 1) continue;  // no ply (all undefined, or the first)
      const std::ptrdiff_t ply_offset = std::ptrdiff_t(isec - 1) * np;
      const sl::Plies s{plyelastic + 9 * ply_offset, plyorientation + ply_offset,
                        plythickness + ply_offset, nply};
      const int used = nply - 1;
      for (int idmg = 1; idmg <= nd; ++idmg) {
        const std::ptrdiff_t list = std::ptrdiff_t(isec - 1) * nd + (idmg - 1);
        sl::peeling_analysis(s, comprstrength[isec - 1],
                             View<const double, 2>(delamdds + std::ptrdiff_t(idmg - 1) * 3 * ncols, 3, used),
                             plydshape + std::ptrdiff_t(idmg - 1) * ncols,
                             View<double, 2>(bukrealdatalist + list * per_real, 12, used),
                             View<int, 2>(bukintdatalist + list * per_int, 4, used));
      }
    }
  });
}

}  // extern "C"
