// The material card: per-ply property tables of every (ply, section) slot
// whose material id names a block, the merged temperature list with the
// temperature factor tables, and the calibration tables of the nonlinear and
// resin laws.
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "foundation/shared_state.hpp"
#include "foundation/strings.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "solver/card_file.hpp"
#include "solver/iohandling.hpp"

namespace tavrin::iohandling {
namespace {

using Reals = std::vector<double>;
using Ints = std::vector<int>;

// Calibration types, in the order their options are tested.
enum Calibration : int { plasticity, secant, equivalent_stress, alpha1, alpha2, alpha3, normal, shear, ncal };
constexpr std::array<std::string_view, ncal> calibration_word = {
    "TYPE=Plasticity", "TYPE=Secant", "TYPE=EquivalentStress", "TYPE=Alpha1",
    "TYPE=Alpha2",     "TYPE=Alpha3", "TYPE=Normal",           "TYPE=Shear"};

// Module table of a calibration type given by rows (one per temperature)
// and the values per point of a row.
struct RowTable {
  Allocatable<double, 3>* table;
  int* points;
  int per_point;
};
RowTable row_table(Calibration c) {
  using namespace materialdata;
  switch (c) {
    case plasticity: return {&flowprops, &nflowdata, 3};
    case secant: return {&secantprops, &nsecantdata, 2};
    case alpha1: return {&alpha1props, &nalpha1data, 2};
    case alpha2: return {&alpha2props, &nalpha2data, 2};
    case alpha3: return {&alpha3props, &nalpha3data, 2};
    case normal: return {&normalprops, &nnormaldata, 2};
    default: return {&shearprops, &nsheardata, 2};
  }
}

// Cure tables: second index of cuprops for each keyword.
constexpr int cure_gel = 1, cure_enthalpy = 2, cure_expansion = 3, cure_shrinkage = 4, cure_limit = 5,
              cure_transition = 6, cure_rate = 7, cure_master = 8;

// Item counts that size the tables (pass 1), with their presets.
struct Counts {
  int nelastic = 9, nstrength = 10, nhygro = 1, nfracture = 1, ndamage = 1, nreg = 1, ncuredata = 7,
      nmaster = 1;
  std::array<int, ncal> calibration{1, 1, 1, 1, 1, 1, 1, 1};
  long first_block = 0;  // line of the first "++Begin Material"
  int ncure() const { return std::max(ncuredata, nmaster); }
};

bool one_temperature_mark(std::string_view option) {
  return stringhandling::tally(option, "T=") == 1;
}

Counts count_items_of_blocks(Card& card) {
  Counts n;
  bool in_block = false;
  const auto raise = [&](int& count) { count = std::max(count, card.count_data()); };
  for (std::string_view line; card.next(line);) {
    const auto [keyword, option] = split_keyword(line);
    if (same_word(keyword, "++Begin Material")) {
      in_block = true;
      if (!n.first_block) n.first_block = card.line_number();
    } else if (same_word(keyword, "++End Material")) in_block = false;
    else if (!in_block) continue;
    else if (same_word(keyword, "+Strength")) raise(n.nstrength);
    else if (same_word(keyword, "+Elastic")) raise(n.nelastic);
    else if (same_word(keyword, "+Hygrothermal")) raise(n.nhygro);
    else if (same_word(keyword, "+Fracture")) raise(n.nfracture);
    else if (same_word(keyword, "+Failure") && stringhandling::occurs(option, "TYPE=PROPERTIES")) raise(n.ndamage);
    else if (same_word(keyword, "+Regularization") && stringhandling::occurs(option, "TYPE=VISCOUS")) raise(n.nreg);
    else if (same_word(keyword, "+Curing") && stringhandling::occurs(option, "TYPE=RATE")) raise(n.ncuredata);
    else if (same_word(keyword, "+Curing") && stringhandling::occurs(option, "TYPE=MASTER")) raise(n.nmaster);
    else if (same_word(keyword, "+Calibration")) {
      for (int c = 0; c < ncal; ++c)
        if (stringhandling::occurs(option, calibration_word[std::size_t(c)])) {
          raise(n.calibration[std::size_t(c)]);
          break;
        }
    }
  }
  card.rewind();
  return n;
}

// The distinct temperatures of all blocks of this card, ascending.
Reals merged_temperatures(Card& card) {
  Reals merged, block;
  bool in_block = false, given = false;
  card.set_quiet(true);  // the contents pass reports the same lines
  for (std::string_view line; card.next(line);) {
    const auto [keyword, option] = split_keyword(line);
    if (same_word(keyword, "++Begin Material")) {
      in_block = true;
      given = false;
    } else if (in_block && same_word(keyword, "+Temperature")) {
      given = card.read_data(block, keyword);
    } else if (in_block && same_word(keyword, "++End Material")) {
      if (given) merged.insert(merged.end(), block.begin(), block.end());
      in_block = given = false;
    }
  }
  card.set_quiet(false);
  card.rewind();
  std::sort(merged.begin(), merged.end());
  merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
  return merged;
}

// Bytes of the tables that allocate_material_tables makes.
double material_table_bytes(const Counts& n, int p, int s, int temps) {
  const double slots = double(p) * s, t = temps, i = sizeof(int), r = sizeof(double);
  const double per_slot = 10 * i + r * (12.0 + (n.nelastic + n.nstrength) * t + n.nhygro + n.nfracture +
                                        n.ndamage + 8.0 * n.ncure());
  const auto points = [&](Calibration c, int per_point) { return double(std::max(n.calibration[c] / per_point, 1)); };
  const double calibration = t * r * (2.0 * (points(secant, 2) + points(alpha1, 2) + points(alpha2, 2) +
                                             points(alpha3, 2) + points(normal, 2) + points(shear, 2)) +
                                      3.0 * points(plasticity, 3));
  return slots * per_slot + calibration + r * (n.nreg + 2.0 * std::max(n.calibration[equivalent_stress] / 2, 1));
}

void allocate_material_tables(const Counts& n, int p, int s, int temps) {
  using namespace materialdata;
  pfflags.allocate(5, p, s);
  peflags.allocate(5, p, s);
  pelimits.allocate(12, p, s);
  peprops.allocate(n.nelastic * temps, p, s);
  psprops.allocate(n.nstrength * temps, p, s);
  phprops.allocate(n.nhygro, p, s);
  pfprops.allocate(n.nfracture, p, s);
  pdprops.allocate(n.ndamage, p, s);
  secantprops.allocate(temps, nsecantdata, 2);
  flowprops.allocate(temps, nflowdata, 3);
  alpha1props.allocate(temps, nalpha1data, 2);
  alpha2props.allocate(temps, nalpha2data, 2);
  alpha3props.allocate(temps, nalpha3data, 2);
  cuprops.allocate(n.ncure(), 8, p, s);
  regularization.allocate(n.nreg);
  equivalentstress.allocate(std::max(n.calibration[equivalent_stress] / 2, 1), 2);
  normalprops.allocate(temps, nnormaldata, 2);
  shearprops.allocate(temps, nsheardata, 2);
  pelimits.fill(-1.0);
  pdprops.fill(not_given);
  cuprops.fill(not_given);
  i10.deallocate();
  r_crit.deallocate();
}

// Pending values of one material block (and of the lines that may stand
// before a block).
struct Block {
  bool open = false;
  bool id_given = false;
  int id = 0;
  long line = 0;
  std::optional<int> modelid;
  std::optional<Reals> temperature, elastic, strength, hygro, fracture, caps, params, table;
  long table_line = 0;
  std::optional<Ints> initiation, evolution;
  std::array<std::optional<Reals>, 8> cure;  // cuprops second index 1..8
  int counter = 1;                           // calibration lines of the block
  std::array<std::optional<Reals>, ncal> calibration;  // rows ntemp × count; equivalent stress: the list
  bool pending() const {
    bool any = modelid || temperature || elastic || strength || hygro || fracture || caps || params ||
               table || initiation || evolution;
    for (const auto& c : cure) any = any || c.has_value();
    for (const auto& c : calibration) any = any || c.has_value();
    return any;
  }
};

class MaterialCardReader {
 public:
  MaterialCardReader(Card& card, const Counts& counts, int nplies, int nsec, int ntemp)
      : card_(card), n_(counts), p_(std::max(nplies, 0)), s_(std::max(nsec, 0)), ntemp_(ntemp),
        rows_(std::max(ntemp, 1)) {}

