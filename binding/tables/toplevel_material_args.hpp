// Arguments of the resin, Prony and Shokrieh material routines of module
// toplevel beyond the shared interface descriptors: what these routines do
// not read, and the argument list of their ANSYS USERMAT entries.
#pragma once

#include "engine/descriptor.hpp"
#include "tables/solver_args.hpp"

namespace tavrin::bind::material_args {
using namespace dsl;
namespace sa = solver_args;

inline constexpr Arg spd = sa::spd.describe("specific plastic dissipation; returned as received");
inline constexpr Arg scd = sa::scd.describe("specific creep dissipation; returned as received");
inline constexpr Arg rpl = sa::rpl.describe("volumetric heat generation; not used");
constexpr Arg ddsddt(const char* n) { return in(Real, "ddsddt", n).describe("dsigma/dT; not used"); }
constexpr Arg drplde(const char* n) { return in(Real, "drplde", n).describe("d rpl/d eps; not used"); }
inline constexpr Arg drpldt = sa::drpldt.describe("d rpl/dT; not used");
inline constexpr Arg time = sa::time.describe("step time and total time at the start of the increment (s)");
inline constexpr Arg temp = sa::temp.describe("temperature at the start of the increment (K)");
inline constexpr Arg dtemp = sa::dtemp.describe("temperature increment (K)");
inline constexpr Arg predef = sa::predef.describe("predefined field variables (at least 1 entry); not used");
inline constexpr Arg dpred = sa::dpred.describe("their increments (at least 1 entry); not used");
constexpr Arg ndi(const char* n) { return in(Int, n).describe("direct stress components; not used"); }
inline constexpr Arg nshr = sa::nshr.describe("shear stress components; not used");
inline constexpr Arg coords = sa::coords.describe("coordinates of the point; not used");
inline constexpr Arg drot = sa::drot.describe("rotation increment; not used");
inline constexpr Arg pnewdt = sa::pnewdt.describe("suggested ratio of the next time increment; returned as received");
inline constexpr Arg celent = sa::celent.describe("characteristic element length; not used");
inline constexpr Arg npt = sa::npt.describe("integration point number; not used");

}  // namespace tavrin::bind::material_args

// The ANSYS USERMAT argument list of an entry that runs a UMAT of the
// library through abq_umat_to_ansys_usermat (that adapter's, without dfunc).
#define TAVRIN_USERMAT_ENTRY_ARGS                                                                                 \
  sa::matid.describe("material id (not used)"), sa::elemid, sa::kdomintpt, sa::klayer, sa::ksectpt, sa::ldstep,   \
      sa::isubst, sa::keycut, sa::ndirect, sa::nshear.describe("shear stress components (not used)"), sa::ncomp,  \
      sa::nstatev, sa::nprop, sa::ans_time, sa::ans_dtime, sa::ans_temp, sa::ans_dtemp, sa::ans_stress,          \
      sa::ustatev, sa::dsdepl, inplace(Real, "sedel").describe("specific elastic strain energy, updated in place"), \
      inplace(Real, "sedpl").describe("specific plastic work: set to 0 in place"),                                \
      inplace(Real, "epseq").describe("equivalent plastic strain: set to 0 in place"), sa::ans_strain,            \
      sa::ans_dstrain, sa::epspl.describe("plastic strain (not used)"), sa::prop, sa::coords,                     \
      inplace(Real, "var0").describe("reserved value (not changed)"), sa::defgrad_t, sa::defgrad, sa::tsstif,     \
      sa::epszz, inplace(Real, "var1").describe("reserved value (not changed)"),                                  \
      inplace(Real, "var2").describe("reserved value (not changed)"),                                             \
      inplace(Real, "var3").describe("reserved value (not changed)"),                                             \
      inplace(Real, "var4").describe("reserved value (not changed)"),                                             \
      inplace(Real, "var5").describe("reserved value (not changed)"),                                             \
      inplace(Real, "var6").describe("reserved value (not changed)"),                                             \
      inplace(Real, "var7").describe("reserved value (not changed)"),                                             \
      inplace(Real, "var8").describe("reserved value (not changed)")
