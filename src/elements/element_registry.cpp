// Host element kinds, registration, element reference data, truss geometry
// and nodal patches.
#include "elements/element_registry.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/lists.hpp"
#include "foundation/norms.hpp"
#include "foundation/products.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/small_matrix.hpp"
#include "foundation/transforms.hpp"

namespace tavrin::elements {

int element_rows() {
  using namespace elementdata;
  int n = nelem;
  if (elemlist.allocated()) n = std::min(n, elemlist.size(1));
  if (elemkind.allocated()) n = std::min(n, elemkind.size(1));
  if (elemnodes.allocated()) n = std::min(n, elemnodes.size(2));
  return std::max(n, 0);
}

int node_columns() {
  return std::max(std::min(nodaldata::nnodes, elementdata::elemnodes.size(1)), 0);
}

std::vector<int> visited_rows() {
  const int rows = element_rows();
  std::vector<int> out;
  if (elementdata::elemindices.allocated()) {
    for (const int r : elementdata::elemindices)
      if (r >= 1 && r <= rows) out.push_back(r);
  } else {
    out.resize(std::size_t(rows));
    for (int r = 1; r <= rows; ++r) out[std::size_t(r - 1)] = r;
  }
  return out;
}

NodeIndex::NodeIndex(std::span<const int> rows, const int* elemnodes, int ldnodes, int nnodes) {
  // The first position of each node within a row: a repeated entry later in
  // the same column is not a slot of its own.
  const auto column = [&](int r) { return elemnodes + std::ptrdiff_t(r - 1) * ldnodes; };
  const auto first_in_column = [&](const int* col, int k) {
    for (int j = 0; j < k; ++j)
      if (col[j] == col[k]) return false;
    return true;
  };
  int lo = std::numeric_limits<int>::max(), hi = std::numeric_limits<int>::min();
  std::size_t entries = 0;
  for (const int r : rows) {
    const int* col = column(r);
    for (int k = 0; k < nnodes; ++k) {
      lo = std::min(lo, col[k]);
      hi = std::max(hi, col[k]);
      ++entries;
    }
  }
  if (entries == 0) return;
  const double range = double(hi) - double(lo) + 1.0;
  direct_ = range <= 4.0 * double(entries) + 1024.0;
  if (direct_) {
    // Counting sort on the node number: buckets by number, slots in row order.
    first_ = lo;
    start_.assign(std::size_t(range) + 1, 0);
    for (const int r : rows) {
      const int* col = column(r);
      for (int k = 0; k < nnodes; ++k)
        if (first_in_column(col, k)) ++start_[std::size_t(col[k] - lo) + 1];
    }
    for (std::size_t i = 1; i < start_.size(); ++i) start_[i] += start_[i - 1];
    slots_.resize(std::size_t(start_.back()));
    std::vector<int> next(start_.begin(), start_.end() - 1);
    for (const int r : rows) {
      const int* col = column(r);
      for (int k = 0; k < nnodes; ++k)
        if (first_in_column(col, k)) slots_[std::size_t(next[std::size_t(col[k] - lo)]++)] = {r, k + 1};
    }
  } else {
    // Sparse numbering: sort (node, visit order) pairs.
    struct Entry {
      int node;
      Slot slot;
    };
    std::vector<Entry> all;
    all.reserve(entries);
    for (const int r : rows) {
      const int* col = column(r);
      for (int k = 0; k < nnodes; ++k)
        if (first_in_column(col, k)) all.push_back({col[k], {r, k + 1}});
    }
    std::stable_sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) { return a.node < b.node; });
    slots_.reserve(all.size());
    for (const Entry& e : all) {
      if (keys_.empty() || keys_.back() != e.node) {
        keys_.push_back(e.node);
        start_.push_back(int(slots_.size()));
      }
      slots_.push_back(e.slot);
    }
    start_.push_back(int(slots_.size()));
  }
}

std::span<const NodeIndex::Slot> NodeIndex::find(int node) const {
  if (slots_.empty()) return {};
  std::size_t i = 0;
  if (direct_) {
    const long long off = (long long)node - first_;
    if (off < 0 || off + 1 >= (long long)start_.size()) return {};
    i = std::size_t(off);
  } else {
    const auto it = std::lower_bound(keys_.begin(), keys_.end(), node);
    if (it == keys_.end() || *it != node) return {};
    i = std::size_t(it - keys_.begin());
  }
  return {slots_.data() + start_[i], std::size_t(start_[i + 1] - start_[i])};
}

}  // namespace tavrin::elements

