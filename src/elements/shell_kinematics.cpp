#include "elements/shell_kinematics.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "elements/shape_functions.hpp"
#include "foundation/array.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::elements {
namespace {

using Mat2 = SmallMatrix<2, 2>;
using Mat32 = SmallMatrix<3, 2>;
using ShapeView = View<const double, 2>;

constexpr int max_shell_nodes = 8;
constexpr int shell_dofs = 5;  // u, v, w, θx, θy per node
constexpr std::string_view unsupported_element = "Unknown or unsupported element type.";

// Fills rows 1..F::nodes of the shape matrix m at (ξ, η): N and its first
// derivatives, and with six columns the second derivatives ξξ, ηη, ξη.
template <class F>
void fill_plane(View<double, 2> m, double x, double y) {
  for (int k = 1; k <= F::nodes; ++k) {
    m(k, 1) = F::n(k, x, y);
    m(k, 2) = F::dn(k, 1, x, y);
    m(k, 3) = F::dn(k, 2, x, y);
    if constexpr (requires { F::d2n(1, 1, 1); }) {  // constant second derivatives
      m(k, 4) = F::d2n(k, 1, 1);
      m(k, 5) = F::d2n(k, 2, 2);
      m(k, 6) = F::d2n(k, 1, 2);
    } else if constexpr (requires { F::d2n(1, 1, 1, x, y); }) {
      m(k, 4) = F::d2n(k, 1, 1, x, y);
      m(k, 5) = F::d2n(k, 2, 2, x, y);
      m(k, 6) = F::d2n(k, 1, 2, x, y);
    }
  }
}

void zero(double* a, std::ptrdiff_t n) { std::fill_n(a, std::max<std::ptrdiff_t>(n, 0), 0.0); }

// The shell shape matrix nshape(inodes,6) at (ξ, η); false (matrix zero,
// failure latched) for a node count other than 6 or 8.
bool shell_shape(double* nshape, int inodes, double xi, double eta) {
  zero(nshape, 6 * std::ptrdiff_t(inodes));
  if (inodes == Tria6::nodes) {
    fill_plane<Tria6>({nshape, inodes, 6}, xi, eta);
  } else if (inodes == Quad8::nodes) {
    fill_plane<Quad8>({nshape, inodes, 6}, xi, eta);
  } else {
    latch_failure(status_invalid, unsupported_element);
    return false;
  }
  return true;
}

// Σ over the nodes of coordinate × column of the shape matrix; the node
// coordinates x(k), y(k) come from the caller's layout.
template <class X, class Y>
Mat2 jacobian(ShapeView s, X x, Y y) {
  Mat2 jac;
  for (int k = 1; k <= s.size(1); ++k) {
    jac(1, 1) += x(k) * s(k, 2);
    jac(1, 2) += y(k) * s(k, 2);
    jac(2, 1) += x(k) * s(k, 3);
    jac(2, 2) += y(k) * s(k, 3);
  }
  return jac;
}

template <class X, class Y>
Mat32 second_jacobian(ShapeView s, X x, Y y) {
  Mat32 jac2;
  for (int k = 1; k <= s.size(1); ++k)
    for (int r = 1; r <= 3; ++r) {
      jac2(r, 1) += x(k) * s(k, 3 + r);
      jac2(r, 2) += y(k) * s(k, 3 + r);
    }
  return jac2;
}

Mat2 jacobian_inverse(const Mat2& j) {
  const double det = j(1, 1) * j(2, 2) - j(1, 2) * j(2, 1);
  Mat2 inv;
  if (det == 0.0) {
    latch_failure(status_invalid, "Singular jacobian");
    return inv;
  }
  inv(1, 1) = j(2, 2) / det;
  inv(1, 2) = -j(1, 2) / det;
  inv(2, 1) = -j(2, 1) / det;
  inv(2, 2) = j(1, 1) / det;
  return inv;
}

Mat3 first_deriv_jacobian(const Mat2& j) {
  const double a = j(1, 1), c = j(1, 2), b = j(2, 1), d = j(2, 2);
  Mat3 j1;
  j1(1, 1) = a * a, j1(1, 2) = c * c, j1(1, 3) = 2.0 * a * c;
  j1(2, 1) = b * b, j1(2, 2) = d * d, j1(2, 3) = 2.0 * b * d;
  j1(3, 1) = a * b, j1(3, 2) = c * d, j1(3, 3) = b * c + a * d;
  return j1;
}

// The 3×3 inverse by cofactors.
Mat3 first_deriv_jacobian_inverse(const Mat3& m) {
  Mat3 cof;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      const int i1 = i % 3 + 1, i2 = (i + 1) % 3 + 1, j1 = j % 3 + 1, j2 = (j + 1) % 3 + 1;
      cof(i, j) = m(i1, j1) * m(i2, j2) - m(i1, j2) * m(i2, j1);
    }
  const double det = m(1, 1) * cof(1, 1) + m(1, 2) * cof(1, 2) + m(1, 3) * cof(1, 3);
  Mat3 inv;
  if (det == 0.0) {
    latch_failure(status_invalid, "Singular first derivative of jacobian");
    return inv;
  }
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) inv(i, j) = cof(j, i) / det;
  return inv;
}

