#include "solver/name_tags.hpp"

#include <algorithm>
#include <array>

#include "foundation/strings.hpp"

namespace tavrin::iohandling {
namespace {
constexpr char lower(char c) noexcept { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
}  // namespace

int getxidfromstring(std::string_view s, int ls, std::string_view xind, int notfound) noexcept {
  if (xind.empty()) return notfound;
  const char letter = lower(xind.front());
  if (std::string_view("dilms").find(letter) == std::string_view::npos) return notfound;

  const auto n = std::size_t(std::clamp<long long>(ls, 0, (long long)s.size()));
  const std::string_view name = s.substr(0, n);
  const std::array<char, 3> opener{'_', letter, '@'};
  const auto match = [&](std::size_t i) {
    return lower(name[i]) == opener[0] && lower(name[i + 1]) == opener[1] && name[i + 2] == '@';
  };
  for (std::size_t i = 0; i + 3 <= name.size(); ++i) {
    if (!match(i)) continue;
    const std::size_t start = i + 3;
    const std::size_t close = name.find('@', start);
    if (close == std::string_view::npos) return notfound;
    int value = 0;
    int istat = 0;
    stringhandling::str2int(name.substr(start, close - start), value, istat);
    return istat == 0 ? value : notfound;
  }
  return notfound;
}

}  // namespace tavrin::iohandling