  void run() {
    for (std::string_view line; card_.next(line);) dispatch(line);
    if (b_.pending()) card_.report("++Begin Material", b_.line, card_message::unclosed);
  }

 private:
  void dispatch(std::string_view line) {
    const KeywordLine k = split_keyword(line);
    const std::string_view kw = k.keyword, opt = k.option;
    const bool in = b_.open;
    const auto has = [&](std::string_view word) { return stringhandling::occurs(opt, word); };
    if (same_word(kw, "++Begin Material")) return open_block(opt);
    if (same_word(kw, "+Failure") && (opt.empty() || (in && has("TYPE=INITIATION"))))
      return pending(b_.initiation, kw, 5);
    if (same_word(kw, "+Curing") && (opt.empty() || (in && has("TYPE=EXPONENTIAL"))))
      return pending(b_.cure[cure_limit - 1], kw, n_.ncure());
    if (!in) return;
    if (same_word(kw, "+ModelID")) return model_id(kw);
    if (same_word(kw, "+Temperature")) return pending(b_.temperature, kw, 0);
    if (same_word(kw, "+Elastic")) return pending(b_.elastic, kw, 9, 2);
    if (same_word(kw, "+Strength")) return pending(b_.strength, kw, 10);
    if (same_word(kw, "+Hygrothermal")) return pending(b_.hygro, kw, 5);
    if (same_word(kw, "+Fracture")) return pending(b_.fracture, kw, 5);
    if (same_word(kw, "+Failure")) {
      if (has("TYPE=EVOLUTION")) return pending(b_.evolution, kw, 5);
      if (has("TYPE=DEGRADATION")) return degradation_caps(kw);
      if (has("TYPE=PROPERTIES")) return pending(b_.params, kw, 5);
      return;
    }
    if (same_word(kw, "+Regularization")) {
      if (has("TYPE=VISCOUS")) read_into(materialdata::regularization, kw, materialdata::regularization.size(1));
      return;
    }
    if (same_word(kw, "+Table")) {
      if (has("TYPE=TEMPERATURE")) {
        b_.table_line = card_.line_number();
        pending(b_.table, kw, 0);
      }
      return;
    }
    constexpr std::pair<std::string_view, int> cure_lists[] = {
        {"+Expansion", cure_expansion}, {"+Shrinkage", cure_shrinkage}, {"+GelPoint", cure_gel},
        {"+Enthalpie", cure_enthalpy}, {"+Transition", cure_transition}};
    for (const auto& [word, c] : cure_lists)
      if (same_word(kw, word)) return pending(b_.cure[std::size_t(c - 1)], kw, n_.ncure());
    if (same_word(kw, "+Curing")) {
      if (has("TYPE=RATE")) return pending(b_.cure[cure_rate - 1], kw, n_.ncure());
      if (has("TYPE=MASTER")) return pending(b_.cure[cure_master - 1], kw, n_.ncure());
      return;
    }
    const bool one_t = one_temperature_mark(opt);
    if (same_word(kw, "+Calibration") && one_t)
      for (const Calibration c : {secant, normal, shear})
        if (has(calibration_word[c])) return calibration_row(c, kw);
    if (same_word(kw, "+I10")) return read_once(materialdata::i10, kw);
    if (has("TYPE=Ratio")) return read_once(materialdata::r_crit, kw);
    if (has("TYPE=Plasticity") && one_t) return calibration_row(plasticity, kw);
    if (has("TYPE=EquivalentStress")) return pending(b_.calibration[equivalent_stress], kw, 0);
    for (const Calibration c : {alpha1, alpha2, alpha3})
      if (has(calibration_word[c]) && one_t) return calibration_row(c, kw);
    if (same_word(kw, "++End Material")) return close_block();
  }

