// The section card: ply stacks of the sections (material id, orientation
// and thickness per ply), section ids, extension flags and strengths, and
// the through-thickness coordinates of the plies.
#include <algorithm>
#include <vector>

#include "foundation/shared_state.hpp"
#include "foundation/strings.hpp"
#include "mechanics/ply_strains.hpp"
#include "solver/card_file.hpp"
#include "solver/iohandling.hpp"

namespace tavrin::iohandling {
namespace {

// The integer after the first six characters of a left-adjusted option
// item ("SECID=7" gives 7); false when there is none.
bool tagged_integer(std::string_view item, int& value) {
  item = left_adjusted(item);
  return item.size() > 6 && parse_int(first_item(item.substr(6)), value);
}

// Bytes of the section tables at nplies × nsec (allocate_section_tables).
double section_table_bytes(int nplies, int nsec) {
  const double p = nplies, s = nsec, i = sizeof(int), r = sizeof(double);
  return s * (r + i + 2 * i + 4 * r) + p * s * (i + 2 * r) + (2 * p + 1) * s * r * 5;
}

void allocate_section_tables(int nplies, int nsec) {
  using namespace sectiondata;
  xcstrength.allocate(nsec);
  secidlist.allocate(nsec);
  materialdata::matidlist.allocate(nplies, nsec);
  plyorientation.allocate(nplies, nsec);
  plythickness.allocate(nplies, nsec);
  plyzcoord.allocate(2 * nplies + 1, nsec);
  seflags.allocate(2, nsec);
  sehmatrix.allocate(2, 2, nsec);
  sefmatrix.allocate(2 * nplies + 1, 4, nsec);
  materialdata::matidlist.fill(long(nplies) * nsec == 1 ? 1 : int_not_given);
}

class SectionCardReader {
 public:
  explicit SectionCardReader(Card& card) : card_(card) {}

  void run() {
    for (std::string_view line; card_.next(line);) {
      const auto [keyword, option] = split_keyword(line);
      if (same_word(keyword, "++Begin Section")) {
        if (in_block_) card_.report(keyword, block_line_, card_message::unclosed);
        open_block(option);
      } else if (same_word(keyword, "++End Section")) {
        if (in_block_) close_block();
      } else if (!in_block_) {
        continue;
      } else if (same_word(keyword, "+Material")) {
        nmat_ = read_column(materialdata::matidlist, keyword, nmat_);
      } else if (same_word(keyword, "+Orientation")) {
        nlay_ = read_column(sectiondata::plyorientation, keyword, nlay_);
      } else if (same_word(keyword, "+Thickness")) {
        nthick_ = read_column(sectiondata::plythickness, keyword, nthick_);
      } else if (same_word(keyword, "+Extension")) {
        read_column(sectiondata::seflags, keyword, 0);
      } else if (same_word(keyword, "+Strength")) {
        if (!stringhandling::match(option, "TYPE=INSITU")) read_strength(keyword);
      }
    }
    if (in_block_) card_.report("++Begin Section", block_line_, card_message::unclosed);
  }

 private:
  void open_block(std::string_view option) {
    in_block_ = true;
    block_line_ = card_.line_number();
    id_ = 0;
    if (!tagged_integer(split_keyword(option).keyword, id_))
      card_.report("++Begin Section", block_line_, card_message::not_a_number);
    // Counts of the block's own lists (a block without one expands nothing).
    nmat_ = nlay_ = nthick_ = 0;
  }

  // The block's list into column i of table; returns its length (or the
  // previous one when the list is dropped).
  template <class T>
  int read_column(const Allocatable<T, 2>& table, std::string_view keyword, int previous) {
    const long line = card_.line_number();
    std::vector<T> v;
    if (!card_.read_data(v, keyword)) return previous;
    if (int(v.size()) > table.size(1) || index_ > table.size(2)) {
      card_.report(keyword, line, card_message::beyond_table);
      return previous;
    }
    std::copy(v.begin(), v.end(), table.data() + std::ptrdiff_t(index_ - 1) * table.size(1));
    return int(v.size());
  }

  void read_strength(std::string_view keyword) {
    const long line = card_.line_number();
    std::vector<double> v;
    if (!card_.read_data(v, keyword) || v.empty()) return;
    auto& strength = sectiondata::xcstrength;
    if (v.size() > 1 || index_ > strength.size(1)) return card_.report(keyword, line, card_message::beyond_table);
    strength(index_) = v.front();
  }

  // Section index, id and the expansion of a single material id or
  // thickness to the section's plies.
  void close_block() {
    in_block_ = false;
    auto& ids = sectiondata::secidlist;
    if (index_ > ids.size(1)) return card_.report("++End Section", card_.line_number(), card_message::beyond_table);
    ids(index_) = id_;
    auto& mat = materialdata::matidlist;
    auto& thick = sectiondata::plythickness;
    if (nmat_ == 1) std::fill_n(&mat(1, index_), std::min(nlay_, mat.size(1)), mat(1, index_));
    if (nthick_ == 1) std::fill_n(&thick(1, index_), std::min(nlay_, thick.size(1)), thick(1, index_));
    ++index_;
  }

  Card& card_;
  bool in_block_ = false;
  long block_line_ = 0;
  int index_ = 1, id_ = 0;
  int nmat_ = 0, nlay_ = 0, nthick_ = 0;
};

}  // namespace

void getsectiondatafromfile(std::string_view filepath, std::string_view workspace) {
  Card card("SectionCard");
  if (!card.open_card(filepath, workspace)) return;
  using sectiondata::nplies, sectiondata::nsec;
  const int one = 1;
  nsec = std::max(nsec, getnumberofkeywords(card.unit(), "++BEGIN SECTION", 15, &one));
  // The longest orientation list sets the plies; one whose tables would not
  // fit in memory is reported here and dropped when the blocks are read.
  for (std::string_view line; card.next(line);) {
    if (!same_word(line, "+Orientation")) continue;
    const long number = card.line_number();
    const int count = card.count_data();
    if (count > nplies && card.fits(section_table_bytes(count, std::max(nsec, 0)), "+Orientation", number))
      nplies = count;
  }
  card.rewind();
  allocate_section_tables(std::max(nplies, 0), std::max(nsec, 0));
  SectionCardReader(card).run();
  card.close();
  const int p = materialdata::matidlist.size(1), s = materialdata::matidlist.size(2);
  if (p > 0 && s > 0) GetSectionZCoord(sectiondata::plyzcoord.data(), materialdata::matidlist.data(),
                                       sectiondata::plythickness.data(), &p, &s, nullptr);
}

}  // namespace tavrin::iohandling
