// Module math: nearest positive-definite and correlation matrices.
#include "engine/descriptor.hpp"
#include "foundation/nearestpd.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math);

constexpr Arg n_of_a = in(Int, "n").opt("shape(a,0)").describe("order of a");
constexpr Arg n_of_x = in(Int, "n").opt("shape(x,0)").describe("order of x");

TAVRIN_ROUTINE_DOC(getprojectedspd, GetProjectedSPD,
                   "Projection of a matrix onto the symmetric positive semidefinite matrices: its "
                   "symmetric part with the negative eigenvalues set to 0.",
                   out(Real, "ppd", "n,n").describe("the projection, symmetric"),
                   in(Real, "a", "n,n").describe("the matrix (its symmetric part is used)"),
                   n_of_a);
TAVRIN_ROUTINE_DOC(getnearestspd, GetNearestSPD,
                   "Nearest symmetric positive-definite matrix to a in the Frobenius norm "
                   "(Higham's polar-factor method, shifted until the Cholesky factorisation "
                   "succeeds).\n"
                   "Entries that are not finite latch -3 \"Matrix entries must be finite numbers\" "
                   "(errorhandling.errstat, errstring) and give NaN.",
                   out(Real, "pd", "n,n").describe("the nearest symmetric positive-definite "
                                                   "matrix"),
                   in(Real, "a", "n,n").describe("the matrix"), n_of_a);
TAVRIN_ROUTINE_DOC(getnearestcorrelationmatrix, GetNearestCorrelationMatrix,
                   "Nearest correlation matrix (unit diagonal, positive definite) to a in a "
                   "weighted Frobenius norm, by alternating projections with a correction term.\n"
                   "No convergence within maxiter iterations gives the zero matrix and latches -1 "
                   "\"Warning: Nearest correlation matrix did not converge\"; entries that are not "
                   "finite give zero and latch -3 \"Matrix entries must be finite numbers\", weights "
                   "that are not positive finite numbers zero and -3 \"Weights must be positive finite "
                   "numbers\" (the first such weight, from 1, in errintv) (read errorhandling.errstat, "
                   "errstring).",
                   out(Real, "corr", "n,n").describe("the nearest correlation matrix; zero on "
                                                     "failure"),
                   in(Real, "a", "n,n").describe("the approximate correlation matrix"), n_of_a,
                   in(Real, "weights", "n").opt("-1.0").describe("positive weight per row and "
                                                                 "column; -1 throughout: no "
                                                                 "weights"),
                   in(Real, "tol").opt("-1.0").describe("tolerance on the relative changes; not "
                                                        "positive: n times the spacing of doubles "
                                                        "at 1 (2.22e-16)"),
                   in(Int, "maxiter").opt("100").describe("largest number of iterations (at least "
                                                          "1)"),
                   in(Int, "cflag").opt("0").describe("0: a is a linear correlation; 1: "
                                                      "Spearman's, 2: Kendall's rank correlation, "
                                                      "converted to linear first"));
TAVRIN_ROUTINE_DOC(getnearestpdnorm, GetNearestPDNorm,
                   "Distance of a matrix from the nearest symmetric positive-definite matrix, in "
                   "the Frobenius norm.\n"
                   "Entries that are not finite latch -3 \"Matrix entries must be finite numbers\" "
                   "(errorhandling.errstat, errstring) and give NaN.",
                   result(Real, "getnearestpdnorm").describe("0 when x is positive definite (its "
                                                             "Cholesky factorisation succeeds), "
                                                             "else ||x - getnearestspd(x)||"),
                   in(Real, "x", "n,n").describe("the matrix"), n_of_x);
TAVRIN_ROUTINE_DOC(ispositivedefinite, IsPositiveDefinite,
                   "Whether a symmetric matrix is positive definite: every eigenvalue above "
                   "tolerance and a positive determinant.\n"
                   "A singular matrix latches -2 \"Singularity in LU-factorization computation\" "
                   "(errorhandling.errstat, errstring) and gives 0.",
                   result(Int, "ispositivedefinite").describe("1 positive definite, else 0"),
                   in(Real, "x", "n,n").describe("the symmetric matrix (upper triangle read for "
                                                 "the eigenvalues)"),
                   n_of_x,
                   in(Real, "tolerance").opt("1e-8").describe("smallest eigenvalue that counts as "
                                                              "positive"));

}  // namespace
}  // namespace tavrin::bind
