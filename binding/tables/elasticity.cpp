// Module elasticity: stress laws and their numerical tangent.
#include "engine/descriptor.hpp"
#include "mechanics/elasticity.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

// The stress law of the tangent in its two C forms.  A Python function
// always receives complex vectors (central differences: zero imaginary
// parts, the real parts are read back).
TAVRIN_CALLBACK(complex_stress_law, elasticity::ComplexStressLaw, "getstressfromelasticity",
                out(Complex, "stresspercmplx", "ntens"), in(Complex, "dstrainpercmplx", "ntens"),
                in(Real, "props", "nprops"), in(Int, "ntens").opt("len(dstrainpercmplx)"), in(Int, "ndi"),
                in(Int, "nprops").opt("len(props)"));
TAVRIN_CALLBACK(real_stress_law, elasticity::RealStressLaw, "getstressfromelasticity",
                out(Real, "stress", "ntens"), in(Real, "strain", "ntens"), in(Real, "props", "nprops"),
                in(Int, "ntens"), in(Int, "ndi"), in(Int, "nprops"));

constexpr Arg stress = out(Real, "stress", "ntens").describe("solver order 11, 22, 33, 12, 13, 23");
constexpr Arg strain = in(Real, "strain", "ntens").describe("solver order, engineering shears");
constexpr Arg props = in(Real, "props", "nprops").describe("material constants");
constexpr Arg ntens3d = in(Int, "ntens").opt("len(strain)").relation("ntens==6").describe("stress and strain components: 6");
constexpr Arg ndi3d = in(Int, "ndi").relation("ndi==3").describe("direct components: 3");
constexpr Arg nprops = in(Int, "nprops").opt("len(props)").describe("values of props that are read");
constexpr Arg ndi_tensor = in(Int, "ndi").opt("shape(endstrandev,0)").relation("ndi<=3").describe(
    "dimension of the strain deviator (1, 2 or 3): the leading ndi x ndi block of stresstens is written");
constexpr Arg endstrandev = in(Real, "endstrandev", "ndi,ndi").describe("strain deviator");
constexpr Arg stresstens = out(Real, "stresstens", "3,3").describe("entries i, j <= ndi written");
constexpr Arg spureps = in(Real, "spureps").describe("volumetric strain (trace)");
constexpr Arg normdev = in(Real, "normdev").describe("Frobenius norm of the deviator");
constexpr Arg normvol = in(Real, "normvol").describe("|trace|");

TAVRIN_BINDING_MODULE(elasticity,
                      "stress laws and their numerical tangent.\n\n"
                      "Stress laws map a strain vector to a stress vector in the solver order 11, 22, 33, 12, "
                      "13, 23 with engineering shears (ntens components, of which ndi direct), with the "
                      "material constants in props; the tensor laws work on 3x3 stress tensors instead.  "
                      "Moduli and stresses are in one consistent unit (e.g. MPa).  getnumericaltangent "
                      "differentiates any such law by central differences or the complex step.  The 3-D laws "
                      "need ntens = 6 and ndi = 3: otherwise errorhandling.errstat -2 is latched and the "
                      "stress is zero.");
TAVRIN_ROUTINE_DOC(
    getnumericaltangent, elasticity::getnumericaltangent,
    "material tangent dsigma/deps of a stress law by central differences or the complex step",
    out(Real, "ddsdde", "ntens,ntens").describe("column j: derivative by strain j"),
    callback("realstresslaw", real_stress_law).form_of_callback("getstressfromelasticity"),
    callback("getstressfromelasticity", complex_stress_law)
        .relation("nmflag!=1 || getstressfromelasticity")
        .describe("stress law: a Python function (complex vectors), or a routine object or _cpointer "
                  "of a real or complex law; the complex step needs a complex one"),
    props, in(Real, "stress1", "ntens").describe("stress at the end of the increment"),
    in(Real, "stress0", "ntens").describe("stress at its start"),
    in(Real, "dstrain", "ntens").describe("strain at which the law is differentiated"),
    in(Int, "ntens").opt("len(stress1)").describe("stress and strain components"), in(Int, "ndi").describe("direct components"), nprops,
    in(Logical, "istensor").describe("double the shear entries of dstrain (derivatives by engineering shears)"),
    in(Real, "tgref", "ntens,ntens").absent().describe(
        "reference tangent, returned when tgref·dstrain = stress1 - stress0 exactly (absent: zero)"),
    in(Real, "h").opt("2.2e-16").describe(
        "step; 0 gives 1e-8 (pass about 1e-6 for central differences: the default suits the complex step)"),
    in(Int, "nmflag").opt("0").describe("1: complex step; other: central differences"));
