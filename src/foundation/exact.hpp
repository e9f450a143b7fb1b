// Values as hash keys under the library's exact equality: -0.0 equals 0.0,
// a NaN equals nothing (itself included), complex values are equal when both
// parts are.  exact_key() gives no key for a value that can equal nothing.
#pragma once

#include <bit>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tavrin::detail {

inline std::optional<int> exact_key(int v) { return v; }

inline std::optional<std::uint64_t> exact_key(double v) {
  if (v != v) return std::nullopt;
  return std::bit_cast<std::uint64_t>(v == 0.0 ? 0.0 : v);
}

inline std::optional<std::pair<std::uint64_t, std::uint64_t>> exact_key(std::complex<double> v) {
  const auto re = exact_key(v.real()), im = exact_key(v.imag());
  if (!re || !im) return std::nullopt;
  return std::pair{*re, *im};
}

// Mixes every bit of the key into the low bits (the bits of a double have
// zero low bits, consecutive integers consecutive ones): open addressing
// over a power-of-two table uses the low bits alone.
struct ExactKeyHash {
  std::size_t operator()(int k) const { return (*this)(std::uint64_t(std::uint32_t(k))); }
  std::size_t operator()(std::uint64_t k) const {
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdULL;
    k ^= k >> 33;
    return std::size_t(k);
  }
  std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& k) const {
    return (*this)(std::uint64_t(k.first ^ (k.second * 0x9e3779b97f4a7c15ULL)));
  }
};

template <class T>
using ExactKey = typename decltype(exact_key(std::declval<T>()))::value_type;

template <class T, class V>
using ExactMap = std::unordered_map<ExactKey<T>, V, ExactKeyHash>;

template <class T>
using ExactSet = std::unordered_set<ExactKey<T>, ExactKeyHash>;

}  // namespace tavrin::detail
