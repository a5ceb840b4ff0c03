#include "foundation/ip_range.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vlau {
namespace {

constexpr uint32_t kNone = 0xFFFFFFFF;

TEST(IPToNumberTest, ReadsClassicDottedForms) {
  struct Case {
    std::string text;
    uint32_t expected;
  };
  const std::vector<Case> cases = {
      {"1.2.3.4", 0x01020304},
      {"192.168.1.200", 0xC0A801C8},
      {"0.0.0.0", 0},
      {"255.255.255.255", kNone},
      // Shorter forms: the last part fills the remaining bytes.
      {"10", 10},
      {"4294967294", 0xFFFFFFFE},
      {"1.2", 0x01000002},
      {"1.16777215", 0x01FFFFFF},
      {"1.2.3", 0x01020003},
      {"1.2.65535", 0x0102FFFF},
      // Octal and hexadecimal parts.
      {"010.0.0.1", 0x08000001},
      {"0x0A.0Xff.0.0x10", 0x0AFF0010},
      {"0xa", 10},
      {"0377.0.0.00", 0xFF000000},
      {"017777777777", 0x7FFFFFFF},
      // The address ends at white space; what follows it is not read.
      {"1.2.3.4 ", 0x01020304},
      {"1.2.3.4\tjunk", 0x01020304},
      {"1.2.3.4\n", 0x01020304},
      // Rejected texts.
      {"", kNone},
      {" 1.2.3.4", kNone},
      {"+1.2.3.4", kNone},
      {"1.2.3.4x", kNone},
      {"1.2.3.4.", kNone},
      {"1.2.3.4.5", kNone},
      {"1.2.3.", kNone},
      {".1.2.3", kNone},
      {"1..2.3", kNone},
      {"1. 2.3.4", kNone},
      {"256.0.0.1", kNone},
      {"1.2.3.256", kNone},
      {"1.16777216", kNone},
      {"1.2.65536", kNone},
      {"4294967296", kNone},
      {"0x100000000", kNone},
      {"08.0.0.1", kNone},
      {"0x.1.1.1", kNone},
      {"0xg", kNone},
      {"a.b.c.d", kNone},
      {"1.2.3.4\xC2\xA0", kNone},
      {"localhost", kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\"");
    EXPECT_EQ(IPToNumber(c.text), c.expected);
  }
}

TEST(IPRangeTest, IsIPBetweenComparesUnsignedWithBothBoundsIncluded) {
  struct Case {
    std::string ip, low, high;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"200.0.0.1", "1.0.0.0", "255.0.0.0", true},
      {"1.0.0.0", "1.0.0.0", "200.0.0.0", true},
      {"200.0.0.0", "1.0.0.0", "200.0.0.0", true},
      {"0.255.255.255", "1.0.0.0", "200.0.0.0", false},
      {"200.0.0.1", "1.0.0.0", "200.0.0.0", false},
      {"10.0.0.5", "10.0.0.9", "10.0.0.1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ip + " in [" + c.low + ", " + c.high + "]");
    EXPECT_EQ(IsIPBetween(c.ip, c.low, c.high), c.expected);
  }
}

TEST(IPRangeTest, IsIPInRangeReadsTheThreeFormsInOrder) {
  struct Case {
    std::string ip, range;
    bool expected;
  };
  const std::vector<Case> cases = {
      // LOW-HIGH, both bounds included.
      {"10.0.0.1", "10.0.0.1-10.0.0.9", true},
      {"10.0.0.9", "10.0.0.1-10.0.0.9", true},
      {"10.0.0.10", "10.0.0.1-10.0.0.9", false},
      {"10.0.0.0", "10.0.0.1-10.0.0.9", false},
      {"10.0.0.5", "10.0.0.9-10.0.0.1", false},
      {"10.0.0.9", "10.0.0.9-10.0.0.1", false},
      // Only the first "-" splits; the rejected high bound reads as all ones.
      {"10.0.0.5", "10.0.0.1-10.0.0.3-10.0.0.4", true},
      // "-" is tried before "/".
      {"10.0.0.5", "10.0.0.1-10.0.0.9/2", true},
      // Blanks are kept: a leading blank rejects the low bound.
      {"10.0.0.5", " 10.0.0.1-10.0.0.9", false},
      // ADDR/N replaces the last part; N is no prefix length.
      {"192.168.1.10", "192.168.1.10/50", true},
      {"192.168.1.50", "192.168.1.10/50", true},
      {"192.168.1.51", "192.168.1.10/50", false},
      {"192.168.1.9", "192.168.1.10/50", false},
      {"10.0.0.8", "10.0.0.0/8", true},
      {"10.0.0.9", "10.0.0.0/8", false},
      {"10.200.0.1", "10.0.0.0/8", false},
      {"0.0.0.5", "3/7", true},
      {"0.0.0.8", "3/7", false},
      {"10.0.0.5", "10.0.0.1/9/x", true},
      // Wildcards.
      {"10.1.0.0", "10.1.*.*", true},
      {"10.1.255.255", "10.1.*.*", true},
      {"10.2.0.0", "10.1.*.*", false},
      {"10.0.255.255", "10.1.*.*", false},
      {"10.3.7.200", "10.*.0.5", true},
      {"10.255.0.6", "10.*.0.5", false},
      {"10.0.0.4", "10.*.0.5", false},
      {"1.2.3.4", "*", false},
      {"0.0.0.200", "*", true},
      // A single address.
      {"10.0.0.1", "10.0.0.1", true},
      {"10.0.0.2", "10.0.0.1", false},
      // A rejected address counts as 255.255.255.255.
      {"bogus", "0.0.0.0-255.255.255.255", true},
      {"bogus", "10.*.*.*", false},
      {"bogus", "255.255.255.255", true},
      {"", "255.255.255.0/255", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.ip + "\" in \"" + c.range + "\"");
    EXPECT_EQ(IsIPInRange(c.ip, c.range), c.expected);
  }
}

}  // namespace
}  // namespace vlau
