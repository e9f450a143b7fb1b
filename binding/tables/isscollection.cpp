// Module isscollection: in-situ strengths.
#include "engine/descriptor.hpp"
#include "mechanics/insitu_strengths.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(isscollection,
                      "in-situ strengths\n"
                      "\n"
                      "In-situ strengths of a ply embedded in a laminate: the transverse tensile and in-plane "
                      "shear strengths that a thin ply reaches between its neighbours (LaRC04, Chang-Lessard) "
                      "and the compressive strength of a ply compressed at an angle to its fibres (Puck).  "
                      "Strengths and moduli share one stress unit, thicknesses one length unit; angles are "
                      "in degrees.");

constexpr Arg xt22 = in(Real, "xt22").describe("transverse tensile strength YT of the unidirectional ply");

TAVRIN_ROUTINE_DOC(insitularc04, InSituLaRC04,
                   "LaRC04 in-situ transverse tensile and in-plane shear strengths of a thick or thin ply.",
                   out(Real, "ys", "2").describe(
                       "(YT, S) in situ: t > tlim (1.12 sqrt 2 xt22, sqrt 2 x12); else from the fracture "
                       "toughnesses, (sqrt(8 GIc/(2 pi t (1/E22 - nu12^2/E11))), sqrt(8 GIIc G12/(pi t)))"),
                   in(Real, "elastic", "4").describe("(E11, E22, nu12, G12)"),
                   in(Real, "gxc", "2").describe("fracture toughnesses (GIc, GIIc), energy per area"), xt22,
                   in(Real, "x12").describe("in-plane shear strength S of the unidirectional ply"),
                   in(Real, "t").describe("the ply thickness"),
                   in(Real, "tlim").opt("0.0007").describe("the thickness above which a ply counts as thick"));
TAVRIN_ROUTINE_DOC(insituchanglessard, InSituChangLessard,
                   "Chang-Lessard in-situ transverse tensile strength and interlaminar shear strength.",
                   out(Real, "ys", "2").describe(
                       "((1 + a s/tratio^b) xt22, (1 + c s/tratio^d) ilss) with s = sin(dtmin_d)"),
                   xt22, in(Real, "ilss").describe("interlaminar shear strength"),
                   in(Real, "tratio").describe("thickness ratio of the ply (e.g. to a reference ply)"),
                   in(Real, "dtmin_d").describe("smallest angle to the neighbouring plies, in degrees"),
                   in(Real, "atod", "4").opt("0").describe(
                       "(a, b, c, d); a C caller that omits it gets (1.3, 0.7, 0.0, 1.0)"));
TAVRIN_ROUTINE_DOC(insitupuckps, InSituPuckPS,
                   "Puck compressive strength of a ply under uniaxial compression at an angle to its fibres.",
                   out(Real, "xc").describe("the compressive strength along the load (positive)"),
                   in(Real, "xc11").describe("compressive strength along the fibres (positive)"),
                   in(Real, "xc22").describe("transverse compressive strength (positive)"),
                   in(Real, "x12").describe("in-plane shear strength"),
                   in(Real, "theta").describe("angle between load and fibres, in degrees"),
                   in(Real, "gp", "4").opt("[0.3, 0.2, 0.15, 0.15]").describe(
                       "Puck's inclination parameters (p_perp_par tension, p_perp_par compression, "
                       "p_perp_perp tension, p_perp_perp compression); entries 2 and 4 are read"));

}  // namespace
}  // namespace tavrin::bind
