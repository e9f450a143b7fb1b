// Module lamina: component orders, notation conversions and rotations.
#include "engine/descriptor.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(lamina, "ply mechanics: stiffness, notations, rotations, stress measures");
TAVRIN_ROUTINE(cauchynotation, CauchyNotation, out(Real, "cn", "3,3"), in(Real, "qv", "6"));
TAVRIN_ROUTINE(voigtnotation, VoigtNotation, out(Real, "vn", "6"), in(Real, "q", "3,3"));
TAVRIN_ROUTINE(nyenotation, NyeNotation, out(Real, "nn", "6"), in(Real, "q", "3,3"));
TAVRIN_ROUTINE(cyclicnotation, CyclicNotation, out(Real, "cn", "6"), in(Real, "q", "3,3"));
TAVRIN_ROUTINE(flipvoigtnyenotation, FlipVoigtNyeNotation, out(Real, "fn", "6,sdim"),
               in(Real, "q", "6,sdim"), in(Int, "sdim").describe("1: a vector; 6: a matrix"));
TAVRIN_ROUTINE(flipvoigtcyclicnotation, FlipVoigtCyclicNotation, out(Real, "fn", "6,sdim"),
               in(Real, "q", "6,sdim"), in(Int, "sdim").describe("1: a vector; 6: a matrix"),
               in(Int, "dir").describe("1: cyclic to Voigt; 2 or -1: Voigt to cyclic"));
TAVRIN_ROUTINE(getvoigtstiffnessfromtensor, GetVoigtStiffnessFromTensor, out(Real, "csix", "6,6"),
               in(Real, "c_4th", "3,3,3,3"));
TAVRIN_ROUTINE(gettensorfromvoigtstiffness, GetTensorFromVoigtStiffness,
               out(Real, "c_4th", "3,3,3,3"), in(Real, "csix", "6,6"));
TAVRIN_ROUTINE(getnyetransformationmatrix, GetNyeTransformationMatrix, out(Real, "t", "tdim,tdim"),
               in(Real, "rangle"), in(Int, "tdim"),
               in(Int, "ttype").describe("0: rotation by rangle; 1: by -rangle"),
               in(Int, "tflag").describe("0: stress form; 1: engineering-strain form"));
TAVRIN_ROUTINE(getnyeoffaxissc, GetNyeOffAxisSC, out(Real, "scoff", "ntens,ntens"),
               in(Real, "dangle"), in(Real, "props", "9"), in(Int, "ntens"),
               in(Int, "scflag").describe("0: the compliance; 1: the stiffness"));
TAVRIN_ROUTINE(gettvectoronrotatedxyplane, GetTVectorOnRotatedXYPlane, out(Real, "tv", "3"),
               in(Real, "theta_r"), in(Real, "s22"), in(Real, "s33"), in(Real, "s12"),
               in(Real, "s13"), in(Real, "s23"));
TAVRIN_ROUTINE(gettvectorfromarbitraryrotation, GetTVectorFromArbitraryRotation, out(Real, "tv", "3"),
               in(Real, "theta_r"), in(Real, "nrot", "3"), in(Real, "s11"), in(Real, "s22"),
               in(Real, "s33"), in(Real, "s12"), in(Real, "s13"), in(Real, "s23"),
               in(Int, "tflag").opt("0").describe("the plane normal to axis 1, 2 or 3"));
TAVRIN_ROUTINE(getrotatedstresses, GetRotatedStresses, out(Real, "sv", "6"), in(Real, "theta_r"),
               in(Real, "nrot", "3"), in(Real, "s11"), in(Real, "s22"), in(Real, "s33"),
               in(Real, "s12"), in(Real, "s13"), in(Real, "s23"),
               in(Int, "soutflag").opt("0").describe("1: Voigt order; 2: cyclic; other: Nye"));
TAVRIN_ROUTINE(getphimeasuredfromxzplane, GetPhiMeasuredFromXZPlane, out(Real, "phixz"),
               in(Real, "phixy"), in(Logical, "clockwise"));
TAVRIN_ROUTINE(getarbitrarybasesc, GetArbitraryBaseSC, out(Real, "scbase", "6,6"),
               in(Real, "sc", "6,6"), in(Real, "base", "3,3"),
               in(Int, "scflag").describe("0: a compliance; other: a stiffness"),
               in(Int, "ntflag").describe("1: Voigt order; 2: cyclic; other: Nye"));
TAVRIN_ROUTINE(getreducednyestiffnessmatrix, GetReducedNyeStiffnessMatrix, out(Real, "qs", "3,3"),
               in(Real, "c", "6,6"),
               in(Int, "plflag").opt("1").describe("1: the 12 plane; 2: the 23 plane; 3: the 13 plane"));

}  // namespace
}  // namespace tavrin::bind
