// Module imageprocessing: point-in-shape tests.
#include "engine/descriptor.hpp"
#include "foundation/shapes.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(imageprocessing, "point-in-shape tests");
TAVRIN_ROUTINE(getpointonxyplane, GetPointOnXYPlane, out(Real, "xycoord", "2"),
               in(Real, "point", "3"), in(Real, "origin", "3"),
               in(Real, "xyplane", "3,3").describe("columns: the plane's axes nx, ny, nz"),
               in(Real, "theta").describe("degrees"));
TAVRIN_ROUTINE(polygon, Polygon, result(Real, "polygon"), in(Real, "px"), in(Real, "py"),
               in(Real, "xx", "n"), in(Real, "yy", "n"), in(Int, "n").opt("len(xx)"));
TAVRIN_ROUTINE(ellipse, Ellipse, result(Real, "ellipse"), in(Real, "x"), in(Real, "y"),
               in(Real, "a"), in(Real, "b"), in(Real, "xyorigin", "2").opt("[0.0, 0.0]"));
TAVRIN_ROUTINE(rectangle, Rectangle, result(Real, "rectangle"), in(Real, "x"), in(Real, "y"),
               in(Real, "a"), in(Real, "b"), in(Real, "xyorigin", "2").opt("[0.0, 0.0]"));
TAVRIN_ROUTINE(line, Line, result(Real, "line"), in(Real, "x"), in(Real, "y"), in(Real, "a", "2"),
               in(Real, "b", "2"), in(Real, "proximity").opt("1e-5"));
TAVRIN_ROUTINE(projectedpointinshape, ProjectedPointInShape,
               result(Logical, "projectedpointinshape"), in(Real, "point", "3"), in(Real, "a"),
               in(Real, "b"), in(Real, "theta"), in(Real, "refcoords", "3"),
               in(Real, "refcos", "3,3"),
               in(Int, "shapeid").describe("0 circle, 2 square, 3 rectangle, otherwise ellipse"));
TAVRIN_ROUTINE(projectedpointinpolygon, ProjectedPointInPolygon,
               result(Logical, "projectedpointinpolygon"), in(Real, "point", "3"),
               in(Real, "xypairs", "npoints,2"), in(Real, "theta"), in(Real, "refcoords", "3"),
               in(Real, "refcos", "3,3"), in(Int, "npoints").opt("shape(xypairs,0)"));

}  // namespace
}  // namespace tavrin::bind
