// Module toplevel, job control: the host solver's calls at the phases of an
// analysis.
#include "engine/descriptor.hpp"
#include "solver/job_control.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(toplevel,
                      "solver entry points: job control, material routines, user elements, damage field routines.\n\n"
                      "The routines take each solver's own argument list in the solver's order.  Job control builds "
                      "the shared state at the start of an analysis (input deck, card files, impactor records), keeps "
                      "the per-increment tables current and frees everything at the end; the embedding sets "
                      "jobdata.jobfilepath (the job's path without extension) and jobdata.joboutdir (the directory "
                      "of the card files) before the first call.  Step kinds come from jobdata.stepid: 0 "
                      "initialisation, 1 fatigue, 2 structural response, 3 impact, 4 relaxation, 5 DIC; a step "
                      "outside the table does nothing kind-specific.");
TAVRIN_ROUTINE_DOC(
    uexternaldb_iocontrol, UEXTERNALDB_IOControl,
    "job control at a phase of the analysis\n\n"
    "lop 0 or 4, start: presets loaddata.nimp = 0, damagedata.ndmg = 0, sectiondata.nsec = nplies = 1, "
    "debugdata.nupdate = 1 and frees the per-element tables of an earlier start; scans the input deck "
    "jobdata.jobfilepath + \".pes\" (else \".inp\") when jobdata.stepid is absent, setting jobdata.solverid = 1, "
    "nsteps, stepid, loaddata.nimp and creating impactdata.cprops (20, nimp) and loaddata.dprops (12, nimp) "
    "with their presets (a blank jobfilepath, a missing deck or an existing stepid latches -3 \"Cannot process "
    "any input file...\" and keeps them); reads the step, section, material and damage cards from "
    "jobdata.joboutdir (blank: from the deck only) and fills sectiondata.sefmatrix and sehmatrix.\n"
    "lop 1 (implicit callers) or 7, increment start: impact steps clear the per-increment rows of cprops; "
    "creates elementdata.elemlength (3, nelem; -1.0) when an element of kind 10 or 11 exists, and from the "
    "second step on, in steps of kind 1 or 3, sectiondata.sestress (6, npts, 4 or 27, nelem; 0.0) and, when "
    "elementdata.elemkind holds a shell of kind 1-5 or 8, tnormalstress and tshearstress (0.0); each table "
    "once, and only when its inputs (nsectionpoints, elemkind) exist; in fatigue steps with "
    "shokriehdata.cycles and cycleprops, updates cycles(2, kstep) from the message file jobfilepath + \".msg\" "
    "when cycleprops(4, kstep) is 5.\n"
    "lop 2, increment end: rows 14-15 of cprops zeroed in structural steps, the impactors advanced by dtime "
    "in impact steps; then (an explicit caller only when kinc + 1 is a multiple of debugdata.nupdate) "
    "tnormalstress and tshearstress zeroed and nodaldata.nodesmotion of nodes 5 on of four-node shells "
    "zeroed.  lop 3, end: every shared table freed.  Other codes do nothing.",
    in(Int, "lop").describe("phase code: 0 start, 4 restart, 1 or 7 increment start, 2 increment end, 3 end"),
    in(Int, "lrestart").describe("not used"), in(Real, "time", "2").describe("step time, total time (not used)"),
    in(Real, "dtime").describe("time increment of the increment that ends (impactor integration)"),
    in(Int, "kstep").describe("step number, from 1"), in(Int, "kinc").describe("increment number"),
    in(Int, "exflag").opt("0").describe("1 for an explicit caller"));
TAVRIN_ROUTINE_DOC(
    vexternaldb_iocontrol, VUEXTERNALDB_IOControl,
    "job control at a phase of an explicit analysis\n\n"
    "Maps the phases k = 0..6 onto uexternaldb_iocontrol's codes 0, 5, 7, 1, 2, 6, 3 (explicit caller).  "
    "k = 0 also reads the solver's data file jobfilepath + \".dat\" (missing or blank path: status -3) into "
    "the element and nodal tables; k = 1 raises jobdata.stepcount to the step number; k = 5 in a step of kind "
    "0 computes the element reference data (elementdata.elemindices, elemreforientation, "
    "sectiondata.nsectionpoints).  A process of rank other than 0 runs k = 0, 6 and, once jobdata.stepid "
    "exists, k = 4 and 5.",
    in(Int, "k").describe("explicit phase: 0 start, 1 step start, 2 increment set-up, 3 increment start, "
                          "4 increment end, 5 step end, 6 end; others do nothing"),
    in(Int, "i_array", "niarray").describe("solver integers: 3 step number, 4 increment number (others not "
                                           "used; missing entries read as 0)"),
    in(Int, "niarray").opt("len(i_array)").describe("entries of i_array"),
    in(Real, "r_array", "nrarray").describe("solver reals: 1 total time, 2 step time, 3 time increment"),
    in(Int, "nrarray").opt("len(r_array)").describe("entries of r_array"),
    in(Int, "mpi_rank").opt("0").describe("rank of the process"));
TAVRIN_ROUTINE_DOC(
    uaccess_iocontrol, UACCESS_IOControl,
    "reduced job control: zeroes the through-thickness stress tables or frees the shared state\n\n"
    "lop 2 zeroes sectiondata.tnormalstress and tshearstress when they exist; lop 3 frees every shared table "
    "(job control's impactor averaging buffers are kept); other codes do nothing.",
    in(Int, "lop").describe("2 end of increment, 3 end of analysis"), in(Real, "dtime").describe("not used"));

}  // namespace
}  // namespace tavrin::bind