// The maps from natural to Cartesian derivatives at one point.
struct CartesianMap {
  Mat2 jacinv;
  Mat32 jac2;
  Mat3 jac1inv;

  template <class X, class Y>
  CartesianMap(ShapeView s, X x, Y y, bool second) {
    const Mat2 jac = jacobian(s, x, y);
    jacinv = jacobian_inverse(jac);
    if (!second) return;
    jac2 = second_jacobian(s, x, y);
    jac1inv = first_deriv_jacobian_inverse(first_deriv_jacobian(jac));
  }

  // (N,x, N,y) of node k.
  std::array<double, 2> first(ShapeView s, int k) const {
    return {jacinv(1, 1) * s(k, 2) + jacinv(1, 2) * s(k, 3),
            jacinv(2, 1) * s(k, 2) + jacinv(2, 2) * s(k, 3)};
  }
  // (N,xx, N,yy, N,xy) of node k, given its first derivatives d.
  std::array<double, 3> second(ShapeView s, int k, const std::array<double, 2>& d) const {
    double r[3];
    for (int i = 1; i <= 3; ++i) r[i - 1] = s(k, 3 + i) - jac2(i, 1) * d[0] - jac2(i, 2) * d[1];
    std::array<double, 3> out;
    for (int i = 1; i <= 3; ++i)
      out[std::size_t(i - 1)] = jac1inv(i, 1) * r[0] + jac1inv(i, 2) * r[1] + jac1inv(i, 3) * r[2];
    return out;
  }
};

// The shape matrix of a shell point, on the stack; not ok (element-type
// failure latched) for a node count other than 6 or 8.
struct ShellPoint {
  SmallMatrix<max_shell_nodes, 6> storage;
  ShapeView shape;
  bool ok;

  ShellPoint(int inodes, double xi, double eta)
      : ok(inodes == Tria6::nodes || inodes == Quad8::nodes) {
    // An unsupported count latches and leaves nothing to read.
    if (ok) shell_shape(storage.data(), inodes, xi, eta);
    else latch_failure(status_invalid, unsupported_element);
    shape = ShapeView(storage.data(), ok ? inodes : 0, 6);
  }
};

// The derivative B-matrix of the transverse shear strains along x (dir 1)
// or y (dir 2).
void deriv_b_matrix(double* out, const double* ncoords, int inodes, double xi, double eta, int dir) {
  zero(out, 2 * shell_dofs * max_shell_nodes);
  const ShellPoint p(inodes, xi, eta);
  if (!p.ok) return;
  const View<const double, 2> c(ncoords, 3, inodes);
  const CartesianMap map(p.shape, [&](int k) { return c(1, k); }, [&](int k) { return c(2, k); },
                         true);
  const View<double, 2> b(out, 2, shell_dofs * max_shell_nodes);
  for (int k = 1; k <= inodes; ++k) {
    const auto d = map.first(p.shape, k);
    const auto d2 = map.second(p.shape, k, d);
    const int col = shell_dofs * (k - 1);
    if (dir == 1) {
      b(1, col + 3) = d2[2], b(1, col + 4) = -d[0];
      b(2, col + 3) = d2[0], b(2, col + 5) = d[0];
    } else {
      b(1, col + 3) = d2[1], b(1, col + 4) = -d[1];
      b(2, col + 3) = d2[2], b(2, col + 5) = d[1];
    }
  }
}

void deriv_shear_forces(double* r, const double* u, const double* hmat, const double* ncoords,
                        int inodes, double xi, double eta, int dir) {
  double b[2 * shell_dofs * max_shell_nodes];
  deriv_b_matrix(b, ncoords, inodes, xi, eta, dir);
  double bu[2] = {0.0, 0.0};
  for (int j = 0; j < shell_dofs * max_shell_nodes; ++j) {
    bu[0] += b[2 * j] * u[j];
    bu[1] += b[2 * j + 1] * u[j];
  }
  r[0] = hmat[0] * bu[0] + hmat[2] * bu[1];
  r[1] = hmat[1] * bu[0] + hmat[3] * bu[1];
}

}  // namespace
}  // namespace tavrin::elements

using namespace tavrin;
using namespace tavrin::elements;