namespace tavrin::elementhandling {

int getabqelementkind(std::string_view elemtype) {
  // Longer and more specific prefixes first: the first match wins.
  static constexpr std::array<std::pair<std::string_view, int>, 11> prefixes{{
      {"C3D", 11}, {"SC8", 10}, {"SC6", 9}, {"STRI", 8}, {"S3", 7}, {"S9R5", 6},
      {"S8R5", 5}, {"S8R", 4}, {"S4R5", 3}, {"S4R", 2}, {"S4", 1},
  }};
  for (const auto& [prefix, code] : prefixes)
    if (elemtype.starts_with(prefix)) return code;
  if (elemtype.starts_with("S") || elemtype.starts_with("C")) return elements::kind::other;
  return elements::kind::unknown;
}

void getabqelementconnectivity(int& iele, const int* connectivity, int elemid, std::string_view elemtype,
                               int nconnect) {
  using namespace elementdata;
  if (!elemlist.allocated() || !elemkind.allocated() || !elemnodes.allocated()) return;
  // Shells and continua only; infinite elements ("CIN...") are not registered.
  const bool shell = elemtype.starts_with("S");
  const bool continuum = elemtype.starts_with("C") && elemtype.substr(1, 2) != "IN";
  if (!shell && !continuum) return;
  if (iele < 0 || iele >= elements::element_rows() || nconnect < 0 || nconnect > elements::node_columns()) {
    const std::array<int, 3> detail{iele, nconnect, elemid};
    xerr(-3, "Element row or connectivity outside the element tables.", detail);
    return;
  }
  ++iele;
  elemlist(iele) = elemid;
  elemkind(iele) = getabqelementkind(elemtype);
  for (int k = 1; k <= nconnect; ++k) elemnodes(k, iele) = connectivity[k - 1];
}

}  // namespace tavrin::elementhandling

namespace {

using namespace tavrin;
using math::rad2deg;

constexpr double unfilled = -1.7976931348623157e308;
constexpr double default_tolerance = 1e-10;

// Row of each element number (the first row holding it), sorted for search.
class RowOfNumber {
 public:
  explicit RowOfNumber(int rows) {
    pairs_.reserve(std::size_t(rows));
    for (int r = 1; r <= rows; ++r) pairs_.push_back({elementdata::elemlist(r), r});
    std::stable_sort(pairs_.begin(), pairs_.end(), [](auto a, auto b) { return a.first < b.first; });
  }
  int operator()(int number) const {
    const auto it = std::lower_bound(pairs_.begin(), pairs_.end(), number,
                                     [](const auto& p, int n) { return p.first < n; });
    return (it != pairs_.end() && it->first == number) ? it->second : 0;
  }

