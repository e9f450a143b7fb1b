// Module boxbeam: thin-walled multi-cell beam sections (booms, walls, cells).
// The section description, loads, switches and results are the data modules
// path, restr, steuer, spanug, wand, gurt, zelle, quer, kraft and epigam.
#include "boxbeam/box_data.hpp"
#include "boxbeam/box_main.hpp"
#include "engine/descriptor.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

inline constexpr const char* boxbeam_doc =
    "thin-walled box-beam sections: axial stiffness, mass, stiffness centre and centre of "
    "mass, bending stiffnesses and principal axes, polar mass moment, axial force flows and "
    "strains.\n\n"
    "Usage: box_initialize() sizes the arrays of wand, gurt, zelle, kraft and epigam to the "
    "capacities (restr.maxwa walls, restr.maxgu booms, restr.maxze cells); fill them in place "
    "(e.g. wand.bk[:] = ...) or assign whole arrays of exactly those extents, set the counts "
    "wand.kw, gurt.ig, zelle.az and the loads of spanug, then box_getxsection() writes the "
    "results into quer, kraft and epigam.  Boom numbers count from 1.  Units are the "
    "caller's: force K, length L, mass M.  A section that cannot be analysed is refused "
    "with errorhandling.errstat -2 and zero results.  A run whose equation system cannot be "
    "solved (report line ABBRUCH DER REDUKTION) or has coefficients that are not finite, or "
    "whose results come out not finite (e.g. zero axial stiffness or mass), latches "
    "errorhandling.errstat -3; every result the run did not compute then reads NaN.";

TAVRIN_BINDING_MODULE(boxbeam, boxbeam_doc);

TAVRIN_ROUTINE_DOC(box_initialize, Box_Initialize,
                   "sizes and zeroes the box-beam section data for the given capacities",
                   in(Int, "nw").opt("100").describe("wall capacity (maxwa), 0 or more"),
                   in(Int, "ng").opt("100").describe("boom capacity (maxgu), 0 or more"),
                   in(Int, "nz").opt("100").describe("cell capacity (maxze), 0 or more (0: open profiles only)"));

TAVRIN_ROUTINE_NOARGS(box_getxsection, Box_GetXSection,
                   "analyses the box-beam section held in the data modules: stiffnesses, mass, "
                   "centres, principal axes, axial force flows and strains, shear flows and strains, "
                   "shear centre, specific twist, torsional stiffness and mass moments about the "
                   "shear centre");

}  // namespace
}  // namespace tavrin::bind
