// Module toplevel: the explicit progressive-damage ply routines (VUMAT
// convention).
#include "engine/descriptor.hpp"
#include "solver/explicit_ply.hpp"
#include "tables/solver_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sa = solver_args;

constexpr const char* unused = "not read";

// The VUMAT argument list in the solver's order; only straininc differs
// between the routines.
#define VUMAT_ARGS(straininc_arg)                                                                                    \
  sa::nblock, sa::v_ndir.describe("direct components of the stress and strain rows (3)"),                          \
      sa::v_nshr.describe("shear components (3; vumat_bogenfeld also 1: plane stress)"), sa::nstatev_block,         \
      sa::nfieldv, sa::nprops.describe("properties: 2 to 9 elastic constants or 21 a packed stiffness (elastic "     \
                                       "answer), or the full property vector; 1 is refused"),                        \
      sa::lanneal.describe(unused), sa::steptime.describe(unused),                                                  \
      sa::totaltime.describe("total time at the start of the increment; 0.0: the solver's first call"),           \
      sa::dt.describe("time increment (rate terms are 0 for dt <= 0)"), sa::cmname.describe("material name; not read"), \
      sa::coordmp.describe(unused),                                                                                  \
      sa::charlength.relation("shape(charlength,1)>=3")                                                             \
          .describe("characteristic element lengths along the ply axes 1, 2, 3 (mm), columns 1-3; positive"),       \
      sa::props.describe("material properties (see the routine's summary)"),                                       \
      sa::density.describe("mass density, positive; energies are per unit mass"), straininc_arg,                    \
      sa::relspininc.describe(unused), sa::tempold.describe(unused), sa::stretchold.describe(unused),              \
      sa::defgradold.describe(unused), sa::fieldold.describe(unused),                                              \
      sa::stressold.describe("stress at the start of the increment (MPa), cyclic order"),                          \
      sa::stateold, sa::enerinternold, sa::enerinelasold, sa::tempnew.describe(unused),                             \
      sa::stretchnew.describe(unused), sa::defgradnew.describe(unused), sa::fieldnew.describe(unused),              \
      sa::stressnew.describe("stress at the end of the increment (MPa), cyclic order"), sa::statenew,              \
      sa::enerinternnew, sa::enerinelasnew, sa::cmname_len

TAVRIN_BINDING_MODULE(toplevel,
                      "solver entry points: material routines of the solvers' conventions.\n\n"
                      "Each routine takes the solver's argument list under lower-case names.  Explicit material "
                      "routines (VUMAT convention) work on a block of points: every array has one row per point, "
                      "stress and strain rows are in the cyclic order 11, 22, 33, 12, 23, 31 with tensor shear "
                      "strains (half the engineering shears), energies are per unit mass, moduli and stresses in "
                      "MPa, lengths in mm and energy release rates in N/mm.  State variables are counted from 1.  "
                      "Refused input latches errorhandling.errstat -2 and returns the block (or the point) as it came "
                      "in: stressnew = stressold, statenew = stateold, energies unchanged.");
