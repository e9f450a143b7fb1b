// Module micromechanic: ply constants from fibre and matrix by closed-form
// rules, Eshelby and concentration tensors, the phase reduction of fibre,
// interphase, matrix and voids, and the mean-field homogenisation schemes.
#include "engine/descriptor.hpp"
#include "mechanics/micromechanic.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(micromechanic,
                      "micromechanics: ply constants from fibre and matrix, Eshelby and concentration "
                      "tensors, mean-field homogenisation.\n\n"
                      "Elastic constants (and strengths) of a unidirectional ply, fibres along axis 1, from "
                      "those of fibre and matrix, with an interphase and voids: closed-form rules, Eshelby and "
                      "concentration tensors, and the mean-field schemes (Voigt, Reuss, dilute, Mori-Tanaka, "
                      "Chow, Lielens, Hashin-Shtrikman, Mura, self-consistent, bridging).  A four-value fibre "
                      "is (Efa, Eft, Gfa, nu12), a five-value one (E1, E2, G12, G23, nu12), a matrix (Em, num); "
                      "nine ply constants are (E1, E2, E3, G23, G13, G12, nu23, nu13, nu12).  6x6 stiffnesses "
                      "and compliances are in the Voigt order 11, 22, 33, 23, 13, 12 with engineering shear "
                      "strains.  Moduli in one consistent unit (e.g. MPa); volume fractions are clamped to "
                      "[0, 1], except the void fraction of getporousresincompliancematrix and the phase fractions of "
                      "generalizedmoritanaka (used as given; the matrix keeps 1 minus their sum).");

// Arguments shared by the routines.
constexpr Arg fibre4 = in(Real, "fiberprops", "4").describe("fibre (Efa, Eft, Gfa, nu12): axial and "
                                                             "transverse modulus, in-plane shear modulus");
constexpr Arg fibre5 = in(Real, "fiberprops", "5")
                           .describe("fibre (E1, E2, G12, G23, nu12), transversely isotropic about axis 1");
constexpr Arg matrix2 = in(Real, "matrixprops", "2").describe("isotropic matrix (Em, num)");
constexpr Arg vf = in(Real, "vf").describe("fibre volume fraction, clamped to [0, 1]");
constexpr Arg ply4 = out(Real, "", "4");
constexpr Arg mat6 = in(Real, "", "6,6");

constexpr Arg vvoid = in(Real, "vvoid").opt("0.0").describe("void volume fraction of the ply");
constexpr Arg vint = in(Real, "vint").opt("0.0").describe("interphase volume fraction of the ply");
constexpr Arg interprops = in(Real, "interprops", "2")
                               .opt("0")
                               .describe("interphase (Ei, nui); summing to 0 or less: the matrix's");
constexpr Arg voidtype =
    in(Int, "voidtype").opt("0").describe("1: eight classes of void shapes; other: spherical voids");
constexpr Arg yzratio =
    in(Real, "yzratio").opt("1.0").describe("semi-axis ratio a2/a3 of the fibre's elliptic section");
constexpr Arg strengthprops =
    in(Real, "strengthprops", "4")
        .opt("0")
        .describe("(fibre strength, matrix tangent modulus after yield, matrix yield and ultimate "
                  "strength); all zero: no strengths");

constexpr Arg named(Arg a, const char* name, const char* doc) {
  a.name = name;
  a.doc = doc;
  return a;
}
constexpr Arg four_result(const char* name) {
  return named(ply4, name, "(E1, E2, G12, nu12) of the ply");
}
constexpr Arg nine(const char* name) {
  return out(Real, name, "9").describe("(E1, E2, E3, G23, G13, G12, nu23, nu13, nu12) of the ply");
}
constexpr Arg twelve(const char* name) {
  return out(Real, name, "12").describe("(E1, E2, E3, G23, G13, G12, nu23, nu13, nu12) of the ply, then "
                                        "the strengths 11, 22, 12 (0 without strengthprops)");
}

// --- Closed-form rules -----------------------------------------------------

TAVRIN_ROUTINE_DOC(ruleofmixture, RuleOfMixture,
                   "ply constants by the rule of mixtures (E2, G12 by the inverse rule)",
                   four_result("rm"), fibre4, matrix2, vf);
TAVRIN_ROUTINE_DOC(abolinsh, Abolinsh, "ply constants with E2 and G12 of Abolinsh (G12 the Hashin bound)",
                   four_result("ah"), fibre4, matrix2, vf);
