#include "window/TypedCommands.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(TypedCommands, RecogniseExactlyTheirForms) {
  EXPECT_EQ(FixedPhraseShortcut("m3"), '3');
  EXPECT_EQ(FixedPhraseShortcut("M9"), '9');  // the phrase number is checked by the sender
  EXPECT_EQ(FixedPhraseShortcut("m33"), std::nullopt);
  EXPECT_EQ(FixedPhraseShortcut("n3"), std::nullopt);
  EXPECT_TRUE(IsClearCommand("clear"));
  EXPECT_TRUE(IsClearCommand("CLEARANCE"));
  EXPECT_FALSE(IsClearCommand("Clear"));
  EXPECT_FALSE(IsClearCommand("clea"));
  EXPECT_TRUE(IsByeCommand("BYE"));
  EXPECT_FALSE(IsByeCommand("Bye"));
  EXPECT_FALSE(IsByeCommand("bye "));
}

}  // namespace
}  // namespace korvane
