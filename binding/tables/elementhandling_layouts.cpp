// Module elementhandling, layouts: 3-D stresses, strains and tangents to and
// from the layouts of continuum, plane-strain, axisymmetric and plane-stress
// elements.
#include "elements/layouts.hpp"
#include "engine/descriptor.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr const char* solver_order = "solver order 11, 22, 33, 12, 13, 23";
constexpr const char* plane_strain_order = "11, 22, 33, 12";
constexpr const char* plane_stress_order = "11, 22, 12";
constexpr const char* transverse_doc =
    "strains 13, 23, 33, stresses 13, 23, 33 out of the plane";
constexpr Arg stress3d = in(Real, "stress3d", "6").describe(solver_order);
constexpr Arg tangent3d = in(Real, "tangent3d", "6,6").describe(solver_order);
constexpr Arg isaxial = in(Int, "isaxial").opt("0").describe("non-zero: axisymmetric (axes x, z, y)");
constexpr Arg itnsflag = in(Int, "itnsflag").describe("non-zero: take the normal components 33");
constexpr Arg itshrflag = in(Int, "itshrflag").describe("non-zero: take the shear components 13, 23");

TAVRIN_BINDING_MODULE(elementhandling, "element kinds, kinematics and 3-D to element layouts");
TAVRIN_ROUTINE_DOC(getelemoutputfrom3d, GetElemOutputFrom3D,
                   "a law's 3-D stress and tangent in the layout of an element of n components",
                   out(Real, "stresselem", "n"), out(Real, "tangentelem", "n,n"), stress3d, tangent3d,
                   in(Int, "n").describe("6 continuum, 4 plane strain or axisymmetric, 3 plane stress; "
                                         "other: outputs untouched"),
                   isaxial);
TAVRIN_ROUTINE_DOC(gethexoutputfrom3d, GetHexOutputFrom3D, "a law's 3-D stress and tangent for a continuum",
                   out(Real, "stresshex", "6").describe(solver_order),
                   out(Real, "tangenthex", "6,6").describe(solver_order), stress3d, tangent3d);
TAVRIN_ROUTINE_DOC(getplanestrainoutputfrom3d, GetPlaneStrainOutputFrom3D,
                   "a law's 3-D stress and tangent for a plane-strain or axisymmetric element",
                   out(Real, "stresspl", "4").describe(plane_strain_order),
                   out(Real, "tangentpl", "4,4").describe(plane_strain_order), stress3d, tangent3d,
                   isaxial);
TAVRIN_ROUTINE_DOC(getplanestressoutputfrom3d, GetPlaneStressOutputFrom3D,
                   "plane-stress stress and reduced stiffness of a law's 3-D stress and tangent",
                   out(Real, "stressps", "3").describe(plane_stress_order),
                   out(Real, "tangentps", "3,3").describe(plane_stress_order), stress3d,
                   tangent3d.describe("tangent3d(3,3) = 0: rows and columns 1, 2, 4 as they are"));
TAVRIN_ROUTINE_DOC(get3dinputfromelem, Get3DInputFromElem,
                   "3-D stress, strain and strain increment from an element of ncomp components",
                   out(Real, "stress3d", "6").describe(solver_order),
                   out(Real, "strain3d", "6").describe(solver_order),
                   out(Real, "dstrain3d", "6").describe(solver_order), in(Real, "stress_nye", "ncomp"),
                   in(Real, "strain_nye", "ncomp").describe("engineering shear strains"),
                   in(Real, "dstrain_nye", "ncomp"),
                   in(Int, "ncomp").opt("len(stress_nye)")
                       .describe("6 continuum, 4 plane strain or axisymmetric, 3 plane stress; "
                                 "other: outputs untouched"),
                   in(Real, "transverse", "6").opt("0.0").describe(transverse_doc),
                   itnsflag.opt("0"), itshrflag.opt("0"), isaxial);
TAVRIN_ROUTINE_DOC(get3dstressfromhex, Get3DStressFromHex,
                   "3-D stress, strain and strain increment of a continuum (copies)",
                   in(Real, "stress", "6"), in(Real, "stran", "6"), in(Real, "dstran", "6"),
                   out(Real, "stress3d", "6"), out(Real, "stran3d", "6"), out(Real, "dstran3d", "6"));
TAVRIN_ROUTINE_DOC(get3dstressfromplanestrain, Get3DStressFromPlaneStrain,
                   "3-D stress, strain and strain increment of a plane-strain or axisymmetric element",
                   in(Real, "stress", "4").describe(plane_strain_order), in(Real, "stran", "4"),
                   in(Real, "dstran", "4"), out(Real, "stress3d", "6").describe(solver_order),
                   out(Real, "stran3d", "6"), out(Real, "dstran3d", "6"),
                   in(Int, "isaxial").describe("non-zero: axisymmetric (axes x, z, y)"));
TAVRIN_ROUTINE_DOC(get3dstressfromplanestress, Get3DStressFromPlaneStress,
                   "3-D stress, strain and strain increment of a plane-stress element",
                   in(Real, "stress", "3").describe(plane_stress_order), in(Real, "stran", "3"),
                   in(Real, "dstran", "3"), in(Real, "transverse", "6").describe(transverse_doc),
                   out(Real, "stress3d", "6").describe(solver_order), out(Real, "stran3d", "6"),
                   out(Real, "dstran3d", "6").describe("never takes transverse components"), itnsflag,
                   itshrflag);
TAVRIN_ROUTINE_DOC(getplanestressepszz, GetPlaneStressEpsZZ,
                   "out-of-plane strain ε33 of a plane-stress state",
                   result(Real, "getplanestressepszz"), in(Real, "e33"), in(Real, "nu31"),
                   in(Real, "nu32"), in(Real, "s11"), in(Real, "s22"));

}  // namespace
}  // namespace tavrin::bind
