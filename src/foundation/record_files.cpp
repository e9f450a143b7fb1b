#include "foundation/record_files.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <vector>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <variant>

#include "foundation/errorhandling.hpp"
#include "foundation/halt.hpp"

namespace tavrin::io {
namespace {

// The identity of a file, so that one file is found under any of its names.
struct FileId {
  dev_t dev = 0;
  ino_t ino = 0;
  bool operator==(const FileId&) const = default;
};

struct StreamUnit {
  std::ostream* stream;
};

struct InputUnit {
  FileId id;
  std::unique_ptr<char[]> text;  // the whole file
  std::size_t capacity = 0;      // of text
  std::string_view content;      // of text
  std::size_t pos = 0;     // start of the next record
  bool past_end = false;   // a read found no record
  long record = 0;         // records before pos
};

struct AppendUnit {
  FileId id;
  std::FILE* file;
  int error = 0;  // errno of the first write that failed
};

using Unit = std::variant<StreamUnit, InputUnit, AppendUnit>;

std::map<int, Unit>& units() {
  static std::map<int, Unit> table;
  return table;
}

bool reserved(int unit) {
  return unit < 1 || unit == standard_input_unit || unit == standard_output_unit;
}

std::string as_path(std::string_view path) { return std::string(path); }

// The buffer of the input unit closed last, kept for the next file that
// fits in it: a file read again, or the next of a series, then lands in
// memory already mapped instead of a fresh block whose every page must be
// faulted in (for a file of tens of megabytes that costs more than the
// copy).  At most 64 MiB is kept, so that a huge file's memory is returned.
// Not under AddressSanitizer, which should see a record read after its unit
// was closed as the use of freed memory that it is.
struct Buffer {
  std::unique_ptr<char[]> text;
  std::size_t capacity = 0;
};
Buffer spare;
constexpr bool keep_spare = !TAVRIN_ADDRESS_SANITIZER;

constexpr std::size_t spare_limit = std::size_t(64) << 20;

Buffer take_buffer(std::size_t capacity) {
  Buffer b = std::move(spare);
  spare = {};
  if (b.capacity < capacity) b = {std::make_unique_for_overwrite<char[]>(capacity), capacity};
  return b;
}

// Closes the unit's file; for a file appended to, the errno of the first
// write, flush or close that failed (0 when none).
int close_entry(Unit& u) {
  int error = 0;
  if (auto* a = std::get_if<AppendUnit>(&u)) {
    error = a->error;
    if (std::fflush(a->file) != 0 && error == 0) error = errno;
    if (std::ferror(a->file) != 0 && error == 0) error = EIO;
    if (std::fclose(a->file) != 0 && error == 0) error = errno;
  }
  if (auto* in = std::get_if<InputUnit>(&u); in && keep_spare && in->capacity <= spare_limit) {
    spare = {std::move(in->text), in->capacity};
    in->content = {};
  }
  return error;
}

// Why a path cannot be opened as a record file, or 0 when it names an
// existing regular file (its status then in `st`).
int regular_file(const std::string& name, struct stat& st) {
  if (name.empty()) return ENOENT;
  if (name.find('\0') != std::string::npos) return EINVAL;  // a NUL would end the name early
  if (::stat(name.c_str(), &st) != 0) return errno;
  // Only regular files: a device or pipe could be endless.
  if (S_ISDIR(st.st_mode)) return EISDIR;
  return S_ISREG(st.st_mode) ? 0 : not_regular_file;
}

// The input unit read last, kept so that reading a file record by record
// looks the table up once (a map entry stays in place until it is erased).
struct LastInput {
  int unit = 0;
  InputUnit* in = nullptr;
} last_input;

InputUnit* input(int unit) {
  if (last_input.in && unit == last_input.unit) return last_input.in;
  const auto it = units().find(unit);
  InputUnit* in = it == units().end() ? nullptr : std::get_if<InputUnit>(&it->second);
  if (in) last_input = {unit, in};
  return in;
}

void install(int unit, Unit u) {
  disconnect_unit(unit);
  units().emplace(unit, std::move(u));
}

}  // namespace

bool connect_unit(int unit, std::ostream& stream) {
  if (reserved(unit)) return false;
  install(unit, StreamUnit{&stream});
  return true;
}

int close_unit(int unit) {
  if (unit == last_input.unit) last_input = {};
  const auto it = units().find(unit);
  if (it == units().end()) return 0;
  const int error = close_entry(it->second);
  units().erase(it);
  return error;
}

void disconnect_unit(int unit) { close_unit(unit); }

bool unit_connected(int unit) {
  return unit == standard_input_unit || unit == standard_output_unit || units().contains(unit);
}

void write_record(int unit, std::string_view text) {
  if (const auto it = units().find(unit); it != units().end()) {
    if (auto* s = std::get_if<StreamUnit>(&it->second)) {
      *s->stream << text << '\n';
      return;
    }
    if (auto* a = std::get_if<AppendUnit>(&it->second)) {
      errno = 0;
      const bool written = std::fwrite(text.data(), 1, text.size(), a->file) == text.size() &&
                           std::fputc('\n', a->file) != EOF;
      if (!written && a->error == 0) a->error = errno != 0 ? errno : EIO;
      return;
    }
  }
  flush_all_output();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string failure_reason(int error) {
  return error == not_regular_file ? "not a regular file" : std::strerror(error);
}

OpenResult open_input(int unit, std::string_view path) {
  if (reserved(unit)) return {EBADF};
  const std::string name = as_path(path);
  struct stat st {};
  if (const int error = regular_file(name, st)) return {error};
  // Closed however the read ends, also when its buffer cannot be had.
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"), std::fclose);
  std::FILE* const f = file.get();
  if (!f) return {errno};
  InputUnit in;
  in.id = {st.st_dev, st.st_ino};
  // The size known, one read into an uninitialised buffer (one byte more, to
  // see a file that grows meanwhile; it is read on).
  Buffer b = take_buffer(std::size_t(st.st_size) + 1);
  std::size_t size = 0;
  errno = 0;
  for (std::size_t n; (n = std::fread(b.text.get() + size, 1, b.capacity - size, f)) > 0;) {
    size += n;
    if (size < b.capacity) continue;
    auto larger = std::make_unique_for_overwrite<char[]>(2 * b.capacity);
    std::copy_n(b.text.get(), size, larger.get());
    b = {std::move(larger), 2 * b.capacity};
  }
  if (std::ferror(f) != 0) {
    const int error = errno != 0 ? errno : EIO;
    if (keep_spare && b.capacity <= spare_limit) spare = std::move(b);
    return {error};
  }
  in.text = std::move(b.text);
  in.capacity = b.capacity;
  in.content = std::string_view(in.text.get(), size);
  install(unit, std::move(in));
  return {};
}

OpenResult open_append(int unit, std::string_view path, bool create) {
  if (reserved(unit)) return {EBADF};
  const std::string name = as_path(path);
  struct stat st {};
  if (const int error = regular_file(name, st); error != 0 && !(create && error == ENOENT && !name.empty()))
    return {error};
  std::FILE* f = std::fopen(name.c_str(), "ab");
  if (!f) return {errno};
  if (::fstat(fileno(f), &st) != 0) {
    const int error = errno;
    std::fclose(f);
    return {error};
  }
  install(unit, AppendUnit{{st.st_dev, st.st_ino}, f});
  return {};
}

std::string file_failure_text(std::string_view what, std::string_view path, int error) {
  std::string_view name = path;
  if (const std::size_t slash = name.find_last_of('/'); slash != std::string_view::npos && slash + 1 < name.size())
    name.remove_prefix(slash + 1);
  return std::string(what) + " " + std::string(name) + ": " + failure_reason(error);
}

void latch_file_failure(int status, std::string_view message, std::string_view path, int error) {
  std::vector<int> codes(path.begin(), path.end());
  for (int& c : codes) c = static_cast<unsigned char>(c);
  const int details[] = {error};
  xerr(status, message, details, {}, View<const int, 2>(codes.data(), 1, int(codes.size())));
}

ReadStatus read_record(int unit, std::string_view& record) {
  InputUnit* in = input(unit);
  if (!in) return ReadStatus::error;
  const std::string_view c = in->content;
  if (in->pos >= c.size()) {
    in->past_end = true;
    return ReadStatus::end_of_file;
  }
  const std::size_t nl = c.find('\n', in->pos);
  const std::size_t end = nl == std::string_view::npos ? c.size() : nl;
  record = c.substr(in->pos, end - in->pos);
  if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
  in->pos = nl == std::string_view::npos ? c.size() : nl + 1;
  ++in->record;
  return ReadStatus::ok;
}

void backspace(int unit) {
  InputUnit* in = input(unit);
  if (!in) return;
  if (in->past_end) {
    in->past_end = false;
    return;
  }
  if (in->pos == 0) return;
  const std::string_view c = in->content;
  // The previous record ends at pos - 1 (its line feed) or at the end of a
  // file whose last line has none.
  std::size_t end = in->pos;
  if (c[end - 1] == '\n') --end;
  const std::size_t nl = end == 0 ? std::string_view::npos : c.rfind('\n', end - 1);
  in->pos = nl == std::string_view::npos ? 0 : nl + 1;
  --in->record;
}

void rewind(int unit) {
  if (InputUnit* in = input(unit)) {
    in->pos = 0;
    in->past_end = false;
    in->record = 0;
  }
}

long record_number(int unit) {
  const InputUnit* in = input(unit);
  return in ? in->record : 0;
}

int unit_of_file(std::string_view path) {
  const std::string name = as_path(path);
  struct stat st {};
  if (name.empty() || ::stat(name.c_str(), &st) != 0) return -1;
  const FileId id{st.st_dev, st.st_ino};
  for (const auto& [unit, u] : units()) {
    if (const auto* in = std::get_if<InputUnit>(&u); in && in->id == id) return unit;
    if (const auto* a = std::get_if<AppendUnit>(&u); a && a->id == id) return unit;
  }
  return -1;
}

int free_unit(int first, int last) {
  for (long u = first < 1 ? 1 : first; u <= last; ++u)
    if (!unit_connected(int(u))) return int(u);
  return -1;
}

}  // namespace tavrin::io
