// Module elementhandling, shell kinematics: shape-function matrices,
// Jacobians, B-matrices and curvatures.
#include "element_args.hpp"
#include "elements/shell_kinematics.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace element_args;

constexpr const char* shell_matrix_doc =
    "one row per node; columns N, N,ξ, N,η, N,ξξ, N,ηη, N,ξη";
constexpr const char* shell_nodes_doc = "6: the 6-node triangle; 8: the 8-node quadrilateral";
constexpr Arg ncoords = in(Real, "ncoords", "3,inodes").describe("x, y, z of each node (x and y enter)");
constexpr Arg ncoords_inodes = in(Int, "inodes").opt("shape(ncoords,1)").describe(shell_nodes_doc);
constexpr Arg shape_inodes = in(Int, "inodes").opt("shape(nshape,0)").describe(
    "nodes of the element (rows of nshape): 6 the 6-node triangle, 8 the 8-node quadrilateral");

TAVRIN_BINDING_MODULE(elementhandling, "element kinds, kinematics and 3-D to element layouts");
TAVRIN_ROUTINE_DOC(quad4shapefunmatrix, Quad4ShapeFunMatrix,
                   "shape functions and first derivatives of the 4-node quadrilateral at one point",
                   out(Real, "nshape", "4,3").describe("one row per node; columns N, N,ξ, N,η"), xi, eta);
TAVRIN_ROUTINE_DOC(tria6shapefunmatrix, Tria6ShapeFunMatrix,
                   "shape functions and derivatives of the 6-node triangle at one point",
                   out(Real, "nshape", "6,6").describe(shell_matrix_doc), xi, eta);
TAVRIN_ROUTINE_DOC(quad8shapefunmatrix, Quad8ShapeFunMatrix,
                   "shape functions and derivatives of the 8-node quadrilateral at one point",
                   out(Real, "nshape", "8,6").describe(shell_matrix_doc), xi, eta);
TAVRIN_ROUTINE_DOC(hex8shapefunmatrix, Hex8ShapeFunMatrix,
                   "shape functions and derivatives of the 8-node brick at one point",
                   out(Real, "nshape", "8,9")
                       .describe("one row per node; columns N, N,ξ, N,η, N,ζ, 0, 0, 0, N,ξη, N,ξζ"),
                   xi, eta, zeta);
TAVRIN_ROUTINE_DOC(getnodalshape, GetNodalShape,
                   "shape-function matrix of the 6-node triangle or 8-node quadrilateral at one of its nodes",
                   out(Real, "nshape", "inodes,6").describe(shell_matrix_doc),
                   in(Int, "locnode").describe("the node, counted from 1"),
                   in(Int, "inodes").describe(shell_nodes_doc));
TAVRIN_ROUTINE_DOC(shelljacobian, ShellJacobian, "isoparametric Jacobian of a shell at (ξ, η)",
                   out(Real, "jac", "2,2").describe("[[x,ξ, y,ξ], [x,η, y,η]]"),
                   out(Real, "nshape", "inodes,6").describe(shell_matrix_doc), ncoords,
                   ncoords_inodes, xi, eta);
TAVRIN_ROUTINE_DOC(shelljacobianinverse, ShellJacobianInverse, "inverse of a 2×2 shell Jacobian",
                   out(Real, "jacinv", "2,2").describe("zero when jac is singular (status -3)"),
                   in(Real, "jac", "2,2").describe("Jacobian [[x,ξ, y,ξ], [x,η, y,η]] as from shelljacobian"));
TAVRIN_ROUTINE_DOC(shellsecondderivjacobian, ShellSecondDerivJacobian,
                   "second derivatives of the shell geometry with respect to ξ and η",
                   out(Real, "jac2", "3,2").describe("[[x,ξξ, y,ξξ], [x,ηη, y,ηη], [x,ξη, y,ξη]]"),
                   in(Real, "nshape", "inodes,6").describe(shell_matrix_doc),
                   in(Real, "ncoords", "3,inodes").describe("x, y, z of each node (x and y enter)"),
                   shape_inodes, in(Real, "xi").describe("not used"), in(Real, "eta").describe("not used"));
TAVRIN_ROUTINE_DOC(shellfirstderivjacobian, ShellFirstDerivJacobian,
                   "transformation of the second derivatives from (x, y) to (ξ, η)",
                   out(Real, "jac1", "3,3").describe("rows (a², c², 2ac), (b², d², 2bd), (ab, cd, bc + ad)"),
                   in(Real, "jac", "2,2").describe("[[a, c], [b, d]]"));
