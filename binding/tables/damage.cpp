// Module damage: the failure-mode drivers (one effort pair per damage mode
// of a ply).
#include "engine/descriptor.hpp"
#include "failure/damage.hpp"
#include "tables/failure_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr Arg flag_of(const char* f) { return out(Real, f).describe("1.0 when the effort reaches 1.0, else 0.0"); }
constexpr Arg effort_of(const char* r) { return out(Real, r).describe("failure effort of the selected criterion, 1.0 at failure"); }

// How the drivers' efforts grow with the load.
#define TAVRIN_DRIVER_EFFORT                                                                                 \
  "\n\nEffort under stresses scaled by λ: as the selected criterion's, which its routine's doc states: some " \
  "grow as λ, LaRC05's about as λ², others neither; efforts of different flags are therefore no margins."
constexpr Arg plystress = in(Real, "plystress", "6").describe("ply stress s11, s22, s33, s12, s13, s23 (ply axes)");
constexpr Arg psprops = in(Real, "psprops", "10,nlayer,nsec").describe(
    "strengths per ply and section: xt11, xt22, xt33, xc11, xc22, xc33 (positive), x12, x13, x23, ilss");
constexpr Arg peprops = in(Real, "peprops", "9,nlayer,nsec").describe(
    "elastic constants per ply and section: E1, E2, E3, nu12, nu13, nu23, G12, G13, G23");
constexpr Arg plyorientation = in(Real, "plyorientation", "nlayer,nsec").describe("ply angles (degrees) per section");
constexpr Arg layer = in(Int, "layer").describe("ply (1-based; status -3 and zeros when no column)");
constexpr Arg isec = in(Int, "isec").describe("section (1-based; status -3 and zeros when no column)");
constexpr Arg nlayer = in(Int, "nlayer").opt("shape(psprops,1)").describe("plies per section (ply extent of the tables)");
constexpr Arg nsec = in(Int, "nsec").opt("shape(psprops,2)").describe("number of sections (section extent of the tables)");

TAVRIN_BINDING_MODULE(damage,
                      "failure-mode drivers: one (flag, effort) pair per damage mode of a ply.\n\n"
                      "General failure, fibre breakage, matrix cracking, delamination onset and core crushing of a ply, "
                      "each by the criterion its flag selects, with the effort 1.0 at failure and the flag 1.0 once it is "
                      "reached; and the footprints of the damage definitions (polygons or ellipses in a damage plane): "
                      "whether a point lies in one, the mode flags they seed, their growth.  Ply stresses are in the ply "
                      "axes, order s11, s22, s33, s12, s13, s23; strengths are positive magnitudes in the stresses' unit.  "
                      "Property tables hold one column per ply and section; plies, sections, damages and modes are "
                      "counted from 1.  Ply and damage angles are in degrees, the matrix fracture angle outtheta in "
                      "radians.  A ply or section outside the tables latches errorhandling.errstat -3 with zero results.");
TAVRIN_ROUTINE_DOC(generalfailure, damage::generalfailure,
                   "general failure of a ply by the criterion gpflag selects" TAVRIN_DRIVER_EFFORT,
                   flag_of("fgp"), effort_of("rgp"), plystress, psprops, plyorientation, layer, nlayer, isec, nsec,
                   in(Int, "gpflag").describe("0 none; 1 max nominal, 2 quadratic nominal, 3 linear, 4 quadratic, "
                                              "5 Norris, 6 Yamada-Sun interaction, 7 Camanho, 8 full polynomial"));
TAVRIN_ROUTINE_DOC(fiberbreakage, damage::fiberbreakage,
                   "fibre breakage of a ply by the criterion fbflag selects"
                   "\n\nLaRC05 (flag 13) samples the kink-plane angle every 5° with the 53° default of a0."
                   TAVRIN_DRIVER_EFFORT,
                   flag_of("ffb"), effort_of("rfb"), plystress, peprops, psprops, plyorientation, layer, nlayer, isec,
                   nsec,
                   in(Int, "fbflag").describe("0 none; 1, 2 nominal, 3 Hashin, 4 Chang-Chang, 5 Christensen, 6 Camanho, "
                                              "7 polynomial, 8-11 interaction, 12 LaRC04, 13 LaRC05"));