  void open_block(std::string_view option) {
    if (b_.open && b_.pending()) card_.report("++Begin Material", b_.line, card_message::unclosed);
    if (b_.open) b_ = {};
    b_.open = true;
    b_.line = card_.line_number();
    b_.counter = 1;
    const std::string_view item = left_adjusted(split_keyword(option).keyword);
    b_.id_given = item.size() > 6 && parse_int(first_item(item.substr(6)), b_.id) && b_.id != int_not_given;
    if (!b_.id_given) card_.report("++Begin Material", b_.line, card_message::not_a_number);
  }

  // A pending list of at most `most` values (0: any number) and at least
  // `least`; a list outside those bounds, or given twice, is dropped.
  template <class T>
  void pending(std::optional<std::vector<T>>& slot, std::string_view kw, int most, int least = 0) {
    const long line = card_.line_number();
    std::vector<T> v;
    if (!card_.read_data(v, kw)) return;
    if (slot) return card_.report(kw, line, card_message::given_twice);
    const int count = int(v.size());
    if (count < least) return card_.report(kw, line, card_message::wrong_length);
    if (most > 0 && count > most) return card_.report(kw, line, card_message::beyond_table);
    slot = std::move(v);
  }

  // Six caps (used twice) or twelve.
  void degradation_caps(std::string_view kw) {
    const long line = card_.line_number();
    pending(b_.caps, kw, 12, 6);
    if (b_.caps && b_.caps->size() != 6 && b_.caps->size() != 12) {
      b_.caps.reset();
      card_.report(kw, line, card_message::wrong_length);
    }
  }

