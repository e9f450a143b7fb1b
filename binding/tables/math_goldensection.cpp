// Module math: the reverse-communication golden-section maximum search.
#include "engine/descriptor.hpp"
#include "foundation/goldensection.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math);

constexpr const char* x_doc =
    "sample points: golden mode in the order requested; scan mode slot npoints holds the best "
    "point";
constexpr const char* y_doc =
    "values at the sample points; scan mode slot npoints holds the best value (starts at 0)";
constexpr const char* xmove_doc =
    "golden bracket: (lower end, upper end, left inner point, right inner point)";
constexpr const char* ymove_doc = "function values at the four points of xmove";
constexpr const char* lplimits_doc =
    "golden mode (tolerance on the bracket width, current width); scan mode (current point, upper "
    "end)";
constexpr const char* xdir_doc =
    "side of the latest golden step: 1 right inner point new, -1 left, 0 while the start points "
    "are sampled";
constexpr const char* increment_doc = "number of samples requested so far (1-based index of the "
                                      "latest)";

TAVRIN_ROUTINE_DOC(inigoldensearch, IniGoldenSearch,
                   "Start a maximum search over [xlow, xup]: golden-section (gsflag 1) or a scan "
                   "of the grid xlow, xlow + dx, ... (any other gsflag); then drive it with "
                   "gssafe.\n"
                   "Golden mode samples xlow, xup and the two inner points at the golden ratio, "
                   "then one point per step.  Hand x, y, xmove, lplimits, incr, subcall, golden "
                   "and finish to gssafe as its x, y, xmove, lplimits, increment, proc, isgolden "
                   "and finish, with ymove = zeros(4) and xdir a 0-d int32 array.",
                   out(Real, "x", "npoints").describe("sample points, the four start points first "
                                                      "(golden mode), else zeros"),
                   out(Real, "y", "npoints").describe("values at the sample points, zeros"),
                   out(Real, "xmove", "4").describe(xmove_doc),
                   out(Real, "lplimits", "2").describe(lplimits_doc),
                   out(Int, "incr").describe("number of samples requested, 0"),
                   out(Int, "subcall").describe("protocol phase, 0"),
                   out(Logical1, "golden").describe("1 in golden mode, 0 in scan mode"),
                   out(Logical1, "finish").describe("0; 1 when npoints < 4 was refused (-3 "
                                                    "latched)"),
                   in(Real, "xlow").describe("lower end of the search interval"),
                   in(Real, "xup").describe("upper end of the search interval"),
                   in(Real, "dx").describe("golden mode: tolerance on the bracket width; scan "
                                           "mode: the grid step (hand it to gssafe too)"),
                   in(Int, "gsflag").describe("1: golden-section search; otherwise a scan with "
                                              "step dx"),
                   in(Int, "npoints").describe("number of sample slots, at least 4; the search "
                                               "ends when they are used up"));
// The search state is the caller's: every array and 0-d array below is
// updated in place (float64, int32 and bool, Fortran order).
TAVRIN_ROUTINE_DOC(gssafe, GSSAFE,
                   "One step of the reverse-communication maximum search started by "
                   "inigoldensearch: asks for a function value or reports the maximum.\n"
                   "Loop: while not finish: gssafe(...); if update: yi[...] = f(xi).  At finish xi "
                   "is the maximum's abscissa (golden mode: the final parabola's vertex, with yi "
                   "the value of the last golden sample; scan mode: the best sample, with its "
                   "value).  Every state argument is updated in place and must be an array of "
                   "exactly its type (float64, int32, bool; 0-d for scalars).  A state that would "
                   "index outside the samples, or a scan step that does not move, latches -3 "
                   "(errorhandling.errstat, errstring) and sets finish.",
                   inplace(Real, "xi").describe("0-d: the point where the caller evaluates; the "
                                                "maximum's abscissa at finish"),
                   inplace(Real, "yi").describe("0-d: the caller stores f(xi) here when update is "
                                                "set; at finish the value described above"),
                   in(Real, "dx").describe("scan mode: the grid step, positive; unused in golden "
                                           "mode"),
                   inplace(Real, "x", "npoints").describe(x_doc),
                   inplace(Real, "y", "npoints").describe(y_doc),
                   inplace(Real, "xmove", "4").describe(xmove_doc),
                   inplace(Real, "ymove", "4").describe(ymove_doc),
                   inplace(Real, "lplimits", "2").describe(lplimits_doc),
                   inplace(Int, "xdir").describe(xdir_doc),
                   inplace(Int, "increment").describe(increment_doc),
                   inplace(Int, "proc").describe("protocol phase: 0 before a request, 1 after it, "
                                                 "2 on receiving a value, -1 after the samples ran "
                                                 "out"),
                   inplace(Logical1, "isgolden").describe("golden mode when true, scan mode when "
                                                          "false"),
                   inplace(Logical1, "update").describe("set when the caller must evaluate f at xi "
                                                        "and store the value in yi"),
                   inplace(Logical1, "finish").describe("set when the search is over"),
                   in(Real, "defaultvalue").describe("the answer when the final parabola is "
                                                     "degenerate"),
                   in(Int, "npoints").opt("len(x)").describe("number of sample slots, at least 4"));
TAVRIN_ROUTINE_DOC(getnextfromgoldensearch, GetNextFromGoldenSearch,
                   "Next sample point of a golden-section search: the four start points first, "
                   "then a new inner point on the side of the larger inner value.\n"
                   "npoints < 4 or an increment outside 0..npoints-1 latches -3 "
                   "(errorhandling.errstat, errstring) and gives xnext NaN.",
                   out(Real, "xnext").describe("the next point to evaluate"),
                   out(Real, "dx").describe("the new bracket width (0 while the start points are "
                                            "handed out)"),
                   inout(Real, "x", "npoints").describe("sample points (the four start points "
                                                        "first); from the fifth on the new point "
                                                        "is stored at slot increment + 1 "
                                                        "(1-based)"),
                   in(Real, "y", "npoints").describe("values at the sample points"),
                   inout(Real, "xmove", "4").describe(xmove_doc),
                   inout(Real, "ymove", "4").describe(ymove_doc),
                   inout(Int, "xdir").describe(xdir_doc),
                   inout(Int, "increment").describe(increment_doc),
                   in(Int, "npoints").opt("len(x)").describe("number of sample slots, at least 4"));
TAVRIN_ROUTINE_DOC(getmaximumfromgoldensearch, GetMaximumFromGoldenSearch,
                   "Abscissa of the maximum of the final golden-section bracket: the vertex of the "
                   "parabola through the larger inner point and its two neighbours.\n"
                   "npoints < 4 or an increment outside 1..npoints latches -3 "
                   "(errorhandling.errstat, errstring) and gives NaN.",
                   out(Real, "xmax").describe("the vertex; defaultvalue when the parabola is "
                                              "degenerate (points collinear, coincident or not "
                                              "comparable)"),
                   in(Real, "y", "npoints").describe("values at the sample points"),
                   in(Real, "xmove", "4").describe(xmove_doc),
                   in(Real, "ymove", "4").describe(ymove_doc),
                   in(Real, "defaultvalue").describe("the answer for a degenerate parabola"),
                   in(Int, "xdir").describe(xdir_doc),
                   in(Int, "increment").describe(increment_doc),
                   in(Int, "npoints").opt("len(y)").describe("number of sample slots, at least 4"));

}  // namespace
}  // namespace tavrin::bind
