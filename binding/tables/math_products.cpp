// Module math: matrix and vector products and point operations.
#include "engine/descriptor.hpp"
#include "foundation/products.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math);

constexpr const char* rows_a = "rows of a";
constexpr const char* cols_a = "columns of a";
constexpr const char* entries_a = "number of entries";
constexpr const char* in_out_matrix = "the matrix scaled";
constexpr const char* point_doc = "the point (x, y, z)";

TAVRIN_ROUTINE_DOC(matrixproduct, MatrixProduct, "Matrix product c = a*b.",
                   in(Real, "a", "l,n").describe("left factor, l x n"),
                   in(Real, "b", "n,m").describe("right factor, n x m"),
                   out(Real, "c", "l,m").describe("the product, l x m"),
                   in(Int, "l").opt("shape(a,0)").describe(rows_a),
                   in(Int, "n").opt("shape(a,1)").describe("columns of a, rows of b"),
                   in(Int, "m").opt("shape(b,1)").describe("columns of b"));
TAVRIN_ROUTINE_DOC(matrixvectorproduct, MatrixVectorProduct,
                   "Matrix-vector product c = a*b.",
                   in(Real, "a", "n,m").describe("the matrix, n x m"),
                   in(Real, "b", "m").describe("the vector, m entries"),
                   out(Real, "c", "n").describe("the product, n entries"),
                   in(Int, "n").opt("shape(a,0)").describe(rows_a),
                   in(Int, "m").opt("shape(a,1)").describe(cols_a));
TAVRIN_ROUTINE_DOC(vectormatrixproduct, VectorMatrixProduct,
                   "Vector-matrix product c = a.T*b: c(j) = sum a(i)*b(i,j).",
                   in(Real, "a", "m").describe("the vector, m entries"),
                   in(Real, "b", "m,n").describe("the matrix, m x n"),
                   out(Real, "c", "n").describe("the product, n entries"),
                   in(Int, "n").opt("shape(b,1)").describe("columns of b"),
                   in(Int, "m").opt("shape(b,0)").describe("rows of b"));
TAVRIN_ROUTINE_DOC(lumatrixvectorproduct, LUMatrixVectorProduct,
                   "Product c = S*b of a symmetric matrix S held in packed storage and a vector.",
                   in(Real, "a", "m").describe("upper triangle of S row by row, each row from its "
                                               "diagonal: (s11, s12, ..., s1n, s22, ..., snn)"),
                   in(Real, "b", "n").describe("the vector"),
                   out(Real, "c", "n").describe("the product"),
                   in(Int, "m").opt("len(a)").relation("m>=n*(n+1)/2")
                       .describe("entries of a, at least n(n+1)/2"),
                   in(Int, "n").opt("len(b)").describe("order of S"));
TAVRIN_ROUTINE_DOC(dotproduct, DotProduct, "Dot product c = sum a(i)*b(i).",
                   in(Real, "a", "l").describe("first vector"),
                   in(Real, "b", "l").describe("second vector"),
                   out(Real, "c").describe("the dot product; 0 for l < 1"),
                   in(Int, "l").opt("len(a)").describe(entries_a));
TAVRIN_ROUTINE_DOC(crossproduct, CrossProduct, "Cross product c = a x b of two 3-vectors.",
                   in(Real, "a", "3").describe("first vector"),
                   in(Real, "b", "3").describe("second vector"),
                   out(Real, "c", "3").describe("a x b"));
TAVRIN_ROUTINE_DOC(vectortripleproduct, VectorTripleProduct,
                   "Vector triple product d = a x (b x c) of three 3-vectors.",
                   in(Real, "a", "3").describe("first vector"),
                   in(Real, "b", "3").describe("second vector"),
                   in(Real, "c", "3").describe("third vector"),
                   out(Real, "d", "3").describe("a x (b x c)"));
TAVRIN_ROUTINE_DOC(scalartripleproduct, ScalarTripleProduct,
                   "Scalar triple product d = a . (b x c) of three 3-vectors: the signed volume of "
                   "their parallelepiped.",
                   in(Real, "a", "3").describe("first vector"),
                   in(Real, "b", "3").describe("second vector"),
                   in(Real, "c", "3").describe("third vector"),
                   out(Real, "d").describe("a . (b x c)"));
