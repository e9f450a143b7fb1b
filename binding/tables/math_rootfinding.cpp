// Module math: safeguarded root finders on caller-supplied functions.
#include "engine/descriptor.hpp"
#include "foundation/rootfinding.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

// A Python call-back receives f and d (xnew) as writable 0-d arrays and
// fills them; it takes the arguments after x only when it asks for them.
TAVRIN_CALLBACK_DOC(root_function, math::RootFunction, "dfunc",
                    "The function whose root is sought: fill f with its value at x and d with "
                    "its derivative there (bdsafe never reads d).",
                    "def dfunc(f, d, x):\n    f[()] = x * x - 2.0\n    d[()] = 2.0 * x",
                    out(Real, "f").describe("0-d array to fill with the function value at x"),
                    out(Real, "d").describe("0-d array to fill with the derivative at x"),
                    in(Real, "x").describe("the point"),
                    in(Real, "args", "na").opt("0.0").describe("the solver's args, unchanged"),
                    in(Int, "na").opt("len(args)").describe("length of args"),
                    in(Int, "nfun").opt("0").describe("the solver's nfun, unchanged"));
TAVRIN_CALLBACK_DOC(fixed_point_function, math::FixedPointFunction, "dfunc",
                    "The iteration function g: fill xnew with g at the current iterate fargs[0].",
                    "def dfunc(xnew, fargs):\n    x = fargs[0]\n    xnew[()] = 0.5 * (x + 2.0 / x)",
                    out(Real, "xnew").describe("0-d array to fill with g at the current iterate"),
                    in(Real, "fargs", "na").describe("the solver's args with fargs[0] the "
                                                     "current iterate"),
                    in(Int, "na").opt("len(fargs)").describe("length of fargs"),
                    in(Int, "nfun").opt("0").describe("the solver's nfun, unchanged"));

TAVRIN_BINDING_MODULE(math);

// The failures the two bracketing solvers latch, for their summaries.
#define TAVRIN_BRACKET_FAILURES(solver)                                                           \
  "Failures are latched, never raised (read errorhandling.errstat, errorhandling.errstring, "     \
  "80 bytes):\n"                                                                                  \
  "  -1 \"Warning in " solver ": Max iterations exceeded.\" (istat 1, root the last iterate);\n"  \
  "  -2 \"Error in BISECTION: Root must be bracketed.\" when f(x1), f(x2) have the same sign;\n"  \
  "  -2 \"Error in " solver ": Function value is not a number.\" (root NaN; also when the "        \
  "call-back does not fill f);\n"                                                                 \
  "  -3 \"Error in " solver ": Invalid bracket or tolerance.\" for an end that is not finite or "  \
  "a negative or NaN xacc (root NaN).\n"                                                          \
  "Clear the latch with errorhandling.rsxerr(True) before the next solve."

constexpr const char* root_callback_doc =
    "the function and its derivative, e.g. def dfunc(f, d, x): f[...] = x*x - 2; d[...] = 2*x.  "
    "f and d are writable 0-d arrays to fill (a returned value is ignored: f left unfilled is "
    "NaN); the function may also take args, na and nfun after x, and then the entries of "
    "dfunc_extra_args.";
constexpr const char* xacc_bracket_doc =
    "absolute tolerance on the root, in the units of x (Brent: on half the bracket, plus "
    "4.4e-16*|root|), 0 or more";
constexpr const char* maxit_doc = "largest number of iterations";
constexpr const char* nfun_doc =
    "passed to the call-back unchanged (lets one call-back serve several functions); 0 if unused";
constexpr const char* istat_doc =
    "1 when the iteration limit was hit, else 0 (also 0 for a missing bracket: read "
    "errorhandling.errstat)";

