// Lagrange interpolation, quadrature abscissas, parameterisation and linear
// expansion of the interpolation package.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "interp/lagrange.hpp"
#include "pchip/fatal_paths.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

using Plain = decltype(&cc_abscissas);
using Interval = decltype(&cc_abscissas_ab);

Vector abscissas(Plain fn, int n) {
  Vector x(std::size_t(n), -7.0);
  fn(&n, x.data());
  return x;
}
Vector abscissas(Interval fn, double a, double b, int n) {
  Vector x(std::size_t(n), -7.0);
  fn(&a, &b, &n, x.data());
  return x;
}

void expect_near(const Vector& got, const Vector& expected, double tol) {
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], expected[i], tol) << i;
}

TEST(Abscissas, OnTheStandardInterval) {
  const double h = std::sqrt(0.5), r3 = std::sqrt(3.0) / 2;
  const std::tuple<Plain, int, Vector> cases[] = {
      {cc_abscissas, 5, {-1, -h, 0, h, 1}}, {cc_abscissas, 1, {0}},      {f1_abscissas, 3, {-r3, 0, r3}},
      {f1_abscissas, 1, {0}},               {f2_abscissas, 3, {-h, 0, h}}, {ncc_abscissas, 3, {-1, 0, 1}},
      {ncc_abscissas, 1, {0}},              {nco_abscissas, 4, {-0.6, -0.2, 0.2, 0.6}},
      {nco_abscissas, 3, {-0.5, 0, 0.5}},   {nco_abscissas, 1, {0}},
  };
  for (const auto& [fn, n, x] : cases) expect_near(abscissas(fn, n), x, 1e-15);
  EXPECT_EQ(abscissas(f2_abscissas, 2), (Vector{-0.5, 0.5}));  // exactly
  EXPECT_EQ(abscissas(f2_abscissas, 1), (Vector{0}));
  EXPECT_EQ(abscissas(ncc_abscissas, 3), (Vector{-1, 0, 1}));
}

TEST(Abscissas, OnAGivenInterval) {
  const double r3 = std::sqrt(3.0) / 2;
  const std::tuple<Interval, double, double, int, Vector> cases[] = {
      {cc_abscissas_ab, 2, 4, 2, {2, 4}},          {cc_abscissas_ab, 2, 4, 1, {3}},
      {cc_abscissas_ab, 0, 2, 3, {0, 1, 2}},       {f1_abscissas_ab, 0, 2, 3, {1 - r3, 1, 1 + r3}},
      {f1_abscissas_ab, 2, 6, 1, {4}},             {f2_abscissas_ab, 0, 2, 1, {1}},
      {f2_abscissas_ab, 0, 2, 2, {0.5, 1.5}},      {ncc_abscissas_ab, 1, 4, 4, {1, 2, 3, 4}},
      {ncc_abscissas_ab, 1, 4, 1, {2.5}},          {nco_abscissas_ab, 0, 4, 3, {1, 2, 3}},
  };
  for (const auto& [fn, a, b, n, x] : cases) expect_near(abscissas(fn, a, b, n), x, 1e-15);
}

// n < 1: three lines and stop code 1, for every family.
class AbscissaStops : public FatalPaths {};
TEST_F(AbscissaStops, NoPoints) {
  const std::tuple<std::function<void(double*)>, std::string> cases[] = {
      {[](double* x) { int n = 0; cc_abscissas(&n, x); }, "CC_ABSCISSA"},
      {[](double* x) { int n = -3; nco_abscissas(&n, x); }, "NCO_ABSCISSAS"},
      {[](double* x) { int n = 0; double a = 0, b = 1; f2_abscissas_ab(&a, &b, &n, x); }, "F2_ABSCISSAS_AB"},
  };
  for (const auto& [call, name] : cases) {
    double x = -7;
    const auto o = run_captured([&] { call(&x); });
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.lines(), (Lines{" ", name + " - Fatal error!", "  N < 1."}));
    EXPECT_EQ(x, -7.0);
  }
}
TEST(AbscissaStopsProcess, EndsWithCodeOne) {
  EXPECT_EXIT(
      {
        int n = 0;
        double x;
        f1_abscissas(&n, &x);
      },
      ::testing::ExitedWithCode(1), "STOP 1");
}