  void model_id(std::string_view kw) {
    std::optional<Ints> v;
    pending(v, kw, 1);
    if (v && !v->empty()) b_.modelid = v->front();
  }

  // Values read at once into a module vector of `size` entries.
  void read_into(Allocatable<double, 1>& table, std::string_view kw, int size) {
    const long line = card_.line_number();
    Reals v;
    if (!card_.read_data(v, kw)) return;
    if (int(v.size()) > size) return card_.report(kw, line, card_message::beyond_table);
    std::copy(v.begin(), v.end(), table.data());
  }

  void read_once(Allocatable<double, 1>& value, std::string_view kw) {
    const long line = card_.line_number();
    Reals v;
    if (!card_.read_data(v, kw) || v.empty()) return;
    if (v.size() > 1) return card_.report(kw, line, card_message::beyond_table);
    if (!value.allocated()) value.allocate(1);
    value(1) = v.front();
  }

  // One temperature's row of a calibration table of the block: rows follow
  // the temperatures in order, and the groups of the types one another.
  void calibration_row(Calibration c, std::string_view kw) {
    const long line = card_.line_number();
    Reals v;
    if (!card_.read_data(v, kw)) return;
    const int columns = n_.calibration[c];
    if (int(v.size()) > columns) return card_.report(kw, line, card_message::beyond_table);
    auto& table = b_.calibration[c];
    if (!table) table = Reals(std::size_t(rows_) * std::size_t(columns), 0.0);
    const int row = (b_.counter - 1) % rows_;
    ++b_.counter;
    std::copy(v.begin(), v.end(), table->begin() + std::ptrdiff_t(row) * columns);
  }

  template <class F>
  void for_slots(F&& f) const {
    if (!b_.id_given) return;
    const auto& ids = materialdata::matidlist;
    if (!ids.allocated()) return;
    for (int k = 1; k <= std::min(s_, ids.size(2)); ++k)
      for (int j = 1; j <= std::min(p_, ids.size(1)); ++j)
        if (ids(j, k) == b_.id) f(j, k);
  }

  // Factor matrix F(ntemp, ne + ns), row t the factors of temperature t,
  // when the block is temperature dependent and its table has the size.
  std::optional<Reals> factor_table(int ne, int ns) const {
    if (!b_.table) return std::nullopt;
    const bool fits = b_.temperature && ntemp_ > 0 && long(b_.table->size()) == long(ne + ns) * ntemp_;
    if (!fits) {
      card_.report("+Table", b_.table_line, card_message::wrong_length);
      return std::nullopt;
    }
    return b_.table;
  }

  void close_block() {
    using namespace materialdata;
    if (b_.modelid) modelid = *b_.modelid;
    const int ne = b_.elastic ? int(b_.elastic->size()) : 0;
    const int ns = b_.strength ? int(b_.strength->size()) : 0;
    const std::optional<Reals> factors = factor_table(ne, ns);
    const auto factor = [&](int t, int i) { return (*factors)[std::size_t((t - 1) * (ne + ns) + i - 1)]; };
    const int nelastic = n_.nelastic;
    for_slots([&](int j, int k) {
      if (b_.elastic) {
        GetNyeProperties(&peprops(1, j, k), b_.elastic->data(), &ne);
        Reals set(std::size_t(ne), 0.0);
        for (int t = 1; factors && t <= ntemp_; ++t) {
          for (int i = 1; i <= ne; ++i) set[std::size_t(i - 1)] = (*b_.elastic)[std::size_t(i - 1)] * factor(t, i);
          GetNyeProperties(&peprops((t - 1) * nelastic + 1, j, k), set.data(), &ne);
        }
      }
      if (b_.strength) {
        std::copy(b_.strength->begin(), b_.strength->end(), &psprops(1, j, k));
        for (int t = 1; factors && t <= ntemp_; ++t)
          for (int i = 1; i <= ns; ++i)
            psprops((t - 1) * ns + i, j, k) = (*b_.strength)[std::size_t(i - 1)] * factor(t, ne + i);
      }
      copy_to(b_.hygro, phprops, j, k);
      copy_to(b_.fracture, pfprops, j, k);
      copy_to(b_.params, pdprops, j, k);
      copy_to(b_.initiation, pfflags, j, k);
      copy_to(b_.evolution, peflags, j, k);
      if (b_.caps) {
        const Reals& c = *b_.caps;
        for (int i = 1; i <= 12; ++i) pelimits(i, j, k) = c[std::size_t((i - 1) % int(c.size()))];
      }
    });
    transfer_cure();
    transfer_calibration();
    b_ = {};
  }

