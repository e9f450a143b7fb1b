// Module math: norms and matrix utilities.
#include "engine/descriptor.hpp"
#include "foundation/norms.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(vectorsum, VectorSum, inout(Real, "a", "n"), in(Real, "b", "n"),
               in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(matrixsymmetrize, MatrixSymmetrize, in(Real, "a", "n,n"), out(Real, "sym", "n,n"),
               in(Int, "n").opt("shape(a,0)"));
TAVRIN_ROUTINE(matrixdiagonal, MatrixDiagonal, out(Real, "diag", "n-abs(k)"), in(Real, "a", "n,n"),
               in(Int, "k"), in(Int, "n").opt("shape(a,0)"));
TAVRIN_ROUTINE(matrixtranspose, MatrixTranspose, in(Real, "a", "n,m"), out(Real, "b", "m,n"),
               in(Int, "n").opt("shape(a,0)"), in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(matrixnormalize, MatrixNormalize, in(Real, "x", "n,m"), out(Real, "z", "n,m"),
               in(Int, "n").opt("shape(x,0)"), in(Int, "m").opt("shape(x,1)"));
TAVRIN_ROUTINE(vectornormalize, VectorNormalize, in(Real, "x", "n"), out(Real, "z", "n"),
               in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(cumulativesum, CumulativeSum, out(Real, "csum", "n"), in(Real, "a", "n"),
               in(Int, "n").opt("len(a)"), in(Real, "seed").opt("0.0"));
TAVRIN_ROUTINE(cumulativeproduct, CumulativeProduct, out(Real, "cprod", "n"), in(Real, "a", "n"),
               in(Int, "n").opt("len(a)"), in(Real, "seed").opt("1.0"));
TAVRIN_ROUTINE(getprincipleminor, GetPrincipleMinor, result(Real, "getprincipleminor"),
               in(Real, "sm", "k,k"), in(Int, "i").relation("i>=1 && i<=k"),
               in(Int, "k").opt("shape(sm,0)"));
TAVRIN_ROUTINE(getfirstminor, GetFirstMinor, result(Real, "getfirstminor"), in(Real, "sm", "k,k"),
               in(Int, "i").relation("i>=1 && i<=k"), in(Int, "j").relation("j>=1 && j<=k"),
               in(Int, "k").opt("shape(sm,0)"));
TAVRIN_ROUTINE(getcofactor, GetCofactor, result(Real, "getcofactor"), in(Real, "mij"), in(Int, "i"),
               in(Int, "j"));
TAVRIN_ROUTINE(monoticity, Monoticity, result(Int, "monoticity"), in(Real, "x", "n"),
               in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(trace, Trace, result(Real, "trace"), in(Real, "x", "n,n"), in(Int, "n").opt("shape(x,0)"));
TAVRIN_ROUTINE(euclideandistance, EuclideanDistance, result(Real, "euclideandistance"),
               in(Real, "x", "n"), in(Real, "y", "n"), in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(vectornorm, VectorNorm, result(Real, "vectornorm"), in(Real, "x", "n"),
               in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(matrixnorm, MatrixNorm, result(Real, "matrixnorm"), in(Real, "x", "n,m"),
               in(Int, "n").opt("shape(x,0)"), in(Int, "m").opt("shape(x,1)"));
TAVRIN_ROUTINE(lpvectornorm, LpVectorNorm, result(Real, "lpvectornorm"), in(Real, "x", "n"),
               in(Real, "p"), in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(lpmatrixnorm, LpMatrixNorm, result(Real, "lpmatrixnorm"), in(Real, "x", "n,m"),
               in(Real, "p"), in(Int, "n").opt("shape(x,0)"), in(Int, "m").opt("shape(x,1)"));
TAVRIN_ROUTINE(spectralnorm, SpectralNorm, result(Real, "spectralnorm"), in(Real, "x", "m,n"),
               in(Int, "m").opt("shape(x,0)"), in(Int, "n").opt("shape(x,1)"));
TAVRIN_ROUTINE(nuclearnorm, NuclearNorm, result(Real, "nuclearnorm"), in(Real, "x", "m,n"),
               in(Int, "m").opt("shape(x,0)"), in(Int, "n").opt("shape(x,1)"));
TAVRIN_ROUTINE(schattennorm, SchattenNorm, result(Real, "schattennorm"), in(Real, "x", "m,n"),
               in(Real, "p"), in(Int, "m").opt("shape(x,0)"), in(Int, "n").opt("shape(x,1)"));
TAVRIN_ROUTINE(effectivearclength, EffectiveArcLength, result(Real, "effectivearclength"),
               in(Real, "oa", "n"), in(Real, "ob", "n"), in(Real, "curvature"),
               in(Int, "n").opt("len(oa)"));
TAVRIN_ROUTINE(polartransformation, PolarTransformation, in(Real, "cartesian", "n"),
               out(Real, "polar", "n"), in(Int, "n").opt("len(cartesian)").relation("n>=2"),
               in(Real, "phi0").opt("0.0"));
TAVRIN_ROUTINE(getunitvector, GetUnitVector, out(Real, "xu", "n"), in(Real, "x", "n"),
               in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(scalarprojection, ScalarProjection, result(Real, "scalarprojection"), in(Real, "a", "n"),
               in(Real, "b", "n"), in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(euclideanangle, EuclideanAngle, result(Real, "euclideanangle"), in(Real, "x", "n"),
               in(Real, "y", "n"), in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(rootmeansquareerror, RootMeanSquareError, result(Real, "rootmeansquareerror"),
               in(Real, "x", "n"), in(Real, "y", "n"), in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(meanabsoluteerror, MeanAbsoluteError, result(Real, "meanabsoluteerror"),
               in(Real, "x", "n"), in(Real, "y", "n"), in(Int, "n").opt("len(x)"));

}  // namespace
}  // namespace tavrin::bind
