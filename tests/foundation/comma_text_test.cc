#include "foundation/comma_text.h"

#include <gtest/gtest.h>

namespace vlau {
namespace {

TEST(CommaTextTest, Splitting) {
  struct Case {
    std::string text;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"   ", {}},
      {"A", {"A"}},
      {"A, B", {"A", "B"}},
      {"A B\tC", {"A", "B", "C"}},
      {"  A  ,  B  ", {"A", "B"}},
      {"A,,B", {"A", "", "B"}},
      {"A,", {"A", ""}},
      {"A, ", {"A"}},
      {",A", {"", "A"}},
      {"\"Main Store\"", {"Main Store"}},
      {"Main Store", {"Main", "Store"}},
      {"\"a,b\",c", {"a,b", "c"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\"open", {"open"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SplitCommaText(c.text), c.names);
  }
}

}  // namespace
}  // namespace vlau
