#include "boxbeam/box_data.hpp"

#include <climits>
#include <new>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin::boxbeam {

namespace path {
FixedText<240> csinfopath;
FixedText<240> vbinfopath;
}  // namespace path

namespace restr {
int maxgu = 0, maxwa = 0, maxze = 0;
}

namespace steuer {
bool druck = false, exdru = false;
int klog = 0;
}  // namespace steuer

namespace spanug {
FixedText<80> kennz;
double qqx = 0, qqy = 0, qqz = 0, qmx = 0, qmy = 0, qmz = 0;
}  // namespace spanug

namespace wand {
int kw = 0;
Allocatable<int, 1> ig1, ig2, it;
Allocatable<double, 1> yk0, zk0, yklk, zklk, bk, gk, rhok, th, e;
}  // namespace wand

namespace gurt {
int ig = 0;
Allocatable<double, 1> yi, zi, bi, myi;
}  // namespace gurt

namespace zelle {
int az = 0;
Allocatable<int, 1> iak;
Allocatable<int, 2> ia;
}  // namespace zelle

namespace quer {
double bx = 0, m = 0, ys = 0, zs = 0, yt = 0, zt = 0, dyy = 0, dzy = 0, dzz = 0, alpha = 0,
       dyyste = 0, dzzste = 0, itt = 0, ymst = 0, zmst = 0, ymstac = 0, zmstac = 0, iyys = 0,
       izys = 0, izzs = 0, dt = 0;
}

namespace kraft {
Allocatable<double, 1> nx0, nxl2, nxl, t0, tl2, tl;
}

namespace epigam {
Allocatable<double, 2> epi, gam;
Allocatable<double, 1> epigu;
}  // namespace epigam

namespace {

// (Re)sizes an array to the given extents; storage of the right extents is
// kept (and its views with it), only zeroed.
template <class T, int R, class... E>
void size_to(Allocatable<T, R>& a, E... extents) {
  const std::array<int, R> want{int(extents)...};
  bool same = a.allocated();
  for (int k = 0; k < R; ++k) same = same && a.size(k + 1) == want[std::size_t(k)];
  if (same) a.fill(T{});
  else a.allocate(want);  // new storage is zero-filled
}

void zero_results() {
  using namespace quer;
  for (double* r : {&bx, &m, &ys, &zs, &yt, &zt, &dyy, &dzy, &dzz, &alpha, &dyyste, &dzzste, &itt,
                    &ymst, &zmst, &ymstac, &zmstac, &iyys, &izys, &izzs, &dt})
    *r = 0.0;
}

}  // namespace

bool initialized() { return wand::yk0.allocated(); }

void initialize(const int* nw_, const int* ng_, const int* nz_) {
  const int nw = nw_ ? *nw_ : 100, ng = ng_ ? *ng_ : 100, nz = nz_ ? *nz_ : 100;
  // A capacity of 0 is a section without that part (an open profile has no
  // cell); a run still needs a wall and the booms its walls join.
  if (nw < 0 || ng < 0 || nz < 0) {
    const int caps[] = {nw, ng, nz};
    xerr(-2, "Box_Initialize: capacities must not be negative", caps);
    return;
  }
  if (nw > INT_MAX / 2 || std::int64_t(ng) * nz > INT_MAX) {
    const int caps[] = {nw, ng, nz};
    xerr(-2, "Box_Initialize: capacities beyond the array size limit", caps);
    return;
  }
  try {
    using namespace wand;
    for (auto* a : {&ig1, &ig2, &it}) size_to(*a, nw);
    for (auto* a : {&yk0, &zk0, &yklk, &zklk, &bk, &gk, &rhok, &th}) size_to(*a, nw);
    // The two further per-wall values keep what the caller gave, unless the
    // wall capacity changes.
    if (!e.allocated() || e.size(1) != nw) e.allocate(nw);
    for (auto* a : {&gurt::yi, &gurt::bi, &gurt::zi, &gurt::myi}) size_to(*a, ng);
    size_to(zelle::iak, nz);
    size_to(zelle::ia, ng, nz);
    for (auto* a : {&kraft::nx0, &kraft::nxl2, &kraft::nxl, &kraft::tl, &kraft::tl2}) size_to(*a, nw);
    size_to(kraft::t0, 2 * nw);
    size_to(epigam::epi, nw, 3);
    size_to(epigam::gam, nw, 3);
    size_to(epigam::epigu, ng);
  } catch (const std::bad_alloc&) {
    restr::maxgu = restr::maxwa = restr::maxze = 0;
    const int caps[] = {nw, ng, nz};
    xerr(-2, "Box_Initialize: not enough memory for the capacities", caps);
    return;
  }
  restr::maxgu = ng;
  restr::maxwa = nw;
  restr::maxze = nz;
  gurt::ig = wand::kw = zelle::az = 0;
  zero_results();
  using namespace spanug;
  qqx = qqy = qqz = qmx = qmy = qmz = 0.0;
}