 private:
  std::vector<std::pair<int, int>> pairs_;
};

template <class T>
std::vector<T> copy_of_list(int ind, int flag, int& ierror) {
  const int n = GetSizeOfList(&ind, &flag, nullptr, nullptr, nullptr);
  if (n < 0) {
    ierror = -1;
    return {};
  }
  std::vector<T> copy(std::size_t(std::max(n, 1)));
  const int ncopy = int(copy.size());
  int status = 0;
  if constexpr (std::is_same_v<T, int>)
    iGetCopyOfList(&ind, copy.data(), &ncopy, &status);
  else if constexpr (std::is_same_v<T, double>)
    fGetCopyOfList(&ind, copy.data(), &ncopy, &status);
  else
    cGetCopyOfList(&ind, copy.data(), &ncopy, &status);
  copy.resize(std::size_t(n));
  ierror = status;
  return copy;
}

// The element number a real list entry holds; 0 (no element) when it is no
// integer of the 32-bit range.
int element_number(double x) {
  return (x >= -2147483648.0 && x <= 2147483647.0) ? int(x) : 0;
}

// Squared distance over ndim components.
double distance2(const double* a, const double* b, int ndim) {
  double s = 0.0;
  for (int c = 0; c < ndim; ++c) s += (a[c] - b[c]) * (a[c] - b[c]);
  return s;
}

// The patch of points around an element, ntree levels deep.
//
// The defining process is a depth-first scan with revisits: around element
// c with depth k, every row sharing a node with c is a neighbour (c itself
// only at the top with exflag 1); each neighbour's nodes are offered to the
// patch (a point within the tolerance of one already there is not added;
// nothing is added once npt points are held), and with k >= 2 the neighbour
// is scanned in turn with depth k - 1, unless no row follows it in the scan.
// Every level below the top uses the default tolerance.  Revisiting makes
// that process exponential in ntree and as deep as ntree on the stack; the
// scan below gives the same points in the same order without it:
//  - Below the top, offering an element a second time adds nothing (its
//    nodes are already in the patch, or near a point that still is, or the
//    patch is full), so a scan of element e with depth k is skipped once a
//    scan of e with depth >= k has finished: it would offer nothing new.
//  - The scan stops once every element that any level would offer has been
//    offered; the remaining top-level offers follow in row order.
//  - Beyond twice the number of elements connected to the centre, the
//    result depends on ntree only through its parity (the first descent
//    settles into two elements that are each other's first neighbour, and
//    the ascent from the bottom offers everything before the depth shows),
//    so a larger ntree is reduced to that bound, parity kept.
// The scan keeps its own stack, one frame per level.
class PatchScan {
 public:
  PatchScan(double* points, int npt, const double* coords, const int* nodes, int nnodes, int nelem)
      : points_(points), npt_(npt), coords_(coords), nodes_(nodes), nnodes_(nnodes), nelem_(nelem),
        rows_(all_rows(nelem)), index_(rows_, nodes, nnodes, nnodes),
        near_(std::size_t(nelem) + 1), built_(std::size_t(nelem) + 1, 0) {}

  void run(int centre, int ntree, int exflag, double tol) {
    // Neighbours at the top, and whether each is scanned further (a row that
    // is not skipped follows it).
    std::vector<int> top;
    for (const int e : near(centre))
      if (e != centre || exflag == 1) top.push_back(e);
    const auto scanned_at_top = [&](int e) {
      return e < nelem_ - 1 || (e == nelem_ - 1 && (exflag == 1 || centre != nelem_));
    };
    const std::int64_t depth = effective_depth(centre, std::max(ntree, 1));

    // The elements the levels below the top offer: the neighbours of every
    // element scanned there (depth left >= 1 at distance <= depth - 1).
    std::vector<std::int64_t> dist(std::size_t(nelem_) + 1, -1);
    std::vector<char> wanted(std::size_t(nelem_) + 1, 0);
    std::size_t nwanted = 0;
    std::vector<int> queue;
    if (depth >= 2)
      for (const int e : top)
        if (scanned_at_top(e) && dist[std::size_t(e)] < 0) dist[std::size_t(e)] = 1, queue.push_back(e);
    for (std::size_t i = 0; i < queue.size(); ++i) {
      const int e = queue[i];
      for (const int m : near(e)) {
        if (m == e) continue;
        if (!wanted[std::size_t(m)]) wanted[std::size_t(m)] = 1, ++nwanted;
        if (m != nelem_ && dist[std::size_t(m)] < 0 && dist[std::size_t(e)] + 1 <= depth - 1)
          dist[std::size_t(m)] = dist[std::size_t(e)] + 1, queue.push_back(m);
      }
    }

    std::vector<char> offered(std::size_t(nelem_) + 1, 0);
    std::size_t noffered = 0;
    std::vector<std::int64_t> finished(std::size_t(nelem_) + 1, 0);  // deepest finished scan
    struct Frame {
      int element;
      std::int64_t depth;
      std::size_t next;  // position in its neighbour list
    };
    std::vector<Frame> stack;
    for (const int n : top) {
      offer(n, tol);
      if (noffered == nwanted || depth < 2 || !scanned_at_top(n) || finished[std::size_t(n)] >= depth - 1)
        continue;
      stack.push_back({n, depth - 1, 0});
      while (!stack.empty() && noffered < nwanted) {
        Frame& f = stack.back();
        const std::span<const int> list = near(f.element);
        while (f.next < list.size() && list[f.next] == f.element) ++f.next;
        if (f.next == list.size()) {
          finished[std::size_t(f.element)] = std::max(finished[std::size_t(f.element)], f.depth);
          stack.pop_back();
          continue;
        }
        const int m = list[f.next++];
        offer(m, default_tolerance);
        if (!offered[std::size_t(m)]) offered[std::size_t(m)] = 1, ++noffered;
        const std::int64_t k = f.depth;
        if (k >= 2 && m != nelem_ && finished[std::size_t(m)] < k - 1) stack.push_back({m, k - 1, 0});
      }
      stack.clear();
    }
  }

