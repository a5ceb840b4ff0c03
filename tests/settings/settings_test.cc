#include "settings/settings.h"

#include <gtest/gtest.h>

#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

TEST(SettingsTest, ConstructionValues) {
  SandboxEnv env;
  env.PutIdentifier("{6B29FC40-CA47-1067-B31D-00DD010662DA}");
  TauSettings s(&env);
  EXPECT_EQ(s.Common().CheckInterval(), 60);
  EXPECT_TRUE(s.Common().Log());
  EXPECT_EQ(s.Common().LogLevel(), (TauLogLevels{aullWaring, aullError, aullUpdate}));
  EXPECT_TRUE(s.Common().UseNextSourceIfErrorHappen());
  EXPECT_EQ(s.Common().Port(), 0);
  EXPECT_EQ(s.Common().sGUID(), "{6B29FC40-CA47-1067-B31D-00DD010662DA}");
}

TEST(SettingsTest, UpdaterVersionComesFromTheBuildOnDisk) {
  struct Case {
    const char* name;
    bool has_version_file;
    std::string version_file;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"no version.txt: the file version", false, "", "1.0.0.29"},
      {"first line, unchanged", true, " 1.0.0.30 \r\nsecond\r\n", " 1.0.0.30 "},
      {"byte order mark skipped", true,
       "\xEF\xBB\xBF"
       "2.0.0.1\n",
       "2.0.0.1"},
      {"no line at all", true, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SandboxEnv env;
    env.PutIdentifier();
    env.SetFileVersion(env.ExecutablePath(), "1.0.0.29");
    if (c.has_version_file) env.Put("bin/version.txt", c.version_file);
    EXPECT_EQ(TauSettings(&env).UpdaterVersion(), c.expected);
  }
}

}  // namespace
}  // namespace vlau
