// Classical lamination theory of a ply stack (module `laminate`).
//
// Ply 1 is the bottom of the stack (most negative z), ply n the top; z is
// measured from the laminate mid-plane, so the faces lie at ±h/2, h the sum
// of the ply thicknesses.  A reference plane moved by an offset r measures
// every z from there: z0 = -h/2 - r is the bottom face.  Ply k has the faces
//
//   z_b(k) = z0 + (t1 + ... + t(k-1)),   z_t(k) = z0 + (t1 + ... + tk)
//
// and its off-axis reduced stiffness Q̄k (in-plane order 11, 22, 12, turned
// to laminate axes by the ply angle).  The stiffness blocks are
//
//   A = Σ Q̄k (z_t - z_b)        membrane forces N = A·ε0 + B·κ
//   B = ½ Σ Q̄k (z_t² - z_b²)    coupling
//   D = ⅓ Σ Q̄k (z_t³ - z_b³)    moments    M = B·ε0 + D·κ
//
// and ABD = [A B; B D] (6×6).  Its inverse is [A* -B*ᵀ; -B* D*] with
//
//   D̃ = D - B A⁻¹ B (the reduced bending stiffness),  D* = D̃⁻¹,
//   B* = D̃⁻¹ B A⁻¹,  A* = A⁻¹ + A⁻¹ B D̃⁻¹ B A⁻¹.
//
// Inversions go through math::invert: a singular block is latched there
// ("Matrix inverse becomes numerically singular!") and the computation goes
// on with what the inversion left.
#pragma once

#include <array>

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin::laminate {

using Mat2 = SmallMatrix<2, 2>;

// A ply stack in the library's layout, not owned: per ply a column of
// nprops properties whose first nine are the elastic constants (E1, E2, E3,
// ν12, ν13, ν23, G12, G13, G23), the ply angle in degrees and the ply
// thickness.  Plies are counted from 1.
class Stack {
 public:
  constexpr Stack(const double* properties, const double* orientation_d, const double* thickness,
                  int nplies, int nprops = 9)
      : props_(properties), angle_(orientation_d), thick_(thickness), n_(nplies > 0 ? nplies : 0),
        nprops_(nprops) {}

  constexpr int size() const { return n_; }
  constexpr const double* properties(int k) const { return props_ + std::ptrdiff_t(k - 1) * nprops_; }
  lamina::PlyConstants constants(int k) const { return lamina::PlyConstants::load(properties(k)); }
  constexpr double angle_d(int k) const { return angle_[k - 1]; }
  constexpr double angle_r(int k) const { return angle_d(k) * math::deg2rad; }
  constexpr double thickness(int k) const { return thick_[k - 1]; }
  // h = t1 + ... + tn, summed in ply order.
  TAVRIN_API double total_thickness() const;
  // Q̄k: the plane-stress stiffness of ply k turned to laminate axes.
  TAVRIN_API Mat3 reduced_stiffness(int k) const;
  // Ck: the transverse shear stiffness of ply k in laminate axes, rows and
  // columns (23, 13).
  TAVRIN_API Mat2 shear_stiffness(int k) const;
  // Plies first..last as a stack of their own (with its own mid-plane).
  constexpr Stack plies(int first, int last) const {
    return {properties(first), angle_ + (first - 1), thick_ + (first - 1), last - first + 1, nprops_};
  }

 private:
  const double* props_;
  const double* angle_;
  const double* thick_;
  int n_;
  int nprops_;
};

// Where in a ply a z-coordinate lies.
enum class Position { bottom = 0, middle = 1, top = 2 };

// The bottom face z0 = -h/2 - offset.
inline double bottom_face(const Stack& s, double offset = 0.0) {
  return -0.5 * s.total_thickness() - offset;
}

// z of the bottom, middle or top of ply k (1..n).
TAVRIN_API double ply_z(const Stack& s, int k, Position where, double offset = 0.0);

// Calls f(k, z_b, z_t) for every ply from the bottom up, the faces as
// ply_z gives them.
template <class F>
void for_each_ply(const Stack& s, double offset, F&& f) {
  const double z0 = bottom_face(s, offset);
  double below = 0.0;
  for (int k = 1; k <= s.size(); ++k) {
    const double zb = z0 + below;
    below += s.thickness(k);
    f(k, zb, z0 + below);
  }
}

// The blocks A, B, D of a stack (about the plane `offset` above the
// mid-plane).
struct Abd {
  Mat3 a, b, d;

  // [A B; B D].
  TAVRIN_API Mat6 matrix() const;
};

TAVRIN_API Abd abd(const Stack& s, double offset = 0.0);
// One block alone: ∫Q̄ z^(power-1) dz, power 1 (A), 2 (B) or 3 (D).
TAVRIN_API Mat3 stiffness_block(const Stack& s, int power, double offset = 0.0);

// D̃ = D - B A⁻¹ B.
TAVRIN_API Mat3 reduced_bending_stiffness(const Abd& m);

// The blocks of ABD⁻¹ = [a  -bᵀ; -b  d] (a = A*, b = B*, d = D*).
struct InvertedAbd {
  Mat3 a, b, d;
};
TAVRIN_API InvertedAbd inverted_blocks(const Abd& m);

// The two factors of the transverse shear stress functions:
// fa = A⁻¹ B D̃⁻¹ and fb = D̃⁻¹.
struct ShearFactors {
  Mat3 fa, fb;
};
TAVRIN_API ShearFactors shear_factors(const Abd& m);

// Laminate engineering constants, membrane and bending, of a laminate of
// thickness h.
struct PlateConstants {
  double e11 = 0.0, e22 = 0.0, g12 = 0.0, nu12 = 0.0;
};
struct EngineeringConstants {
  PlateConstants membrane, bending;
  // eng(8): E11, E22, G12, ν12 membrane, then the same in bending.
  void store(double* eng) const {
    const double v[8] = {membrane.e11, membrane.e22, membrane.g12, membrane.nu12,
                         bending.e11,  bending.e22,  bending.g12,  bending.nu12};
    for (int i = 0; i < 8; ++i) eng[i] = v[i];
  }
};
// From the compliance a = ABD⁻¹ (the moduli of the laminate free to deform
// in every other direction): E11 = 1/(a11 h), E22 = 1/(a22 h),
// G12 = 1/(a33 h), ν12 = -a12/a11; in bending 12/(a44 h³), 12/(a55 h³),
// 12/(a66 h³) and ν12 = -a45/a44.
TAVRIN_API EngineeringConstants engineering_constants(const Mat6& abd, double h);
// From the stiffness diagonal itself: A11/h, A22/h, A33/h and 12 D11/h³,
// 12 D22/h³, 12 D33/h³; no Poisson's ratios (0).
TAVRIN_API EngineeringConstants engineering_constants_from_stiffness(const Mat6& abd, double h);

// Lamination parameters V (4×3) of plies at angle_r (radians) with the
// given thicknesses: rows cos 2θ, cos 4θ, sin 2θ, sin 4θ; columns membrane,
// coupling, bending,
//   V(j,i) = f_i/h^i · Σk g_j(m_j θk) (z_t^i - z_b^i),  m = (2, 4, 2, 4),
//   f = (1, 2, 4).
TAVRIN_API SmallMatrix<4, 3> lamination_parameters(const double* angle_r, const double* thickness,
                                                   int nplies);

// √(½(1 + (D12 + 2 D66)/√(D11 D22)) · D11 D22).
TAVRIN_API double effective_plate_stiffness(const Mat3& d);

// The thinner of the two sublaminates on either side of the interface
// above ply `interface` (the upper one on a tie): its first and last ply.
// The interface below ply 1 (0) gives (1, 0), an empty lower sublaminate;
// an interface outside 0..nplies counts as the nearest face of the stack.
TAVRIN_API std::array<int, 2> thinner_sublaminate(const double* thickness, int nplies, int interface);

// The Chai factors of the interface between a lower ply l and an upper ply
// u turned against it by dangle_d (degrees), from their on-axis reduced
// stiffness:
//   1: (t_l/t_u)(Q11l - Q11u(θ))/(Q11l - Q22u), 0 when Q11l = Q22u
//   2: ½(1 + (G23u/G23l) c² + (G23u/G13l) s²)
//   3: ½(1 + (G13l/G13u) c² + (G13l/G23u) s²)
// with Q11u(θ) = Q11u c⁴ + 2(Q12u + 2 Q66u) c² s² + Q22u s⁴.
struct InterfacePlies {
  Mat3 q_lower, q_upper;
  double thickness_lower, thickness_upper;
  double g23_lower, g23_upper, g13_lower, g13_upper;
};
TAVRIN_API Vec3 chai_factors(const InterfacePlies& p, double dangle_d);

}  // namespace tavrin::laminate

