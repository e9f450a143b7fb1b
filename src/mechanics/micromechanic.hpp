// Micromechanics of a unidirectional ply (module `micromechanic`): from the
// elastic data of fibre and matrix (with an interphase and voids) to the
// constants of the ply.
//
// Layouts:
//   four-value fibre     (Efa, Eft, Gfa, νfa)          axial and transverse modulus,
//   five-value fibre     (Efa, Eft, Gfa, Gft, νfa)     in-plane (12) and transverse
//                                                      (23) shear modulus, ν12
//   matrix               (Em, νm), Gm = Em/(2(1 + νm))
//   four ply constants   (E1, E2, G12, ν12)
//   nine ply constants   (E1, E2, E3, G23, G13, G12, ν23, ν13, ν12)
//   6×6 stiffness and compliance in the Voigt order 11, 22, 33, 23, 13, 12
//   with engineering shear strains (compliance shear diagonal 1/G); fibres
//   along axis 1.
//
// Volume fractions are clamped to [0, 1] before use (the caller's value is
// kept), except the void fraction of the porous resin and the phase
// fractions of GeneralizedMoriTanaka (whose matrix keeps 1 - their sum),
// which are used as given.
// Divisions are not guarded: zero moduli give non-finite values.  Singular
// matrices are latched by the inversion ("Matrix inverse becomes numerically
// singular!") and the computation goes on with what it left.
//
// Eshelby tensors are 6×6 in the same layout, et(i,j) = S_iijj for i, j ≤ 3
// and the shear diagonal et(4,4) = 2·S2323, et(5,5) = 2·S1313, et(6,6) =
// 2·S1212.  Inclusion kinds:
//   0  sphere
//   1  cylinder along axis 1, elliptic section, ratio a2/a3
//   2  prolate spheroid along axis 1, aspect ratio a1/a2 ≥ 1
//   3  penny-shaped crack-like inclusion, normal along axis 3, ratio a3/a1
//   11 circular cylinder along axis 1 in a transversely isotropic host
// Failures latched: -3 "Unknown kind of Eshelby tensor request." (also for a
// prolate ratio below 1), -3 "Illegal host stiffness matrix in
// GetEshelbyTensor." (kind 11, all-zero host), -2 "Unknown AType. Please
// check your input" (concentration rule); the result is then zero.
#pragma once

