// Module iohandling, readers: the four card files, the solver's data file and
// the Gauss-point report.
#include "engine/descriptor.hpp"
#include "solver/gauss_point_report.hpp"
#include "solver/iohandling.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace ioh = tavrin::iohandling;

constexpr Arg filepath = in(Text, "filepath", "256").path().describe(
    "file read when the card file does not exist in workspace (job control passes the input deck); blank: "
    "none.  A card or file that exists but cannot be opened or read is not passed over: status -3 \"Error: "
    "Cannot read <name>: <reason>\" (errno value in errorhandling.errintv, the path's bytes in errasciim) "
    "and nothing changes");
constexpr Arg workspace = in(Text, "workspace", "256").path().describe(
    "directory of the card file (job control passes jobdata.joboutdir); blank: none");
constexpr Arg nplies = in(Int, "nplies").describe("plies per section (job control passes sectiondata.nplies)");
constexpr Arg nsec = in(Int, "nsec").describe("number of sections (job control passes sectiondata.nsec)");

TAVRIN_BINDING_MODULE(iohandling, "reading the card files, the input deck and the solver's data and message files");
TAVRIN_ROUTINE_DOC(
    getstepdatafromfile, ioh::getstepdatafromfile,
    "reads the step card StepCard.tvr: debug selectors per step block and the fatigue cycle tables\n\n"
    "Writes debugdata.edebug, ndebug, fdebug, verbose (preset 0), nupdate (preset 1) and unitid (preset -3) "
    "from the \"+Debug\", \"+Verbose\" and \"+Update\" lines of each \"++Begin Step\" ... \"++End Step\" block "
    "(the last block that gives a value wins), and creates shokriehdata.cycleprops (ncycleprops, nsteps) from "
    "a \"+Cycle\" line (one per card) and shokriehdata.cycles ((1, nsteps) of 1.0 for TYPE=DIRECT, (k, nsteps) "
    "of 0.0 for TYPE=INDIVIDUAL, k the largest row 6 of cycleprops); both tables are freed first and stay "
    "absent without such lines.  Without a card nothing changes.",
    filepath, workspace,
    in(Int, "nsteps").describe("analysis steps: columns of the cycle tables (job control passes jobdata.nsteps)"));
TAVRIN_ROUTINE_DOC(
    getsectiondatafromfile, ioh::getsectiondatafromfile,
    "reads the section card SectionCard.tvr: ply stacks, section ids, flags and strengths, ply z coordinates\n\n"
    "Raises sectiondata.nsec to the number of \"++BEGIN SECTION\" lines and sectiondata.nplies to the longest "
    "\"+Orientation\" list (both keep larger values they hold; job control presets 1), creates sectiondata."
    "xcstrength, secidlist, plyorientation, plythickness, plyzcoord (2*nplies+1, nsec), seflags, sehmatrix, "
    "sefmatrix (2*nplies+1, 4, nsec) and materialdata.matidlist (nplies, nsec; preset 1 for a single slot, "
    "else 2147483647 = empty) and fills column i from the i-th section block.  A single \"+Material\" id or "
    "\"+Thickness\" value serves every ply of the block's \"+Orientation\" list.  Without a card nothing "
    "changes.",
    filepath, workspace);
TAVRIN_ROUTINE_DOC(
    getmaterialdatafromfile, ioh::getmaterialdatafromfile,
    "reads the material card MaterialCard.tvr into the per-ply property tables of every slot naming a material\n\n"
    "Needs materialdata.matidlist from the section card (absent: only the module-wide tables are written).  "
    "Creates materialdata.pfflags, peflags (5, nplies, nsec; 0), pelimits (12, ...; -1.0), peprops (9*T, ...), "
    "psprops (10*T, ...), phprops, pfprops (0.0), pdprops and cuprops (ncure, 8, ...; 1.7976931348623157e308), "
    "regularization, temperatures (T ascending distinct \"+Temperature\" values of all blocks, or one "
    "1.7976931348623157e308), the calibration tables flowprops, secantprops, normalprops, shearprops, "
    "alpha1props..alpha3props (T, points, 3 or 2) and equivalentstress, and sets modelid, ntempdata = T and the "
    "calibration counts; i10 and r_crit are freed and created by their lines.  Each \"++Begin Material, "
    "MATID=id\" block is copied into every slot (ply, section) whose matidlist entry is id; a \"+Table, "
    "TYPE=TEMPERATURE\" of (elastic + strength count) x T factors makes one elastic and strength set per "
    "temperature.  Without a card nothing changes.",
    filepath, workspace, nplies, nsec);
