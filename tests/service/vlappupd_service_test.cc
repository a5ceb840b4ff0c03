#include "service/vlappupd_service.h"

#include <gtest/gtest.h>

#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

class VLAppUpdTest : public ::testing::Test {
 protected:
  VLAppUpdTest() : log_(&env_, env_.Path("test.log")) {
    env_.PutIdentifier();
    env_.SetFileVersion(env_.ExecutablePath(), "1.0.0.29");
  }

  SandboxEnv env_;
  ScopedLog log_;
};

TEST_F(VLAppUpdTest, StartWritesStartArmsTheTimerAndSetsTheDescriptionOnce) {
  ScopedSettings settings(&env_);
  settings.settings().Common().SetLog(false);  // Start and Stop are written anyway
  env_.RegisterService({"VLAppUpd", "", ""});
  TVLAppUpd module(&env_);
  EXPECT_FALSE(module.TimerEnabled());

  module.ControlStart();
  EXPECT_TRUE(module.TimerEnabled());
  EXPECT_EQ(module.TimerInterval(), 1000u);
  EXPECT_EQ(env_.Description("VLAppUpd"), "Autoupdate Velmora applications v.1.0.0.29");

  module.ControlStart();  // a second start with the same version writes nothing
  module.ControlStop();
  EXPECT_EQ(log_.Lines(),
            (std::vector<std::string>{"Start", "Add/update service description", "Start", "Stop"}));
}

TEST_F(VLAppUpdTest, DescriptionRewrittenOnlyWhenItDiffersExactly) {
  struct Case {
    std::optional<std::string> stored;
    std::string file_version;
    bool rewritten;
  };
  const std::vector<Case> cases = {
      {std::nullopt, "1.0.0.29", true},
      {"Autoupdate Velmora applications v.1.0.0.29", "1.0.0.29", false},
      {"AUTOUPDATE VELMORA APPLICATIONS V.1.0.0.29", "1.0.0.29", true},
      {"Autoupdate Velmora applications v.1.0.0.28", "1.0.0.29", true},
      {"Autoupdate Velmora applications v.1.0.0.29", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or("(none)") + " / " + c.file_version);
    SandboxEnv env;
    ScopedLog log(&env, env.Path("case.log"));
    env.SetFileVersion(env.ExecutablePath(), c.file_version);
    env.SetDescription("VLAppUpd", c.stored);
    TVLAppUpd module(&env);
    EXPECT_TRUE(module.SetServiceDescription().ok());
    EXPECT_EQ(env.Description("VLAppUpd"), "Autoupdate Velmora applications v." + c.file_version);
    EXPECT_EQ(log.Lines().size(), c.rewritten ? 1u : 0u);
  }
}

TEST_F(VLAppUpdTest, RemoveDescriptionOnlyWhenPresent) {
  TVLAppUpd module(&env_);
  EXPECT_TRUE(module.ServiceAfterUninstall().ok());  // no service at all
  env_.SetDescription("VLAppUpd", std::nullopt);
  EXPECT_TRUE(module.ServiceAfterUninstall().ok());  // service without description
  EXPECT_TRUE(log_.Lines().empty());

  env_.SetDescription("VLAppUpd", "Autoupdate Velmora applications v.1.0.0.1");
  EXPECT_TRUE(module.ServiceAfterUninstall().ok());
  EXPECT_EQ(env_.Description("VLAppUpd"), std::nullopt);
  EXPECT_EQ(log_.Lines(), std::vector<std::string>{"Remove service description"});
}

TEST_F(VLAppUpdTest, AnUnwritableDescriptionIsLoggedAndTheServiceRunsOn) {
  ScopedSettings settings(&env_);
  env_.FailDescriptionWrites();
  TVLAppUpd module(&env_);
  module.ControlStart();
  EXPECT_EQ(module.ServiceStatus(), ServiceState::kRunning);
  EXPECT_TRUE(module.TimerEnabled());
  const std::vector<std::string> lines = log_.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "Can not update the service description: service VLAppUpd is not installed");
}

}  // namespace
}  // namespace vlau
