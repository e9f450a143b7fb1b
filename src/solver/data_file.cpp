// The solver's printed data file (element and node tables of an explicit
// analysis) and the Gauss-point report.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "elements/element_registry.hpp"
#include "foundation/datahandling.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/format_record.hpp"
#include "foundation/record_files.hpp"
#include "foundation/shared_state.hpp"
#include "solver/card_file.hpp"
#include "solver/gauss_point_report.hpp"
#include "solver/iohandling.hpp"
#include "solver/state_found.hpp"

namespace tavrin::iohandling {
namespace {

constexpr std::string_view element_title = "E L E M E N T   D E F I N I T I O N S";
constexpr std::string_view node_title = "N O D E   D E F I N I T I O N S";

bool digit(char c) { return c >= '0' && c <= '9'; }

// A list of numbers that grows on realloc: a large block grows by
// remapping its pages instead of copying them, as a vector would.
template <class T>
class Column {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  void push_back(T v) {
    if (size_ == capacity_) grow();
    data_.get()[size_++] = v;
  }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const T* data() const { return data_.get(); }
  const T& operator[](std::size_t i) const { return data_.get()[i]; }
  const T& front() const { return data_.get()[0]; }
  const T& back() const { return data_.get()[size_ - 1]; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + size_; }

 private:
  struct Free {
    void operator()(T* p) const { std::free(p); }
  };
  void grow() {
    const std::size_t capacity = capacity_ < 1024 ? 1024 : 2 * capacity_;
    if (capacity > std::size_t(PTRDIFF_MAX) / sizeof(T)) throw std::bad_alloc();
    T* const p = static_cast<T*>(std::realloc(data_.get(), capacity * sizeof(T)));
    if (!p) throw std::bad_alloc();
    (void)data_.release();
    data_.reset(p);
    capacity_ = capacity;
  }
  std::unique_ptr<T, Free> data_;
  std::size_t size_ = 0, capacity_ = 0;
};

// A table line split at its first blank into its first word and the rest,
// both left-adjusted.
struct Words {
  std::string_view first, rest;
};
Words split_first(std::string_view line) {
  line = left_adjusted(line);
  std::size_t i = 0;
  while (i < line.size() && !is_blank(line[i])) ++i;
  return {line.substr(0, i), left_adjusted(line.substr(i))};
}

// The element number of a table line: its first word when that is a
// positive integer, 0 for another integer, -1 when it is no integer.
int leading_number(std::string_view first) {
  int n = 0;
  if (!parse_int(first, n)) return -1;
  return n > 0 ? n : 0;
}

// Frees the table, or zeroes it when it has these extents and nothing
// else (no view handed out) holds its storage; the zeroed table is a new
// one in the old storage.
template <class T, int Rank>
void release_or_clear(Allocatable<T, Rank>& table, const std::array<int, Rank>& extents) {
  bool same = table.allocated() && table.share().use_count() == 2;  // the table and this copy
  for (int k = 0; same && k < Rank; ++k) same = table.size(k + 1) == extents[std::size_t(k)];
  if (same) {
    table.fill(T{});
    table.renew();
  } else {
    table.deallocate();
  }
}

// Empties the element and nodal tables of an earlier model, with the
// per-element tables derived from them.  The tables that this reader fills
// (numbers, kinds, node lists and coordinates) are zeroed in place when the
// new model has their extents: a model read again then fills pages that are
// mapped already, at a fraction of the cost of faulting in fresh ones.
void release_element_tables(int nnodes, int nelem) {
  release_or_clear(elementdata::elemlist, {nelem});
  release_or_clear(elementdata::elemkind, {nelem});
  release_or_clear(elementdata::elemnodes, {nnodes, nelem});
  release_or_clear(nodaldata::nodalcoords, {3, nnodes, nelem});
  AllocatableBase* const tables[] = {&elementdata::elemcurvatures, &elementdata::elemreforientation,
                                     &elementdata::elemindices,    &sectiondata::nsectionpoints,
                                     &nodaldata::nodesmotion,      &nodaldata::tnodalmatrices,
                                     &nodaldata::tcurvmatrices};
  for (AllocatableBase* a : tables) a->deallocate();
}

// The first element table, read once: the elements that count (shells
// and continua) in table order, with the extents they give.  Tables list
// long runs of one type, so the type and kind are kept per run.
struct ElementTable {
  int iele = 0, inodes = 0, idof = 0;
  Column<int> number;     // of each element
  Column<int> nodes_end;  // element e's nodes: nodes[nodes_end[e - 1] .. nodes_end[e]), from 0
  Column<int> nodes;
  struct Run {
    std::size_t first;      // element
    std::string_view type;  // a view of the open file's line
    int kind;
  };
  std::vector<Run> runs;
  // Node lists that may not be stored: items that are no integers, or more
  // items than the extents known at the time (which only grow).
  struct Suspect {
    std::size_t element;
    long line;
    bool numbers_ok;
  };
  std::vector<Suspect> suspects;
  bool nodes_before = false;  // the node table's title comes first
};

ElementTable read_elements(Card& file) {
  ElementTable t;
  bool title = false, seen = false;
  std::string_view last_type;
  bool last_counted = false;
  int last_kind = 0;
  for (std::string_view line; file.next(line);) {
    if (!title) {
      title = line.find(element_title) != std::string_view::npos;
      t.nodes_before = t.nodes_before || line.find(node_title) != std::string_view::npos;
      continue;
    }
    const Words w = split_first(line);
    const int number = leading_number(w.first);
    if (number < 0 && seen) {
      file.backspace();  // the line that ends the table may be the node table's title
      break;
    }
    if (number <= 0) continue;
    seen = true;
    const Words type_and_rest = split_first(w.rest);
    const std::string_view type = type_and_rest.first.substr(0, 8);  // the host type name
    if (type != last_type || last_type.empty()) {
      const int counted = t.iele;
      getelementdataextents(type, t.iele, t.inodes, t.idof);
      last_type = type;
      last_counted = t.iele != counted;
      last_kind = elementhandling::getabqelementkind(type);
      if (last_counted) t.runs.push_back({t.number.size(), type, last_kind});
    } else if (last_counted) {
      ++t.iele;  // the same extents again
    }
    if (!last_counted) continue;
    const std::size_t first_node = t.nodes.size();
    bool ok = true;
    if (last_kind >= 1 && last_kind <= 8) {
      // The node numbers follow the type and the property reference.
      for_each_item(split_first(type_and_rest.rest).rest, [&](std::string_view item) {
        int n = 0;
        ok = parse_int(item, n) && ok;
        t.nodes.push_back(n);
      });
    }
    if (!ok || t.nodes.size() - first_node > std::size_t(std::max(t.inodes, 1)))
      t.suspects.push_back({t.number.size(), file.line_number(), ok});
    t.number.push_back(number);
    t.nodes_end.push_back(int(t.nodes.size()));
  }
  return t;
}

// Numbers, kinds and (for shells) node lists of the counted elements.
void store_elements(Card& file, const ElementTable& t) {
  using namespace elementdata;
  const std::size_t columns = std::size_t(std::max(elemnodes.size(1), 0));
  const std::size_t count = std::min(std::size_t(std::max(elemlist.size(1), 0)), t.number.size());
  int* const list = elemlist.data();
  int* const kinds = elemkind.data();
  int* const table = elemnodes.data();
  auto run = t.runs.begin();
  auto suspect = t.suspects.begin();
  for (std::size_t e = 0; e < count; ++e) {
    while (std::next(run) != t.runs.end() && std::next(run)->first <= e) ++run;
    list[e] = t.number[e];
    kinds[e] = run->kind;
    const std::size_t first = e == 0 ? 0 : std::size_t(t.nodes_end[e - 1]);
    const std::size_t n = std::size_t(t.nodes_end[e]) - first;
    if (n == 0) continue;
    if (suspect != t.suspects.end() && suspect->element == e) {
      const ElementTable::Suspect& s = *suspect++;
      if (!s.numbers_ok) {
        file.report(run->type, s.line, card_message::not_a_number);
        continue;
      }
      if (n > columns) {
        file.report(run->type, s.line, card_message::beyond_table);
        continue;
      }
    }
    std::copy_n(t.nodes.data() + first, n, table + e * columns);
  }
}

// The coordinates of each node in its slots of the element tables: the
// first slot of the node in each element's node list (a node repeated in
// one list is set once).  ids ascend (a smaller number ends the node
// table); of equal numbers the last read counts.
void scatter_coordinates(const Column<int>& ids, const Column<double>& xyz) {
  using namespace elementdata;
  auto& coords = nodaldata::nodalcoords;
  if (ids.empty() || !elemnodes.allocated() || !coords.allocated()) return;
  const int rows = std::min({nelem, elemlist.size(1), elemkind.size(1), elemnodes.size(2), coords.size(3)});
  const int nnodes = std::min({nodaldata::nnodes, elemnodes.size(1), coords.size(2)});
  // Node number -> its last entry: a direct table for a dense numbering,
  // a search of the ascending ids otherwise.
  const long long lo = ids.front(), hi = ids.back();
  std::vector<int> entry;
  if (hi - lo < 4 * (long long)ids.size() + 1024) {
    entry.assign(std::size_t(hi - lo + 1), -1);
    for (std::size_t j = 0; j < ids.size(); ++j) entry[std::size_t(ids[j] - lo)] = int(j);
  }
  const auto find = [&](int node) -> int {
    if (node < lo || node > hi) return -1;
    if (!entry.empty()) return entry[std::size_t(node - lo)];
    const auto it = std::upper_bound(ids.begin(), ids.end(), node);
    return it != ids.begin() && it[-1] == node ? int(it - ids.begin()) - 1 : -1;
  };
  const std::size_t ld = std::size_t(elemnodes.size(1)), slots = std::size_t(coords.size(2));
  for (std::size_t r = 0; r < std::size_t(std::max(rows, 0)); ++r) {
    const int* const col = elemnodes.data() + r * ld;
    double* const out = coords.data() + 3 * r * slots;  // nodalcoords(1:3, 1:nnodes, r + 1)
    for (int k = 0; k < nnodes; ++k) {
      if (std::find(col, col + k, col[k]) != col + k) continue;  // set at its first slot
      const int j = find(col[k]);
      if (j >= 0) std::copy_n(xyz.data() + 3 * std::size_t(j), 3, out + 3 * std::size_t(k));
    }
  }
}

// Node pass: the coordinates of the node table, kept per host node number,
// handed over in one block.
void store_nodes(Card& file) {
  Column<int> ids;
  Column<double> xyz;
  bool title = false, seen = false;
  int previous = 0;
  for (std::string_view line; file.next(line);) {
    if (!title) {
      title = line.find(node_title) != std::string_view::npos;
      continue;
    }
    const Words w = split_first(line);
    const int number = leading_number(w.first);
    if (number < 0) {
      if (seen) break;
      continue;
    }
    if (number == 0) continue;
    seen = true;
    double c[3];
    int taken = 0;
    bool numbers = true;
    for_each_item(w.rest, [&](std::string_view item) {
      if (taken < 3) numbers = parse_real(item, c[taken]) && numbers;
      ++taken;
    });
    if (taken < 3) continue;
    if (number < previous) break;
    if (!numbers) {
      file.report("node " + std::to_string(number), file.line_number(), card_message::not_a_number);
      continue;
    }
    previous = number;
    ids.push_back(number);
    for (const double x : c) xyz.push_back(x);
  }
  scatter_coordinates(ids, xyz);
}

}  // namespace

void getelementdataextents(std::string_view elemtype, int& iele, int& inodes, int& idof) {
  std::string t(elemtype.substr(0, 8));
  t.resize(8, ' ');
  const auto at = [&](int i) { return t[std::size_t(i - 1)]; };  // character i, from 1
  int n = 0;
  if (at(1) == 'S') {
    const int where = digit(at(2)) ? 2 : digit(at(5)) ? 5 : digit(at(3)) ? 3 : 0;
    n = where ? at(where) - '0' : 0;  // no count at those places: 0
  } else if (at(1) == 'C' && t.substr(1, 2) != "IN") {
    const std::size_t end = t.find_last_not_of(' ') + 1;
    const std::string_view digits(t.data() + 3, end > 3 ? end - 3 : 0);
    if (!parse_int(digits, n) && !(digits.size() > 1 && parse_int(digits.substr(0, digits.size() - 1), n)))
      n = 0;
  } else {
    return;
  }
  ++iele;
  inodes = std::max(inodes, n);
  const std::size_t last = t.find_last_not_of(' ');
  idof = std::max(idof, last != std::string::npos && t[last] == '5' ? 5 : 6);
}

namespace {

// The element and node tables of the data file into the shared state.
void read_data_file(std::string_view filepath) {
  const std::string path(trimmed_path(filepath));
  Card file("data file");
  if (const int unit = io::unit_of_file(path); unit > 0) io::close_unit(unit);
  if (const io::OpenResult opened = path.empty() ? io::OpenResult{ENOENT} : file.open(path); !opened) {
    io::latch_file_failure(-3, "Error: Cannot open the solver data file (.dat) of the analysis.", path,
                           opened.error);
    return;
  }
  const ElementTable table = read_elements(file);
  if (table.iele == 0) return;

  elementdata::nelem = table.iele;
  nodaldata::nnodes = std::max(table.inodes, 1);
  nodaldata::ndof = std::max(table.idof, 1);
  release_element_tables(nodaldata::nnodes, elementdata::nelem);
  int istat = 0;
  datahandling::allocateelementdata(istat, nodaldata::nnodes, elementdata::nelem);
  datahandling::allocatenodaldata(istat, nodaldata::ndof, nodaldata::nnodes, elementdata::nelem);
  store_elements(file, table);
  // The node table is the first after the start of the file: after the
  // element table unless its title came before.
  if (table.nodes_before) file.rewind();
  store_nodes(file);
}

}  // namespace

void getabqdatafromfile(std::string_view filepath) {
  // Memory that runs out part way (the reader's lists, or a table) abandons
  // the read: the tables it made or refilled in place are released and the
  // counts put back, so no half-read model remains, and the failure goes on
  // to the caller's boundary, which latches it naming the table.
  const StateFound before;
  try {
    read_data_file(filepath);
  } catch (const std::exception&) {
    before.restore();
    throw;
  }
}

void getgausspointreport(std::string_view filepath, const double* coord, int noel, int npt) {
  static const io::Format header("(a8,a8,a25,a25,a25)");
  static const io::Format line("(2i8,3f25.8)");
  const std::string path(trimmed_path(filepath));
  const int unit = io::free_unit(first_unit, last_unit);
  if (unit < 0) {
    io::latch_file_failure(-2, "Error: Cannot open or create the Gauss-point report file.", path, EMFILE);
    return;
  }
  io::OpenResult open = io::open_append(unit, path, false);
  if (open.absent()) {
    open = io::open_append(unit, path, true);
    if (open) io::write_formatted(unit, header, {"NOEL", "NPT", "x", "y", "z"});
  }
  if (!open) {
    io::latch_file_failure(-2, "Error: Cannot open or create the Gauss-point report file.", path, open.error);
    return;
  }
  io::write_formatted(unit, line, {noel, npt, coord[0], coord[1], coord[2]});
  // The close flushes the line: a full disk or a file-size limit shows here.
  if (const int error = io::close_unit(unit))
    io::latch_file_failure(-2, io::file_failure_text("Error: Cannot write the Gauss-point report", path, error), path,
                           error);
}

}  // namespace tavrin::iohandling