TAVRIN_ROUTINE_DOC(matrixcracking, MatrixCracking,
                   "matrix cracking of a ply by the criterion mcflag selects" TAVRIN_FRACTURE_PLANE
                   "\n\nSearch: the searched criteria (flags 9 to 15) run in golden-section mode by default "
                   "(gsflag 1, step 5°), which can settle on a secondary maximum of f(θ) and report an effort far "
                   "below the largest (on random 3-D stress states more than 1 % low in several cases in a "
                   "hundred, in the worst by half).  Sampling is the conservative choice; for flags 9 to 13 it "
                   "is chosen by ending the ply's pdprops with (sainc, 0.0): the two alone, or after the model "
                   "parameters (Puck 6 values in all, Wiegand and Camanho 3, SPC3D 7, VDI 2014 8).  LaRC04 and "
                   "LaRC05 (14, 15) always search in golden mode here.  SPC3D searches 2° to 178°, so its "
                   "sampling grid with the 5° step (2°, 7°, ..., 177°) never holds 90°, where it often peaks."
                   TAVRIN_DRIVER_EFFORT,
                   flag_of("fmc"), effort_of("rmc"), plystress, peprops, psprops,
                   in(Real, "pdprops", "nprops,nlayer,nsec").describe(
                       "criterion parameters per ply and section, given up to the first defreal: Puck (4), a0 "
                       "(Wiegand, Camanho: 1), SPC3D (5), VDI 2014 (6), or the last two sainc (degrees), gsflag; "
                       "a -1.0 keeps every default; other flags: entry 1 the fracture angle (degrees)"),
                   plyorientation, layer, nlayer, isec, nsec,
                   in(Int, "nprops").opt("shape(pdprops,0)").describe("criterion parameters per ply (first extent of pdprops)"),
                   in(Int, "mcflag").describe("0 none; 1-4 Hashin, 5 Chai, 6 Chang-Chang, 7, 8 Cuntze, 9 Puck, "
                                              "10 Wiegand, 11 Camanho, 12 SPC3D, 13 VDI 2014, 14 LaRC04, 15 LaRC05"),
                   inout(Real, "outtheta").opt("-1.0").describe(
                       "fracture angle θ (radians) about the fibre axis, 0 the ply plane, π/2 the plane normal to "
                       "direction 2: set when it came in negative and the ply fails"),
                   in(Real, "defreal").opt("1.7976931348623157e308").describe("the marker of parameters not given"));
TAVRIN_ROUTINE_DOC(delamination, damage::delamination,
                   "delamination onset at the interface above ply layer by the criterion delflag selects"
                   TAVRIN_DRIVER_EFFORT,
                   flag_of("fdel"), effort_of("rdel"), in(Real, "s33i").describe("normal stress on the interface"),
                   in(Real, "lplystress", "6").describe("stress of ply layer (lower), s11 .. s23"),
                   in(Real, "uplystress", "6").describe("stress of ply layer + 1 (upper), s11 .. s23"), peprops, psprops,
                   plyorientation, in(Real, "plythickness", "nlayer,nsec").describe("ply thicknesses per section"),
                   in(Int, "layer").describe("the lower ply (1-based, below nlayer; else status -3 and zeros)"), nlayer,
                   isec, nsec,
                   in(Int, "delflag").describe("0 none; 1 Chai, 2 Choi-Chang, 3 Puck, 4 SPC3D, 5 Hashin, "
                                               "6 Ochoa-Engblom, 7 Lee"));
TAVRIN_ROUTINE_DOC(corecrushing, damage::corecrushing, "core crushing of a ply (flags 0 to 2 evaluate nothing)",
                   flag_of("fcc"), effort_of("rcc"), plystress, psprops, plyorientation, layer, nlayer, isec, nsec,
                   in(Int, "ccflag").describe("0, 1, 2: no evaluation; other values are refused"));

constexpr Arg refcos = in(Real, "refcos", "3,3").describe(
    "reference directions as columns: 1 and 2 in the shell plane, 3 its normal");
constexpr Arg gpcoords = in(Real, "gpcoords", "3").describe("global coordinates of the point");