extern "C" {

void Quad4ShapeFunMatrix(double* nshape, const double* xi, const double* eta) {
  zero(nshape, Quad4::nodes * 3);
  fill_plane<Quad4>({nshape, Quad4::nodes, 3}, *xi, *eta);
}

void Tria6ShapeFunMatrix(double* nshape, const double* xi, const double* eta) {
  zero(nshape, Tria6::nodes * 6);
  fill_plane<Tria6>({nshape, Tria6::nodes, 6}, *xi, *eta);
}

void Quad8ShapeFunMatrix(double* nshape, const double* xi, const double* eta) {
  zero(nshape, Quad8::nodes * 6);
  fill_plane<Quad8>({nshape, Quad8::nodes, 6}, *xi, *eta);
}

void Hex8ShapeFunMatrix(double* nshape, const double* xi, const double* eta, const double* zeta) {
  zero(nshape, Hex8::nodes * 9);
  const View<double, 2> m(nshape, Hex8::nodes, 9);
  const double x = *xi, y = *eta, z = *zeta;
  for (int k = 1; k <= Hex8::nodes; ++k) {
    m(k, 1) = Hex8::n(k, x, y, z);
    for (int v = 1; v <= 3; ++v) m(k, 1 + v) = Hex8::dn(k, v, x, y, z);
    m(k, 8) = Hex8::d2n(k, 1, 2, x, y, z);
    m(k, 9) = Hex8::d2n(k, 1, 3, x, y, z);
  }
}

void GetNodalShape(double* nshape, const int* locnode, const int* inodes) {
  const int n = *inodes, k = *locnode;
  if (n != Tria6::nodes && n != Quad8::nodes) {
    latch_failure(status_invalid, "Unknown or invalid number of nodes");
    return;
  }
  if (k < 1 || k > n) {
    latch_failure(status_invalid, "Unknown or invalid node number");
    return;
  }
  if (n == Tria6::nodes)
    Tria6ShapeFunMatrix(nshape, &Tria6::xi[std::size_t(k - 1)], &Tria6::eta[std::size_t(k - 1)]);
  else
    Quad8ShapeFunMatrix(nshape, &Quad8::xi[std::size_t(k - 1)], &Quad8::eta[std::size_t(k - 1)]);
}

void ShellJacobian(double* jac, double* nshape, const double* ncoords, const int* inodes,
                   const double* xi, const double* eta) {
  const int n = *inodes;
  zero(jac, 4);
  if (!shell_shape(nshape, n, *xi, *eta)) return;
  const View<const double, 2> c(ncoords, 3, n);
  jacobian(ShapeView(nshape, n, 6), [&](int k) { return c(1, k); }, [&](int k) { return c(2, k); })
      .store(jac);
}

void ShellJacobianInverse(double* jacinv, const double* jac) {
  jacobian_inverse(Mat2::load(jac)).store(jacinv);
}

void ShellSecondDerivJacobian(double* jac2, const double* nshape, const double* ncoords,
                              const int* inodes, const double*, const double*) {
  const int n = std::max(*inodes, 0);
  const View<const double, 2> c(ncoords, 3, n);
  second_jacobian(ShapeView(nshape, n, 6), [&](int k) { return c(1, k); },
                  [&](int k) { return c(2, k); })
      .store(jac2);
}

void ShellFirstDerivJacobian(double* jac1, const double* jac) {
  first_deriv_jacobian(Mat2::load(jac)).store(jac1);
}

void ShellFirstDerivJacobianInverse(double* jac1inv, const double* jac1) {
  first_deriv_jacobian_inverse(Mat3::load(jac1)).store(jac1inv);
}

void ShellBMatrix(double* bout, const double* ncoords, const int* inodes, const double* xi,
                  const double* eta) {
  zero(bout, 8 * shell_dofs * max_shell_nodes);
  const int n = *inodes;
  const ShellPoint p(n, *xi, *eta);
  if (!p.ok) return;
  const View<const double, 2> c(ncoords, 3, n);
  const CartesianMap map(p.shape, [&](int k) { return c(1, k); }, [&](int k) { return c(2, k); },
                         false);
  const View<double, 2> b(bout, 8, shell_dofs * max_shell_nodes);
  for (int k = 1; k <= n; ++k) {
    const auto [nx, ny] = map.first(p.shape, k);
    const double nk = p.shape(k, 1);
    const int u = shell_dofs * (k - 1) + 1, v = u + 1, w = u + 2, tx = u + 3, ty = u + 4;
    b(1, u) = nx;
    b(2, v) = ny;
    b(3, u) = ny, b(3, v) = nx;
    b(4, ty) = nx;
    b(5, tx) = -ny;
    b(6, tx) = -nx, b(6, ty) = ny;
    b(7, w) = ny, b(7, tx) = -nk;
    b(8, w) = nx, b(8, ty) = nk;
  }
}

void ShellxDerivBMatrix(double* xderivb, const double* ncoords, const int* inodes, const double* xi,
                        const double* eta) {
  deriv_b_matrix(xderivb, ncoords, *inodes, *xi, *eta, 1);
}

void ShellyDerivBMatrix(double* yderivb, const double* ncoords, const int* inodes, const double* xi,
                        const double* eta) {
  deriv_b_matrix(yderivb, ncoords, *inodes, *xi, *eta, 2);
}

void ShellxDerivShearForces(double* xderivr, const double* u, const double* hmat,
                            const double* ncoords, const int* inodes, const double* xi,
                            const double* eta) {
  deriv_shear_forces(xderivr, u, hmat, ncoords, *inodes, *xi, *eta, 1);
}

void ShellyDerivShearForces(double* yderivr, const double* u, const double* hmat,
                            const double* ncoords, const int* inodes, const double* xi,
                            const double* eta) {
  deriv_shear_forces(yderivr, u, hmat, ncoords, *inodes, *xi, *eta, 2);
}

void GetCurvatures(double* delta, double* kappa, const double* nshape, const double* lncoords,
                   const int* inodes) {
  constexpr double tol = 1e-6;
  constexpr double half_pi = 1.5707963267948966;
  const int n = std::max(*inodes, 0);
  const ShapeView s(nshape, n, 6);
  const View<const double, 2> c(lncoords, n, 3);
  *delta = 0.0;
  kappa[0] = kappa[1] = 0.0;

  const CartesianMap map(s, [&](int k) { return c(k, 1); }, [&](int k) { return c(k, 2); }, true);
  double kxx = 0.0, kyy = 0.0, kxy = 0.0;
  for (int k = 1; k <= n; ++k) {
    const auto d2 = map.second(s, k, map.first(s, k));
    kxx += d2[0] * c(k, 3);
    kyy += d2[1] * c(k, 3);
    kxy += d2[2] * c(k, 3);
  }

  // Principal values; the larger in magnitude leads (the second on a tie).
  const double m = 0.5 * (kxx + kyy);
  const double r = std::sqrt(0.25 * (kxx - kyy) * (kxx - kyy) + kxy * kxy);
  const double k1 = m + r, k2 = m - r;
  const bool first_leads = std::abs(k1) > std::abs(k2);
  const double kmax = first_leads ? k1 : k2, kmin = first_leads ? k2 : k1;
  if (std::abs(kmax) >= tol) {
    kappa[0] = kmax;
    // A much smaller second curvature counts as none (a cylinder).
    kappa[1] = std::abs(kmax / kmin) > 20.0 ? 0.0 : kmin;
  }

  // delta names the in-plane axis across the leading curvature kappa(1): the
  // axis about which the surface bends most (a cylinder's generator).  The
  // curvature frame turns its x axis onto it, so that kappa(1) is the
  // curvature along the frame's y axis, the direction whose metric the
  // section's first curvature enters in the transverse shear functions.
  // The direction of k1 for every orientation is half of atan2(2kxy,
  // kxx - kyy); the axis across kmax is that of k2 when k1 leads (kmax > 0)
  // and that of k1 when k2 leads.  An axis is an angle modulo pi: a positive
  // leading curvature gives it in [0, pi), a negative one in [-pi/2, pi/2)
  // (a cylinder bent along x: pi/2 or -pi/2 by the sign of its curvature).
  // A flat surface, or a nearly spherical one (principal curvatures within
  // 1 % of each other), has no direction: 0.  A twist kxy within the
  // curvature tolerance counts as none, so that a surface bent along x or y
  // gets its axis exactly.
  double d = 0.0;
  const bool flat = !(std::abs(kmax) >= tol);
  const bool spherical = std::abs(kmax / kmin - 1.0) < 0.01;
  if (!flat && !spherical) {
    constexpr double pi = 2.0 * half_pi;
    const double twist = std::abs(kxy) > tol ? kxy : 0.0;
    const double theta1 = 0.5 * std::atan2(2.0 * twist, kxx - kyy);
    if (kmax > 0.0) {
      d = theta1 + half_pi;
      if (d >= pi) d -= pi;
      if (d < 0.0) d += pi;
    } else {
      d = theta1;
      if (d >= half_pi) d -= pi;
      if (d < -half_pi) d += pi;
    }
  }
  *delta = d;
}

void GetDisplacementVector(double* u, const double* nmotion, const int* inodes, const int* mdof) {
  zero(u, shell_dofs * max_shell_nodes);
  const int n = std::clamp(*inodes, 0, max_shell_nodes);
  const int md = std::max(*mdof, 0);
  const int copied = std::min(md, shell_dofs);
  for (int k = 0; k < n; ++k)
    for (int i = 0; i < copied; ++i) u[shell_dofs * k + i] = nmotion[std::size_t(md) * k + i];
}
}
