// Module laminate: ply z-coordinates, the stiffness blocks A, B, D and ABD,
// their inverses and engineering constants, lamination parameters,
// sublaminates and the Chai factors.
#include "engine/descriptor.hpp"
#include "tables/laminate_args.hpp"
#include "mechanics/laminate_stiffness.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

TAVRIN_BINDING_MODULE(laminate, laminate_doc);

constexpr Arg a_in = in(Real, "a", "3,3").describe("membrane stiffness A (11, 22, 12)");
constexpr Arg b_in = in(Real, "b", "3,3").describe("coupling stiffness B (11, 22, 12)");
constexpr Arg d_in = in(Real, "d", "3,3").describe("bending stiffness D (11, 22, 12)");

TAVRIN_ROUTINE_DOC(getplyzcoord, GetPlyZCoord,
                   "z of the bottom, middle or top of one ply, measured from the laminate mid-plane."
                   "\n\nA ply outside 1..nplies raises _tavrin.error before the call.",
                   result(Real, "getplyzcoord").describe("z of that point (length unit)"),
                   plythickness, iply.describe("the ply, counted from 1 at the bottom (outside 1..nplies: raises)"),
                   in(Int, "nplies").opt("len(plythickness)").describe("number of plies"),
                   in(Int, "zpos").describe("2: the top of the ply; 1: its middle; any other value: its bottom"),
                   in(Real, "refoffset").opt("0.0").describe(
                       "height of the reference plane above the mid-plane; z is measured from it"));
