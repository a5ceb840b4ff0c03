#include <gtest/gtest.h>

#include "platform/system_text.h"

namespace vlau {
namespace {

TEST(SystemTextTest, WellFormedUtf8PassesAndEveryOtherByteBecomesAReplacement) {
  const std::string r = "\xEF\xBF\xBD";
  struct Case {
    std::string bytes;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"Date\r\n", "Date\r\n"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"K\xC3\xB6ln \xE2\x82\xAC \xF0\x9F\x98\x80", "K\xC3\xB6ln \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"\xFF\xFE", r + r},
      {"a\x80z", "a" + r + "z"},                 // lone continuation byte
      {"\xC3", r},                               // cut short at the end
      {"\xE2\x82z", r + r + "z"},                // cut short before a letter
      {"\xC0\xAF", r + r},                       // overlong '/'
      {"\xE0\x80\xAF", r + r + r},               // overlong, three bytes
      {"\xED\xA0\x80", r + r + r},               // a surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},       // above U+10FFFF
      {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},  // U+10FFFF itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(SystemTextToUtf8(c.bytes), c.text);
  }
  EXPECT_EQ(Utf8ToSystemText("K\xC3\xB6ln"), "K\xC3\xB6ln");
}

}  // namespace
}  // namespace vlau
