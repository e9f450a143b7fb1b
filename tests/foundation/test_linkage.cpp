// Loading the library maps the reference LAPACK/BLAS, never OpenBLAS, and
// starts no thread.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <string>

#include "foundation/shared_state.hpp"

namespace {

TEST(Linkage, ReferenceLapackAndNoThreads) {
  ASSERT_EQ(tavrin::types::dp, 8);  // keeps the library linked in
  std::ifstream maps("/proc/self/maps");
  std::string line, all;
  while (std::getline(maps, line)) all += line + '\n';
  EXPECT_EQ(all.find("openblas"), std::string::npos);
  EXPECT_NE(all.find("/lapack/liblapack.so"), std::string::npos) << all;
  EXPECT_NE(all.find("/blas/libblas.so"), std::string::npos);

  int threads = 0;
  if (DIR* d = opendir("/proc/self/task")) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') ++threads;
    closedir(d);
  }
  EXPECT_EQ(threads, 1);
}

}  // namespace
