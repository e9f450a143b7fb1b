// Transverse stresses of a shell element: σ33 through the thickness and the
// transverse shear stresses (23, 13) at the section points, recovered from
// the element's nodal motion, curvatures, the section's transverse shear
// stiffness and its stress-function tables.
//
// The shear forces Q = H·(γyz, γxz) come from the generalised strains at an
// integration point; their x and y derivatives, summed over the integration
// points with their weights (or taken at the centre), drive σ33 through
// equilibrium in the thickness direction, integrated from σ33 = 0 at the
// bottom face.  On a curved element the membrane stresses add, through the
// curvature integrals of the four stored section-stress sets:
//   σ33(z) = w·Σsets [I(σ11; κ1, κ2)(z) + I(σ22; κ2, κ1)(z)] + S(z)
// with κ1 ≥ κ2 the principal curvatures, w the integration weight and S the
// shear-force part on the section's F/G table of those curvatures.
//
// Tables: tnormalstress(nzcoord, nelem) with nzcoord = 2·nplies + 1 rows
// (bottom, middle and top of every ply); tshearstress(nintpoint, 2, 4, nelem)
// with the 23 shear in column 1 and the 13 shear in column 2, one row per
// section point (elemsectionpoints(elemid) per ply).  A column holding any
// non-zero value counts as computed and is left as it is.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// Recovers the transverse stresses of element row elemid at integration
// point gpid (section column secid).  Rows, points or sections outside the
// tables, or tables too short for the section's points, latch status -3 and
// leave both tables unchanged; so do elements at rest and element kinds
// without transverse stresses (0, 6, 7, 9, 10, 11).
TAVRIN_API void GetShellTransverseStresses(
    double* tnormalstress, double* tshearstress, const double* nodalcoords, const double* nodesmotion,
    const double* sestress, const double* sehmatrix, const double* sefmatrix, const double* plyorientation,
    const double* plythickness, const double* plyzcoord, const double* plyelastic, const int* elemsectionpoints,
    const double* elemcurvatures, const int* elemkind, const int* sectionlist, const int* elemid, const int* gpid,
    const int* secid, const int* itnsflag, const int* itshrflag, const int* nplies, const int* nsec,
    const int* nzcoord, const int* nintpoint, const int* ndof, const int* nnodes, const int* nelem);

}
