#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "service/vlappupd_service.h"
#include "tests/support/loopback_client.h"
#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

class ControlPortTest : public ::testing::Test {
 protected:
  ControlPortTest() : log_(&env_, env_.Path("test.log")) {
    env_.PutIdentifier();
    env_.SetFileVersion(env_.ExecutablePath(), "1.0.0.29");
    settings_ = std::make_unique<ScopedSettings>(&env_);
  }
  void Settings(const std::string& common) {
    env_.Put("var/lib/Velmora/VLAppUpdater/VLAppUpdater.ini",
             "[COMMON]\nLogLevel=E\n" + common + "\n");
  }
  std::vector<std::string> SocketErrors() {
    std::vector<std::string> lines = log_.Lines();
    std::erase_if(
        lines, [](const std::string& l) { return l.find("control socket") == std::string::npos; });
    return lines;
  }
  static bool Answers(int port) {
    LoopbackClient client;
    return client.Connect(port) && client.Read(13) == "Connected ok!" && client.Send("Version") &&
           client.Read(1) == "0";
  }

  SandboxEnv env_;
  ScopedLog log_;
  std::unique_ptr<ScopedSettings> settings_;
  WorkerTable no_workers_;
};

TEST_F(ControlPortTest, EachCycleMakesTheSocketFollowThePortJustLoaded) {
  ControlSocket busy(&env_);
  ASSERT_TRUE(busy.Open(0).ok());
  const int busy_port = busy.ListeningPort();
  const int p1 = FreeLoopbackPort();
  int p2 = FreeLoopbackPort();
  while (p2 == p1) p2 = FreeLoopbackPort();
  const std::string cannot = "    Can not open the control socket on port ";

  TVLAppUpd module(&env_, &no_workers_);
  module.SetControlSocketEnabled(true);
  EXPECT_EQ(module.ControlSocketPort(), 0);  // created closed

  struct Step {
    std::string setting;
    int listening;
    std::string error;
  };
  const std::vector<Step> steps = {
      {"Port=" + std::to_string(p1), p1, ""},
      {"Port=" + std::to_string(p2), p2, ""},
      {"Port=0", 0, ""},
      {"Port=" + std::to_string(busy_port), 0,
       cannot + std::to_string(busy_port) + ": bind 127.0.0.1:" + std::to_string(busy_port) +
           ": Address already in use"},
      {"Port=70000", 0, cannot + "70000: listen on 127.0.0.1:70000: invalid port"},
      {"Port=" + std::to_string(p1), p1, ""},
  };
  int previous = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.setting);
    env_.RemoveFile(log_.log().FileName());
    Settings(s.setting);
    module.tmrMainTimer();
    EXPECT_EQ(module.ControlSocketPort(), s.listening);
    if (s.listening != 0) {
      EXPECT_TRUE(Answers(s.listening));
    }
    if (previous != 0 && previous != s.listening) {
      LoopbackClient old;
      EXPECT_FALSE(old.Connect(previous));
    }
    EXPECT_EQ(SocketErrors(),
              s.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{s.error});
    EXPECT_TRUE(module.TimerEnabled());  // the cycle goes on whatever the socket does
    previous = s.listening;
  }
}

TEST_F(ControlPortTest, AnUnchangedPortKeepsTheSocketAndItsClient) {
  const int port = FreeLoopbackPort();
  TVLAppUpd module(&env_, &no_workers_);
  module.SetControlSocketEnabled(true);
  Settings("Port=" + std::to_string(port));
  module.tmrMainTimer();
  LoopbackClient client;
  ASSERT_TRUE(client.Connect(port));
  EXPECT_EQ(client.Read(13), "Connected ok!");

  module.tmrMainTimer();
  ASSERT_TRUE(client.Send("Version"));
  EXPECT_EQ(client.Read(1), "0");
}

TEST_F(ControlPortTest, AModuleNotEnabledNeverListens) {
  const int port = FreeLoopbackPort();
  TVLAppUpd module(&env_, &no_workers_);
  Settings("Port=" + std::to_string(port));
  module.tmrMainTimer();
  EXPECT_EQ(module.ControlSocketPort(), 0);
  LoopbackClient client;
  EXPECT_FALSE(client.Connect(port));
}

}  // namespace
}  // namespace vlau
