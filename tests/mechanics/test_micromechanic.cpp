// Module micromechanic: the closed-form rules at their limits, Eshelby
// tensors against the ellipsoid integrals by quadrature, concentration
// tensors, the Mori-Tanaka combination of phases, voids and interphase, and
// the homogenisation schemes against independent closed forms (Hashin-Hill
// for aligned cylinders, Hashin-Shtrikman for spheres).
#include <array>
#include <cmath>
#include <numbers>

#include "foundation/linalg.hpp"
#include "mechanics/micromechanic.hpp"
#include "mechanics_support.hpp"

namespace tavrin {
namespace {

namespace mm = micromechanic;
using Eng = mm::EngConstants;

// Glass (E1, E2, G12, G23, ν12) in epoxy (Em, νm), and a carbon fibre in its resin.
constexpr double glass[5] = {70.0, 70.0, 70.0 / 2.4, 70.0 / 2.4, 0.2};
constexpr double glass4[4] = {70.0, 70.0, 70.0 / 2.4, 0.2};
constexpr double epoxy[2] = {3.0, 0.35};
constexpr double carbon_fibre[5] = {230e3, 15e3, 27e3, 7e3, 0.2};
constexpr double resin[2] = {3.4e3, 0.35};

class Micromechanic : public LatchTest {};

mm::Constituents ply(const double* fibre, const double* matrix, double vf) {
  mm::Constituents k;
  k.fibre = fibre;
  k.matrix = matrix;
  k.vf = vf;
  return k;
}

Mat6 stiffness_of(const double* props5) { return math::inverse(mm::voigt_compliance(props5)); }
Mat6 isotropic_stiffness(double e, double nu) {
  const double g = e / (2.0 * (1.0 + nu)), p[5] = {e, e, g, g, nu};
  return stiffness_of(p);
}

template <std::size_t N>
void expect_relative(const std::array<double, N>& got, const std::array<double, N>& want, double tol,
                     const char* what) {
  for (std::size_t i = 0; i < N; ++i) EXPECT_NEAR(got[i], want[i], tol * std::abs(want[i])) << what << " " << i;
}

// ---------------------------------------------------------------------------
// Closed-form rules.

TEST_F(Micromechanic, FourConstantRulesAtTheirLimits) {
  using R = mm::Rule;
  const double em = epoxy[0], num = epoxy[1], gm = em / (2.0 * (1.0 + num));
  for (R rule : {R::mixture, R::abolinsh, R::puck, R::hopkins_chamis, R::halpin_tsai, R::chamis}) {
    // Fractions outside [0, 1] are clamped.
    EXPECT_EQ(mm::four_constants(rule, glass4, epoxy, 1.7), mm::four_constants(rule, glass4, epoxy, 1.0));
    EXPECT_EQ(mm::four_constants(rule, glass4, epoxy, -0.2), mm::four_constants(rule, glass4, epoxy, 0.0));
    // No fibre: the matrix (Puck's E2 is the plane-strain modulus).
    const mm::Ply4 m = mm::four_constants(rule, glass4, epoxy, 0.0);
    const double e2 = rule == R::puck ? em / (1.0 - num * num) : em;
    expect_relative(m, {em, e2, gm, num}, 1e-15, "vf 0");
  }
  // Hashin-Hill's G12 of aligned cylinders (Abolinsh's G12).
  EXPECT_NEAR(mm::four_constants(R::abolinsh, glass4, epoxy, 0.3)[2], 1.966681, 5e-7);
  // Halpin-Tsai: ξ = 0 is the inverse rule of mixtures; (-1, -1) the built-in
  // factors; other values as given.
  const double zero[2] = {0.0, 0.0}, builtin[2] = {-1.0, -1.0}, mixed[2] = {-1.0, 2.0}, explicit_[2] = {-1.0, 3.0};
  const mm::Ply4 mix = mm::four_constants(R::mixture, glass4, epoxy, 0.45);
  const mm::Ply4 ht0 = mm::four_constants(R::halpin_tsai, glass4, epoxy, 0.45, zero);
  EXPECT_NEAR(ht0[1], mix[1], 1e-14 * mix[1]);
  EXPECT_NEAR(ht0[2], mix[2], 1e-14 * mix[2]);
  const double packing = 40.0 * std::pow(0.45, 10);
  const double factors[2] = {2.0 + packing, 1.0 + packing};
  EXPECT_EQ(mm::four_constants(R::halpin_tsai, glass4, epoxy, 0.45, builtin),
            mm::four_constants(R::halpin_tsai, glass4, epoxy, 0.45, factors));
  EXPECT_EQ(mm::four_constants(R::halpin_tsai, glass4, epoxy, 0.45, nullptr),
            mm::four_constants(R::halpin_tsai, glass4, epoxy, 0.45, factors));
  const mm::Ply4 a = mm::four_constants(R::halpin_tsai, glass4, epoxy, 0.45, mixed);
  const mm::Ply4 b = mm::four_constants(R::halpin_tsai, glass4, epoxy, 0.45, explicit_);
  EXPECT_EQ(a[1], b[1]);  // ξE = -1 in both
  EXPECT_NE(a[2], b[2]);
}

TEST_F(Micromechanic, FourConstantValues) {
  // E2 and G12 of carbon (230e3, 15e3, 27e3, 0.2) in epoxy (3.4e3, 0.35) at
  // vf 0.5, evaluated from each rule's formula on its own.
  using R = mm::Rule;
  const double fibre[4] = {230e3, 15e3, 27e3, 0.2};
  const struct {
    R rule;
    double e2, g12;
  } cases[] = {{R::mixture, 5543.478260869565, 2406.290956749672},
               {R::abolinsh, 5907.922906139009, 3365.6014618710165},
               {R::puck, 8547.998589035113, 4149.142777955258},
               {R::hopkins_chamis, 6301.04039062887, 3101.282928147834},
               {R::halpin_tsai, 7114.808716707022, 3399.898511548997},
               {R::chamis, 7502.690665419488, 3864.2741140137286}};
  for (const auto& c : cases) {
    const mm::Ply4 p = mm::four_constants(c.rule, fibre, resin, 0.5);
    EXPECT_NEAR(p[1], c.e2, 1e-13 * c.e2) << int(c.rule);
    EXPECT_NEAR(p[2], c.g12, 1e-13 * c.g12) << int(c.rule);
    EXPECT_NEAR(p[0], 0.5 * (230e3 + 3.4e3), 1e-10);
    EXPECT_NEAR(p[3], 0.275, 1e-15);
  }
  // Krimmer's in-situ matrix of a (140e3, 9e3, 0.28) ply.
  const double ply[3] = {140e3, 9e3, 0.28};
  expect_relative(mm::krimmer(ply, carbon_fibre, resin, 0.5),
                  {3965.1590660526704, 4612.973112378178, 1588.5429960057124, 1503.2825118960411,
                   0.30466666666666664},
                  1e-13, "Krimmer");
}

TEST_F(Micromechanic, Chamis) {
  // csdim 5 and 6 add G23 (and ν23 = E2/(2 G23) − 1); other sizes give zero.
  const double fibre6[6] = {70.0, 60.0, 25.0, 20.0, 0.22, 99.0};
  const double vf = 0.5, gm = epoxy[0] / 2.7;
  std::array<double, 8> cs4{}, cs6{};
  const double g23 = gm / (1.0 - (1.0 - gm / 20.0) * std::sqrt(vf));
  Chamis(cs6.data(), fibre6, epoxy, &vf, std::array{6}.data());
  const double f4[4] = {70.0, 60.0, 25.0, 0.22};
  Chamis(cs4.data(), f4, epoxy, &vf, std::array{4}.data());
  EXPECT_EQ(cs6[0], cs4[0]);
  EXPECT_EQ(cs6[2], cs4[2]);
  EXPECT_NEAR(cs6[3], g23, 1e-14);
  EXPECT_EQ(cs6[4], cs4[3]);
  EXPECT_NEAR(cs6[5], cs6[1] / (2.0 * g23) - 1.0, 1e-14);
  EXPECT_EQ(cs6[6], 0.0);
  for (int csdim : {3, 7}) {
    std::array<double, 8> cs;
    cs.fill(5.0);
    Chamis(cs.data(), fibre6, epoxy, &vf, &csdim);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(cs[std::size_t(i)], i < csdim ? 0.0 : 5.0) << csdim;
  }
}

TEST_F(Micromechanic, LthAndItsMatrix) {
  const double fibre[5] = {230e3, 15e3, 27e3, 7e3, 0.2};
  const double matrix[2] = {3.4e3, 0.35};
  // The packing clamps the fraction: 0.75 square, 0.9 hexagonal.
  EXPECT_EQ(mm::lth(fibre, matrix, 0.8, 2, 0, 0), mm::lth(fibre, matrix, 0.75, 2, 0, 0));
  EXPECT_EQ(mm::lth(fibre, matrix, 0.95, 2, 1, 0), mm::lth(fibre, matrix, 0.9, 2, 1, 0));
  EXPECT_NE(mm::lth(fibre, matrix, 0.6, 2, 0, 0), mm::lth(fibre, matrix, 0.6, 2, 1, 0));
  // No fibre: the matrix itself (the cell formula reduces to m).
  const mm::Ply5 bare = mm::lth(fibre, matrix, 0.0, 2, 1, 0);
  expect_relative(bare, {3.4e3, 3.4e3, 3.4e3 / 2.7, 3.4e3 / 2.7, 0.35}, 1e-13, "vf 0");
  // tcflag 1: the in-situ matrix of Krimmer from the plain model's E1, E2, ν12.
  const mm::Ply5 plain = mm::lth(fibre, matrix, 0.6, 2, 1, 0);
  const double ply[3] = {plain[0], plain[1], plain[4]};
  const mm::Ply5 insitu = mm::krimmer(ply, fibre, matrix, 0.6);
  const double m5[5] = {insitu[0], insitu[1], insitu[2], insitu[3], insitu[4]};
  EXPECT_EQ(mm::lth(fibre, matrix, 0.6, 2, 1, 1), mm::lth(fibre, m5, 0.6, 5, 1, 0));
  // mdim 5 ignores tcflag; mdim below 2 gives zero; νm is the last entry.
  EXPECT_EQ(mm::lth(fibre, m5, 0.6, 5, 1, 1), mm::lth(fibre, m5, 0.6, 5, 1, 0));
  EXPECT_EQ(mm::lth(fibre, matrix, 0.6, 1, 1, 0), mm::Ply5{});
  const double m3[3] = {3.4e3, 77.0, 0.35};
  EXPECT_EQ(mm::lth(fibre, m3, 0.6, 3, 1, 0), plain);
  // Foye: a rigid ply (r = 0) leaves νm/(1 − νm).
  const double rigid[2] = {1e300, 0.3};
  EXPECT_NEAR(mm::foye(rigid, matrix), 0.35 / 0.65, 1e-15);
}

// ---------------------------------------------------------------------------
// Eshelby tensors.

// The Eshelby tensor of an ellipsoid with semi-axes a(3) in an isotropic
// host, from the integrals
//   I_i  = 2π a1a2a3 ∫ ds / ((a_i² + s) Δ),  I_ij = 2π a1a2a3 ∫ ds / ((a_i² + s)(a_j² + s) Δ),
//   Δ = √((a1² + s)(a2² + s)(a3² + s)), s from 0 to ∞,
// by the trapezoidal rule in t = log s (the integrands are analytic in a
// strip around the real axis and decay exponentially at both ends).
Mat6 ellipsoid_eshelby(const std::array<double, 3>& a, double nu) {
  constexpr double pi = std::numbers::pi;
  double i1[3] = {}, i2[3][3] = {};
  const double h = 0.02;
  for (double t = -60.0; t <= 90.0; t += h) {
    const double s = std::exp(t);
    double q[3];
    for (int i = 0; i < 3; ++i) q[i] = a[std::size_t(i)] * a[std::size_t(i)] + s;
    const double w = h * s / std::sqrt(q[0] * q[1] * q[2]);
    for (int i = 0; i < 3; ++i) {
      i1[i] += w / q[i];
      for (int j = 0; j < 3; ++j) i2[i][j] += w / (q[i] * q[j]);
    }
  }
  const double f = 2.0 * pi * a[0] * a[1] * a[2];
  for (int i = 0; i < 3; ++i) {
    i1[i] *= f;
    for (int j = 0; j < 3; ++j) i2[i][j] *= f;
  }
  const double c = 8.0 * pi * (1.0 - nu), k = 1.0 - 2.0 * nu;
  Mat6 et;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const double aj2 = a[std::size_t(j)] * a[std::size_t(j)];
      et(i + 1, j + 1) = i == j ? (3.0 * aj2 * i2[i][i] + k * i1[i]) / c : (aj2 * i2[i][j] - k * i1[i]) / c;
    }
  // Shear diagonal 2·S_ijij for the pairs 23, 13, 12.
  const int pairs[3][2] = {{1, 2}, {0, 2}, {0, 1}};
  for (int p = 0; p < 3; ++p) {
    const int i = pairs[p][0], j = pairs[p][1];
    const double ai2 = a[std::size_t(i)] * a[std::size_t(i)], aj2 = a[std::size_t(j)] * a[std::size_t(j)];
    et(4 + p, 4 + p) = 2.0 * ((ai2 + aj2) * i2[i][j] + k * (i1[i] + i1[j])) / (2.0 * c);
  }
  return et;
}

TEST_F(Micromechanic, EshelbySphereAndCylinders) {
  const Mat6 s = mm::eshelby_tensor(0, 0.0, 0.3);
  EXPECT_NEAR(s(1, 1), 0.5238095, 5e-8);
  EXPECT_NEAR(s(2, 3), 0.0476190, 5e-8);
  EXPECT_NEAR(s(4, 4), 0.4761905, 5e-8);
  EXPECT_LT(max_difference(s, ellipsoid_eshelby({1.0, 1.0, 1.0}, 0.3)), 1e-13);
  // Circular cylinder.
  const double nu = 0.25;
  const Mat6 c = mm::eshelby_tensor(1, 1.0, nu);
  EXPECT_NEAR(c(2, 2), (5.0 - 4.0 * nu) / (8.0 * (1.0 - nu)), 1e-15);
  EXPECT_NEAR(c(2, 3), (4.0 * nu - 1.0) / (8.0 * (1.0 - nu)), 1e-15);
  EXPECT_NEAR(c(2, 1), nu / (2.0 * (1.0 - nu)), 1e-15);
  EXPECT_EQ(c(5, 5), 0.5);
  EXPECT_EQ(c(6, 6), 0.5);
  // In an isotropic host, kind 11 is the circular cylinder.
  EXPECT_LT(max_difference(mm::eshelby_tensor(11, 1.0, 0.0, isotropic_stiffness(3.0, nu)), c), 1e-15);
  // An elliptic cylinder (a2 = 2 a3) as a very long ellipsoid.
  EXPECT_LT(max_difference(mm::eshelby_tensor(1, 2.0, nu), ellipsoid_eshelby({1e6, 2.0, 1.0}, nu)), 1e-9);
}

TEST_F(Micromechanic, EshelbyProlateSpheroid) {
  // Against the quadrature at every distance from the sphere, the series
  // near it included; the closed form alone gives et(1,1) ≈ -11 at 1 + 1e-6.
  for (double nu : {0.2, 0.35})
    for (double a : {1.0 + 1e-9, 1.0 + 1e-6, 1.001, 1.0099, 1.01, 1.0488, 1.0489, 1.1, 2.0, 3.73, 10.0, 100.0}) {
      const Mat6 et = mm::eshelby_tensor(2, a, nu);
      EXPECT_LT(max_difference(et, ellipsoid_eshelby({a, 1.0, 1.0}, nu)), a < 1.01 ? 1e-9 : 1e-12)
          << a << " " << nu;
    }
  // The sphere at a = 1; the circular cylinder far away.
  EXPECT_LT(max_difference(mm::eshelby_tensor(2, 1.0, 0.3), mm::eshelby_tensor(0, 0.0, 0.3)), 1e-15);
  EXPECT_LT(max_difference(mm::eshelby_tensor(2, 1e4, 0.3), mm::eshelby_tensor(1, 1.0, 0.3)), 1e-6);
  EXPECT_EQ(take(), latch(0));
}

TEST_F(Micromechanic, EshelbyPenny) {
  // Thin oblate spheroid, normal 3: the first-order tensor in c; its two
  // transverse shears (23, 13) agree.
  // Its error against the exact tensor falls as c².
  for (double c : {0.01, 0.001}) {
    const Mat6 et = mm::eshelby_tensor(3, c, 0.3);
    EXPECT_EQ(et(4, 4), et(5, 5));
    EXPECT_LT(max_difference(et, ellipsoid_eshelby({1.0, 1.0, c}, 0.3)), 4.0 * c * c) << c;
  }
}

TEST_F(Micromechanic, EshelbyRefusals) {
  struct Case {
    int kind;
    double ratio;
    std::pair<int, std::string> report;
  };
  const Case cases[] = {{4, 1.0, latch(-3, "Unknown kind of Eshelby tensor request.")},
                        {2, 0.999, latch(-3, "Unknown kind of Eshelby tensor request.")},
                        {11, 1.0, latch(-3, "Illegal host stiffness matrix in GetEshelbyTensor.")}};
  for (const Case& k : cases) {
    Guarded et(6);
    const double nu = 0.3;
    GetEshelbyTensor(et.data(), &k.kind, &k.ratio, &nu, nullptr);
    EXPECT_TRUE(et.zero()) << k.kind;
    EXPECT_TRUE(et.guards_intact());
    EXPECT_EQ(take(), k.report);
  }
}

// ---------------------------------------------------------------------------
// Concentration tensors and the combination of phases.

TEST_F(Micromechanic, ConcentrationRules) {
  const Mat6 cf = stiffness_of(glass), cm = isotropic_stiffness(3.0, 0.35);
  const Mat6 e = mm::eshelby_tensor(1, 1.0, 0.35);
  const Mat6 dilute = mm::strain_concentration(e, cf, cm, 0.4, 0);
  EXPECT_EQ(mm::strain_concentration(e, cf, cm, 0.4, 1), mm::strain_concentration(e, cf, cm, 0.4, 3));
  EXPECT_EQ(mm::strain_concentration(e, cf, cm, 1.5, 4), mm::strain_concentration(e, cf, cm, 1.0, 4));
  EXPECT_LT(max_difference(mm::strain_concentration(e, cf, cm, 0.0, 1), dilute), 1e-15);
  // The fibre as the reference at full fibre: the identity.
  EXPECT_LT(identity_error(mm::strain_concentration(e, cf, cm, 1.0, 2)), 1e-14);
  // An inclusion of the matrix's own stiffness strains like the matrix.
  for (int atype = 0; atype <= 5; ++atype)
    EXPECT_LT(identity_error(mm::strain_concentration(e, cm, cm, 0.4, atype)), 1e-14) << atype;
  EXPECT_EQ(take(), latch(0));
  for (int atype : {-1, 6}) {
    EXPECT_EQ(mm::strain_concentration(e, cf, cm, 0.4, atype), Mat6{});
    EXPECT_EQ(take(), latch(-2, "Unknown AType. Please check your input"));
  }
}

TEST_F(Micromechanic, InverseOfSmallPivots) {
  // Tiny diagonal entries: the row exchanges keep the inverse accurate.
  Mat6 a = Mat6::load(random_spd(6, 5).data());
  for (int i = 1; i <= 6; ++i) a(i, i) = 1e-18 * i;
  EXPECT_LT(max_difference(mm::inverse(a) * a, Mat6::identity()), 1e-12);
  // The pivot is the largest entry of its column (1 here, not 1e-10).
  Mat6 b = Mat6::identity();
  b(1, 1) = 1e-18, b(2, 1) = 1e-10, b(3, 1) = 1.0, b(1, 2) = 10.0, b(2, 2) = 0.0, b(3, 2) = 0.5;
  b(1, 3) = b(2, 3) = b(3, 3) = 3.0;
  EXPECT_LT(max_difference(mm::inverse(b) * b, Mat6::identity()), 1e-12);
  // A singular matrix is latched like MatrixInverse's.
  EXPECT_EQ(mm::inverse(Mat6{}), math::inverse(Mat6{}));
  EXPECT_EQ(take(), latch(-2, "Matrix inverse becomes numerically singular!"));
}

TEST_F(Micromechanic, GeneralizedMoriTanaka) {
  const Mat6 cf = stiffness_of(glass), cm = isotropic_stiffness(3.0, 0.35);
  auto combine = [&](const Mat6& ck, const Mat6& ek, double vk) {
    Mat6 r;
    const int one = 1;
    GeneralizedMoriTanaka(r.data(), ck.data(), ek.data(), &vk, cm.data(), &one);
    return mm::engineering_constants(math::inverse(r));
  };
  // Spheres: the Hashin-Shtrikman lower bound of the two isotropic phases
  // (E 5.372399, G 2.030193), not a matrix weakened below its own E of 3.
  const Eng spheres = combine(cf, mm::eshelby_tensor(0, 0.0, 0.35), 0.3);
  EXPECT_NEAR(spheres[0], 5.372399, 5e-7);
  EXPECT_NEAR(spheres[5], 2.030193, 5e-7);
  // Aligned cylinders: the Mori-Tanaka scheme.
  expect_relative(combine(cf, mm::eshelby_tensor(1, 1.0, 0.35), 0.3),
                  mm::concentration_scheme(ply(glass, epoxy, 0.3), 3), 1e-13, "cylinders");
  // A phase that is matrix, or no phase at all: the matrix.
  const Eng matrix = mm::engineering_constants(math::inverse(cm));
  expect_relative(combine(cm, mm::eshelby_tensor(0, 0.0, 0.35), 0.3), matrix, 1e-14, "matrix phase");
  expect_relative(combine(cf, mm::eshelby_tensor(0, 0.0, 0.35), 0.0), matrix, 1e-14, "empty phase");
  Mat6 r;
  const int none = 0;
  GeneralizedMoriTanaka(r.data(), nullptr, nullptr, nullptr, cm.data(), &none);
  EXPECT_EQ(r, cm * Mat6::identity());
  // Fractions as given: two phases of one kind act as one phase of their
  // summed fraction, whatever the share of each (one of them negative here).
  const Mat6 ek = mm::eshelby_tensor(0, 0.0, 0.35);
  std::array<double, 72> ck2, ek2;
  for (int i = 0; i < 36; ++i) ck2[i] = ck2[36 + i] = cf.data()[i], ek2[i] = ek2[36 + i] = ek.data()[i];
  const double split[2] = {0.5, -0.2};
  const int two = 2;
  GeneralizedMoriTanaka(r.data(), ck2.data(), ek2.data(), split, cm.data(), &two);
  expect_relative(mm::engineering_constants(math::inverse(r)), spheres, 1e-13, "split phase");
}

TEST_F(Micromechanic, VoidsAndInterphase) {
  const double resin5[5] = {3.0, 3.0, 3.0 / 2.7, 3.0 / 2.7, 0.35};
  const Mat6 sm = mm::voigt_compliance(resin5);
  // Spherical voids, Mori-Tanaka closed form: E 2.714747, G 1.012177, ν 0.341044.
  const Eng porous = mm::engineering_constants(mm::porous_resin_compliance(sm, 0.05, 0));
  EXPECT_NEAR(porous[0], 2.714747, 5e-7);
  EXPECT_NEAR(porous[3], 1.012177, 5e-7);
  EXPECT_NEAR(porous[8], 0.341044, 5e-7);
  // No voids: the resin, whatever the void kind.
  for (int voidtype : {0, 1})
    EXPECT_LT(max_difference(mm::porous_resin_compliance(sm, 0.0, voidtype), sm), 1e-15);
  // The eight void classes: empty inclusions of the tabulated shapes and
  // shares combined by Mori-Tanaka, then the isotropic averages of the
  // compliance.  They weaken the resin more than spheres do.
  const struct {
    int kind;
    double ratio, share;
  } table[8] = {{1, 1.5, 0.07},  {1, 2.5, 0.12},  {2, 3.73, 0.15}, {2, 3.69, 0.27},
                {2, 4.05, 0.15}, {3, 0.245, 0.10}, {3, 0.13, 0.09}, {3, 0.07, 0.05}};
  std::vector<double> empty(8 * 36, 0.0), shapes, shares;
  for (const auto& c : table) {
    const Mat6 e = mm::eshelby_tensor(c.kind, c.ratio, 0.35);
    shapes.insert(shapes.end(), e.v.begin(), e.v.end());
    shares.push_back(0.05 * c.share);
  }
  const Mat6 scp = math::inverse(mm::generalized_mori_tanaka(empty.data(), shapes.data(), shares.data(),
                                                             math::inverse(sm), 8));
  const double e = 3.0 / (scp(1, 1) + scp(2, 2) + scp(3, 3)), g = 3.0 / (scp(4, 4) + scp(5, 5) + scp(6, 6));
  const double nu = -e * (scp(1, 2) + scp(1, 3) + scp(2, 1) + scp(2, 3) + scp(3, 1) + scp(3, 2)) / 6.0;
  const Eng classes = mm::engineering_constants(mm::porous_resin_compliance(sm, 0.05, 1));
  EXPECT_NEAR(classes[0], e, 1e-13 * e);
  EXPECT_NEAR(classes[5], g, 1e-13 * g);
  EXPECT_NEAR(classes[8], nu, 1e-13);
  EXPECT_LT(classes[0], porous[0]);
  EXPECT_EQ(classes[0], classes[2]);
  // A fibre in an interphase of its own material is the fibre.
  const double iso[5] = {70.0, 70.0, 70.0 / 2.4, 70.0 / 2.4, 0.2};
  Mat6 sfb;
  const double vf = 0.3, vinter = 0.1;
  GetFiberBundleComplianceMatrix(sfb.data(), mm::voigt_compliance(iso).data(), mm::voigt_compliance(iso).data(),
                                 &vf, &vinter);
  EXPECT_LT(max_difference(sfb, mm::voigt_compliance(iso)), 1e-15);
  // Phase reduction: too much of everything gives nothing; nothing extra the
  // plain compliances; void kinds above 1 are the classes.
  mm::Constituents k = ply(glass, epoxy, 0.6);
  k.vint = 0.3;
  k.vvoid = 0.2;
  EXPECT_TRUE(mm::phase_reduction(k).empty());
  EXPECT_EQ(mm::voigt_bound(k), Eng{});
  const mm::Phases plain = mm::phase_reduction(ply(glass, epoxy, 0.6));
  EXPECT_EQ(plain.sf, mm::voigt_compliance(glass));
  EXPECT_LT(max_difference(plain.sm, sm), 1e-15);
  k = ply(glass, epoxy, 0.5);
  k.vvoid = 0.02;
  k.voidtype = 5;
  const Mat6 five = mm::phase_reduction(k).sm;
  k.voidtype = 1;
  EXPECT_EQ(five, mm::phase_reduction(k).sm);
  // An interphase of the matrix's own properties (interprops zero) is matrix:
  // fibre bundle + Mori-Tanaka equals Mori-Tanaka of the fibre alone at vf.
  k = ply(glass, epoxy, 0.3);
  k.vint = 0.1;
  const Eng with_interphase = mm::concentration_scheme(k, 3);
  expect_relative(with_interphase, mm::concentration_scheme(ply(glass, epoxy, 0.3), 3), 1e-12, "interphase");
  const double stiff[2] = {10.0, 0.3};
  k.interprops = stiff;
  EXPECT_GT(mm::concentration_scheme(k, 3)[1], with_interphase[1]);
}

// ---------------------------------------------------------------------------
// Schemes.

TEST_F(Micromechanic, MoriTanakaIsHashinHill) {
  // Aligned circular fibres: the Hashin-Hill closed forms (E1, E2, G23, G12, ν12).
  struct Case {
    const double *fibre, *matrix;
    double vf;
    std::array<double, 5> want;
    double tol;
  };
  const Case cases[] = {
      {glass, epoxy, 0.3, {23.118987, 5.355905, 1.819768, 1.966681, 0.297107}, 5e-7},
      {carbon_fibre, resin, 0.6, {139381.9, 7770.666, 2882.334, 4294.584, 0.255798}, 5e-7}};
  for (const Case& c : cases) {
    const mm::Constituents k = ply(c.fibre, c.matrix, c.vf);
    const Eng mt = mm::concentration_scheme(k, 3);
    const std::array<double, 5> got{mt[0], mt[1], mt[3], mt[5], mt[8]};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_NEAR(got[i], c.want[i], c.tol * std::max(1.0, c.want[i])) << i;
    // Two phases: Chow, Mura and the lower Hashin-Shtrikman bound are Mori-Tanaka.
    expect_relative(mm::concentration_scheme(k, 4), mt, 1e-12, "Chow");
    expect_relative(mm::mura(k), mt, 1e-12, "Mura");
    expect_relative(mm::concentration_scheme(k, 1), mt, 1e-12, "lower Hashin-Shtrikman");
    // Moduli between the Reuss and Voigt bounds (Lielens up to 1e-4).
    const Eng lo = mm::reuss_bound(k), hi = mm::voigt_bound(k);
    const Eng schemes[] = {mt, mm::cscs(k), mm::concentration_scheme(k, 5)};
    for (std::size_t s = 0; s < 3; ++s)
      for (std::size_t i : {0, 1, 3, 5}) {
        EXPECT_GT(schemes[s][i], lo[i]) << s << " " << i;
        EXPECT_LT(schemes[s][i], hi[i] * (s == 2 ? 1.0 + 1e-4 : 1.0)) << s << " " << i;
      }
  }
  EXPECT_EQ(take(), latch(0));
}

TEST_F(Micromechanic, NoFibreIsTheMatrix) {
  const mm::Constituents k = ply(glass, epoxy, 0.0);
  const double g = 3.0 / 2.7;
  const Eng matrix{3.0, 3.0, 3.0, g, g, g, 0.35, 0.35, 0.35};
  expect_relative(mm::voigt_bound(k), matrix, 1e-14, "Voigt");
  expect_relative(mm::reuss_bound(k), matrix, 1e-14, "Reuss");
  for (int atype = 0; atype <= 5; ++atype) expect_relative(mm::concentration_scheme(k, atype), matrix, 1e-14, "");
  expect_relative(mm::mura(k), matrix, 1e-14, "Mura");
  expect_relative(mm::cscs(k), matrix, 1e-14, "CSCS");
  const auto hg = mm::huang(k, nullptr, nullptr), ch = mm::cumulative(k, nullptr, 1);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_NEAR(hg[i], matrix[i], 1e-13 * matrix[i]) << i;
    EXPECT_NEAR(ch[i], matrix[i], 1e-12 * matrix[i]) << i;
  }
}