TAVRIN_ROUTINE_DOC(bdsafe, math::bdsafe,
                   "Root of a scalar function f(x) in the bracket [x1, x2] by Brent's method "
                   "(inverse quadratic interpolation, secant and bisection steps); f' is not "
                   "used.\n"
                   "f vanishing at an end returns that end at once.  A missing bracket (no sign "
                   "change) is reported only through the latch: root 0.0, istat 0, errstat -2.\n"
                   TAVRIN_BRACKET_FAILURES("BrentsMethod"),
                   callback("dfunc", root_function).describe(root_callback_doc),
                   in(Real, "x1").describe("one end of the bracket"),
                   in(Real, "x2").describe("the other end; f(x1) and f(x2) of opposite sign"),
                   out(Real, "root").describe("the root (0.0 without a bracket; NaN when refused)"),
                   in(Real, "args", "na").describe("extra values passed to the call-back "
                                                   "unchanged, e.g. [0.0] when unused"),
                   in(Real, "xacc").describe(xacc_bracket_doc),
                   in(Int, "maxit").describe("largest number of iterations after the two end "
                                             "evaluations"),
                   in(Int, "na").opt("len(args)").describe("number of entries of args"),
                   in(Int, "nfun").describe(nfun_doc), out(Int, "istat").describe(istat_doc));
TAVRIN_ROUTINE_DOC(nrsafe, math::nrsafe,
                   "Root of a scalar function f(x) in the bracket [x1, x2] by Newton-Raphson steps "
                   "on f and f', replaced by bisection where a Newton step would leave the bracket "
                   "or not halve the step.\n"
                   "f vanishing at an end returns that end at once.  A missing bracket is latched "
                   "(errstat -2) and the iteration goes on, so the root returned is then not "
                   "trustworthy.\n"
                   TAVRIN_BRACKET_FAILURES("subroutine RTSAFE"),
                   callback("dfunc", root_function).describe(root_callback_doc),
                   in(Real, "x1").describe("one end of the bracket"),
                   in(Real, "x2").describe("the other end; f(x1) and f(x2) of opposite sign"),
                   out(Real, "root").describe("the root (NaN when refused)"),
                   in(Real, "args", "na").describe("extra values passed to the call-back "
                                                   "unchanged, e.g. [0.0] when unused"),
                   in(Real, "xacc").describe("tolerance: the search stops when a step is shorter "
                                             "than xacc, in the units of x; 0 or more"),
                   in(Int, "maxit").describe(maxit_doc),
                   in(Int, "na").opt("len(args)").describe("number of entries of args"),
                   in(Int, "nfun").describe(nfun_doc), out(Int, "istat").describe(istat_doc));
TAVRIN_ROUTINE_DOC(fpsafe, math::fpsafe,
                   "Fixed point x = g(x) by fixed-point iteration from the start value xs, until "
                   "two successive values differ by at most xacc.\n"
                   "Failures are latched, never raised (read errorhandling.errstat, errstring):\n"
                   "  -1 \"Warning in FixPointIteration:Max iterations exceeded.\" (istat 1, xs "
                   "the last value);\n"
                   "  -2 \"Error in FixPointIteration: Iterate is not a finite number.\" (xs that "
                   "value; also when the call-back does not fill xnew);\n"
                   "  -3 \"Error in FixPointIteration: Invalid tolerance.\" for a negative or NaN "
                   "xacc.",
                   callback("dfunc", fixed_point_function)
                       .describe("the iteration function g, e.g. def dfunc(xnew, fargs): xnew[...] "
                                 "= cos(fargs[0]).  xnew is a writable 0-d array to fill (a "
                                 "returned value is ignored); fargs is args with fargs[0] the "
                                 "current iterate; the function may also take na and nfun, and "
                                 "then the entries of dfunc_extra_args."),
                   inout(Real, "xs").describe("start value; returned as the fixed point (the last "
                                              "iterate on failure)"),
                   in(Real, "args", "na").describe("values handed to the call-back as fargs; "
                                                   "args[0] is replaced by the iterate before "
                                                   "every call"),
                   in(Real, "xacc").describe("tolerance on the difference of successive iterates, "
                                             "0 or more"),
                   in(Int, "maxit").describe("largest number of iterations after the first "
                                             "evaluation"),
                   in(Int, "na").opt("len(args)").relation("na>=1")
                       .describe("number of entries of args, at least 1; args[0] is replaced by "
                                 "the iterate before every call"),
                   in(Int, "nfun").describe(nfun_doc),
                   out(Int, "istat").describe("1 when the iteration limit was hit, else 0"));

}  // namespace
}  // namespace tavrin::bind
