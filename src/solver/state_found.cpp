#include "solver/state_found.hpp"

#include <complex>
#include <cstring>
#include <string_view>

namespace tavrin {
namespace {

// Bytes of a scalar or character field of the registry.
std::size_t scalar_bytes(const VariableInfo& v) {
  switch (v.type) {
    case ElemType::Int: return sizeof(int);
    case ElemType::Real: return sizeof(double);
    case ElemType::Complex: return sizeof(std::complex<double>);
    case ElemType::Logical: return sizeof(bool);
    case ElemType::Char: return std::size_t(v.length);
  }
  return 0;
}

}  // namespace

StateFound::StateFound(std::span<AllocatableBase* const> more) {
  for (const ModuleInfo& m : data_modules()) {
    if (std::string_view(m.name) == "errorhandling") continue;
    for (const VariableInfo& v : m.variables) {
      if (v.kind == VarKind::Allocatable || v.kind == VarKind::Sized) {
        auto* a = static_cast<AllocatableBase*>(v.address);
        tables_.emplace_back(a, a->identity());
      } else if (v.kind == VarKind::Fixed) {
        const auto* bytes = static_cast<const unsigned char*>(v.address);
        scalars_.push_back(&v);
        values_.insert(values_.end(), bytes, bytes + scalar_bytes(v));
      }
    }
  }
  for (AllocatableBase* a : more) tables_.emplace_back(a, a->identity());
}

void StateFound::restore() const {
  for (const auto& [table, identity] : tables_)
    if (table->identity() != identity) table->deallocate();
  std::size_t at = 0;
  for (const VariableInfo* v : scalars_) {
    const std::size_t n = scalar_bytes(*v);
    std::memcpy(v->address, values_.data() + at, n);
    at += n;
  }
}

}  // namespace tavrin
