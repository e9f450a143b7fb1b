// Host element kinds, registration of elements and their nodes in the shared
// element tables, element reference data (orientation records, section-point
// counts, the list of shell elements), the 2-node truss geometry and nodal
// patches around an element.
//
// Registration happens while the solver's data file is read: each element
// line gives a kind and a connectivity row, each node line the coordinates
// of nodes that are copied into every element holding them.  During the
// analysis the damage field routine records each shell element's reference
// orientation and section points in the growable lists of one list number;
// GetElementReferenceData turns the lists into the per-row tables.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "foundation/api.hpp"

namespace tavrin::elements {

// Element kind codes of host element type names.
namespace kind {
inline constexpr int continuum = 11;        // "C3D"
inline constexpr int continuum_shell8 = 10; // "SC8"
inline constexpr int continuum_shell6 = 9;  // "SC6"
inline constexpr int triangular = 8;        // "STRI"
inline constexpr int shell3 = 7;            // "S3"
inline constexpr int shell9 = 6;            // "S9R5"
inline constexpr int shell8r5 = 5;          // "S8R5"
inline constexpr int shell8r = 4;           // "S8R"
inline constexpr int shell4r5 = 3;          // "S4R5"
inline constexpr int shell4r = 2;           // "S4R"
inline constexpr int shell4 = 1;            // "S4"
inline constexpr int other = 0;             // other shells and continua
inline constexpr int unknown = -1;          // neither "S" nor "C"
}  // namespace kind

// Kinds that get shell reference data: every kind but 0, 6, 7, 9, 10, 11.
constexpr bool is_shell_kind(int k) {
  return !(k == kind::other || k == kind::shell9 || k == kind::shell3 || k == kind::continuum_shell6 ||
           k == kind::continuum_shell8 || k == kind::continuum);
}

// Rows of the element tables the node routines visit (from 1): the entries
// of elemindices that are rows of the tables, else every row.  Empty when
// the element tables are absent.
std::vector<int> visited_rows();

// Usable number of element rows: nelem, cut to the extents of the element
// tables that are allocated.
int element_rows();
// Usable number of node columns of elemnodes: nnodes cut to its extent.
int node_columns();

// GetElementReferenceData for a caller that runs it under its own boundary:
// memory exhausted here throws.
TAVRIN_API void reference_data(int* nshell, int* ierror, const int* ind);

// Node number → (row, position) of every visited row that holds the node,
// the first position within a row only; built once in O(rows·nodes).
class NodeIndex {
 public:
  struct Slot {
    int row;  // from 1
    int pos;  // from 1
  };
  NodeIndex(std::span<const int> rows, const int* elemnodes, int ldnodes, int nnodes);
  std::span<const Slot> find(int node) const;

 private:
  std::vector<Slot> slots_;
  std::vector<int> start_;     // by node - first_ (direct addressing)
  std::vector<int> keys_;      // sorted node numbers (sparse numbering)
  int first_ = 0;
  bool direct_ = true;
};

}  // namespace tavrin::elements

namespace tavrin::elementhandling {

// ElementKind of a host element type name (any length): the first matching
// prefix of "C3D", "SC8", "SC6", "STRI", "S3", "S9R5", "S8R5", "S8R",
// "S4R5", "S4R", "S4"; else 0 for names beginning with "S" or "C", -1.
TAVRIN_API int getabqelementkind(std::string_view elemtype);

// Registers a shell or continuum element (names beginning with "S", or "C"
// but not "CIN") in row iele + 1 of the element tables.  A row beyond nelem
// or a connectivity longer than nnodes latches status -3 and changes nothing.
TAVRIN_API void getabqelementconnectivity(int& iele, const int* connectivity, int elemid,
                                          std::string_view elemtype, int nconnect);

}  // namespace tavrin::elementhandling

extern "C" {

// Copies the coordinates of the nodes nodeid(1..nblock) into every visited
// element that holds them (nodalcoords(1:ncoord, k, e)).  ncoord > 3 latches
// status -3 and changes nothing.
TAVRIN_API void GetNodalCoordinates(const double* coordnp, const int* nodeid, const int* ncoord,
                                    const int* nblock);

// Fills elemindices, elemreforientation and nsectionpoints from the
// registration lists of number ind, then frees those lists.
TAVRIN_API void GetElementReferenceData(int* nshell, int* ierror, const int* ind);

// Records the reference orientation (first visit of layer 1) and the
// section point of element noel in the registration lists of number ind.
// t is not used.
TAVRIN_API void GetElementRefOrientation(int* istatus, const int* ind, const double* t,
                                         const double* tdirect, const double* plyorientation,
                                         const int* noel, const int* kspt, const int* layid,
                                         const int* secid, const int* nplies, const int* nsec,
                                         const int* nextid);

// Signed in-plane angle (degrees) from the projected global x axis to rm on
// the plane of tdirect(:,1), tdirect(:,2).
TAVRIN_API double GetABQElementOrientation(const double* rm, const double* tdirect);

TAVRIN_API void GetTruss3ElemLength(double* elemlength, const double* nodalcoord);
TAVRIN_API void GetTruss3TransformationMatrix(double* te, const double* nodalcoord);

// patchdata(:,p) = refdata(:,k,e) of the last reference node within the
// tolerance of patch point p (0 when none).
TAVRIN_API void GetDataFromPatch(double* patchdata, const double* refdata, const double* patchcoords,
                                 const double* refcoords, const int* ndata, const int* npt,
                                 const int* ndim, const int* nnodes, const int* nelem,
                                 const double* tolerance);

// The coordinates of the nodes of the elements around row elemid, ntree
// levels deep, each point once; unfilled columns hold -1.7976931348623157e308.
TAVRIN_API void GetNodalPatch(double* nodalpatch, const double* nodalcoords, const int* elemnodes,
                              const int* elemid, const int* npt, const int* nnodes, const int* nelem,
                              const double* tolerance, const int* exflag, const int* ntree,
                              const int* recursion);

}
