// The kink-band frame of the fibre-compression criteria (LaRC04, LaRC05).
//
// Fibres under compression fail by kinking: the stress is turned by ψ about
// the fibre axis onto the kink plane and then by the misalignment φ of the
// fibres about the new axis 3.  φ = φC at pure compression s11 = -xc11,
// where φC, the misalignment that makes the shear on the kink plane reach
// the longitudinal strength, solves
//   tan φC = (1 - √(1 - 4(ηL + x12/xc11)·x12/xc11)) / (2(ηL + x12/xc11)),
// and under a general load
//   φ = sign(σψ12)·(|s12| + (g12 - xc11)·φC) / (g12 + s11 - s22),
// sign(0) = +1 (pure compression has no shear on any kink plane: the
// misalignment is the initial one).
#pragma once

#include <array>
#include <cmath>

namespace tavrin::failure {

// A symmetric stress in the solver order 11, 22, 33, 12, 13, 23 (0-based).
using Stress6 = std::array<double, 6>;

// The stress on the axes turned by ψ (cos ψ = c, sin ψ = s) about axis 1.
inline Stress6 rotated_about_fibre(double c, double s, const Stress6& t) {
  return {t[0],
          c * c * t[1] + s * s * t[2] + 2.0 * c * s * t[5],
          s * s * t[1] + c * c * t[2] - 2.0 * c * s * t[5],
          c * t[3] + s * t[4],
          c * t[4] - s * t[3],
          (t[2] - t[1]) * s * c + t[5] * (c * c - s * s)};
}

// Tσ(φ)·σ, Tσ the stress transformation of a rotation by φ (cos φ = c,
// sin φ = s) about axis 3.
inline Stress6 rotated_about_3(double c, double s, const Stress6& t) {
  const double cc = c * c, ss = s * s, cs = c * s;
  return {cc * t[0] + ss * t[1] + 2.0 * cs * t[3],
          ss * t[0] + cc * t[1] - 2.0 * cs * t[3],
          t[2],
          -cs * t[0] + cs * t[1] + (cc - ss) * t[3],
          c * t[4] + s * t[5],
          -s * t[4] + c * t[5]};
}

// sign(x) with sign(0) = +1; not a number stays one.
inline double kink_sign(double x) { return x < 0.0 ? -1.0 : x >= 0.0 ? 1.0 : x; }

// φC for the longitudinal strength x12, the fibre compressive strength
// xc11 and the longitudinal friction coefficient ηL.
inline double misalignment_angle(double x12, double xc11, double eta_l) {
  const double k = eta_l + x12 / xc11;
  return std::atan((1.0 - std::sqrt(1.0 - 4.0 * k * x12 / xc11)) / (2.0 * k));
}

// φ for the kink-plane shear σψ12 of the stress s, the in-plane shear
// modulus g12, the compressive strength xc (of the kink term) and φC.
inline double kink_angle(double shear_psi, const Stress6& s, double g12, double xc, double phic) {
  return kink_sign(shear_psi) * (std::abs(s[3]) + (g12 - xc) * phic) / (g12 + s[0] - s[1]);
}

// Friction and strength constants of the fracture plane under transverse
// compression with fracture angle a0 (radians): ηT = -1/tan(2a0),
// ST = xc22·cos a0·(sin a0 + cos a0/tan 2a0).
struct FractureConstants {
  double eta_t, st;
};
inline FractureConstants fracture_constants(double xc22, double a0) {
  const double t2 = std::tan(2.0 * a0), c = std::cos(a0);
  return {-1.0 / t2, xc22 * c * (std::sin(a0) + c / t2)};
}

}  // namespace tavrin::failure
