// Module evocollection: damage evolution laws.
#include "engine/descriptor.hpp"
#include "failure/evocollection.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(evocollection,
                      "damage evolution laws.\n\n"
                      "Viscous time regularisation of damage variables, bilinear strain softening regularised by the "
                      "element length, the traction magnitude on a coordinate plane and the critical strain of "
                      "delamination growth.  A damage is 0 intact and 1 fully damaged; stresses are in MPa, energy "
                      "release rates in N/mm, lengths in mm; tensors are in the Voigt order 11, 22, 33, 23, 13, 12 and "
                      "axes are counted from 1.");
TAVRIN_ROUTINE_DOC(timeregularization, TimeRegularization,
                   "viscous time regularisation of damage variables: r/(1+r)·d_old + 1/(1+r)·d_new, r = reg_factor",
                   in(Real, "d_old", "num").describe("damage variables of the last converged increment (0 undamaged)"),
                   in(Real, "d_new", "num").describe("damage variables of the current increment, unregularised"),
                   out(Real, "d_reg", "num").describe("regularised damage variables"),
                   in(Real, "dt_inc").describe("time increment"),
                   in(Real, "reg_factor").describe("viscous regularisation factor r (η = r·dt_inc); 0 returns d_new"),
                   in(Int, "num").opt("len(d_old)").describe("number of damage variables"));
TAVRIN_ROUTINE_DOC(equivalentquadstressstrain, EquivalentQuadStressStrain,
                   "traction magnitude on the coordinate plane normal to axis nn",
                   in(Real, "tens", "6").describe("stress (or strain) in Voigt order 11, 22, 33, 23, 13, 12"),
                   in(Int, "nn").describe("plane normal axis, 1, 2 or 3 (other: latch -3, result 0)"),
                   out(Real, "scaleq").describe("Euclidean norm of the traction σ·e_nn"));
TAVRIN_ROUTINE_DOC(bilinearevolution, BiLinearEvolution,
                   "damage of bilinear strain softening regularised by the element length",
                   in(Real, "eps").describe("current strain"),
                   in(Real, "eps0").describe("strain at damage onset"),
                   in(Real, "sig_f").describe("stress at damage onset (MPa)"),
                   in(Real, "gc").describe("critical energy release rate (N/mm)"),
                   in(Real, "lc").describe("characteristic element length (mm); below 0.001 the passed eps1 is used"),
                   out(Real, "d").describe("damage variable (not bounded; the caller keeps it in [0, 1])"),
                   inout(Real, "eps1").describe("failure strain: computed when |lc| ≥ 0.001, at least 1.2·eps0"));
TAVRIN_ROUTINE_DOC(dgstrainrhead, DGStrainRhead, "critical strain of delamination growth",
                   result(Real, "dgstrainrhead").describe(
                       "critical growth strain (eps_c)*(sqrt((2*gic/(eps_c^2*a11) + 3 + r)*(1 - r) + (1 + r)^2) - "
                       "(1 + r))/(1 - r), r = r_stiff; dimensionless, 0 when eps_c = 0"),
                   in(Real, "eps_c").describe("critical strain of the undelaminated state; 0 gives 0"),
                   in(Real, "gic").describe("mode I critical energy release rate (N/mm)"),
                   in(Real, "a11").describe("membrane stiffness A11 of the sublaminate (N/mm)"),
                   in(Real, "r_stiff").opt("0.0").describe("stiffness ratio of the sublaminates"));

}  // namespace
}  // namespace tavrin::bind
