// The table of numbered units: reading records, stepping back, rewinding,
// appending, finding a file's unit, free units.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/record_files.hpp"

namespace tavrin::io {
namespace {

namespace fs = std::filesystem;

class RecordFiles : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() / ("tavrin_units_" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override {
    for (int u = 1; u <= 120; ++u) disconnect_unit(u);
    fs::remove_all(dir);
  }
  std::string file(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return (dir / name).string();
  }
  static std::string next(int unit) {
    std::string_view r;
    switch (read_record(unit, r)) {
      case ReadStatus::ok: return std::string(r);
      case ReadStatus::end_of_file: return "<eof>";
      default: return "<error>";
    }
  }
};

TEST_F(RecordFiles, ReadBackspaceRewind) {
  // CRLF and LF records, an empty record, a last line without a line feed.
  ASSERT_TRUE(open_input(10, file("a.txt", "one\r\ntwo\n\nlast")));
  EXPECT_EQ(next(10), "one");
  EXPECT_EQ(next(10), "two");
  backspace(10);
  EXPECT_EQ(record_number(10), 1);
  EXPECT_EQ(next(10), "two");
  EXPECT_EQ(next(10), "");
  EXPECT_EQ(next(10), "last");
  EXPECT_EQ(next(10), "<eof>");
  // Backspace after the end lands before it: the end is met again, then one
  // more backspace steps over the last record.
  backspace(10);
  EXPECT_EQ(next(10), "<eof>");
  backspace(10);
  backspace(10);
  EXPECT_EQ(next(10), "last");
  rewind(10);
  EXPECT_EQ(record_number(10), 0);
  backspace(10);  // at the start: nothing
  EXPECT_EQ(record_number(10), 0);
  EXPECT_EQ(next(10), "one");
  // An empty file has no record; a unit not open for input reads an error.
  ASSERT_TRUE(open_input(11, file("empty.txt", "")));
  EXPECT_EQ(next(11), "<eof>");
  EXPECT_EQ(next(12), "<error>");
  // A file longer than its size said when it was opened (a /proc file says 0).
  ASSERT_TRUE(open_input(13, "/proc/self/status"));
  EXPECT_EQ(next(13).substr(0, 5), "Name:");
}

TEST_F(RecordFiles, TheBufferOfAClosedUnitServesTheNextFile) {
  std::string longer;
  for (int k = 1; k <= 200; ++k) longer += "record " + std::to_string(k) + "\n";
  ASSERT_TRUE(open_input(10, file("long.txt", longer)));
  ASSERT_TRUE(open_input(11, file("other.txt", "other\n")));
  close_unit(10);
  // A shorter file in the longer one's memory ends where it ends; the unit
  // still open keeps its own text.
  ASSERT_TRUE(open_input(12, file("short.txt", "ab\r\ncd")));
  EXPECT_EQ(next(12), "ab");
  EXPECT_EQ(next(12), "cd");
  EXPECT_EQ(next(12), "<eof>");
  EXPECT_EQ(next(11), "other");
  close_unit(12);
  close_unit(11);
  // A longer file than the memory kept.
  ASSERT_TRUE(open_input(13, file("longer.txt", longer + longer)));
  for (int k = 1; k < 400; ++k) next(13);
  EXPECT_EQ(next(13), "record 200");
  EXPECT_EQ(next(13), "<eof>");
}

TEST_F(RecordFiles, OpenAppendInquireFreeUnits) {
  const std::string path = (dir / "report.txt").string();
  // Why a file cannot be opened: missing is told apart from every other failure.
  EXPECT_TRUE(open_input(10, path).absent());              // input must exist
  EXPECT_TRUE(open_append(10, path, false).absent());      // "old" must exist
  EXPECT_EQ(open_input(10, "").error, ENOENT);
  EXPECT_EQ(open_input(10, dir.string()).error, EISDIR);  // a directory is no record file
  EXPECT_EQ(open_append(10, dir.string(), true).error, EISDIR);
  EXPECT_EQ(open_input(10, "/dev/null").error, not_regular_file);
  EXPECT_EQ(failure_reason(not_regular_file), "not a regular file");
  EXPECT_EQ(open_input(10, file("x.txt", "x") + std::string(1, '\0') + "y").error, EINVAL);  // ends early
  std::filesystem::create_symlink("loop", dir / "loop");
  EXPECT_EQ(open_input(10, (dir / "loop").string()).error, ELOOP);
  EXPECT_EQ(open_input(6, file("x.txt", "x")).error, EBADF);  // standard output stays itself
  EXPECT_FALSE(unit_connected(10));
  ASSERT_TRUE(open_append(10, path, true));
  write_record(10, "first");
  EXPECT_EQ(unit_of_file(path), 10);
  EXPECT_EQ(unit_of_file((dir / "." / "report.txt").string()), 10);  // another name of it
  EXPECT_EQ(close_unit(10), 0);
  EXPECT_EQ(unit_of_file(path), -1);
  ASSERT_TRUE(open_append(11, path, false));
  write_record(11, "second");
  close_unit(11);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "first\nsecond\n");

  std::ostringstream sink;
  EXPECT_EQ(free_unit(1, 120), 1);
  for (int u = 1; u <= 120; ++u) connect_unit(u, sink);
  EXPECT_EQ(free_unit(1, 120), -1);
  disconnect_unit(77);
  EXPECT_EQ(free_unit(1, 120), 77);
  EXPECT_EQ(free_unit(5, 4), -1);
  EXPECT_EQ(free_unit(-3, 2), -1);  // units start at 1; 1 and 2 are busy
}

}  // namespace
}  // namespace tavrin::io
