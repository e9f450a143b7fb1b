// Module lamina: component orders, notation conversions and rotations.
#include "engine/descriptor.hpp"
#include "tables/lamina_args.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(lamina, lamina_args::lamina_doc);

constexpr Arg tensor = in(Real, "q", "3,3").describe("a symmetric tensor (read from its upper triangle)");
constexpr Arg sdim = in(Int, "sdim").describe("1: q is a vector; 6: a 6x6 matrix (rows and columns permuted)");
constexpr Arg rotation_angle = in(Real, "theta_r").describe("rotation angle in radians, right-handed about nrot");
constexpr Arg rotation_axis = in(Real, "nrot", "3").describe("the rotation axis (unit vector)");
constexpr Arg s11 = in(Real, "s11").describe("stress component 11");
constexpr Arg s22 = in(Real, "s22").describe("stress component 22");
constexpr Arg s33 = in(Real, "s33").describe("stress component 33");
constexpr Arg s12 = in(Real, "s12").describe("stress component 12");
constexpr Arg s13 = in(Real, "s13").describe("stress component 13");
constexpr Arg s23 = in(Real, "s23").describe("stress component 23");
constexpr Arg order_flag_scflag = in(Int, "scflag").describe("0: sc is a compliance; other: a stiffness");

TAVRIN_ROUTINE_DOC(cauchynotation, CauchyNotation, "The symmetric 3x3 tensor of a 6-vector in Voigt order.",
                   out(Real, "cn", "3,3").describe("the tensor"),
                   in(Real, "qv", "6").describe("the vector in Voigt order 11, 22, 33, 23, 13, 12"));
TAVRIN_ROUTINE_DOC(voigtnotation, VoigtNotation, "The 6-vector in Voigt order of a symmetric tensor.",
                   out(Real, "vn", "6").describe("11, 22, 33, 23, 13, 12"), tensor);
TAVRIN_ROUTINE_DOC(nyenotation, NyeNotation, "The 6-vector in Nye (solver) order of a symmetric tensor.",
                   out(Real, "nn", "6").describe("11, 22, 33, 12, 13, 23"), tensor);
TAVRIN_ROUTINE_DOC(cyclicnotation, CyclicNotation, "The 6-vector in cyclic order of a symmetric tensor.",
                   out(Real, "cn", "6").describe("11, 22, 33, 12, 23, 31"), tensor);
TAVRIN_ROUTINE_DOC(flipvoigtnyenotation, FlipVoigtNyeNotation,
                   "Converts a vector or matrix between Voigt and Nye order (positions 4 and 6 exchanged).",
                   out(Real, "fn", "6,sdim").describe("q in the other order; untouched (zero) for another sdim"),
                   in(Real, "q", "6,sdim").describe("a 6-vector (sdim 1) or 6x6 matrix (sdim 6) in Voigt or Nye order"),
                   sdim);
TAVRIN_ROUTINE_DOC(flipvoigtcyclicnotation, FlipVoigtCyclicNotation,
                   "Converts a vector or matrix between cyclic and Voigt order (shear positions shifted).",
                   out(Real, "fn", "6,sdim").describe("q in the other order"),
                   in(Real, "q", "6,sdim").describe("a 6-vector (sdim 1) or 6x6 matrix (sdim 6)"), sdim,
                   in(Int, "dir").describe("1: cyclic to Voigt; 2 or -1: Voigt to cyclic"));
TAVRIN_ROUTINE_DOC(getvoigtstiffnessfromtensor, GetVoigtStiffnessFromTensor,
                   "The 6x6 Voigt matrix of a fourth-order stiffness tensor (no factors of 2).",
                   out(Real, "csix", "6,6").describe("csix(p,q) = C(i_p, j_p, i_q, j_q), pairs 11, 22, 33, 23, 13, 12"),
                   in(Real, "c_4th", "3,3,3,3").describe("the tensor C(i,j,k,l)"));
TAVRIN_ROUTINE_DOC(gettensorfromvoigtstiffness, GetTensorFromVoigtStiffness,
                   "The fourth-order stiffness tensor, with both minor symmetries, of a 6x6 Voigt matrix.",
                   out(Real, "c_4th", "3,3,3,3").describe("the tensor C(i,j,k,l)"),
                   in(Real, "csix", "6,6").describe("the matrix in Voigt order 11, 22, 33, 23, 13, 12"));
