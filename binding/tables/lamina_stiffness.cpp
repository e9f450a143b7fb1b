// Module lamina: ply elastic constants, stiffness and compliance, and their
// use at a material point.
#include "engine/descriptor.hpp"
#include "tables/lamina_args.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(lamina, lamina_args::lamina_doc);

constexpr Arg props9 = in(Real, "props", "9").describe("E1, E2, E3, nu12, nu13, nu23, G12, G13, G23");
constexpr Arg ntens = in(Int, "ntens").describe(
    "components of the solver layout: 3 (11, 22, 12), 4 (11, 22, 33, 12) or 6 (Nye order)");
constexpr Arg psflag = in(Int, "psflag").opt("1").describe(
    "0: plane stress (the reduced in-plane entries); other: the 3-D matrix's leading block");
constexpr Arg ndi = in(Int, "ndi").describe("number of direct (normal) components; shears follow");
constexpr Arg ntens_of_stress = in(Int, "ntens").opt("len(stress)").describe("number of components");
constexpr Arg issekant = in(Logical, "issekant").describe("true: ddsdde is a secant stiffness; false: a tangent");
constexpr Arg istensor = in(Logical, "istensor").describe("true: the strains hold tensor shears (doubled before use)");

TAVRIN_ROUTINE_DOC(getnyeproperties, GetNyeProperties,
                   "The nine ply constants from isotropic (2), transversely isotropic (5) or orthotropic (9) input."
                   "\n\nAnother count is latched (errstat -2) and gives zero." TAVRIN_LAMINA_LATCH,
                   out(Real, "nyeprops", "9").describe("E1, E2, E3, nu12, nu13, nu23, G12, G13, G23"),
                   in(Real, "elastic", "nelastic").describe(
                       "2: (E, nu); 5: (E1, E2, nu12, nu23, G12) or (E1, E2, G12, G23, nu12); 9: the nine "
                       "constants, or (E1, E2, E3, G12, G13, G23, nu12, nu13, nu23)"),
                   in(Int, "nelastic").opt("len(elastic)").describe("2, 5 or 9"));
TAVRIN_ROUTINE_DOC(getnyestiffnessmatrix, GetNyeStiffnessMatrix,
                   "On-axis stiffness C of an orthotropic ply in the solver layout (engineering shear strains).",
                   out(Real, "c", "ntens,ntens").describe("C in the layout of ntens; the shear diagonal holds G12, G13, G23"),
                   props9, ntens, psflag);
TAVRIN_ROUTINE_DOC(getnyecompliancematrix, GetNyeComplianceMatrix,
                   "On-axis compliance S of an orthotropic ply in the solver layout (engineering shear strains).",
                   out(Real, "s", "ntens,ntens").describe("S in the layout of ntens"), props9, ntens, psflag);
TAVRIN_ROUTINE_DOC(getgeneralizednyeonaxissc, GetGeneralizedNyeOnAxisSC,
                   "On-axis stiffness or compliance of a ply from constants or matrix entries, in the solver layout."
                   "\n\nAnother count or ntens is latched (errstat -2) and gives zero." TAVRIN_LAMINA_LATCH,
                   out(Real, "sc", "ntens,ntens").describe("the stiffness or compliance in the layout of ntens"),
                   in(Real, "props", "nprops").describe(
                       "2, 5 or 9 engineering constants; 12: the nine constants, then nu21, nu31, nu32; 21: the "
                       "upper triangle of the 6x6 Nye stiffness column by column; 36: the 6x6 Nye stiffness"),
                   ntens, in(Int, "nprops").opt("len(props)").describe("2, 5, 9, 12, 21 or 36"),
                   in(Int, "scflag").describe("0: the compliance; other: the stiffness"), psflag,
                   in(Logical, "ldflag").opt("0").describe("not used"),
                   in(Logical, "unsymm").opt("0").describe("true: 12 or 36 values are not symmetrised"));
TAVRIN_ROUTINE_DOC(getinvariantsfromreducedstiffness, GetInvariantsFromReducedStiffness,
                   "Lamination invariants U1..U5 of a ply's reduced (plane-stress) stiffness.",
                   out(Real, "u", "5").describe("U1 ... U5 (stress unit)"),
                   in(Real, "props", "nprops").describe("ply elastic input as for getnyeproperties"),
                   in(Int, "nprops").opt("len(props)").describe("2, 5 or 9"));
TAVRIN_ROUTINE_DOC(getoffaxisshearrigidmatrix, GetOffAxisShearRigidMatrix,
                   "Transverse shear stiffness of a ply turned by an angle, in reference axes.",
                   out(Real, "hoff", "2,2").describe("rows and columns (23, 13)"),
                   in(Real, "g13").describe("transverse shear modulus G13"),
                   in(Real, "g23").describe("transverse shear modulus G23"),
                   in(Real, "dangle").describe("the ply angle in degrees, from reference axis x to material axis 1"));
TAVRIN_ROUTINE_DOC(getstressvector, GetStressVector,
                   "Stress update sigma = C.(eps0 + deps) (secant) or sigma + C.deps (tangent), in place.",
                   inplace(Real, "stress", "ntens").describe(
                       "the stress, updated in place: a writeable Fortran-ordered float64 array"),
                   in(Real, "ddsdde", "ntens,ntens").describe("the material stiffness in the solver layout"),
                   in(Real, "strain0", "ntens").describe("the strain at the start of the increment"),
                   in(Real, "dstrain", "ntens").describe("the strain increment"), ndi, ntens_of_stress,
                   issekant, istensor);
TAVRIN_ROUTINE_DOC(getspecificstrainenergy, GetSpecificStrainEnergy,
                   "Specific strain energy: 1/2 sigma.eps (secant) or its increment added to sse (tangent).",
                   inout(Real, "sse").describe("the energy per volume at the start (used by the tangent form)"),
                   in(Real, "stress", "ntens").describe("the stress at the end of the increment"),
                   in(Real, "stress0", "ntens").describe("the stress at the start of the increment"),
                   in(Real, "strain0", "ntens").describe("the strain at the start of the increment"),
                   in(Real, "dstrain", "ntens").describe("the strain increment"), ndi, ntens_of_stress,
                   issekant, istensor);
TAVRIN_ROUTINE_DOC(getmatparambycurvefitting, GetMatParamByCurveFitting,
                   "Secant value l (1 - d) of a property under a nonlinear degradation law.",
                   result(Real, "getmatparambycurvefitting").describe("the degraded property"),
                   in(Real, "l").describe("the undamaged property (e.g. a modulus)"),
                   in(Real, "eta").describe("the law's coefficient beta"),
                   in(Real, "stress0").describe("the stress (read by the Hahn-Tsai law)"),
                   in(Real, "strain0").describe("the strain at the start of the increment"),
                   in(Real, "dstrain").describe("the strain increment"),
                   in(Int, "nlflag").describe("1: Kaestner; 2: Krause; 3: Hahn-Tsai; other: l unchanged"));

}  // namespace
}  // namespace tavrin::bind
