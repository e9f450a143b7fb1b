// Module lamina and its companions (nlcollection, isscollection) in C++:
// ply elastic constants, stiffness and compliance in every solver layout,
// nonlinear property laws and in-situ strengths; component orders of
// vectors, 6×6 matrices and fourth-order tensors; transformation matrices,
// off-axis stiffness, arbitrary bases and rotated stress states against the
// fourth-order tensor rotation of the foundation; stress and strain
// measures.
#include "foundation/linalg.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/insitu_strengths.hpp"
#include "mechanics/nonlinear_laws.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"
#include "mechanics/stress_measures.hpp"
#include "mechanics_support.hpp"

namespace tavrin {
namespace {

class Lamina : public LatchTest {};

// Isotropic (E, ν); the two five-value forms of one transversely isotropic
// ply; G23 given: ν23 = E2/(2·G23) - 1; nine values with the Poisson's
// ratios last go to the standard order, one of the last three above 1 means
// they are in it; another count leaves the constants as they were.
TEST_F(Lamina, NineConstantsFromEveryInputForm) {
  using C = std::array<double, 9>;
  const double e = 210.0e3, g = e / 2.6;
  const std::pair<std::vector<double>, C> cases[] = {
      {{e, 0.3}, {e, e, e, 0.3, 0.3, 0.3, g, g, g}},
      {{1.0e5, 8.0e3, 0.3, 0.5, 4.0e3}, {1.0e5, 8.0e3, 8.0e3, 0.3, 0.3, 0.5, 4.0e3, 4.0e3, 8.0e3 / 3.0}},
      {{1.0e5, 8.0e3, 0.3, 0.0, 4.0e3}, {1.0e5, 8.0e3, 8.0e3, 0.3, 0.3, 0.0, 4.0e3, 4.0e3, 4.0e3}},
      {{1.0e5, 8.0e3, 4.0e3, 0.0, 0.3}, {1.0e5, 8.0e3, 8.0e3, 0.3, 0.3, 0.0, 4.0e3, 4.0e3, 4.0e3}},
      {{1.0e5, 8.0e3, 4.0e3, 3.2e3, 0.3}, {1.0e5, 8.0e3, 8.0e3, 0.3, 0.3, 0.25, 4.0e3, 4.0e3, 3.2e3}},
      {{1, 2, 3, 40, 50, 60, 0.7, 0.8, 0.9}, {1, 2, 3, 0.7, 0.8, 0.9, 40, 50, 60}},
      {{1, 2, 3, 0.1, 0.2, 0.3, 0.4, 0.5, 6}, {1, 2, 3, 0.1, 0.2, 0.3, 0.4, 0.5, 6}},
      {{1, 2, 3, 4}, {-1, -1, -1, -1, -1, -1, -1, -1, -1}},
  };
  for (const auto& [in, out] : cases) {
    C got{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    const int n = int(in.size());
    GetNyeProperties(got.data(), in.data(), &n);
    EXPECT_EQ(got, out) << n;
  }
  EXPECT_EQ(message(), "Unsupported input in GetNyeProperties");
}

// C·S = I in every layout the solver uses, through the exported routines;
// plane stress leaves the out-of-plane rows and columns empty.  Extents of
// no layout: reported, zeros, nothing outside the array.
TEST_F(Lamina, StiffnessAndComplianceInEveryLayout) {
  const int layouts[][2] = {{3, 1}, {4, 1}, {6, 1}, {4, 0}, {6, 0}};
  for (const auto& [ntens, psflag] : layouts) {
    Guarded c(ntens), s(ntens);
    GetNyeStiffnessMatrix(c.data(), carbon, &ntens, &psflag);
    GetNyeComplianceMatrix(s.data(), carbon, &ntens, &psflag);
    for (int i = 1; i <= ntens; ++i)
      for (int j = 1; j <= ntens; ++j) {
        double cs = 0.0;
        for (int k = 1; k <= ntens; ++k) cs += c(i, k) * s(k, j);
        const bool empty = psflag == 0 && (i == 3 || i > 4 || j == 3 || j > 4);
        EXPECT_LT(std::abs(cs - (i == j && !empty ? 1.0 : 0.0)), 1e-14) << ntens << psflag << " " << i << j;
      }
    EXPECT_TRUE(c.guards_intact() && s.guards_intact());
  }
  EXPECT_EQ(status(), 0);
  for (const int ntens : {-1, 0, 1, 2, 5, 7}) {
    Guarded c(ntens), s(ntens);
    GetNyeStiffnessMatrix(c.data(), carbon, &ntens, nullptr);
    GetNyeComplianceMatrix(s.data(), carbon, &ntens, nullptr);
    EXPECT_EQ(take().second, "Unsupported dimension in GetNyeStiffnessMatrix");
    EXPECT_TRUE(c.zero() && s.zero() && c.guards_intact() && s.guards_intact()) << ntens;
  }
  // Condensing σ33 = 0 out of the 3-D stiffness gives the reduced stiffness.
  // An unsymmetric stiffness condenses with the row of the removed direction:
  // ε11 = 1 with σ33 = 0 gives ε33 = -c31/c33.
  Mat6 u = la::stiffness(carbon_ply());
  const Mat3 q = la::reduced_stiffness(carbon_ply());
  EXPECT_LT(max_difference(la::condensed_stiffness(u, 1), q), 1e-10 * q(1, 1));
  u(3, 1) += 900.0;
  Mat3 qs;
  const int absent_plane = 9;  // no plane: σ33 = 0
  GetReducedNyeStiffnessMatrix(qs.data(), u.data(), &absent_plane);
  EXPECT_NEAR(qs(2, 1), u(2, 1) - u(2, 3) * u(3, 1) / u(3, 3), 1e-9);
  // Plane 2 keeps (22, 33, 23) under σ11 = 0, plane 3 keeps (11, 33, 13)
  // under σ22 = 0 (Nye positions 23 = 6, 13 = 5).
  const Mat3 q2 = la::condensed_stiffness(u, 2), q3 = la::condensed_stiffness(u, 3);
  EXPECT_NEAR(q2(2, 1), u(3, 2) - u(3, 1) * u(1, 2) / u(1, 1), 1e-9);
  EXPECT_NEAR(q2(3, 3), u(6, 6), 1e-9);
  EXPECT_NEAR(q3(2, 1), u(3, 1) - u(3, 2) * u(2, 1) / u(2, 2), 1e-9);
  EXPECT_NEAR(q3(3, 3), u(5, 5), 1e-9);
}

// 21 values: the upper triangle column by column, always symmetric; with
// plane stress and four components the in-plane entries at 1, 2, 4.  An
// unsupported count (the compliance's inversion failure stays behind the
// first message), extents of no solver layout (zeros): reported, nothing
// written outside the array.
TEST_F(Lamina, Generalized) {
  const auto generalized = [](Guarded& sc, const double* props, int ntens, int nprops, const int* psflag) {
    const int scflag = nprops == 21;
    GetGeneralizedNyeOnAxisSC(sc.data(), props, &ntens, &nprops, &scflag, psflag, nullptr, nullptr);
  };
  double packed[21];
  for (int j = 1, k = 0; j <= 6; ++j)
    for (int i = 1; i <= j; ++i) packed[k++] = 10.0 * i + j;
  const int plane_stress = 0;
  Guarded sym(6), four(4);
  generalized(sym, packed, 6, 21, nullptr);
  generalized(four, packed, 4, 21, &plane_stress);
  EXPECT_EQ(sym(5, 2), 25.0);
  EXPECT_EQ(four(2, 4), 24.0);
  EXPECT_EQ(status(), 0);
  for (const int ntens : {6, 1, 2, 5, 7, 0, -2}) {  // 0 and -2: an empty array
    Guarded sc(ntens);
    generalized(sc, carbon, ntens, ntens == 6 ? 7 : 9, nullptr);
    EXPECT_EQ(take().second, "Unsupported number of properties or dimensions in GetGeneralizedNyeOnAxisSC.");
    EXPECT_TRUE((ntens == 6 || sc.zero()) && sc.guards_intact()) << ntens;
  }
}

// Tensor shears are doubled first; strains that share the stress's storage
// are read before it changes.
TEST_F(Lamina, SecantStressUpdate) {
  const int ntens = 4, ndi = 3, yes = 1;
  double c[16], stress[4] = {5.0, 6.0, 7.0, 8.0}, shared[4] = {1e-3, 0.0, 0.0, 0.0};
  GetNyeStiffnessMatrix(c, carbon, &ntens, nullptr);
  const double strain0[4] = {1e-3, -2e-4, 1e-4, 2e-3}, zero[4] = {};
  GetStressVector(stress, c, strain0, zero, &ndi, &ntens, &yes, &yes);
  EXPECT_DOUBLE_EQ(stress[3], carbon[6] * 2.0 * strain0[3]);
  GetStressVector(shared, c, shared, zero, &ndi, &ntens, &yes, &yes);
  EXPECT_DOUBLE_EQ(shared[1], c[1] * 1e-3);
}

// The strain-driven laws are even in the strain; the secant parameter is
// l·(1 - d) at the strain ε0 + Δε.
TEST_F(Lamina, StrainDrivenDegradation) {
  const double beta = 30.0, zero = 0.0, eps = 0.02, neg = -0.02, l = 5.0e3, half = 0.01;
  const std::tuple<void (*)(double*, const double*, const double*), int, double> laws[] = {
      {&NLKrause, 2, 1.0 - std::exp(-0.6)}, {&NLKaestner, 1, 0.375}};
  for (const auto& [law, flag, d] : laws) {
    double plus, minus;
    law(&plus, &beta, &eps);
    law(&minus, &beta, &neg);
    EXPECT_DOUBLE_EQ(plus, d);
    EXPECT_EQ(minus, plus);
    EXPECT_DOUBLE_EQ(GetMatParamByCurveFitting(&l, &beta, &zero, &half, &half, &flag), l * (1.0 - d));
  }
}

// Selector 1 solves for d at the stress τ = γ·G·(1 - d(τ)).  The map is
// Newton's step on γ = τ/G + βτ³: from far away it shrinks τ by about 2/3 a
// step and does not settle within 100 steps.  Fewer than four arguments are
// refused, nothing read beyond them.
TEST_F(Lamina, HahnTsai) {
  const double g = 5000.0, beta = 1e-7, args[4] = {40.0, 0.01, g, beta}, wild[4] = {1e30, 0.01, g, beta};
  const int four = 4, three = 3, solve = 1;
  double out;
  FPHahnTsai(&out, args, &four, &solve);
  const double tau = 0.01 * g * (1.0 - out);
  EXPECT_NEAR(nlcollection::hahn_tsai_map(tau, 0.01, g, beta), tau, 1e-6 * tau);
  EXPECT_EQ(status(), 0);
  FPHahnTsai(&out, wild, &four, &solve);
  EXPECT_EQ(take(), latch(-1, "Warning in FixPointIteration:Max iterations exceeded."));
  FPHahnTsai(&out, args, &three, &solve);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(out, 0.0);
}

// At the cycles to failure the residual strength is the stress amplitude.
// Glassy 3500, leathery 1800 above 380 K, rubbery 40 above 450 K; a negative
// count of transitions reads nothing.  In-situ strengths: LaRC04, a ply of
// thickness exactly at the limit being thin; Chang-Lessard with its
// built-in coefficients.
TEST_F(Lamina, ResidualAndInSituStrengths) {
  const double l = 1200.0, x = 400.0, alpha = 1.5, beta = 2.0, nf = 1.0e6;
  double dnl;
  NLAdam(&dnl, &l, &x, &nf, &nf, &alpha, &beta, nullptr);
  EXPECT_DOUBLE_EQ(dnl, 1.0 - x / l);
  const double props[5] = {3500.0, 380.0, 1800.0, 450.0, 40.0}, m[2] = {20.0, 30.0}, xi[2] = {1.0, 1.0};
  const double t = 380.0;
  const int two = 2, negative = -1;
  EXPECT_DOUBLE_EQ(NLGibson(&t, props, xi, &two),
                   (3500.0 + 1800.0) / 2 - (3500.0 - 1800.0) / 2 * std::tanh(1.0) +
                       (1800.0 + 40.0) / 2 - (1800.0 - 40.0) / 2 * std::tanh(380.0 / 450.0));
  EXPECT_EQ(status(), 0);
  EXPECT_EQ(NLMahieux(&t, props, m, &negative), 0.0);
  EXPECT_EQ(message(), "Negative number of transitions");
  const double elastic[4] = {140.0e3, 9.0e3, 0.3, 5.0e3}, gxc[2] = {0.25, 0.8};
  const double xt22 = 60.0, x12 = 90.0, thin = 0.0007, thick = 0.002, ilss = 70.0, ratio = 2.0, dtmin = 45.0;
  double ys[2];
  InSituLaRC04(ys, elastic, gxc, &xt22, &x12, &thick, nullptr);
  EXPECT_EQ(ys[0], 1.5839191966013624 * xt22);
  InSituLaRC04(ys, elastic, gxc, &xt22, &x12, &thin, &thin);
  EXPECT_DOUBLE_EQ(ys[1], std::sqrt(8 * 0.8 * 5.0e3 / (pi * thin)));
  InSituChangLessard(ys, &xt22, &ilss, &ratio, &dtmin, nullptr);
  EXPECT_DOUBLE_EQ(ys[0], (1 + 1.3 * std::sin(pi / 4) / std::pow(2.0, 0.7)) * xt22);
}

// The Nye matrix of a stiffness turned by rotating its fourth-order tensor:
// components in reference axes of a ply whose axes are R·eᵢ (math::rotate
// contracts with Rᵀ, so it gets Rᵀ).
Mat6 tensor_rotated(const Mat6& nye, const Mat3& r) {
  const Tensor4 t = la::tensor_stiffness(la::permute(nye, la::voigt_nye));
  return la::permute(la::voigt_stiffness(math::rotate(t, transpose(r))), la::voigt_nye);
}

TEST_F(Lamina, VectorConversionsRoundTrip) {
  // A symmetric tensor with distinct entries q(i,j) = 10·min + max; the
  // off-diagonal values come from the upper triangle.
  const Mat3 q{{11.0, 12.0, 13.0, 12.0, 22.0, 23.0, 13.0, 23.0, 33.0}};
  Mat3 upper = q, back;
  upper(2, 1) = upper(3, 1) = upper(3, 2) = -1.0;
  Vec6 nye, voigt, cyclic, a;
  NyeNotation(nye.data(), upper.data());
  VoigtNotation(voigt.data(), upper.data());
  CyclicNotation(cyclic.data(), upper.data());
  EXPECT_EQ(voigt, (Vec6{{11, 22, 33, 23, 13, 12}}));
  EXPECT_EQ(nye, (Vec6{{11, 22, 33, 12, 13, 23}}));
  EXPECT_EQ(cyclic, (Vec6{{11, 22, 33, 12, 23, 13}}));
  CauchyNotation(back.data(), voigt.data());
  EXPECT_EQ(back, q);
  const int one = 1;
  FlipVoigtNyeNotation(a.data(), nye.data(), &one);
  EXPECT_EQ(a, voigt);
  // Shifts count modulo 3: -1 is the shift to cyclic, 1 back; multiples of
  // 3, extreme ones included, change nothing.
  const std::pair<int, const Vec6*> shifts[] = {{-1, &cyclic}, {1, &voigt}, {0, &voigt}, {3, &voigt},
                                                {-3, &voigt}, {2147483646, &voigt}, {-2147483647 - 1 + 2, &voigt}};
  for (const auto& [s, expected] : shifts) {
    FlipVoigtCyclicNotation(a.data(), (s == 1 ? cyclic : voigt).data(), &one, &s);
    EXPECT_EQ(a, *expected) << s;
  }
  EXPECT_EQ(status(), 0);
}

// A matrix turns from Voigt to Nye order by permuting rows and columns
// alike, an unsymmetric one too: (P·A·Pᵀ)(P·x) = P·(A·x).  Other extents are
// refused and leave the result.  A stiffness goes to its fourth-order
// tensor, with the minor symmetries, and back; σ = C:ε in tensor form equals
// the Voigt product with engineering shears.
TEST_F(Lamina, MatricesAndTensorsChangeOrder) {
  Mat6 a, f;
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) a(i, j) = 10.0 * i + j;
  const Vec6 x{{1, -2, 3, -4, 5, -6}};
  const int six = 6, to_cyclic = 2, sdim = 3;
  FlipVoigtNyeNotation(f.data(), a.data(), &six);
  EXPECT_EQ(f * la::permute(x, la::voigt_nye), la::permute(a * x, la::voigt_nye));
  double q18[18] = {}, fn[18];
  std::fill(fn, fn + 18, 4.0);
  FlipVoigtNyeNotation(fn, q18, &sdim);
  EXPECT_EQ(take(), latch(-2, "Unsupported extents of Q in FlipVoigtNyeNotation"));
  FlipVoigtCyclicNotation(fn, q18, &sdim, &to_cyclic);
  EXPECT_EQ(message(), "Unsupported extents of Q inFlipVoigtCyclicNotation");
  EXPECT_EQ(fn[0], 4.0);
  const Mat6 c = la::permute(la::stiffness(carbon_ply()), la::voigt_nye);
  Tensor4 t;
  Mat6 back;
  GetTensorFromVoigtStiffness(t.data(), c.data());
  GetVoigtStiffnessFromTensor(back.data(), t.data());
  EXPECT_EQ(back, c);
  EXPECT_EQ(t(2, 1, 1, 2), c(6, 6));
  const Mat3 eps{{1e-3, 2e-4, -3e-4, 2e-4, -5e-4, 1e-4, -3e-4, 1e-4, 2e-3}};
  Vec6 gamma = la::voigt(eps);
  for (int k = 4; k <= 6; ++k) gamma(k) *= 2.0;
  EXPECT_LT(max_difference(c * gamma, la::voigt(math::double_contraction(t, eps))), 1e-12);
}

template <int N>
SmallMatrix<N, N> transformation(double angle, int ttype, int tflag) {
  SmallMatrix<N, N> t;
  const int n = N;
  GetNyeTransformationMatrix(t.data(), &angle, &n, &ttype, &tflag);
  return t;
}

TEST_F(Lamina, TransformationMatrices) {
  // The inverse rotation is the rotation by -θ; stress and strain forms are
  // mutually inverse-transposed.
  for (const double angle : {0.3, -1.1}) {
    EXPECT_EQ(transformation<6>(angle, 1, 1), transformation<6>(-angle, 0, 1));
    EXPECT_LT(identity_error(transformation<6>(angle, 0, 0) * transpose(transformation<6>(angle, 0, 1))), 1e-15);
    EXPECT_LT(identity_error(transformation<3>(angle, 0, 0) * transpose(transformation<3>(angle, 0, 1))), 1e-15);
  }
  EXPECT_EQ(status(), 0);
  // Extents that are no layout: reported, zero, nothing outside the array.
  for (const int tdim : {-2, 0, 1, 2, 4}) {
    Guarded t(tdim);
    const double angle = 0.3;
    const int zero = 0;
    GetNyeTransformationMatrix(t.data(), &angle, &tdim, &zero, &zero);
    EXPECT_EQ(take(), latch(-2, "False input for TType in GetNyeTransformationMatrix"));
    EXPECT_TRUE(t.zero() && t.guards_intact()) << tdim;
  }
}

// The turned stiffness is the tensor rotation, the turned compliance its
// inverse; the closed form of an orthotropic ply is the product.  The block
// rotation reads only the blocks a rotation about axis 3 mixes: any matrix,
// unsymmetric and full, turns as with the full product.
TEST_F(Lamina, OffAxisStiffness) {
  const Mat6 c = la::stiffness(carbon_ply()), s = la::compliance(carbon_ply());
  const Mat3 q = la::reduced_stiffness(carbon_ply());
  for (const double angle : {0.3, pi / 4, -2.0}) {
    EXPECT_LT(identity_error(la::rotate_stiffness(c, angle) * la::rotate_compliance(s, angle)), 1e-13) << angle;
    EXPECT_LT(max_difference(la::rotate_stiffness(c, angle),
                             tensor_rotated(c, math::rotation_matrix(Vec3{{0.0, 0.0, 1.0}}, angle))),
              1e-10 * c(1, 1)) << angle;
    EXPECT_LT(max_difference(la::rotate_orthotropic_stiffness(q, std::cos(angle), std::sin(angle)),
                             la::rotate_stiffness(q, angle)), 1e-11 * q(1, 1));
  }
  const Mat6 a = Mat6::load(random_matrix(6, 6, 8).data());
  for (const la::Form form : {la::Form::stress, la::Form::strain}) {
    const Mat6 t = la::nye_transformation(0.7, form);
    EXPECT_LT(max_difference(la::congruence_about_3(a, t), la::congruence(a, t)), 1e-15);
  }
  // The off-axis routine does not serve four components: reported, zeros,
  // nothing outside the array.
  const double ninety = 90.0;
  const int four = 4, stiffness = 1;
  Guarded bad(4);
  GetNyeOffAxisSC(bad.data(), &ninety, carbon, &four, &stiffness);
  EXPECT_EQ(message(), "Unsupported dimension in GetNyeStiffnessMatrixOff");
  EXPECT_TRUE(bad.zero() && bad.guards_intact());
}

TEST_F(Lamina, ArbitraryBase) {
  const Mat6 c = la::stiffness(carbon_ply()), s = la::compliance(carbon_ply());
  // A base of three turned axes (its columns): the tensor's components along
  // the base vectors, C'(ijkl) = bₘᵢ bₙⱼ bₒₖ bₚₗ C(mnop); the compliance flag
  // returns the inverse.
  const Mat3 base = math::rotation_matrix((1.0 / 3.0) * Vec3{{1.0, 2.0, 2.0}}, 0.8);
  const int stiffness = 1, compliance = 0, nye = 0;
  Mat6 cb, sb;
  GetArbitraryBaseSC(cb.data(), c.data(), base.data(), &stiffness, &nye);
  GetArbitraryBaseSC(sb.data(), s.data(), base.data(), &compliance, &nye);
  EXPECT_LT(max_difference(cb, tensor_rotated(c, transpose(base))), 1e-10 * c(1, 1));
  EXPECT_LT(identity_error(cb * sb), 1e-13);
  EXPECT_EQ(status(), 0);
}

TEST_F(Lamina, RotatedStressesAndTractions) {
  const Vec6 sigma{{10.0, -4.0, 3.0, 2.5, -1.5, 0.75}};  // Nye order
  const double* s = sigma.v.data();
  const Vec3 axis = (1.0 / 3.0) * Vec3{{2.0, -1.0, 2.0}}, x{{1.0, 0.0, 0.0}};
  const double angle = 1.3;
  // The traction on a rotated plane: normal stress first, then the shears,
  // from the stresses on the rotated axes.
  Vec6 sv;
  Vec3 tv;
  const int nye = 0, plane = 2;
  GetRotatedStresses(sv.data(), &angle, axis.data(), s, s + 1, s + 2, s + 3, s + 4, s + 5, &nye);
  GetTVectorFromArbitraryRotation(tv.data(), &angle, axis.data(), s, s + 1, s + 2, s + 3, s + 4, s + 5, &plane);
  EXPECT_EQ(tv, (Vec3{{sv(2), sv(4), sv(6)}}));
  // The plane through axis 1 with normal (0, -sin θ, cos θ) is the 3-plane
  // of the axes turned by θ about x.  The angle from the xz plane of the
  // direction an angle about x gives.
  const int three = 3, clockwise = 1;
  const double theta = 2.2, phixy = 0.3;
  Vec3 turned;
  GetTVectorOnRotatedXYPlane(tv.data(), &theta, s + 1, s + 2, s + 3, s + 4, s + 5);
  GetTVectorFromArbitraryRotation(turned.data(), &theta, x.data(), s, s + 1, s + 2, s + 3, s + 4, s + 5, &three);
  EXPECT_LT(max_difference(tv, turned), 1e-13);
  GetTVectorFromArbitraryRotation(turned.data(), &theta, x.data(), s, s + 1, s + 2, s + 3, s + 4, s + 5, nullptr);
  EXPECT_LT(max_difference(tv, turned), 1e-13);  // the 3-plane when tflag is absent
  double phixz;
  GetPhiMeasuredFromXZPlane(&phixz, &phixy, &clockwise);
  EXPECT_NEAR(phixz, pi / 2 + phixy, 1e-15);
  EXPECT_EQ(status(), 0);
}

const int six = 6;
const double state[6] = {120.0, -30.0, 10.0, 40.0, -25.0, 15.0};

double mises(const Vec6& v) { return GetMisesStress(v.data(), &six); }

Vec3 principals(const Vec6& v) {
  Vec3 p;
  GetPrincipals(p.data(), v.data(), &six);
  return p;
}

// Uniaxial s: pressure s/3; Stassi: the stress itself, whatever the
// strength ratio.  Von Mises in the plane layouts: three (11, 22, 12) and
// four (11, 22, 33, 12) components.  Rankine: the largest magnitude;
// Tresca: p1 - p3.  Von Mises stress and principal stresses do not change
// when the axes turn; the deviator has no trace and the same von Mises
// stress.
TEST_F(Lamina, StressMeasures) {
  const double s = 250.0, xt = 50.0, xc = 200.0, three[3] = {s, 0.0, 40.0}, four[4] = {s, 0.0, 0.0, 40.0};
  const Vec6 uniaxial{{s, 0, 0, 0, 0, 0}};
  double eq;
  EXPECT_DOUBLE_EQ(GetHydrostaticPressure(uniaxial.data(), &six), s / 3);
  GetStassiStress(uniaxial.data(), &xt, &xc, &eq);
  EXPECT_NEAR(eq, s, 1e-12);
  const int n3 = 3, n4 = 4;
  EXPECT_EQ(GetMisesStress(four, &n4), std::sqrt(s * s + 3 * 40.0 * 40.0));
  EXPECT_EQ(GetMisesStress(three, &n3), GetMisesStress(four, &n4));
  const double mixed[3] = {3, 1, -2}, compressive[3] = {-1, -2, -5}, small[3] = {0.5, 0.2, -0.3};
  EXPECT_EQ(GetRankineStress(compressive), 5.0);
  EXPECT_EQ(GetRankineStress(small), 0.5);
  EXPECT_EQ(GetTrescaStress(mixed), 5.0);
  const Vec6 nye = Vec6::load(state), voigt = la::voigt(la::tensor_from_nye(nye));
  const Vec3 p0 = principals(voigt), axis = (1.0 / 7.0) * Vec3{{2.0, 3.0, 6.0}};
  const int to_voigt = 1;
  for (const double angle : {0.3, -2.9}) {
    Vec6 turned;
    GetRotatedStresses(turned.data(), &angle, axis.data(), &nye.v[0], &nye.v[1], &nye.v[2], &nye.v[3],
                       &nye.v[4], &nye.v[5], &to_voigt);
    EXPECT_NEAR(mises(turned), mises(voigt), 1e-12 * mises(voigt)) << angle;
    EXPECT_LT(max_difference(principals(turned), p0), 1e-12 * p0(1)) << angle;
  }
  Mat3 cd;
  GetDeviatoricStress(cd.data(), voigt.data());
  EXPECT_NEAR(trace(cd), 0.0, 1e-12);
  EXPECT_NEAR(la::mises(cd), mises(voigt), 1e-12 * mises(voigt));
  // The flow direction n = s/σvM: the gradient of σvM is 3/2·n for the
  // normal entries and 3·n for each shear stored once.
  const double h = 1e-4;
  for (const int n : {3, 4, 6}) {
    double f[6];
    GetMisesFlow(f, state, &n);
    for (int i = 0; i < n; ++i) {
      double up[6], down[6];
      std::copy_n(state, 6, up);
      std::copy_n(state, 6, down);
      up[i] += h;
      down[i] -= h;
      const double derivative = (GetMisesStress(up, &n) - GetMisesStress(down, &n)) / (2 * h);
      EXPECT_NEAR(derivative, (i < (n == 3 ? 2 : 3) ? 1.5 : 3.0) * f[i], 1e-8) << n << " " << i;
    }
  }
  // Tensor components of four: the leading Nye ones, no out-of-plane
  // shears.  Other lengths are refused: zero components, nothing read
  // beyond them.
  double c[6];
  GetTensorComponents(&c[0], &c[1], &c[2], &c[3], &c[4], &c[5], state, &n4, nullptr);
  EXPECT_EQ((std::vector<double>(c, c + 6)), (std::vector<double>{120, -30, 10, 40, 0, 0}));
  EXPECT_EQ(status(), 0);
  for (const int n : {0, 1, 2, 5, 7}) {
    reset();
    GetTensorComponents(&c[0], &c[1], &c[2], &c[3], &c[4], &c[5], state, &n, nullptr);
    EXPECT_EQ(message(), "Unsupported number of stress components");
    EXPECT_EQ(c[0], 0.0);
    EXPECT_EQ(GetMisesStress(state, &n), 0.0) << n;
  }
}

TEST_F(Lamina, StrainMeasures) {
  // A stretch λ along axis 1: Green strain (λ² - 1)/2.  A general F relates
  // Almansi and Green by e = F⁻ᵀ·E·F⁻¹; a singular F·Fᵀ reports through the
  // inversion.
  const double lambda = 1.25;
  Mat3 e, f = Mat3::identity(), green, almansi;
  f(1, 1) = lambda;
  GetGreenStrain(e.data(), f.data());
  EXPECT_DOUBLE_EQ(e(1, 1), (lambda * lambda - 1) / 2);
  const Mat3 g{{1.1, 0.2, -0.1, 0.05, 0.9, 0.3, 0.0, -0.2, 1.2}}, finv = math::inverse(g);
  GetGreenStrain(green.data(), g.data());
  GetAlmansiStrain(almansi.data(), g.data());
  EXPECT_LT(max_difference(almansi, transpose(finv) * green * finv), 1e-14);
  EXPECT_EQ(status(), 0);
  GetAlmansiStrain(e.data(), Mat3{}.data());
  EXPECT_EQ(status(), -2);
}

}  // namespace
}  // namespace tavrin