TAVRIN_ROUTINE_DOC(pointindamage, PointInDamage, "whether a point lies in a damage footprint (polygon or ellipse)"
                   "\n\nShared state: reads the polygon damagedata.dmgpoints(:, layid, modeid, dmgid) (x, y, z of "
                   "each vertex in the damage plane, up to the first entry 1.7976931348623157e308); unset, an "
                   "index outside it or a polygon of fewer than two vertices: the ellipse is tested.",
                   result(Logical, "pointindamage").describe(
                       "true when the point lies in the footprint: the polygon of damagedata.dmgpoints(:, layid, "
                       "modeid, dmgid) when it holds at least two vertices, else the ellipse a, b turned by dmgangle + "
                       "plyangle; false when skip"), in(Real, "point", "3").describe("global coordinates"),
                   in(Real, "dmgcos", "3,3").describe("the damage plane's axes as columns (3: its normal)"),
                   in(Real, "dmgorigin", "3").describe("the damage's origin, global coordinates"),
                   in(Real, "dmgangle").describe("damage angle about the plane normal (degrees)"),
                   in(Real, "plyangle").describe("ply angle added for the ellipse (degrees)"),
                   in(Real, "a").describe("half-axis along the ellipse's first axis"),
                   in(Real, "b").describe("half-axis along its second axis"),
                   in(Int, "modeid").describe("1 general, 2 fibre, 3 matrix, 4 delamination, 5 core"),
                   in(Int, "dmgid").describe("damage (1-based)"),
                   in(Int, "layid").describe("ply or interface of the polygon column (1-based)"),
                   in(Logical, "skip").describe("true: the point is not tested (false returned)"));
TAVRIN_ROUTINE_DOC(getdamagefromdds, GetDamageFromDDS,
                   "mode flags of a point seeded from the damage definitions and buckled delaminations"
                   "\n\nShared state: reads damagedata.ndmg (below 1: nothing changes), the footprints of each "
                   "damage per ply in damagedata.generaldds, fiberdds, matrixdds and coredds and per interface in "
                   "damagedata.delamdds (half-axes a, b; an unset table seeds no flag of its mode), the origin and "
                   "angle of each damage in damagedata.dmgplane (unset: origin 0, angle 0), the polygons "
                   "damagedata.dmgpoints (see pointindamage), sectiondata.plyorientation and sectiondata.nplies "
                   "(plyorientation unset, or ilay, isec outside it: latches -3 \"Ply or section index selects no "
                   "section table column in GetDamageFromDDS\" and changes nothing) and the buckling lists "
                   "bukdata.bukrealdatalist and bukdata.bukintdatalist.  With delamdds set and the buckling lists "
                   "unset or all zero it first fills them by the peeling analysis of every damage and section, "
                   "from sectiondata.plyorientation, plythickness, xcstrength, nplies and nsec and "
                   "materialdata.peprops and matidlist (nothing is filled while one of these is missing; "
                   "sublaminate.getbukdatafromdds).",
                   inplace(Real, "sdv", "12").describe(
                       "mode flags (1-5 general, fibre, matrix, delamination, core; 6 buckled delamination), "
                       "7-11 efforts (untouched), 12 buckled-delamination factor; updated in place").relation("len(sdv)==12"),
                   gpcoords, refcos, in(Int, "ilay").describe("ply (1-based)"),
                   in(Int, "isec").describe("section (1-based)"));
TAVRIN_ROUTINE_DOC(updatedds, UpdateDDS, "grows the damage footprints of a ply to reach a damaged point"
                   "\n\nShared state: grows the half-axes of damage idmg at ply ilay in damagedata.generaldds, "
                   "fiberdds, matrixdds, delamdds (the interface above the ply; none above the last ply) and "
                   "coredds, each mode whose flag in sdv is 1.0 or more (an unset table is passed over).  It reads "
                   "sectiondata.nplies, sectiondata.nsec, sectiondata.plyorientation and damagedata.ndmg; when "
                   "damagedata.damagedds is unset it first allocates the damage tables for them "
                   "(datahandling.allocatedamagedata).  plyorientation unset, or an index outside the tables: "
                   "latches -3 \"Ply, section or damage index selects no table column in UpdateDDS\", ierror 1.",
                   out(Int, "ierror").describe("0; 1 when ilay, isec or idmg select nothing"),
                   in(Real, "sdv", "5").describe("mode flags general, fibre, matrix, delamination, core (>= 1: damaged)"),
                   gpcoords, in(Real, "refcoords", "3").describe("the damage's reference point"), refcos,
                   in(Int, "ilay").describe("ply (1-based)"), in(Int, "isec").describe("section (1-based)"),
                   in(Int, "idmg").describe("damage (1-based)"));
TAVRIN_ROUTINE_DOC(getextentofprojecteddamage, damage::getextentofprojecteddamage,
                   "half-axes of a damage grown to reach a projected point",
                   inout(Real, "halfaxis", "2").describe("half-axes a, b; only grow"), gpcoords,
                   in(Real, "refcoords", "3").describe("the damage's reference point"), refcos,
                   in(Real, "theta").describe("damage axis angle about column 3 (degrees)"),
                   in(Real, "mdmg").describe("mode flag: nothing changes below 1.0"));

}  // namespace
}  // namespace tavrin::bind
