// Module math: norms and matrix utilities.
#include "engine/descriptor.hpp"
#include "foundation/norms.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math);

constexpr Arg n_len_x = in(Int, "n").opt("len(x)").describe("number of entries");
constexpr Arg n_len_a = in(Int, "n").opt("len(a)").describe("number of entries");
constexpr Arg x_vec = in(Real, "x", "n").describe("first vector");
constexpr Arg y_vec = in(Real, "y", "n").describe("second vector");
constexpr Arg n_rows_x = in(Int, "n").opt("shape(x,0)").describe("rows of x");
constexpr Arg m_cols_x = in(Int, "m").opt("shape(x,1)").describe("columns of x");
constexpr Arg m_rows_x = in(Int, "m").opt("shape(x,0)").describe("rows of x");
constexpr Arg n_cols_x = in(Int, "n").opt("shape(x,1)").describe("columns of x");

TAVRIN_ROUTINE_DOC(vectorsum, VectorSum, "Sum of two vectors, a + b, entry by entry.",
                   inout(Real, "a", "n").describe("first vector; returned as a + b"),
                   in(Real, "b", "n").describe("vector added"), n_len_a);
TAVRIN_ROUTINE_DOC(matrixsymmetrize, MatrixSymmetrize,
                   "Symmetric part of a square matrix, (a + a.T)/2.",
                   in(Real, "a", "n,n").describe("the matrix"),
                   out(Real, "sym", "n,n").describe("its symmetric part"),
                   in(Int, "n").opt("shape(a,0)").describe("order of a"));
TAVRIN_ROUTINE_DOC(matrixdiagonal, MatrixDiagonal,
                   "The k-th diagonal of a square matrix: above the main one for k > 0, below it "
                   "for k < 0.",
                   out(Real, "diag", "n-abs(k)").describe("diag(i) = a(i, i+k) for k >= 0, a(i-k, "
                                                          "i) for k < 0 (1-based), n - |k| "
                                                          "entries"),
                   in(Real, "a", "n,n").describe("the matrix"),
                   in(Int, "k").describe("which diagonal: 0 the main one"),
                   in(Int, "n").opt("shape(a,0)").describe("order of a"));
TAVRIN_ROUTINE_DOC(matrixtranspose, MatrixTranspose, "Transpose of an n x m matrix.",
                   in(Real, "a", "n,m").describe("the matrix"),
                   out(Real, "b", "m,n").describe("its transpose"),
                   in(Int, "n").opt("shape(a,0)").describe("rows of a"),
                   in(Int, "m").opt("shape(a,1)").describe("columns of a"));
TAVRIN_ROUTINE_DOC(matrixnormalize, MatrixNormalize,
                   "Min-max normalisation of a matrix onto [0, 1]: (x - min)/(max - min) over all "
                   "entries.",
                   in(Real, "x", "n,m").describe("the matrix; NaN entries are passed over for min "
                                                 "and max"),
                   out(Real, "z", "n,m").describe("the normalised matrix; NaN or infinite when all "
                                                  "entries are equal"),
                   n_rows_x, m_cols_x);
TAVRIN_ROUTINE_DOC(vectornormalize, VectorNormalize,
                   "Min-max normalisation of a vector onto [0, 1]: (x - min)/(max - min).",
                   in(Real, "x", "n").describe("the vector; NaN entries are passed over for min "
                                               "and max"),
                   out(Real, "z", "n").describe("the normalised vector; NaN or infinite when all "
                                                "entries are equal"),
                   n_len_x);
TAVRIN_ROUTINE_DOC(cumulativesum, CumulativeSum, "Running sum of a vector, started at seed.",
                   out(Real, "csum", "n").describe("csum(i) = seed + a(1) + ... + a(i)"),
                   in(Real, "a", "n").describe("the vector"), n_len_a,
                   in(Real, "seed").opt("0.0").describe("start value"));
TAVRIN_ROUTINE_DOC(cumulativeproduct, CumulativeProduct,
                   "Running product of a vector, started at seed.",
                   out(Real, "cprod", "n").describe("cprod(i) = seed * a(1) * ... * a(i)"),
                   in(Real, "a", "n").describe("the vector"), n_len_a,
                   in(Real, "seed").opt("1.0").describe("start value"));