  template <class T, class A>
  static void copy_to(const std::optional<std::vector<T>>& list, A& table, int j, int k) {
    if (list && !list->empty()) std::copy(list->begin(), list->end(), &table(1, j, k));
  }

  void transfer_cure() {
    for (const auto& c : b_.cure)
      if (!c) return;
    auto& cu = materialdata::cuprops;
    const auto store = [&](int j, int k) {
      for (int c = 1; c <= 8; ++c) {
        const Reals& list = *b_.cure[std::size_t(c - 1)];
        if (!list.empty()) std::copy(list.begin(), list.end(), &cu(1, c, j, k));
      }
    };
    for_slots(store);
    // A one-slot model whose section card named no material takes the block.
    const auto& ids = materialdata::matidlist;
    const bool unnamed = !ids.allocated() || std::all_of(ids.begin(), ids.end(), [](int i) { return i == int_not_given; });
    if (unnamed && p_ == 1 && s_ == 1) store(1, 1);
  }

  void transfer_calibration() {
    const int temps = materialdata::flowprops.size(1);
    for (const Calibration c : {plasticity, secant, alpha1, alpha2, alpha3, normal, shear}) {
      const auto& rows = b_.calibration[c];
      if (!rows) continue;
      const RowTable target = row_table(c);
      const int columns = n_.calibration[c];
      for (int t = 1; t <= std::min(temps, rows_); ++t)
        for (int m = 1; m <= *target.points; ++m)
          for (int q = 1; q <= target.per_point; ++q) {
            const int column = (m - 1) * target.per_point + q;  // from 1
            (*target.table)(t, m, q) = column <= columns ? (*rows)[std::size_t((t - 1) * columns + column - 1)] : 0.0;
          }
    }
    if (const auto& list = b_.calibration[equivalent_stress]) {
      auto& eq = materialdata::equivalentstress;
      for (int m = 1; m <= eq.size(1); ++m)
        for (int q = 1; q <= 2; ++q) {
          const std::size_t i = std::size_t(2 * (m - 1) + q - 1);
          eq(m, q) = i < list->size() ? (*list)[i] : 0.0;
        }
    }
  }

  Card& card_;
  const Counts n_;
  const int p_, s_;
  const int ntemp_;  // temperatures of the card (0: none)
  const int rows_;   // rows of the calibration tables, at least 1
  Block b_;
};

}  // namespace

void getmaterialdatafromfile(std::string_view filepath, std::string_view workspace, int nplies, int nsec) {
  using namespace materialdata;
  Card card("MaterialCard");
  if (!card.open_card(filepath, workspace)) return;
  const Counts counts = count_items_of_blocks(card);
  const Reals merged = merged_temperatures(card);
  const int ntemp = int(merged.size());
  // Tables of every (ply, section) slot: a card whose tables cannot be held
  // is not read.
  const double bytes = material_table_bytes(counts, std::max(nplies, 0), std::max(nsec, 0), std::max(ntemp, 1));
  if (!card.fits(bytes, "++Begin Material", counts.first_block)) return;
  temperatures.allocate(std::max(ntemp, 1));
  if (ntemp > 0) std::copy(merged.begin(), merged.end(), temperatures.data());
  else temperatures(1) = not_given;
  ntempdata = std::max(ntemp, 1);
  nflowdata = std::max(counts.calibration[plasticity] / 3, 1);
  nsecantdata = std::max(counts.calibration[secant] / 2, 1);
  nalpha1data = std::max(counts.calibration[alpha1] / 2, 1);
  nalpha2data = std::max(counts.calibration[alpha2] / 2, 1);
  nalpha3data = std::max(counts.calibration[alpha3] / 2, 1);
  nnormaldata = std::max(counts.calibration[normal] / 2, 1);
  nsheardata = std::max(counts.calibration[shear] / 2, 1);
  allocate_material_tables(counts, std::max(nplies, 0), std::max(nsec, 0), ntempdata);
  MaterialCardReader(card, counts, nplies, nsec, ntemp).run();
}

}  // namespace tavrin::iohandling
