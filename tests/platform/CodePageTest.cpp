#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(CodePage, ConvertsBothWaysAndMarksWhatItCannotHold) {
  const std::pair<std::string, std::string> toCp932[] = {
      {"接続中のメンバ", "\x90\xDA\x91\xB1\x92\x86\x82\xCC\x83\x81\x83\x93\x83\x6F"},
      {"①髙\\~", "\x87\x40\xFB\xFC\\~"},  // vendor extensions; the backslash stays one
      {"a😀b", "a?b"}, {"a\xFF" "b", "a?b"}};
  for (const auto& [utf8, cp932] : toCp932) EXPECT_EQ(Utf8ToCp932(utf8), cp932) << utf8;
  EXPECT_EQ(Cp932ToUtf8(toCp932[0].second), toCp932[0].first);
  EXPECT_EQ(Cp932ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Cp932ToUtf8("ab\x82"), "ab\xEF\xBF\xBD");  // lead byte cut off at the end
  // 0xA0-0xDF are half-width katakana, single bytes.
  const std::pair<unsigned char, bool> leads[] = {{0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false},
                                                  {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false}};
  for (const auto& [byte, lead] : leads) EXPECT_EQ(IsLeadByte(byte), lead) << int{byte};
}

}  // namespace
}  // namespace korvane