TAVRIN_ROUTINE_DOC(getamatrix, GetAMatrix,
                   "Membrane stiffness A = sum of Qbar_k (z_t - z_b) of a ply stack (N = A.eps0 + B.kappa).",
                   out(Real, "a", "3,3").describe("A in laminate axes, order 11, 22, 12 (force per length)"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(getbmatrix, GetBMatrix,
                   "Membrane-bending coupling stiffness B = 1/2 sum of Qbar_k (z_t^2 - z_b^2) of a ply stack.",
                   out(Real, "b", "3,3").describe("B in laminate axes, order 11, 22, 12; zero for a symmetric stack"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(getdmatrix, GetDMatrix,
                   "Bending stiffness D = 1/3 sum of Qbar_k (z_t^3 - z_b^3) of a ply stack (M = B.eps0 + D.kappa).",
                   out(Real, "d", "3,3").describe("D in laminate axes, order 11, 22, 12 (moment per length per curvature)"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(getabdmatrix, GetABDMatrix,
                   "The 6x6 laminate stiffness ABD = [A B; B D] relating (N, M) to (eps0, kappa).",
                   out(Real, "abd", "6,6").describe("rows and columns N11, N22, N12, M11, M22, M12 against "
                                                    "eps11, eps22, gamma12, kappa11, kappa22, kappa12"),
                   a_in, b_in, d_in);
TAVRIN_ROUTINE_DOC(getreducedbendingstiffness, GetReducedBendingStiffness,
                   "Reduced bending stiffness Dtilde = D - B A^-1 B, the bending stiffness with the membrane free."
                   "\n\nA singular A is latched by the matrix inversion (errstat -2)." TAVRIN_LAMINATE_LATCH,
                   out(Real, "dred", "3,3").describe("Dtilde, order 11, 22, 12"), a_in, b_in, d_in);
TAVRIN_ROUTINE_DOC(getabdtilde, GetABDTilde,
                   "The blocks A*, B*, D* of the laminate compliance ABD^-1 = [A* -B*^T; -B* D*]."
                   "\n\nWith Dtilde = D - B A^-1 B: D* = Dtilde^-1, B* = Dtilde^-1 B A^-1 and "
                   "A* = A^-1 + A^-1 B Dtilde^-1 B A^-1, so eps0 = A* N - B*^T M and kappa = -B* N + D* M. "
                   "A singular block is latched by the matrix inversion (errstat -2)." TAVRIN_LAMINATE_LATCH,
                   a_in, b_in, d_in,
                   out(Real, "atstar", "3,3").describe("A*, the membrane compliance, order 11, 22, 12"),
                   out(Real, "btstar", "3,3").describe("B*, with the sign convention ABD^-1 = [A* -B*^T; -B* D*]"),
                   out(Real, "dtstar", "3,3").describe("D*, the bending compliance, order 11, 22, 12"));
TAVRIN_ROUTINE_DOC(getengconstsfromabdmatrix, GetEngConstsFromABDMatrix,
                   "Laminate engineering constants (membrane and bending moduli, Poisson's ratios) from ABD."
                   "\n\nBy default from the compliance a = ABD^-1 of the whole, coupled matrix, so a laminate "
                   "free to bend: E11 = 1/(a11 h), E22 = 1/(a22 h), G12 = 1/(a33 h), nu12 = -a12/a11, "
                   "in bending 12/(a44 h^3), 12/(a55 h^3), 12/(a66 h^3), nu12 = -a45/a44.  For an "
                   "unsymmetric stack these differ from the moduli of A^-1 alone (a [0/90] of T300/5208 "
                   "plies: Ex 38.6 GPa from ABD^-1 against 96.0 GPa from A^-1).  A singular ABD is "
                   "latched by the matrix inversion (errstat -2)." TAVRIN_LAMINATE_LATCH,
                   out(Real, "eng", "8").describe("Ex, Ey, Gxy, nuxy of the membrane, then Ex, Ey, Gxy, nuxy in "
                                                  "bending (moduli in the stress unit)"),
                   in(Real, "abd", "6,6").describe("the laminate stiffness (getabdmatrix)"),
                   in(Real, "h").describe("laminate thickness"),
                   in(Logical, "tcflag").opt("0").describe(
                       "true: from the stiffness diagonal, A11/h, A22/h, A33/h and 12 D11/h^3, 12 D22/h^3, "
                       "12 D33/h^3, Poisson's ratios 0; false: from the compliance ABD^-1"));
TAVRIN_ROUTINE_DOC(getvmatrix, GetVMatrix,
                   "Lamination parameters V of a stack: membrane, coupling and bending averages of cos/sin 2theta and 4theta.",
                   out(Real, "v", "4,3").describe("rows cos 2theta, cos 4theta, sin 2theta, sin 4theta; columns "
                                                  "membrane, coupling, bending (dimensionless)"),
                   in(Real, "plyorientation", "nplies").describe("ply angles in radians (not degrees), ply 1 at the bottom"),
                   plythickness, in(Int, "nplies").opt("len(plyorientation)").describe("number of plies"));
TAVRIN_ROUTINE_DOC(geteffectiveplatestiffness, GetEffectivePlateStiffness,
                   "Effective plate bending stiffness sqrt(1/2 (1 + (D12 + 2 D66)/sqrt(D11 D22)) D11 D22) of a stack.",
                   result(Real, "geteffectiveplatestiffness").describe("the effective bending stiffness (unit of D)"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(getsublaminatestack, GetSubLaminateStack,
                   "First and last ply of the thinner sublaminate on either side of an interface (the upper one on a tie).",
                   out(Int, "sublamstack", "2").describe("first and last ply, counted from 1; (1, 0) for the "
                                                         "empty sublaminate below ply 1"),
                   plythickness,
                   in(Int, "intface").describe("the interface above this ply (0: the bottom face; outside "
                                               "0..nplies counts as the nearest face)"),
                   in(Int, "nplies").opt("len(plythickness)").describe("number of plies"));
TAVRIN_ROUTINE_DOC(getsublaminatexmatrix, GetSubLaminateXMatrix,
                   "A, B or D of a sublaminate, plies sublamstack(1)..sublamstack(2), about its own mid-plane."
                   "\n\nA ply range outside 1..nplies is latched (errstat -3) and gives zero." TAVRIN_LAMINATE_LATCH,
                   out(Real, "xsub", "3,3").describe("the block asked for, order 11, 22, 12"),
                   in(Text, "slflag", "1").describe("'A', 'B' or 'D'; another letter gives zero"), plyelastic,
                   plyorientation, plythickness,
                   in(Int, "sublamstack", "2").describe("first and last ply of the sublaminate, counted from 1 "
                                                        "(getsublaminatestack)"),
                   nplies);
TAVRIN_ROUTINE_DOC(getchaidelamfactors, GetChaiDelamFactors,
                   "Chai's three delamination factors of the interface between a lower and an upper ply.",
                   out(Real, "chaidfactors", "3").describe(
                       "1: (t_l/t_u)(Q11l - Q11u(theta))/(Q11l - Q22u) (0 when Q11l = Q22u); "
                       "2: 1/2 (1 + G23u/G23l c^2 + G23u/G13l s^2); 3: 1/2 (1 + G13l/G13u c^2 + G13l/G23u s^2)"),
                   in(Real, "qonl", "3,3").describe("on-axis reduced stiffness Q of the lower ply (11, 22, 12)"),
                   in(Real, "qonu", "3,3").describe("on-axis reduced stiffness Q of the upper ply (11, 22, 12)"),
                   in(Real, "dangl_d").describe("angle of the upper ply against the lower one, in degrees"),
                   in(Real, "plythickl").describe("thickness of the lower ply"),
                   in(Real, "plythicku").describe("thickness of the upper ply"),
                   in(Real, "g23l").describe("transverse shear modulus G23 of the lower ply"),
                   in(Real, "g23u").describe("transverse shear modulus G23 of the upper ply"),
                   in(Real, "g13l").describe("transverse shear modulus G13 of the lower ply"),
                   in(Real, "g13u").describe("transverse shear modulus G13 of the upper ply"));

}  // namespace
}  // namespace tavrin::bind
