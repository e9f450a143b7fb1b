#include "solver/deck.hpp"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/strings.hpp"
#include "solver/iohandling.hpp"
#include "solver/step_kind.hpp"

namespace tavrin::iohandling {
namespace {

// Step names and the kinds they give, tested in this order.
constexpr std::pair<std::string_view, int> step_names[] = {
    {"TVR_INITIALIZATION", toplevel::step_initialisation}, {"TVR_FATIGUE", toplevel::step_fatigue},
    {"TVR_STRUCTRESPONSE", toplevel::step_structural},     {"TVR_IMPACT", toplevel::step_impact},
    {"TVR_RELAXATION", toplevel::step_relaxation},         {"TVR_DIC", toplevel::step_dic}};
constexpr std::string_view impactor_marker = "TVR_SENSORELEMENT";

// A deck line cut at its first comma: the keyword (from column 1) and the
// text after the comma.
struct DeckLine {
  bool step = false;
  bool impactor = false;
  std::string_view tail;
};

DeckLine classify(std::string_view line) {
  const std::size_t comma = line.find(',');
  const std::string_view head = line.substr(0, comma);
  DeckLine d;
  d.tail = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
  d.step = same_word(head, "*STEP");
  d.impactor = (d.step || same_word(head, "*INSTANCE")) && stringhandling::occurs(d.tail, impactor_marker);
  return d;
}

int kind_of_step(std::string_view tail) {
  for (const auto& [name, kind] : step_names)
    if (stringhandling::occurs(tail, name)) return kind;
  return toplevel::step_fatigue;
}

}  // namespace

ImpactorPositions scan_deck(Card& deck) {
  const int one = 1;
  jobdata::nsteps = getnumberofkeywords(deck.unit(), "*Step", 5, &one);
  auto& stepid = jobdata::stepid;
  stepid.allocate(jobdata::nsteps);
  stepid.fill(toplevel::step_fatigue);
  int k = 0;
  for (std::string_view line; deck.next(line);) {
    const DeckLine d = classify(line);
    if (d.step && ++k <= stepid.size(1)) stepid(k) = kind_of_step(d.tail);
  }
  deck.rewind();
  int nimp = 0;
  for (std::string_view line; deck.next(line);) nimp += classify(line).impactor ? 1 : 0;
  loaddata::nimp = nimp;
  deck.rewind();

  // The line after each marker line is the impactor's translation: three
  // numbers, else -2 and the impactor stays at (0, 0, 0).
  ImpactorPositions pos;
  pos.x.assign(std::size_t(nimp), 0.0);
  pos.y = pos.z = pos.x;
  k = 0;
  for (std::string_view line; k < nimp && deck.next(line);) {
    const DeckLine d = classify(line);
    if (!d.impactor) continue;
    const long marker_line = deck.line_number();
    double xyz[3] = {0.0, 0.0, 0.0};
    int taken = 0;
    bool numbers = true;
    if (std::string_view next; deck.next(next)) {
      for_each_item(next, [&](std::string_view item) {
        if (taken < 3) numbers = numbers && parse_real(item, xyz[taken++]);
      });
    }
    if (!numbers || taken < 3) {
      deck.report(d.step ? "*STEP" : "*INSTANCE", marker_line, "impactor without three coordinates");
    } else {
      pos.x[std::size_t(k)] = xyz[0];
      pos.y[std::size_t(k)] = xyz[1];
      pos.z[std::size_t(k)] = xyz[2];
    }
    ++k;
  }
  deck.close();
  return pos;
}

void count_cycles(std::string_view msgpath, int kstep, bool& one_row_reported) {
  const auto& props = shokriehdata::cycleprops;
  auto& cycles = shokriehdata::cycles;
  if (!props.allocated() || !cycles.allocated() || kstep < 1 || kstep > props.size(2) ||
      kstep > cycles.size(2) || props.size(1) < 4 || props(4, kstep) != 5.0)
    return;
  if (cycles.size(1) < 2) {
    if (!one_row_reported) xerr(-2, "Error: Cycle count of the message file dropped: cycles has one row.");
    one_row_reported = true;
    return;
  }
  // A message file that is missing holds no count yet; one that cannot be
  // read may hold it, so the count is left as it is.
  Card msg("message file");
  const io::OpenResult opened = msgpath.empty() ? io::OpenResult{ENOENT} : msg.open(msgpath);
  if (!opened && !opened.absent()) return latch_unreadable(msgpath, opened.error);
  const int one = 1;
  const bool found = opened && get2nextkey(msg.unit(), -1, "CYCLE", 5, file_length(msg.unit(), false), &one);
  std::string_view line;
  if (!found || !msg.next(line)) {
    cycles(2, kstep) = std::max(cycles(2, kstep), 1.0);
    return;
  }
  // The count is the second word of the line itself.
  int word = 0;
  std::string_view count;
  for_each_item(line, [&](std::string_view item) {
    if (++word == 2) count = item;
  });
  if (word < 2) return;
  double value = 0.0;
  if (parse_real(count, value)) cycles(2, kstep) = value;
  else msg.report("CYCLE", msg.line_number(), "cycle count is not a number");
}

}  // namespace tavrin::iohandling
