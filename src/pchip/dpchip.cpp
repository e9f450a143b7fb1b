// The double-precision entries.
#include "pchip/dpchip.hpp"

#include "foundation/boundary.hpp"
#include "pchip/bspline.hpp"
#include "pchip/controlled.hpp"
#include "pchip/derivatives.hpp"
#include "pchip/evaluate.hpp"
#include "pchip/integrate.hpp"
#include "pchip/monotonicity.hpp"

#define PCHIP_REAL double
#define PCHIP_NAME(base) d##base
#include "pchip/pchip_entries.inc"
