// Module math: tensor and coordinate transforms.
#include "engine/descriptor.hpp"
#include "foundation/transforms.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math);

constexpr const char* axis_doc =
    "rotation axis through the origin, unit length (used as given); default the x axis";
constexpr const char* angle_r_doc = "rotation angle in radians (right-hand rule about the axis)";

TAVRIN_ROUTINE_DOC(tensormultiplication, math::tensormultiplication,
                   "Double contraction of a fourth-order with a second-order tensor, "
                   "out(i,j) = sum over k, l of t_4th(i,j,k,l)*t_2nd(k,l) (e.g. stress from "
                   "stiffness and strain).",
                   in(Real, "t_4th", "3,3,3,3").describe("the fourth-order tensor, indices "
                                                         "(i,j,k,l)"),
                   in(Real, "t_2nd", "3,3").describe("the second-order tensor, indices (k,l)"),
                   out(Real, "out_2nd", "3,3").describe("the contraction, indices (i,j)"));
TAVRIN_ROUTINE_DOC(tensortransformation2nd, TensorTransformation2nd,
                   "Components of a second-order tensor in another basis, T*tensin*T.T.",
                   in(Real, "tensin", "3,3").describe("the tensor in the global basis"),
                   out(Real, "tensout", "3,3").describe("its components in the basis of tbase"),
                   in(Real, "tbase", "3,3").describe("T: rows are the new basis vectors in global "
                                                     "components (as from "
                                                     "gettransformationmatrix)"));
TAVRIN_ROUTINE_DOC(tensorrotation2nd, TensorRotation2nd,
                   "Second-order tensor rotated by angle_r radians about an axis: R.T*input*R, R "
                   "the rotation matrix of getrotationmatrix.",
                   in(Real, "input_2nd", "3,3").describe("the tensor"),
                   out(Real, "output_2nd", "3,3").describe("R.T @ input_2nd @ R"),
                   in(Real, "angle_r").describe(angle_r_doc),
                   in(Real, "n0", "3").opt("[1.0, 0.0, 0.0]").describe(axis_doc));
TAVRIN_ROUTINE_DOC(tensorrotation4th, TensorRotation4th,
                   "Fourth-order tensor rotated by angle_r radians about an axis: out(i,j,k,l) = "
                   "sum R(m,i)*R(n,j)*R(o,k)*R(p,l)*input(m,n,o,p), R as in getrotationmatrix.",
                   in(Real, "input_4th", "3,3,3,3").describe("the tensor, indices (m,n,o,p)"),
                   out(Real, "output_4th", "3,3,3,3").describe("the rotated tensor, indices "
                                                               "(i,j,k,l)"),
                   in(Real, "angle_r").describe(angle_r_doc),
                   in(Real, "n0", "3").opt("[1.0, 0.0, 0.0]").describe(axis_doc));
TAVRIN_ROUTINE_DOC(getrotationmatrix, GetRotationMatrix,
                   "Rotation matrix for a rotation by alpha_r radians about the axis n through the "
                   "origin (right-hand rule, Rodrigues' formula).",
                   out(Real, "trot", "3,3").describe("R; R @ p rotates the point p"),
                   in(Real, "n", "3").describe("the axis, unit length (used as given: only a unit "
                                               "axis gives a rotation)"),
                   in(Real, "alpha_r").describe("rotation angle in radians"));
TAVRIN_ROUTINE_DOC(gettransformationmatrix, GetTransformationMatrix,
                   "Transformation matrix of a basis: its rows are nx, ny, nz, so that it maps "
                   "global components to components in that basis.",
                   out(Real, "tbase", "3,3").describe("row 1 nx, row 2 ny, row 3 nz"),
                   in(Real, "nx", "3").describe("first basis vector, global components"),
                   in(Real, "ny", "3").describe("second basis vector"),
                   in(Real, "nz", "3").describe("third basis vector"));
TAVRIN_ROUTINE_DOC(geteulerrotation, GetEulerRotation,
                   "Euler angles (psi, theta, phi) about x, y and z of a rotation matrix, in "
                   "degrees.",
                   out(Real, "eul", "3").describe("(psi, theta, phi) in degrees; in gimbal lock "
                                                  "(r(3,1) = -1 or +1) phi = 0 and theta = +90 or "
                                                  "-90"),
                   in(Real, "r", "3,3").describe("the rotation matrix"));
TAVRIN_ROUTINE_DOC(coordinatenormalization, CoordinateNormalization,
                   "Point coordinates mapped linearly from their common range (one minimum and "
                   "maximum over all coordinates) onto an interval.",
                   in(Real, "p", "np,ndim").describe("the points, one per row, one coordinate per "
                                                     "column; NaN entries take no part in the "
                                                     "range"),
                   out(Real, "pnorm", "np,ndim").describe("the mapped coordinates; NaN when all "
                                                          "entries are equal"),
                   in(Real, "interval", "2").describe("(lower, upper) end of the target interval"),
                   in(Int, "np").opt("shape(p,0)").describe("number of points"),
                   in(Int, "ndim").opt("shape(p,1)").describe("number of coordinates"));
TAVRIN_ROUTINE_DOC(getparabolacoefficients, GetParabolaCoefficients,
                   "Coefficients of the parabola y = a*x**2 + b*x + c through three points.",
                   in(Real, "ind", "3,2").describe("the points, one per row: column 1 x, column 2 "
                                                   "y; distinct abscissas"),
                   out(Real, "oud", "3").describe("(a, b, c)"));
TAVRIN_ROUTINE_DOC(getradiusofellipse, GetRadiusOfEllipse,
                   "Distance from the centre of an ellipse to its boundary in the direction phi_d "
                   "degrees from the a axis: a*b/sqrt(b**2*cos**2 + a**2*sin**2).",
                   out(Real, "r").describe("the radius, in the units of a and b"),
                   in(Real, "a").describe("semi-axis along the reference direction"),
                   in(Real, "b").describe("the other semi-axis"),
                   in(Real, "phi_d").describe("direction in degrees from the a axis"));
TAVRIN_ROUTINE_DOC(getboundingboxfromellipse, GetBoundingBoxFromEllipse,
                   "Half-widths of the axis-parallel box around an ellipse rotated by phi_d "
                   "degrees.",
                   out(Real, "xybound", "2").describe("(half-width along x, half-width along y)"),
                   in(Real, "a").describe("semi-axis along x before the rotation"),
                   in(Real, "b").describe("semi-axis along y before the rotation"),
                   in(Real, "phi_d").describe("rotation of the ellipse in degrees"));
TAVRIN_ROUTINE_DOC(gettrianglearea, math::gettrianglearea,
                   "Signed area of the triangle (x1, y1), (x2, y2), (x3, y3).",
                   result(Real, "gettrianglearea").describe("positive for counter-clockwise, "
                                                            "negative for clockwise vertices"),
                   in(Real, "x1").describe("x of vertex 1"),
                   in(Real, "y1").describe("y of vertex 1"),
                   in(Real, "x2").describe("x of vertex 2"),
                   in(Real, "y2").describe("y of vertex 2"),
                   in(Real, "x3").describe("x of vertex 3"),
                   in(Real, "y3").describe("y of vertex 3"));

}  // namespace
}  // namespace tavrin::bind
