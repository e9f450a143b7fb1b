#include "solver/damage_field.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string_view>

#include "elements/frames.hpp"
#include "elements/element_registry.hpp"
#include "elements/transverse_stresses.hpp"
#include "failure/damage.hpp"
#include "failure/degradation.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/scratch.hpp"
#include "foundation/signals.hpp"
#include "foundation/shared_state.hpp"
#include "mechanics/contact.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"
#include "solver/layout.hpp"
#include "solver/name_tags.hpp"
#include "solver/step_kind.hpp"

namespace tavrin::toplevel {
namespace {

constexpr int record_size = 40;
constexpr double not_set = -1.0;
constexpr char outside_tables[] = "Ply or section of the state variables outside the material tables.";
// Damage caps used when the ply's row of materialdata::pelimits is not
// given (an entry -1.0): cap 3 is the matrix damage's.
constexpr std::array<double, 12> default_caps{0.999, 0.999, 0.995, 0.7, 0.999, 0.999,
                                              0.999, 0.97,  0.995, 0.7, 0.999, 0.999};

// A 1-based index held as a real, truncated toward zero; 0 for NaN and
// values beyond the integers.
int truncated(double x) { return x > -2147483648.0 && x < 2147483648.0 ? int(x) : 0; }

// Whether a shared table is allocated with at least these extents.
template <class T, int R>
bool holds(const Allocatable<T, R>& a, const std::array<int, R>& extents) {
  if (!a.allocated()) return false;
  for (int k = 0; k < R; ++k)
    if (a.size(k + 1) < extents[std::size_t(k)] || extents[std::size_t(k)] < 1) return false;
  return true;
}

// The row of element noel in elementdata::elemlist, -1 when not listed.
int element_row(int noel) {
  const auto& list = elementdata::elemlist;
  if (!list.allocated()) return -1;
  const int n = std::min(elementdata::nelem, list.size(1));
  for (int i = 1; i <= n; ++i)
    if (list(i) == noel) return i;
  return -1;
}

// The record: r[k] is slot k (r[0] unused).
struct Record {
  std::array<double, record_size + 1> r{};
  double& operator[](int k) { return r[std::size_t(k)]; }
  double* slot(int k) { return &r[std::size_t(k)]; }
};

// Where a section point lies in its ply: the through-thickness index of its
// normal stress, the columns of the section stress tables, an interface.
struct SectionPoint {
  int isp = 1;             // column of the section stress tables
  int thickness = 0;       // row of the through-thickness normal stress table
  bool interface = false;  // the top of a ply below another
  int lower = 0, upper = 0;  // middle section points of the plies about the interface
};

SectionPoint locate(int m, int ispt, int layer, int ply, int nplies) {
  SectionPoint p;
  p.isp = (std::max(layer, 1) - 1) * m + ispt;
  if (m / ispt == 1 && m % ispt == 0) {  // the top of the ply (also a single point)
    p.thickness = 2 * ply + 1;
    p.interface = ply < nplies;
  } else if (m / ispt == m && m % ispt == 0) {  // the bottom
    p.thickness = 2 * ply - 1;
  } else {
    p.thickness = 2 * ply;
  }
  p.lower = ply * m - m / 2;
  p.upper = (ply + 1) * m - m / 2;
  return p;
}

// sestress(1..6, isp, npt, row) into v when the table holds it.
bool section_stress(const Allocatable<double, 4>& table, int isp, int npt, int row, double* v) {
  if (!holds(table, {6, isp, npt, row})) return false;
  for (int i = 1; i <= 6; ++i) v[i - 1] = table(i, isp, npt, row);
  return true;
}

bool any_nonzero(const double* v, int n) {
  return std::any_of(v, v + n, [](double x) { return x != 0.0; });
}

// Recovers the through-thickness stresses of a shell element from the
// shared tables, when every table the recovery reads holds the element.
void recover_shell_stresses(int row, int npt, int section, int itns, int itshr) {
  namespace sd = sectiondata;
  namespace ed = elementdata;
  namespace nd = nodaldata;
  const int n = sd::nplies, nsec = sd::nsec, nelem = ed::nelem;
  if (n < 1 || row > nelem || !nd::nodesmotion.allocated()) return;
  const int nz = sd::tnormalstress.size(1), ni = sd::tshearstress.size(1);
  const int ndof = nd::nodesmotion.size(1), nnodes = nd::nodesmotion.size(2);
  const bool tables =
      holds(sd::tnormalstress, {nz, nelem}) && holds(sd::tshearstress, {ni, 2, 4, nelem}) &&
      holds(nd::nodalcoords, {3, nnodes, nelem}) && nd::nodalcoords.size(2) == nnodes &&
      holds(nd::nodesmotion, {ndof, nnodes, nelem}) && holds(sd::sestress, {6, ni, 4, nelem}) &&
      holds(sd::sehmatrix, {2, 2, nsec}) && holds(sd::sefmatrix, {nz, 4, nsec}) &&
      holds(sd::plyorientation, {n, nsec}) && holds(sd::plythickness, {n, nsec}) &&
      holds(sd::plyzcoord, {nz, nsec}) && holds(materialdata::peprops, {9, n, nsec}) &&
      holds(sd::nsectionpoints, {nelem}) && holds(ed::elemcurvatures, {2, nelem}) &&
      holds(ed::elemkind, {nelem}) && holds(materialdata::matidlist, {n, nsec});
  if (!tables) return;
  GetShellTransverseStresses(sd::tnormalstress.data(), sd::tshearstress.data(), nd::nodalcoords.data(),
                             nd::nodesmotion.data(), sd::sestress.data(), sd::sehmatrix.data(),
                             sd::sefmatrix.data(), sd::plyorientation.data(), sd::plythickness.data(),
                             sd::plyzcoord.data(), materialdata::peprops.data(), sd::nsectionpoints.data(),
                             ed::elemcurvatures.data(), ed::elemkind.data(), materialdata::matidlist.data(),
                             &row, &npt, &section, &itns, &itshr, &n, &nsec, &nz, &ni, &ndof, &nnodes,
                             &nelem);
}

// The stresses of section point p of element row at integration point npt:
// the point's own (into v) and, on an interface, those of the plies below
// and above.  Components without a source stay zero.
void build_ply_stress(const SectionPoint& p, int npt, int row, int ply, double* v, double* lower,
                      double* upper) {
  namespace sd = sectiondata;
  section_stress(sd::sestress, p.isp, npt, row, v);
  if (p.interface) {
    section_stress(sd::sestress, p.lower, npt, row, lower);
    section_stress(sd::sestress, p.upper, npt, row, upper);
  }
  const auto& kind = elementdata::elemkind;
  if (!holds(kind, {row}) || kind(row) > 8) return;
  const auto& tn = sd::tnormalstress;
  if (holds(tn, {1, row})) {
    const int nz = tn.size(1);
    double largest = 0.0;
    for (int i = 1; i <= nz; ++i) largest = std::max(largest, std::abs(tn(i, row)));
    const auto at = [&](int i, double& to) {
      if (i >= 1 && i <= nz) to = tn(i, row);
    };
    if (largest != 0.0) {
      at(p.thickness, v[2]);
      if (p.interface) {
        at(2 * ply, lower[2]);
        at(2 * ply + 2, upper[2]);
      }
    }
  }
  const auto& ts = sd::tshearstress;
  if (!holds(ts, {1, 2, npt, row})) return;
  const int ni = ts.size(1);
  // Component 2 of the table is the 13 shear (solver slot 5), 1 the 23 (slot 6).
  for (const auto& [component, slot] : {std::pair{2, 4}, std::pair{1, 5}}) {
    bool given = false;
    for (int i = 1; i <= ni; ++i) given = given || ts(i, component, npt, row) != 0.0;
    if (!given) continue;
    const auto at = [&](int i, double* to) {
      if (i >= 1 && i <= ni) to[slot] = ts(i, component, npt, row);
    };
    at(p.isp, v);
    if (p.interface) {
      at(p.lower, lower);
      at(p.upper, upper);
    }
  }
}

// The material tables' column (ply, section) of every table the failure
// drivers read.
bool driver_tables(int ply, int section) {
  const int n = sectiondata::nplies, nsec = sectiondata::nsec;
  return ply >= 1 && ply <= n && section >= 1 && section <= nsec && holds(materialdata::psprops, {10, n, nsec}) &&
         holds(materialdata::peprops, {9, n, nsec});
}

}  // namespace
}  // namespace tavrin::toplevel

