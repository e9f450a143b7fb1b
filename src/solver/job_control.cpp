#include "solver/job_control.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "elements/element_registry.hpp"
#include "foundation/boundary.hpp"
#include "foundation/datahandling.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/record_files.hpp"
#include "foundation/shared_state.hpp"
#include "mechanics/shear_stiffness.hpp"
#include "solver/deck.hpp"
#include "solver/impactors.hpp"
#include "solver/iohandling.hpp"
#include "solver/state_found.hpp"
#include "solver/step_kind.hpp"

namespace tavrin::toplevel {

JobControlState& job_control_state() {
  static JobControlState state;
  return state;
}

namespace {

namespace ioh = iohandling;

// Phase codes of UEXTERNALDB_IOControl.
enum Phase : int { analysis_start = 0, increment_start = 1, increment_end = 2, analysis_end = 3,
                   restart = 4, step_start = 5, step_end = 6, increment_setup = 7 };

// The start-up failure as the latch records it (the end of "... Please check
// paths and your input deck format." does not fit).
constexpr std::string_view start_failure =
    "Cannot process any input file. Execution stops. Please check paths and your inp";

// The job's files: the path stem jobfilepath with an extension, composed at
// full length; empty when the stem is blank.
std::string job_file(std::string_view extension) {
  const std::string_view stem = ioh::trimmed_path(jobdata::jobfilepath.view());
  return stem.empty() ? std::string() : std::string(stem) + std::string(extension);
}

// Elements of the element tables that can be looked at: nelem cut to the
// kind table (0 when it is absent).
int element_rows() { return std::clamp(elementdata::nelem, 0, elementdata::elemkind.size(1)); }

bool any_continuum() {
  for (int i = 1; i <= element_rows(); ++i)
    if (elementdata::elemkind(i) > 9) return true;
  return false;
}

// Section points of all plies of the thickest section: the second extent
// of the section stress tables.
int section_points() {
  const auto& points = sectiondata::nsectionpoints;
  const int largest = points.allocated() && points.size() > 0 ? *std::max_element(points.begin(), points.end()) : 0;
  return int(std::clamp<std::int64_t>(std::int64_t(largest) * sectiondata::nplies, 0, 2147483647));
}

void prepare_impactors(const ioh::ImpactorPositions& positions) {
  const int nimp = std::max(loaddata::nimp, 0);
  JobControlState& s = job_control_state();
  auto& cprops = impactdata::cprops;
  auto& dprops = loaddata::dprops;
  if (cprops.size(1) != 20 || cprops.size(2) != nimp || !cprops.allocated()) cprops.allocate(20, nimp);
  if (dprops.size(1) != 12 || dprops.size(2) != nimp || !dprops.allocated()) dprops.allocate(12, nimp);
  if (s.window.size(2) != nimp || !s.window.allocated()) s.window.allocate(impactors::window_length, nimp);
  if (s.denom.size(1) != nimp || !s.denom.allocated()) s.denom.allocate(nimp);
  // The preset refills every entry: tables reused in place hold new ones.
  for (AllocatableBase* a : std::initializer_list<AllocatableBase*>{&cprops, &dprops, &s.window, &s.denom})
    a->renew();
  impactors::preset(cprops.view(), dprops.view(), s.window.view(), {s.denom.data(), std::size_t(nimp)},
                    positions.x, positions.y, positions.z);
}

// Transverse shear stiffness and stress functions of every section, from
// the plies' elastic constants at the first temperature.
void section_matrices() {
  using namespace sectiondata;
  const int p = nplies, s = nsec;
  const auto& ids = materialdata::matidlist;
  const bool consistent = p > 0 && s > 0 && ids.size(1) == p && ids.size(2) == s &&
                          plyorientation.size(1) == p && plyorientation.size(2) == s &&
                          plythickness.size(1) == p && plythickness.size(2) == s &&
                          plyzcoord.size(1) == 2 * p + 1 && plyzcoord.size(2) == s &&
                          sefmatrix.size(1) == 2 * p + 1 && sefmatrix.size(3) == s && sehmatrix.size(3) == s;
  if (!consistent) return;
  // The matrices are made anew, also when the section card was not read
  // and the tables are those of an earlier start.
  sefmatrix.renew();
  sehmatrix.renew();
  // Rows 1-9 of peprops per slot: the table holds one block of elastic rows
  // per temperature, the section matrices take the first.
  std::vector<double> elastic(std::size_t(9) * std::size_t(p) * std::size_t(s), 0.0);
  const auto& pe = materialdata::peprops;
  if (pe.size(1) >= 9 && pe.size(2) >= p && pe.size(3) >= s)
    for (int k = 1; k <= s; ++k)
      for (int j = 1; j <= p; ++j)
        std::copy_n(&pe(1, j, k), 9, elastic.begin() + 9 * ((j - 1) + std::ptrdiff_t(p) * (k - 1)));
  GetSectionFMatrix(sefmatrix.data(), ids.data(), plyorientation.data(), plythickness.data(), plyzcoord.data(),
                    elastic.data(), &p, &s, nullptr);
  GetSectionHMatrix(sehmatrix.data(), ids.data(), plyorientation.data(), plythickness.data(), elastic.data(), &p,
                    &s, nullptr, nullptr);
}

void start_up() {
  loaddata::nimp = 0;
  damagedata::ndmg = 0;
  sectiondata::nsec = 1;
  sectiondata::nplies = 1;
  debugdata::nupdate = 1;
  job_control_state().one_row_cycles_reported = false;
  // The per-element tables of an earlier analysis in this process.
  for (AllocatableBase* a : std::initializer_list<AllocatableBase*>{
           &elementdata::elemlength, &sectiondata::sestress, &sectiondata::tnormalstress, &sectiondata::tshearstress})
    a->deallocate();

  // The deck is the .pes file, else, when that does not exist, the .inp
  // file; a deck that exists but cannot be read is latched, not passed over
  // for an older one.
  ioh::Card deck("input deck");
  std::string deck_path = job_file(".pes");
  io::OpenResult opened = deck_path.empty() ? io::OpenResult{ENOENT} : deck.open(deck_path);
  if (opened.absent() && !deck_path.empty()) {
    deck_path = job_file(".inp");
    opened = deck.open(deck_path);
  }
  if (!opened && !opened.absent()) ioh::latch_unreadable(deck_path, opened.error);
  if (opened && !jobdata::stepid.allocated()) {
    jobdata::solverid = 1;
    prepare_impactors(ioh::scan_deck(deck));
  } else {
    deck.close();
    xerr(-3, start_failure);
  }
  const std::string outdir(ioh::trimmed_path(jobdata::joboutdir.view()));
  ioh::getstepdatafromfile(deck_path, outdir, jobdata::nsteps);
  ioh::getsectiondatafromfile(deck_path, outdir);
  ioh::getmaterialdatafromfile(deck_path, outdir, sectiondata::nplies, sectiondata::nsec);
  ioh::getdamagedatafromfile(deck_path, outdir, sectiondata::nplies, sectiondata::nsec);
  section_matrices();
}

// Start-up as an entry point runs it, the explicit one with the solver's
// data file: when memory runs out the start-up is abandoned (latched -3 by
// the boundary, naming the entry) and the state it found is restored, less
// the tables it touched, so no half-read analysis remains.
void start_up_at_boundary(std::string_view entry, bool with_data_file) {
  std::optional<StateFound> before;
  const bool done = c_boundary(entry, [&] {
    JobControlState& s = job_control_state();
    AllocatableBase* const buffers[] = {&s.window, &s.denom};
    before.emplace(buffers);
    start_up();
    if (with_data_file) iohandling::getabqdatafromfile(job_file(".dat"));
  });
  if (!done && before) before->restore();
}

void start_increment(int kstep) {
  using namespace sectiondata;
  const int kind = step_kind(kstep);
  if (impactdata::cprops.allocated() && kind == step_impact) impactors::start_increment(impactdata::cprops.view());

  const int nelem = std::max(elementdata::nelem, 0);
  if (elementdata::elemkind.allocated() && any_continuum() && !elementdata::elemlength.allocated()) {
    elementdata::elemlength.allocate(3, nelem);
    elementdata::elemlength.fill(-1.0);
  }

  const bool stress_step = kind != step_unknown && kind != step_initialisation && kind != step_structural &&
                           kind != step_relaxation && kind != step_dic;
  if (nsectionpoints.allocated() && elementdata::elemkind.allocated() && !sestress.allocated() && kstep > 1 &&
      stress_step) {
    const int npts = section_points();
    sestress.allocate(6, npts, any_continuum() ? 27 : 4, nelem);
    bool shells = false;
    for (int i = 1; i <= element_rows() && !shells; ++i) {
      const int k = elementdata::elemkind(i);
      shells = (k >= 1 && k <= 5) || k == 8;
    }
    if (!shells) return;  // the rest waits for the next increment
    if (!tnormalstress.allocated())
      tnormalstress.allocate(plyzcoord.allocated() ? plyzcoord.size(1) : 2 * nplies + 1, nelem);
    if (!tshearstress.allocated()) tshearstress.allocate(npts, 2, 4, nelem);
  }

  if (shokriehdata::cycles.allocated() && shokriehdata::cycleprops.allocated() && kind == step_fatigue)
    ioh::count_cycles(job_file(".msg"), kstep, job_control_state().one_row_cycles_reported);
}

void zero_through_thickness_tables() {
  sectiondata::tnormalstress.fill(0.0);
  sectiondata::tshearstress.fill(0.0);
}

void end_increment(int kstep, int kinc, double dtime, bool explicit_caller) {
  const int kind = step_kind(kstep);
  auto& cprops = impactdata::cprops;
  if (cprops.allocated() && kind == step_structural) impactors::end_increment_structural(cprops.view());
  if (cprops.allocated() && kind == step_impact) {
    JobControlState& s = job_control_state();
    impactors::end_increment_impact(cprops.view(), s.window.view(), {s.denom.data(), std::size_t(s.denom.size())},
                                    dtime);
  }
  // An explicit solver's increments are many: the tables are cleared every
  // nupdate-th increment only (kinc + 1 a multiple of nupdate).
  const std::int64_t every = debugdata::nupdate;
  if (explicit_caller && every != 0 && (std::int64_t(kinc) + 1) % every != 0) return;
  zero_through_thickness_tables();
  // Motions of the nodes beyond the fourth of the four-node shells.
  auto& motion = nodaldata::nodesmotion;
  if (!motion.allocated() || !elementdata::elemkind.allocated()) return;
  for (int i = 1; i <= std::min(motion.size(3), elementdata::elemkind.size(1)); ++i) {
    const int k = elementdata::elemkind(i);
    if (k < 1 || k > 3) continue;
    for (int node = 5; node <= motion.size(2); ++node)
      for (int dof = 1; dof <= motion.size(1); ++dof) motion(dof, node, i) = 0.0;
  }
}

void release() {
  JobControlState& s = job_control_state();
  s.window.deallocate();
  s.denom.deallocate();
  int istat = 0;
  datahandling::deallocall(istat);
}

// The phases of UEXTERNALDB_IOControl, for the entry the host called: a
// failure is latched in its name.
void io_control(std::string_view entry, const int* lop, const double* dtime, const int* kstep, const int* kinc,
                bool explicit_caller) {
  if (*lop == analysis_start || *lop == restart) return start_up_at_boundary(entry, false);
  c_boundary(entry, [&] {
    switch (*lop) {
      case increment_start:
        if (explicit_caller) return;
        [[fallthrough]];
      case increment_setup: return start_increment(*kstep);
      case increment_end: return end_increment(*kstep, *kinc, *dtime, explicit_caller);
      case analysis_end: return release();
      default: return;
    }
  });
}

}  // namespace
}  // namespace tavrin::toplevel