TAVRIN_ROUTINE_DOC(getnyetransformationmatrix, GetNyeTransformationMatrix,
                   "Stress or strain transformation matrix of a rotation about axis 3, in Nye order."
                   "\n\nA tdim other than 3 or 6 (zero result), or another ttype or tflag, is latched "
                   "(errstat -2)." TAVRIN_LAMINA_LATCH,
                   out(Real, "t", "tdim,tdim").describe(
                       "T with sigma_material = T_sigma.sigma_reference (stress form) or the same for "
                       "engineering strains (strain form); 3: order 11, 22, 12; 6: Nye order"),
                   in(Real, "rangle").describe("the ply angle in radians, from reference axis x to material axis 1"),
                   in(Int, "tdim").describe("3 or 6"),
                   in(Int, "ttype").describe("0: rotation by rangle; 1: by -rangle"),
                   in(Int, "tflag").describe("0: stress form; 1: engineering-strain form"));
TAVRIN_ROUTINE_DOC(getnyeoffaxissc, GetNyeOffAxisSC,
                   "Stiffness or compliance of a ply turned by an angle, in reference axes (Nye order)."
                   "\n\nAn ntens other than 3 or 6 is latched (errstat -2) and gives zero." TAVRIN_LAMINA_LATCH,
                   out(Real, "scoff", "ntens,ntens").describe("3: plane stress, order 11, 22, 12; 6: Nye order"),
                   in(Real, "dangle").describe("the ply angle in degrees, from reference axis x to material axis 1"),
                   in(Real, "props", "9").describe("E1, E2, E3, nu12, nu13, nu23, G12, G13, G23"),
                   in(Int, "ntens").describe("3 or 6"),
                   in(Int, "scflag").describe("0: the compliance; 1: the stiffness"));
TAVRIN_ROUTINE_DOC(gettvectoronrotatedxyplane, GetTVectorOnRotatedXYPlane,
                   "Traction on the plane through axis 1 turned by theta about it (normal (0, -sin, cos)).",
                   out(Real, "tv", "3").describe("normal stress, shear along 1, shear along (0, cos, sin)"),
                   in(Real, "theta_r").describe("the plane's angle in radians about axis 1"),
                   s22, s33, s12, s13, s23);
TAVRIN_ROUTINE_DOC(gettvectorfromarbitraryrotation, GetTVectorFromArbitraryRotation,
                   "Traction on a plane of rotated axes: normal stress and the two shears on it."
                   "\n\nAnother tflag is latched (errstat -2)." TAVRIN_LAMINA_LATCH,
                   out(Real, "tv", "3").describe("normal stress and the two shear stresses on the plane"),
                   rotation_angle, rotation_axis, s11, s22, s33, s12, s13, s23,
                   in(Int, "tflag").opt("0").describe("the plane normal to rotated axis 1, 2 or 3 (3 when 0)"));
TAVRIN_ROUTINE_DOC(getrotatedstresses, GetRotatedStresses,
                   "Stress components on axes rotated about an arbitrary axis, R^T sigma R.",
                   out(Real, "sv", "6").describe("the six components in the order soutflag asks for"),
                   rotation_angle, rotation_axis, s11, s22, s33, s12, s13, s23,
                   in(Int, "soutflag").opt("0").describe("1: Voigt order; 2: cyclic; other: Nye"));
TAVRIN_ROUTINE_DOC(getphimeasuredfromxzplane, GetPhiMeasuredFromXZPlane,
                   "The angle from the xz plane of the direction that a rotation by phixy about x gives.",
                   out(Real, "phixz").describe("the angle in radians"),
                   in(Real, "phixy").describe("the rotation angle about x in radians"),
                   in(Logical, "clockwise").describe("true: phixy turns clockwise"));
TAVRIN_ROUTINE_DOC(getarbitrarybasesc, GetArbitraryBaseSC,
                   "Stiffness or compliance expressed in an arbitrary orthonormal base.",
                   out(Real, "scbase", "6,6").describe("the matrix in the new base, in the order of sc"),
                   in(Real, "sc", "6,6").describe("the stiffness or compliance, in the order ntflag names"),
                   in(Real, "base", "3,3").describe("the new axes as columns (orthonormal)"), order_flag_scflag,
                   in(Int, "ntflag").describe("order of sc: 1 Voigt; 2 cyclic; other Nye"));
TAVRIN_ROUTINE_DOC(getreducednyestiffnessmatrix, GetReducedNyeStiffnessMatrix,
                   "Plane (condensed) stiffness of a 6x6 stiffness under zero normal stress out of the plane.",
                   out(Real, "qs", "3,3").describe("the 3x3 plane stiffness in the order of the kept components"),
                   in(Real, "c", "6,6").describe("the stiffness in Nye order 11, 22, 33, 12, 13, 23"),
                   in(Int, "plflag").opt("1").describe(
                       "1: the 12 plane (11, 22, 12); 2: the 23 plane (22, 33, 23); 3: the 13 plane (11, 33, 13)"));

}  // namespace
}  // namespace tavrin::bind
