// Element and node frames of shell elements, principal curvatures, local node
// coordinates, nodal motion carried into the element tables, and the
// characteristic lengths of bricks and quadrilaterals.
//
// Frames are 3×3 matrices.  A node frame ti(:,:,k) holds its axes in the
// columns (the two in-plane axes symmetric about the bisector of the surface
// tangents, then the normal); an element or curvature frame tcurv holds them
// in the rows, so that tcurv·v gives the components of v in that frame.  The
// curvature frame's first axis follows the principal curvature direction, or
// the section's reference direction on a flat element.
//
// Node coordinate blocks on(8,3) hold x, y, z of node i in row i; rows
// beyond the element's nodes are 0.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// Node frames ti(3,3,8) of the 6- or 8-node element on(8,3); frames beyond
// inodes are 0.
TAVRIN_API void GetNodalTransformation(double* ti, const double* on, const int* inodes);

// Element frame origin(3), principal curvatures kappa(2) and curvature frame
// tcurv(3,3) of the 6- or 8-node element on(8,3), with refdir(7) its
// reference orientation record.  Another node count latches status -3 and
// leaves everything 0.
TAVRIN_API void GetElementTransformation(double* tcurv, double* origin, double* kappa, const double* on,
                                         const double* refdir, const int* inodes);

// Signed angle (radians) from r12 to so about nvector: 0 or π for parallel
// vectors.
TAVRIN_API void GetSectionRefOrientation(double* theta, const double* so, const double* nvector,
                                         const double* r12);

// Frames, curvatures and (unless tflag is 1) local node coordinates of every
// shell element row.  lop 0 when done or when a table is missing; -3 (and
// status -3) at an unknown element kind.
TAVRIN_API void GetNodeReferenceData(int* lop, const int* tflag);

// Translations ntraction(3,nblock) and rotations nrotation(ndim,nblock) of
// the nodes nodeid(nblock), turned into each holding element's frames and
// written into nodesmotion.  Components that all equal defreal (default
// 1.7976931348623157e308) mark a missing translation or rotation.
TAVRIN_API void GetNodesMotion(const double* ntraction, const double* nrotation, const int* nodeid,
                               const int* ndim, const int* nblock, const double* defreal);

// ntrac = tcurv·ntrac; nrot = tcurv·(tiᵀ·ti)·nrot on its first ndim (≤ 3)
// components.
TAVRIN_API void ShellTractionTransformation(double* ntrac, double* nrot, const double* ti, const double* tcurv,
                                            const int* ndim);

// Mid-points center(ndim,npt) of the edges of the closed polygon vertices.
TAVRIN_API void GetCenterNodes(double* center, const double* vertices, const int* ndim, const int* npt);

// Characteristic lengths elemlength(3) of the brick nodalcoord(3,8) along
// the columns of matcos(3,3): a quarter of the summed absolute components of
// the four space diagonals.
TAVRIN_API void GetHex8ElemLength(double* elemlength, const double* matcos, const double* nodalcoord);

// Lengths of the edges 1-2, 1-4 and the diagonal 1-3 of the quadrilateral
// nodalcoord(3,4), projected onto the plane of tdirect(:,1), tdirect(:,2).
TAVRIN_API void GetQuad4ElemLength(double* elemlength, const double* tdirect, const double* nodalcoord);

}