TAVRIN_ROUTINE_DOC(puck, Puck, "ply constants with E2 and G12 of Puck's semi-empirical rule",
                   four_result("pu"), fibre4, matrix2, vf);
TAVRIN_ROUTINE_DOC(hopkinschamis, HopkinsChamis, "ply constants with E2 and G12 of Hopkins and Chamis",
                   four_result("hc"), fibre4, matrix2, vf);
TAVRIN_ROUTINE_DOC(halpintsai, HalpinTsai, "ply constants with E2 and G12 of Halpin and Tsai",
                   four_result("ht"), fibre4, matrix2, vf,
                   in(Real, "zeta", "2")
                       .opt("[2+40*pow(vf,10), 1+40*pow(vf,10)]")
                       .describe("reinforcement factors (xiE, xiG); (-1, -1): the default, from the "
                                 "clamped vf"));
TAVRIN_ROUTINE_DOC(chamis, Chamis, "ply constants by Chamis' square-root rule",
                   out(Real, "cs", "csdim")
                       .describe("csdim 4: (E1, E2, G12, nu12); 5: (E1, E2, G12, G23, nu12); 6: also "
                                 "nu23; other: zero"),
                   in(Real, "fiberprops", "csdim")
                       .describe("csdim 4: (Efa, Eft, Gfa, nu12); 5 or 6: (Efa, Eft, Gfa, Gft, nu12, "
                                 "unused)"),
                   matrix2, vf, in(Int, "csdim").opt("len(fiberprops)").describe("4, 5 or 6"));
TAVRIN_ROUTINE_DOC(foye, Foye, "matrix Poisson ratio of Foye from the ply's E1 and nu12",
                   out(Real, "nfoye").describe("in-situ Poisson's ratio of the matrix (dimensionless)"), in(Real, "laminaprops", "2").describe("(E1, nu12) of the ply"),
                   matrix2);
TAVRIN_ROUTINE_DOC(krimmer, Krimmer, "in-situ matrix constants under the constraint of the fibres",
                   out(Real, "km", "5").describe("(Em parallel, Em perpendicular, Gm parallel, Gm "
                                                 "perpendicular, num parallel) to the fibres"),
                   in(Real, "laminaprops", "3").describe("(E1, E2, nu12) of the ply"), fibre5, matrix2, vf);
TAVRIN_ROUTINE_DOC(lth, LTH, "semi-empirical ply constants of a fibre in its cell of matrix",
                   out(Real, "lh", "5").describe("(E1, E2, G12, G23, nu12) of the ply"), fibre5,
                   in(Real, "matrixprops", "mdim")
                       .describe("mdim 5: in-situ (Em par., Em perp., Gm par., Gm perp., num par.); "
                                 "otherwise Em first, num last"),
                   in(Real, "vf").describe("fibre volume fraction, clamped to [0, 0.75] (square) or "
                                           "[0, 0.9] (hexagonal)"),
                   in(Int, "mdim").opt("len(matrixprops)").relation("mdim>=2").describe("2 or more"),
                   in(Int, "fmflag").describe("0: square packing; other: hexagonal"),
                   in(Int, "tcflag").describe("1 with mdim other than 5: Krimmer's in-situ matrix"));
TAVRIN_ROUTINE_DOC(generalizedmoritanaka, GeneralizedMoriTanaka,
                   "Mori-Tanaka stiffness of a matrix with several inclusion phases",
                   out(Real, "cmt", "6,6").describe("effective stiffness, Voigt order 11, 22, 33, 23, 13, 12"),
                   in(Real, "cinc", "6,6,ninc").describe("stiffness of each phase; last axis the phase"),
                   in(Real, "eshinc", "6,6,ninc").describe("Eshelby tensor of each phase"),
                   in(Real, "vinc", "ninc").describe("volume fraction of each phase, used as given (the matrix "
                                                     "keeps 1 - sum(vinc))"),
                   in(Real, "c0", "6,6").describe("matrix stiffness"),
                   in(Int, "ninc").opt("shape(cinc,2)").describe("number of phases"));

// --- Tensors -----------------------------------------------------------------