#include <array>

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::micromechanic {

using Ply4 = std::array<double, 4>;
using Ply5 = std::array<double, 5>;
using EngConstants = std::array<double, 9>;

// x clamped to [0, 1].
double clamp_fraction(double x);

// a⁻¹ by Gauss-Jordan elimination with partial pivoting, on the stack; a
// matrix with an exact zero pivot goes to math::inverse, which latches it
// ("Matrix inverse becomes numerically singular!") and returns what the LU
// factorisation left.
TAVRIN_API Mat6 inverse(const Mat6& a);

// ---------------------------------------------------------------------------
// Closed-form rules.

// The four-constant rules: E1 and ν12 by the rule of mixtures, E2 and G12 by
// the rule's own formula.
enum class Rule { mixture, abolinsh, puck, hopkins_chamis, halpin_tsai, chamis };
// zeta: (ξE, ξG) of Halpin-Tsai; null or (-1, -1): 2 + 40·vf¹⁰, 1 + 40·vf¹⁰.
TAVRIN_API Ply4 four_constants(Rule rule, const double* fibre4, const double* matrix, double vf,
                               const double* zeta = nullptr);
// Chamis with csdim 4 (as above), 5 (adds G23, ν12 from the fifth entry) or
// 6 (adds ν23); other csdim: zero.  cs has csdim entries.
TAVRIN_API void chamis(double* cs, const double* fibre, const double* matrix, double vf, int csdim);
// The matrix Poisson ratio of Foye from the ply's (E1, ν12).
TAVRIN_API double foye(const double* ply, const double* matrix);
// In-situ matrix constants (Em∥, Em⊥, Gm∥, Gm⊥, νm∥) from the ply's (E1, E2,
// ν12), the five-value fibre and the matrix.
TAVRIN_API Ply5 krimmer(const double* ply, const double* fibre5, const double* matrix, double vf);
// The semi-empirical (E1, E2, G12, G23, ν12): square packing for fmflag 0
// (vf ≤ 0.75), hexagonal otherwise (vf ≤ 0.9).  matrix has mdim ≥ 2 entries:
// 5 the in-situ constants, else (Em, …, νm) with νm the last; tcflag 1 takes
// the in-situ constants of Krimmer.  mdim < 2: zero.
TAVRIN_API Ply5 lth(const double* fibre5, const double* matrix, double vf, int mdim, int fmflag,
                    int tcflag);

// ---------------------------------------------------------------------------
// Eshelby and concentration tensors.

TAVRIN_API Mat6 eshelby_tensor(int kind, double ratio, double nu, const Mat6& host = Mat6{});
// The strain concentration tensor of an inclusion ci in a matrix cm at
// fraction v by rule atype 0 (dilute) ... 5 (Lielens).
TAVRIN_API Mat6 strain_concentration(const Mat6& e, const Mat6& ci, const Mat6& cm, double v,
                                     int atype = 0);
// The same with the matrix compliance sm = cm⁻¹ at hand.
TAVRIN_API Mat6 strain_concentration(const Mat6& e, const Mat6& ci, const Mat6& cm, const Mat6& sm,
                                     double v, int atype);
// scm + v·(scinc − scm)·a.
TAVRIN_API Mat6 dual_average(const Mat6& a, const Mat6& scinc, const Mat6& scm, double v);
// The compliance of a transversely isotropic (E1, E2, G12, G23, ν12).
TAVRIN_API Mat6 voigt_compliance(const double* props5);
TAVRIN_API EngConstants engineering_constants(const Mat6& s);
TAVRIN_API Mat6 fibre_bundle_compliance(const Mat6& sf, const Mat6& sinter, double vf, double vinter);
TAVRIN_API Mat6 porous_resin_compliance(const Mat6& sm, double vv, int voidtype);
// ((1 − Σvk)·C0 + Σ vk·Ck·Tk)·((1 − Σvk)·I + Σ vk·Tk)⁻¹ over ninc phases.
TAVRIN_API Mat6 generalized_mori_tanaka(const double* cinc, const double* eshinc, const double* vinc,
                                        const Mat6& c0, int ninc);

// The two phases every scheme starts from: the fibre bundle (fibre with its
// interphase) and the porous matrix, as compliances; both zero (empty) when
// vf + vint + vvoid > 1.
struct Phases {
  Mat6 sf, sm;
  TAVRIN_API bool empty() const;
};

// What a scheme is given; the defaults are those of the call lines.
struct Constituents {
  const double* fibre = nullptr;   // five values
  const double* matrix = nullptr;  // (Em, νm)
  double vf = 0.0;
  double vvoid = 0.0;
  double vint = 0.0;
  const double* interprops = nullptr;  // (Ei, νi); null or summing to ≤ 0: the matrix
  int voidtype = 0;
  double yzratio = 1.0;
};

TAVRIN_API Phases phase_reduction(const Constituents& k);
// The constituents of an entry's argument list; absent optional arguments
// take their defaults (no void or interphase, yzratio 1, void type 0).
Constituents constituents(const double* fiberprops, const double* matrixprops, const double* vf,
                          const double* vvoid, const double* vint, const double* interprops,
                          const double* yzratio, const int* voidtype);
TAVRIN_API std::array<double, 3> ud_strengths(const Mat6& bridging, const double* fibre4,
                                              const double* matrix5, double vf);

// ---------------------------------------------------------------------------
// Mean-field schemes: the nine constants (zero when the phase reduction has
// no result).

TAVRIN_API EngConstants voigt_bound(const Constituents& k);
TAVRIN_API EngConstants reuss_bound(const Constituents& k);
// Dilute (0), Hashin-Shtrikman (1 or 2), Mori-Tanaka (3), Chow (4), Lielens (5).
TAVRIN_API EngConstants concentration_scheme(const Constituents& k, int atype);
TAVRIN_API EngConstants mura(const Constituents& k);
TAVRIN_API EngConstants cscs(const Constituents& k, int maxit = 200, double threshold = 1e-8);
// Twelve values: the nine constants and the strengths 11, 22, 12 (zero
// without strengthprops).
TAVRIN_API std::array<double, 12> huang(const Constituents& k, const double* strengthprops,
                                        const double* cp);
TAVRIN_API std::array<double, 12> cumulative(const Constituents& k, const double* strengthprops,
                                             int rvetype = 1);

}  // namespace tavrin::micromechanic