// The basis sums to 1, is the identity at the nodes, and interpolation
// reproduces polynomials of degree below the number of points; equal
// abscissas give the IEEE result.
TEST(Lagrange, BasisAndReproduction) {
  const Vector t{-1, 0.5, 2, 3.5};
  const Vector at{-1, 0.5, 2, 3.5, -2, 0.1, 1.7, 5};
  const int nd = 4, ni = int(at.size());
  Vector l(std::size_t(nd * ni));
  lagrange_value(&nd, t.data(), &ni, at.data(), l.data());
  for (int i = 0; i < ni; ++i) {
    double sum = 0;
    for (int j = 0; j < nd; ++j) {
      sum += l[std::size_t(j + nd * i)];
      if (i < nd) EXPECT_EQ(l[std::size_t(j + nd * i)], i == j ? 1.0 : 0.0);
    }
    EXPECT_NEAR(sum, 1, 1e-13);
  }
  // Two dimensions: a cubic and a line.
  const int m = 2;
  Vector p, expected, got(std::size_t(m * ni), -7);
  auto cubic = [](double s) { return ((0.5 * s - 1) * s + 2) * s - 3; };
  for (double s : t) p.insert(p.end(), {cubic(s), 4 - s});
  for (double s : at) expected.insert(expected.end(), {cubic(s), 4 - s});
  interp_lagrange(&m, &nd, t.data(), p.data(), &ni, at.data(), got.data());
  expect_near(got, expected, 1e-12);

  const Vector same{1, 1};
  const int two = 2, one = 1;
  const double x = 0.5;
  Vector ls(2);
  lagrange_value(&two, same.data(), &one, &x, ls.data());
  EXPECT_FALSE(std::isfinite(ls[0]));
}

TEST(CurveParameters, ArcLengthAndIndex) {
  const Vector p{0, 0, 3, 4, 3, 5};
  const int m = 2, n = 3;
  Vector t(3, -7);
  parameterize_arc_length(&m, &n, p.data(), t.data());
  EXPECT_EQ(t, (Vector{0, 5, 6}));
  parameterize_index(&m, &n, nullptr, t.data());
  EXPECT_EQ(t, (Vector{0, 1, 2}));
  // No points: nothing written (they wrote t(1) of an empty array).
  const int none = 0;
  Vector untouched(1, -7);
  parameterize_arc_length(&m, &none, p.data(), untouched.data());
  parameterize_index(&m, &none, p.data(), untouched.data());
  EXPECT_EQ(untouched, Vector(1, -7));
}

TEST(Expansion, VectorsAndMatrices) {
  const Vector x{0, 3};
  const int n = 2, fat = 2, before = 1, after = 1;
  Vector out(4, -7), out2(6, -7);
  r8vec_expand_linear(&n, x.data(), &fat, out.data());
  EXPECT_EQ(out, (Vector{0, 1, 2, 3}));
  r8vec_expand_linear2(&n, x.data(), &before, &fat, &after, out2.data());
  EXPECT_EQ(out2, (Vector{-1, 0, 1, 2, 3, 4}));
  // Uneven spacing: the points beyond each end continue the end interval
  // (0 - 1 = -1 before, 3 + 2 = 5 after), halved for fat = 1.
  const Vector uneven{0, 1, 3};
  const int three = 3, one_fat = 1;
  Vector out3(7, -7);
  r8vec_expand_linear2(&three, uneven.data(), &before, &one_fat, &after, out3.data());
  EXPECT_EQ(out3, (Vector{-0.5, 0, 0.5, 1, 2, 3, 4}));
  // One point: itself; too few points write nothing.
  const int one = 1, none = 0, nofat = -1;
  Vector single(1, -7), spare(3, -7);
  r8vec_expand_linear(&one, x.data(), &fat, single.data());
  EXPECT_EQ(single, Vector{0});
  r8vec_expand_linear(&none, x.data(), &fat, spare.data());
  r8vec_expand_linear(&n, x.data(), &nofat, spare.data());
  r8vec_expand_linear2(&one, x.data(), &before, &fat, &after, spare.data());
  EXPECT_EQ(spare, Vector(3, -7));

  // A bilinear field is resampled exactly; m2 = 1 takes the middle row.
  const int m = 3, nn = 2, m2 = 5, n2 = 3;
  Vector a, a2(std::size_t(m2 * n2), -7);
  for (int j = 0; j < nn; ++j)
    for (int i = 0; i < m; ++i) a.push_back(2.0 * i + 3.0 * j + 0.5 * i * j);
  r8mat_expand_linear2(&m, &nn, a.data(), &m2, &n2, a2.data());
  for (int j = 0; j < n2; ++j)
    for (int i = 0; i < m2; ++i) {
      const double r = i / 2.0, s = j / 2.0;  // positions on the input grid
      EXPECT_NEAR(a2[std::size_t(i + m2 * j)], 2 * r + 3 * s + 0.5 * r * s, 1e-14) << i << j;
    }
  // A hat along the rows (not bilinear): each output row interpolates in the
  // input interval that holds it.
  const Vector hat{0, 1, 0, 0, 1, 0};
  const int two = 2;
  Vector hat5(10, -7);
  r8mat_expand_linear2(&m, &nn, hat.data(), &m2, &two, hat5.data());
  EXPECT_EQ(hat5, (Vector{0, 0.5, 1, 0.5, 0, 0, 0.5, 1, 0.5, 0}));
  const int row = 1;
  Vector mid(1, -7);
  r8mat_expand_linear2(&m, &nn, a.data(), &row, &row, mid.data());
  EXPECT_NEAR(mid[0], 2 * 1 + 3 * 0.5 + 0.5 * 0.5, 1e-14);
  const int thin = 1;
  Vector keep(4, -7);
  r8mat_expand_linear2(&thin, &nn, a.data(), &nn, &nn, keep.data());
  EXPECT_EQ(keep, Vector(4, -7));
}

}  // namespace
}  // namespace tavrin