TAVRIN_ROUTINE_DOC(dyadenproduct, DyadenProduct, "Dyadic (outer) product c = a*b.T.",
                   in(Real, "a", "m").describe("first vector, m entries"),
                   in(Real, "b", "n").describe("second vector, n entries"),
                   out(Real, "c", "m,n").describe("c(i,j) = a(i)*b(j)"),
                   in(Int, "m").opt("len(a)").describe("entries of a"),
                   in(Int, "n").opt("len(b)").describe("entries of b"));
TAVRIN_ROUTINE_DOC(kroneckerproduct, KroneckerProduct, "Kronecker product of two matrices.",
                   in(Real, "a", "ma,na").describe("first matrix, ma x na"),
                   in(Real, "b", "pb,qb").describe("second matrix, pb x qb"),
                   out(Real, "ab", "ma*pb,na*qb").describe("ab((i-1)*pb+k, (j-1)*qb+l) = "
                                                           "a(i,j)*b(k,l) (1-based)"),
                   in(Int, "ma").opt("shape(a,0)").describe(rows_a),
                   in(Int, "na").opt("shape(a,1)").describe(cols_a),
                   in(Int, "pb").opt("shape(b,0)").describe("rows of b"),
                   in(Int, "qb").opt("shape(b,1)").describe("columns of b"));
TAVRIN_ROUTINE_DOC(hadamardproduct, HadamardProduct,
                   "Entry-wise (Hadamard) product of two matrices.",
                   in(Real, "a", "l,n").describe("first matrix"),
                   in(Real, "b", "l,n").describe("second matrix"),
                   out(Real, "c", "l,n").describe("a(i,j)*b(i,j) where both are non-zero, else 0 "
                                                  "(so 0 times infinity gives 0)"),
                   in(Int, "l").opt("shape(a,0)").describe(rows_a),
                   in(Int, "n").opt("shape(a,1)").describe(cols_a));
TAVRIN_ROUTINE_DOC(hadamarddivision, HadamardDivision,
                   "Entry-wise (Hadamard) division of two matrices.",
                   in(Real, "a", "l,n").describe("dividend matrix"),
                   in(Real, "b", "l,n").describe("divisor matrix"),
                   out(Real, "c", "l,n").describe("a(i,j)/b(i,j) where both are non-zero, else 0 "
                                                  "(a zero divisor gives 0)"),
                   in(Int, "l").opt("shape(a,0)").describe(rows_a),
                   in(Int, "n").opt("shape(a,1)").describe(cols_a));
TAVRIN_ROUTINE_DOC(matrixsum, MatrixSum, "Matrix sum a + b.",
                   inout(Real, "a", "n,m").describe("first matrix; returned as a + b"),
                   in(Real, "b", "n,m").describe("matrix added"),
                   in(Int, "n").opt("shape(a,0)").describe(rows_a),
                   in(Int, "m").opt("shape(a,1)").describe(cols_a));
TAVRIN_ROUTINE_DOC(matrixsub, MatrixSub, "Matrix difference a - b.",
                   inout(Real, "a", "n,m").describe("first matrix; returned as a - b"),
                   in(Real, "b", "n,m").describe("matrix subtracted"),
                   in(Int, "n").opt("shape(a,0)").describe(rows_a),
                   in(Int, "m").opt("shape(a,1)").describe(cols_a));
TAVRIN_ROUTINE_DOC(vectorsub, VectorSub, "Vector difference a - b.",
                   inout(Real, "a", "n").describe("first vector; returned as a - b"),
                   in(Real, "b", "n").describe("vector subtracted"),
                   in(Int, "n").opt("len(a)").describe(entries_a));
TAVRIN_ROUTINE_DOC(matrixscalarmultiplication, MatrixScalarMultiplication,
                   "Scaled accumulation a + c*b of matrices (not a plain scaling of a).",
                   inout(Real, "a", "n,m").describe("the matrix accumulated into; returned as a + "
                                                    "c*b"),
                   in(Real, "b", "n,m").describe("the matrix scaled and added"),
                   in(Real, "c").describe("the factor of b"),
                   in(Int, "n").opt("shape(a,0)").describe(rows_a),
                   in(Int, "m").opt("shape(a,1)").describe(cols_a));
TAVRIN_ROUTINE_DOC(vectorscalarmultiplication, VectorScalarMultiplication,
                   "Scaled accumulation a + c*b of vectors (not a plain scaling of a).",
                   inout(Real, "a", "n").describe("the vector accumulated into; returned as a + "
                                                  "c*b"),
                   in(Real, "b", "n").describe("the vector scaled and added"),
                   in(Real, "c").describe("the factor of b"),
                   in(Int, "n").opt("len(a)").describe(entries_a));
