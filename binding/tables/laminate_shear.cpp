// Module laminate: transverse shear stiffness and the transverse shear
// stress functions of stacks and sections.
#include "engine/descriptor.hpp"
#include "mechanics/shear_stiffness.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

TAVRIN_BINDING_MODULE(laminate, laminate_doc);
TAVRIN_ROUTINE(getsmallfmatrix, GetSmallFMatrix, out(Real, "smallf", "2,2"), plyelastic,
               plyorientation, plythickness, in(Real, "zcrd"), in(Real, "fa", "3,3"),
               in(Real, "fb", "3,3"), iply, nplies);
TAVRIN_ROUTINE(getsectionfmatrix, GetSectionFMatrix, out(Real, "plysmallf", "2*nplies+1,4,nsec"),
               sectionlist, section_orientation, section_thickness, section_z, section_elastic,
               section_nplies, section_nsec, defint);
TAVRIN_ROUTINE(gethmatriximprovedshear, GetHMatrixImprovedShear, out(Real, "hext2d", "2,2"), plyelastic,
               plyorientation, plythickness, nplies);
TAVRIN_ROUTINE(gethmatrixquadrature, GetHMatrixQuadrature, out(Real, "hquad", "2,2"), plyelastic,
               plyorientation, plythickness, nplies);
TAVRIN_ROUTINE(getshearcorrectfactors, GetShearCorrectFactors, out(Real, "sk", "2"),
               in(Real, "hlam", "2,2"), plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE(gethmatrixshearcorrect, GetHMatrixShearCorrect, out(Real, "hshear", "2,2"), plyelastic,
               plyorientation, plythickness, nplies);
TAVRIN_ROUTINE(getsectionhmatrix, GetSectionHMatrix, out(Real, "sehmatrix", "2,2,nsec"), sectionlist,
               section_orientation, section_thickness, section_elastic, section_nplies, section_nsec,
               in(Int, "method").opt("1").describe("0: shear correction; 2: quadrature; other: improved shear"),
               defint);
TAVRIN_ROUTINE(getarbitrarysectionfg, GetArbitrarySectionFG, out(Real, "fg", "2*nplies+1,4,nsec"),
               sectionlist, section_orientation, section_thickness, section_z, section_elastic,
               section_nplies, section_nsec,
               in(Int, "csflag").describe("0: curved-metric integrals; other: curved-shell combinations"),
               in(Int, "fgflag").describe("< 1: with A* and B*; other: with B* and D*"),
               in(Real, "xycurv", "2").opt("[0.0, 0.0]").describe("the curvatures k1, k2"), defint);

}  // namespace
}  // namespace tavrin::bind
