// Modules datahandling, errorhandling and utility.
#include "engine/descriptor.hpp"
#include "foundation/datahandling.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/utility.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

namespace datahandling_tables {
TAVRIN_BINDING_MODULE(
    datahandling,
    "creation and release of the shared-state tables\n"
    "\n"
    "The creators make each table only when it is absent (an existing table keeps its extents "
    "and contents) and zero-fill what they create; read the tables as live views through the "
    "data modules (e.g. damagedata.generaldds, of shape (3, plies, damage definitions)).  "
    "deallocall frees the tables of one analysis; the error latch and the growable lists "
    "outlive it.  Counts are plain numbers; nothing here reports through the error latch.");

constexpr Arg istat_zero = out(Int, "istat").describe("status, always 0");

TAVRIN_ROUTINE_DOC(deallocall, datahandling::deallocall,
                   "Free the shared-state tables of one analysis (job, material, section, nodal, "
                   "element, impact, load, damage, buckling and fatigue tables).\n"
                   "The material calibration tables, the process list, the impactor solution "
                   "variables, the user damage descriptors, the error latch and the growable lists "
                   "outlive it.",
                   istat_zero);
TAVRIN_ROUTINE_DOC(allocatedamagedata, datahandling::allocatedamagedata,
                   "Create the damage descriptor and buckling tables for kplies plies per section, "
                   "ksec sections and max(ndmg, 1, kdmg) damage definitions.\n"
                   "damagedata.ndmg is raised to that count first; the first call after a release "
                   "zeroes all six damage descriptor tables once.",
                   istat_zero,
                   in(Int, "kplies").describe("plies per section (ply interfaces: max(kplies-1, "
                                              "1))"),
                   in(Int, "ksec").describe("number of sections"),
                   in(Int, "kdmg").describe("number of damage definitions"));
TAVRIN_ROUTINE_DOC(allocatenodaldata, datahandling::allocatenodaldata,
                   "Create the nodal tables: motions (kdof, knodes, kelem), coordinates (3, "
                   "knodes, kelem), node frames (3, 3, 8, kelem) and curvature frames (3, 3, "
                   "kelem).",
                   istat_zero, in(Int, "kdof").describe("degrees of freedom per node"),
                   in(Int, "knodes").describe("nodes per element"),
                   in(Int, "kelem").describe("number of elements"));
TAVRIN_ROUTINE_DOC(allocateelementdata, datahandling::allocateelementdata,
                   "Create the element tables: element numbers, kinds, connectivity (knodes, "
                   "kelem), curvatures (2, kelem), reference orientations (7, kelem) and section "
                   "point counts.",
                   istat_zero, in(Int, "knodes").describe("nodes per element"),
                   in(Int, "kelem").describe("number of elements"));
}  // namespace datahandling_tables

namespace errorhandling_tables {
TAVRIN_BINDING_MODULE(
    errorhandling,
    "the first-error latch\n"
    "\n"
    "A routine that fails records the first failure since the last reset and returns a neutral "
    "result; it never raises.  After a call, read errstat (0: nothing latched; -1 note or "
    "warning, -2 error, -3 unknown flag or invalid input), errstring (the message, 80 bytes, "
    "blank-padded: errstring[()].decode().rstrip()) and the detail vectors errintv, errrealv "
    "and errasciim; clear them with rsxerr(True) before the next call whose failure you want "
    "to see, since a held failure keeps every later one out.");
TAVRIN_ROUTINE_DOC(xerr, errorhandling::xerr,
                   "Record a failure in the first-error latch, or print it and end the process.\n"
                   "With pyerr 0 (the default) the message is printed after a blank and the "
                   "process, interpreter included, ends with exit status 1.  Otherwise the failure "
                   "is latched when the latch is open (errstat 0) and dropped when a failure is "
                   "already held.",
                   in(Int, "lop").describe("status to latch: -1 note or warning, -2 error, -3 "
                                           "unknown flag or invalid input"),
                   in(Text, "xerrmsg", "80").describe("message, cut or blank-padded to 80 "
                                                      "characters"),
                   in(Int, "intv", "nint").describe("integer details, kept as "
                                                    "errorhandling.errintv"),
                   hide(Int, "nint", "len(intv)").describe("length of intv"),
                   in(Real, "realv", "nreal").describe("real details, kept as "
                                                       "errorhandling.errrealv"),
                   hide(Int, "nreal", "len(realv)").describe("length of realv"),
                   in(Int, "asciim", "nrows,ncols")
                       .describe("character codes (0-255, as from stringhandling.str2ascii), one "
                                 "text per row; the first 8 rows are kept as "
                                 "errorhandling.errasciim"),
                   hide(Int, "nrows", "shape(asciim,0)").describe("rows of asciim"),
                   hide(Int, "ncols", "shape(asciim,1)").describe("columns of asciim"),
                   inout(Int, "pyerr").opt("0").describe(
                       "0: print the message and end the process; any other value: latch it; "
                       "returned unchanged"));
TAVRIN_ROUTINE_DOC(rsxerr, errorhandling::rsxerr,
                   "Reset the first-error latch: clear errstat and free the detail vectors.\n"
                   "errstring keeps its old text until the next latched failure overwrites it.",
                   out(Int, "reset").describe("1 when the latch was reset, 0 when lop was false"),
                   in(Logical, "lop").describe("true: reset; false: change nothing"));
}  // namespace errorhandling_tables

namespace utility_tables {
TAVRIN_BINDING_MODULE(
    utility,
    "array construction, search and the process check-in list\n"
    "\n"
    "Elementary array services: filling, zero-initialised arrays, copies, constructed "
    "matrices, triangles, slicing, concatenation and splitting; searching, selecting and "
    "reordering; and the check-in list of cooperating processes.  Arrays are column-major "
    "(first index fastest) and extents default to the array sizes.  Positions in results count "
    "from 1, and a value that does not occur is reported as notfound (default -1).  Values "
    "compare exactly: a NaN equals nothing.  Logical results come back as the integers 0 and "
    "1.  Nothing here reports through the error latch.");
TAVRIN_ROUTINE_DOC(processlock, ProcessLock,
                   "Check process procid into the check-in list of maxid processes and tell "
                   "whether it was the last to arrive.\n"
                   "The list (jobdata.processid) is created on first use; a list of another length "
                   "is discarded and started anew.  The call never waits.",
                   result(Logical, "processlock")
                       .describe("1 when this check-in completed the list; 0 otherwise, also for a "
                                 "process already checked in or a number outside 1..maxid"),
                   in(Int, "procid").describe("the calling process's number, 1..maxid"),
                   in(Int, "maxid").describe("number of cooperating processes"),
                   in(Int, "wflag").opt("0").describe("accepted and not used"));
TAVRIN_ROUTINE_DOC(processunlock, ProcessUnLock,
                   "Open the check-in list again so that every process can check in anew."
                   "\n\nShared state: refills jobdata.processid with 1, 2, ... up to its length; unset, nothing "
                   "happens.",
                   result(Int, "ierror").describe("status, always 0"));
}  // namespace utility_tables

}  // namespace
}  // namespace tavrin::bind