TAVRIN_ROUTINE_DOC(geteshelbytensor, GetEshelbyTensor,
                   "Eshelby tensor of an inclusion shape in an isotropic (kind 11: transversely "
                   "isotropic) host",
                   out(Real, "et", "6,6").describe("et(i,j) = S_iijj, shear diagonal 2*S_ijij, Voigt order"),
                   in(Int, "incltype").describe("0 sphere, 1 cylinder along 1, 2 prolate spheroid along "
                                                "1, 3 penny with normal 3, 11 cylinder in the host c_m"),
                   in(Real, "inclratio").describe("1: a2/a3 of the section; 2: a1/a2 >= 1; 3: a3/a1; 11: "
                                                  "a2/a3"),
                   in(Real, "nu_m").describe("Poisson ratio of the isotropic host"),
                   named(mat6, "c_m", "host stiffness of kind 11, Voigt order").opt("0"));
TAVRIN_ROUTINE_DOC(getstrainconcentrationtensor, GetStrainConcentrationTensor,
                   "strain concentration tensor of an inclusion in a matrix by a mean-field rule",
                   out(Real, "a", "6,6").describe(
                       "strain concentration tensor of the inclusion by the rule atype, Voigt order"), named(mat6, "et", "Eshelby tensor of the inclusion"),
                   named(mat6, "cinc", "inclusion stiffness"), named(mat6, "cm", "matrix stiffness"),
                   in(Real, "vinc").describe("inclusion volume fraction, clamped to [0, 1]"),
                   in(Int, "atype").opt("0").describe("0 dilute, 1 and 3 Mori-Tanaka, 2 Hashin-Shtrikman "
                                                      "with the inclusion as reference, 4 Chow, 5 Lielens"));
TAVRIN_ROUTINE_DOC(getaveragescfromdualequation, GetAverageSCFromDualEquation,
                   "average stiffness (or compliance) from a concentration tensor: scm + v*(scinc - scm)*bainc",
                   out(Real, "sc", "6,6").describe(
                       "average stiffness (or compliance, as scinc and scm), Voigt order"), named(mat6, "bainc", "concentration tensor of the inclusion"),
                   named(mat6, "scinc", "inclusion stiffness or compliance"),
                   named(mat6, "scm", "matrix stiffness or compliance"),
                   in(Real, "vinc").describe("inclusion volume fraction, clamped to [0, 1]"));
TAVRIN_ROUTINE_DOC(getvoigtcompliancematrix, GetVoigtComplianceMatrix,
                   "compliance of a transversely isotropic material (axis 1), Voigt order",
                   out(Real, "s", "6,6").describe("engineering shear strains: s(4,4) = 1/G23"),
                   in(Real, "props", "5").describe("(E1, E2, G12, G23, nu12)"));
TAVRIN_ROUTINE_DOC(getengconstsfromcompliancematrix, GetEngConstsFromComplianceMatrix,
                   "engineering constants from a compliance in the Voigt order",
                   out(Real, "eng", "9").describe("(E1, E2, E3, G23, G13, G12, nu23, nu13, nu12)"),
                   named(mat6, "s", "compliance, Voigt order 11, 22, 33, 23, 13, 12"));
TAVRIN_ROUTINE_DOC(getfiberbundlecompliancematrix, GetFiberBundleComplianceMatrix,
                   "compliance of a fibre in its interphase, homogenised by Mori-Tanaka",
                   out(Real, "sfb", "6,6").describe("compliance of the fibre bundle (fibre in its interphase), Voigt order"), named(mat6, "sf", "fibre compliance"),
                   named(mat6, "sinter", "interphase compliance"),
                   in(Real, "vf").describe("fibre volume fraction"),
                   in(Real, "vinter").describe("interphase volume fraction"));
TAVRIN_ROUTINE_DOC(getporousresincompliancematrix, GetPorousResinComplianceMatrix,
                   "compliance of a resin with voids (Mori-Tanaka with empty inclusions)",
                   out(Real, "spm", "6,6").describe("compliance of the porous resin, Voigt order"), named(mat6, "sm", "isotropic resin compliance"),
                   in(Real, "vv").describe("void volume fraction, used as given"),
                   in(Int, "voidtype").describe("1: eight classes of void shapes, isotropic average; "
                                                "other: spherical voids"));
