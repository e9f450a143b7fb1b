// The over-complete solver on small systems whose solution, pivot order and
// failure step are known by hand, and the strided dot product.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "boxbeam/box_tools.hpp"

namespace {

struct Solve {
  std::vector<double> x;
  std::vector<int> ip;
  int ifail = -7;
};

// rows: n + 1 equations of n coefficients each, then the right-hand side.
Solve tvert(int n, const std::vector<std::vector<double>>& rows, double eps = 1e-30) {
  const int kl = n + 1;
  std::vector<double> a(static_cast<std::size_t>(kl * n)), b(static_cast<std::size_t>(kl));
  for (int r = 0; r < kl; ++r) {
    for (int c = 0; c < n; ++c) a[std::size_t(r + c * kl)] = rows[std::size_t(r)][std::size_t(c)];
    b[std::size_t(r)] = rows[std::size_t(r)][std::size_t(n)];
  }
  const std::vector<double> b0 = b;
  Solve s{std::vector<double>(std::size_t(n), -99.0), std::vector<int>(std::size_t(kl), 0)};
  TVERT(a.data(), &n, &kl, &eps, b.data(), s.ip.data(), s.x.data(), &s.ifail);
  EXPECT_EQ(b, b0);  // right-hand sides are left as given
  return s;
}

TEST(Tvert, SolvesOverCompleteSystems) {
  struct Case {
    int n;
    std::vector<std::vector<double>> rows;
    std::vector<double> x;
  };
  const Case cases[] = {
      {2, {{1, 1, 3}, {1, -1, 1}, {2, 0, 4}}, {2, 1}},
      {2, {{2, 1, 3}, {4, 2, 6}, {1, 1, 2}}, {1, 1}},
      {1, {{0, 0}, {0, 0}}, {1}},  // homogeneous: the free unknown is 1
      {1, {{1, 1}, {1, 2}}, {1}},  // tie: the earlier row is trusted
      {1, {{1, 1}, {-2, 2}}, {-1}},
      {3, {{1, 0, 0, 1}, {0, 2, 0, 4}, {0, 0, 4, 12}, {1, 1, 1, 6}}, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    const Solve s = tvert(c.n, c.rows);
    EXPECT_EQ(s.ifail, 0);
    for (std::size_t i = 0; i < c.x.size(); ++i) EXPECT_NEAR(s.x[i], c.x[i], 1e-14) << c.n;
  }
}

TEST(Tvert, PivotOrderFollowsTheLargestMagnitude) {
  // Column 1 is largest in row 3, then row 2 for column 2 among the rest.
  const Solve s = tvert(2, {{1, 1, 3}, {1, -1, 1}, {2, 0, 4}});
  EXPECT_EQ(s.ip, (std::vector<int>{3, 2, 1}));
  // Equal magnitudes: the earliest stays the pivot.
  const Solve t = tvert(2, {{-2, 1, -1}, {2, 1, 3}, {1, 1, 2}});
  EXPECT_EQ(t.ip[0], 1);
  EXPECT_EQ(t.ifail, 0);
  EXPECT_NEAR(t.x[0], 1.0, 1e-14);
  EXPECT_NEAR(t.x[1], 1.0, 1e-14);
}

TEST(Tvert, ReportsTheFailingStep) {
  EXPECT_EQ(tvert(1, {{0, 1}, {0, 0}}).ifail, 1);     // inconsistent last unknown, row p
  EXPECT_EQ(tvert(2, {{0, 1, 1}, {0, 1, 1}, {0, 2, 1}}).ifail, 1);  // zero column 1
  EXPECT_EQ(tvert(1, {{1e-30, 1}, {0, 0}}).ifail, 1);  // pivot equal to eps fails
  EXPECT_EQ(tvert(2, {{1e-30, 0, 1}, {0, 1, 1}, {0, 1, 1}}).ifail, 1);
  EXPECT_EQ(tvert(1, {{1.5e-30, 3e-30}, {0, 0}}).x[0], 2.0);  // just above eps succeeds
  // Row q has the larger (still negligible) coefficient and a right side.
  EXPECT_EQ(tvert(1, {{1e-31, 0}, {5e-31, 1}}).ifail, 2);
  EXPECT_EQ(tvert(2, {{1, 0, 1}, {1, 1e-31, 1}, {1, 5e-31, 2}}).ifail, 3);
  // A tie between two zero coefficients keeps p, whose right side is 0.
  const Solve t = tvert(1, {{0, 0}, {0, 1}});
  EXPECT_EQ(t.ifail, 0);
  EXPECT_EQ(t.x[0], 1.0);
}

TEST(Tvert, NoUnknownTouchesNothing) {
  double a = 5, b[2] = {1, 2}, x = 9, eps = 1e-30;
  int ip[2] = {-3, -3}, ifail = -1;
  for (int n : {0, -2}) {
    const int kl = 2;
    TVERT(&a, &n, &kl, &eps, b, ip, &x, &ifail);
    EXPECT_EQ(ifail, 1);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(x, 9);
    EXPECT_EQ(ip[0], -3);
  }
}

TEST(Qvskpx, StridedDotProduct) {
  const double a[] = {1, 2, 3, 4, 5, 6};
  const double b[] = {10, 20, 30, 40, 50, 60};
  const struct {
    int n, la, lb;
    double want;
  } cases[] = {{3, 1, 1, 140}, {3, 2, 1, 1 * 10 + 3 * 20 + 5 * 30}, {2, 1, 3, 1 * 10 + 2 * 40},
               {0, 1, 1, 0}, {-4, 1, 1, 0}, {1, 5, 5, 10}};
  for (const auto& c : cases) EXPECT_EQ(QVSKPX(a, b, &c.n, &c.la, &c.lb), c.want) << c.n << c.la << c.lb;
}

}  // namespace
