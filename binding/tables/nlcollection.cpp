// Module nlcollection: nonlinear property laws.
#include "engine/descriptor.hpp"
#include "mechanics/nonlinear_laws.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(nlcollection, "nonlinear property laws");
TAVRIN_ROUTINE(nlkrause, NLKrause, out(Real, "dnl"), in(Real, "beta"), in(Real, "eps"));
TAVRIN_ROUTINE(nlkaestner, NLKaestner, out(Real, "dnl"), in(Real, "beta"), in(Real, "eps"));
TAVRIN_ROUTINE(pure_nlhahntsai, NLHahnTsai, out(Real, "dnl"), in(Real, "tg"), in(Real, "beta"),
               in(Real, "sig"), in(Real, "eps"));
TAVRIN_ROUTINE(recu_nlhahntsai, FPHahnTsai, out(Real, "dout"),
               in(Real, "args", "na").describe("(tau, gamma, G, beta)"), in(Int, "na").opt("len(args)"),
               in(Int, "ns").opt("0").describe(
                   "1: d at the converged stress; 2: the fixed-point map; other: d at tau"));
TAVRIN_ROUTINE(nladam, NLAdam, out(Real, "dnl"), in(Real, "l"), in(Real, "x"), in(Real, "n"),
               in(Real, "nf"), in(Real, "alpha"), in(Real, "beta"),
               in(Real, "lg", "2").opt("[0.25, 0.25]"));
TAVRIN_ROUTINE(nlmahieux, NLMahieux, result(Real, "nlmahieux"), in(Real, "t"),
               in(Real, "props", "2*ntrans+1"), in(Real, "m", "ntrans"),
               in(Int, "ntrans").opt("(len(props)-1)/2"));
TAVRIN_ROUTINE(nlgibson, NLGibson, result(Real, "nlgibson"), in(Real, "t"),
               in(Real, "props", "2*ntrans+1"), in(Real, "xi", "ntrans"),
               in(Int, "ntrans").opt("(len(props)-1)/2"));

}  // namespace
}  // namespace tavrin::bind