TAVRIN_ROUTINE_DOC(real_getstressfromanisotropichyperelasticity, fGetStressFromAnisotropicHyperelasticity,
                   "stress S·strain of a linear anisotropic law", stress, strain,
                   props.describe("S column by column (ntens² values) or its upper triangle row by row"),
                   in(Int, "ntens").opt("len(strain)").describe("stress and strain components (order of S)"), in(Int, "ndi").describe("direct components (not used)"),
                   nprops.relation("nprops>=ntens*(ntens+1)/2"));
TAVRIN_ROUTINE_DOC(cmplx_getstressfromanisotropichyperelasticity, cGetStressFromAnisotropicHyperelasticity,
                   "stress S·strain of a linear anisotropic law in complex arithmetic",
                   out(Complex, "stress", "ntens").describe("solver order"),
                   in(Complex, "strain", "ntens").describe("solver order, engineering shears"),
                   props.describe("S column by column (ntens² values) or its lower triangle row by row"),
                   in(Int, "ntens").opt("len(strain)").describe("stress and strain components (order of S)"), in(Int, "ndi").describe("direct components (not used)"),
                   nprops.relation("nprops>=ntens*(ntens+1)/2"));
TAVRIN_ROUTINE_DOC(getderivatef, elasticity::getderivatef,
                   "gradient of the yield function q² - a0 - a1·p",
                   out(Real, "getderivatef", "nstress").describe("layout of stressvector"),
                   in(Real, "stressvector", "nstress").describe("(11, 22, 12), (11, 22, 33, 12) or solver order"),
                   in(Int, "nstress").opt("len(stressvector)").relation("nstress==3 || nstress==4 || nstress>=6")
                       .describe("stress components: 3, 4 or at least 6 (the first six used)"),
                   in(Real, "a0").describe("constant of the yield function (does not enter)"),
                   in(Real, "a1").describe("pressure factor"));
TAVRIN_ROUTINE_DOC(getderivateg, elasticity::getderivateg,
                   "gradient of the flow potential q² + alpha·p²",
                   out(Real, "getderivateg", "nstress").describe("layout of stressvector"),
                   in(Real, "stressvector", "nstress").describe("(11, 22, 12), (11, 22, 33, 12) or solver order"),
                   in(Int, "nstress").opt("len(stressvector)").relation("nstress==3 || nstress==4 || nstress>=6")
                       .describe("stress components: 3, 4 or at least 6 (the first six used)"),
                   in(Real, "alpha").describe("constant of the flow potential"));
TAVRIN_ROUTINE_DOC(
    getstressfromplastitcity, elasticity::getstressfromplastitcity,
    "elastic predictor, plastic return to q² = a0 + a1·p, consistent tangent; traces every step",
    out(Real, "stress", "ntens").describe("solver order; the increment is added to zero"),
    inplace(Real, "neweqplasticstrain").describe("equivalent plastic strain, updated in place (0-d array)"),
    out(Real, "ddsdde", "ntens,ntens").describe("consistent tangent (C after an elastic step)"), in(Real, "stran", "ntens").describe("strain at the start, engineering shears"),
    in(Real, "dstran", "ntens").describe("strain increment"),
    props.describe("Et, Ec, G, nut, nuc, a0, a1, alpha"),
    in(Int, "ntens").opt("len(stran)").relation("ntens==6").describe("stress and strain components: 6"),
    in(Int, "ndi").describe("direct components"),
    in(Int, "nprops").relation("nprops>=8").describe("values of props, at least 8 (not otherwise used)"), in(Real, "temp").describe("not used"));
TAVRIN_ROUTINE_DOC(getstressfromorthotropicelasticity, GetStressFromOrthotropicElasticity,
                   "stress C·strain with the on-axis ply stiffness", stress, strain,
                   props.describe("ply constants E1, E2, E3, nu12, nu13, nu23, G12, G13, G23"),
                   in(Int, "ntens").opt("len(strain)").describe("stress and strain components: 3, 4 or 6"), in(Int, "ndi").describe("direct components"), nprops);
TAVRIN_ROUTINE_DOC(getstressfromisotropicviscoelasticity, GetStressFromIsotropicViscoElasticity,
                   "stress of the isotropic law with strain-softened moduli", stress, strain,
                   props.describe("E, gamma, nu, num, variant (0 Lame, 1 Kaestner, 2 Krause, 3 varying nu)"),
                   ntens3d, ndi3d, nprops.relation("nprops>=5"));
