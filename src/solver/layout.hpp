// The layout extents a host solver passes by value: the direct and shear
// components of a stress vector (ndi or ndir, nshr), its length ntens and
// the points of a block.  The entries check them one by one before they add
// them or reach an array through them: a host's value may be anything, and
// an int sum of two such values may overflow.
#pragma once

#include <array>

#include "foundation/errorhandling.hpp"

namespace tavrin::toplevel {

// What the entries latch for a stress vector the ply stiffness has no
// layout for.
inline constexpr char unsupported_dimension[] = "Unsupported dimension in GetNyeStiffnessMatrix";

// The layouts of the ply stiffness: 3 (plane stress), 4 (plane strain,
// axisymmetric) or 6 components.
constexpr bool supported_layout(int ntens) { return ntens == 3 || ntens == 4 || ntens == 6; }

// Whether ntens is a layout of the ply stiffness; latches -2 otherwise.
inline bool stiffness_layout(int ntens) {
  if (supported_layout(ntens)) return true;
  xerr(-2, unsupported_dimension);
  return false;
}

// At most three direct and three shear components, none negative.
constexpr bool components_in_range(int ndir, int nshr) {
  return ndir >= 0 && ndir <= 3 && nshr >= 0 && nshr <= 3;
}

// ndi direct and nshr shear components that make up the ntens of a stress
// vector, at most three of each.
constexpr bool stress_layout(int ndi, int nshr, int ntens) {
  return components_in_range(ndi, nshr) && ndi + nshr == ntens;
}

// ntens components of which the first ndi are direct: at most three direct
// and three shear ones (for routines that do not read nshr).
constexpr bool direct_split(int ndi, int ntens) {
  return ndi >= 0 && ndi <= 3 && ntens >= ndi && ntens - ndi <= 3;
}

// A block of points may be empty, not negative; latches -2 for a negative
// count and returns whether it did.
inline bool negative_block(int nblock) {
  if (nblock >= 0) return false;
  xerr(-2, "Negative number of points in the block.", std::array{nblock});
  return true;
}

}  // namespace tavrin::toplevel
