// Module math: nearest positive-definite and correlation matrices.
#include "engine/descriptor.hpp"
#include "foundation/nearestpd.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(getprojectedspd, GetProjectedSPD, out(Real, "ppd", "n,n"), in(Real, "a", "n,n"),
               in(Int, "n").opt("shape(a,0)"));
TAVRIN_ROUTINE(getnearestspd, GetNearestSPD, out(Real, "pd", "n,n"), in(Real, "a", "n,n"),
               in(Int, "n").opt("shape(a,0)"));
TAVRIN_ROUTINE(getnearestcorrelationmatrix, GetNearestCorrelationMatrix, out(Real, "corr", "n,n"),
               in(Real, "a", "n,n"), in(Int, "n").opt("shape(a,0)"),
               in(Real, "weights", "n").opt("-1.0").describe("-1 throughout: no weights"),
               in(Real, "tol").opt("-1.0").describe("not positive: n times the spacing of doubles at 1"),
               in(Int, "maxiter").opt("100"),
               in(Int, "cflag").opt("0").describe("1: Spearman's, 2: Kendall's rank correlation"));
TAVRIN_ROUTINE(getnearestpdnorm, GetNearestPDNorm, result(Real, "getnearestpdnorm"),
               in(Real, "x", "n,n"), in(Int, "n").opt("shape(x,0)"));
TAVRIN_ROUTINE(ispositivedefinite, IsPositiveDefinite, result(Int, "ispositivedefinite"),
               in(Real, "x", "n,n"), in(Int, "n").opt("shape(x,0)"),
               in(Real, "tolerance").opt("1e-8"));

}  // namespace
}  // namespace tavrin::bind
