#include <gtest/gtest.h>

#include "foundation/shared_state.hpp"
#include "solver/name_tags.hpp"
#include "solver/step_kind.hpp"

namespace tavrin {
namespace {

using iohandling::getxidfromstring;

TEST(NameTags, TagsByLetterInAnyCase) {
  const std::string_view name = "CFRP_L@3@_s@12@_M@-7@";
  EXPECT_EQ(getxidfromstring(name, int(name.size()), "S"), 12);
  EXPECT_EQ(getxidfromstring(name, int(name.size()), "l"), 3);
  EXPECT_EQ(getxidfromstring(name, int(name.size()), "m"), -7);
  EXPECT_EQ(getxidfromstring(name, int(name.size()), "d"), -1);        // not carried
  EXPECT_EQ(getxidfromstring(name, int(name.size()), "x", 0), 0);      // not a tag letter
  EXPECT_EQ(getxidfromstring(name, 10, "s", -5), -5);                  // cut before the tag
  EXPECT_EQ(getxidfromstring("A_s@ 4 @", 8, "s"), 4);                  // blanks around n
  EXPECT_EQ(getxidfromstring("A_s@4.5@", 8, "s"), -1);                 // not an integer
  EXPECT_EQ(getxidfromstring("A_s@@", 5, "s"), -1);                    // empty
  EXPECT_EQ(getxidfromstring("A_s@12", 6, "s"), -1);                   // unclosed
  EXPECT_EQ(getxidfromstring("A_s@99999999999@", 16, "s"), -1);        // beyond 32 bits
  EXPECT_EQ(getxidfromstring("A_s@1@_s@2@", 11, "s"), 1);              // the first tag counts
  EXPECT_EQ(getxidfromstring("A_s@1@", 1000, "s"), 1);                 // ls beyond the text
}

TEST(StepKind, OnlyInsideTheStepTable) {
  jobdata::stepid.deallocate();
  jobdata::nsteps = 2;
  EXPECT_EQ(toplevel::step_kind(1), -1);  // no table
  jobdata::stepid.allocate(2);
  jobdata::stepid(1) = 0;
  jobdata::stepid(2) = 5;
  EXPECT_EQ(toplevel::step_kind(1), 0);
  EXPECT_EQ(toplevel::step_kind(2), 5);
  EXPECT_EQ(toplevel::step_kind(0), -1);
  EXPECT_EQ(toplevel::step_kind(3), -1);
  jobdata::nsteps = 5;                     // a count beyond the table
  EXPECT_EQ(toplevel::step_kind(3), -1);
  jobdata::stepid.deallocate();
  jobdata::nsteps = 0;
}

}  // namespace
}  // namespace tavrin