TAVRIN_ROUTINE_DOC(getprincipleminor, GetPrincipleMinor,
                   "Leading principal minor of order i of a square matrix: the determinant of its "
                   "leading i x i block (LU factors).\n"
                   "A singular block gives 0 and latches -2 \"Singularity in LU-factorization "
                   "computation\" (errorhandling.errstat, errstring).",
                   result(Real, "getprincipleminor").describe("the minor; sm(1,1) for i = 1"),
                   in(Real, "sm", "k,k").describe("the square matrix"),
                   in(Int, "i").relation("i>=1 && i<=k").describe("order of the minor, 1..k"),
                   in(Int, "k").opt("shape(sm,0)").describe("order of sm"));
TAVRIN_ROUTINE_DOC(getfirstminor, GetFirstMinor,
                   "First minor M(i,j) of a square matrix: the determinant without row i and "
                   "column j (LU factors).\n"
                   "A singular remainder gives 0 and latches -2 \"Singularity in LU-factorization "
                   "computation\" (errorhandling.errstat, errstring).",
                   result(Real, "getfirstminor").describe("the minor"),
                   in(Real, "sm", "k,k").describe("the square matrix"),
                   in(Int, "i").relation("i>=1 && i<=k").describe("row removed, 1..k"),
                   in(Int, "j").relation("j>=1 && j<=k").describe("column removed, 1..k"),
                   in(Int, "k").opt("shape(sm,0)").describe("order of sm"));
TAVRIN_ROUTINE_DOC(getcofactor, GetCofactor,
                   "Cofactor from a first minor: (-1)**(i+j) * mij.",
                   result(Real, "getcofactor").describe("mij when i + j is even, -mij when odd"),
                   in(Real, "mij").describe("the first minor M(i,j)"),
                   in(Int, "i").describe("row index (1-based)"),
                   in(Int, "j").describe("column index (1-based)"));
TAVRIN_ROUTINE_DOC(monoticity, Monoticity, "Class of monotonicity of a sequence.",
                   result(Int, "monoticity").describe("2 strictly increasing, 1 non-decreasing, -1 "
                                                      "non-increasing (constant included), -2 "
                                                      "strictly decreasing (a single value "
                                                      "included), 0 otherwise (NaN compares "
                                                      "false)"),
                   in(Real, "x", "n").describe("the sequence"), n_len_x);
TAVRIN_ROUTINE_DOC(trace, Trace, "Trace of a square matrix: the sum of its main diagonal.",
                   result(Real, "trace").describe("the trace"),
                   in(Real, "x", "n,n").describe("the matrix"),
                   in(Int, "n").opt("shape(x,0)").describe("order of x"));
TAVRIN_ROUTINE_DOC(euclideandistance, EuclideanDistance,
                   "Euclidean distance between two points, ||x - y||.",
                   result(Real, "euclideandistance").describe("the distance; 0 when n < 1"),
                   x_vec, y_vec, n_len_x);
TAVRIN_ROUTINE_DOC(vectornorm, VectorNorm, "Euclidean norm of a vector.",
                   result(Real, "vectornorm").describe("the norm; 0 when n < 1"),
                   in(Real, "x", "n").describe("the vector"), n_len_x);
TAVRIN_ROUTINE_DOC(matrixnorm, MatrixNorm, "Frobenius norm of a matrix.",
                   result(Real, "matrixnorm").describe("the norm; 0 when empty"),
                   in(Real, "x", "n,m").describe("the matrix"), n_rows_x, m_cols_x);
TAVRIN_ROUTINE_DOC(lpvectornorm, LpVectorNorm,
                   "Lp norm of a vector, (sum |x(i)|**q)**(1/q), q = p when p > "
                   "2.2250738585072014e-308 (the smallest normal double), else q is that value.",
                   result(Real, "lpvectornorm").describe("the norm; 0 when empty"),
                   in(Real, "x", "n").describe("the vector"),
                   in(Real, "p").describe("the exponent"),
                   n_len_x);
TAVRIN_ROUTINE_DOC(lpmatrixnorm, LpMatrixNorm,
                   "Entry-wise Lp norm of a matrix, (sum |x(i,j)|**q)**(1/q), q = p when p > "
                   "2.2250738585072014e-308, else q is that value.",
                   result(Real, "lpmatrixnorm").describe("the norm; 0 when empty"),
                   in(Real, "x", "n,m").describe("the matrix"),
                   in(Real, "p").describe("the exponent"),
                   n_rows_x, m_cols_x);