TAVRIN_ROUTINE_DOC(getstressfromnonlinearisotropic, GetStressFromNonlinearIsotropic,
                   "stress of the isotropic law with strain-dependent E and nu (fixed-point iteration)",
                   stress, strain, props.describe("E0, gamma_n, G0, nu0, gamma_s"), ntens3d, ndi3d,
                   nprops.relation("nprops>=5"));
TAVRIN_ROUTINE_DOC(getstressfromdevvoldecomposition, GetStressFromDevVolDecomposition,
                   "stress and tangent of the deviatoric/volumetric law with built-in constants", stress,
                   strain, props.describe("props(5) must be 1"), ntens3d, ndi3d,
                   nprops.relation("nprops>=5"),
                   out(Real, "ddsdde", "ntens,ntens").describe("tangent (secant) stiffness"));
TAVRIN_ROUTINE_DOC(getstressfromcubicelasticity, GetStressFromCubicElasticity,
                   "stress of the law with tabulated volumetric, normal and shear factors"
                   "\n\nShared state: reads the factor tables materialdata.alpha1props (volumetric), "
                   "materialdata.alpha2props (deviatoric normal) and materialdata.alpha3props (shear), each "
                   "(temperature row, point, (strain measure, factor)) with its first materialdata.nalpha1data, "
                   "nalpha2data or nalpha3data points, at the temperature props(1) interpolated over "
                   "materialdata.temperatures (unset: row 1).  A table unset latches -2 \"Resin table "
                   "alpha1props is not allocated\" (or alpha2props, alpha3props) and gives that factor 0, so "
                   "its part of the stress is 0.", stress,
                   in(Real, "endstran", "ntens").describe("solver order, engineering shears"),
                   props.describe("temperature (K), E"), in(Int, "ntens").opt("len(endstran)").relation("ntens==6").describe("stress and strain components: 6"),
                   ndi3d, nprops.relation("nprops>=2"),
                   inplace(Real, "c", "ntens,ntens").describe("receives the secant stiffness"),
                   in(Int, "noel").describe("not used"));
TAVRIN_ROUTINE_DOC(getlamestress, GetLameStress, "stress tensor 2g·D + komp·tr·I", spureps, endstrandev,
                   in(Real, "g").describe("shear modulus"),
                   in(Real, "komp").describe("bulk modulus"), stresstens, ndi_tensor);
TAVRIN_ROUTINE_DOC(getkaestnerstress, GetKaestnerStress, "stress tensor with Kaestner-softened moduli",
                   normdev, normvol, spureps, endstrandev, in(Real, "g").describe("shear modulus"), in(Real, "gammag").describe("deviatoric softening coefficient"),
                   in(Real, "gammak").describe("volumetric softening coefficient"), in(Real, "komp").describe("bulk modulus"), stresstens, ndi_tensor);
TAVRIN_ROUTINE_DOC(getkrausestress, GetKrauseStress, "stress tensor with Krause-softened moduli", normdev,
                   normvol, spureps, endstrandev, in(Real, "g").describe("shear modulus"), in(Real, "gammag").describe("deviatoric softening coefficient"), in(Real, "gammak").describe("volumetric softening coefficient"),
                   in(Real, "komp").describe("bulk modulus"), stresstens, ndi_tensor);
TAVRIN_ROUTINE_DOC(getstressfromnonconstpoisson, GetStressFromNonConstPoisson,
                   "stress tensor with a softened shear modulus and a strain-dependent Poisson ratio",
                   normdev, normvol.describe("not used"), spureps, endstrandev, in(Real, "e").describe("Young's modulus"),
                   in(Real, "g").describe("shear modulus"), in(Real, "nu").describe("Poisson's ratio"),
                   in(Real, "num").describe("slope of the effective Poisson's ratio"),
                   in(Real, "gamma").describe("softening coefficient"), stresstens, ndi_tensor);
TAVRIN_ROUTINE_DOC(getcomponentstensioncompression, GetComponentsTensionCompression,
                   "tension or compression values of a nine-value set by the sign of a criterion",
                   in(Real, "full_set", "9").describe("1t, 1c, 2t, 2c, 3t, 3c, s12, s13, s23"),
                   out(Real, "reduced_set", "6").describe(
                       "1, 2, 3 the tension or compression value by the sign of criterion(1-3), then s12, s13, s23"),
                   in(Real, "criterion", "6").describe("entries 1-3: > 0 takes tension"));

}  // namespace
}  // namespace tavrin::bind
