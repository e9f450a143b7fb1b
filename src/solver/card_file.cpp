#include "solver/card_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"

namespace tavrin::iohandling {

io::OpenResult RecordFile::open(std::string_view path) {
  close();
  const int unit = io::free_unit(first_unit, last_unit);
  if (unit < 0) return {EMFILE};
  const io::OpenResult opened = io::open_input(unit, path);
  if (opened) unit_ = unit;
  return opened;
}

void RecordFile::close() {
  if (unit_ > 0) io::close_unit(unit_);
  unit_ = -1;
}

bool RecordFile::next(std::string_view& line) {
  if (io::read_record(unit_, line) != io::ReadStatus::ok) return false;
  line = clean_line(line);
  return true;
}

void latch_unreadable(std::string_view path, int error) {
  io::latch_file_failure(-3, io::file_failure_text("Error: Cannot read", path, error), path, error);
}

bool Card::open_card(std::string_view filepath, std::string_view workspace) {
  // A file that is missing is looked for in the next place; one that exists
  // but cannot be read stops the reader (taken for missing, an older file
  // would be read in its place).
  const auto take = [&](const std::string& path) {
    const io::OpenResult opened = open(path);
    if (!opened && !opened.absent()) latch_unreadable(path, opened.error);
    return opened;
  };
  workspace = trimmed_path(workspace);
  if (!workspace.empty()) {
    const io::OpenResult card = take(std::string(workspace) + "/" + name_ + ".tvr");
    if (!card.absent()) return bool(card);
  }
  filepath = trimmed_path(filepath);
  return !filepath.empty() && take(std::string(filepath));
}

template <class T>
bool Card::read_values(std::vector<T>& values, std::string_view keyword) {
  values.clear();
  long bad_line = 0;
  bool read_error = false;
  read_block_lines(unit(), card_stops, read_error, [&](std::string_view line, long number) {
    if (bad_line) return;
    for_each_item(line, [&](std::string_view item) {
      T v{};
      if (bad_line) return;
      if (parse_item(item, v)) values.push_back(v);
      else bad_line = number;
    });
  });
  if (bad_line == 0) return true;
  values.clear();
  report(keyword, bad_line, card_message::not_a_number);
  return false;
}

bool Card::read_data(std::vector<double>& values, std::string_view keyword) {
  return read_values(values, keyword);
}

bool Card::read_data(std::vector<int>& values, std::string_view keyword) {
  return read_values(values, keyword);
}

int Card::count_data() {
  int count = 0;
  bool read_error = false;
  read_block_lines(unit(), card_stops, read_error,
                   [&](std::string_view line, long) { count += count_items(line); });
  return count;
}

void Card::report(std::string_view keyword, long line, std::string_view what, double bytes) const {
  if (quiet_) return;
  keyword = left_adjusted(keyword);
  while (!keyword.empty() && is_blank(keyword.back())) keyword.remove_suffix(1);
  std::string message = "Error: " + name_ + " line " + std::to_string(line) + ", ";
  message += keyword.substr(0, 24);
  message += ": ";
  message += what;
  const int detail[] = {int(std::min<long>(line, 2147483647))};
  const double size[] = {bytes};
  xerr(-2, message, detail, bytes < 0.0 ? std::span<const double>() : size);
}

bool Card::fits(double bytes, std::string_view keyword, long line) const {
  if (fits_in_memory(bytes)) return true;
  char size[32];
  std::snprintf(size, sizeof size, bytes >= 1e9 ? "%.3g GB" : "%.3g MB", bytes >= 1e9 ? bytes / 1e9 : bytes / 1e6);
  report(keyword, line, "needs " + std::string(size) + " > memory, dropped", bytes);
  return false;
}

}  // namespace tavrin::iohandling
