// The solver's printed data file (element and node tables of an explicit
// analysis) and the Gauss-point report.
#include <algorithm>
#include <string>
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

namespace tavrin::iohandling {
namespace {

constexpr std::string_view element_title = "E L E M E N T   D E F I N I T I O N S";
constexpr std::string_view node_title = "N O D E   D E F I N I T I O N S";

bool digit(char c) { return c >= '0' && c <= '9'; }

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

// Empties the element and nodal tables of an earlier model, with the
// per-element tables derived from them.
void release_element_tables() {
  AllocatableBase* const tables[] = {
      &elementdata::elemlist,       &elementdata::elemkind,           &elementdata::elemnodes,
      &elementdata::elemcurvatures, &elementdata::elemreforientation, &elementdata::elemindices,
      &sectiondata::nsectionpoints, &nodaldata::nodesmotion,          &nodaldata::nodalcoords,
      &nodaldata::tnodalmatrices,   &nodaldata::tcurvmatrices};
  for (AllocatableBase* a : tables) a->deallocate();
}

// The first element table, read once: the elements that count (shells
// and continua) in table order, with the extents they give.
struct ElementTable {
  int iele = 0, inodes = 0, idof = 0;
  std::vector<int> number, kind;
  std::vector<std::string_view> type;  // views of the open file's lines
  std::vector<long> line;              // of each element
  std::vector<int> first_node{0};      // element k's nodes: nodes[first_node[k] .. first_node[k+1])
  std::vector<int> nodes;
  std::vector<bool> numbers_ok;        // its node items are integers
  bool nodes_before = false;           // the node table's title comes first
};

ElementTable read_elements(Card& file) {
  ElementTable t;
  bool title = false, seen = false;
  // The type of the previous element line and what it gave: tables list
  // long runs of one type.
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
    } else if (last_counted) {
      ++t.iele;  // the same extents again
    }
    if (!last_counted) continue;
    const int kind = last_kind;
    t.number.push_back(number);
    t.kind.push_back(kind);
    t.type.push_back(type);
    t.line.push_back(file.line_number());
    bool ok = true;
    if (kind >= 1 && kind <= 8) {
      // The node numbers follow the type and the property reference.
      const std::string_view node_text = split_first(type_and_rest.rest).rest;
      for_each_item(node_text, [&](std::string_view item) {
        int n = 0;
        ok = parse_int(item, n) && ok;
        t.nodes.push_back(n);
      });
    }
    t.numbers_ok.push_back(ok);
    t.first_node.push_back(int(t.nodes.size()));
  }
  return t;
}

// Numbers, kinds and (for shells) node lists of the counted elements.
void store_elements(Card& file, const ElementTable& t) {
  using namespace elementdata;
  const int columns = elemnodes.size(1);
  for (int k = 1; k <= std::min(elemlist.size(1), int(t.number.size())); ++k) {
    const std::size_t e = std::size_t(k - 1);
    elemlist(k) = t.number[e];
    elemkind(k) = t.kind[e];
    const int first = t.first_node[e], count = t.first_node[e + 1] - first;
    if (count == 0) continue;
    if (!t.numbers_ok[e]) {
      file.report(t.type[e], t.line[e], card_message::not_a_number);
    } else if (count > columns) {
      file.report(t.type[e], t.line[e], card_message::beyond_table);
    } else {
      std::copy_n(t.nodes.begin() + first, count, &elemnodes(1, k));
    }
  }
}

// Node pass: the coordinates of the node table, kept per host node number,
// handed over in one block.
void store_nodes(Card& file) {
  std::vector<int> ids;
  std::vector<double> xyz;
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
    xyz.insert(xyz.end(), c, c + 3);
  }
  if (ids.empty()) return;
  const int ncoord = 3, nblock = int(ids.size());
  GetNodalCoordinates(xyz.data(), ids.data(), &ncoord, &nblock);
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

void getabqdatafromfile(std::string_view filepath) {
  const std::string path(trimmed_path(filepath));
  Card file("data file");
  if (const int unit = io::unit_of_file(path); unit > 0) io::close_unit(unit);
  if (path.empty() || !file.open(path)) {
    xerr(-3, "Error: Cannot open the solver data file (.dat) of the analysis.");
    return;
  }
  const ElementTable table = read_elements(file);
  if (table.iele == 0) return;

  elementdata::nelem = table.iele;
  nodaldata::nnodes = std::max(table.inodes, 1);
  nodaldata::ndof = std::max(table.idof, 1);
  release_element_tables();
  int istat = 0;
  datahandling::allocateelementdata(istat, nodaldata::nnodes, elementdata::nelem);
  datahandling::allocatenodaldata(istat, nodaldata::ndof, nodaldata::nnodes, elementdata::nelem);
  store_elements(file, table);
  // The node table is the first after the start of the file: after the
  // element table unless its title came before.
  if (table.nodes_before) file.rewind();
  store_nodes(file);
}

void getgausspointreport(std::string_view filepath, const double* coord, int noel, int npt) {
  static const io::Format header("(a8,a8,a25,a25,a25)");
  static const io::Format line("(2i8,3f25.8)");
  // One message for a run of failures, not one per integration point.
  static bool failed_before = false;
  const std::string path(trimmed_path(filepath));
  const int unit = io::free_unit(first_unit, last_unit);
  bool open = unit > 0 && io::open_append(unit, path, false);
  if (!open && unit > 0 && io::open_append(unit, path, true)) {
    open = true;
    io::write_formatted(unit, header, {"NOEL", "NPT", "x", "y", "z"});
  }
  if (!open) {
    if (!failed_before) xerr(-2, "Error: Cannot open or create the Gauss-point report file.");
    failed_before = true;
    return;
  }
  failed_before = false;
  io::write_formatted(unit, line, {noel, npt, coord[0], coord[1], coord[2]});
  io::close_unit(unit);
}

}  // namespace tavrin::iohandling
