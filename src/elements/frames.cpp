// Element and node frames, curvatures, nodal motion and characteristic lengths.
#include "elements/frames.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "elements/element_registry.hpp"
#include "elements/shell_kinematics.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/products.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/small_matrix.hpp"
#include "foundation/transforms.hpp"

namespace {

using namespace tavrin;
using math::rad2deg;
using math::transformation_matrix;

constexpr double pi = 3.141592653589793;
constexpr double half_sqrt2 = 0.7071067811865475;

Vec3 unit(const Vec3& v) { return (1.0 / norm(v)) * v; }

Vec3 rotated(const Vec3& axis, const Vec3& p, double angle_d) {
  Vec3 out;
  CoordinateRotation(axis.data(), p.data(), out.data(), &angle_d);
  return out;
}

// Node i (from 1) of the block on(8,3).
Vec3 node(const double* on, int i) { return Vec3{{on[i - 1], on[i - 1 + 8], on[i - 1 + 16]}}; }

// Surface tangents ∂x/∂ξ, ∂x/∂η from the shape-function matrix nshape(inodes,6).
std::pair<Vec3, Vec3> tangents(const double* nshape, const double* on, int inodes) {
  Vec3 g1, g2;
  for (int i = 1; i <= inodes; ++i) {
    const Vec3 x = node(on, i);
    g1 += nshape[(i - 1) + inodes] * x;
    g2 += nshape[(i - 1) + 2 * inodes] * x;
  }
  return {g1, g2};
}

bool all_zero(const double* a, int n) {
  return std::all_of(a, a + n, [](double x) { return x == 0.0; });
}

// Nodes of a row for the reference data: 8, 6, or 0 when the row is passed
// over.  Kinds 1 to 3 count as 8-node elements only once their mid-side
// nodes carry coordinates.
int reference_nodes(int kind, int e) {
  using namespace elements::kind;
  const auto& coords = nodaldata::nodalcoords;
  const int columns = coords.size(2);
  if (kind == shell8r || kind == shell8r5) return columns >= 8 ? 8 : 0;
  if (kind == triangular) return columns >= 6 ? 6 : 0;
  if (kind == shell4 || kind == shell4r || kind == shell4r5) {
    if (columns != 8) return 0;
    double lo = coords(1, 5, e);
    for (int k = 5; k <= 8; ++k)
      for (int c = 1; c <= 3; ++c) lo = std::min(lo, coords(c, k, e));
    for (int k = 5; k <= 8; ++k)
      for (int c = 1; c <= 3; ++c)
        if (coords(c, k, e) != lo) return 8;
  }
  return 0;
}

// The frame tables exist with 3×3 frames, eight per element.
bool frames_fit() {
  const auto& ti = nodaldata::tnodalmatrices;
  const auto& tc = nodaldata::tcurvmatrices;
  return ti.size(1) == 3 && ti.size(2) == 3 && ti.size(3) == 8 && tc.size(1) == 3 && tc.size(2) == 3;
}

// A node's translation and rotation into the curvature frame tc, the
// rotation through the node frame ti first (tc·tiᵀ·ti·rot: tc·rot for an
// orthonormal ti).
void turn_motion(Vec3& trans, Vec3& rot, const Mat3& ti, const Mat3& tc) {
  trans = tc * trans;
  rot = tc * (transpose(ti) * (ti * rot));
}

// The entries of a block of nodes by node number: the last entry that
// carries a translation and the last that carries a rotation (a later entry
// for the same node overwrites an earlier one).  Node numbers within a range
// a few times the block's size are addressed directly, others found by
// binary search.
class BlockNodes {
 public:
  struct Entry {
    int trans = -1, rot = -1;  // entries from 0; -1: none
  };
  template <class Carries>
  BlockNodes(const int* nodeid, int n, Carries&& carries) {
    const auto [lo, hi] = std::minmax_element(nodeid, nodeid + n);
    const long long range = (long long)*hi - *lo + 1;
    direct_ = range <= 4LL * n + 1024;
    if (direct_) {
      first_ = *lo;
      entries_.resize(std::size_t(range));
      for (int j = 0; j < n; ++j) note(entries_[std::size_t(nodeid[j] - first_)], j, carries(j));
      return;
    }
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) order[std::size_t(j)] = j;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return nodeid[a] < nodeid[b]; });
    for (const int j : order) {
      if (keys_.empty() || keys_.back() != nodeid[j]) keys_.push_back(nodeid[j]), entries_.emplace_back();
      note(entries_.back(), j, carries(j));
    }
  }
  Entry find(int node) const {
    if (direct_) {
      const long long at = (long long)node - first_;
      return at >= 0 && at < (long long)entries_.size() ? entries_[std::size_t(at)] : Entry{};
    }
    const auto it = std::lower_bound(keys_.begin(), keys_.end(), node);
    return it != keys_.end() && *it == node ? entries_[std::size_t(it - keys_.begin())] : Entry{};
  }

 private:
  static void note(Entry& e, int j, std::pair<bool, bool> carried) {
    if (carried.first) e.trans = j;
    if (carried.second) e.rot = j;
  }
  std::vector<Entry> entries_;
  std::vector<int> keys_;
  int first_ = 0;
  bool direct_ = true;
};

}  // namespace

