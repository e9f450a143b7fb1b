// Module sldcollection: impact and surface loads, amplitude and hysteresis
// curves.
#include "elements/surface_loads.hpp"
#include "engine/descriptor.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sl = sldcollection;

constexpr const char* cprops_doc = "one column per impactor: 1 force, 2 contact radius, 18 half-size";
constexpr const char* dprops_doc =
    "one column per impactor: 1 law code, 2-4 position, 5 nearest element, 6-7 its smallest and "
    "largest distance, 8-11 distances of its nearest and farthest points";
constexpr const char* sname_doc = "set name; SYMX, SYMY, SYM2 halve, SYM4 quarters";
constexpr const char* xydata_doc = "the ndata/2 abscissas, then the ordinates";
constexpr Arg t_user = inplace(Real, "t_user", "3").describe("becomes -dircos(:,3), the load direction");
constexpr Arg dircos = in(Real, "dircos", "3,3").describe("columns: the surface's axes, 3 its normal");
constexpr Arg coords = in(Real, "coords", "3").describe("the point");
constexpr Arg cprops = in(Real, "cprops", "20,nimp").describe(cprops_doc);
constexpr Arg nimp = in(Int, "nimp").opt("shape(cprops,1)").describe("number of impactors (columns of cprops and dprops)");
constexpr Arg f = in(Real, "f").describe("the force");
constexpr Arg rcorr = in(Real, "rcorr").describe("r of the point");
constexpr Arg scorr = in(Real, "scorr").describe("s of the point");
constexpr Arg r0 = in(Real, "r0").describe("r of the centre");
constexpr Arg s0 = in(Real, "s0").describe("s of the centre");
constexpr Arg rlength = in(Real, "relementlength").describe("half-length a along r");
constexpr Arg slength = in(Real, "selementlength").describe("half-length b along s");
constexpr Arg skip = in(Logical, "skip").absent().describe("true: amp 0 and nothing else");

constexpr Arg amp = out(Real, "amp").describe("ordinate of the curve at xvalue (0 when skipped, for no usable point, or on a warning)");
constexpr Arg xvalue = in(Real, "xvalue").describe("abscissa at which the curve is read");
constexpr Arg ndata = in(Int, "ndata").opt("len(xydata)").describe("values in xydata, even: twice the number of points");
constexpr const char* pressure_doc = "pressure of the law at the point (force per area)";

TAVRIN_BINDING_MODULE(sldcollection,
                      "impact and surface loads, amplitude and hysteresis curves.\n\n"
                      "Loads of an impact analysis for the host solver's load routines: the pressure of the "
                      "impactors at a point of a loaded surface (dsload), the load on a named element set "
                      "(deload) and a concentrated force (cload), with the pressure distribution laws over the "
                      "contact region centred at (r0, s0) with half-lengths a, b (Hertzian, parabolic, "
                      "cosine, sine, pyramidal, uniform); and amplitude and loading-unloading hysteresis curves "
                      "by monotone cubic Hermite interpolation of xydata (the ndata/2 abscissas, then the "
                      "ordinates).  Impactor records cprops(20, nimp) and dprops(12, nimp) hold one column per "
                      "impactor, entries counted from 1; forces and lengths in one consistent unit system.");
TAVRIN_ROUTINE_DOC(dsload, sl::dsload, "pressure of the impactors at one point of a loaded surface"
                   "\n\nShared state: reads the step kind jobdata.stepid(kstep): kinds 0, 2 and 3 update the "
                   "nearest-element bookkeeping of dprops, kinds 2 and 3 load; stepid unset or kstep outside it: "
                   "alpha 0, and only the entries 5 to 7 of dprops that are still 0 are filled.  Reads elementdata.elemlist and elementdata.elemkind for the kind "
                   "of elemid: continuum shells and continua (kinds 9, 10, 11) take the pressure with the "
                   "opposite sign; unset, or elemid not registered: the sign is kept.",
                   out(Real, "alpha").describe("pressure at the point from all impactors (force per area)"), t_user,
                   in(Int, "kstep").describe("the step, 1-based (its kind from jobdata.stepid)"),
                   coords, dircos, cprops, inplace(Real, "dprops", "12,nimp").describe(dprops_doc), nimp,
                   in(Int, "elemid").opt("0").describe("host element number of the point"));