TAVRIN_ROUTINE_DOC(shellfirstderivjacobianinverse, ShellFirstDerivJacobianInverse,
                   "inverse of the 3×3 second-derivative transformation by cofactors",
                   out(Real, "jac1inv", "3,3").describe("zero when jac1 is singular (status -3)"),
                   in(Real, "jac1", "3,3").describe("second-derivative transformation as from shellfirstderivjacobian"));
TAVRIN_ROUTINE_DOC(shellbmatrix, ShellBMatrix,
                   "strain-displacement matrix of a shear-deformable shell at (ξ, η)",
                   out(Real, "b", "8,40")
                       .describe("rows εxx, εyy, γxy, κxx, κyy, κxy, γyz, γxz; columns u, v, w, θx, θy per node"),
                   ncoords, ncoords_inodes, xi, eta);
TAVRIN_ROUTINE_DOC(shellxderivbmatrix, ShellxDerivBMatrix,
                   "x derivative of the transverse shear rows of the shell B-matrix",
                   out(Real, "xderivb", "2,40").describe("rows γyz, γxz; columns u, v, w, θx, θy per node"),
                   ncoords, ncoords_inodes, xi, eta);
TAVRIN_ROUTINE_DOC(shellyderivbmatrix, ShellyDerivBMatrix,
                   "y derivative of the transverse shear rows of the shell B-matrix",
                   out(Real, "yderivb", "2,40").describe("rows γyz, γxz; columns u, v, w, θx, θy per node"),
                   ncoords, ncoords_inodes, xi, eta);
TAVRIN_ROUTINE_DOC(shellxderivshearforces, ShellxDerivShearForces,
                   "x derivative of the two transverse shear forces of a shell",
                   out(Real, "xderivr", "2").describe(
                       "x derivative hmat·(B,x·u) of the transverse shear forces, in the order γyz, γxz (force per length, per length)"),
                   in(Real, "u", "40").describe("u, v, w, θx, θy per node"),
                   in(Real, "hmat", "2,2").describe("transverse shear stiffness of the section"), ncoords,
                   ncoords_inodes, xi, eta);
TAVRIN_ROUTINE_DOC(shellyderivshearforces, ShellyDerivShearForces,
                   "y derivative of the two transverse shear forces of a shell",
                   out(Real, "yderivr", "2").describe(
                       "y derivative hmat·(B,y·u) of the transverse shear forces, in the order γyz, γxz (force per length, per length)"),
                   in(Real, "u", "40").describe("u, v, w, θx, θy per node"),
                   in(Real, "hmat", "2,2").describe("transverse shear stiffness of the section"), ncoords,
                   ncoords_inodes, xi, eta);
TAVRIN_ROUTINE_DOC(getcurvatures, GetCurvatures, "principal curvatures of a shell surface at one point",
                   out(Real, "delta").describe("radians from x: the axis across the direction of kappa(1), about "
                                                "which the surface bends most (a cylinder's generator); in [0, pi) "
                                                "when kappa(1) > 0, in [-pi/2, pi/2) when kappa(1) < 0; 0 for a flat "
                                                "or nearly spherical surface (principal curvatures within 1 %)"),
                   out(Real, "kappa", "2").describe("the larger in magnitude first; 0 for a nearly flat one"),
                   in(Real, "nshape", "inodes,6").describe(shell_matrix_doc),
                   in(Real, "lncoords", "inodes,3").describe("local x, y, z of each node"), shape_inodes);
TAVRIN_ROUTINE_DOC(getdisplacementvector, GetDisplacementVector,
                   "shell displacement vector of up to 8 nodes from their nodal motion",
                   out(Real, "u", "40").describe("u, v, w, θx, θy per node"),
                   in(Real, "nmotion", "mdof,inodes").describe("one column per node"),
                   in(Int, "inodes").opt("shape(nmotion,1)").describe("nodes of nmotion; the first 8 at most are copied"),
                   in(Int, "mdof").opt("shape(nmotion,0)").describe(
                       "degrees of freedom per node in nmotion; the first 5 at most (u, v, w, θx, θy) are copied"));

}  // namespace
}  // namespace tavrin::bind
