// Module imageprocessing: point-in-shape tests.
#include "engine/descriptor.hpp"
#include "foundation/shapes.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(
    imageprocessing,
    "point-in-shape tests\n"
    "\n"
    "Whether a point of the structure, projected onto a local plane, lies inside a circle, "
    "ellipse, square, rectangle or polygon drawn in that plane, or near a line segment.  A "
    "plane is its origin (3) and a 3x3 matrix whose columns are its axes nx, ny, nz (used as "
    "given, not normalised); shapes are drawn in the plane's axes turned by theta degrees about "
    "nz and centred on its origin.  Sizes a, b are half extents (semi-axes, half sides).  Shape "
    "values are at most 1 inside and on the boundary; the polygon gives 0.0 inside and -1.0 "
    "outside.  Nothing reports through the error latch.");

constexpr const char* plane_axes_doc =
    "direction cosines of the plane: column 1 its in-plane x axis nx, column 2 its y axis ny, "
    "column 3 its normal axis nz (used as given)";
constexpr const char* theta_doc =
    "degrees: the shape's axes are the plane's axes turned by theta about nz";

TAVRIN_ROUTINE_DOC(getpointonxyplane, GetPointOnXYPlane,
                   "In-plane coordinates of a point projected onto a plane along its normal nx x "
                   "ny, in the plane's axes turned by theta degrees about nz.",
                   out(Real, "xycoord", "2").describe("(x, y) of the projected point in the turned "
                                                      "plane axes, relative to origin"),
                   in(Real, "point", "3").describe("the point, global (x, y, z)"),
                   in(Real, "origin", "3").describe("the plane's origin, global (x, y, z)"),
                   in(Real, "xyplane", "3,3").describe(plane_axes_doc),
                   in(Real, "theta").describe(theta_doc));
TAVRIN_ROUTINE_DOC(polygon, Polygon,
                   "Whether the point (px, py) lies inside a polygon, by a ray-crossing test: 0.0 "
                   "inside or on the boundary, -1.0 outside.\n"
                   "On the boundary the crossing test decides: points on the top and right edges "
                   "of a square count as inside, on the bottom and left edges as outside.",
                   result(Real, "polygon").describe("0.0 inside (or on a counted edge), -1.0 "
                                                    "outside, -1.0 for n < 1"),
                   in(Real, "px").describe("x of the point"),
                   in(Real, "py").describe("y of the point"),
                   in(Real, "xx", "n").describe("x of the vertices in order; the last joins the "
                                                "first"),
                   in(Real, "yy", "n").describe("y of the vertices"),
                   in(Int, "n").opt("len(xx)").describe("number of vertices"));
TAVRIN_ROUTINE_DOC(ellipse, Ellipse,
                   "Shape value of the ellipse of semi-axes a (along x) and b (along y): "
                   "((x-x0)/a)**2 + ((y-y0)/b)**2, at most 1 inside or on the ellipse.",
                   result(Real, "ellipse").describe("the shape value; infinite or NaN for a or b = "
                                                    "0"),
                   in(Real, "x").describe("x of the point"),
                   in(Real, "y").describe("y of the point"),
                   in(Real, "a").describe("semi-axis along x"),
                   in(Real, "b").describe("semi-axis along y"),
                   in(Real, "xyorigin", "2").opt("[0.0, 0.0]").describe("centre (x0, y0)"));
TAVRIN_ROUTINE_DOC(rectangle, Rectangle,
                   "Shape value of the rectangle of half sides |a| (along x) and |b| (along y): "
                   "max(|x-x0|/|a|, |y-y0|/|b|), at most 1 inside or on the rectangle.",
                   result(Real, "rectangle").describe("the shape value (the second ratio when the "
                                                      "first is NaN)"),
                   in(Real, "x").describe("x of the point"),
                   in(Real, "y").describe("y of the point"),
                   in(Real, "a").describe("half side along x"),
                   in(Real, "b").describe("half side along y"),
                   in(Real, "xyorigin", "2").opt("[0.0, 0.0]").describe("centre (x0, y0)"));
TAVRIN_ROUTINE_DOC(line, Line,
                   "Shape value of the neighbourhood of the segment from a to b: at most 1 when "
                   "the point lies within proximity of the segment, distance + 1 beyond it.\n"
                   "With d the distance to the segment: 1.0 for d = proximity, d + 1 for d > "
                   "proximity, d/|(x, y) - a| below it; 0 at the point a; a segment of no length "
                   "is the point a.",
                   result(Real, "line").describe("the shape value"),
                   in(Real, "x").describe("x of the point"),
                   in(Real, "y").describe("y of the point"),
                   in(Real, "a", "2").describe("start of the segment (x, y)"),
                   in(Real, "b", "2").describe("end of the segment (x, y)"),
                   in(Real, "proximity").opt("1e-5").describe("largest distance that counts as on "
                                                              "the segment, in the units of x and "
                                                              "y"));
TAVRIN_ROUTINE_DOC(projectedpointinshape, ProjectedPointInShape,
                   "Whether a point projected onto a plane lies in a circle, square, rectangle or "
                   "ellipse centred on the plane's origin (inside or on the boundary).",
                   result(Logical, "projectedpointinshape").describe("1 inside or on the boundary, "
                                                                     "else 0"),
                   in(Real, "point", "3").describe("the point, global (x, y, z)"),
                   in(Real, "a").describe("half extent along the shape's x axis (semi-axis, half "
                                          "side)"),
                   in(Real, "b").describe("half extent along the shape's y axis; circle and square "
                                          "use max(a, b)"),
                   in(Real, "theta").describe(theta_doc),
                   in(Real, "refcoords", "3").describe("the plane's origin, global (x, y, z)"),
                   in(Real, "refcos", "3,3").describe(plane_axes_doc),
                   in(Int, "shapeid").describe("0 circle of radius max(a, b), 2 square of half "
                                               "side max(a, b), 3 rectangle a x b, 1 and any other "
                                               "id ellipse of semi-axes a, b"));
TAVRIN_ROUTINE_DOC(projectedpointinpolygon, ProjectedPointInPolygon,
                   "Whether a point projected onto a plane lies inside a polygon drawn in that "
                   "plane or on its boundary (see polygon).",
                   result(Logical, "projectedpointinpolygon").describe("1 inside or on a counted "
                                                                       "edge, else 0"),
                   in(Real, "point", "3").describe("the point, global (x, y, z)"),
                   in(Real, "xypairs", "npoints,2").describe("vertices, one per row: column 1 x, "
                                                            "column 2 y, in the turned plane axes; "
                                                            "the last joins the first"),
                   in(Real, "theta").describe(theta_doc),
                   in(Real, "refcoords", "3").describe("the plane's origin, global (x, y, z)"),
                   in(Real, "refcos", "3,3").describe(plane_axes_doc),
                   in(Int, "npoints").opt("shape(xypairs,0)").describe("number of vertices"));

}  // namespace
}  // namespace tavrin::bind
