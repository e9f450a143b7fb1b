// Module delisio: sublaminate-energy analyses of delamination growth.
//
// Under compression a rectangular delamination of half-length a (along the
// load x) and half-width b splits a laminate strip, over the patch, into
// sublaminate 1 (the plies above the delaminated interface) and
// sublaminate 2 (the plies below).  Each sublaminate buckles at a
// closed-form plate load and then carries a reduced post-buckling stiffness
// (the fraction r of its A11); what it sheds goes to the intact strips
// beside the patch.  The energy release rates of growth in length and width
// are differences of total potential under small perturbations da, db of the
// patch size.
//
// Under tension a crack through one ply releases that ply's stress locally;
// the energy release rate is the membrane energy of the ply lost when one
// principal stress component is released, shared among the interfaces the
// crack meets (one for an outer ply, two for an inner one).
//
// Paris-type laws turn release rates into growth per cycle,
//   da/dN = cf·Gᶰᶠ,
// and into cycles to initiation, N = (c1/G)^c2, or, for a given life N, the
// release rate c1·N^(1/c2) that starts growth (the two are not inverses).
// A property vector props(≥ 12) holds the nine ply constants (E1, E2, E3,
// ν12, ν13, ν23, G12, G13, G23), the critical energy release rate (10) and
// the two constants of the laws: props(11) is the exponent nf of the rate
// law but c1 of the initiation law, props(12) the reverse.
//
// Compressive forces and strains are negative throughout.  Nothing here
// reads or writes shared state; failures are latched (-2 for inputs outside
// the model's limits, -3 for an unknown component).
#pragma once

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::delisio {

// ½·εᵀ·K·ε·area for K of n×n, formed as the row vector εᵀ·K dotted with ε.
TAVRIN_API double elastic_energy(const double* strain, const double* k, int n, double area);

// One buckled or straight sublaminate over the patch (EnergySublaminat).
struct SublaminateState {
  double energy = 0.0;  // its strain energy over the patch 4·a·b
  double force = 0.0;   // the force N_x it carries (nsub)
  bool buckled = false;
};
TAVRIN_API SublaminateState sublaminate_energy(const Mat6& abd, const Vec6& dof, double a, double b,
                                               double force, double buckfactor = 1.0,
                                               double r = 0.0);

// The release rates of the patch (EnergyReleaseRate): gx for growth in
// length, gy in width on both sides, gy_left and gy_right on one side.
struct ReleaseRates {
  double gx = 0.0, gy = 0.0, gy_left = 0.0, gy_right = 0.0;
};
// abdsub(2,6,6) the two sublaminates, forcecases(3,6) the resultants of the
// laminate and of both sublaminates; the caller has checked the limits
// (a, b > 0, b + db < width/2, N_x and A11·ε_x nonzero).
TAVRIN_API ReleaseRates release_rates(const Vec6& dof, const Mat6& abd, const double* abdsub,
                                      double a, double b, double width, double length,
                                      const double* forcecases, double e, double da, double db,
                                      double buckfactor, double r);

}  // namespace tavrin::delisio

