// Numbered units: the one table of the library's record files.
//
// A unit number names a sequential text file of records (lines).  Unit 5 is
// standard input and unit 6 standard output; both are always connected.  Any
// other unit can be connected
//   - to a C++ output stream (connect_unit), e.g. to capture a report;
//   - to an existing file for reading (open_input): the whole file is held,
//     so records are read, stepped back over and rewound without touching
//     the file again (the memory of the file closed last serves the next
//     one that fits in it);
//   - to a file for appending (open_append), existing or created.
// A record written to a unit that is not connected for output goes to
// standard output, so no output is lost and no stray file appears.  Records
// to standard output are preceded by a flush of the host's buffered output,
// so interleaving with Python's print is kept.
//
// Positions of a unit read for input, as a sequential file has them: before
// record 1 after opening or rewinding; after the last record once it is read;
// past the end of the file once a read found no record there.  Backspace
// from past the end lands before the end (after the last record), so a
// second read meets the end again; from there each backspace steps back over
// one record; at the start of the file it does nothing.  A record is the text
// up to a line feed, without it and without a carriage return before it; the
// last line counts even without a line feed.
#pragma once

#include <cerrno>
#include <iosfwd>
#include <string>
#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::io {

inline constexpr int standard_input_unit = 5;
inline constexpr int standard_output_unit = 6;

// Connects `unit` to `stream` (which must outlive the connection), replacing
// any earlier connection.  Units 5 and 6 and numbers below 1 are refused
// (false).
TAVRIN_API bool connect_unit(int unit, std::ostream& stream);
// Ends the connection of `unit`, whatever it is (a file is closed).
TAVRIN_API void disconnect_unit(int unit);
// True for 5 and 6 and every connected unit.
TAVRIN_API bool unit_connected(int unit);

// Writes one record (the text and an end of line) to `unit`.  A failed
// write to a file appended to is kept for close_unit to report.
TAVRIN_API void write_record(int unit, std::string_view text);

// How opening a file ended: true when it opened, else why not, as the errno
// value of the failure (ENOENT: the file or a folder on its path does not
// exist; not_regular_file: it names a folder, device or pipe).
struct OpenResult {
  int error = 0;
  explicit operator bool() const { return error == 0; }
  bool absent() const { return error == ENOENT; }
};
inline constexpr int not_regular_file = -1;
// The failure in words: "Permission denied", "not a regular file", ...
TAVRIN_API std::string failure_reason(int error);

// Connects `unit` to the existing regular file `path`, read whole, positioned
// before its first record.  Fails (nothing connected) when the file does not
// exist, is not a regular file or cannot be opened or read, or when the unit
// is 5, 6 or below 1 (EBADF).
TAVRIN_API OpenResult open_input(int unit, std::string_view path);
// Connects `unit` to `path` for appending records: an existing regular file
// (create false), or also a new one (create true).
TAVRIN_API OpenResult open_append(int unit, std::string_view path, bool create);
// Closes the unit (the same as disconnect_unit).  For a unit appended to,
// returns 0 when every record written reached the file and the close flushed
// it, else the errno value of the first failure (a full disk, a file-size
// limit); 0 for any other unit.
TAVRIN_API int close_unit(int unit);

// Latches `status` with `message` for the file at `path` that could not be
// opened, read or written: the errno value in the integer details and the
// whole path, byte by byte, as one row of character codes.
TAVRIN_API void latch_file_failure(int status, std::string_view message, std::string_view path, int error);
// "<what> <name>: <reason>", name the last component of path: the message of
// latch_file_failure where no fixed text is kept.
TAVRIN_API std::string file_failure_text(std::string_view what, std::string_view path, int error);

enum class ReadStatus { ok, end_of_file, error };

// Reads the next record of an input unit; the view stays valid until the
// unit is closed.  `error` when the unit is not connected for input.
TAVRIN_API ReadStatus read_record(int unit, std::string_view& record);
// Steps back over one record (see the positions above); nothing for a unit
// that is not connected for input.
TAVRIN_API void backspace(int unit);
// Positions an input unit before its first record.
TAVRIN_API void rewind(int unit);
// Number of the record last read (1 for the first record), counting back
// with backspace; 0 before the first record.
TAVRIN_API long record_number(int unit);

// Unit connected to the file `path` (the same file, under any name), or -1.
TAVRIN_API int unit_of_file(std::string_view path);
// First unit in first..last (from 1) not connected to anything, or -1.
TAVRIN_API int free_unit(int first, int last);

}  // namespace tavrin::io
