// Stiffness and strength degradation (module `degradation`): what a failed,
// damaged or fatigued ply keeps of its stiffness and strength.
//
// Degradation factors degrf(9) multiply stiffness entries in the solver
// (Nye) order 11, 22, 33, 12, 13, 23:
//   1 D11, 2 D12 = D21, 3 D22, 4 D44 (shear 12), 5 D55 (shear 13),
//   6 D66 (shear 23), 7 D13 = D31, 8 D23 = D32, 9 D33;
// 1.0 keeps an entry, 1e-20 is the smallest factor a scheme writes.
// Logical arguments are integers, non-zero meaning true.
#pragma once

#include "foundation/api.hpp"

namespace tavrin::degradation {

// dviscouse = dt/(eta + dt)·dnew + eta/(eta + dt)·dold.
TAVRIN_API void viscouseregularisation(double dold, double dnew, double& dviscouse, double eta, double dt);
// Mean over the plies of the mean over degr(:, ply) of log10(x)/(-20),
// x = 1 - degr (nodmg ≤ 1e-20) or degr/nodmg, an x ≤ 1e-20 counting 1.
TAVRIN_API double getaccumulateddamage(const double* degr, double nodmg, int ndegr, int nply);

}  // namespace tavrin::degradation

extern "C" {

// d(ntens,ntens): ones with the factors degrf(9) at the entries of a
// stiffness of ntens components (3: 11, 22, 12; 4 or 6: solver order; psflag
// given and 0: plane stress, in-plane entries only).  Another ntens latches
// -2 and leaves ones.
TAVRIN_API void GetNyeDegradationMatrix(double* d, const double* degrf, const int* ntens, const int* psflag);
// d(9): the factors of the damage flags dds(10) (1.0 = present; 1 fibre,
// 2 second fibre direction, 4 matrix, 5 and 6 delamination, 7 core,
// 8 buckled delamination, 9 and 10 further modes) in the grid degrid, for a
// tape or woven ply, with levels fa(4) (default 0.3, 0.3, 0.5, 0.5) and the
// residual factor rdisc of a buckled delamination.
TAVRIN_API void FalcomDegradation(double* d, const double* dds, const double* rdisc, const int* degrid,
                                  const int* plyistape, const double* fa);
// c_deg(6,6), Voigt order, acting on tensor shear strains: Matzenmiller's
// damaged orthotropic stiffness of propvec(9) = (E1, E2, E3, G23, G13, G12,
// ν23, ν13, ν12) with normal damages dnorm(3) and shear damages d23, d13, d12.
TAVRIN_API void MatzenmillerDegradation(const double* propvec, double* c_deg, const double* dnorm,
                                        const double* d23, const double* d13, const double* d12);
// w_stat(9) = the mode damages d_modes(9) (zeros when null) coupled into
// (1t, 1c, 2t, 2c, 3t, 3c, 12, 23, 13) by sum (accumulation) or maximum;
// with moduli(9) (E1t, E1c, E2t, E2c, E3t, E3c, G23, G13, G12), vnu(3)
// (ν23, ν13, ν12) and the signs effort(3) all given, c_deg(6,6) is the
// Matzenmiller stiffness of the damages of the loaded sides, else 0.
TAVRIN_API void DegradationFromModes(const double* d_modes, double* w_stat, const int* accumulation,
                                     double* c_deg, const double* moduli, const double* vnu,
                                     const double* effort);
// Matrix damage on the fracture plane at phirad about the fibre axis with
// bilinear softening: the onset values epsi, sigi, gmix, epsu are set on
// the first damage (w_matrixmode = 0), the damage w_matrixmode never falls,
// dsix(2..6) get the factors of the degraded plane tractions.  stressela,
// strain in the solver order.
TAVRIN_API void FalzonDegradationParameters(const double* stressela, const double* strain, const double* phirad,
                                            double* dsix, double* epsi, double* epsu, double* sigi,
                                            double* gmix, double* w_matrixmode, const double* gc,
                                            const double* charelemlength);
// Bogenfeld's fracture-plane damage d (mode 3; mode 0 gives 0) with the
// onset values kept in sdv(1..4) (start at -1.0); props = (plane angle in
// radians, gc(4)).  nsdv < 4 or nprops < 5 latch -2 and give 0.
TAVRIN_API void BogenfeldDegradation(double* d, double* sdv, const double* svoigt, const double* evoigt,
                                     const double* charelemlength, const double* props, const int* mode,
                                     const int* nsdv, const int* nprops);
// cdeg(6,6): the Voigt stiffness csix(6,6) degraded by d along axis baseid
// of the base turned by angle_r (radians) about z; nn = -1 keeps the
// normal block (i = j, k = l).
TAVRIN_API void TensorDegradation(const double* csix, double* cdeg, const double* angle_r, const double* d,
                                  const int* baseid, const int* nn);
// Sudden discount of the properties peprops(9) (moduli 1-6, Poisson ratios
// 7-9) and strengths psprops(9) on fibre and matrix failure; de(6), df(9)
// keep the smallest ratios seen; nm(6) optional failure indices.
TAVRIN_API void SuddenDegradation(double* degpeprops, double* degpsprops, const double* peprops,
                                  const double* psprops, double* de, double* df, double* g_f, double* g_m,
                                  const double* ttol, const double* degrfac, const double* nm);
// As SuddenDegradation with the discount regularised in time from degr_old.
TAVRIN_API void SuddenDegradation_viscouse(double* degpeprops, double* degpsprops, const double* peprops,
                                           const double* psprops, double* de, double* df, double* g_f,
                                           double* g_m, const double* ttol, const double* degrfac,
                                           const double* nm, double* degr_old, const double* eta,
                                           const double* dt);
// Isotropic discount of (E, ν) by degr once max(d, life) reaches 1.
TAVRIN_API void IsotropicDegradation(const double* peprops, const double* d, const double* life,
                                     const double* degr, double* degpeprops);
TAVRIN_API void IsotropicDegradation_viscouse(const double* peprops, const double* d, const double* life,
                                              const double* degr, double* degpeprops, double* degr_old,
                                              const double* eta, const double* dt);

// One block of cycles of gradual fatigue degradation.  Peak and bottom
// stresses are normalised by the strength (an exact 0.0 is written back as
// 1e-8); the life Nf follows from the constant-life relation with exponents
// u, v and the life curve f = a·Nf^b (f at most a·10^b).  The residual
// stiffness de and strengths df_t, df_c (1 intact) never rise.  dmgflag 1
// advances the consumed life nm by cjimp cycles; dmgflag 2 starts from the
// equivalent cycle count of the present tensile (compressive) strength and
// also returns cjump_nf, the cycles until the strength drops by lim more.
// Another dmgflag latches -2.  Element noel = debugdata::edebug traces.
TAVRIN_API void GradualDegradation(double* speak_t, double* sbottom_t, double* speak_c, double* sbottom_c,
                                   const double* xctratio, const double* a, const double* b, const double* u,
                                   const double* v, double* nm, const double* n, const double* cjimp,
                                   const double* alpha_t, const double* beta_t, const double* alpha_c,
                                   const double* beta_c, const double* gamma, const double* lambda, double* de,
                                   double* df_t, double* df_c, const double* degr_fac, const int* dmgflag,
                                   const int* isshear, const int* noel, double* cjump_nf, const double* lim);
}