extern "C" {
// Closed-form rules: result first, then fiberprops, matrixprops, vf.
TAVRIN_API void RuleOfMixture(double* rm, const double* fiberprops, const double* matrixprops,
                              const double* vf);
TAVRIN_API void Abolinsh(double* ah, const double* fiberprops, const double* matrixprops, const double* vf);
TAVRIN_API void Puck(double* pu, const double* fiberprops, const double* matrixprops, const double* vf);
TAVRIN_API void HopkinsChamis(double* hc, const double* fiberprops, const double* matrixprops,
                              const double* vf);
// zeta(2) optional.
TAVRIN_API void HalpinTsai(double* ht, const double* fiberprops, const double* matrixprops,
                           const double* vf, const double* zeta);
TAVRIN_API void Chamis(double* cs, const double* fiberprops, const double* matrixprops, const double* vf,
                       const int* csdim);
TAVRIN_API void Foye(double* nfoye, const double* laminaprops, const double* matrixprops);
TAVRIN_API void Krimmer(double* km, const double* laminaprops, const double* fiberprops,
                        const double* matrixprops, const double* vf);
TAVRIN_API void LTH(double* lh, const double* fiberprops, const double* matrixprops, const double* vf,
                    const int* mdim, const int* fmflag, const int* tcflag);
TAVRIN_API void GeneralizedMoriTanaka(double* cmt, const double* cinc, const double* eshinc,
                                      const double* vinc, const double* c0, const int* ninc);

// Tensors; c_m and atype optional.
TAVRIN_API void GetEshelbyTensor(double* et, const int* incltype, const double* inclratio,
                                 const double* nu_m, const double* c_m);
TAVRIN_API void GetStrainConcentrationTensor(double* a, const double* et, const double* cinc,
                                             const double* cm, const double* vinc, const int* atype);
TAVRIN_API void GetAverageSCFromDualEquation(double* sc, const double* bainc, const double* scinc,
                                             const double* scm, const double* vinc);
TAVRIN_API void GetVoigtComplianceMatrix(double* s, const double* props);
TAVRIN_API void GetEngConstsFromComplianceMatrix(double* eng, const double* s);
TAVRIN_API void GetFiberBundleComplianceMatrix(double* sfb, const double* sf, const double* sinter,
                                               const double* vf, const double* vinter);
TAVRIN_API void GetPorousResinComplianceMatrix(double* spm, const double* sm, const double* vv,
                                               const int* voidtype);
// vvoid, vint, interprops(2), voidtype optional.
TAVRIN_API void GetPhaseReduction(double* sf, double* sm, const double* fiberprops,
                                  const double* matrixprops, const double* vf, const double* vvoid,
                                  const double* vint, const double* interprops, const int* voidtype);
TAVRIN_API void GetUDStrengthFromBridgingMatrix(double* ud, const double* bridging,
                                                const double* fiberprops, const double* matrixprops,
                                                const double* vf);

// Schemes: result, fiberprops(5), matrixprops(2), vf, then the optional
// arguments (null: vvoid 0, vint 0, interprops (0, 0), voidtype 0, yzratio 1,
// maxit 200, threshold 1e-8, strengthprops zero, cp (0.5, 0.5), rvetype 1).
TAVRIN_API void Voigt(double* vt, const double* fiberprops, const double* matrixprops, const double* vf,
                      const double* vvoid, const double* vint, const double* interprops,
                      const int* voidtype);
TAVRIN_API void Reuss(double* rs, const double* fiberprops, const double* matrixprops, const double* vf,
                      const double* vvoid, const double* vint, const double* interprops,
                      const int* voidtype);
TAVRIN_API void Dilute(double* es, const double* fiberprops, const double* matrixprops, const double* vf,
                       const double* vvoid, const double* vint, const double* interprops,
                       const double* yzratio, const int* voidtype);
TAVRIN_API void MoriTanaka(double* mt, const double* fiberprops, const double* matrixprops,
                           const double* vf, const double* vvoid, const double* vint,
                           const double* interprops, const double* yzratio, const int* voidtype);
TAVRIN_API void Chow(double* cw, const double* fiberprops, const double* matrixprops, const double* vf,
                     const double* vvoid, const double* vint, const double* interprops,
                     const double* yzratio, const int* voidtype);
TAVRIN_API void Lielens(double* li, const double* fiberprops, const double* matrixprops,
                        const double* vf, const double* vvoid, const double* vint,
                        const double* interprops, const double* yzratio, const int* voidtype);
TAVRIN_API void HashinShtrikman(double* hs, const double* fiberprops, const double* matrixprops,
                                const double* vf, const int* luflag, const double* vvoid,
                                const double* vint, const double* interprops, const double* yzratio,
                                const int* voidtype);
TAVRIN_API void Mura(double* ma, const double* fiberprops, const double* matrixprops, const double* vf,
                     const double* vvoid, const double* vint, const double* interprops,
                     const double* yzratio, const int* voidtype);
TAVRIN_API void CSCS(double* sc, const double* fiberprops, const double* matrixprops, const double* vf,
                     const double* vvoid, const double* vint, const double* interprops,
                     const double* yzratio, const int* voidtype, const int* maxit,
                     const double* threshold);
TAVRIN_API void Huang(double* hg, const double* fiberprops, const double* matrixprops, const double* vf,
                      const double* vvoid, const double* vint, const double* interprops,
                      const double* strengthprops, const double* cp, const int* voidtype);
TAVRIN_API void Cumulative(double* ch, const double* fiberprops, const double* matrixprops,
                           const double* vf, const double* vvoid, const double* vint,
                           const double* interprops, const double* strengthprops,
                           const double* yzratio, const int* voidtype, const int* rvetype);
}