extern "C" {

// z of ply iply of plythickness(nplies): zpos 2 its top, 1 its middle, any
// other value its bottom; refoffset (optional, 0) moves the reference plane
// up.  iply outside 1..nplies is refused (-3, 0).
TAVRIN_API double GetPlyZCoord(const double* plythickness, const int* iply, const int* nplies,
                               const int* zpos, const double* refoffset);
// a, b, d (3,3) of plyelastic(9,nplies), plyorientation(nplies) in degrees
// and plythickness(nplies).
TAVRIN_API void GetAMatrix(double* a, const double* plyelastic, const double* plyorientation,
                           const double* plythickness, const int* nplies);
TAVRIN_API void GetBMatrix(double* b, const double* plyelastic, const double* plyorientation,
                           const double* plythickness, const int* nplies);
TAVRIN_API void GetDMatrix(double* d, const double* plyelastic, const double* plyorientation,
                           const double* plythickness, const int* nplies);
TAVRIN_API void GetABDMatrix(double* abd, const double* a, const double* b, const double* d);
TAVRIN_API void GetReducedBendingStiffness(double* dred, const double* a, const double* b,
                                           const double* d);
TAVRIN_API void GetABDTilde(const double* a, const double* b, const double* d, double* atstar,
                            double* btstar, double* dtstar);
// eng(8) from abd(6,6) and the thickness h; tcflag (optional) true: from the
// stiffness diagonal, else from the compliance.
TAVRIN_API void GetEngConstsFromABDMatrix(double* eng, const double* abd, const double* h,
                                          const int* tcflag);
// v(4,3); plyorientation in radians.
TAVRIN_API void GetVMatrix(double* v, const double* plyorientation, const double* plythickness,
                           const int* nplies);
TAVRIN_API double GetEffectivePlateStiffness(const double* plyelastic, const double* plyorientation,
                                             const double* plythickness, const int* nplies);
TAVRIN_API void GetSubLaminateStack(int* sublamstack, const double* plythickness, const int* intface,
                                    const int* nplies);
// xsub(3,3): A, B or D ("A", "B", "D"; other characters: zero) of plies
// sublamstack(1)..sublamstack(2); a range outside 1..nplies is refused
// (-3, zero).
TAVRIN_API void GetSubLaminateXMatrix(double* xsub, const char* slflag, const double* plyelastic,
                                      const double* plyorientation, const double* plythickness,
                                      const int* sublamstack, const int* nplies);
TAVRIN_API void GetChaiDelamFactors(double* chaidfactors, const double* qonl, const double* qonu,
                                    const double* dangl_d, const double* plythickl,
                                    const double* plythicku, const double* g23l, const double* g23u,
                                    const double* g13l, const double* g13u);
}
