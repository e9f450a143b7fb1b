// Module prony: cure kinetics and Prony relaxation kernels.
#include "engine/descriptor.hpp"
#include "mechanics/prony.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr Arg curvefit = in(Real, "curvefit", "nc").describe(
    "cure-rate table, rows of 8: A1 (1/s), E1 (J/mol), A2, E2, n, m, p, upper temperature limit (K)");
constexpr Arg nc = in(Int, "nc").opt("len(curvefit)").describe("entries of curvefit (floor(nc/8) rows)");
constexpr Arg degmax = in(Real, "degmax").describe("maximum degree of cure");

TAVRIN_BINDING_MODULE(prony,
                      "cure kinetics and Prony relaxation.\n\n"
                      "Cure kinetics of a thermoset resin: the rate of the degree of cure α by the two-term "
                      "Arrhenius fit A1·exp(-E1/(R·T))·(αmax - α)^n + A2·exp(-E2/(R·T))·α^m·(αmax - α)^p, "
                      "read from a table of rows of 8 values chosen by temperature, and the degree after a "
                      "time step; and the implicit update of one Prony term of a viscoelastic relaxation.  "
                      "Temperatures in K, cure times in s, activation energies in J/mol, the degree of cure "
                      "dimensionless (0 uncured, αmax = degmax fully cured); relaxation times in any one "
                      "unit shared with the step.");
TAVRIN_ROUTINE_DOC(curerate, CureRate, "rate of the degree of cure (1/s) by the two-term Arrhenius fit",
                   result(Real, "curerate").describe("rate of the degree of cure (1/s)"), curvefit, in(Real, "t").describe("temperature (K)"),
                   in(Real, "degree").describe("degree of cure (above degmax: degmax)"), degmax, nc);
TAVRIN_ROUTINE_DOC(funcdegree, FuncDegree,
                   "degree of cure after one time step, backward Euler by fixed-point iteration",
                   result(Real, "funcdegree").describe("degree of cure at the end of the step (dimensionless)"), curvefit, in(Real, "t1").describe("temperature (K)"),
                   in(Real, "degree0").describe("degree of cure at the start of the step"),
                   in(Real, "timestep").describe("step (s)"), degmax, nc);
TAVRIN_ROUTINE_DOC(relaxation, Relaxation, "internal stress of one Prony term after one implicit step",
                   result(Real, "relaxation").describe("the term's stress after the step (unit of stiffness)"), in(Real, "dold").describe("the term's stress before the step"),
                   in(Real, "tau").describe("relaxation time"),
                   in(Real, "shift").describe("time-temperature shift factor (multiplies tau)"),
                   in(Real, "timestep").describe("step, in the unit of tau"),
                   in(Real, "stiffness").describe("instantaneous modulus"),
                   in(Real, "pprony").describe("Prony weight of the term"),
                   in(Real, "strain").describe("strain that drives the term"));

}  // namespace
}  // namespace tavrin::bind
