// Module toplevel: the damage field routines.
#include "engine/descriptor.hpp"
#include "solver/damage_field.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(toplevel);

constexpr const char* not_used = "not used";
constexpr const char* record_doc =
    "state variables; the last 40 are the damage record: 1-6 ply stress (solver order), 7-11 general, "
    "fibre, matrix, delamination and core flags, 12 buckled-delamination flag, 13-17 efforts, 18-20 "
    "residual factors, 21-23 ply, section column and element row, 24-25 fracture-plane angle and "
    "its angle from the xz-plane (radians, -1 until the first matrix crack), 26 400*fibre + 40*matrix "
    "+ 4*delamination, 27-30 fracture-plane degradation state, 35 element length.  Fewer than 40: "
    "nothing changes";
constexpr const char* field_doc =
    "field variables; with more than 4, zeroed and then 1-5 the flags of the five modes (0 where "
    "materialdata::peflags of the ply is 0), 6 the crack angle from the xz-plane / pi, 7 the capped "
    "matrix damage (both only on a fracture-plane degradation)";
constexpr const char* cmname_doc =
    "material name, 80 characters: its _l@n@ tag raises the ply, its _s@n@ tag names the section "
    "(sectiondata::secidlist) on the first call";
#define TAVRIN_GEN_DAMAGE_NOTES                                                                   \
    "Reads jobdata::stepid (kind of kstep; no table: -1, nothing kind-specific), sectiondata (nplies, " \
    "nsec, secidlist, seflags, plyorientation, plythickness, nsectionpoints, sestress, sestrain, " \
    "tnormalstress, tshearstress), materialdata (pfflags, peflags, pelimits, peprops, psprops, " \
    "pdprops, pfprops), elementdata and nodaldata tables, loaddata::dprops and damagedata; a table " \
    "that is not allocated skips the step that needs it.  Kinds 0 and 5 seed the flags from the " \
    "damage definitions; kinds 1 and 3 from the second step on evaluate the failure drivers; kind 4 " \
    "grows the damage definitions.  Writes sectiondata::nsectionpoints (kind 2, increment 1), " \
    "sectiondata::sestress (with a table), elementdata::elemlength (bricks), loaddata::dprops and the " \
    "reference orientation lists (step 1, increment 1) and damagedata (kind 4).  A ply or section " \
    "that names no column of the material tables latches errorhandling.errstat -2 and nothing is " \
    "evaluated."

TAVRIN_ROUTINE_DOC(
    gen_damage, gen_damage,
    "Ply damage at a material point: mode flags, efforts and residual factors in the last 40 state "
    "variables, returned as field variables.\n\n" TAVRIN_GEN_DAMAGE_NOTES,
    inout(Real, "field", "nfield").describe(field_doc), inout(Real, "statev", "nstatv").describe(record_doc),
    in(Real, "tdirect", "3,3").describe("direction cosines of the material directions (columns)"),
    in(Real, "t", "3,3").describe("the element's local directions"),
    in(Real, "celent").describe("characteristic element length"), in(Real, "time", "2").describe(not_used),
    in(Real, "dtime").describe(not_used), in(Text, "cmname", "80").describe(cmname_doc),
    in(Int, "nfield").opt("len(field)").describe("number of field variables"),
    in(Int, "nstatv").opt("len(statev)").describe("number of state variables"),
    in(Int, "noel").describe("element number"), in(Int, "npt").describe("integration point"),
    in(Int, "layer").describe("layer (ply) number"), in(Int, "kspt").describe("section point within the layer"),
    in(Int, "kstep").describe("step number"), in(Int, "kinc").describe("increment number"),
    in(Real, "coord", "3").describe("coordinates of the point"),
    in(Real, "table", "16").opt("-1.0").describe(
        "stress table: temperature, stress (Voigt order 11, 22, 33, 23, 13, 12), strain (Voigt), three "
        "element lengths; all -1.0: no table"),
    text_length("cmname_len", "cmname"));

