// The damage card: damages present before the analysis (position, extent of
// each kind per ply or interface, point lists), and the buckling lists of
// delaminations.
#include <algorithm>
#include <array>
#include <vector>

#include "foundation/shared_state.hpp"
#include "solver/card_file.hpp"
#include "solver/iohandling.hpp"

namespace tavrin::iohandling {
namespace {

// Kinds of damage, in the order the words of an option are tested, with
// their descriptor tables.  Kind index of dmgpoints: 1 General, 2 Fiber,
// 3 Matrix, 4 Delamination, 5 Core, 6 User.
constexpr std::array<std::string_view, 6> kind_word = {"General", "Fiber", "Matrix", "Delamination", "Core",
                                                       "User"};
constexpr std::array<std::string_view, 6> abstraction_order = {"General", "Fiber", "Matrix", "Core",
                                                               "Delamination", "User"};

Allocatable<double, 3>& descriptor_table(std::string_view word) {
  using namespace damagedata;
  if (word == "General") return generaldds;
  if (word == "Fiber") return fiberdds;
  if (word == "Matrix") return matrixdds;
  if (word == "Core") return coredds;
  if (word == "Delamination") return delamdds;
  return userdds;
}

bool contains(std::string_view s, std::string_view word) { return s.find(word) != std::string_view::npos; }

void release_damage_tables() {
  using namespace damagedata;
  AllocatableBase* const tables[] = {&dmgplane, &generaldds, &fiberdds, &matrixdds, &coredds, &delamdds,
                                     &userdds,  &dmgpoints,  &bukdata::bukintdatalist, &bukdata::bukrealdatalist};
  for (AllocatableBase* a : tables) a->deallocate();
}

class DamageCardReader {
 public:
  DamageCardReader(Card& card, int nplies, int nsec, int npos, int npts)
      : card_(card), p_(std::max(nplies, 0)), s_(std::max(nsec, 0)), npos_(npos), npts_(npts) {}

  void run() {
    for (std::string_view line; card_.next(line);) {
      const auto [keyword, option] = split_keyword(line);
      if (same_word(keyword, "++Begin Damage")) open_block(option);
      else if (same_word(keyword, "++End Damage")) in_block_ = false;
      else if (!in_block_) continue;
      else if (!id_valid_) card_.skip_data();  // reported at the header
      else if (same_word(keyword, "+Position")) position(keyword);
      else if (same_word(keyword, "+Abstraction")) abstraction(keyword, option);
      else if (same_word(keyword, "+Table")) point_list(keyword, option);
    }
  }

 private:
  void open_block(std::string_view option) {
    in_block_ = true;
    const std::string_view item = left_adjusted(split_keyword(option).keyword);
    id_valid_ = item.size() > 6 && parse_int(first_item(item.substr(6)), id_) && id_ >= 1 &&
                id_ <= damagedata::ndmg;
    if (!id_valid_) card_.report("++Begin Damage", card_.line_number(), card_message::beyond_table);
  }

  void position(std::string_view keyword) {
    const long line = card_.line_number();
    std::vector<double> v;
    if (!card_.read_data(v, keyword)) return;
    auto& plane = damagedata::dmgplane;
    if (!plane.allocated()) {
      if (!card_.fits(double(npos_) * damagedata::ndmg * sizeof(double), keyword, line)) return;
      plane.allocate(npos_, damagedata::ndmg);
      plane.fill(-not_given);
    }
    if (int(v.size()) > plane.size(1)) return card_.report(keyword, line, card_message::beyond_table);
    std::copy(v.begin(), v.end(), &plane(1, id_));
  }

