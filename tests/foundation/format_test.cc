#include "foundation/format.h"

#include <gtest/gtest.h>

namespace vlau {
namespace {

TEST(FormatTest, FillsPlaceholdersInOrder) {
  struct Case {
    std::string format;
    FormatArgs args;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"Source %d is %s.", {2, "FTP"}, "Source 2 is FTP."},
      {"100%%", {}, "100%"},
      {"no placeholder", {"ignored", 5}, "no placeholder"},
      {"%d", {-7}, "-7"},
      {"%s", {""}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(Format(c.format, c.args), c.expected);
  }
}

TEST(FormatTest, RaisesWhenTheArgumentsDoNotFit) {
  const std::vector<std::pair<std::string, FormatArgs>> cases = {
      {"%s", {}}, {"%s %s", {"one"}}, {"%d", {"text"}}, {"%s", {1}}, {"%x", {1}}, {"50%", {}},
  };
  for (const auto& [format, args] : cases) {
    SCOPED_TRACE(format);
    EXPECT_THROW(Format(format, args), EFormatError);
  }
}

}  // namespace
}  // namespace vlau