TAVRIN_ROUTINE_DOC(
    getdamagedatafromfile, ioh::getdamagedatafromfile,
    "reads the damage card DamageCard.tvr: damages present at the start, with their extent per ply\n\n"
    "Sets damagedata.ndmg to the number of \"++BEGIN DAMAGE\" lines; frees and recreates at their first line "
    "damagedata.dmgplane (npos, ndmg; -1.7976931348623157e308), generaldds, fiberdds, matrixdds, coredds, "
    "userdds (3, nplies, ndmg; 0.0), delamdds (3, nplies-1, ndmg) with bukdata.bukintdatalist and "
    "bukrealdatalist (4 and 12, nplies-1, ndmg, nsec; 0), and dmgpoints (npts, nplies, 6, ndmg; "
    "1.7976931348623157e308; kinds 1 General, 2 Fiber, 3 Matrix, 4 Delamination, 5 Core, 6 User).  The id of "
    "\"++Begin Damage, DMGID=id\" is the column, from 1 to ndmg.  Without a card nothing changes and ndmg "
    "keeps its value.",
    filepath, workspace, nplies, nsec);
TAVRIN_ROUTINE_DOC(
    getabqdatafromfile, ioh::getabqdatafromfile,
    "reads the element and node tables of the solver's printed data file\n\n"
    "Counts the shells (S...) and continua (C..., not CIN...) of the first element table and, when there are "
    "any, recreates elementdata.elemlist, elemkind, elemnodes (node numbers of shell kinds 1-8), "
    "elemcurvatures, elemreforientation, sectiondata.nsectionpoints, nodaldata.nodalcoords, nodesmotion, "
    "tnodalmatrices, tcurvmatrices (elementdata.elemindices is freed), sets elementdata.nelem, nodaldata."
    "nnodes and ndof, and copies the node table's coordinates into nodalcoords of every element that holds "
    "each node.  Nodes of an element that the node table lacks keep zero coordinates, with status 0.  The "
    "node table ends at a line whose first word is not an integer (a blank line, 2.5, or a node number beyond "
    "32 bits) once a line numbered 1 or more was read, and at a node line whose number is smaller than the "
    "one before; the nodes after it keep zero coordinates too.  Lines numbered 0 or below and lines of fewer "
    "than three coordinates are skipped.  A file that cannot be "
    "opened or read latches status -3 (errno value in errorhandling.errintv, the path's bytes in errasciim); "
    "one without elements changes nothing.  After a -3 status (memory run out) every table and count the "
    "read touches is absent or as it was before the call.",
    in(Text, "filepath", "256").path().describe("path of the data file (trailing blanks ignored)"));
TAVRIN_ROUTINE_DOC(
    getgausspointreport, ioh::getgausspointreport,
    "appends an integration point's element, number and coordinates to the Gauss-point report file\n\n"
    "A new file starts with the header line NOEL, NPT, x, y, z.  A file that can be neither opened nor "
    "created gets nothing; that, and a line that cannot be written to the end (a full disk, a file-size "
    "limit), latch status -2 at every such call (the latch keeps the first until it is cleared), with the "
    "errno value in errorhandling.errintv and the path's bytes in errasciim.",
    in(Text, "filepath", "256").path().describe("path of the report (trailing blanks ignored)"),
    in(Real, "coord", "3").describe("x, y, z of the point"), in(Int, "noel").describe("host element number"),
    in(Int, "npt").describe("integration point number"));
TAVRIN_ROUTINE_DOC(
    getelementdataextents, ioh::getelementdataextents,
    "counts a host element type name into the extents of the element tables",
    in(Text, "elemtype", "8").describe("type name, e.g. S4R, S8R5, STRI3, C3D8R; names beginning with neither "
                                       "S nor C (or with CIN) change nothing"),
    inout(Int, "iele").opt("0").describe("elements counted: raised by 1"),
    inout(Int, "inodes").opt("0").describe("largest node count: raised to the type's (0 when the name "
                                           "holds none where it is read)"),
    inout(Int, "idof").opt("0").describe("degrees of freedom per node: raised to 5 for a name ending in 5, "
                                         "else to 6"));

}  // namespace
}  // namespace tavrin::bind