TAVRIN_ROUTINE_DOC(matrixamplify, MatrixAmplify,
                   "Matrix scaled by c, only its non-zero entries (zero entries stay zero, also "
                   "for an infinite c).",
                   inout(Real, "a", "n,m").describe(in_out_matrix),
                   in(Real, "c").describe("the factor"),
                   in(Int, "n").opt("shape(a,0)").describe(rows_a),
                   in(Int, "m").opt("shape(a,1)").describe(cols_a));
TAVRIN_ROUTINE_DOC(vectoramplify, VectorAmplify,
                   "Vector scaled by c, only its non-zero entries (zero entries stay zero, also "
                   "for an infinite c).",
                   inout(Real, "a", "n").describe("the vector scaled"),
                   in(Real, "c").describe("the factor"),
                   in(Int, "n").opt("len(a)").describe(entries_a));
TAVRIN_ROUTINE_DOC(getabvector, GetABVector, "Vector from point a to point b, v = b - a.",
                   out(Real, "v", "n").describe("b - a"),
                   in(Real, "a", "n").describe("start point"),
                   in(Real, "b", "n").describe("end point"),
                   in(Int, "n").opt("len(a)").describe("number of coordinates"));
TAVRIN_ROUTINE_DOC(matrixshrinkage, MatrixShrinkage,
                   "Shrinkage of one matrix towards another: c = f*a + (1 - f)*b, f = alpha "
                   "clamped to [0, 1].",
                   in(Real, "a", "n,m").describe("the matrix weighted by f"),
                   in(Real, "b", "n,m").describe("the target, weighted by 1 - f"),
                   out(Real, "c", "n,m").describe("the blend"),
                   in(Real, "alpha").describe("the weight of a; above 1 gives a, zero, negative or "
                                              "NaN give b"),
                   in(Int, "n").opt("shape(a,0)").describe(rows_a),
                   in(Int, "m").opt("shape(a,1)").describe(cols_a));
TAVRIN_ROUTINE_DOC(coordinaterotation, CoordinateRotation,
                   "Rotation of a point by alpha_d degrees about an axis through the origin "
                   "(right-hand rule).",
                   in(Real, "a", "3").describe("the axis direction, unit length (used as given)"),
                   in(Real, "p", "3").describe(point_doc),
                   out(Real, "prot", "3").describe("the rotated point"),
                   in(Real, "alpha_d").describe("rotation angle in degrees"));
TAVRIN_ROUTINE_DOC(coordinatetranslation, CoordinateTranslation,
                   "Translation of a point, p + a.",
                   in(Real, "a", "3").describe("the translation vector"),
                   in(Real, "p", "3").describe(point_doc),
                   out(Real, "ptrans", "3").describe("the translated point p + a"));
TAVRIN_ROUTINE_DOC(coordinatereflection, CoordinateReflection,
                   "Mirror image of a point in the plane through the origin spanned by na and nb: "
                   "(2*(na*na.T + nb*nb.T) - I)*p.",
                   in(Real, "na", "3").describe("first in-plane direction, unit length "
                                                "(orthonormal to nb; used as given)"),
                   in(Real, "nb", "3").describe("second in-plane direction, unit length"),
                   in(Real, "p", "3").describe(point_doc),
                   out(Real, "pref", "3").describe("the mirrored point"));
TAVRIN_ROUTINE_DOC(coordinateprojection, CoordinateProjection,
                   "Foot of a point on the plane through r0 spanned by u and v (orthogonal "
                   "projection along u x v).",
                   in(Real, "u", "3").describe("first in-plane direction"),
                   in(Real, "v", "3").describe("second in-plane direction, not parallel to u"),
                   in(Real, "p", "3").describe(point_doc),
                   out(Real, "ppro", "3").describe("the projected point"),
                   in(Real, "r0", "3").opt("0.0").describe("a point of the plane"));
TAVRIN_ROUTINE_DOC(getcentroid, GetCentroid,
                   "Centroid of the area of a polygon with vertices (x(i), y(i)).",
                   out(Real, "c", "2").describe("(x, y) of the centroid; (0, 0) for a polygon of "
                                                "zero area"),
                   in(Real, "x", "n").describe("x of the vertices in order, either sense; the last "
                                               "joins the first (a repeated first vertex is "
                                               "allowed)"),
                   in(Real, "y", "n").describe("y of the vertices"),
                   in(Int, "n").opt("len(x)").describe("number of vertices"));

}  // namespace
}  // namespace tavrin::bind
