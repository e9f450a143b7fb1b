// Module interaction: impact contact laws.
#include "engine/descriptor.hpp"
#include "mechanics/contact.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr Arg args = in(Real, "args", "numargs");
constexpr Arg numargs = in(Int, "numargs").opt("len(args)").describe("values of args that are read");

TAVRIN_BINDING_MODULE(interaction,
                      "impact contact laws.\n\n"
                      "Contact between an impactor and a laminate: the residual of the contact-force equation "
                      "(a call-back of the root finder math.bdsafe), the contact stiffness and effective "
                      "modulus, contact radius and indentation depth, the nearest element under each "
                      "impactor, and the Hugoniot elastic limit.  Each law reads its constants from a vector "
                      "args (numargs values, counted from 1 in the descriptions) and picks its variant by an "
                      "integer flag; forces, lengths and moduli are in one consistent unit system (e.g. N, mm, "
                      "MPa).");
TAVRIN_ROUTINE_DOC(contactlaw, ContactLaw,
                   "residual k·δ^n - x of the contact-force equation and its derivative (bdsafe's call-back)",
                   out(Real, "fx").describe("residual k·δ^n - x"), out(Real, "dfx").describe("its derivative by x"), in(Real, "xold").describe("contact force x"),
                   args.describe("k, approach d1, compliance c1, d2, c2, exponent n, offset a0; clflag 1: "
                                 "then ns forces and ns stiffnesses, ns = (numargs-7)/2"),
                   numargs,
                   in(Int, "clflag").describe("0, 2: constant k; 1: k from the table where positive"));
TAVRIN_ROUTINE_DOC(contactstiffness, ContactStiffness, "contact stiffness and effective modulus",
                   out(Real, "k").describe("contact stiffness (not written for flags 4, 5 and unknown ones)"), out(Real, "eeff").describe("effective modulus (0 for flags 2, 4, 5)"),
                   args.describe("r1, h, E1, nu1, curvature, -, E2, nu2, n, F, A, Z, P"), numargs,
                   in(Int, "csflag").describe("0 Hertz, 1 rigid second body, 2 F/(A-Z)^n, 3 power law, "
                                              "6 thickness law"));
TAVRIN_ROUTINE_DOC(contactradius, ContactRadius,
                   "contact radius; 1.7976931348623157e308 for an unknown flag", out(Real, "radius").describe("contact radius"),
                   args.describe("F, E, R, cylinder length"), numargs,
                   in(Int, "cdflag").describe("0-4 sphere, 5-6 cylinder"));
TAVRIN_ROUTINE_DOC(contactdepth, ContactDepth,
                   "indentation depth; 1.7976931348623157e308 for an unknown flag", out(Real, "indentation").describe("indentation depth"),
                   args.describe("F, R, E* (effective modulus), length"), numargs,
                   in(Int, "cdflag").describe("0 Hertz (9F²/(16·R·E*²))^(1/3), 1 F/(2·R·E*), 2 π·args(4)/2"));
TAVRIN_ROUTINE_DOC(contactarea, ContactArea,
                   "records the nearest element under each impactor (first visit: the distance only)",
                   inout(Real, "dprops", "12,nimp").describe(
                       "impactor records: 2-4 position, 5 nearest element, 6 its distance (0: none yet), "
                       "8, 10 and 9, 11 half element lengths"),
                   in(Real, "coord", "3").describe("integration point"),
                   in(Int, "noel").describe("element number"), in(Int, "nimp").opt("shape(dprops,1)").describe("impactors"),
                   in(Real, "elemlength", "3").absent().describe("element lengths (absent: none stored)"));
TAVRIN_ROUTINE_DOC(gethugonoitelasticlimit, GetHugonoitElasticLimit,
                   "Hugoniot elastic limit yc·(1-nu)/(1-2nu)², the factor (1-2nu) squared",
                   result(Real, "gethugonoitelasticlimit").describe(
                       "Hugoniot elastic limit (unit of yc)"), in(Real, "yc").describe("yield strength"),
                   in(Real, "nu").describe("Poisson's ratio"));

}  // namespace
}  // namespace tavrin::bind
