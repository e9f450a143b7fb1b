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

// The module's paragraph is set here once (the longest doc of its table files is kept).
TAVRIN_BINDING_MODULE(elementhandling,
                      "element kinds, kinematics and 3-D to element layouts.\n\n"
                      "Shell kinematics of the 6-node triangle and the 8-node quadrilateral (shape-function "
                      "matrices, Jacobians, B-matrices with the five degrees of freedom u, v, w, θx, θy per "
                      "node, curvatures), and conversions between the material laws' 3-D layout, 6-vectors and "
                      "6x6 tangents in the solver order 11, 22, 33, 12, 13, 23 with engineering shear strains, "
                      "and the element layouts: 6 components for continua, 4 (11, 22, 33, 12) for plane strain "
                      "and axisymmetry (axes x, z, y), 3 (11, 22, 12) for plane stress.  Nodes are counted "
                      "from 1; ξ, η are natural coordinates, angles in radians.");
TAVRIN_ROUTINE_DOC(getelemoutputfrom3d, GetElemOutputFrom3D,
                   "a law's 3-D stress and tangent in the layout of an element of n components",
                   out(Real, "stresselem", "n").describe("element stress in its layout: solver order (n 6), 11, 22, 33, 12 (n 4), 11, 22, 12 (n 3)"),
                   out(Real, "tangentelem", "n,n").describe("element tangent, rows and columns in the layout of stresselem"), stress3d, tangent3d,
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
                   out(Real, "dstrain3d", "6").describe(solver_order), in(Real, "stress_nye", "ncomp").describe(
                       "element stress: solver order (ncomp 6), 11, 22, 33, 12 (ncomp 4), 11, 22, 12 (ncomp 3)"),
                   in(Real, "strain_nye", "ncomp").describe("engineering shear strains"),
                   in(Real, "dstrain_nye", "ncomp").describe("strain increment in the layout of strain_nye, engineering shears"),
                   in(Int, "ncomp").opt("len(stress_nye)")
                       .describe("6 continuum, 4 plane strain or axisymmetric, 3 plane stress; "
                                 "other: outputs untouched"),
                   in(Real, "transverse", "6").opt("0.0").describe(transverse_doc),
                   itnsflag.opt("0"), itshrflag.opt("0"), isaxial);
TAVRIN_ROUTINE_DOC(get3dstressfromhex, Get3DStressFromHex,
                   "3-D stress, strain and strain increment of a continuum (copies)",
                   in(Real, "stress", "6").describe(solver_order),
                   in(Real, "stran", "6").describe("strain, solver order, engineering shears"),
                   in(Real, "dstran", "6").describe("strain increment, solver order, engineering shears"),
                   out(Real, "stress3d", "6").describe("copy of stress"), out(Real, "stran3d", "6").describe("copy of stran"),
                   out(Real, "dstran3d", "6").describe("copy of dstran"));
TAVRIN_ROUTINE_DOC(get3dstressfromplanestrain, Get3DStressFromPlaneStrain,
                   "3-D stress, strain and strain increment of a plane-strain or axisymmetric element",
                   in(Real, "stress", "4").describe(plane_strain_order),
                   in(Real, "stran", "4").describe("strain 11, 22, 33, 12, engineering shear"),
                   in(Real, "dstran", "4").describe("strain increment 11, 22, 33, 12, engineering shear"),
                   out(Real, "stress3d", "6").describe(solver_order),
                   out(Real, "stran3d", "6").describe("strain in the solver order (axisymmetric: from the axes x, z, y), engineering shears"),
                   out(Real, "dstran3d", "6").describe("strain increment in the solver order (axisymmetric: from the axes x, z, y)"),
                   in(Int, "isaxial").describe("non-zero: axisymmetric (axes x, z, y)"));
TAVRIN_ROUTINE_DOC(get3dstressfromplanestress, Get3DStressFromPlaneStress,
                   "3-D stress, strain and strain increment of a plane-stress element",
                   in(Real, "stress", "3").describe(plane_stress_order),
                   in(Real, "stran", "3").describe("strain 11, 22, 12, engineering shear"),
                   in(Real, "dstran", "3").describe("strain increment 11, 22, 12, engineering shear"), in(Real, "transverse", "6").describe(transverse_doc),
                   out(Real, "stress3d", "6").describe(solver_order), out(Real, "stran3d", "6").describe("strain, solver order, engineering shears; 33, 13, 23 from transverse as flagged, else zero"),
                   out(Real, "dstran3d", "6").describe("never takes transverse components"), itnsflag,
                   itshrflag);
TAVRIN_ROUTINE_DOC(getplanestressepszz, GetPlaneStressEpsZZ,
                   "out-of-plane strain ε33 of a plane-stress state",
                   result(Real, "getplanestressepszz").describe("ε33 = -(nu31/e33)·s11 - (nu32/e33)·s22"),
                   in(Real, "e33").describe("Young's modulus in the thickness direction 3 (unit of the stresses)"),
                   in(Real, "nu31").describe("Poisson's ratio nu31 (nu31/e33 = nu13/E1)"),
                   in(Real, "nu32").describe("Poisson's ratio nu32 (nu32/e33 = nu23/E2)"),
                   in(Real, "s11").describe("in-plane normal stress 11"), in(Real, "s22").describe("in-plane normal stress 22"));

}  // namespace
}  // namespace tavrin::bind
