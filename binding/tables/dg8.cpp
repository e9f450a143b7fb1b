// Module dg8: eight-parameter model of a buckled elliptical delamination,
// its Newton solution, energy release rates and growth driver.
#include "delamination/dg8.hpp"
#include "engine/descriptor.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

inline constexpr const char* dg8_doc =
    "buckled elliptical delamination: the sublaminate over an ellipse of semi-axes a (along x) "
    "and b (along y) as a clamped von Karman plate with eight unknowns, its strain and contact "
    "energies, Newton equilibrium, energy release rates at the ends of the axes and the growth "
    "driver.\n\n"
    "Conventions: vec = (p1, p2, q1, q2, r1, r2, r3, r4) with xi = x/a, eta = y/b, "
    "c = 1 - xi^2 - eta^2, u = c*(p1*xi + p2*eta), v = c*(q1*xi + q2*eta), "
    "w = c^2*(r1 + r2*xi^2 + r3*eta^2 + r4*xi*eta) (w > 0 away from the base laminate).  "
    "Strains (eps_x, eps_y, gamma_xy) with engineering shear in the ellipse frame; abd is the "
    "sublaminate's [A B; B D] (6x6, order x, y, shear), only its upper triangle is read.  "
    "Logical w is an integer (0 false).  Failures are latched (errorhandling.errstat -2).";

TAVRIN_BINDING_MODULE(dg8, dg8_doc);

constexpr Arg vec = in(Real, "vec", "8").describe("unknowns (p1, p2, q1, q2, r1, r2, r3, r4): in-plane "
                                                  "amplitudes p, q and deflection amplitudes r");
constexpr Arg eps = in(Real, "eps", "3").describe("applied membrane strain (eps_x, eps_y, gamma_xy), "
                                                  "ellipse frame");
constexpr Arg a = in(Real, "a").describe("semi-axis along x");
constexpr Arg b = in(Real, "b").describe("semi-axis along y");
constexpr Arg abd = in(Real, "abd", "6,6").describe("sublaminate stiffness [A B; B D], upper triangle read");
constexpr Arg g0 = in(Real, "g0").describe("energy per unit area per squared unit of load-level strain");
constexpr Arg epsbucklin = in(Real, "epsbucklin").describe("the sublaminate's linear buckling strain");
constexpr Arg w = in(Int, "w").describe("logical (0 false): buckling found; when false f(5) carries "
                                        "the imperfection load -pi*a*b*g0*epsbucklin^2/10");
constexpr Arg kmd = in(Real, "kmd").describe("contact penalty stiffness per unit area");
constexpr Arg nk = in(Int, "nk").describe("contact grid cells along the shorter semi-axis (below 1: "
                                          "cell size 3a); a grid beyond 2147483647 points is refused "
                                          "(errstat -2, no contact)");
constexpr Arg relepsellipse = in(Real, "relepsellipse", "3")
                                  .describe("load ratio (eps_x, eps_y, gamma_xy) in the ellipse frame; "
                                            "applied strain = epsnom*relepsellipse");
constexpr Arg epsnom = in(Real, "epsnom").describe("load level (strain)");

TAVRIN_ROUTINE_DOC(getstrainenergy8, GetStrainEnergy8,
                   "Strain energy of the buckled sublaminate over the ellipse, in closed form.",
                   vec, eps, a, b, abd, result(Real, "getstrainenergy8").describe("strain energy"));
TAVRIN_ROUTINE_DOC(getf8, GetF8,
                   "Residual f = dU/dvec of the eight-parameter plate (with the imperfection load on "
                   "f(5) while w is false).",
                   out(Real, "f", "8").describe("residual, in the order of vec"), vec, eps, g0,
                   epsbucklin, a, b, abd, w);
TAVRIN_ROUTINE_DOC(getdf8, GetdF8,
                   "Jacobian d2U/dvec2 of the eight-parameter plate, symmetric.",
                   out(Real, "df", "64").describe("Jacobian, column by column: df(i + 8*(j-1)) = "
                                                  "df(i)/dvec(j)"),
                   vec, eps, in(Real, "g0").describe("not used"), a, b, abd,
                   in(Int, "w").describe("not used"));
TAVRIN_ROUTINE_DOC(getcontactenergy8, GetContactEnergy8,
                   "Penalty energy sum(kmd*h^2*w^2/2) over the grid points where the sublaminate "
                   "penetrates the base laminate (w < 0).",
                   vec, a, b, kmd, nk, result(Real, "getcontactenergy8").describe("contact energy"));
