// The step card: debug selectors per step block and the fatigue cycle
// tables.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "foundation/shared_state.hpp"
#include "foundation/strings.hpp"
#include "solver/card_file.hpp"
#include "solver/iohandling.hpp"

namespace tavrin::iohandling {
namespace {

// Values of one step block, moved to debugdata at "++End Step".
struct Pending {
  std::optional<int> element, nodal, file;
  std::vector<int> update, verbose;
  void transfer() {
    if (!update.empty()) debugdata::nupdate = update.front();
    if (element) debugdata::edebug = *element;
    if (nodal) debugdata::ndebug = *nodal;
    if (file) debugdata::fdebug = *file;
    if (!verbose.empty()) {
      debugdata::verbose = verbose[0];
      debugdata::unitid = verbose.size() > 1 ? verbose[1] : -3;
    }
    *this = {};
  }
  bool empty() const { return !element && !nodal && !file && update.empty() && verbose.empty(); }
};

class StepCardReader {
 public:
  StepCardReader(Card& card, int nsteps) : card_(card), nsteps_(nsteps) {}

  void run() {
    bool in_block = false;
    long first_pending = 0;  // line of the first value still pending
    for (std::string_view line; card_.next(line);) {
      if (pending_.empty()) first_pending = card_.line_number();
      const auto [keyword, option] = split_keyword(line);
      if (same_word(keyword, "++Begin Step")) {
        in_block = true;
      } else if (same_word(keyword, "+Debug")) {
        if (!in_block) continue;
        if (stringhandling::match(option, "TYPE=ELEMENT")) read_selector(pending_.element, keyword);
        else if (stringhandling::match(option, "TYPE=NODAL")) read_selector(pending_.nodal, keyword);
        else if (stringhandling::match(option, "TYPE=FILE")) read_selector(pending_.file, keyword);
      } else if (same_word(keyword, "+Verbose")) {
        if (in_block) read_list(pending_.verbose, keyword);
      } else if (same_word(keyword, "+Update")) {
        if (option.empty() || (in_block && stringhandling::match(option, "TYPE=INC")))
          read_list(pending_.update, keyword);
      } else if (same_word(keyword, "+Cycle")) {
        if (option.empty()) general_cycles(keyword);
        else if (!in_block) continue;
        else if (stringhandling::occurs(option, "TYPE=GENERAL")) general_cycles(keyword);
        else if (stringhandling::match(option, "TYPE=INDIVIDUAL")) individual_cycles(keyword);
        else if (stringhandling::match(option, "TYPE=DIRECT")) direct_cycles(keyword);
      } else if (same_word(keyword, "++End Step")) {
        pending_.transfer();
        in_block = false;
      }
    }
    if (!pending_.empty()) card_.report("++End Step", first_pending, card_message::unclosed);
  }

 private:
  // A selector takes one integer; the latest line of a block wins.
  void read_selector(std::optional<int>& slot, std::string_view keyword) {
    const long line = card_.line_number();
    std::vector<int> v;
    if (!card_.read_data(v, keyword) || v.empty()) return;
    if (v.size() > 1) return card_.report(keyword, line, card_message::beyond_table);
    slot = v.front();
  }

  void read_list(std::vector<int>& list, std::string_view keyword) {
    std::vector<int> v;
    if (card_.read_data(v, keyword) && !v.empty()) list = std::move(v);
  }

  // Parameters of every step, laid out column by column (ncycleprops,
  // nsteps); values beyond ncycleprops·nsteps are not used.  One table per
  // card.
  bool general_cycles(std::string_view keyword) {
    const long line = card_.line_number();
    std::vector<double> v;
    if (!card_.read_data(v, keyword)) return false;
    auto& props = shokriehdata::cycleprops;
    if (props.allocated() || nsteps_ < 1) {
      card_.report(keyword, line, card_message::beyond_table);
      return false;
    }
    const int rows = int(v.size() / std::size_t(nsteps_));
    props.allocate(rows, nsteps_);
    std::copy_n(v.begin(), std::size_t(rows) * std::size_t(nsteps_), props.data());
    return true;
  }

  void direct_cycles(std::string_view keyword) {
    const bool fresh = !shokriehdata::cycles.allocated() && !shokriehdata::cycleprops.allocated();
    if (!general_cycles(keyword) || !fresh) return;
    shokriehdata::cycles.allocate(1, nsteps_);
    shokriehdata::cycles.fill(1.0);
  }

  // One list of cycle numbers for the first step whose jump algorithm
  // (row 3) is 3 or more; cycles gets as many rows as the largest list
  // length of row 6.
  void individual_cycles(std::string_view keyword) {
    const long line = card_.line_number();
    std::vector<double> v;
    if (!card_.read_data(v, keyword) || v.empty()) return;
    const auto& props = shokriehdata::cycleprops;
    auto& cycles = shokriehdata::cycles;
    if (!props.allocated() || props.size(1) < 6) return card_.report(keyword, line, card_message::wrong_length);
    if (!cycles.allocated()) {
      double rows = 0.0;
      for (int j = 1; j <= props.size(2); ++j) rows = std::max(rows, std::round(props(6, j)));
      if (!(rows <= 2147483647.0)) return card_.report(keyword, line, card_message::beyond_table);
      if (!card_.fits(rows * props.size(2) * double(sizeof(double)), keyword, line)) return;
      cycles.allocate(int(rows), props.size(2));
    }
    for (int j = 1; j <= std::min(props.size(2), cycles.size(2)); ++j) {
      if (!(props(3, j) >= 3.0)) continue;
      if (int(v.size()) > cycles.size(1)) return card_.report(keyword, line, card_message::beyond_table);
      std::copy(v.begin(), v.end(), &cycles(1, j));
      return;
    }
  }

  Card& card_;
  int nsteps_;
  Pending pending_;
};

}  // namespace

void getstepdatafromfile(std::string_view filepath, std::string_view workspace, int nsteps) {
  Card card("StepCard");
  if (!card.open_card(filepath, workspace)) return;
  debugdata::edebug = 0;
  debugdata::ndebug = 0;
  debugdata::fdebug = 0;
  debugdata::nupdate = 1;
  debugdata::verbose = 0;
  debugdata::unitid = -3;
  shokriehdata::cycleprops.deallocate();
  shokriehdata::cycles.deallocate();
  StepCardReader(card, nsteps).run();
}

}  // namespace tavrin::iohandling