TAVRIN_ROUTINE_DOC(getphasereduction, GetPhaseReduction,
                   "fibre bundle (fibre with interphase) and porous matrix compliances of a ply",
                   out(Real, "sf", "6,6").describe("fibre bundle compliance; zero when vf+vint+vvoid > 1"),
                   out(Real, "sm", "6,6").describe("porous matrix compliance; zero when vf+vint+vvoid > 1"),
                   fibre5, matrix2, vf, vvoid, vint, interprops, voidtype);
TAVRIN_ROUTINE_DOC(getudstrengthfrombridgingmatrix, GetUDStrengthFromBridgingMatrix,
                   "ply strengths 11, 22, 12 of the bridging model",
                   out(Real, "ud", "3").describe("strengths 11, 22, 12"),
                   named(mat6, "bridging", "bridging matrix, Voigt order"),
                   in(Real, "fiberprops", "4").describe("(Efa, Eft, Gfa, fibre strength)"),
                   in(Real, "matrixprops", "5")
                       .describe("(unused, unused, tangent modulus after yield, yield strength, "
                                 "ultimate strength)"),
                   vf);

// --- Schemes -------------------------------------------------------------------

TAVRIN_ROUTINE_DOC(voigt, Voigt, "ply constants of the Voigt bound (equal strain)", nine("vt"), fibre5,
                   matrix2, vf, vvoid, vint, interprops, voidtype);
TAVRIN_ROUTINE_DOC(reuss, Reuss, "ply constants of the Reuss bound (equal stress)", nine("rs"), fibre5,
                   matrix2, vf, vvoid, vint, interprops, voidtype);
TAVRIN_ROUTINE_DOC(dilute, Dilute, "ply constants of the dilute (Eshelby) scheme", nine("es"), fibre5,
                   matrix2, vf, vvoid, vint, interprops, yzratio, voidtype);
TAVRIN_ROUTINE_DOC(moritanaka, MoriTanaka, "ply constants of the Mori-Tanaka scheme", nine("mt"), fibre5,
                   matrix2, vf, vvoid, vint, interprops, yzratio, voidtype);
TAVRIN_ROUTINE_DOC(chow, Chow, "ply constants of Chow's scheme", nine("cw"), fibre5, matrix2, vf, vvoid,
                   vint, interprops, yzratio, voidtype);
TAVRIN_ROUTINE_DOC(lielens, Lielens, "ply constants of Lielens' interpolation of the Hashin-Shtrikman "
                   "bounds", nine("li"), fibre5, matrix2, vf, vvoid, vint, interprops, yzratio, voidtype);
TAVRIN_ROUTINE_DOC(hashinshtrikman, HashinShtrikman, "ply constants of a Hashin-Shtrikman bound",
                   nine("hs"), fibre5, matrix2, vf,
                   in(Int, "luflag").describe("> 0: the fibre as reference medium; otherwise the matrix "
                                              "(Mori-Tanaka)"),
                   vvoid, vint, interprops, yzratio, voidtype);
TAVRIN_ROUTINE_DOC(mura, Mura, "ply constants of Mura's equivalent-inclusion scheme", nine("ma"), fibre5,
                   matrix2, vf, vvoid, vint, interprops, yzratio, voidtype);
TAVRIN_ROUTINE_DOC(cscs, CSCS, "ply constants of the composite self-consistent iteration", nine("sc"),
                   fibre5, matrix2, vf, vvoid, vint, interprops, yzratio, voidtype,
                   in(Int, "maxit").opt("200").describe("passes at most; below 1: one pass"),
                   in(Real, "threshold").opt("1e-08").describe("largest growth of a concentration "
                                                               "entry that ends the iteration"));
TAVRIN_ROUTINE_DOC(huang, Huang, "ply constants and strengths of Huang's bridging model", twelve("hg"),
                   fibre5, matrix2, vf, vvoid, vint, interprops, strengthprops,
                   in(Real, "cp", "2").opt("[0.5, 0.5]").describe("bridging parameters (alpha, beta), "
                                                                  "each clamped to [0, 1]"),
                   voidtype);
TAVRIN_ROUTINE_DOC(cumulative, Cumulative,
                   "ply constants and strengths of a bridging matrix calibrated on the semi-empirical "
                   "constants",
                   twelve("ch"), fibre5, matrix2, vf, vvoid, vint, interprops, strengthprops, yzratio,
                   voidtype,
                   in(Int, "rvetype").opt("1").describe("0: square packing; other: hexagonal"));

}  // namespace
}  // namespace tavrin::bind
