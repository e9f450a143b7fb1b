// Isoparametric shape functions of the element families (modules `truss3`,
// `tria6`, `quad4`, `quad8`, `hex8`).
//
// One table per family: the natural coordinates of its nodes and its
// formulas as small inline functions of a valid node (1-based) and valid
// derivative selectors (1 = ξ, 2 = η, 3 = ζ).  The exported single-value
// routines check their arguments, latch a warning and return 0.0 for a bad
// one; the shape-function matrices of the shell kinematics call the tables
// directly, so they never latch.
//
//   truss3  1: ξ = -1, 2: ξ = 0 (middle), 3: ξ = +1
//   tria6   corners (0,0), (1,0), (0,1); mid-sides (½,0), (½,½), (0,½)
//   quad4   (-1,-1), (1,-1), (1,1), (-1,1)
//   quad8   the quad4 corners, then mid-sides (0,-1), (1,0), (0,1), (-1,0)
//   hex8    the quad4 corners on ζ = -1, then the same on ζ = +1
#pragma once

#include <array>

#include "foundation/api.hpp"

namespace tavrin::elements {

// The 3-node line.
struct Truss3 {
  static constexpr int nodes = 3;
  static constexpr std::array<double, 3> xi{-1.0, 0.0, 1.0};

  static constexpr double n(int k, double x) {
    switch (k) {
      case 1: return -0.5 * x * (1.0 - x);
      case 2: return 1.0 - x * x;
      default: return 0.5 * x * (1.0 + x);
    }
  }
  static constexpr double dn(int k, double x) {
    switch (k) {
      case 1: return x - 0.5;
      case 2: return -2.0 * x;
      default: return x + 0.5;
    }
  }
};

// The 6-node triangle, L = 1 - ξ - η the third area coordinate.
struct Tria6 {
  static constexpr int nodes = 6;
  static constexpr int vars = 2;
  static constexpr std::array<double, 6> xi{0.0, 1.0, 0.0, 0.5, 0.5, 0.0};
  static constexpr std::array<double, 6> eta{0.0, 0.0, 1.0, 0.0, 0.5, 0.5};

  static constexpr double n(int k, double x, double y) {
    const double l = 1.0 - x - y;
    switch (k) {
      case 1: return 2.0 * l * (0.5 - x - y);
      case 2: return 2.0 * x * (x - 0.5);
      case 3: return 2.0 * y * (y - 0.5);
      case 4: return 4.0 * x * l;
      case 5: return 4.0 * x * y;
      default: return 4.0 * y * l;
    }
  }
  // ∂N/∂ξ (v = 1) or ∂N/∂η (v = 2).
  static constexpr double dn(int k, int v, double x, double y) {
    switch (k) {
      case 1: return 4.0 * x + 4.0 * y - 3.0;
      case 2: return v == 1 ? 4.0 * x - 1.0 : 0.0;
      case 3: return v == 1 ? 0.0 : 4.0 * y - 1.0;
      case 4: return v == 1 ? 4.0 - 8.0 * x - 4.0 * y : -4.0 * x;
      case 5: return v == 1 ? 4.0 * y : 4.0 * x;
      default: return v == 1 ? -4.0 * y : 4.0 - 4.0 * x - 8.0 * y;
    }
  }
  // Constant second derivatives: ξξ, ηη and the mixed one.
  static constexpr double d2n(int k, int v, int w) {
    constexpr double xx[6] = {4, 4, 0, -8, 0, 0};
    constexpr double yy[6] = {4, 0, 4, 0, 0, -8};
    constexpr double xy[6] = {4, 0, 0, -4, 4, -4};
    const double* t = v != w ? xy : v == 1 ? xx : yy;
    return t[k - 1];
  }
};

// The 4-node quadrilateral.
struct Quad4 {
  static constexpr int nodes = 4;
  static constexpr int vars = 2;
  static constexpr std::array<double, 4> xi{-1.0, 1.0, 1.0, -1.0};
  static constexpr std::array<double, 4> eta{-1.0, -1.0, 1.0, 1.0};

  static constexpr double n(int k, double x, double y) {
    const double xk = xi[k - 1], yk = eta[k - 1];
    return 0.25 * (1.0 + xk * x) * (1.0 + yk * y);
  }
  static constexpr double dn(int k, int v, double x, double y) {
    const double xk = xi[k - 1], yk = eta[k - 1];
    return v == 1 ? 0.25 * xk * (1.0 + yk * y) : 0.25 * yk * (1.0 + xk * x);
  }
};

// The 8-node serendipity quadrilateral.
struct Quad8 {
  static constexpr int nodes = 8;
  static constexpr int vars = 2;
  static constexpr std::array<double, 8> xi{-1.0, 1.0, 1.0, -1.0, 0.0, 1.0, 0.0, -1.0};
  static constexpr std::array<double, 8> eta{-1.0, -1.0, 1.0, 1.0, -1.0, 0.0, 1.0, 0.0};

