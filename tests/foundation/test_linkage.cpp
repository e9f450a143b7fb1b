// Loading the library maps the reference LAPACK/BLAS, never OpenBLAS, and
// starts no thread.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "foundation/shared_state.hpp"

namespace {

TEST(Linkage, ReferenceLapackAndNoThreads) {
  ASSERT_EQ(tavrin::types::dp, 8);  // keeps the library linked in
  std::ostringstream maps;
  maps << std::ifstream("/proc/self/maps").rdbuf();
  const std::string all = maps.str();
  EXPECT_EQ(all.find("openblas"), std::string::npos);
  EXPECT_NE(all.find("/lapack/liblapack.so"), std::string::npos) << all;
  EXPECT_NE(all.find("/blas/libblas.so"), std::string::npos);
  const std::filesystem::directory_iterator tasks("/proc/self/task");
  EXPECT_EQ(std::distance(begin(tasks), end(tasks)), 1);
}

}  // namespace
