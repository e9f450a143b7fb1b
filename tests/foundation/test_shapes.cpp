// Point-in-shape tests: the shape values on and around their boundaries and
// the projected tests.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "foundation/shapes.hpp"

namespace tavrin {
namespace {

constexpr std::array identity{1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};

double polygon(const std::array<double, 4>& xx, const std::array<double, 4>& yy, double px,
               double py, int n = 4) {
  return Polygon(&px, &py, xx.data(), yy.data(), &n);
}

TEST(Shapes, PolygonCrossingTest) {
  const std::array xx{0.0, 1.0, 1.0, 0.0}, yy{0.0, 0.0, 1.0, 1.0};
  EXPECT_EQ(polygon(xx, yy, 0.5, 0.5), 0.0);
  EXPECT_EQ(polygon(xx, yy, 2.0, 0.5), -1.0);
  // Edges and vertices as the crossing test counts them.
  EXPECT_EQ(polygon(xx, yy, 0.5, 1.0), 0.0);
  EXPECT_EQ(polygon(xx, yy, 1.0, 0.5), 0.0);
  EXPECT_EQ(polygon(xx, yy, 0.5, 0.0), -1.0);
  EXPECT_EQ(polygon(xx, yy, 0.0, 0.0), -1.0);
  const std::array tx{-1.0, 1.0, 1.0, 0.0}, ty{-1.0, 1.0, -1.0, 0.0};
  EXPECT_EQ(polygon(tx, ty, 0.0, 0.0, 3), 0.0);  // on the first edge
  EXPECT_EQ(polygon(xx, yy, 0.5, 0.5, 0), -1.0);
}

TEST(Shapes, EllipseRectangleAndLine) {
  const std::array origin{1.0, 1.0};
  const auto ellipse = [](double x, double y, double a, double b, const double* o = nullptr) {
    return Ellipse(&x, &y, &a, &b, o);
  };
  EXPECT_EQ(ellipse(2.0, 0.0, 2.0, 1.0), 1.0);
  EXPECT_EQ(ellipse(0.0, 0.0, 2.0, 1.0), 0.0);
  EXPECT_EQ(ellipse(1.0, 2.0, 2.0, 1.0, origin.data()), 1.0);
  const auto rectangle = [](double x, double y, double a, double b) {
    return Rectangle(&x, &y, &a, &b, nullptr);
  };
  EXPECT_EQ(rectangle(1.0, 0.5, 2.0, 1.0), 0.5);
  EXPECT_EQ(rectangle(3.0, 0.0, 2.0, 1.0), 1.5);
  EXPECT_EQ(rectangle(3.0, 0.0, -2.0, -1.0), 1.5);

  const std::array a{0.0, 0.0}, b{10.0, 0.0};
  const auto line = [&](double x, double y, const double* p = nullptr) {
    return Line(&x, &y, a.data(), b.data(), p);
  };
  EXPECT_LT(line(5.0, 0.000001), 1.0);
  EXPECT_EQ(line(5.0, 1.0), 2.0);
  EXPECT_DOUBLE_EQ(line(12.0, 0.0), 3.0);
  EXPECT_DOUBLE_EQ(line(-1.0, 0.0), 2.0);
  EXPECT_EQ(line(0.0, 0.0), 0.0);  // on a itself
  const double p = 1.0;
  EXPECT_EQ(line(5.0, 1.0, &p), 1.0);
  // A point on a slanted segment (where h² - t² rounds to -2.7e-15).
  const std::array b34{3.0, 4.0};
  double xs = 1.486305261275823, ys = 1.9817403483677638;
  EXPECT_EQ(Line(&xs, &ys, a.data(), b34.data(), nullptr), 0.0);
  // A segment of no length is its point.
  double x = 3.0, y = 4.0;
  EXPECT_DOUBLE_EQ(Line(&x, &y, a.data(), a.data(), nullptr), 6.0);
}

TEST(Shapes, PointOnPlane) {
  const std::array point{1.0, 2.0, 5.0}, origin{1.0, 1.0, 0.0};
  std::array<double, 2> xy{};
  const double theta = 90.0;
  GetPointOnXYPlane(xy.data(), point.data(), origin.data(), identity.data(), &theta);
  EXPECT_NEAR(xy[0], 1.0, 1e-15);
  EXPECT_NEAR(xy[1], 0.0, 1e-15);
}

TEST(Shapes, ProjectedTests) {
  const std::array ref{0.0, 0.0, 0.0};
  const double a = 1.0, b = 2.0, theta = 0.0;
  const auto inside = [&](std::array<double, 3> p, int shape) {
    return ProjectedPointInShape(p.data(), &a, &b, &theta, ref.data(), identity.data(), &shape);
  };
  for (int k = 0; k < 8; ++k) {
    const double angle = k * 0.7853981633974483;
    EXPECT_TRUE(inside({1.5 * std::cos(angle), 1.5 * std::sin(angle), 3.0}, 0));
  }
  EXPECT_FALSE(inside({1.5, 0.0, 0.0}, 1));
  EXPECT_TRUE(inside({0.0, 1.5, 7.0}, 1));
  EXPECT_TRUE(inside({1.9, 1.9, 0.0}, 2));
  EXPECT_FALSE(inside({1.5, 0.0, 0.0}, 3));
  EXPECT_FALSE(inside({0.0, 2.5, 0.0}, 99));  // any other id: the ellipse

  // The unit square as an npoints×2 vertex table, turned by 90° in the plane.
  const std::array square{0.0, 1.0, 1.0, 0.0, 0.0, 0.0, 1.0, 1.0};
  const int n = 4;
  const double turned = 90.0;
  const auto in_square = [&](std::array<double, 3> p, const double* angle) {
    return ProjectedPointInPolygon(p.data(), square.data(), angle, ref.data(), identity.data(), &n);
  };
  EXPECT_TRUE(in_square({0.5, 0.5, 1.0}, &theta));
  EXPECT_FALSE(in_square({1.5, 0.5, 0.0}, &theta));
  EXPECT_TRUE(in_square({-0.5, 0.5, 0.0}, &turned));  // (u, v) turned to (v, -u)
  EXPECT_FALSE(in_square({0.5, 0.5, 0.0}, &turned));
}

}  // namespace
}  // namespace tavrin