  static constexpr double n(int k, double x, double y) {
    switch (k) {
      case 5: return 0.5 * (1.0 - x * x) * (1.0 - y);
      case 6: return 0.5 * (1.0 + x) * (1.0 - y * y);
      case 7: return 0.5 * (1.0 - x * x) * (1.0 + y);
      case 8: return 0.5 * (1.0 - x) * (1.0 - y * y);
      default: {
        const double xk = xi[k - 1], yk = eta[k - 1];
        return 0.25 * (1.0 + xk * x) * (1.0 + yk * y) * (xk * x + yk * y - 1.0);
      }
    }
  }
  static constexpr double dn(int k, int v, double x, double y) {
    const bool dx = v == 1;
    switch (k) {
      case 5: return dx ? -x * (1.0 - y) : -0.5 * (1.0 - x * x);
      case 6: return dx ? 0.5 * (1.0 - y * y) : -y * (1.0 + x);
      case 7: return dx ? -x * (1.0 + y) : 0.5 * (1.0 - x * x);
      case 8: return dx ? -0.5 * (1.0 - y * y) : -y * (1.0 - x);
      default: {
        const double xk = xi[k - 1], yk = eta[k - 1];
        return dx ? 0.25 * xk * (1.0 + yk * y) * (2.0 * xk * x + yk * y)
                  : 0.25 * yk * (1.0 + xk * x) * (xk * x + 2.0 * yk * y);
      }
    }
  }
  static constexpr double d2n(int k, int v, int w, double x, double y) {
    const int pair = v != w ? 3 : v;  // 1 ξξ, 2 ηη, 3 ξη
    switch (k) {
      case 5: return pair == 1 ? -(1.0 - y) : pair == 2 ? 0.0 : x;
      case 6: return pair == 1 ? 0.0 : pair == 2 ? -(1.0 + x) : -y;
      case 7: return pair == 1 ? -(1.0 + y) : pair == 2 ? 0.0 : -x;
      case 8: return pair == 1 ? 0.0 : pair == 2 ? -(1.0 - x) : y;
      default: {
        const double xk = xi[k - 1], yk = eta[k - 1];
        return pair == 1   ? 0.5 * (1.0 + yk * y)
               : pair == 2 ? 0.5 * (1.0 + xk * x)
                           : 0.25 * xk * yk * (2.0 * xk * x + 2.0 * yk * y + 1.0);
      }
    }
  }
};

// The 8-node brick: N = ⅛(1 + ξᵢξ)(1 + ηᵢη)(1 + ζᵢζ).
struct Hex8 {
  static constexpr int nodes = 8;
  static constexpr int vars = 3;
  static constexpr std::array<double, 8> xi{-1.0, 1.0, 1.0, -1.0, -1.0, 1.0, 1.0, -1.0};
  static constexpr std::array<double, 8> eta{-1.0, -1.0, 1.0, 1.0, -1.0, -1.0, 1.0, 1.0};
  static constexpr std::array<double, 8> zeta{-1.0, -1.0, -1.0, -1.0, 1.0, 1.0, 1.0, 1.0};

  // The node's sign along variable v and its linear factor 1 + sᵥ·xᵥ.
  static constexpr double sign(int k, int v) {
    return v == 1 ? xi[k - 1] : v == 2 ? eta[k - 1] : zeta[k - 1];
  }
  static constexpr double factor(int k, int v, const double (&p)[3]) {
    return 1.0 + sign(k, v) * p[v - 1];
  }

  static constexpr double n(int k, double x, double y, double z) {
    const double p[3] = {x, y, z};
    return 0.125 * factor(k, 1, p) * factor(k, 2, p) * factor(k, 3, p);
  }
  static constexpr double dn(int k, int v, double x, double y, double z) {
    const double p[3] = {x, y, z};
    const int a = v == 1 ? 2 : 1, b = v == 3 ? 2 : 3;  // the other two variables
    return 0.125 * sign(k, v) * factor(k, a, p) * factor(k, b, p);
  }
  // Pure second derivatives vanish; a mixed one keeps the third factor.
  static constexpr double d2n(int k, int v, int w, double x, double y, double z) {
    if (v == w) return 0.0;
    const double p[3] = {x, y, z};
    return 0.125 * sign(k, v) * sign(k, w) * factor(k, 6 - v - w, p);
  }
};

}  // namespace tavrin::elements

extern "C" {

// Single values at one point; a bad node or selector latches its warning
// (status -2) and gives 0.0.
TAVRIN_API double Truss3SF(const double* xi, const int* inode);
TAVRIN_API double Truss3FirstDerivSF(const double* xi, const int* inode);
TAVRIN_API double Tria6SF(const double* xi, const double* eta, const int* inode);
TAVRIN_API double Tria6FirstDerivSF(const double* xi, const double* eta, const int* inode,
                                    const int* idvar);
TAVRIN_API double Tria6SecondDerivSF(const double* xi, const double* eta, const int* inode,
                                     const int* idvar, const int* iidvar);
TAVRIN_API double Quad4SF(const double* xi, const double* eta, const int* inode);
TAVRIN_API double Quad4FirstDerivSF(const double* xi, const double* eta, const int* inode,
                                    const int* idvar);
TAVRIN_API double Quad8SF(const double* xi, const double* eta, const int* inode);
TAVRIN_API double Quad8FirstDerivSF(const double* xi, const double* eta, const int* inode,
                                    const int* idvar);
TAVRIN_API double Quad8SecondDerivSF(const double* xi, const double* eta, const int* inode,
                                     const int* idvar, const int* iidvar);
TAVRIN_API double Hex8SF(const double* xi, const double* eta, const double* zeta, const int* inode);
TAVRIN_API double Hex8FirstDerivSF(const double* xi, const double* eta, const double* zeta,
                                   const int* inode, const int* idvar);
TAVRIN_API double Hex8SecondDerivSF(const double* xi, const double* eta, const double* zeta,
                                    const int* inode, const int* idvar, const int* iidvar);
}