TAVRIN_ROUTINE_DOC(spectralnorm, SpectralNorm,
                   "Spectral norm of a matrix: its largest singular value.",
                   result(Real, "spectralnorm").describe("the norm; -1.7976931348623157e308 when x "
                                                         "is empty"),
                   in(Real, "x", "m,n").describe("the matrix"), m_rows_x, n_cols_x);
TAVRIN_ROUTINE_DOC(nuclearnorm, NuclearNorm,
                   "Nuclear (trace) norm of a matrix: the sum of its singular values.",
                   result(Real, "nuclearnorm").describe("the norm; 0 when x is empty"),
                   in(Real, "x", "m,n").describe("the matrix"), m_rows_x, n_cols_x);
TAVRIN_ROUTINE_DOC(schattennorm, SchattenNorm,
                   "Schatten p-norm of a matrix: (sum sigma(i)**q)**(1/q) over its singular "
                   "values, q = p when p > 2.2250738585072014e-308, else q is that value.",
                   result(Real, "schattennorm").describe("the norm; 0 when x is empty"),
                   in(Real, "x", "m,n").describe("the matrix"),
                   in(Real, "p").describe("the exponent"),
                   m_rows_x, n_cols_x);
TAVRIN_ROUTINE_DOC(effectivearclength, EffectiveArcLength,
                   "Length of the circular arc of the given curvature between two points: the "
                   "chord c for curvature 0, else 2R*asin(c/(2R)) with R = 1/curvature.",
                   result(Real, "effectivearclength").describe("the arc length, in the units of "
                                                               "the points; NaN when the chord "
                                                               "exceeds 2|R|"),
                   in(Real, "oa", "n").describe("first point"),
                   in(Real, "ob", "n").describe("second point"),
                   in(Real, "curvature").describe("curvature 1/R of the arc, in 1/(units of the "
                                                  "points); either sign"),
                   in(Int, "n").opt("len(oa)").describe("number of coordinates"));
TAVRIN_ROUTINE_DOC(polartransformation, PolarTransformation,
                   "Polar coordinates of the first two components of a point, further components "
                   "copied.",
                   in(Real, "cartesian", "n").describe("the point (x, y, further components...)"),
                   out(Real, "polar", "n").describe("(radius, angle in radians atan2(y, x) in "
                                                    "[-pi, pi], further components unchanged)"),
                   in(Int, "n").opt("len(cartesian)").relation("n>=2").describe("number of "
                                                                               "components, at "
                                                                               "least 2"),
                   in(Real, "phi0").opt("0.0").describe("angle in radians returned for the origin "
                                                        "(x = y = 0)"));
TAVRIN_ROUTINE_DOC(getunitvector, GetUnitVector, "Unit vector in the direction of x, x/||x||.",
                   out(Real, "xu", "n").describe("the unit vector; NaN for a zero x"),
                   in(Real, "x", "n").describe("the vector"), n_len_x);
TAVRIN_ROUTINE_DOC(scalarprojection, ScalarProjection,
                   "Scalar projection of a onto the direction of b, a.b/||b||.",
                   result(Real, "scalarprojection").describe("the signed length; NaN for a zero b"),
                   in(Real, "a", "n").describe("the vector projected"),
                   in(Real, "b", "n").describe("the direction"), n_len_a);
TAVRIN_ROUTINE_DOC(euclideanangle, EuclideanAngle, "Angle between two vectors, in radians.",
                   result(Real, "euclideanangle").describe("radians in [0, pi]; pi when the cosine "
                                                           "is NaN (a zero vector)"),
                   x_vec, y_vec, n_len_x);
TAVRIN_ROUTINE_DOC(rootmeansquareerror, RootMeanSquareError,
                   "Root-mean-square error between two vectors, ||x - y||*sqrt(1/n).",
                   result(Real, "rootmeansquareerror").describe("the error; NaN for n = 0"),
                   x_vec, y_vec, n_len_x);
TAVRIN_ROUTINE_DOC(meanabsoluteerror, MeanAbsoluteError,
                   "Mean absolute error between two vectors, sum|x(i) - y(i)|/n.",
                   result(Real, "meanabsoluteerror").describe("the error; NaN for n = 0"),
                   x_vec, y_vec, n_len_x);

}  // namespace
}  // namespace tavrin::bind