// ---------------------------------------------------------------------------
// The groups as data modules of the embedding.

namespace {
using namespace registry;

const VariableInfo boxtypes_vars[] = {
    constant("cb", boxtypes::cb, "bytes of a character"),
    constant("i2", boxtypes::i2, "bytes of a short integer"),
    constant("i4", boxtypes::i4, "bytes of the default integer"),
    constant("i8", boxtypes::i8, "bytes of a long integer"),
    constant("sp", boxtypes::sp, "bytes of a single-precision real"),
    constant("dp", boxtypes::dp, "bytes of a double-precision real"),
    constant("qp", boxtypes::qp, "bytes of a quadruple-precision real"),
};
const VariableInfo path_vars[] = {
    path_text("csinfopath", path::csinfopath, "path of the report file"),
    path_text("vbinfopath", path::vbinfopath, "path of the extended print file"),
};
const VariableInfo restr_vars[] = {
    constant("maxgu", restr::maxgu, "boom capacity (set by box_initialize)"),
    constant("maxwa", restr::maxwa, "wall capacity (set by box_initialize)"),
    constant("maxze", restr::maxze, "cell capacity (set by box_initialize)"),
};
const VariableInfo steuer_vars[] = {
    scalar("druck", steuer::druck, "report switch: when false the analysis writes no file"),
    scalar("exdru", steuer::exdru, "extended print switch (acts only together with druck)"),
    scalar("klog", steuer::klog, "unit number of the report file (stored only)"),
};
namespace sp = spanug;
const VariableInfo spanug_vars[] = {
    text("kennz", sp::kennz, "load case label"),
    scalar("qqx", sp::qqx, "axial section force QX (K)"),
    scalar("qqy", sp::qqy, "shear force QY along y (K)"),
    scalar("qqz", sp::qqz, "shear force QZ along z (K)"),
    scalar("qmx", sp::qmx, "torque MX (K*L)"),
    scalar("qmy", sp::qmy, "bending moment MY (K*L)"),
    scalar("qmz", sp::qmz, "bending moment MZ (K*L)"),
};
namespace wd = wand;
const VariableInfo wand_vars[] = {
    scalar("kw", wd::kw, "number of walls in use"),
    sized_array("ig1", wd::ig1, "(maxwa) boom at the start of each wall, from 1"),
    sized_array("ig2", wd::ig2, "(maxwa) boom at the end of each wall, from 1"),
    sized_array("it", wd::it, "(maxwa) wall type, printed only"),
    sized_array("yk0", wd::yk0, "(maxwa) y of the wall start (L)"),
    sized_array("zk0", wd::zk0, "(maxwa) z of the wall start (L)"),
    sized_array("yklk", wd::yklk, "(maxwa) y of the wall end (L)"),
    sized_array("zklk", wd::zklk, "(maxwa) z of the wall end (L)"),
    sized_array("bk", wd::bk, "(maxwa) axial stiffness per wall length (K/L)"),
    sized_array("gk", wd::gk, "(maxwa) shear stiffness per wall length (K/L)"),
    sized_array("rhok", wd::rhok, "(maxwa) mass per wall area (M/L^2)"),
    sized_array("th", wd::th, "(maxwa) further per-wall value, not read"),
    sized_array("e", wd::e, "(maxwa) further per-wall value, not read"),
};
const VariableInfo gurt_vars[] = {
    scalar("ig", gurt::ig, "number of booms in use"),
    sized_array("yi", gurt::yi, "(maxgu) boom y (L)"),
    sized_array("zi", gurt::zi, "(maxgu) boom z (L)"),
    sized_array("bi", gurt::bi, "(maxgu) boom axial stiffness (K)"),
    sized_array("myi", gurt::myi, "(maxgu) boom mass per length (M/L)"),
};
const VariableInfo zelle_vars[] = {
    scalar("az", zelle::az, "number of closed cells (0: open profile)"),
    sized_array("iak", zelle::iak, "(maxze) number of booms around each cell"),
    sized_array("ia", zelle::ia, "(maxgu,maxze) booms of each cell in order, one column per cell, from 1"),
};
namespace qr = quer;
const VariableInfo quer_vars[] = {
    scalar("bx", qr::bx, "axial stiffness (K)"),
    scalar("m", qr::m, "mass per length (M/L)"),
    scalar("ys", qr::ys, "stiffness centre y (L)"),
    scalar("zs", qr::zs, "stiffness centre z (L)"),
    scalar("yt", qr::yt, "centre of mass y (L)"),
    scalar("zt", qr::zt, "centre of mass z (L)"),
    scalar("dyy", qr::dyy, "bending stiffness about y through the stiffness centre (K*L^2)"),
    scalar("dzy", qr::dzy, "product bending stiffness (K*L^2)"),
    scalar("dzz", qr::dzz, "bending stiffness about z through the stiffness centre (K*L^2)"),
    scalar("alpha", qr::alpha, "principal-axis angle (radians)"),
    scalar("dyyste", qr::dyyste, "principal bending stiffness about y* (K*L^2)"),
    scalar("dzzste", qr::dzzste, "principal bending stiffness about z* (K*L^2)"),
    scalar("itt", qr::itt, "polar mass moment about the centre of mass (M*L)"),
    scalar("ymst", qr::ymst, "shear centre y* in the principal system (L)"),
    scalar("zmst", qr::zmst, "shear centre z* in the principal system (L)"),
    scalar("ymstac", qr::ymstac, "shear centre y in the reference system (L)"),
    scalar("zmstac", qr::zmstac, "shear centre z in the reference system (L)"),
    scalar("iyys", qr::iyys, "mass moment about y* through the shear centre (M*L)"),
    scalar("izys", qr::izys, "product mass moment through the shear centre (M*L)"),
    scalar("izzs", qr::izzs, "mass moment about z* through the shear centre (M*L)"),
    scalar("dt", qr::dt, "torsional stiffness (K*L^2)"),
};
namespace kr = kraft;
const VariableInfo kraft_vars[] = {
    sized_array("nx0", kr::nx0, "(maxwa) axial force flow at the wall start (K/L)"),
    sized_array("nxl2", kr::nxl2, "(maxwa) axial force flow at the wall middle (K/L)"),
    sized_array("nxl", kr::nxl, "(maxwa) axial force flow at the wall end (K/L)"),
    sized_array("t0", kr::t0, "(2*maxwa) shear flow at the wall start (K/L); solution work space"),
    sized_array("tl2", kr::tl2, "(maxwa) shear flow at the wall middle (K/L)"),
    sized_array("tl", kr::tl, "(maxwa) shear flow at the wall end (K/L)"),
};
const VariableInfo epigam_vars[] = {
    sized_array("epi", epigam::epi, "(maxwa,3) axial strain at start, middle, end of each wall"),
    sized_array("gam", epigam::gam, "(maxwa,3) shear strain at start, middle, end of each wall"),
    sized_array("epigu", epigam::epigu, "(maxgu) strain of each boom"),
};

const ModuleInfo modules[] = {
    {"boxtypes", boxtypes_vars}, {"path", path_vars},   {"restr", restr_vars},
    {"steuer", steuer_vars},     {"spanug", spanug_vars}, {"wand", wand_vars},
    {"gurt", gurt_vars},         {"zelle", zelle_vars}, {"quer", quer_vars},
    {"kraft", kraft_vars},       {"epigam", epigam_vars},
};

[[maybe_unused]] const bool registered = (register_data_modules(modules), true);

}  // namespace
}  // namespace tavrin::boxbeam

extern "C" TAVRIN_API void Box_Initialize(const int* nw, const int* ng, const int* nz) {
  tavrin::c_boundary(__func__, [&] {
    tavrin::boxbeam::initialize(nw, ng, nz);
  });
}
