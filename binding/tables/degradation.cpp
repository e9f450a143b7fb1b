// Module degradation: stiffness and strength degradation schemes and the
// gradual fatigue degradation of a ply.
#include "engine/descriptor.hpp"
#include "failure/degradation.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr Arg stiffness_out(const char* name) {
  return out(Real, name, "6,6").describe("stiffness (MPa), Voigt order 11, 22, 33, 23, 13, 12, acting on tensor shear strains");
}
constexpr Arg charelemlength = in(Real, "charelemlength", "3").describe("characteristic element lengths (mm)");

#define SUDDEN_ARGS                                                                                                    \
  inout(Real, "degpeprops", "9").describe("degraded moduli (1-6, MPa) and Poisson ratios (7-9)"),                     \
      inout(Real, "degpsprops", "9").describe("degraded strengths (MPa): tension 1, compression 1, tension 2, "       \
                                              "compression 2, tension 3, compression 3, shear 12, 13, 23"),           \
      in(Real, "peprops", "9").describe("undegraded moduli (1-6, entry 1 along the fibres) and Poisson ratios (7-9)"), \
      in(Real, "psprops", "9").describe("undegraded strengths, order of degpsprops"),                                  \
      inout(Real, "de", "6").describe("smallest ratios degraded/undegraded modulus so far"),                           \
      inout(Real, "df", "9").describe("smallest ratios degraded/undegraded strength so far"),                          \
      inout(Real, "g_f").describe("fibre failure indicator, set to 1.0 on failure"),                                   \
      inout(Real, "g_m").describe("matrix failure indicator, set to 1.0 on failure"),                                  \
      in(Real, "ttol", "2").describe("thresholds: of the indicators, of the failure indices"),                         \
      in(Real, "degrfac").describe("discount factor of a failed property"),                                            \
      in(Real, "nm", "6").opt("-1.0").describe("failure indices (1 fibre, 2-6 matrix); all -1.0: not given")

TAVRIN_BINDING_MODULE(degradation,
                      "stiffness and strength degradation of failed, damaged and fatigued plies.\n\n"
                      "Degradation grids and factor matrices, sudden and isotropic discounts, damaged stiffnesses "
                      "(Matzenmiller, fracture-plane softening of Falzon and Bogenfeld, tensor degradation), viscous "
                      "regularisation and the gradual fatigue degradation of a ply.  Factors are 1.0 intact and fall with "
                      "damage; a damage is 0 intact and 1 fully damaged.  Moduli and stresses are in MPa, energy release "
                      "rates in N/mm, lengths in mm; each six-component argument names its order, Voigt 11, 22, 33, 23, "
                      "13, 12 (stiffness matrices, on tensor shear strains) or solver 11, 22, 33, 12, 13, 23; "
                      "fracture-plane angles are in radians.  An unknown mode, variant or ntens latches "
                      "errorhandling.errstat -2.");
TAVRIN_ROUTINE_DOC(getnyedegradationmatrix, GetNyeDegradationMatrix,
                   "matrix of degradation factors for a stiffness of ntens components, applied entry by entry",
                   out(Real, "d", "ntens,ntens").describe("factors in the stiffness layout (3: 11, 22, 12; else solver order 11, 22, 33, 12, 13, 23)"),
                   in(Real, "degrf", "9").describe("factors D11, D12, D22, D44 (12), D55 (13), D66 (23), D13, D23, D33"),
                   in(Int, "ntens").describe("stiffness components: 3, 4 or 6 (other: latch -2, ones)"),
                   in(Int, "psflag").opt("1").describe("0: plane stress (in-plane entries and D44 only)"));
TAVRIN_ROUTINE_DOC(falcomdegradation, FalcomDegradation, "degradation factors of a ply's damage flags in a degradation grid",
                   out(Real, "d", "9").describe("factors D11, D12, D22, D44 (12), D55 (13), D66 (23), D13, D23, D33"),
                   in(Real, "dds", "10").describe("damage flags, 1.0 present: 1 fibre, 2 second fibre direction, 4 matrix, "
                                                  "5 and 6 delamination, 7 core, 8 buckled delamination, 9, 10 further modes"),
                   in(Real, "rdisc").describe("residual factor of a buckled delamination (< 1 scales every factor); 2.0 "
                                              "removes the fibre-direction remainder in the general grid"),
                   in(Int, "degrid").describe("grid 0 to 5; any other value: the general grid"),
                   in(Logical, "plyistape").describe("true for a unidirectional (tape) ply, false for a fabric"),
                   in(Real, "fa", "4").opt("[0.3, 0.3, 0.5, 0.5]").describe("degradation levels of grids 1 and 2"));
TAVRIN_ROUTINE_DOC(matzenmillerdegradation, MatzenmillerDegradation, "Matzenmiller's damaged orthotropic stiffness",
                   in(Real, "propvec", "9").describe("E1, E2, E3, G23, G13, G12 (MPa), ν23, ν13, ν12"),
                   stiffness_out("c_deg"),
                   in(Real, "dnorm", "3").describe("damage of the normal directions 1, 2, 3"),
                   in(Real, "d23").describe("shear damage 23"), in(Real, "d13").describe("shear damage 13"),
                   in(Real, "d12").describe("shear damage 12"));
