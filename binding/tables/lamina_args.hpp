// The doc of module lamina, shared by its table files.
#pragma once

namespace tavrin::bind::lamina_args {

inline constexpr const char* lamina_doc =
    "ply mechanics: stiffness, notations, rotations, stress measures\n"
    "\n"
    "Elastic behaviour of one orthotropic ply and the measures of stress and strain at a material "
    "point.  The nine ply constants are, here and in laminate and the material tables, E1, E2, E3, "
    "nu12, nu13, nu23, G12, G13, G23 (axis 1 along the fibres; micromechanic and fatigue order them "
    "otherwise, as their docs say).  Stiffness and compliance matrices are in the solver (Nye) "
    "order 11, 22, 33, 12, 13, 23 unless a routine says otherwise; Voigt order is 11, 22, 33, 23, "
    "13, 12 and cyclic order 11, 22, 33, 12, 23, 31; plane states keep 11, 22, 33, 12 (four) or "
    "11, 22, 12 (three).  Stress vectors hold tensor components, strain vectors engineering shear "
    "strains gamma = 2 eps.  A ply angle turns material axis 1 away from the reference x axis "
    "about axis 3, counter-clockwise positive; arguments ending in _r or named rangle are in "
    "radians, dangle and theta in degrees, as each routine says.  Unknown flags and unsupported "
    "sizes are latched (errorhandling.errstat -2 or -3, errorhandling.errstring as bytes) and give "
    "zero results; nothing is raised.";

}  // namespace tavrin::bind::lamina_args

// What a routine that latches says about reading the latch.
#define TAVRIN_LAMINA_LATCH                                                                    \
  " Read errorhandling.errstat (0: no failure) and errorhandling.errstring (bytes) after the " \
  "call; errorhandling.rsxerr clears them."