extern "C" {

// n < 0: n = (c1/deltag)^c2, the cycles to initiation; otherwise deltag =
// c1·n^(1/c2), the release rate that starts growth within n cycles.
TAVRIN_API void GrowthInitiationParis(double* deltag, double* n, const double* c1, const double* c2);
// dadn = cf·deltag^nf.
TAVRIN_API void GrowthRateParis(const double* deltag, double* dadn, const double* cf,
                                const double* nf);
// serr_f_t = (σ11·√(π·b_crack))²/E11, E11 = props(1); gic is not used.
TAVRIN_API void fiber_tension_lefm(const double* sigma11_ply, const double* b_crack,
                                   const double* gic, const int* nprops, const double* props,
                                   double* serr_f_t);
// energy = ½·strainᵀ·abdmatrix·strain·area, abdmatrix(ncomp,ncomp).
TAVRIN_API void LinearElasticEnergy(const double* strain, const double* abdmatrix,
                                    const double* area, double* energy, const int* ncomp);
// The same with row `stresszero` and/or column `strainzero` of abdin set to
// zero (0: none).
TAVRIN_API void reducedElasticEnergy(const double* strain, const double* abdin, const double* area,
                                     double* energy, const int* stresszero, const int* strainzero,
                                     const int* ncomp);

// One sublaminate of half-sizes a_el, b_el under the laminate state
// dof_in(6) and its own force forces(1); buckfactor_in, r_in optional (1, 0).
TAVRIN_API void EnergySublaminat(const double* abd_in, const double* dof_in, const double* a_el,
                                 const double* b_el, const double* forces, double* energy,
                                 double* nsub, int* bstatus, const double* buckfactor_in,
                                 const double* r_in);
// The forces per width of the left and right strips beside a patch of
// half-width b carrying nsub, the strip force n11 over the strip width w.
TAVRIN_API void MomentumBalance(const double* n11, const double* nsub, const double* b,
                                const double* wr, const double* wl, const double* w,
                                const double* e, double* n_left, double* n_right);
// The force that buckled sublaminates shed to the strips and to unbuckled
// sublaminates; abdsub(2,6,6), forces(3,6) the resultants of the laminate
// and of sublaminates 1 and 2.
TAVRIN_API void ForceTransfer(const double* abd, const double* abdsub, const double* forces,
                              const double* nsub1in, const double* nsub2in, const double* width,
                              const double* leftwidth, const double* rightwidth,
                              const double* damagewidth, const double* w, const double* e,
                              double* nleft_m, double* nright_m, double* nsub1, double* nsub2,
                              double* deltadof, double* ie1_delta, double* ie2_delta,
                              const double* r_in);
// The extra end shortening over the patch length from the side strips.
TAVRIN_API void EquivDisp(const double* abd, const double* a, const double* b, const double* width,
                          const double* dof, const double* deltadof, const double* nleft,
                          const double* nright, const double* l, const double* r, double* deltax);
// gx, gy, gy_left, gy_right of a patch (a, b) in a strip width × length;
// e_in, da_in, db_in, buckfactor_in, r_in optional (0, 0.1, 0.1, 1, 0).
TAVRIN_API void EnergyReleaseRate(const double* dof, const double* abd, const double* abdsub,
                                  const double* a, const double* b, const double* width,
                                  const double* length, const double* areaclean,
                                  const double* forcecases, double* gx, double* gy,
                                  double* gy_left, double* gy_right, const double* e_in,
                                  const double* da_in, const double* db_in,
                                  const double* buckfactor_in, const double* r_in);

// Growth of a compression delamination through load cycles:
// results(13, totalcycles+1), one column per computed cycle.
TAVRIN_API void DelaCompGrowth(const double* layup, const double* tply, const double* indof,
                               const int* dela_interface, const double* props,
                               const double* length, const double* width,
                               const double* extensdmg, double* results, const double* dmgwidth,
                               const double* dmglength, const int* totalcycles, const int* nplies,
                               const int* nprops, const int* ndof, const int* incyclejump,
                               const double* instressratio, const double* dmgincrement_in);
// The compressive strain at which each interface's delamination starts to
// grow within inloadcycles, and the most critical one.
TAVRIN_API void Find_Allowable_nogrowth_comp(
    const double* layup, const double* tply, const double* extensdmg, const double* length,
    const double* width, const double* props, double* strainallowable,
    double* forceallowables_perinterface, double* eps_th_results, const double* dmgsizes,
    double* allowables_perinterface, const int* nplies, const int* nprops, const int* ninter,
    const double* inincrement, const double* dmgincrement_in, const double* inloadcycles);

// The release rate of a fibre crack when the ply's stress component dir
// (1 or 2) is released: (U − U_released)/(1 for an outer ply, else 2).
TAVRIN_API void sERR_delaTension(const double* dof_r, const double* a_r, const double* a_dmg,
                                 const double* b_dmg, const double* l_crack_proj,
                                 const double* delta_angle, double* serr_d_t, const int* dir,
                                 const int* outer);
// Growth of the delaminations at a fibre crack in ply ncrack under tension:
// results(13, 1000).
TAVRIN_API void delaTension(const double* layup, const double* tply, const double* indof,
                            const int* ncrack, const double* props, const double* length,
                            const double* width, const double* extensdmg, double* results,
                            const double* indmgwidth, const double* indmglength,
                            const double* l_crack, const int* totalcycles, const int* nplies,
                            const int* nprops, const int* ndof, const int* incyclejump,
                            const double* instressratio, const double* paris_ng);
// The tensile strain at which each cracked ply's delaminations start to
// grow, and the most critical ply.
TAVRIN_API void Find_Allowable_nogrowth_tension(
    const double* layup, const double* tply, const double* extensdmg, const double* length,
    const double* width, const double* props, const double* fibercrack, const double* dmgsizes,
    const int* nplies, const int* nprops, const int* ninter, double* allowables_perply,
    double* strainallowable, double* forceallowables_perply, const double* inincrement,
    const double* inloadcycles);

}  // extern "C"