TAVRIN_ROUTINE_DOC(
    vumat_cartesian, vumat_cartesian,
    "stress, state and energies of a block of unidirectional ply points with nine-mode progressive damage, "
    "element deletion and strain-rate damping, for one explicit increment\n\n"
    "3-D points only (ndir = nshr = 3), at least 82 state variables.  Layout: nblock >= 0; ndir 3, nshr 3; any "
    "other latches errorhandling.errstat -2 ('vumat_cartesian: needs ndir = 3 and nshr = 3', details ndir, "
    "nshr) and touches nothing.  Full property vector (39 values): 1-9 E11t, "
    "E22t, E33, G12, G13, G23, nu12, nu13, nu23; 10-18 strengths X11t, X22t, X33t, X11c, X22c, X33c, X12, X13, X23 "
    "(compression by magnitude); 19-20 E11c, E22c; 21 nonlinear-shear exponent; 22 initial shear modulus; 23 shear "
    "law (1 or 11 exponential, 2 bilinear, 6 linear with the initial modulus, other linear); 24 not read; 25-28 "
    "toughnesses of fibre tension, fibre compression, transverse tension, transverse compression; 29 toughness of "
    "the thickness modes; 30-32 damping factors; 33 failure measure (1 strains, 2 stresses); 34 criterion set 1-6 "
    "(other: no damage); 35 permanent strains (1 normal directions); 36 crushing plateau (1 fibres, 2 every normal "
    "direction); 37 damage accumulation (1); 38 stiffness degradation (1); 39 strength degradation (no effect).  "
    "Modes 1-9: fibre tension, fibre compression, 22 tension, 22 compression, 33 tension, 33 compression, shear "
    "12, 23, 31.  State: 1-9 stiffness damage, 10-18 mode damage, 19 element status (1 active, 0 deleted; also "
    "the factor of the energy increments), 21-26 total strain, 27-32 inelastic strain, 36-38 largest shear "
    "stresses, 39-44 strains at the largest stress, 45-53 onset strains, 54-62 full-damage strains, 63-71 onset "
    "stresses, 72-80 failure efforts, 81-82 fracture-plane angles (degrees).  With totaltime 0.0 the answer is "
    "elastic with the mean of the tension and compression moduli and slots 1-18 and 27-38 reset.  Under the "
    "strain measure a shear effort is held at 1 beyond its onset strain; the onset strain is the equivalent "
    "strain over the fourth root of the effort of the strains themselves.  A transverse mode with no normal "
    "part but with shear is evaluated as the tension mode (sets 3 and 4; set 6 while the compression mode has "
    "no part either), so pure shear initiates at its strength in every set.  The shear modes have no toughness (none among the properties): damage driven by "
    "shear (the shear modes of set 2, the shear partners of the others) reaches full damage at 1.1 times its "
    "onset strain.  Deletion (slot 19 := 0) needs the two fibre stiffness damages together at 0.9*(0.999 + "
    "0.99) = 1.7901: fibre tension alone reaches 0.999 + 0.5 = 1.499 and never deletes; transverse and shear "
    "damage never do.",
    VUMAT_ARGS(sa::straininc.describe("strain increment, cyclic order, tensor shears")));
TAVRIN_ROUTINE_DOC(
    vumat_bogenfeld, vumat_bogenfeld,
    "stress, state and energies of a block of unidirectional ply points with fibre damage and inter-fibre damage "
    "on the fracture plane, for one explicit increment\n\n"
    "3-D points (ndir = nshr = 3) or plane stress (ndir = 3, nshr = 1), at least 46 state variables.  Layout: "
    "nblock >= 0; ndir 3, nshr 3 or 1; any other latches errorhandling.errstat -2 and touches nothing.  Full "
    "property vector (29 values): 1-9 E1, E2, E3, G12, G13, G23, nu12, nu13, nu23; 10 X11t; 11 X22t; 13 X11c; 14 "
    "X22c (compression by magnitude); 16 X12; 17 X13; 25 fibre tension toughness; 26 fibre compression toughness; "
    "27-29 the inter-fibre fracture parameters of the fracture-plane damage; the other entries are not read.  "
    "State: 1-2 fibre tension and compression damage, 3 inter-fibre damage, 5 crack open (1) or closed (-1), 7, 8, "
    "9, 11 fracture-plane values (-1.0 before the inter-fibre onset), 10 largest inter-fibre effort, 12 fracture "
    "angle of Wiegand's criterion (degrees), 13-15 fibre tension onset strain, full-damage strain and toughness, "
    "16-17 fibre compression onset and full-damage strain, 18 and 20 largest fibre efforts, 21-26 total strain, "
    "27-32 inelastic strain, 45-46 fibre onset stresses; slot 19 is not changed.  An open crack degrades "
    "every stiffness entry that involves its normal; a closed one (compression across it) keeps the normal "
    "entries, so it carries compression as the undamaged ply does, and degrades the shears across it.  "
    "Wiegand's criterion (a0 = 53 degrees) reaches 1 under pure transverse compression at 0.869*X22c (174 MPa "
    "for X22c = 200), not at X22c.",
    VUMAT_ARGS(sa::straininc_updated.describe(
        "strain increment, cyclic order, tensor shears; a float64 Fortran-ordered array, updated in place: "
        "at plane-stress points (nshr 1) column 3 becomes the thickness increment, also part of the total "
        "strain, state slots 21-26")));

}  // namespace
}  // namespace tavrin::bind