TEST_F(Micromechanic, SelfConsistentIteration) {
  // maxit below 1 and a threshold never reached stop after the first pass,
  // which for a circular section is the dilute scheme.
  const mm::Constituents k = ply(glass, epoxy, 0.3);
  const Eng dilute = mm::concentration_scheme(k, 0);
  expect_relative(mm::cscs(k, 0), dilute, 1e-14, "maxit 0");
  expect_relative(mm::cscs(k, -3), dilute, 1e-14, "maxit -3");
  expect_relative(mm::cscs(k, 200, 1e300), dilute, 1e-14, "threshold");
  // Converged: one more pass changes nothing, and it stiffens beyond the
  // first pass.
  const Eng converged = mm::cscs(k);
  expect_relative(mm::cscs(k, 400, 1e-12), converged, 1e-7, "converged");
  EXPECT_GT(converged[1], dilute[1]);
  EXPECT_GT(mm::cscs(k, 2)[1], dilute[1]);
}

TEST_F(Micromechanic, BridgingModels) {
  const mm::Constituents k = ply(glass, epoxy, 0.3);
  const double none[4] = {0.0, 0.0, 0.0, 0.0}, strengths[4] = {2000.0, 1.0, 50.0, 80.0};
  const auto plain = mm::huang(k, none, nullptr);
  EXPECT_EQ(plain, mm::huang(k, nullptr, nullptr));
  for (std::size_t i = 9; i < 12; ++i) EXPECT_EQ(plain[i], 0.0);
  const auto strong = mm::huang(k, strengths, nullptr);
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(strong[i], plain[i]);
  for (std::size_t i = 9; i < 12; ++i) EXPECT_GT(strong[i], 0.0);
  // Huang's E1 is the rule of mixtures; its G12 with β = 1/2 is Hashin-Hill's.
  EXPECT_NEAR(plain[0], 0.3 * 70.0 + 0.7 * 3.0, 1e-13);
  EXPECT_NEAR(plain[5], 1.966681, 5e-7);
  const double half[2] = {0.5, 0.5}, clamped[2] = {1.5, -1.0}, ends[2] = {1.0, 0.0};
  EXPECT_EQ(mm::huang(k, none, half), plain);
  EXPECT_EQ(mm::huang(k, none, clamped), mm::huang(k, none, ends));
  // Cumulative: strengths only when asked for; the packing of the calibration
  // matters.
  const auto hex = mm::cumulative(k, none, 1), square = mm::cumulative(k, none, 0);
  for (std::size_t i = 9; i < 12; ++i) EXPECT_EQ(hex[i], 0.0);
  EXPECT_NE(hex[1], square[1]);
  EXPECT_EQ(mm::cumulative(k, nullptr, 1), hex);
  // The calibrated bridging matrix: this library's values for glass/epoxy
  // at 0.3 (hexagonal and square packing, and an elliptic section).
  const std::array<double, 12> want[3] = {
      {23.352596251431116, 5.505945252477505, 5.505945252477504, 1.8654165730077579, 1.9908955503610732,
       1.9908955503610732, 0.47104181189129535, 0.2974249726378235, 0.2974249726378229, 643.894564072028,
       96.3451757050847, 103.50523609717065},
      {23.422616938578017, 5.5867283234324665, 5.586728323432465, 1.8896196336828366, 2.020079030655436,
       2.020079030655436, 0.47082498674264217, 0.29735998467145175, 0.2973599846714521, 643.8877978628949,
       97.0909852781567, 104.09393816112285},
      {23.353825539779415, 6.052967077406852, 5.32923282652277, 1.820383934111547, 1.7882940590248901,
       2.3664804725613897, 0.49055569528311166, 0.3092313183407938, 0.2841864473708479, 643.894564072028,
       96.3451757050847, 103.50523609717065}};
  mm::Constituents elliptic = k;
  elliptic.yzratio = 2.0;
  const std::array<double, 12> got[3] = {mm::cumulative(k, strengths, 1), mm::cumulative(k, strengths, 0),
                                         mm::cumulative(elliptic, strengths, 1)};
  for (int c = 0; c < 3; ++c) expect_relative(got[c], want[c], 1e-11, "Cumulative");
  EXPECT_EQ(take(), latch(0));
}

TEST_F(Micromechanic, BridgingStrengths) {
  // A unit bridging matrix: fibre and matrix carry the same stress until the
  // matrix yields at 50.  A matrix without hardening (Emt = 0) then leaves the
  // rest to the fibre (its share 1/vf in tension), whose strength governs:
  // (σuf − (1 − 2)·50)/2.
  const Mat6 b = Mat6::identity();
  const double fibre[4] = {70.0, 70.0, 70.0 / 2.4, 1e9}, matrix[5] = {0.0, 0.0, 0.0, 50.0, 80.0};
  const auto ud = mm::ud_strengths(b, fibre, matrix, 0.5);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isfinite(ud[std::size_t(i)])) << i;
  EXPECT_NEAR(ud[0], (1e9 - (1.0 - 2.0) * 50.0) / 2.0, 1e-6);
  EXPECT_EQ(mm::ud_strengths(b, fibre, matrix, 1.5), mm::ud_strengths(b, fibre, matrix, 1.0));
}

}  // namespace
}  // namespace tavrin
