// Plies of the sections through the thickness, laminate strains at a height,
// ply bottom and top stresses, and two angle measures of a stack (module
// `laminate`).
//
// Section tables hold one column per section: the material id of each ply
// (`sectionlist`), its thickness and its angle.  An entry equal to the
// marker `defint` (2147483647 unless given) is a ply the section does not
// have; missing plies are trailing, so a section has the plies before its
// first marker.  A column of markers only is an undefined section.
//
// The section z table (2·nplies+1 rows per section) holds, for a section of
// nlay plies, the bottom of ply k in row 2k-1, its middle in row 2k and the
// top of the last ply in row 2·nlay+1 (row 2k+1 is the top of ply k and the
// bottom of ply k+1); z is measured from the mid-plane of the section's own
// plies and rows beyond 2·nlay+1 are 0.
#pragma once

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/laminate_stiffness.hpp"

namespace tavrin::laminate {

inline constexpr int undefined_ply = 2147483647;

// The section tables of nsec sections of up to nplies plies, column-major:
// list(nplies, nsec), orientation and thickness (nplies, nsec), elastic
// (9, nplies, nsec) where a routine uses them.
struct SectionTables {
  const int* list = nullptr;
  const double* orientation = nullptr;
  const double* thickness = nullptr;
  const double* elastic = nullptr;
  int nplies = 0, nsec = 0;
  int defint = undefined_ply;

  // The ply count of section `sec` (1..nsec): the plies before its first
  // marker; -1 for an undefined section.
  TAVRIN_API int plies(int sec) const;
  // Its first `count` plies as a stack.
  Stack stack(int sec, int count) const {
    const std::ptrdiff_t column = std::ptrdiff_t(sec - 1) * nplies;
    return {elastic ? elastic + 9 * column : nullptr, orientation ? orientation + column : nullptr,
            thickness + column, count};
  }
  // Whether any elastic constant of the first `count` plies of section
  // `sec` is non-zero.
  TAVRIN_API bool has_elastic_constants(int sec, int count) const;
};

// The rows of the section z and f tables of nplies plies: the bottom and
// middle of every ply, then the top face; none for a negative count.
constexpr int section_rows(int nplies) { return nplies < 0 ? 0 : 2 * nplies + 1; }

// The 2n+1 entries of the section z table of a stack (bottom and middle of
// every ply, then the top face).
TAVRIN_API void section_z(const Stack& s, double* z);

// The laminate strains (ε11, ε22, γ12) at height z from the mid-plane
// strains and curvatures se = (ε0, κ): ε0 + z·κ.
constexpr Vec3 strain_at(const Vec6& se, double z) {
  return Vec3{{se(1) + z * se(4), se(2) + z * se(5), se(3) + z * se(6)}};
}

// The dominant ply direction of a stack in degrees: plies are grouped by
// angle (θ joins the first group at a with θ = a, a ± 90 or a ± 180), each
// ply weighs (Emax - Emin)/Emin · t/h · Emax/Eref (Emax, Emin its larger and
// smaller in-plane modulus, Eref the Emax of ply 1), and the heaviest group
// wins, the first one on a tie.  A single ply gives its angle, no ply 0.
TAVRIN_API double decoupling_angle_d(const Stack& s);

}  // namespace tavrin::laminate

extern "C" {

// plyzcoord(2·nplies+1, nsec) from sectionlist and plythickness
// (nplies, nsec); defint optional (2147483647).
TAVRIN_API void GetSectionZCoord(double* plyzcoord, const int* sectionlist, const double* plythickness,
                                 const int* nplies, const int* nsec, const int* defint);
// plystrain(3, nzcrd): the strains at the heights plyzcoord(nzcrd).
TAVRIN_API void GetPlyStrain(double* plystrain, const double* se, const double* plyzcoord,
                             const int* nzcrd);
// plystrain(3, 3·nplies): the strains in ply axes at the bottom, middle and
// top of every ply, at z less `reference` (optional, 0).
TAVRIN_API void GetSectionStrain(double* plystrain, const double* se, const double* plyorientation,
                                 const double* plythickness, const int* nplies,
                                 const double* reference);
// sbt(6, 2·nplies): the stresses at the bottom (column 2p-1) and top (2p) of
// every ply from the section-point stresses sestress(6, nzcrd), ply p having
// plysectionpoint(p) points: its top is point cum(p) = count(1) + ... +
// count(p), the bottom of ply p+1 the next one, the bottom of ply 1 the
// first and the top of the last ply the last point (with fewer than three
// points only these two).  Counts below 1 are refused (-3, sbt zero).
TAVRIN_API void GetPlyBottomTopStress(double* sbt, const double* sestress, const int* plysectionpoint,
                                      const int* nzcrd, const int* nplies);
TAVRIN_API double GetDecoupAngle(const double* plyelastic, const double* plyorientation,
                                 const double* plythickness, const int* nplies);
// The angle of ply iply less that of the ply below (luflag 0) or above
// (luflag 1), 0 at the bottom or top of the stack; another luflag or a ply
// outside the stack is refused (-3, 0).
TAVRIN_API double GetdAngle(const double* plyorientation, const int* luflag, const int* iply,
                            const int* nplies);
}