  // A descriptor: groups of four values per ply (interface), the second and
  // third of each group kept in rows 1 and 2.
  void abstraction(std::string_view keyword, std::string_view option) {
    const auto word = std::find_if(abstraction_order.begin(), abstraction_order.end(),
                                   [&](std::string_view w) { return contains(option, w); });
    if (word == abstraction_order.end()) return;
    const bool delamination = *word == "Delamination";
    const int columns = delamination ? p_ - 1 : p_;
    if (delamination && columns < 1) return;  // a single ply has no interface
    const long line = card_.line_number();
    std::vector<double> v;
    if (!card_.read_data(v, keyword)) return;
    if (v.size() % 4 != 0) return card_.report(keyword, line, card_message::wrong_length);
    if (long(v.size() / 4) > columns) return card_.report(keyword, line, card_message::beyond_table);
    auto& table = descriptor_table(*word);
    if (!table.allocated()) {
      const double entries = double(columns) * damagedata::ndmg;
      const double bytes = entries * (3.0 * sizeof(double) + (delamination ? s_ * (4.0 * sizeof(int) + 12.0 * sizeof(double)) : 0.0));
      if (!card_.fits(bytes, keyword, line)) return;
      table.allocate(3, columns, damagedata::ndmg);
      if (delamination) {
        bukdata::bukintdatalist.allocate(4, columns, damagedata::ndmg, s_);
        bukdata::bukrealdatalist.allocate(12, columns, damagedata::ndmg, s_);
      }
    }
    for (std::size_t g = 0; g < v.size() / 4; ++g) {
      table(1, int(g) + 1, id_) = v[4 * g + 1];
      table(2, int(g) + 1, id_) = v[4 * g + 2];
    }
  }

  // "+Table, LayID=3, TYPE=Matrix": a point list of one layer and kind.
  void point_list(std::string_view keyword, std::string_view option) {
    const long line = card_.line_number();
    const auto [first, second] = split_keyword(option);
    const std::string_view a = left_adjusted(first), b = left_adjusted(second);
    const auto names_layer = [](std::string_view s) { return contains(s, "LayID") || contains(s, "Layer"); };
    int layer = 0, kind = 0;
    const std::string_view layer_item = names_layer(a) ? a : b, type_item = names_layer(a) ? b : a;
    if (names_layer(layer_item) && !(names_layer(a) && names_layer(b)) && layer_item.size() > 6)
      parse_int(first_item(layer_item.substr(6)), layer);
    if (type_item.size() > 5)
      for (int k = 0; k < 6 && !kind; ++k)
        if (type_item.substr(5).starts_with(kind_word[std::size_t(k)])) kind = k + 1;
    std::vector<double> v;
    if (!card_.read_data(v, keyword)) return;
    if (layer < 1 || layer > p_ || kind == 0) return card_.report(keyword, line, card_message::beyond_table);
    auto& points = damagedata::dmgpoints;
    if (!points.allocated()) {
      if (!card_.fits(double(npts_) * p_ * 6.0 * damagedata::ndmg * sizeof(double), keyword, line)) return;
      points.allocate(npts_, p_, 6, damagedata::ndmg);
      points.fill(not_given);
    }
    if (int(v.size()) > points.size(1)) return card_.report(keyword, line, card_message::beyond_table);
    std::copy(v.begin(), v.end(), &points(1, layer, kind, id_));
  }

  Card& card_;
  const int p_, s_, npos_, npts_;
  bool in_block_ = false, id_valid_ = false;
  int id_ = 0;
};

}  // namespace

void getdamagedatafromfile(std::string_view filepath, std::string_view workspace, int nplies, int nsec) {
  Card card("DamageCard");
  if (!card.open_card(filepath, workspace)) return;
  const int one = 1;
  damagedata::ndmg = getnumberofkeywords(card.unit(), "++BEGIN DAMAGE", 14, &one);
  int npos = 4, npts = 1;
  bool in_block = false;
  for (std::string_view line; card.next(line);) {
    const std::string_view keyword = split_keyword(line).keyword;
    if (same_word(keyword, "++Begin Damage")) in_block = true;
    else if (same_word(keyword, "++End Damage")) in_block = false;
    else if (in_block && same_word(keyword, "+Position")) npos = std::max(npos, card.count_data());
    else if (in_block && same_word(keyword, "+Table")) npts = std::max(npts, card.count_data());
  }
  card.rewind();
  release_damage_tables();
  DamageCardReader(card, nplies, nsec, npos, npts).run();
}

}  // namespace tavrin::iohandling