using namespace tavrin;
using namespace tavrin::toplevel;

extern "C" {

void gen_damage(double* field, double* statev, const double* tdirect, const double* t, const double* celent,
                const double* /*time*/, const double* /*dtime*/, const char* cmname, const int* nfield,
                const int* nstatv, const int* noel, const int* npt, const int* layer, const int* kspt,
                const int* kstep, const int* kinc, const double* coord, const double* table,
                std::size_t cmname_len) {
  tavrin::c_boundary(__func__, [&] {
    namespace md = materialdata;
    namespace sd = sectiondata;
    double dmatrix = 0.0;  // matrix damage of the fracture-plane degradation
    double theta = not_set;
    const bool has_table = table && std::any_of(table, table + 16, [](double x) { return x != -1.0; });

    if (*nstatv < record_size) return;
    double* tail = statev + (*nstatv - record_size);
    Record r;
    std::copy_n(tail, record_size, r.slot(1));
    if (has_table) {
      // Voigt (11, 22, 33, 23, 13, 12) to the solver order.
      const Vec6 s = lamina::permute(Vec6::load(table + 1), lamina::voigt_nye);
      std::copy(s.v.begin(), s.v.end(), r.slot(1));
    }

    // Ply and section on the first call: the layer within the plies, raised
    // to the name's "l" tag; the section column of the name's "s" tag.
    const int nplies = sd::nplies, nsec = sd::nsec;
    if (r[21] == 0.0 || r[22] == 0.0) {
      r[21] = std::max(1, std::min(*layer, nplies));
      r[22] = 1.0;
      std::string_view name(cmname, std::min<std::size_t>(cmname_len, 80));  // character(80)
      name = name.substr(0, name.find_last_not_of(' ') + 1);
      const int ls = int(name.size());
      if (const int l = iohandling::getxidfromstring(name, ls, "l"); l > 0) r[21] = std::max(double(l), r[21]);
      if (const int s = iohandling::getxidfromstring(name, ls, "s"); s > 0) {
        const auto& ids = sd::secidlist;
        int at = -1;
        for (int i = 1; ids.allocated() && i <= std::min(nsec, ids.size(1)) && at < 0; ++i)
          if (ids(i) == s) at = i;
        r[22] = at;
      }
    }

    const int nf = *nfield;
    const bool field_on = nf > 4;
    if (field_on) {
      std::fill_n(field, nf, 0.0);
      if (nf > 6 && (r[27] == 0.0 || r[28] == 0.0 || r[29] == 0.0 || r[30] == 0.0))
        std::fill_n(r.slot(27), 4, not_set);
    }
    if (r[24] == 0.0 && r[25] == 0.0) r[24] = r[25] = not_set;
    if (r[35] == 0.0) r[35] = *celent;
    if (r[18] == 0.0 && r[19] == 0.0 && r[20] == 0.0) r[18] = r[19] = r[20] = 1.0;

    const int ispt = *kspt > 0 ? *kspt : 1;
    const int ply = truncated(r[21]), section = truncated(r[22]);
    if (ply < 1 || ply > nplies || section < 1 || section > nsec) {
      xerr(-2, outside_tables, std::array{ply, section});
      std::copy_n(r.slot(1), record_size, tail);
      return;
    }
    // The ply's criterion selectors, evolution switches, caps and recovery switches.
    std::array<int, 5> flags{}, evolution{};
    if (holds(md::pfflags, {5, nplies, nsec}))
      for (int k = 1; k <= 5; ++k) flags[std::size_t(k - 1)] = md::pfflags(k, ply, section);
    if (holds(md::peflags, {5, nplies, nsec}))
      for (int k = 1; k <= 5; ++k) evolution[std::size_t(k - 1)] = md::peflags(k, ply, section);
    const int nparams = holds(md::pdprops, {md::pdprops.size(1), nplies, nsec}) ? md::pdprops.size(1) : 0;
    std::array<double, 12> caps = default_caps;
    if (holds(md::pelimits, {12, nplies, nsec})) {
      std::array<double, 12> given;
      for (int k = 1; k <= 12; ++k) given[std::size_t(k - 1)] = md::pelimits(k, ply, section);
      if (std::find(given.begin(), given.end(), -1.0) == given.end()) caps = given;
    }
    const double matrix_cap = caps[2];
    int itns = 0, itshr = 0;
    if (holds(sd::seflags, {2, nsec})) itns = sd::seflags(1, section), itshr = sd::seflags(2, section);

    const int kind = step_kind(*kstep);
    if (*kstep == 1 && *kinc == 1) {
      // The impact records learn which element lies under each impactor.
      const auto& dprops = loaddata::dprops;
      if (ply == 1 && dprops.allocated() && dprops.size(1) == 12) {
        const int nimp = std::min(loaddata::nimp, dprops.size(2));
        ContactArea(dprops.data(), coord, noel, &nimp, has_table ? table + 13 : nullptr);
      }
      if (*npt == 1 && (elementdata::nelem == 0 || step_kind(1) == step_initialisation) &&
          holds(sd::plyorientation, {nplies, nsec})) {
        int istatus = 0;
        const int ind = 1, nextid = step_kind(2);
        GetElementRefOrientation(&istatus, &ind, t, tdirect, sd::plyorientation.data(), noel, &ispt, &ply,
                                 &section, &nplies, &nsec, &nextid);
      }
    }
    if ((kind == step_structural || kind == step_unknown) && *kinc == 1 && *npt == 1 &&
        elementdata::nelem > 0) {
      const int row = element_row(*noel);
      if (row >= 1 && holds(sd::nsectionpoints, {row})) sd::nsectionpoints(row) = std::max(sd::nsectionpoints(row), ispt);
    }
    if (kind == step_initialisation || kind == step_dic) GetDamageFromDDS(r.slot(7), coord, tdirect, &ply, &section);

    // The section point within its ply (section stress columns).
    SectionPoint p;
    const auto point_of = [&](int row) {
      if (!sd::nsectionpoints.allocated()) return true;  // one point per ply
      if (!holds(sd::nsectionpoints, {row}) || sd::nsectionpoints(row) < 1) return false;
      p = locate(sd::nsectionpoints(row), ispt, *layer, ply, nplies);
      return true;
    };

    // Evaluation in fatigue and impact steps from the second step on.
    if (*kstep > 1 && (kind == step_fatigue || kind == step_impact)) {
      std::array<double, 6> lower{}, upper{};
      if (sd::nsectionpoints.allocated()) {
        if (r[23] <= 0.0) r[23] = element_row(*noel);
        const int row = truncated(r[23]);
        if (row >= 1 && row <= elementdata::nelem && point_of(row)) {
          const auto& ekind = elementdata::elemkind;
          if (holds(ekind, {row}) && sd::tnormalstress.allocated() &&
              ((ekind(row) >= 1 && ekind(row) <= 5) || ekind(row) == 8))
            recover_shell_stresses(row, *npt, section, itns, itshr);
          std::array<double, 6> v{};
          build_ply_stress(p, *npt, row, ply, v.data(), lower.data(), upper.data());
          if (any_nonzero(v.data(), 6)) std::copy(v.begin(), v.end(), r.slot(1));
        } else {
          p.interface = false;
        }
      }

      if (!driver_tables(ply, section)) {
        xerr(-2, outside_tables, std::array{ply, section});
      } else {
        const double dummy = 0.0;
        const double* params = nparams > 0 ? md::pdprops.data() : &dummy;
        const bool stack = holds(sd::plyorientation, {nplies, nsec}) && holds(sd::plythickness, {nplies, nsec});
        const double* orient = stack ? sd::plyorientation.data() : &dummy;
        double f[5] = {}, e[5] = {};
        const double* s = r.slot(1);
        damage::generalfailure(&f[0], &e[0], s, md::psprops.data(), orient, &ply, &nplies, &section, &nsec,
                               &flags[0]);
        damage::fiberbreakage(&f[1], &e[1], s, md::peprops.data(), md::psprops.data(), orient, &ply, &nplies,
                              &section, &nsec, &flags[1]);
        MatrixCracking(&f[2], &e[2], s, md::peprops.data(), md::psprops.data(), params, orient, &ply, &nplies,
                       &section, &nsec, &nparams, &flags[2], &theta, nullptr);
        damage::corecrushing(&f[4], &e[4], s, md::psprops.data(), orient, &ply, &nplies, &section, &nsec,
                             &flags[4]);
        // Chai's criterion (flag 1) reads the stack's angles and thicknesses.
        if (p.interface && (stack || flags[3] != 1))
          damage::delamination(&f[3], &e[3], &r[3], lower.data(), upper.data(), md::peprops.data(),
                               md::psprops.data(), orient, stack ? sd::plythickness.data() : &dummy, &ply,
                               &nplies, &section, &nsec, &flags[3]);
        for (int k = 0; k < 5; ++k) {
          r[7 + k] = std::max(r[7 + k], f[k]);
          r[13 + k] = e[k];
        }
        r[12] = std::max(r[12], 0.0);
        // The first matrix crack fixes the fracture plane.
        if (r[24] == not_set && r[25] == not_set && r[9] == 1.0 && theta != not_set) {
          r[24] = theta;
          const int clockwise = 1;
          GetPhiMeasuredFromXZPlane(r.slot(25), &theta, &clockwise);
        }
        r[26] = 400.0 * r[8] + 40.0 * r[9] + 4.0 * r[10];

        // Bricks: the element lengths along the material axes.
        const int row = truncated(r[23]);
        const auto& ekind = elementdata::elemkind;
        const auto& lengths = elementdata::elemlength;
        if (row >= 1 && holds(ekind, {row}) && (ekind(row) == 10 || ekind(row) == 11) &&
            holds(lengths, {3, row}) && holds(nodaldata::nodalcoords, {3, 8, row})) {
          const bool unset = lengths(1, row) == -1.0 && lengths(2, row) == -1.0 && lengths(3, row) == -1.0;
          if (unset || r[35] != *celent) GetHex8ElemLength(&lengths(1, row), tdirect, &nodaldata::nodalcoords(1, 1, row));
        }

        if (field_on) {
          for (int k = 0; k < 5; ++k) field[k] = evolution[std::size_t(k)] == 0 ? 0.0 : r[7 + k];
        }
        // Matrix damage on the fracture plane (Bogenfeld).
        if (nf > 6 && evolution[2] == 2 && md::pfprops.allocated() && r[25] != not_set &&
            holds(md::pfprops, {5, nplies, nsec})) {
          std::array<double, 6> sv{}, ev{};
          std::array<double, 3> el{};
          bool have = false;
          if (sd::sestrain.allocated() && lengths.allocated()) {
            const bool located = row >= 1 && point_of(row);
            const int isp = sd::nsectionpoints.allocated() ? p.isp : 1;
            const bool found = located && holds(lengths, {3, row}) &&
                               section_stress(sd::sestress, isp, *npt, row, sv.data()) &&
                               section_stress(sd::sestrain, isp, *npt, row, ev.data());
            if (found) {
              sv = lamina::permute(Vec6{sv}, lamina::voigt_nye).v;
              ev = lamina::permute(Vec6{ev}, lamina::voigt_nye).v;
              for (int k = 1; k <= 3; ++k) el[std::size_t(k - 1)] = lengths(k, row);
              have = true;
            }
          } else if (has_table) {
            std::copy_n(table + 1, 6, sv.begin());
            std::copy_n(table + 7, 6, ev.begin());
            std::copy_n(table + 13, 3, el.begin());
            have = true;
          }
          if (have) {
            const double props[5] = {r[25], md::pfprops(2, ply, section), md::pfprops(3, ply, section),
                                     md::pfprops(4, ply, section), md::pfprops(5, ply, section)};
            const int mode = 3, four = 4, five = 5;
            BogenfeldDegradation(&dmatrix, r.slot(27), sv.data(), ev.data(), el.data(), props, &mode, &four, &five);
            field[5] = r[25] / std::numbers::pi;
            const double zero = 0.0;
            field[6] = std::max(field[6], fLimit(&dmatrix, &zero, &matrix_cap));
          }
        }
        const double zero = 0.0;
        r[18] = std::min(r[18], 1.0);
        r[19] = std::min(r[19], 1.0);
        r[20] = std::min(r[20], 1.0 - fLimit(&dmatrix, &zero, &matrix_cap));
      }
    }

    // Relaxation steps grow the damage definitions to a damaged point.
    if (kind == step_relaxation && *kstep > 1 &&
        std::any_of(r.slot(7), r.slot(12), [](double x) { return x >= 1.0; })) {
      int ierror = 0;
      const double origin[3] = {};
      const int idmg = 1;
      UpdateDDS(&ierror, r.slot(7), coord, origin, tdirect, &ply, &section, &idmg);
    }

    std::copy_n(r.slot(1), record_size, tail);

    // The stress of the explicit table into the section stress table.
    const int row = truncated(r[23]);
    if (has_table && sd::sestress.allocated() && row >= 1) {
      const int isp = sd::nsectionpoints.allocated() ? (point_of(row) ? p.isp : 0) : 1;
      if (isp >= 1 && holds(sd::sestress, {6, isp, *npt, row})) {
        const Vec6 s = lamina::permute(Vec6::load(table + 1), lamina::voigt_nye);
        for (int i = 1; i <= 6; ++i) sd::sestress(i, isp, *npt, row) = s(i);
      }
    }
  });
}

void usdfld_dmg(double* field, double* statev, double* /*pnewdt*/, const double* tdirect, const double* t,
                const double* celent, const double* time, const double* dtime, const char* cmname,
                const char* /*orname*/, const int* nfield, const int* nstatv, const int* noel, const int* npt,
                const int* layer, const int* kspt, const int* kstep, const int* kinc, const int* /*ndi*/,
                const int* /*nshr*/, const double* coord, const int* /*jmac*/, const int* /*jmatyp*/,
                const int* /*matlayo*/, const int* /*laccfla*/, const int* /*threadid*/,
                std::size_t cmname_len, std::size_t /*orname_len*/) {
  tavrin::c_boundary(__func__, [&] {
    gen_damage(field, statev, tdirect, t, celent, time, dtime, cmname, nfield, nstatv, noel, npt, layer, kspt,
               kstep, kinc, coord, nullptr, cmname_len);
  });
}

void vusdfld_dmg(const int* nblock, const int* nstatev, const int* nfieldv, const int* /*nprops*/,
                 const int* ndir, const int* nshr, const int* jelem, const int* kintpt, const int* klayer,
                 const int* ksecpt, const int* kstep, const double* temp, const double* steptime,
                 const double* totaltime, const double* dt, const char* cmname, const double* coordmp,
                 const double* tdirect, const double* t, const double* charlength, const double* /*props*/,
                 const double* stateold, const double* stressold, const double* strainold, double* statenew,
                 double* field, const int* /*threadid*/, std::size_t cmname_len) {
  tavrin::c_boundary(__func__, [&] {
    // The increment number from the step time; 0 without a time increment.
    int kinc = 0;
    if (*dt > 0.0) {
      const double n = std::ceil(*steptime / *dt - 2.220446049250313e-16);
      kinc = n > -2147483648.0 && n < 2147483648.0 ? int(n) : 0;
    }
    // The layout first, each extent alone: a refused one touches nothing.
    if (negative_block(*nblock)) return;
    if (!components_in_range(*ndir, *nshr)) {
      xerr(-2, "Stress rows: at most three direct and three shear components.", std::array{*ndir, *nshr});
      return;
    }
    const int nb = *nblock, ns = *nstatev;
    if (ns <= 0 || nb <= 0) return;
    const int nf = std::max(*nfieldv, 0), direct = *ndir, shear = *nshr, nt = direct + shear;
    std::copy_n(stateold, std::size_t(nb) * std::size_t(ns), statenew);
    const View<const double, 2> sold(stressold, nb, nt), eold(strainold, nb, nt), xyz(coordmp, nb, 3),
        lc(charlength, nb, 3);
    const View<const double, 3> dir(tdirect, nb, 3, 3), loc(t, nb, 3, 3);
    const View<double, 2> xnew(statenew, nb, ns), fld(field, nb, nf);
    const double time[2] = {*steptime, *totaltime};
    Scratch<double, 128> state(ns), fk(nf);
    for (int k = 1; k <= nb; ++k) {
      // The rows in the explicit order (direct components, then 12, 23, 31)
      // to Voigt order; components the row does not have are 0.
      Vec6 s, e;
      for (int i = 1; i <= direct; ++i) s(i) = sold(k, i), e(i) = eold(k, i);
      for (int j = 1; j <= shear; ++j) s(3 + j) = sold(k, direct + j), e(3 + j) = eold(k, direct + j);
      s = lamina::permute(s, lamina::cyclic_to_voigt);
      e = lamina::permute(e, lamina::cyclic_to_voigt);
      double table[16];
      table[0] = temp[k - 1];
      std::copy(s.v.begin(), s.v.end(), table + 1);
      std::copy(e.v.begin(), e.v.end(), table + 7);
      for (int i = 1; i <= 3; ++i) table[12 + i] = lc(k, i);
      Mat3 tdk, tk;
      Vec3 ck;
      for (int j = 1; j <= 3; ++j) {
        ck(j) = xyz(k, j);
        for (int i = 1; i <= 3; ++i) tdk(i, j) = dir(k, i, j), tk(i, j) = loc(k, i, j);
      }
      for (int i = 1; i <= ns; ++i) state[std::size_t(i - 1)] = xnew(k, i);
      for (int i = 1; i <= nf; ++i) fk[std::size_t(i - 1)] = fld(k, i);
      const double celent = lc(k, 1);
      gen_damage(fk.data(), state.data(), tdk.data(), tk.data(), &celent, time, dt, cmname, &nf, &ns, &jelem[k - 1],
                 kintpt, klayer, ksecpt, kstep, &kinc, ck.data(), table, cmname_len);
      for (int i = 1; i <= ns; ++i) xnew(k, i) = state[std::size_t(i - 1)];
      for (int i = 1; i <= nf; ++i) fld(k, i) = fk[std::size_t(i - 1)];
    }
  });
}

void gen_sdvini(double* statev, const double* /*coords*/, const int* nstatv, const int* /*ncrds*/,
                const int* /*noel*/, const int* /*npt*/, const int* /*layer*/, const int* /*kspt*/) {
  const int n = *nstatv;
  if (n < 1 || std::any_of(statev, statev + n, [](double x) { return x != 0.0; })) return;
  std::fill_n(statev, n, 0.0);
  statev[n - 1] = std::numeric_limits<double>::max();
}
}
