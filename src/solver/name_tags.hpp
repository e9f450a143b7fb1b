// Integer tags carried in host material names.
//
// A solver passes only the material's name to a material routine; the name
// can carry integers as "_x@n@": an underscore, a letter, an at sign, the
// digits and a second at sign.  The letter says what n names: l a ply, s a
// section id, m a material id; d and i are recognised for Python callers.
#pragma once

#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::iohandling {

// The integer of the tag for letter xind (any case) in the first ls
// characters of s (any case), or notfound when xind is not one of d, i, l,
// m, s, when the name carries no such tag, or when the text between the at
// signs is not an integer.
TAVRIN_API int getxidfromstring(std::string_view s, int ls, std::string_view xind,
                                int notfound = -1) noexcept;

}  // namespace tavrin::iohandling
