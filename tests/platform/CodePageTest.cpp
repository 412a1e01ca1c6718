#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(CodePage, JapaneseRoundTripsThroughCodePage932) {
  const std::string cp932 = Utf8ToCp932("接続中のメンバ");
  EXPECT_EQ(cp932, "\x90\xDA\x91\xB1\x92\x86\x82\xCC\x83\x81\x83\x93\x83\x6F");
  EXPECT_EQ(Cp932ToUtf8(cp932), "接続中のメンバ");
  // Vendor extensions that plain Shift_JIS lacks, and the backslash kept as a backslash.
  EXPECT_EQ(Utf8ToCp932("①髙\\~"), "\x87\x40\xFB\xFC\\~");
  EXPECT_EQ(Cp932ToUtf8("\\~"), "\\~");
}

TEST(CodePage, WhatCodePage932CannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp932("a\xFF" "b"), "a?b");  // not UTF-8 at all
}

TEST(CodePage, InvalidOrCutBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Cp932ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Cp932ToUtf8("ab\x82"), "ab\xEF\xBF\xBD");  // lead byte cut off at the end
  EXPECT_EQ(Cp932ToUtf8(std::string(1000, '\x82')).size() > 0, true);
}

TEST(CodePage, LeadBytesAreThoseOfCodePage932) {
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0x9F));
  EXPECT_FALSE(IsLeadByte(0xA0));
  EXPECT_FALSE(IsLeadByte(0xDF));  // half-width katakana are single bytes
  EXPECT_TRUE(IsLeadByte(0xE0));
  EXPECT_TRUE(IsLeadByte(0xFC));
  EXPECT_FALSE(IsLeadByte(0xFD));
}

}  // namespace
}  // namespace korvane