TAVRIN_ROUTINE_DOC(deload, sl::deload, "load of the impactors named in an element set's name",
                   out(Real, "alpha").describe("load on the element set from the impactors named in sname"), t_user,
                   in(Int, "kstep").describe("not used"),
                   in(Int, "kinc").describe("not used"), in(Real, "time", "2").describe("not used"),
                   in(Int, "noel").describe("not used"), in(Int, "npt").describe("not used"),
                   in(Real, "coords", "3").describe("not used"), dircos,
                   in(Int, "jltyp").describe("not used"),
                   in(Text, "sname", "80").describe("set name holding impactor numbers; SYMX, SYMY, SYM2 halve"),
                   cprops, in(Real, "dprops", "12,nimp").describe("not used"), nimp);
TAVRIN_ROUTINE_DOC(cload, sl::cload, "concentrated impactor force of a point load",
                   out(Real, "f").describe("concentrated force cforce/2.5e-07 of a point load, reduced by the "
                                           "symmetry words of sname; 0 for other laws"),
                   inout(Real, "ldflag")
                       .describe("law code; 0: taken from sname (1 POINT ... 8 COSINE, 9 EDGE)"),
                   in(Real, "cforce").describe("impactor force value of the point load (f = cforce/2.5e-07, code 1 needs cforce >= 0)"), in(Text, "sname", "80").describe(sname_doc));
TAVRIN_ROUTINE_DOC(chysteresis, CHYSTERESIS,
                   "loading-unloading hysteresis curve by monotone cubic Hermite interpolation",
                   amp,
                   inplace(Real, "passed")
                       .describe("largest xvalue reached; the largest double once unloading began"),
                   in(Real, "xydata", "ndata").describe(xydata_doc), xvalue, ndata, skip);
TAVRIN_ROUTINE_DOC(camplitude, CAMPLITUDE, "amplitude curve by monotone cubic Hermite interpolation",
                   amp, in(Real, "xydata", "ndata").describe(xydata_doc), xvalue, ndata, skip);
TAVRIN_ROUTINE_DOC(hertziansurfaceload, HertzianSurfaceLoad,
                   "Hertzian pressure over an elliptical contact region",
                   result(Real, "hertziansurfaceload").describe(pressure_doc), f, rcorr, scorr, r0, s0,
                   in(Real, "rcontradius").describe("contact semi-axis along r"),
                   in(Real, "scontradius").describe("contact semi-axis along s"));
TAVRIN_ROUTINE_DOC(parabolicsurfaceload, ParabolicSurfaceLoad, "parabolic pressure distribution",
                   result(Real, "parabolicsurfaceload").describe(pressure_doc), f, rcorr, scorr, r0, s0, rlength, slength);
TAVRIN_ROUTINE_DOC(cosinesurfaceload, CosineSurfaceLoad, "cosine pressure distribution",
                   result(Real, "cosinesurfaceload").describe(pressure_doc), f, rcorr, scorr, r0, s0, rlength, slength);
TAVRIN_ROUTINE_DOC(sinesurfaceload, SineSurfaceLoad, "sine pressure distribution",
                   result(Real, "sinesurfaceload").describe(pressure_doc), f, rcorr, scorr, r0, s0, rlength, slength);
TAVRIN_ROUTINE_DOC(pyramidalsurfaceload, PyramidalSurfaceLoad, "pyramidal pressure distribution",
                   result(Real, "pyramidalsurfaceload").describe(pressure_doc), f, rcorr, scorr, r0, s0, rlength, slength);
TAVRIN_ROUTINE_DOC(uniformsurfaceload, UniformSurfaceLoad, "uniform pressure F/(4ab)",
                   result(Real, "uniformsurfaceload").describe("pressure F/(4ab) (force per area)"), f, rlength, slength);

}  // namespace
}  // namespace tavrin::bind
