// Module lamina: ply elastic constants, stiffness and compliance, and their
// use at a material point.
#include "engine/descriptor.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(lamina, "ply mechanics: stiffness, notations, rotations, stress measures");
TAVRIN_ROUTINE(getnyeproperties, GetNyeProperties, out(Real, "nyeprops", "9"),
               in(Real, "elastic", "nelastic"), in(Int, "nelastic").opt("len(elastic)"));
TAVRIN_ROUTINE(getnyestiffnessmatrix, GetNyeStiffnessMatrix, out(Real, "c", "ntens,ntens"),
               in(Real, "props", "9"), in(Int, "ntens"),
               in(Int, "psflag").opt("1").describe("0: the plane-stress entries"));
TAVRIN_ROUTINE(getnyecompliancematrix, GetNyeComplianceMatrix, out(Real, "s", "ntens,ntens"),
               in(Real, "props", "9"), in(Int, "ntens"),
               in(Int, "psflag").opt("1").describe("0: the plane-stress entries"));
TAVRIN_ROUTINE(getgeneralizednyeonaxissc, GetGeneralizedNyeOnAxisSC, out(Real, "sc", "ntens,ntens"),
               in(Real, "props", "nprops"), in(Int, "ntens"), in(Int, "nprops").opt("len(props)"),
               in(Int, "scflag").describe("0: the compliance; other: the stiffness"),
               in(Int, "psflag").opt("1").describe("0: the plane-stress entries"),
               in(Logical, "ldflag").opt("0").describe("not used"),
               in(Logical, "unsymm").opt("0").describe("true: 12 or 36 values are not symmetrised"));
TAVRIN_ROUTINE(getinvariantsfromreducedstiffness, GetInvariantsFromReducedStiffness,
               out(Real, "u", "5"), in(Real, "props", "nprops"), in(Int, "nprops").opt("len(props)"));
TAVRIN_ROUTINE(getoffaxisshearrigidmatrix, GetOffAxisShearRigidMatrix, out(Real, "hoff", "2,2"),
               in(Real, "g13"), in(Real, "g23"), in(Real, "dangle"));
TAVRIN_ROUTINE(getstressvector, GetStressVector, inplace(Real, "stress", "ntens"),
               in(Real, "ddsdde", "ntens,ntens"), in(Real, "strain0", "ntens"),
               in(Real, "dstrain", "ntens"), in(Int, "ndi"), in(Int, "ntens").opt("len(stress)"),
               in(Logical, "issekant"), in(Logical, "istensor"));
TAVRIN_ROUTINE(getspecificstrainenergy, GetSpecificStrainEnergy, inout(Real, "sse"),
               in(Real, "stress", "ntens"), in(Real, "stress0", "ntens"), in(Real, "strain0", "ntens"),
               in(Real, "dstrain", "ntens"), in(Int, "ndi"), in(Int, "ntens").opt("len(stress)"),
               in(Logical, "issekant"), in(Logical, "istensor"));
TAVRIN_ROUTINE(getmatparambycurvefitting, GetMatParamByCurveFitting,
               result(Real, "getmatparambycurvefitting"), in(Real, "l"), in(Real, "eta"),
               in(Real, "stress0"), in(Real, "strain0"), in(Real, "dstrain"),
               in(Int, "nlflag").describe("1 Kaestner, 2 Krause, 3 Hahn-Tsai; other: l"));

}  // namespace
}  // namespace tavrin::bind
