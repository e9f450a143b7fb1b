// Module signalprocessing: clamps and signal routines; and the percentile of
// module math.
#include "engine/descriptor.hpp"
#include "foundation/signals.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

namespace signalprocessing_tables {
TAVRIN_BINDING_MODULE(
    signalprocessing,
    "clamps and signal processing\n"
    "\n"
    "Value clamps and cyclic wrapping, peak detection, moving averages, sigmoid and logistic "
    "shape functions, power means, a logarithmic barrier and smooth steps for one-dimensional "
    "signals.  Signals are 1-D arrays with their length as an optional extent; peak tables are "
    "(n, 2) with (abscissa, value) rows.  Nothing keeps state between calls (the moving-average "
    "window belongs to the caller) and nothing reports through the error latch.");
TAVRIN_ROUTINE_DOC(real_limit, fLimit, "Real value clamped to [xlow, xup].",
                   result(Real, "real_limit").describe("xup when x > xup, else max(x, xlow); a NaN "
                                                       "x comes back"),
                   in(Real, "x").describe("the value"),
                   in(Real, "xlow").describe("lower bound (NaN: none)"),
                   in(Real, "xup").describe("upper bound (NaN: none)"));
TAVRIN_ROUTINE_DOC(int_limit, iLimit, "Integer clamped to [xlow, xup].",
                   result(Int, "int_limit").describe("xup when x > xup, else max(x, xlow)"),
                   in(Int, "x").describe("the value"), in(Int, "xlow").describe("lower bound"),
                   in(Int, "xup").describe("upper bound"));
TAVRIN_ROUTINE_DOC(mod_limit, mLimit,
                   "Integer wrapped cyclically onto 1..xmod (xmod > 0) or xmod..-1 (xmod < 0), "
                   "e.g. a counter over a cycle of xmod.",
                   result(Int, "mod_limit").describe("x modulo xmod with the sign of xmod, a "
                                                     "result of 0 replaced by xmod; 0 for xmod = "
                                                     "0"),
                   in(Int, "x").describe("the value"),
                   in(Int, "xmod").describe("the cycle length"));
TAVRIN_ROUTINE_DOC(getpeaks, GetPeaks,
                   "Peaks of a signal: maxima and minima that stand out by more than |delta| from "
                   "the neighbouring opposite extreme, found in alternation.\n"
                   "An extreme still pending when the signal ends is not recorded.",
                   out(Real, "maxtab", "n,2").describe("maxima, one per row: column 1 abscissa, "
                                                       "column 2 value; rows beyond nmaxpeaks hold "
                                                       "2.2250738585072014e-308"),
                   out(Real, "mintab", "n,2").describe("minima, laid out as maxtab"),
                   out(Int, "nmaxpeaks").describe("number of maxima found"),
                   out(Int, "nminpeaks").describe("number of minima found"),
                   in(Real, "v", "n").describe("the signal"),
                   in(Real, "delta").describe("the fall after a maximum (rise after a minimum) "
                                              "must exceed |delta|, in the units of v"),
                   in(Int, "n").opt("len(v)").describe("number of samples"),
                   in(Real, "x", "n").absent().describe("abscissas; absent or all zero: 1, 2, ..., "
                                                        "n"));
TAVRIN_ROUTINE_DOC(weightedmovingaverage, WeightedMovingAverage,
                   "Weighted moving average over a window of the last wb values: adds rval to the "
                   "caller's window and returns the average.\n"
                   "Start with a = zeros(wb), denom = 0 and pass the returned a and denom back on "
                   "every call.  The divisor is the count of values held, not the sum of weights.",
                   out(Real, "sma").describe("sum of wi(i)*a(i) over the values held, divided by "
                                             "their count; NaN for an empty window (wb < 1)"),
                   in(Real, "rval").describe("the new value"),
                   inout(Real, "a", "wb").nooverwrite().describe(
                       "the window of the last values, oldest first; rval is stored after them "
                       "(the oldest shifted out when the window is full)"),
                   inout(Int, "denom").describe("the number of values held in a (0..wb), counting "
                                                "rval on return"),
                   in(Int, "wb").opt("len(a)").describe("window length"),
                   in(Real, "wi", "wb").absent().describe("weights, oldest position first; absent "
                                                          "or summing to 0: all 1"));
TAVRIN_ROUTINE_DOC(cumulativemovingaverage, CumulativeMovingAverage,
                   "Cumulative moving average updated by one value: (cma*n + x)/(n + 1).",
                   inout(Real, "cma").describe("the average of the first n values; returned as the "
                                               "average of n + 1"),
                   in(Real, "x").describe("the new value"),
                   in(Int, "n").describe("number of values averaged so far"));
TAVRIN_ROUTINE_DOC(generalsigmoidal, GeneralSigmoidal,
                   "Tunable sigmoid (normalised tunable sigmoid function), (x - x*k)/(k - 2*k*|x| "
                   "+ 1).",
                   result(Real, "generalsigmoidal").describe("the value"),
                   in(Real, "x").describe("the argument, usually in [-1, 1]"),
                   in(Real, "k").describe("the shape factor, usually in (-1, 1)"));
TAVRIN_ROUTINE_DOC(generallogistic, signalprocessing::generallogistic,
                   "Generalised logistic (Richards) curve, a + (k - a)/(c + q*exp(-b*x))**(1/v).",
                   result(Real, "y").describe("the value"), in(Real, "x").describe("the argument"),
                   in(Real, "a").describe("lower asymptote"),
                   in(Real, "k").describe("upper asymptote (for c = 1)"),
                   in(Real, "b").describe("growth rate"),
                   in(Real, "q").describe("factor of exp(-b*x), sets the value at x = 0"),
                   in(Real, "v").describe("exponent, > 0: where the maximum growth lies"),
                   in(Real, "c").opt("1.0").describe("constant of the denominator"));
TAVRIN_ROUTINE_DOC(logistic, signalprocessing::logistic,
                   "Logistic function l/(1 + exp(-k*(x - x0))).",
                   result(Real, "y").describe("the value"), in(Real, "x").describe("the argument"),
                   in(Real, "k").describe("steepness"), in(Real, "x0").describe("midpoint"),
                   in(Real, "l").opt("1.0").describe("maximum value"));
TAVRIN_ROUTINE_DOC(generalizedmean, GeneralizedMean,
                   "Weighted power (generalised) mean (sum wi*x**p)**(1/p); p = 0 the geometric "
                   "mean, p = -1.7976931348623157e308 the minimum, p = 1.7976931348623157e308 the "
                   "maximum.",
                   result(Real, "generalizedmean").describe("the mean; for n < 1: 0, or the "
                                                            "largest double (minimum) or its "
                                                            "negative (maximum)"),
                   in(Real, "x", "n").describe("the values"),
                   in(Real, "p").describe("the exponent"),
                   in(Int, "n").opt("len(x)").describe("number of values"),
                   in(Real, "wi", "n").absent().describe("weights; absent: 1/n each"));
TAVRIN_ROUTINE_DOC(logarithmicbarrier, LogarithmicBarrier,
                   "Logarithmic barrier -ln(b - x) of the constraint x < b.",
                   result(Real, "logarithmicbarrier").describe("-ln(b - x); 36.04365338911715 (= "
                                                               "-ln 2.22e-16) when b - x <= "
                                                               "2.22e-16"),
                   in(Real, "x").describe("the value"), in(Real, "b").describe("the bound"));
TAVRIN_ROUTINE_DOC(generalsmoothstep, GeneralSmoothStep,
                   "Smoothstep polynomial of order n (degree 2n + 1) at x clamped to [0, 1]: 0 at "
                   "0, 1 at 1, 1/2 at 1/2, with n continuous derivatives at the ends.",
                   result(Real, "generalsmoothstep").describe("the value; n = 1 gives 3t**2 - "
                                                              "2t**3; 0 for n < 0"),
                   in(Real, "x").describe("the argument (clamped to [0, 1])"),
                   in(Int, "n").describe("the order, 0 or more (0: x itself)"));
}  // namespace signalprocessing_tables

namespace math_tables {
TAVRIN_BINDING_MODULE(math);
TAVRIN_ROUTINE_DOC(getpercentile, math::getpercentile,
                   "Percentile of a sample counted in classes of width classsize: the first whole "
                   "value (k-1)*classsize + 1 of the first class k whose cumulative share of the "
                   "sample reaches percentile/100.\n"
                   "Class c covers the values up to c*classsize; entries equal to "
                   "1.7976931348623157e308 count as not given.  classsize < 1 latches -3 \"Class "
                   "size of a percentile must be positive\" (errorhandling.errstat, errstring).",
                   in(Real, "array", "ndim").describe("the sample, any order"),
                   in(Int, "ndim").opt("len(array)").describe("number of values; a single value is "
                                                              "its own answer"),
                   in(Real, "percentile").describe("the percentile, in percent (0..100)"),
                   out(Real, "event").describe("the first whole value of the class found; 1 - "
                                               "classsize when no class reaches the share (also "
                                               "when refused)"),
                   in(Int, "classsize").describe("width of the classes, at least 1"));
}  // namespace math_tables

}  // namespace
}  // namespace tavrin::bind
