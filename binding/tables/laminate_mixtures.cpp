// Module laminate: the effective stiffness of a mixture of layers by the
// Voigt and Reuss averages and the thick-laminate rules of Sun, Chou and Henry.
#include "engine/descriptor.hpp"
#include "mechanics/mixtures.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

TAVRIN_BINDING_MODULE(laminate, laminate_doc);

constexpr Arg volratios =
    in(Real, "volratios", "nvols").describe("volume fraction of each layer, used as given (not normalised)");
constexpr Arg layers = in(Real, "rotatedstiffnessmatrices", "6,6,nvols")
                           .describe("6x6 stiffness of each layer in the common axes, Voigt order 11, 22, "
                                     "33, 23, 13, 12 (3 the thickness direction); last axis the layer");
constexpr Arg nvols = in(Int, "nvols").opt("len(volratios)").describe("number of layers");

TAVRIN_ROUTINE_DOC(getvoigteffectivestiffness, GetVoigtEffectiveStiffness,
                   "effective 6x6 stiffness of a mixture of layers at equal strain: sum of v_k*C_k",
                   out(Real, "cvoigt", "6,6").describe("effective stiffness, Voigt order"), volratios,
                   layers, nvols);
TAVRIN_ROUTINE_DOC(getreusseffectivestiffness, GetReussEffectiveStiffness,
                   "effective 6x6 stiffness of a mixture of layers at equal stress: (sum of "
                   "v_k*inv(C_k))^-1",
                   out(Real, "creuss", "6,6").describe("effective stiffness, Voigt order"), volratios,
                   layers, nvols);
TAVRIN_ROUTINE_DOC(getsuneffectivestiffness, GetSunEffectiveStiffness,
                   "3-D effective stiffness of a thick laminate by Sun's rule (in-plane equal strain, "
                   "through-thickness equal stress, layer 1 the reference)",
                   out(Real, "csun", "6,6").describe("effective stiffness, Voigt order; symmetric, shears "
                                                     "23 and 13 uncoupled from 11, 22, 33, 12"),
                   volratios, layers, nvols);
TAVRIN_ROUTINE_DOC(getchoueffectivestiffness, GetChouEffectiveStiffness,
                   "3-D effective stiffness of a thick laminate by Chou's rule (in-plane equal strain, "
                   "through-thickness equal stress)",
                   out(Real, "chou", "6,6").describe("effective stiffness, Voigt order; symmetric, shears "
                                                     "23 and 13 uncoupled from 11, 22, 33, 12"),
                   volratios, layers, nvols);
TAVRIN_ROUTINE_DOC(gethenryeffectivestiffness, GetHenryEffectiveStiffness,
                   "3-D effective stiffness of a thick laminate by partial inversion: the "
                   "through-thickness block (33, 23, 13) at equal stress, the in-plane block (11, 22, "
                   "12) at equal strain",
                   out(Real, "chenry", "6,6").describe("effective stiffness, Voigt order"), volratios,
                   layers, nvols);

}  // namespace
}  // namespace tavrin::bind
