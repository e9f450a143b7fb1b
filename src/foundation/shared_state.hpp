// Shared state of one analysis: the data modules.
//
// One instance per process.  Scalars are plain variables; arrays that exist
// only once a writer creates them are Allocatable (absent until then).  The
// table after each name in the comments gives its extents, first index
// fastest, every index from 1.  Counts written in capitals in the extents
// (nplies, nsec, nelem, ...) are the scalars of the same name.
//
// The registry at the end lists every variable with its type, rank and
// address, so that an embedding (the Python binding) can expose them without
// knowing them one by one.
#pragma once

#include <complex>
#include <initializer_list>
#include <span>
#include <type_traits>
#include <vector>

#include "foundation/allocatable.hpp"
#include "foundation/api.hpp"
#include "foundation/text.hpp"

namespace tavrin {

// Largest double: marks table entries that were not given.
inline constexpr double not_given = 1.7976931348623157e308;
// Empty slot of the integer lists.
inline constexpr int int_not_given = 2147483647;

namespace types {
inline constexpr int i2 = 2;   // bytes of a short integer
inline constexpr int i4 = 4;   // bytes of the default integer
inline constexpr int i8 = 8;   // bytes of a long integer
inline constexpr int sp = 4;   // bytes of a single-precision real
inline constexpr int dp = 8;   // bytes of a double-precision real (all reals of the library)
inline constexpr int qp = 16;  // bytes of a quadruple-precision real
inline constexpr int cb = 1;   // bytes of a character
}  // namespace types

namespace jobdata {
extern TAVRIN_API int stepcount;                 // highest step announced by an explicit solver
extern TAVRIN_API int nsteps;                    // "*Step" keywords in the input deck
extern TAVRIN_API int solverid;                  // 1 once the input deck was opened
extern TAVRIN_API Allocatable<int, 1> stepid;    // (nsteps) StepKind of each step
extern TAVRIN_API Allocatable<int, 1> processid; // (maxid) process check-in list
extern TAVRIN_API FixedText<256> jobname;
extern TAVRIN_API FixedText<256> joboutdir;      // directory of the card files
extern TAVRIN_API FixedText<256> jobfilepath;    // path stem of the solver job
}  // namespace jobdata

namespace debugdata {
extern TAVRIN_API int nupdate;  // end-of-increment work every nupdate-th increment
extern TAVRIN_API int edebug;   // element that writes debug text
extern TAVRIN_API int ndebug;   // node selector
extern TAVRIN_API int fdebug;   // file selector
extern TAVRIN_API int verbose;
extern TAVRIN_API int unitid;   // output unit of the "+Verbose" line
}  // namespace debugdata

namespace materialdata {
extern TAVRIN_API int modelid;
extern TAVRIN_API int ntempdata;
extern TAVRIN_API int nflowdata;
extern TAVRIN_API int nsecantdata;
extern TAVRIN_API int nalpha1data;
extern TAVRIN_API int nalpha2data;
extern TAVRIN_API int nalpha3data;
extern TAVRIN_API int nnormaldata;
extern TAVRIN_API int nsheardata;
extern TAVRIN_API Allocatable<int, 2> matidlist;          // (nplies, nsec)
extern TAVRIN_API Allocatable<int, 3> pfflags;            // (5, nplies, nsec)
extern TAVRIN_API Allocatable<int, 3> peflags;            // (5, nplies, nsec)
extern TAVRIN_API Allocatable<double, 3> pelimits;        // (12, nplies, nsec)
extern TAVRIN_API Allocatable<double, 3> peprops;         // (9*ntemp, nplies, nsec)
extern TAVRIN_API Allocatable<double, 3> psprops;         // (10*ntemp, nplies, nsec)
extern TAVRIN_API Allocatable<double, 3> phprops;         // (nhygro, nplies, nsec)
extern TAVRIN_API Allocatable<double, 3> pfprops;         // (nfracture, nplies, nsec)
extern TAVRIN_API Allocatable<double, 3> pdprops;         // (ndamage, nplies, nsec)
extern TAVRIN_API Allocatable<double, 4> cuprops;         // (ncure, 8, nplies, nsec)
extern TAVRIN_API Allocatable<double, 1> regularization;  // (nreg)
extern TAVRIN_API Allocatable<double, 1> temperatures;    // (ntempdata)
extern TAVRIN_API Allocatable<double, 3> flowprops;       // (ntemp, nflowdata, 3)
extern TAVRIN_API Allocatable<double, 3> secantprops;     // (ntemp, nsecantdata, 2)
extern TAVRIN_API Allocatable<double, 3> normalprops;     // (ntemp, nnormaldata, 2)
extern TAVRIN_API Allocatable<double, 3> shearprops;      // (ntemp, nsheardata, 2)
extern TAVRIN_API Allocatable<double, 3> alpha1props;     // (ntemp, nalpha1data, 2)
extern TAVRIN_API Allocatable<double, 3> alpha2props;     // (ntemp, nalpha2data, 2)
extern TAVRIN_API Allocatable<double, 3> alpha3props;     // (ntemp, nalpha3data, 2)
extern TAVRIN_API Allocatable<double, 2> equivalentstress;// (nstress, 2)
extern TAVRIN_API Allocatable<double, 1> i10;             // (1)
extern TAVRIN_API Allocatable<double, 1> r_crit;          // (1)
}  // namespace materialdata

namespace sectiondata {
extern TAVRIN_API int nsec;
extern TAVRIN_API int nplies;
extern TAVRIN_API Allocatable<int, 1> nsectionpoints;     // (nelem)
extern TAVRIN_API Allocatable<int, 1> secidlist;          // (nsec)
extern TAVRIN_API Allocatable<int, 2> seflags;            // (2, nsec)
extern TAVRIN_API Allocatable<double, 1> xcstrength;      // (nsec)
extern TAVRIN_API Allocatable<double, 2> plythickness;    // (nplies, nsec)
extern TAVRIN_API Allocatable<double, 2> plyorientation;  // (nplies, nsec)
extern TAVRIN_API Allocatable<double, 2> plyzcoord;       // (2*nplies+1, nsec)
extern TAVRIN_API Allocatable<double, 3> sehmatrix;       // (2, 2, nsec)
extern TAVRIN_API Allocatable<double, 3> sefmatrix;       // (2*nplies+1, 4, nsec)
extern TAVRIN_API Allocatable<double, 4> sestress;        // (6, points*nplies, k, nelem)
extern TAVRIN_API Allocatable<double, 4> sestrain;
extern TAVRIN_API Allocatable<double, 4> seuser;
extern TAVRIN_API Allocatable<double, 4> seprops;
extern TAVRIN_API Allocatable<double, 2> tnormalstress;   // (2*nplies+1, nelem)
extern TAVRIN_API Allocatable<double, 4> tshearstress;    // (points*nplies, 2, 4, nelem)
}  // namespace sectiondata

namespace nodaldata {
extern TAVRIN_API int nnodes;  // nodes per element (of the largest element)
extern TAVRIN_API int ndof;    // degrees of freedom per node
extern TAVRIN_API Allocatable<double, 3> nodalcoords;     // (3, nnodes, nelem)
extern TAVRIN_API Allocatable<double, 3> nodesmotion;     // (ndof, nnodes, nelem)
extern TAVRIN_API Allocatable<double, 4> tnodalmatrices;  // (3, 3, 8, nelem)
extern TAVRIN_API Allocatable<double, 3> tcurvmatrices;   // (3, 3, nelem)
}  // namespace nodaldata

namespace elementdata {
extern TAVRIN_API int nelem;
extern TAVRIN_API int nsens;
extern TAVRIN_API Allocatable<int, 1> elemlist;              // (nelem)
extern TAVRIN_API Allocatable<int, 1> elemkind;              // (nelem)
extern TAVRIN_API Allocatable<int, 2> elemnodes;             // (nnodes, nelem)
extern TAVRIN_API Allocatable<int, 1> elemindices;
extern TAVRIN_API Allocatable<double, 2> elemlength;         // (3, nelem)
extern TAVRIN_API Allocatable<double, 2> elemcurvatures;     // (2, nelem)
extern TAVRIN_API Allocatable<double, 2> elemreforientation; // (7, nelem)
}  // namespace elementdata

namespace impactdata {
extern TAVRIN_API Allocatable<double, 2> cprops;  // (20, nimp)
extern TAVRIN_API Allocatable<double, 2> csvars;  // (., nimp)
}  // namespace impactdata

namespace loaddata {
extern TAVRIN_API int nimp;
extern TAVRIN_API Allocatable<double, 2> dprops;  // (12, nimp)
}  // namespace loaddata

namespace damagedata {
extern TAVRIN_API int ndmg;
extern TAVRIN_API Allocatable<int, 1> damagedds;      // (1) first-use marker
extern TAVRIN_API Allocatable<double, 3> generaldds;  // (3, nplies, ndmg)
extern TAVRIN_API Allocatable<double, 3> fiberdds;
extern TAVRIN_API Allocatable<double, 3> matrixdds;
extern TAVRIN_API Allocatable<double, 3> coredds;
extern TAVRIN_API Allocatable<double, 3> userdds;
extern TAVRIN_API Allocatable<double, 3> delamdds;    // (3, max(nplies-1,1), ndmg)
extern TAVRIN_API Allocatable<double, 2> dmgshape;
extern TAVRIN_API Allocatable<double, 2> dmgplane;    // (npos, ndmg)
extern TAVRIN_API Allocatable<double, 4> dmgpoints;   // (npts, nplies, 6, ndmg)
}  // namespace damagedata

namespace bukdata {
extern TAVRIN_API Allocatable<int, 4> bukintdatalist;      // (4, interfaces, ndmg, nsec)
extern TAVRIN_API Allocatable<double, 4> bukrealdatalist;  // (12, interfaces, ndmg, nsec)
}  // namespace bukdata

namespace shokriehdata {
extern TAVRIN_API Allocatable<double, 2> cycleprops;  // (nparams, nsteps)
extern TAVRIN_API Allocatable<double, 2> cycles;      // (., nsteps)
extern TAVRIN_API double dnf;
extern TAVRIN_API double dnfshok;
}  // namespace shokriehdata

namespace errorhandling {
extern TAVRIN_API int errstat;                   // 0: latch open
extern TAVRIN_API FixedText<80> errstring;
extern TAVRIN_API Allocatable<int, 1> errintv;
extern TAVRIN_API Allocatable<double, 1> errrealv;
extern TAVRIN_API Allocatable<int, 2> errasciim;  // at most 8 rows
}  // namespace errorhandling

// ---------------------------------------------------------------------------
// Registry of the module variables.

enum class ElemType : unsigned char { Int, Real, Complex, Char, Logical };
enum class VarKind : unsigned char {
  Constant,     // read-only scalar (kind constants of `types`)
  Fixed,        // scalar or character field with static storage
  Allocatable,  // address is an AllocatableBase
  Sized,        // AllocatableBase whose extents only its owner sets: an
                // assignment copies in and must match them
};

struct VariableInfo {
  const char* name;
  ElemType type;
  VarKind kind;
  int rank;     // 0 for scalars and character fields
  int length;   // characters of a Char field, else 0
  void* address;
  const char* doc;
  bool path = false;  // a Char field naming a file: a longer text is refused, not cut
};

struct ModuleInfo {
  const char* name;
  std::span<const VariableInfo> variables;
};

// The thirteen data modules, in the order of the shared-state tables.
TAVRIN_API std::span<const ModuleInfo> data_modules();

// Data modules of the other subsystems, added when the library is loaded.
TAVRIN_API void register_data_modules(std::span<const ModuleInfo> modules);
TAVRIN_API std::span<const ModuleInfo> subsystem_data_modules();

// Calls f(module, variable, table) for every allocatable table of the data
// modules, those of the other subsystems included.
template <class F>
void for_each_table(F&& f) {
  for (const auto modules : {data_modules(), subsystem_data_modules()})
    for (const ModuleInfo& m : modules)
      for (const VariableInfo& v : m.variables)
        if (v.kind == VarKind::Allocatable || v.kind == VarKind::Sized)
          f(m, v, *static_cast<AllocatableBase*>(v.address));
}

// Entries of the registry tables.
namespace registry {
constexpr VariableInfo constant(const char* name, const int& v, const char* doc) {
  return {name, ElemType::Int, VarKind::Constant, 0, 0, const_cast<int*>(&v), doc};
}
constexpr VariableInfo scalar(const char* name, int& v, const char* doc) {
  return {name, ElemType::Int, VarKind::Fixed, 0, 0, &v, doc};
}
constexpr VariableInfo scalar(const char* name, double& v, const char* doc) {
  return {name, ElemType::Real, VarKind::Fixed, 0, 0, &v, doc};
}
constexpr VariableInfo scalar(const char* name, bool& v, const char* doc) {
  return {name, ElemType::Logical, VarKind::Fixed, 0, 0, &v, doc};
}
template <std::size_t N>
constexpr VariableInfo text(const char* name, FixedText<N>& v, const char* doc) {
  return {name, ElemType::Char, VarKind::Fixed, 0, int(N), v.chars.data(), doc};
}
// A character field that names a file or directory.
template <std::size_t N>
constexpr VariableInfo path_text(const char* name, FixedText<N>& v, const char* doc) {
  return {name, ElemType::Char, VarKind::Fixed, 0, int(N), v.chars.data(), doc, true};
}
template <class T>
constexpr ElemType elem_type() {
  if constexpr (std::is_same_v<T, int>) return ElemType::Int;
  else if constexpr (std::is_same_v<T, double>) return ElemType::Real;
  else return ElemType::Complex;
}
template <class T, int R>
VariableInfo array(const char* name, Allocatable<T, R>& v, const char* doc) {
  return {name, elem_type<T>(), VarKind::Allocatable, R, 0, static_cast<AllocatableBase*>(&v), doc};
}
template <class T, int R>
VariableInfo sized_array(const char* name, Allocatable<T, R>& v, const char* doc) {
  return {name, elem_type<T>(), VarKind::Sized, R, 0, static_cast<AllocatableBase*>(&v), doc};
}
}  // namespace registry

}  // namespace tavrin
