// The single-precision entries: the same templates at float.  Every
// operation is binary32 (no wider intermediates, no contraction into fused
// multiply-adds, which the build turns off).
#include "pchip/spchip.hpp"

#include <cfloat>

#include "foundation/boundary.hpp"
#include "pchip/bspline.hpp"
#include "pchip/controlled.hpp"
#include "pchip/derivatives.hpp"
#include "pchip/evaluate.hpp"
#include "pchip/integrate.hpp"
#include "pchip/monotonicity.hpp"

static_assert(FLT_EVAL_METHOD == 0, "binary32 arithmetic must not use wider intermediates");

#define PCHIP_REAL float
#define PCHIP_NAME(base) base
#include "pchip/pchip_entries.inc"