TAVRIN_ROUTINE_DOC(degradationfrommodes, DegradationFromModes,
                   "damages of the stiffness directions coupled from mode damages, and the Matzenmiller stiffness",
                   in(Real, "d_modes", "9").opt("0").describe("mode damages"),
                   out(Real, "w_stat", "9").describe("damages 1t, 1c, 2t, 2c, 3t, 3c, then the shears 12, 23, 13"),
                   in(Logical, "accumulation").describe("true: coupled damages summed; false: their maximum"),
                   stiffness_out("c_deg"),
                   in(Real, "moduli", "9").opt("1").describe("E1t, E1c, E2t, E2c, E3t, E3c, G23, G13, G12 (MPa)"),
                   in(Real, "vnu", "3").opt("0.3").describe("ν23, ν13, ν12"),
                   in(Real, "effort", "3").opt("1").describe("per direction: > 0 tension side, else compression side"));
TAVRIN_ROUTINE_DOC(falzondegradationparameters, FalzonDegradationParameters,
                   "matrix damage with bilinear softening on a fracture plane about the fibres, as stiffness factors",
                   in(Real, "stressela", "6").describe("elastic stress (MPa), solver order 11, 22, 33, 12, 13, 23"),
                   in(Real, "strain", "6").describe("strain, solver order, rotated like the stress"),
                   in(Real, "phirad").describe("fracture-plane angle about the fibre axis (radians)"),
                   inout(Real, "dsix", "6").describe("stiffness factors; 2 to 6 written (22, 33, 12 = 22, 13 = 33, 23)"),
                   inplace(Real, "epsi").describe("onset strain of the plane"),
                   inplace(Real, "epsu").describe("failure strain of the plane"),
                   inplace(Real, "sigi").describe("onset traction magnitude (MPa)"),
                   inplace(Real, "gmix").describe("mixed-mode critical energy release rate (N/mm)"),
                   inplace(Real, "w_matrixmode").describe("matrix damage, 0 before the first damage; never falls"),
                   in(Real, "gc", "4").describe("critical energy release rates (N/mm): opening, closing, shear, shear"),
                   charelemlength);
TAVRIN_ROUTINE_DOC(bogenfelddegradation, BogenfeldDegradation,
                   "Bogenfeld's fracture-plane damage with bilinear softening",
                   out(Real, "d").describe("damage (0 for mode 0)"),
                   inout(Real, "sdv", "nsdv").describe("onset strain, traction, mixed-mode rate, failure strain; start at -1.0"),
                   in(Real, "svoigt", "6").describe("stress (MPa), Voigt order 11, 22, 33, 23, 13, 12"),
                   in(Real, "evoigt", "6").describe("strain, Voigt order, rotated like the stress"),
                   charelemlength,
                   in(Real, "props", "nprops").describe("fracture-plane angle (radians), then gc(4) (N/mm)"),
                   in(Int, "mode").describe("0: no damage; 3: fracture-plane damage; other: latch -2"),
                   in(Int, "nsdv").opt("len(sdv)").describe("state variables, at least 4"),
                   in(Int, "nprops").opt("len(props)").describe("properties, at least 5"));
TAVRIN_ROUTINE_DOC(tensordegradation, TensorDegradation,
                   "stiffness degraded along one axis of a base turned about z",
                   in(Real, "csix", "6,6").describe("stiffness (MPa), Voigt order"), stiffness_out("cdeg"),
                   in(Real, "angle_r").describe("angle of the damaged base about z (radians)"),
                   in(Real, "d").describe("damage of the axis"),
                   in(Int, "baseid").describe("damaged axis of the turned base, 1, 2 or 3"),
                   in(Int, "nn").describe("-1: the normal block (i = j, k = l) keeps its entries"));
TAVRIN_ROUTINE_DOC(viscouseregularisation, degradation::viscouseregularisation,
                   "viscous regularisation of a damage: dt/(eta+dt)·dnew + eta/(eta+dt)·dold",
                   in(Real, "dold").describe("damage of the last increment"), in(Real, "dnew").describe("damage now"),
                   out(Real, "dviscouse").describe("regularised damage"),
                   in(Real, "eta").describe("viscosity (time)"), in(Real, "dt").describe("time increment"));
TAVRIN_ROUTINE_DOC(suddendegradation, SuddenDegradation,
                   "sudden discount of the moduli and strengths of a ply on fibre or matrix failure", SUDDEN_ARGS);
TAVRIN_ROUTINE_DOC(suddendegradation_viscouse, SuddenDegradation_viscouse,
                   "sudden discount regularised in time", SUDDEN_ARGS,
                   inout(Real, "degr_old").describe("regularised fibre factor of the last increment"),
                   in(Real, "eta").describe("viscosity (time)"), in(Real, "dt").describe("time increment"));
