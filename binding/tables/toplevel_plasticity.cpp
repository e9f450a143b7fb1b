// Module toplevel: the isotropic elastic-plastic material routine.
#include "engine/descriptor.hpp"
#include "solver/elastic_plastic.hpp"
#include "tables/solver_args.hpp"
#include "tables/umat_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sa = solver_args;

TAVRIN_BINDING_MODULE(toplevel);

TAVRIN_ROUTINE_DOC(
    umat_hail, toplevel::umat_hail,
    "isotropic elastic-plastic material (UMAT): von Mises yield, isotropic hardening from a tabulated "
    "yield curve, Newton return on the equivalent plastic strain increment, hydrostatic-tension cut-off\n\n"
    "The elastic trial stress is returned radially onto the yield surface; ddsdde is the consistent "
    "tangent of the return, taken with the table's interpolated hardening slope, not the slope of the "
    "piecewise-linear segment the return follows: with a coarse table it can be tens of percent off, "
    "low or high by where the equivalent plastic strain lies in the table, which slows the host's Newton "
    "iterations but leaves the converged stress exact.  spd is the accumulated specific plastic "
    "dissipation: a plastic increment adds its share to the incoming value, an elastic one keeps it.  "
    "The cut-off is one flag for the whole process, shared by every point and element and never reset "
    "(calls must not overlap): once the hydrostatic stress of any point exceeds its props[3], every later "
    "call with plasticity on returns the ndi direct stresses props[3] and zero shears.  A return that "
    "does not converge in 10 iterations prints '***WARNING - PLASTICITY ALGORITHM DID NOT CONVERGE AFTER "
    " 10 ITERATIONS' and goes on.  Latched errorhandling.errstat -2: fewer than 2 properties (zero "
    "tangent), plasticity with fewer than 5 (elastic increment), fewer than 2*ntens+1 state variables "
    "(elastic trial stress, state untouched).  Layout: ntens 3, 4 or 6 of ndi 0 to 3 direct and at most "
    "three shear components (nshr not read); any other latches -2 and touches nothing.  No shared state.",
    TAVRIN_UMAT_ARGS(
        sa::statev.describe("1..ntens elastic strains, ntens+1..2*ntens plastic strains (engineering "
                            "shears), 2*ntens+1 equivalent plastic strain"),
        sa::props.describe("1 E, 2 nu, 3 plasticity switch (> 0: on), then pairs (yield stress, equivalent "
                           "plastic strain); props[3], the first yield stress, is also the hydrostatic "
                           "cut-off")));

}  // namespace
}  // namespace tavrin::bind
