// Arguments shared by the descriptors of the shape-function modules (truss3,
// tria6, quad4, quad8, hex8) and of module elementhandling.
#pragma once

#include "engine/descriptor.hpp"

namespace tavrin::bind::element_args {
using namespace dsl;

inline constexpr Arg xi = in(Real, "xi").describe("natural coordinate ξ");
inline constexpr Arg eta = in(Real, "eta").describe("natural coordinate η");
inline constexpr Arg zeta = in(Real, "zeta").describe("natural coordinate ζ");
inline constexpr Arg inode = in(Int, "inode").describe("the node, counted from 1 in the family's node order");
inline constexpr Arg idvar =
    in(Int, "idvar").describe("variable of the (first) derivative: 1 ξ, 2 η, 3 ζ");
inline constexpr Arg iidvar = in(Int, "iidvar").describe("variable of the second derivative: 1 ξ, 2 η, 3 ζ");
inline constexpr const char* bad_argument_doc =
    "A bad node or variable latches a warning (status -2) and gives 0.0.";

}  // namespace tavrin::bind::element_args
