// Record files of the readers: a unit taken from the table of numbered units
// for as long as a reader runs, the data-block reader that every card reader
// and every reading primitive shares, and the card readers' error messages.
//
// A data block is the run of lines after a keyword or block line up to the
// next line whose first character is one of the stop characters ("*" and "+"
// for the cards), or to the end of the file; the unit is left before that
// line, so the next read returns it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/api.hpp"
#include "foundation/record_files.hpp"
#include "solver/card_text.hpp"

namespace tavrin::iohandling {

// Units the library opens its files on.
inline constexpr int first_unit = 1;
inline constexpr int last_unit = 120;
inline constexpr std::string_view card_stops = "*+";

// Reads the data block at the current position of `unit`: line(text, record
// number) for each data line (cleaned).  Returns the number of data lines;
// read_error is set when the unit could not be read.
template <class F>
long read_block_lines(int unit, std::string_view stops, bool& read_error, F&& line) {
  long lines = 0;
  read_error = false;
  for (;;) {
    std::string_view record;
    const io::ReadStatus s = io::read_record(unit, record);
    if (s == io::ReadStatus::error) {
      read_error = true;
      return lines;
    }
    if (s == io::ReadStatus::end_of_file) break;
    record = clean_line(record);
    if (!record.empty() && stops.find(record.front()) != std::string_view::npos) break;
    ++lines;
    line(record, io::record_number(unit));
  }
  io::backspace(unit);
  return lines;
}

// A file a reader holds open on a free unit of 1..120; closed on destruction.
class TAVRIN_API RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { close(); }

  // Opens an existing file, read whole; fails when the file is missing
  // (absent()), cannot be opened or read, or no unit is free (EMFILE).
  io::OpenResult open(std::string_view path);
  void close();
  bool is_open() const { return unit_ > 0; }
  int unit() const { return unit_; }

  // The next line, cleaned; false at the end of the file.
  bool next(std::string_view& line);
  long line_number() const { return io::record_number(unit_); }
  void rewind() { io::rewind(unit_); }
  void backspace() { io::backspace(unit_); }

 private:
  int unit_ = -1;
};

// Latches -3 "Error: Cannot read <name>: <reason>" for a file that exists
// but could not be opened or read (errno value and path as details): a
// reader stops there rather than read another file in its place.
TAVRIN_API void latch_unreadable(std::string_view path, int error);

// One card file: named for its messages ("StepCard"), with the data block
// reader and the failure reports of the card readers.
class TAVRIN_API Card : public RecordFile {
 public:
  explicit Card(std::string_view name) : name_(name) {}

  // Opens <workspace>/<name>.tvr, else, when that file does not exist,
  // filepath (the input deck, whose lines may hold the card); a blank
  // workspace or filepath is not tried.  False when neither opens.  A file
  // that exists but cannot be opened or read latches -3 "Error: Cannot read
  // <name>: <reason>" (errno and path as details) and is not passed over.
  bool open_card(std::string_view filepath, std::string_view workspace);

  // Reads the data block after the line last read into `values`.  An item
  // that is not a number of the kind latches -2 naming the card, keyword and
  // line; the whole block is still consumed, `values` is left empty and the
  // result is false.
  bool read_data(std::vector<double>& values, std::string_view keyword);
  bool read_data(std::vector<int>& values, std::string_view keyword);
  // Consumes the data block and returns its number of items.
  int count_data();
  // Consumes the data block and returns whether it held any item.
  bool skip_data() { return count_data() > 0; }

  // Latches -2: "Error: <name> line <line>, <keyword>: <what>" (nothing
  // while quiet, for a pass that a later pass repeats); the line is the
  // integer detail, `bytes` (when given) the real one.
  void report(std::string_view keyword, long line, std::string_view what, double bytes = -1.0) const;
  // Whether tables of `bytes` that the line at `line` asks for fit in memory
  // beside the shared tables already held; when not, latches -2 "... needs
  // <size> > memory, dropped" and the caller drops the line.
  bool fits(double bytes, std::string_view keyword, long line) const;
  void set_quiet(bool quiet) { quiet_ = quiet; }
  const std::string& name() const { return name_; }

 private:
  template <class T>
  bool read_values(std::vector<T>& values, std::string_view keyword);
  std::string name_;
  bool quiet_ = false;
};

// Messages of the card readers (the `what` of Card::report).
namespace card_message {
inline constexpr std::string_view not_a_number = "item not a number, list dropped";
inline constexpr std::string_view beyond_table = "beyond the table, dropped";
inline constexpr std::string_view wrong_length = "wrong number of values, dropped";
inline constexpr std::string_view unclosed = "block not closed, values dropped";
inline constexpr std::string_view given_twice = "given twice in a block, dropped";
}  // namespace card_message

}  // namespace tavrin::iohandling
