#include "foundation/file_version.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/compare_versions.h"

namespace vlau {
namespace {

TEST(FileVersionTest, ReadsPartsFollowedByADot) {
  struct Case {
    std::string text;
    int32_t major, minor, release, build;
  };
  const std::vector<Case> cases = {
      {"1.2.3.4", 1, 2, 3, 4},
      {"1.2.3", 1, 2, 0, 0},
      {"1.2", 1, 0, 0, 0},
      {"7", 0, 0, 0, 0},
      {"", 0, 0, 0, 0},
      {"1.2.3.4.5", 1, 2, 3, 0},
      {"$A.0x1F.0X2.$ff", 10, 31, 2, 255},
      {" 1.  2.+3. 4", 1, 2, 3, 4},
      {"-1.2.3.-4", -1, 2, 3, -4},
      {"2147483647.0.0.-2147483648", INT32_MAX, 0, 0, INT32_MIN},
      // A part that is not a whole number keeps its leading digits and ends
      // the reading.
      {"12a.5.6.7", 12, 0, 0, 0},
      {"a1.5.6.7", 0, 0, 0, 0},
      {"1.2b.3.4", 1, 2, 0, 0},
      {"1.2.3rc.4", 1, 2, 3, 0},
      {"1 .2.3.4", 1, 0, 0, 0},
      {"1..3.4", 1, 0, 0, 0},
      {"1.2.2147483648.4", 1, 2, 2147483647, 0},
      {"99999999999x.1.1.1", INT32_MAX, 0, 0, 0},
      // The build part has no leading-digits rule.
      {"1.2.3.4 ", 1, 2, 3, 0},
      {"1.2.3.4b", 1, 2, 3, 0},
      {"1.2.3.2147483648", 1, 2, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\"");
    const TFileVersion v = TFileVersion::Create(c.text);
    EXPECT_EQ(v.FFileVersion, c.text);
    EXPECT_EQ(v.FMajor, c.major);
    EXPECT_EQ(v.FMinor, c.minor);
    EXPECT_EQ(v.FRelease, c.release);
    EXPECT_EQ(v.FBuild, c.build);
  }
}

TEST(FileVersionTest, OperatorsFollowPartOrderAndIgnoreText) {
  // Ascending; texts in the same group are equal versions.
  const std::vector<std::vector<std::string>> groups = {
      {"-1.0.0.0"},       {"", "0.0.0.0", "7", "junk"},
      {"0.0.0.1"},        {"0.0.0.9"},
      {"0.0.1.0"},        {"0.0.1.2147483647"},
      {"0.1.0.0"},        {"1.2.3", "1.2.0.0", "1.2.0.0x0"},
      {"1.9.0.0"},        {"1.10.0.0", "$1.$A.0.0"},
      {"2.0", "2.0.0.0"}, {"2147483647.0.0.0"},
  };
  for (size_t gi = 0; gi < groups.size(); ++gi) {
    for (size_t gj = 0; gj < groups.size(); ++gj) {
      for (const std::string& a : groups[gi]) {
        for (const std::string& b : groups[gj]) {
          SCOPED_TRACE("\"" + a + "\" vs \"" + b + "\"");
          const TFileVersion v1(a);
          const TFileVersion v2(b);
          EXPECT_EQ(v1 == v2, gi == gj);
          EXPECT_EQ(v1 != v2, gi != gj);
          EXPECT_EQ(v1 > v2, gi > gj);
          EXPECT_EQ(v1 >= v2, gi >= gj);
          EXPECT_EQ(v1 < v2, gi < gj);
          EXPECT_EQ(v1 <= v2, gi <= gj);
          EXPECT_EQ(CompareVersions(a, b), gi == gj ? 0 : (gi > gj ? 1 : -1));
        }
      }
    }
  }
}

TEST(CompareVersionsTest, ComparesNumbersNotText) {
  struct Case {
    std::string a, b;
    int expected;
  };
  const std::vector<Case> cases = {
      {"1.2.3.10", "1.2.3.9", 1},  {"1.0.3.9", "1.0.5.1", -1}, {"1.0.5.1", "1.0.3.9", 1},
      {"1.2.3", "1.2.0.0", 0},     {"2.0", "1.9.9.9", 1},      {"", "", 0},
      {"1.10.0.0", "1.9.0.0", 1},  {"10.0.0.0", "9.9.9.9", 1}, {"01.02.03.04", "1.2.3.4", 0},
      {"-1.0.0.0", "0.0.0.0", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.a + "\" vs \"" + c.b + "\"");
    EXPECT_EQ(CompareVersions(c.a, c.b), c.expected);
  }
}

}  // namespace
}  // namespace vlau
