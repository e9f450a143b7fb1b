// What the explicit ply routines share: the block of points a VUMAT call
// hands over, its refusals, the elastic answer of the short property forms
// and the energy bookkeeping.
//
// Vectors of a point are Vec6 in the cyclic order 11, 22, 33, 12, 23, 31
// with tensor shear strains; a plane-stress row (ntens = 4: 11, 22, 33, 12)
// holds zeros in positions 5 and 6.  Stiffness matrices are Mat6 in the
// same order; "engineering" ones hold the shear moduli G on the shear
// diagonal and act on doubled shears (engineering()).
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "foundation/array.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin::toplevel::explicit_ply {

// The arrays of one call, one row per point.
struct Block {
  const char* routine;  // name used in latched messages
  int nblock, ntens, nstatev;
  View<const double, 2> charlength, straininc, stressold, stateold;
  View<double, 2> stressnew, statenew;
  const double* density;
  const double* enerinternold;
  const double* enerinelasold;
  double* enerinternnew;
  double* enerinelasnew;

  // Row k of an (nblock, ntens) array as a 6-vector, zeros past ntens.
  Vec6 row(const View<const double, 2>& a, int k) const;
  void put_row(int k, const Vec6& stress) const;  // stressnew(k, 1..ntens)
  // stateold(k, first..first+5) and statenew(k, first..first+5) = v.
  Vec6 state6(int k, int first) const;
  void put_state6(int k, int first, const Vec6& v) const;
  // Point k, or every point, returned as it came in.
  void keep_point(int k) const;
  void keep_block() const;
  // enerinternnew = enerinternold + f·(stress power of the step)/ρ and
  // enerinelasnew = enerinternnew − f·(elastic energy)/ρ, from the mid-step
  // stress (stressold + stress)/2, the strain increment and the elastic
  // strain.
  void energies(int k, const Vec6& stress, const Vec6& deps, const Vec6& eps_el, double f) const;
  // Latches -2 with "<routine>: <what>" and the details.
  void refuse(std::string_view what, std::span<const int> ints = {}, std::span<const double> reals = {}) const;
};

// Latches -2 with "<routine>: <what>" and the details (before a Block is
// made: a layout refused).
void refuse(const char* routine, std::string_view what, std::span<const int> ints = {},
            std::span<const double> reals = {});

// A property value read as a switch: truncated to an integer; not a number
// or beyond ±1e9 reads as a value no switch takes.
int switch_of(double x);

// Shears doubled: the strains an engineering stiffness acts on.
Vec6 engineering(Vec6 eps);

// Positive moduli and a positive definite compliance.
bool admissible(const lamina::PlyConstants& p);

// The engineering stiffness of ply constants: 3-D, or the plane-stress
// (reduced) entries at 11, 22, 12.
Mat6 ply_stiffness(const lamina::PlyConstants& p, bool plane_stress);

// The elastic answer of the short property forms (nprops 2 to 9 and 21):
// the engineering stiffness, and the constants when they were given as
// such.  Nothing (latched -2) for counts that name no elastic form, for
// inadmissible constants, and for a packed stiffness at a plane-stress point.
struct ElasticForm {
  Mat6 stiffness;
  std::optional<lamina::PlyConstants> constants;
};
std::optional<ElasticForm> elastic_form(const Block& b, const double* props, int nprops, bool plane_stress);

// Whether nprops selects an elastic form (2 to 9 or 21); 1 and counts below
// `full` are refused (latched -2).
enum class PropertyForm { elastic, full, refused };
PropertyForm property_form(const Block& b, int nprops, int full);

// The density of point k positive and finite, and with `lengths` its three
// characteristic lengths too (else latched -2).
bool point_accepted(const Block& b, int k, bool lengths);

}  // namespace tavrin::toplevel::explicit_ply