TAVRIN_ROUTINE_DOC(
    usdfld_dmg, usdfld_dmg,
    "Abaqus/Standard USDFLD entry of the ply damage: gen_damage without a stress table.\n\n"
    "Layout: ndi, nshr not read.",
    inout(Real, "field", "nfield").describe(field_doc), inout(Real, "statev", "nstatv").describe(record_doc),
    inout(Real, "pnewdt").describe("suggested time increment ratio (not changed)"),
    in(Real, "tdirect", "3,3").describe("direction cosines of the material directions (columns)"),
    in(Real, "t", "3,3").describe("the element's local directions"),
    in(Real, "celent").describe("characteristic element length"), in(Real, "time", "2").describe(not_used),
    in(Real, "dtime").describe(not_used), in(Text, "cmname", "80").describe(cmname_doc),
    in(Text, "orname", "80").describe("orientation name (not used)"),
    in(Int, "nfield").opt("len(field)").describe("number of field variables"),
    in(Int, "nstatv").opt("len(statev)").describe("number of state variables"),
    in(Int, "noel").describe("element number"), in(Int, "npt").describe("integration point"),
    in(Int, "layer").describe("layer (ply) number"), in(Int, "kspt").describe("section point within the layer"),
    in(Int, "kstep").describe("step number"), in(Int, "kinc").describe("increment number"),
    in(Int, "ndi").describe(not_used), in(Int, "nshr").describe(not_used),
    in(Real, "coord", "3").describe("coordinates of the point"), in(Int, "jmac", "*").describe(not_used),
    in(Int, "jmatyp", "*").describe(not_used), in(Int, "matlayo").describe(not_used),
    in(Int, "laccfla").describe(not_used), in(Int, "threadid").opt("0").describe(not_used),
    text_length("cmname_len", "cmname"), text_length("orname_len", "orname"));

TAVRIN_ROUTINE_DOC(
    vusdfld_dmg, vusdfld_dmg,
    "Abaqus/Explicit VUSDFLD entry of the ply damage: gen_damage for every point of a block with its "
    "stress table (temperature, stress and strain in Voigt order, three element lengths).\n\n"
    "The increment number is ceiling(steptime/dt - 2.2e-16), 0 when dt <= 0; statenew starts as "
    "stateold.  With no point or no state variable nothing is done.  Rows of fewer than six "
    "components hold the direct components and then 12, 23, 31 as far as given.  Layout: nblock >= 0; "
    "ndir and nshr 0 to 3; any other latches errorhandling.errstat -2 and touches nothing.",
    in(Int, "nblock").opt("len(jelem)").describe("number of points in the block"),
    in(Int, "nstatev").opt("shape(stateold,1)").describe("state variables per point"),
    in(Int, "nfieldv").opt("shape(field,1)").describe("field variables per point"),
    in(Int, "nprops").opt("len(props)").describe("number of material constants"),
    in(Int, "ndir").describe("direct components of the stress rows"),
    in(Int, "nshr").describe("shear components of the stress rows"),
    in(Int, "jelem", "nblock").describe("element number of each point"),
    in(Int, "kintpt").describe("integration point"), in(Int, "klayer").describe("layer (ply) number"),
    in(Int, "ksecpt").describe("section point within the layer"), in(Int, "kstep").describe("step number"),
    in(Real, "temp", "nblock").describe("temperature of each point"), in(Real, "steptime").describe("step time"),
    in(Real, "totaltime").describe("total time"), in(Real, "dt").describe("time increment"),
    in(Text, "cmname", "80").describe(cmname_doc),
    in(Real, "coordmp", "nblock,*").relation("shape(coordmp,1)>=3").describe("coordinates of each point (3 columns)"),
    in(Real, "tdirect", "nblock,3,3").describe("material directions of each point"),
    in(Real, "t", "nblock,3,3").describe("local element directions of each point"),
    in(Real, "charlength", "nblock,*").relation("shape(charlength,1)>=3")
        .describe("three characteristic element lengths of each point; the first is celent"),
    in(Real, "props", "nprops").describe(not_used),
    in(Real, "stateold", "nblock,nstatev").describe("state variables at the start, one row per point"),
    in(Real, "stressold", "nblock,ndir+nshr").describe("stress, order 11, 22, 33, 12, 23, 31"),
    in(Real, "strainold", "nblock,ndir+nshr").describe("strain, order 11, 22, 33, 12, 23, 31"),
    out(Real, "statenew", "nblock,nstatev").describe("state variables at the end (record as gen_damage's)"),
    inout(Real, "field", "nblock,nfieldv").describe("field variables of each point (as gen_damage's)"),
    in(Int, "threadid").opt("0").describe(not_used), text_length("cmname_len", "cmname"));

TAVRIN_ROUTINE_DOC(
    gen_sdvini, gen_sdvini,
    "Abaqus SDVINI: marks an all-zero state array as not initialised (its last entry the largest "
    "double 1.7976931348623157e308); any non-zero entry leaves the array unchanged.",
    inout(Real, "statev", "nstatv").describe("state variables"),
    in(Real, "coords", "ncrds").describe(not_used),
    in(Int, "nstatv").opt("len(statev)").describe("number of state variables"),
    in(Int, "ncrds").opt("len(coords)").describe("number of coordinates"), in(Int, "noel").describe(not_used),
    in(Int, "npt").describe(not_used), in(Int, "layer").describe(not_used), in(Int, "kspt").describe(not_used));

}  // namespace
}  // namespace tavrin::bind