namespace tl = tavrin::toplevel;

void UEXTERNALDB_IOControl(const int* lop, const int* /*lrestart*/, const double* /*time*/, const double* dtime,
                           const int* kstep, const int* kinc, const int* exflag) {
  tl::io_control(__func__, lop, dtime, kstep, kinc, exflag && *exflag == 1);
}

void VUEXTERNALDB_IOControl(const int* k, const int* i_array, const int* niarray, const double* r_array,
                            const int* nrarray, const int* mpi_rank) {
  // The phases run as this entry's: a failure in any is latched in its name.
  const std::string_view entry = __func__;
  tavrin::c_boundary(entry, [&] {
    // Explicit phases 0..6: start of the analysis, start of a step, set-up of
    // an increment, start of an increment, end of an increment, end of a
    // step, end of the analysis.
    constexpr int job_code[] = {tl::analysis_start, tl::step_start, tl::increment_setup, tl::increment_start,
                                tl::increment_end, tl::step_end, tl::analysis_end};
    const int phase = *k;
    if (phase < 0 || phase > 6) return;
    const auto ientry = [&](int i) { return i <= *niarray ? i_array[i - 1] : 0; };
    const auto rentry = [&](int i) { return i <= *nrarray ? r_array[i - 1] : 0.0; };
    const int kstep = ientry(3), kinc = ientry(4);
    const double dtime = rentry(3);

    if (mpi_rank && *mpi_rank != 0) {
      // Every process holds its own state: the others start, release, and
      // keep the ends of increments and steps once their step table exists.
      const bool ends = tavrin::jobdata::stepid.allocated() && (phase == 4 || phase == 5);
      if (!ends && phase != 0 && phase != 6) return;
    } else if (phase == 1) {
      tavrin::jobdata::stepcount = std::max(tavrin::jobdata::stepcount, kstep);
      const int code = tl::step_start;
      return tl::io_control(entry, &code, &dtime, &kstep, &kinc, true);
    }
    // The start reads the solver's data file after the cards.
    if (phase == 0) return tl::start_up_at_boundary(entry, true);
    tl::io_control(entry, &job_code[phase], &dtime, &kstep, &kinc, true);
    if (phase == 5 && tl::step_kind(kstep) == tl::step_initialisation) {
      int ierror = 0;
      const int ind = 1;
      tavrin::elements::reference_data(&tl::job_control_state().nshell, &ierror, &ind);
    }
  });
}

void UACCESS_IOControl(const int* lop, const double* /*dtime*/) {
  if (*lop == tl::increment_end) tl::zero_through_thickness_tables();
  if (*lop == tl::analysis_end) {
    int istat = 0;
    tavrin::datahandling::deallocall(istat);
  }
}