extern "C" {

void GetSectionRefOrientation(double* theta, const double* so, const double* nvector, const double* r12) {
  const Vec3 s = Vec3::load(so), r = Vec3::load(r12);
  const Vec3 c = cross(r, s);
  if (norm(c) > 1e-8) {
    const double cosine = dot(r, s) / (norm(s) * norm(r));
    const double angle = std::acos(std::clamp(cosine, -1.0, 1.0));
    *theta = dot(c, Vec3::load(nvector)) > 0.0 ? angle : -angle;
  } else {
    *theta = dot(r, s) > 0.0 ? 0.0 : pi;
  }
}

void GetNodalTransformation(double* ti, const double* on, const int* inodes) {
  std::fill(ti, ti + 72, 0.0);
  const int n = *inodes;
  if (n != 6 && n != 8) {
    const std::array<int, 1> detail{n};
    xerr(-3, "Unknown or unsupported element type.", detail);
    return;
  }
  std::array<double, 48> nshape{};
  for (int k = 1; k <= n; ++k) {
    GetNodalShape(nshape.data(), &k, inodes);
    const auto [g1, g2] = tangents(nshape.data(), on, n);
    const Vec3 e1 = unit(g1), e2 = unit(g2), e3 = unit(cross(g1, g2));
    const Vec3 a = unit(e1 + e2);
    const Vec3 c = unit(cross(e3, a));
    // In-plane axes at ±45° from the bisector of the tangents.
    const Vec3 second = half_sqrt2 * (a + c);
    const Vec3 first = cross(second, e3);
    double* t = ti + 9 * (k - 1);
    first.store(t);
    second.store(t + 3);
    e3.store(t + 6);
  }
}

void GetElementTransformation(double* tcurv, double* origin, double* kappa, const double* on, const double* refdir,
                              const int* inodes) {
  std::fill(tcurv, tcurv + 9, 0.0);
  std::fill(origin, origin + 3, 0.0);
  kappa[0] = kappa[1] = 0.0;
  const int n = *inodes;
  std::array<double, 48> nshape{};
  const double zero = 0.0;
  Vec3 o, x, r12;
  if (n == 8) {
    Quad8ShapeFunMatrix(nshape.data(), &zero, &zero);
    for (int i = 1; i <= 4; ++i) o += 0.25 * node(on, i);
    const auto [g1, g2] = tangents(nshape.data(), on, n);
    const Vec3 nrm = unit(cross(g1, g2));
    const double phi = std::acos(std::clamp(dot(unit(g1), unit(g2)), -1.0, 1.0));
    // The first axis at 45° clockwise of the bisector of the tangents.
    x = rotated(nrm, unit(g1), -(0.7853981633974483 - 0.5 * phi) * rad2deg);
    r12 = node(on, 2) - node(on, 1);
  } else if (n == 6) {
    Tria6ShapeFunMatrix(nshape.data(), &zero, &zero);
    // The origin at the first node of the longest corner edge.
    int best = 1;
    double longest = norm(node(on, 2) - node(on, 1));
    for (int i = 2; i <= 3; ++i) {
      const double len = norm(node(on, i % 3 + 1) - node(on, i));
      if (len > longest) {
        longest = len;
        best = i;
      }
    }
    o = node(on, best);
    r12 = node(on, best % 3 + 1) - node(on, best);
    x = unit(tangents(nshape.data(), on, n).first);
  } else {
    const std::array<int, 1> detail{n};
    xerr(-3, "Unknown or unsupported element type.", detail);
    return;
  }
  const auto [g1, g2] = tangents(nshape.data(), on, n);
  const Vec3 nrm = unit(cross(g1, g2));
  const Mat3 t0 = transformation_matrix(x, cross(nrm, x), nrm);

  // The section's reference direction: the record's in-plane vector closer
  // to the element's first axis turned by the reference angle.
  const Vec3 ref = rotated(nrm, x, refdir[0]);
  const Vec3 p = Vec3::load(refdir + 1), q = Vec3::load(refdir + 4);
  const Vec3 so = norm(cross(ref, q)) > norm(cross(ref, p)) ? p : q;
  double theta = 0.0;
  GetSectionRefOrientation(&theta, so.data(), nrm.data(), r12.data());

  std::array<double, 24> local{};  // (inodes, 3)
  for (int i = 1; i <= n; ++i) {
    const Vec3 l = t0 * (node(on, i) - o);
    for (int c = 1; c <= 3; ++c) local[std::size_t((i - 1) + (c - 1) * n)] = l(c);
  }
  double delta = 0.0;
  GetCurvatures(&delta, kappa, nshape.data(), local.data(), inodes);

  const double angle = delta != 0.0 ? delta * rad2deg : theta * rad2deg;
  const Vec3 xc = rotated(nrm, x, angle);
  transformation_matrix(xc, cross(nrm, xc), nrm).store(tcurv);
  o.store(origin);
}

void GetNodeReferenceData(int* lop, const int* tflag) {
  using namespace elementdata;
  using namespace nodaldata;
  *lop = 1;
  // An absent table has extents 0.
  if (!elemkind.allocated() || !frames_fit() || nodalcoords.size(1) < 3 || elemcurvatures.size(1) < 2 ||
      elemreforientation.size(1) < 7) {
    *lop = 0;
    return;
  }
  // Rows that every table holds.
  const int rows = std::min({elements::element_rows(), nodalcoords.size(3), tcurvmatrices.size(3),
                             tnodalmatrices.size(4), elemcurvatures.size(2), elemreforientation.size(2)});
  const bool keep_global = tflag && *tflag == 1;
  for (int e = 1; e <= rows; ++e) {
    const int kind = elemkind(e);
    if (kind < 0 || kind > 11) {
      *lop = -3;
      const std::array<int, 2> detail{e, kind};
      xerr(-3, "Unknown element type detected", detail);
      return;
    }
    const int n = reference_nodes(kind, e);
    if (n == 0) continue;
    std::array<double, 24> on{};
    for (int i = 1; i <= n; ++i)
      for (int c = 1; c <= 3; ++c) on[std::size_t((i - 1) + 8 * (c - 1))] = nodalcoords(c, i, e);
    double* tcurv = &tcurvmatrices(1, 1, e);
    Vec3 origin;
    GetNodalTransformation(&tnodalmatrices(1, 1, 1, e), on.data(), &n);
    GetElementTransformation(tcurv, origin.data(), &elemcurvatures(1, e), on.data(), &elemreforientation(1, e),
                             &n);
    if (keep_global) continue;
    const Mat3 t = Mat3::load(tcurv);
    for (int i = 1; i <= n; ++i) (t * (node(on.data(), i) - origin)).store(&nodalcoords(1, i, e));
  }
  *lop = 0;
}

void ShellTractionTransformation(double* ntrac, double* nrot, const double* ti, const double* tcurv,
                                 const int* ndim) {
  const Mat3 tc = Mat3::load(tcurv), t = Mat3::load(ti);
  const int m = std::clamp(*ndim, 0, 3);
  Vec3 trans = Vec3::load(ntrac), r;
  for (int c = 1; c <= m; ++c) r(c) = nrot[c - 1];
  turn_motion(trans, r, t, tc);
  trans.store(ntrac);
  for (int c = 1; c <= m; ++c) nrot[c - 1] = r(c);
}

void GetNodesMotion(const double* ntraction, const double* nrotation, const int* nodeid, const int* ndim,
                    const int* nblock, const double* defreal) {
  tavrin::c_boundary(__func__, [&] {
    using namespace nodaldata;
    const auto& elemnodes = elementdata::elemnodes;
    if (!elemnodes.allocated() || !nodesmotion.allocated() || !frames_fit() || *nblock < 1) return;
    const double marker = defreal ? *defreal : not_given;
    const int dim = std::max(*ndim, 0);
    const int nrotk = std::min({std::min(ndof, 6) - 3, nodesmotion.size(1) - 3, 3});
    const int ntrans = std::min(3, nodesmotion.size(1));
    const int nnodes = std::min(elements::node_columns(), nodesmotion.size(2));
    const int last_row = std::min({nodesmotion.size(3), tcurvmatrices.size(3), tnodalmatrices.size(4)});
    std::vector<int> rows = elements::visited_rows();
    std::erase_if(rows, [&](int r) { return r > last_row; });
    if (rows.empty()) return;

    const auto translation = [&](int j) { return ntraction + 3 * std::ptrdiff_t(j); };
    const auto rotation = [&](int j) { return nrotation + std::ptrdiff_t(dim) * j; };
    const BlockNodes block(nodeid, *nblock, [&](int j) {
      const double* tr = translation(j);
      const double* ro = rotation(j);
      return std::pair{!std::all_of(tr, tr + 3, [&](double v) { return v == marker; }),
                       dim >= 1 && !std::all_of(ro, ro + dim, [&](double v) { return v == marker; })};
    });

    // Element by element, each node position at the last block entry of its
    // node; an element without frames takes the motion as it stands.
    const Mat3 eye = Mat3::identity();
    for (const int e : rows) {
      const int* col = &elemnodes(1, e);
      int frameless = -1;  // not yet looked at
      for (int k = 1; k <= nnodes; ++k) {
        const BlockNodes::Entry hit = block.find(col[k - 1]);
        if (hit.trans < 0 && hit.rot < 0) continue;
        if (std::find(col, col + (k - 1), col[k - 1]) != col + (k - 1)) continue;  // a node's first position only
        if (frameless < 0) frameless = all_zero(&tnodalmatrices(1, 1, 1, e), 72) && all_zero(&tcurvmatrices(1, 1, e), 9);
        double* motion = &nodesmotion(1, k, e);
        const double* ro = hit.rot >= 0 ? rotation(hit.rot) : nullptr;
        if (frameless) {
          if (hit.trans >= 0) std::copy_n(translation(hit.trans), ntrans, motion);
          if (ro)
            for (int c = 1; c <= nrotk; ++c) motion[2 + c] = c <= dim ? ro[c - 1] : 0.0;
          continue;
        }
        const Mat3 ti = k > 8 ? eye : Mat3::load(&tnodalmatrices(1, 1, k, e));
        const Mat3 tc = Mat3::load(&tcurvmatrices(1, 1, e));
        Vec3 trans = hit.trans >= 0 ? Vec3::load(translation(hit.trans)) : Vec3{}, rot;
        for (int c = 1; ro && c <= std::min(dim, 3); ++c) rot(c) = ro[c - 1];
        turn_motion(trans, rot, ti, tc);
        if (hit.trans >= 0) std::copy_n(trans.data(), ntrans, motion);
        if (ro)
          for (int c = 1; c <= nrotk; ++c) motion[2 + c] = rot(c);
      }
    }
  });
}

void GetCenterNodes(double* center, const double* vertices, const int* ndim, const int* npt) {
  const int dim = std::max(*ndim, 0), n = std::max(*npt, 0);
  for (int i = 0; i < n; ++i) {
    const double* a = vertices + std::ptrdiff_t(dim) * i;
    const double* b = vertices + std::ptrdiff_t(dim) * ((i + 1) % n);
    for (int c = 0; c < dim; ++c) center[std::ptrdiff_t(dim) * i + c] = 0.5 * (a[c] + b[c]);
  }
}

void GetHex8ElemLength(double* elemlength, const double* matcos, const double* nodalcoord) {
  // Space diagonals 1-7, 2-8, 3-5, 4-6.
  constexpr std::array<std::pair<int, int>, 4> diagonals{{{1, 7}, {2, 8}, {3, 5}, {4, 6}}};
  const Mat3 m = Mat3::load(matcos);
  for (int k = 1; k <= 3; ++k) {
    double s = 0.0;
    for (const auto& [from, to] : diagonals)
      for (int c = 1; c <= 3; ++c)
        s += std::abs((nodalcoord[3 * (to - 1) + c - 1] - nodalcoord[3 * (from - 1) + c - 1]) * m(c, k));
    elemlength[k - 1] = 0.25 * s;
  }
}

void GetQuad4ElemLength(double* elemlength, const double* tdirect, const double* nodalcoord) {
  const Mat3 t = Mat3::load(tdirect);
  const Vec3 first = Vec3::load(nodalcoord);
  // Edges to nodes 2 and 4, then the diagonal to node 3.
  constexpr std::array<int, 3> ends{2, 4, 3};
  for (int i = 0; i < 3; ++i) {
    const Vec3 v = Vec3::load(nodalcoord + 3 * (ends[std::size_t(i)] - 1)) - first;
    Vec3 p;
    CoordinateProjection(tdirect, tdirect + 3, v.data(), p.data(), nullptr);
    elemlength[i] = norm(transpose(t) * p);
  }
}

}  // extern "C"
