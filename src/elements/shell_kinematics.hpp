// Shell kinematics (module `elementhandling`): shape-function matrices,
// isoparametric Jacobians, Cartesian derivatives of the shape functions, the
// strain-displacement matrix of a shear-deformable shell and its x and y
// derivatives, and the principal curvatures of a shell surface.
//
// Shape-function matrices hold one row per node and the columns
//   quad4 (4,3)         N, N,ξ, N,η
//   tria6 (6,6), quad8  N, N,ξ, N,η, N,ξξ, N,ηη, N,ξη
//   hex8 (8,9)          N, N,ξ, N,η, N,ζ, 0, 0, 0, N,ξη, N,ξζ
// The shell routines work on the (inodes, 6) form of the 6-node triangle
// (inodes 6) or the 8-node quadrilateral (inodes 8).
//
// With jac = [[x,ξ, y,ξ], [x,η, y,η]] = [[a, c], [b, d]],
// jac2 = [[x,ξξ, y,ξξ], [x,ηη, y,ηη], [x,ξη, y,ξη]] and jac1 the rows
// (a², c², 2ac), (b², d², 2bd), (ab, cd, bc + ad), the Cartesian derivatives
// of a shape function are
//   (N,x, N,y)        = jac⁻¹·(N,ξ, N,η)
//   (N,xx, N,yy, N,xy) = jac1⁻¹·((N,ξξ, N,ηη, N,ξη) - jac2·(N,x, N,y)).
//
// The shell displacement vector holds (u, v, w, θx, θy) per node for up to 8
// nodes (40 values); the B-matrix rows are the generalised strains εxx, εyy,
// γxy, κxx, κyy, κxy, γyz, γxz.
//
// Failures latch with status -3: "Unknown or unsupported element type."
// (node count other than 6 or 8; the matrices stay zero), "Singular jacobian"
// and "Singular first derivative of jacobian" (inverse left zero), "Unknown
// or invalid number of nodes" and "Unknown or invalid node number"
// (GetNodalShape).
#pragma once

#include "foundation/api.hpp"

extern "C" {

TAVRIN_API void Quad4ShapeFunMatrix(double* nshape, const double* xi, const double* eta);
TAVRIN_API void Tria6ShapeFunMatrix(double* nshape, const double* xi, const double* eta);
TAVRIN_API void Quad8ShapeFunMatrix(double* nshape, const double* xi, const double* eta);
TAVRIN_API void Hex8ShapeFunMatrix(double* nshape, const double* xi, const double* eta,
                                   const double* zeta);
// nshape(inodes,6) of the triangle (6) or quadrilateral (8) at node locnode.
TAVRIN_API void GetNodalShape(double* nshape, const int* locnode, const int* inodes);

TAVRIN_API void ShellJacobian(double* jac, double* nshape, const double* ncoords, const int* inodes,
                              const double* xi, const double* eta);
TAVRIN_API void ShellJacobianInverse(double* jacinv, const double* jac);
TAVRIN_API void ShellSecondDerivJacobian(double* jac2, const double* nshape, const double* ncoords,
                                         const int* inodes, const double* xi, const double* eta);
TAVRIN_API void ShellFirstDerivJacobian(double* jac1, const double* jac);
TAVRIN_API void ShellFirstDerivJacobianInverse(double* jac1inv, const double* jac1);

// b(8,40) at (ξ, η) of the element with node coordinates ncoords(3,inodes).
TAVRIN_API void ShellBMatrix(double* b, const double* ncoords, const int* inodes, const double* xi,
                             const double* eta);
// The x and y derivatives (2,40) of the transverse shear rows γyz, γxz.
TAVRIN_API void ShellxDerivBMatrix(double* xderivb, const double* ncoords, const int* inodes,
                                   const double* xi, const double* eta);
TAVRIN_API void ShellyDerivBMatrix(double* yderivb, const double* ncoords, const int* inodes,
                                   const double* xi, const double* eta);
// r(2) = hmat·(B'·u): the x or y derivative of the transverse shear forces.
TAVRIN_API void ShellxDerivShearForces(double* xderivr, const double* u, const double* hmat,
                                       const double* ncoords, const int* inodes, const double* xi,
                                       const double* eta);
TAVRIN_API void ShellyDerivShearForces(double* yderivr, const double* u, const double* hmat,
                                       const double* ncoords, const int* inodes, const double* xi,
                                       const double* eta);

// Principal curvatures kappa(2) (the larger in magnitude first) of the
// surface z(x, y) given by the local node coordinates lncoords(inodes,3),
// with nshape(inodes,6) at the point, and delta (radians from x): the axis
// across the direction of kappa(1), about which the surface bends most
// (0 for a flat or nearly spherical surface).
TAVRIN_API void GetCurvatures(double* delta, double* kappa, const double* nshape,
                              const double* lncoords, const int* inodes);
// u(40) from nmotion(mdof,inodes): the first min(mdof, 5) values of each of
// the first min(inodes, 8) nodes.
TAVRIN_API void GetDisplacementVector(double* u, const double* nmotion, const int* inodes,
                                      const int* mdof);
}