 private:
  static std::vector<int> all_rows(int nelem) {
    std::vector<int> rows(std::size_t(std::max(nelem, 0)));
    for (int r = 1; r <= nelem; ++r) rows[std::size_t(r - 1)] = r;
    return rows;
  }
  const int* column(int e) const { return nodes_ + std::ptrdiff_t(e - 1) * nnodes_; }
  const double* coord(int k, int e) const { return coords_ + 3 * (std::ptrdiff_t(e - 1) * nnodes_ + (k - 1)); }

  // The rows sharing a node (> 0) with e, in row order; e itself among them
  // when it has a node.
  std::span<const int> near(int e) {
    std::vector<int>& list = near_[std::size_t(e)];
    if (!built_[std::size_t(e)]) {
      built_[std::size_t(e)] = 1;
      const int* col = column(e);
      for (int k = 0; k < nnodes_; ++k)
        if (col[k] > 0)
          for (const auto slot : index_.find(col[k])) list.push_back(slot.row);
      std::sort(list.begin(), list.end());
      list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    return list;
  }

  // ntree, or the bound of equal results with the parity of ntree kept.
  std::int64_t effective_depth(int centre, int ntree) {
    std::vector<char> seen(std::size_t(nelem_) + 1, 0);
    std::vector<int> queue{centre};
    seen[std::size_t(centre)] = 1;
    for (std::size_t i = 0; i < queue.size(); ++i)
      for (const int m : near(queue[i]))
        if (!seen[std::size_t(m)]) seen[std::size_t(m)] = 1, queue.push_back(m);
    const std::int64_t bound = 2 * std::int64_t(queue.size()) + 4;
    return ntree <= bound ? ntree : bound + ((ntree - bound) & 1);
  }

  void offer(int e, double tol) {
    const int* col = column(e);
    for (int k = 1; k <= nnodes_; ++k)
      if (col[k - 1] > 0) add(coord(k, e), tol);
  }
  void add(const double* p, double tol) {
    if (count_ >= npt_) return;
    for (int j = 0; j < count_; ++j)
      if (std::sqrt(distance2(points_ + 3 * std::ptrdiff_t(j), p, 3)) <= tol) return;
    std::copy(p, p + 3, points_ + 3 * std::ptrdiff_t(count_));
    ++count_;
  }

  double* points_;  // (3, npt)
  int npt_;
  int count_ = 0;
  const double* coords_;  // (3, nnodes, nelem)
  const int* nodes_;      // (nnodes, nelem)
  int nnodes_, nelem_;
  std::vector<int> rows_;
  elements::NodeIndex index_;
  std::vector<std::vector<int>> near_;
  std::vector<char> built_;
};

}  // namespace

namespace tavrin::elements {

void reference_data(int* nshell, int* ierror, const int* ind) {
  using namespace elementdata;
  auto& nsp = sectiondata::nsectionpoints;
  *nshell = 0;
  *ierror = 0;
  nsp.fill(-1);
  elemreforientation.fill(-1.0);
  const int rows = elements::element_rows();

  if (!elemindices.allocated() && elemkind.allocated()) {
    elemindices.allocate(rows);
    elemindices.fill(-1);
    for (int r = 1; r <= rows; ++r)
      if (elements::is_shell_kind(elemkind(r))) elemindices(++*nshell) = r;
    // An absent elemindices stands for every row.
    if (*nshell == rows) elemindices.deallocate();
  }

  const int id = *ind;
  int ierr_int = 0, ierr_real = 0, ierr_cmplx = 0;
  const auto numbers = copy_of_list<int>(id, 0, ierr_int);
  const auto records = copy_of_list<double>(id, 1, ierr_real);
  const auto sections = copy_of_list<std::complex<double>>(id, 2, ierr_cmplx);

  if (ierr_int != 0 || ierr_real != 0) {
    *ierror = -1;
  } else if (elemlist.allocated()) {
    const RowOfNumber row_of(rows);
    // The i-th record belongs to the i-th registered element.
    const bool orient = elemreforientation.allocated() && elemreforientation.size(1) >= 7;
    const std::size_t nrec = records.size() / 7;
    for (std::size_t i = 0; i < numbers.size() && i < nrec && orient; ++i) {
      const int r = row_of(numbers[i]);
      if (r < 1 || r > elemreforientation.size(2)) continue;
      for (int c = 1; c <= 7; ++c) elemreforientation(c, r) = records[7 * i + std::size_t(c - 1)];
    }
    if (ierr_cmplx != 0) {
      *ierror = -1;
    } else if (nsp.allocated()) {
      const int n = std::min(rows, nsp.size(1));
      for (int r = 1; r <= n; ++r) nsp(r) = 1;
      for (const auto& pair : sections) {
        const int r = row_of(element_number(pair.real()));
        if (r >= 1 && r <= n) nsp(r) = std::max(element_number(pair.imag()), nsp(r));
      }
    }
  }
  for (int flag = 0; flag <= 2; ++flag) {
    int status = 0;
    DeallocateList(&id, &flag, &status);
  }
}

}  // namespace tavrin::elements

extern "C" {

void GetNodalCoordinates(const double* coordnp, const int* nodeid, const int* ncoord, const int* nblock) {
  tavrin::c_boundary(__func__, [&] {
    using namespace elementdata;
    if (*ncoord > 3) {
      const std::array<int, 1> detail{*ncoord};
      xerr(-3, "More than three coordinates per node.", detail);
      return;
    }
    auto& coords = nodaldata::nodalcoords;
    if (*nblock < 1 || !elemnodes.allocated() || !coords.allocated()) return;
    const int nnodes = std::min(elements::node_columns(), coords.size(2));
    std::vector<int> rows = elements::visited_rows();
    std::erase_if(rows, [&](int r) { return r > coords.size(3); });
    if (rows.empty()) return;
    const int nc = std::max(*ncoord, 0);
    const elements::NodeIndex index(rows, elemnodes.data(), elemnodes.size(1), nnodes);
    const View<double, 3> xyz = coords.view();
    for (int j = 0; j < *nblock; ++j) {
      const double* x = coordnp + std::ptrdiff_t(j) * nc;
      for (const auto [row, pos] : index.find(nodeid[j]))
        for (int c = 1; c <= nc; ++c) xyz(c, pos, row) = x[c - 1];
    }
  });
}

void GetElementReferenceData(int* nshell, int* ierror, const int* ind) {
  tavrin::c_boundary(__func__, [&] { tavrin::elements::reference_data(nshell, ierror, ind); });
}

void GetElementRefOrientation(int* istatus, const int* ind, const double*, const double* tdirect,
                              const double* plyorientation, const int* noel, const int* kspt, const int* layid,
                              const int* secid, const int* nplies, const int* nsec, const int* nextid) {
  tavrin::c_boundary(__func__, [&] {
    *istatus = 0;
    if (*layid == 1 && (*secid < 1 || *secid > *nsec || *nplies < 1)) {
      // A record the element list had no orientation for would pair the
      // following records with the wrong elements: nothing is appended.
      const std::array<int, 3> detail{*noel, *secid, *nsec};
      xerr(-3, "Section outside the ply orientation table.", detail);
    } else if (*layid == 1) {
      const int unique = 1;
      int appended = 0;
      iAppendScalar2List(ind, noel, &unique, &appended, nullptr, nullptr);
      if (appended == 1) {
        *istatus = 1;
        const Vec3 ex{{1.0, 0.0, 0.0}}, ey{{0.0, 1.0, 0.0}}, ez{{0.0, 0.0, 1.0}};
        // The section's first ply direction, turned by the element's Euler angles.
        const double theta0 = plyorientation[std::ptrdiff_t(*secid - 1) * *nplies];
        Vec3 r;
        CoordinateRotation(ez.data(), ex.data(), r.data(), &theta0);
        Vec3 eul;
        GetEulerRotation(eul.data(), tdirect);
        const Vec3* axes[3] = {&ex, &ey, &ez};
        for (int a = 0; a < 3; ++a) {
          Vec3 turned;
          CoordinateRotation(axes[a]->data(), r.data(), turned.data(), &eul.v[std::size_t(a)]);
          r = turned;
        }
        Vec3 p;
        CoordinateProjection(tdirect, tdirect + 3, ex.data(), p.data(), nullptr);
        const Vec3 n = Vec3::load(tdirect + 6);
        const Vec3 q = cross(n, p);
        const double alpha = GetABQElementOrientation(r.data(), tdirect);
        const double back = -alpha;
        std::array<double, 7> record{alpha};
        CoordinateRotation(n.data(), p.data(), record.data() + 1, &back);
        CoordinateRotation(n.data(), q.data(), record.data() + 4, &back);
        const int seven = 7, plain = 0;
        int done = 0;
        fAppendArray2List(ind, record.data(), &seven, &plain, &done, nullptr, nullptr);
      }
    }
    if (*nextid != -1 && *nextid != 2) {
      const std::complex<double> pair{double(*noel), double(*kspt)};
      const int unique = 1;
      int appended = 0;
      cAppendScalar2List(ind, &pair, &unique, &appended, nullptr, nullptr);
    }
  });
}

double GetABQElementOrientation(const double* rm, const double* tdirect) {
  const Vec3 ex{{1.0, 0.0, 0.0}}, ey{{0.0, 1.0, 0.0}};
  Vec3 px, py;
  CoordinateProjection(tdirect, tdirect + 3, ex.data(), px.data(), nullptr);
  CoordinateProjection(tdirect, tdirect + 3, ey.data(), py.data(), nullptr);
  const Vec3 n = cross(px, py);
  const Vec3 c = cross(px, Vec3::load(rm));
  const int size = Vec3::size;
  const double angle = EuclideanAngle(px.data(), rm, &size) * rad2deg;
  return dot(n, c) < 0.0 ? -angle : angle;
}

void GetTruss3ElemLength(double* elemlength, const double* nodalcoord) {
  *elemlength = std::sqrt(distance2(nodalcoord, nodalcoord + 3, 3));
}

void GetTruss3TransformationMatrix(double* te, const double* nodalcoord) {
  std::fill(te, te + 12, 0.0);
  double length = 0.0;
  GetTruss3ElemLength(&length, nodalcoord);
  for (int c = 0; c < 3; ++c) {
    const double dc = (nodalcoord[3 + c] - nodalcoord[c]) / length;
    te[2 * c] = dc;            // te(1, c)
    te[2 * (c + 3) + 1] = dc;  // te(2, c + 3)
  }
}

void GetDataFromPatch(double* patchdata, const double* refdata, const double* patchcoords, const double* refcoords,
                      const int* ndata, const int* npt, const int* ndim, const int* nnodes, const int* nelem,
                      const double* tolerance) {
  const int nd = std::max(*ndata, 0), np = std::max(*npt, 0), dim = std::max(*ndim, 0);
  const int nn = std::max(*nnodes, 0), ne = std::max(*nelem, 0);
  const double tol = tolerance ? *tolerance : default_tolerance;
  std::fill(patchdata, patchdata + std::ptrdiff_t(nd) * np, 0.0);
  for (int p = 0; p < np; ++p)
    for (std::ptrdiff_t ke = 0; ke < std::ptrdiff_t(nn) * ne; ++ke)
      if (std::sqrt(distance2(patchcoords + std::ptrdiff_t(p) * dim, refcoords + ke * dim, dim)) <= tol)
        std::copy(refdata + ke * nd, refdata + (ke + 1) * nd, patchdata + std::ptrdiff_t(p) * nd);
}

void GetNodalPatch(double* nodalpatch, const double* nodalcoords, const int* elemnodes, const int* elemid,
                   const int* npt, const int* nnodes, const int* nelem, const double* tolerance, const int* exflag,
                   const int* ntree, const int* recursion) {
  tavrin::c_boundary(__func__, [&] {
    if (*elemid < 1 || *elemid > *nelem || *npt < 0 || *nnodes < 0) {
      const std::array<int, 2> detail{*elemid, *nelem};
      xerr(-3, "Element row outside the element tables.", detail);
      return;
    }
    if (!(recursion && *recursion < 0)) std::fill(nodalpatch, nodalpatch + 3 * std::ptrdiff_t(*npt), unfilled);
    PatchScan(nodalpatch, *npt, nodalcoords, elemnodes, *nnodes, *nelem)
        .run(*elemid, ntree ? *ntree : 1, exflag ? *exflag : 0, tolerance ? *tolerance : default_tolerance);
  });
}

}  // extern "C"
