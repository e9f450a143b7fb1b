// The reading primitives of module iohandling.
#include <algorithm>
#include <string>
#include <vector>

#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/record_files.hpp"
#include "solver/card_file.hpp"
#include "solver/iohandling.hpp"

namespace tavrin::iohandling {
namespace {

void read_failure(std::string_view label) {
  xerr(-2, "Error: Error in " + std::string(label) + "Read operation exited with an error.");
}

// The data block at the current position as values of T; false when the
// unit cannot be read or an item is no number of the kind (the block is
// consumed all the same).
template <class T>
bool read_block(int unit, std::vector<T>& values) {
  bool bad = false, read_error = false;
  values.clear();
  read_block_lines(unit, card_stops, read_error, [&](std::string_view line, long) {
    for_each_item(line, [&](std::string_view item) {
      T v{};
      if (!bad && parse_item(item, v)) values.push_back(v);
      else bad = true;
    });
  });
  return !bad && !read_error;
}

template <class T>
void getdatapoints(int fileid, T* outdata, int n) {
  std::vector<T> values;
  if (!read_block(fileid, values)) return read_failure("GetDataPoints");
  if (values.size() > std::size_t(std::max(n, 0))) {
    xerr(-2, "Error: GetDataPoints: the data block holds more values than outdata.");
    return;
  }
  std::copy(values.begin(), values.end(), outdata);
}

// A keyword compared with lines on their first lkey characters, left-adjusted
// and without regard to case, as if both sides were blank-padded to lkey
// characters: a longer side must have blanks where the shorter one ends.  The
// padding is never made, so the work is bounded by the line and the keyword
// whatever lkey is.
class KeyMatcher {
 public:
  KeyMatcher(std::string_view keyword, int lkey)
      : key_(left_adjusted(keyword)), lkey_(std::size_t(std::max(lkey, 0))) {}

  bool matches(std::string_view line) const {
    line = left_adjusted(line);
    const std::size_t n = std::min(lkey_, std::max(line.size(), key_.size()));
    for (std::size_t i = 0; i < n; ++i)
      if (at(line, i) != at(key_, i)) return false;
    return true;
  }

 private:
  static char at(std::string_view s, std::size_t i) {
    if (i >= s.size()) return ' ';
    const char c = s[i];
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  }
  std::string_view key_;
  std::size_t lkey_;
};

}  // namespace

int getsizeofdata(int fileid, std::string_view skeys, int ls) {
  const std::string_view stops = skeys.substr(0, std::size_t(std::clamp<long>(ls, 0, long(skeys.size()))));
  int count = 0;
  bool read_error = false;
  const long lines = read_block_lines(fileid, stops, read_error,
                                      [&](std::string_view line, long) { count += count_items(line); });
  for (long i = 0; i < lines; ++i) io::backspace(fileid);
  return count;
}

void real_getdatapoints(int fileid, double* outdata, int n) { getdatapoints(fileid, outdata, n); }
void int_getdatapoints(int fileid, int* outdata, int n) { getdatapoints(fileid, outdata, n); }

void getxydatapoints(int fileid, double* xydata, int ndata, int nrows) {
  const int count = getsizeofdata(fileid, card_stops, 2);
  if (ndata < 1 || nrows < 0 || count / ndata != nrows) return read_failure("GetXYDataPoints");
  std::vector<double> values;
  if (!read_block(fileid, values)) return read_failure("GetDataPoints");
  View<double, 2> xy(xydata, ndata, nrows);
  for (int i = 1; i <= ndata; ++i)
    for (int j = 1; j <= nrows; ++j) xy(i, j) = values[std::size_t((i - 1) * nrows + j - 1)];
}

void getddsfromfile(int fileid, double* xdds, int nplies) {
  std::vector<double> values;
  if (!read_block(fileid, values)) return read_failure("GetDataPoints");
  const long groups = long(values.size() / 4);
  if (groups > nplies) return read_failure("GetDDSFromFile");
  View<double, 2> dds(xdds, 3, std::max(nplies, 0));
  for (long j = 1; j <= groups; ++j) {
    dds(1, j) = values[std::size_t(4 * j - 3)];
    dds(2, j) = values[std::size_t(4 * j - 2)];
  }
}

bool get2nextkey(int fileid, int dirflag, std::string_view keyword, int lkey, int ulimit,
                 const int* returnkey) {
  const bool step_back = returnkey && *returnkey == 1;
  const KeyMatcher key(keyword, lkey);
  for (long i = 1; i <= ulimit; ++i) {
    if (dirflag == -1) {
      io::backspace(fileid);
      io::backspace(fileid);
    }
    std::string_view line;
    const io::ReadStatus s = io::read_record(fileid, line);
    if (s == io::ReadStatus::error) {
      read_failure("Get2NextKey");
      return false;
    }
    if (s == io::ReadStatus::end_of_file) break;
    if (key.matches(clean_line(line))) {
      if (step_back) io::backspace(fileid);
      return true;
    }
    // Backwards, the first line read again would be read for ever.
    if (dirflag == -1 && io::record_number(fileid) == 1) break;
  }
  if (step_back) io::backspace(fileid);
  return false;
}

int getnumberofkeywords(int fileid, std::string_view keyword, int lkey, const int* rwd) {
  const KeyMatcher key(keyword, lkey);
  int count = 0;
  for (;;) {
    std::string_view line;
    const io::ReadStatus s = io::read_record(fileid, line);
    if (s == io::ReadStatus::error) {
      read_failure("GetNumberOfKeywords");
      return count;
    }
    if (s == io::ReadStatus::end_of_file) break;
    if (key.matches(clean_line(line))) ++count;
  }
  if (!rwd || *rwd) io::rewind(fileid);
  return count;
}

int file_length(int fileid, bool rwd) {
  int count = 0;
  for (;;) {
    std::string_view line;
    const io::ReadStatus s = io::read_record(fileid, line);
    if (s == io::ReadStatus::error) {
      read_failure("GetFileLength");
      return count;
    }
    if (s == io::ReadStatus::end_of_file) break;
    ++count;
  }
  if (rwd) io::rewind(fileid);
  return count;
}

int getunitnumber(std::string_view filename) { return io::unit_of_file(trimmed_path(filename)); }

}  // namespace tavrin::iohandling

namespace ioh = tavrin::iohandling;
namespace io = tavrin::io;

int GetFileLength(const int* fileid, const int* rwd) {
  return tavrin::c_boundary_value(__func__, [&]() -> int {
    return ioh::file_length(*fileid, !rwd || *rwd);
  });
}

int GetFreeUnitNumber(const int* first, const int* last) { return io::free_unit(*first, *last); }

void RewindFile(const int* fileid, const int* nrwd) {
  // Beyond the start of the file a backspace changes nothing: at most one
  // step per record read, and one over the end of the file.
  const long steps = std::min<long>(*nrwd, io::record_number(*fileid) + 1);
  for (long i = 0; i < steps; ++i) io::backspace(*fileid);
}