TAVRIN_ROUTINE_DOC(getkdfkf8, GetKdfKf8,
                   "Gradient and Hessian of the contact energy with respect to r1..r4 (the set of "
                   "penetrating points held fixed).",
                   out(Real, "km", "4,4").describe("Hessian, rows and columns r1..r4"),
                   out(Real, "kv", "4").describe("gradient, r1..r4"), vec, a, b, kmd, nk);
TAVRIN_ROUTINE_DOC(getareaofoverlap8, GetAreaOfOverlap8,
                   "Area of the contact grid cells where the sublaminate penetrates the base laminate.",
                   vec, a, b, nk, result(Real, "getareaofoverlap8").describe("overlap area"));
TAVRIN_ROUTINE_DOC(getfdf8, GetFdF8,
                   "Residual and Jacobian of strain plus contact energy of the eight-parameter plate.",
                   out(Real, "fp", "8").describe("residual, in the order of vec"),
                   out(Real, "dfp", "64").describe("Jacobian, column by column"), vec, eps, g0,
                   epsbucklin, a, b, kmd, abd, nk, w);
TAVRIN_ROUTINE_DOC(newtonraphson8, NewtonRaphson8,
                   "Equilibrium of the eight-parameter plate by Newton's method at the strain "
                   "epsnom*relepsellipse.",
                   inout(Real, "sol", "8").describe("start value, returned as the solution (order of vec)"),
                   out(Real, "nrerr").describe("squared norm of the last correction (not finite: "
                                               "singular Jacobian)"),
                   a, b, kmd, g0, epsnom, epsbucklin, relepsellipse, abd,
                   in(Real, "tolerance").describe("stop when the squared correction is below it"),
                   in(Int, "maxiter").describe("iteration limit"), nk, w);
TAVRIN_ROUTINE_DOC(getenergyreleaserate8, GetEnergyReleaseRate8,
                   "Energy release rates at the ends of the two semi-axes of a converged solution "
                   "(semi-axes perturbed by 1e-5); the larger one and which axis grows.",
                   out(Real, "serr").describe("the larger release rate, energy per unit area"),
                   out(Real, "fa").describe("growth factor of a: 1.001 when a grows, else 1.0"),
                   out(Real, "fb").describe("growth factor of b: 1.001 when b grows, else 1.0"),
                   in(Real, "vec", "8").describe("converged solution at (a, b) and this load"), a, b,
                   kmd, g0, epsnom, epsbucklin, relepsellipse, abd, nk, w,
                   in(Real, "tol").opt("1e-15").describe("Newton tolerance of the perturbed solves"),
                   in(Int, "maxiter").opt("100").describe("Newton iteration limit"));

TAVRIN_ROUTINE_DOC(
    delaminationgrowthanalysis, DelaminationGrowthAnalysis,
    "Growth of a buckled elliptical delamination under a rising in-plane strain: linear buckling "
    "strain of the sublaminate, load level where the plate buckles and where the delamination "
    "first grows.",
    out(Real, "success").describe("1 completed, -1 no convergence in a load increment, -2 trivial "
                                  "solution, -3 no convergence while growing, 0 not run (bad input)"),
    out(Real, "strains", "3").describe("linear buckling strain, load level of buckling, load level of "
                                       "first growth (0 when not reached), each times relstrain(1)"),
    in(Real, "limstrain", "2").describe("start and end of the load level (Eps_Start, Eps_End); levels "
                                        "that fall are the same loading as -limstrain under -relstrain"),
    in(Real, "relstrain", "3").describe("load ratio (eps_x, eps_y, gamma_xy), laminate frame"),
    in(Real, "plyelastic", "9,nplies").describe("ply constants E1, E2, E3, nu12, nu13, nu23, G12, G13, "
                                                "G23, one column per ply"),
    in(Real, "plyorientation", "nplies").describe("ply angles in degrees"),
    in(Real, "plythickness", "nplies").describe("ply thicknesses"),
    in(Real, "delamination", "3").describe("semi-axes a, b and the ellipse's angle in degrees"),
    in(Int, "sublamstack", "2").describe("first and last ply (1-based) of the sublaminate above the "
                                         "delamination"),
    kmd, in(Real, "gamma").describe("critical energy release rate"),
    in(Real, "width").describe("laminate width: growth ends when the ellipse spans it"),
    in(Real, "radius").describe("largest admissible semi-axis"),
    in(Int, "ninc").describe("number of load increments (at least 1)"),
    in(Int, "nprec").describe("contact grid cells along the shorter semi-axis"),
    in(Int, "nplies").opt("shape(plyelastic,1)").describe("number of plies"));

}  // namespace
}  // namespace tavrin::bind
