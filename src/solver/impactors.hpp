// The impactor records of an analysis with impactors, advanced at the
// phases of job control.
//
// impactdata::cprops(20, nimp), one column per impactor, rows:
//    1 contact force F of the increment      11 F at the previous end of increment
//    2 contact radius                        12 row 2 at the previous end of increment
//    3 indentation depth                     13 reference displacement at first contact
//    4 displacement u                        14 peak force (preset: the impactor's index)
//    5 velocity v                            15 largest indentation (preset 1e-10)
//    6 acceleration a (preset g)             16 1.0 once the force has passed its peak
//    7 mass m                                19 half-step velocity (central difference)
//    8, 9, 10 α, β, γ of the time scheme     20 previous increment, or the weight w
// Rows 1-3 and 7-10 are written by the impactor elements during the
// increment; rows 17 and 18 are theirs alone.  The motion is that of a rigid
// body under gravity g (positive along u) and the contact force:
// m·a = m·g - F.  (α, β, γ) = (0, 0, 0) integrates nothing, (-1, -1, -1)
// selects central differences, (-2, -2, -2) a weighted explicit scheme with
// the velocity weight w = row 20, any other triple HHT-α / Newmark.
//
// loaddata::dprops(12, nimp): rows 2-4 the impactor's position from the
// input deck, the rest zero at start.
#pragma once

#include <span>

#include "foundation/api.hpp"
#include "foundation/array.hpp"

namespace tavrin::toplevel::impactors {

inline constexpr double gravity = 9.80665;
inline constexpr int window_length = 5;  // contact forces averaged for the unloading flag

// Start of the analysis: records zeroed, rows 6, 14 and 15 preset, the
// positions x, y, z (nimp each) in rows 2-4 of dprops, the moving-average
// windows (5, nimp) and their fill counts zeroed.
TAVRIN_API void preset(View<double, 2> cprops, View<double, 2> dprops, View<double, 2> window,
                       std::span<int> denom, std::span<const double> x, std::span<const double> y,
                       std::span<const double> z);
// Increment start of an impact step: a negative force on any impactor
// clears rows 2, 3 and 13 of all; else impactors with a mass get rows 1, 2,
// 3 and 13 cleared.
TAVRIN_API void start_increment(View<double, 2> cprops);
// End of an increment of a structural-response step: rows 14 and 15 zeroed.
TAVRIN_API void end_increment_structural(View<double, 2> cprops);
// End of an increment of an impact step: time integration over dt, peaks,
// and the unloading flag from the moving average of the contact force.
TAVRIN_API void end_increment_impact(View<double, 2> cprops, View<double, 2> window, std::span<int> denom,
                                     double dt);

}  // namespace tavrin::toplevel::impactors
