// Box-beam section data: the description of one thin-walled multi-cell
// section (booms, walls, cells), its loads, the report switches and paths,
// and the results of the analysis, one instance per process.
//
// Arrays are one-based and column-major; their extents are the capacities of
// `restr` (walls maxwa, booms maxgu, cells maxze), fixed by initialize().
// Units are the caller's: force K, length L, mass M.
#pragma once

#include "foundation/allocatable.hpp"
#include "foundation/api.hpp"
#include "foundation/text.hpp"

namespace tavrin::boxbeam {

namespace boxtypes {
inline constexpr int cb = 1, i2 = 2, i4 = 4, i8 = 8, sp = 4, dp = 8, qp = 16;
}

namespace path {
extern TAVRIN_API FixedText<240> csinfopath;  // report file
extern TAVRIN_API FixedText<240> vbinfopath;  // extended print file
}  // namespace path

namespace restr {
extern TAVRIN_API int maxgu;  // boom capacity
extern TAVRIN_API int maxwa;  // wall capacity
extern TAVRIN_API int maxze;  // cell capacity
}  // namespace restr

namespace steuer {
extern TAVRIN_API bool druck;  // report switch
extern TAVRIN_API bool exdru;  // extended print switch (only with druck)
extern TAVRIN_API int klog;    // unit of the report file; 10*klog the extended file
}  // namespace steuer

namespace spanug {
extern TAVRIN_API FixedText<80> kennz;           // load case label
extern TAVRIN_API double qqx, qqy, qqz;          // section forces (K): axial, shear y, shear z
extern TAVRIN_API double qmx, qmy, qmz;          // section moments (K*L): torque, bending y, z
}  // namespace spanug

namespace wand {
extern TAVRIN_API int kw;                        // walls in use
extern TAVRIN_API Allocatable<int, 1> ig1, ig2;  // (maxwa) start and end boom
extern TAVRIN_API Allocatable<int, 1> it;        // (maxwa) wall type
extern TAVRIN_API Allocatable<double, 1> yk0, zk0, yklk, zklk;  // (maxwa) start, end (L)
extern TAVRIN_API Allocatable<double, 1> bk;     // (maxwa) axial stiffness per length (K/L)
extern TAVRIN_API Allocatable<double, 1> gk;     // (maxwa) shear stiffness per length (K/L)
extern TAVRIN_API Allocatable<double, 1> rhok;   // (maxwa) mass per area (M/L^2)
extern TAVRIN_API Allocatable<double, 1> th, e;  // (maxwa) carried, not read
}  // namespace wand

namespace gurt {
extern TAVRIN_API int ig;                              // booms in use
extern TAVRIN_API Allocatable<double, 1> yi, zi;       // (maxgu) coordinates (L)
extern TAVRIN_API Allocatable<double, 1> bi;           // (maxgu) axial stiffness (K)
extern TAVRIN_API Allocatable<double, 1> myi;          // (maxgu) mass per length (M/L)
}  // namespace gurt

namespace zelle {
extern TAVRIN_API int az;                    // closed cells (0: open profile)
extern TAVRIN_API Allocatable<int, 1> iak;   // (maxze) booms around each cell
extern TAVRIN_API Allocatable<int, 2> ia;    // (maxgu, maxze) booms of each cell in order
}  // namespace zelle

namespace quer {
extern TAVRIN_API double bx, m, ys, zs, yt, zt, dyy, dzy, dzz, alpha, dyyste, dzzste, itt, ymst,
    zmst, ymstac, zmstac, iyys, izys, izzs, dt;
}  // namespace quer

namespace kraft {
extern TAVRIN_API Allocatable<double, 1> nx0, nxl2, nxl;  // (maxwa) axial force flow (K/L)
extern TAVRIN_API Allocatable<double, 1> t0;              // (2*maxwa) shear flow at the start
extern TAVRIN_API Allocatable<double, 1> tl2, tl;         // (maxwa) shear flow, middle and end
}  // namespace kraft

namespace epigam {
extern TAVRIN_API Allocatable<double, 2> epi, gam;  // (maxwa, 3) start, middle, end
extern TAVRIN_API Allocatable<double, 1> epigu;     // (maxgu) boom strain
}  // namespace epigam

// Sizes the arrays to the capacities (absent arguments 100), records them in
// `restr`, and zeroes counts, loads, descriptions and results.  The same
// capacities keep the storage (views stay valid); other ones replace it.
// Negative capacities, and capacities whose arrays exceed the integer range,
// are refused with -2 in the error latch, nothing changed.
TAVRIN_API void initialize(const int* nw, const int* ng, const int* nz);

// True once initialize() has sized the arrays.
TAVRIN_API bool initialized();

}  // namespace tavrin::boxbeam

extern "C" {
// The entry points of the box-beam analysis; arguments optional (null: 100).
TAVRIN_API void Box_Initialize(const int* nw, const int* ng, const int* nz);
}
