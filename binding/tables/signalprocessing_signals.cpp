// Module signalprocessing: clamps and signal routines; and the percentile of
// module math.
#include "engine/descriptor.hpp"
#include "foundation/signals.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

namespace signalprocessing_tables {
TAVRIN_BINDING_MODULE(signalprocessing, "clamps and signal processing");
TAVRIN_ROUTINE(real_limit, fLimit, result(Real, "real_limit"), in(Real, "x"), in(Real, "xlow"),
               in(Real, "xup"));
TAVRIN_ROUTINE(int_limit, iLimit, result(Int, "int_limit"), in(Int, "x"), in(Int, "xlow"),
               in(Int, "xup"));
TAVRIN_ROUTINE(mod_limit, mLimit, result(Int, "mod_limit"), in(Int, "x"), in(Int, "xmod"));
TAVRIN_ROUTINE(getpeaks, GetPeaks, out(Real, "maxtab", "n,2"), out(Real, "mintab", "n,2"),
               out(Int, "nmaxpeaks"), out(Int, "nminpeaks"), in(Real, "v", "n"), in(Real, "delta"),
               in(Int, "n").opt("len(v)"),
               in(Real, "x", "n").absent().describe("abscissas; absent or all zero: 1, 2, ..., n"));
TAVRIN_ROUTINE(weightedmovingaverage, WeightedMovingAverage, out(Real, "sma"), in(Real, "rval"),
               inout(Real, "a", "wb").nooverwrite(), inout(Int, "denom").describe("the number of values held in a"),
               in(Int, "wb").opt("len(a)"),
               in(Real, "wi", "wb").absent().describe("weights; absent or summing to 0: all 1"));
TAVRIN_ROUTINE(cumulativemovingaverage, CumulativeMovingAverage, inout(Real, "cma"), in(Real, "x"),
               in(Int, "n"));
TAVRIN_ROUTINE(generalsigmoidal, GeneralSigmoidal, result(Real, "generalsigmoidal"), in(Real, "x"),
               in(Real, "k"));
TAVRIN_ROUTINE(generallogistic, signalprocessing::generallogistic, result(Real, "y"), in(Real, "x"),
               in(Real, "a"), in(Real, "k"), in(Real, "b"), in(Real, "q"), in(Real, "v"),
               in(Real, "c").opt("1.0"));
TAVRIN_ROUTINE(logistic, signalprocessing::logistic, result(Real, "y"), in(Real, "x"), in(Real, "k"),
               in(Real, "x0"), in(Real, "l").opt("1.0"));
TAVRIN_ROUTINE(generalizedmean, GeneralizedMean, result(Real, "generalizedmean"),
               in(Real, "x", "n"), in(Real, "p"), in(Int, "n").opt("len(x)"),
               in(Real, "wi", "n").absent().describe("weights; absent: 1/n each"));
TAVRIN_ROUTINE(logarithmicbarrier, LogarithmicBarrier, result(Real, "logarithmicbarrier"),
               in(Real, "x"), in(Real, "b"));
TAVRIN_ROUTINE(generalsmoothstep, GeneralSmoothStep, result(Real, "generalsmoothstep"),
               in(Real, "x"), in(Int, "n"));
}  // namespace signalprocessing_tables

namespace math_tables {
TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(getpercentile, math::getpercentile, in(Real, "array", "ndim"),
               in(Int, "ndim").opt("len(array)"), in(Real, "percentile"), out(Real, "event"),
               in(Int, "classsize"));
}  // namespace math_tables

}  // namespace
}  // namespace tavrin::bind
