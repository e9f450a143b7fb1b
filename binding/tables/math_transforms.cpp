// Module math: tensor and coordinate transforms.
#include "engine/descriptor.hpp"
#include "foundation/transforms.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(tensormultiplication, math::tensormultiplication, in(Real, "t_4th", "3,3,3,3"),
               in(Real, "t_2nd", "3,3"), out(Real, "out_2nd", "3,3"));
TAVRIN_ROUTINE(tensortransformation2nd, TensorTransformation2nd, in(Real, "tensin", "3,3"),
               out(Real, "tensout", "3,3"), in(Real, "tbase", "3,3"));
TAVRIN_ROUTINE(tensorrotation2nd, TensorRotation2nd, in(Real, "input_2nd", "3,3"),
               out(Real, "output_2nd", "3,3"), in(Real, "angle_r"),
               in(Real, "n0", "3").opt("[1.0, 0.0, 0.0]"));
TAVRIN_ROUTINE(tensorrotation4th, TensorRotation4th, in(Real, "input_4th", "3,3,3,3"),
               out(Real, "output_4th", "3,3,3,3"), in(Real, "angle_r"),
               in(Real, "n0", "3").opt("[1.0, 0.0, 0.0]"));
TAVRIN_ROUTINE(getrotationmatrix, GetRotationMatrix, out(Real, "trot", "3,3"), in(Real, "n", "3"),
               in(Real, "alpha_r"));
TAVRIN_ROUTINE(gettransformationmatrix, GetTransformationMatrix, out(Real, "tbase", "3,3"),
               in(Real, "nx", "3"), in(Real, "ny", "3"), in(Real, "nz", "3"));
TAVRIN_ROUTINE(geteulerrotation, GetEulerRotation, out(Real, "eul", "3"), in(Real, "r", "3,3"));
TAVRIN_ROUTINE(coordinatenormalization, CoordinateNormalization, in(Real, "p", "np,ndim"),
               out(Real, "pnorm", "np,ndim"), in(Real, "interval", "2"),
               in(Int, "np").opt("shape(p,0)"), in(Int, "ndim").opt("shape(p,1)"));
TAVRIN_ROUTINE(getparabolacoefficients, GetParabolaCoefficients, in(Real, "ind", "3,2"),
               out(Real, "oud", "3"));
TAVRIN_ROUTINE(getradiusofellipse, GetRadiusOfEllipse, out(Real, "r"), in(Real, "a"), in(Real, "b"),
               in(Real, "phi_d"));
TAVRIN_ROUTINE(getboundingboxfromellipse, GetBoundingBoxFromEllipse, out(Real, "xybound", "2"),
               in(Real, "a"), in(Real, "b"), in(Real, "phi_d"));
TAVRIN_ROUTINE(gettrianglearea, math::gettrianglearea, result(Real, "gettrianglearea"),
               in(Real, "x1"), in(Real, "y1"), in(Real, "x2"), in(Real, "y2"), in(Real, "x3"),
               in(Real, "y3"));

}  // namespace
}  // namespace tavrin::bind
