// List-directed records: leading blank, blank-separated items, reals that
// read back exactly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "foundation/list_record.hpp"
#include "foundation/record_files.hpp"

namespace tavrin::io {
namespace {

TEST(ListRecord, ItemsAndRealsRoundTrip) {
  std::ostringstream out;
  ASSERT_TRUE(io::connect_unit(77, out));
  ListRecord rec;
  rec << "Iteration" << 3 << 0.1 << -2.5e-300 << true << false;
  EXPECT_EQ(rec.str(), " Iteration 3 0.10000000000000001 -2.5E-300 T F");
  rec.write(77);
  rec.write(77);  // an empty record is one blank
  io::disconnect_unit(77);
  EXPECT_EQ(out.str(), " Iteration 3 0.10000000000000001 -2.5E-300 T F\n \n");
  for (double x : {0.1, 1.0 / 3.0, 6.02214076e23, -4.9e-324})
    EXPECT_EQ(std::strtod(list_real(x).c_str(), nullptr), x);
  EXPECT_EQ(list_real(1.0), "1");
}

}  // namespace
}  // namespace tavrin::io
