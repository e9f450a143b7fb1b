#include "elements/shape_functions.hpp"

#include <string_view>

#include "foundation/numerics_latch.hpp"

namespace tavrin::elements {
namespace {

constexpr std::string_view var_names[3] = {"Xi", "Eta", "Zeta"};

bool valid(int k, int n) { return k >= 1 && k <= n; }

// Latches `text` as a warning and gives the routine's fallback 0.0.
double warn(std::string_view text) {
  latch_failure(status_error, text);
  return 0.0;
}

// "Warning: Overflow in <head>.<Var1><Var2>." (the second name only for a
// second derivative), composed on the stack.
double warn_overflow(std::string_view head, int v1, int v2 = 0) {
  char buf[80];
  std::size_t len = 0;
  const auto put = [&](std::string_view s) {
    for (const char c : s)
      if (len < sizeof buf) buf[len++] = c;
  };
  put("Warning: Overflow in ");
  put(head);
  put(".");
  put(var_names[v1 - 1]);
  if (v2 != 0) put(var_names[v2 - 1]);
  put(".");
  return warn({buf, len});
}

}  // namespace
}  // namespace tavrin::elements

using namespace tavrin::elements;

extern "C" {

double Truss3SF(const double* xi, const int* inode) {
  if (!valid(*inode, Truss3::nodes)) return warn("Warning: Overflow in Truss3SF.");
  return Truss3::n(*inode, *xi);
}

double Truss3FirstDerivSF(const double* xi, const int* inode) {
  if (!valid(*inode, Truss3::nodes)) return warn("Warning: Overflow in Truss3FirstDerivSF.");
  return Truss3::dn(*inode, *xi);
}

double Tria6SF(const double* xi, const double* eta, const int* inode) {
  if (!valid(*inode, Tria6::nodes)) return warn("Warning: Overflow in Tria6SF.");
  return Tria6::n(*inode, *xi, *eta);
}

double Tria6FirstDerivSF(const double* xi, const double* eta, const int* inode, const int* idvar) {
  if (!valid(*idvar, Tria6::vars)) return warn("Warning: Invalid ordinal in Tria6FirstDerivSF.");
  if (!valid(*inode, Tria6::nodes)) return warn_overflow("Tria6", *idvar);
  return Tria6::dn(*inode, *idvar, *xi, *eta);
}

double Tria6SecondDerivSF(const double*, const double*, const int* inode, const int* idvar,
                          const int* iidvar) {
  if (!valid(*idvar, Tria6::vars)) return warn("Warning: Invalid 1st ordinal in Tria6");
  if (!valid(*iidvar, Tria6::vars)) return warn("Warning: Invalid 2nd ordinal in Tria6.");
  if (!valid(*inode, Tria6::nodes)) {
    // The ξξ text of this routine has no "Warning: " prefix.
    if (*idvar == 1 && *iidvar == 1) return warn("Overflow in Tria6.XiXi.");
    return warn_overflow("Tria6", *idvar, *iidvar);
  }
  return Tria6::d2n(*inode, *idvar, *iidvar);
}

double Quad4SF(const double* xi, const double* eta, const int* inode) {
  if (!valid(*inode, Quad4::nodes)) return warn("Warning: Overflow in Quad4SF.");
  return Quad4::n(*inode, *xi, *eta);
}

double Quad4FirstDerivSF(const double* xi, const double* eta, const int* inode, const int* idvar) {
  if (!valid(*idvar, Quad4::vars)) return warn("Warning: Invalid 1st ordinal in Quad4FirstDerivSF.");
  if (!valid(*inode, Quad4::nodes)) return warn_overflow("Quad4FirstDerivSF", *idvar);
  return Quad4::dn(*inode, *idvar, *xi, *eta);
}

double Quad8SF(const double* xi, const double* eta, const int* inode) {
  if (!valid(*inode, Quad8::nodes)) return warn("Warning: Overflow in Quad8SF.");
  return Quad8::n(*inode, *xi, *eta);
}

double Quad8FirstDerivSF(const double* xi, const double* eta, const int* inode, const int* idvar) {
  if (!valid(*idvar, Quad8::vars)) return warn("Warning: Invalid 1st ordinal in Quad8FirstDerivSF.");
  if (!valid(*inode, Quad8::nodes)) return warn_overflow("Quad8FirstDerivSF", *idvar);
  return Quad8::dn(*inode, *idvar, *xi, *eta);
}

double Quad8SecondDerivSF(const double* xi, const double* eta, const int* inode, const int* idvar,
                          const int* iidvar) {
  if (!valid(*idvar, Quad8::vars)) return warn("Warning: Invalid 1st ordinal in Quad8SecondDerivSF");
  if (!valid(*iidvar, Quad8::vars)) return warn("Warning: Invalid ordinal in Quad8SecondDerivSF.");
  if (!valid(*inode, Quad8::nodes)) return warn_overflow("Quad8SecondDerivSF", *idvar, *iidvar);
  return Quad8::d2n(*inode, *idvar, *iidvar, *xi, *eta);
}

double Hex8SF(const double* xi, const double* eta, const double* zeta, const int* inode) {
  if (!valid(*inode, Hex8::nodes)) return warn("Warning: Overflow in Hex8SF.");
  return Hex8::n(*inode, *xi, *eta, *zeta);
}

double Hex8FirstDerivSF(const double* xi, const double* eta, const double* zeta, const int* inode,
                        const int* idvar) {
  if (!valid(*idvar, Hex8::vars)) return warn("Warning: Invalid 1st ordinal in Hex8FirstDerivSF.");
  if (!valid(*inode, Hex8::nodes)) return warn_overflow("Hex8FirstDerivSF", *idvar);
  return Hex8::dn(*inode, *idvar, *xi, *eta, *zeta);
}

double Hex8SecondDerivSF(const double* xi, const double* eta, const double* zeta, const int* inode,
                         const int* idvar, const int* iidvar) {
  if (!valid(*idvar, Hex8::vars)) return warn("Warning: Invalid 1st ordinal in Hex8SecondDerivSF");
  if (!valid(*iidvar, Hex8::vars)) return warn("Warning: Invalid 2nd ordinal in Hex8SecondDerivSF.");
  if (!valid(*inode, Hex8::nodes)) return warn_overflow("Hex8SecondDerivSF", *idvar, *iidvar);
  return Hex8::d2n(*inode, *idvar, *iidvar, *xi, *eta, *zeta);
}
}