TAVRIN_ROUTINE_DOC(isotropicdegradation, IsotropicDegradation,
                   "isotropic discount of (E, ν) once the damage or the life fraction reaches 1",
                   in(Real, "peprops", "3").describe("E (MPa), ν, unused"), in(Real, "d").describe("damage"),
                   in(Real, "life").describe("consumed life fraction"), in(Real, "degr").describe("factor on E"),
                   out(Real, "degpeprops", "3").describe("degraded E, ν (entry 3 not written)"));
TAVRIN_ROUTINE_DOC(isotropicdegradation_viscouse, IsotropicDegradation_viscouse,
                   "isotropic discount with the factor on E regularised in time",
                   in(Real, "peprops", "3").describe("E (MPa), ν, unused"), in(Real, "d").describe("damage"),
                   in(Real, "life").describe("consumed life fraction"), in(Real, "degr").describe("factor on E"),
                   out(Real, "degpeprops", "3").describe("degraded E, ν (entry 3 not written)"),
                   inout(Real, "degr_old").describe("regularised factor of the last increment"),
                   in(Real, "eta").describe("viscosity (time)"), in(Real, "dt").describe("time increment"));
TAVRIN_ROUTINE_DOC(getaccumulateddamage, degradation::getaccumulateddamage,
                   "accumulated damage of a laminate: mean of log10(factor)/(-20) over factors and plies",
                   result(Real, "getaccumulateddamage")
                       .describe("log10(x)/(-20) per factor, x = degr/nodmg (1 - degr when nodmg <= 1e-20), "
                                 "1.0 where x <= 1e-20; averaged over each ply's factors, then over the plies; 0.0 for no factor or ply"),
                   in(Real, "degr", "ndegr,nply").describe("degradation factors, one column per ply"),
                   in(Real, "nodmg").describe("the undamaged value; ≤ 1e-20: degr holds damages (x = 1 - degr)"),
                   in(Int, "ndegr").opt("shape(degr,0)").describe("factors per ply"),
                   in(Int, "nply").opt("shape(degr,1)").describe("plies"));
TAVRIN_ROUTINE_DOC(gradualdegradation, GradualDegradation,
                   "gradual fatigue degradation of a ply's residual stiffness and strengths by one block of cycles",
                   inplace(Real, "speak_t").describe("peak stress of the tension side, normalised by the strength; 0.0 becomes 1e-8"),
                   inplace(Real, "sbottom_t").describe("bottom stress of the tension side, normalised; 0.0 becomes 1e-8"),
                   inplace(Real, "speak_c").describe("peak stress of the compression side, normalised; 0.0 becomes 1e-8"),
                   inplace(Real, "sbottom_c").describe("bottom stress of the compression side, normalised; 0.0 becomes 1e-8"),
                   in(Real, "xctratio").describe("compressive/tensile strength ratio (magnitude used)"),
                   in(Real, "a").describe("life curve f = a·Nf^b: factor"), in(Real, "b").describe("life curve exponent"),
                   in(Real, "u").describe("constant-life exponent of (1 - mean)"),
                   in(Real, "v").describe("constant-life exponent of (c + mean)"),
                   inplace(Real, "nm").describe(
                       "consumed life fraction N/Nf, raised by cjimp/Nf each block: variant 1 lets it count on past "
                       "1, variant 2 holds it at 1; 1 or more: the life is used up (variant 1 then gives the loaded "
                       "side's strength factor degr_fac; variant 2 sets 1 once a factor has reached degr_fac)"),
                   in(Real, "n").describe("current cycle number"),
                   in(Real, "cjimp").describe("cycles of the current block (the jump just made)"),
                   in(Real, "alpha_t").describe("tensile residual-strength curve: dimensionless exponent α (not an angle)"),
                   in(Real, "beta_t").describe("tensile strength curve: exponent β"),
                   in(Real, "alpha_c").describe("compressive residual-strength curve: dimensionless exponent α (not an angle)"),
                   in(Real, "beta_c").describe("compressive strength curve: exponent β"),
                   in(Real, "gamma").describe("stiffness curve: exponent α"),
                   in(Real, "lambda").describe("stiffness curve: exponent β"),
                   inplace(Real, "de").describe("residual stiffness factor (1 intact)"),
                   inplace(Real, "df_t").describe("residual tensile strength factor"),
                   inplace(Real, "df_c").describe("residual compressive strength factor"),
                   in(Real, "degr_fac").describe("factor at the end of life"),
                   in(Int, "dmgflag").describe("1: life-fraction variant; 2: equivalent-cycle variant with cjump_nf; other: latch -2"),
                   in(Logical, "isshear").describe("shear mode: tensile and compressive strength factors not coupled"),
                   in(Int, "noel").describe("element number (trace lines when it equals debugdata.edebug)"),
                   inplace(Real, "cjump_nf").describe("cycles that may be jumped next (variant 2)"),
                   in(Real, "lim").describe("strength drop per jump (variant 2)"));

#undef SUDDEN_ARGS
}  // namespace
}  // namespace tavrin::bind
