// Module dic: compression strength from a measured stress distribution and
// the knock-down factors of buckled sublaminates and a central open hole.
#include "engine/descriptor.hpp"
#include "failure/dic.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

constexpr Arg thickness = in(Real, "plythickness", "nplies").describe("ply thicknesses");
constexpr Arg plies = in(Int, "nplies").opt("len(plythickness)").describe("number of plies");

TAVRIN_BINDING_MODULE(dic,
                      "compression strength from a measured stress distribution.\n\n"
                      "Failure of a compression specimen from a measured (digital image correlation) stress distribution "
                      "across its width, and the knock-down factors of buckled sublaminates and of a central open hole.  "
                      "Stresses, strengths, loads and lengths are in one consistent unit system; ply angles are in "
                      "degrees, ply 1 at the bottom; ply numbers in the buckling records are counted from 1.");
TAVRIN_ROUTINE_DOC(getcomprfailurebydic, GetComprFailurebyDIC,
                   "failure load, strain and stress of a specimen whose edge-weighted measured stress reaches the compression strength",
                   out(Real, "fresult", "4").describe("failure load, failure strain, failure stress, |coordinate| of the governing point"),
                   out(Real, "fcomprstressdistribution", "nstress,2").describe(
                       "measured (column 1) and weighted (column 2) stress magnitudes scaled to failure, ascending coordinate"),
                   in(Real, "avgcomprstress", "nstress").describe("measured average compressive stress per point"),
                   in(Real, "coords", "nstress").describe("coordinate of each point across the width"), thickness,
                   in(Real, "alpha").describe("edge-weighting factor"), in(Real, "comprstrength").describe("laminate compression strength"),
                   in(Real, "load").describe("test load at the measured state"),
                   in(Real, "displacement").describe("test displacement at the measured state"),
                   in(Real, "length").describe("specimen length"), in(Real, "width").describe("specimen width"), plies,
                   in(Int, "nstress").opt("len(avgcomprstress)").relation("nstress>=1")
                       .describe("number of measured points, at least 1"));
TAVRIN_ROUTINE_DOC(getdmginfluencefactor, GetDmgInfluenceFactor,
                   "knock-down factor of the buckled sublaminates a delamination leaves in the stack",
                   result(Real, "getdmginfluencefactor")
                       .describe("(2r)^r with r = 1 - (thickest run of adjacent plies sharing one buckling-load ratio, "
                                 "plies in no record 1.0)/(laminate thickness); 1.0 when r = 0 or nplies < 1"),
                   thickness,
                   in(Real, "bukrealdatalist", "12,nplies-1").describe("buckling records; entry 2 the buckling load over the compression strength"),
                   in(Int, "bukintdatalist", "4,nplies-1").describe("entries 2, 3 the first and last ply (1-based) of each record"),
                   plies);
TAVRIN_ROUTINE_DOC(getcentralopenholefactor, GetCentralOpenHoleFactor,
                   "strength factor of a laminate with a central open hole",
                   result(Real, "getcentralopenholefactor")
                       .describe("kt*(rho^(1+rho) - rho^2) + |(A11 + A12)/(2*A22*((kt - 3)^2 + 1)) - nu12|, "
                                 "rho = 2*radius/width, A and nu12 of the laminate (dimensionless)"),
                   plyelastic, plyorientation, plythickness,
                   in(Real, "kt").describe("stress concentration factor"), in(Real, "radius").describe("hole radius"),
                   in(Real, "width").describe("specimen width"), nplies);

}  // namespace
}  // namespace tavrin::bind
