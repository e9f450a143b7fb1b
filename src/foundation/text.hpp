// Fixed-length character fields, blank-padded on assignment.
//
// A field starts NUL-filled (code 0), as character variables of the shared
// state do at load; assignment cuts or blank-pads to the declared length.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin {

template <std::size_t N>
struct FixedText {
  static constexpr std::size_t length = N;
  std::array<char, N> chars{};

  void assign(std::string_view s) {
    const std::size_t n = std::min(N, s.size());
    std::copy_n(s.data(), n, chars.data());
    std::fill(chars.begin() + n, chars.end(), ' ');
  }
  FixedText& operator=(std::string_view s) {
    assign(s);
    return *this;
  }
  std::string_view view() const { return {chars.data(), N}; }
  // The text without its trailing blanks.
  std::string_view trimmed() const {
    std::size_t n = N;
    while (n > 0 && chars[n - 1] == ' ') --n;
    return {chars.data(), n};
  }
  char* data() { return chars.data(); }
  const char* data() const { return chars.data(); }
};

// Copies `s` into the n-character field at `out`, cut or blank-padded.
inline void assign_text(char* out, std::size_t n, std::string_view s) {
  const std::size_t k = std::min(n, s.size());
  std::copy_n(s.data(), k, out);
  std::fill(out + k, out + n, ' ');
}

}  // namespace tavrin
