#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "service/vlappupd_service.h"
#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

// A worker that logs its name and then runs a step given by the test.
class FakeWorker : public TauUpdateProcess {
 public:
  FakeWorker(TauSettings* s, Env* env, std::string name, std::function<void(FakeWorker&)> step)
      : TauUpdateProcess(s, env, {}), name_(std::move(name)), step_(std::move(step)) {}

 protected:
  bool DoProcess() override {
    if (auLog) auLog->Add("worker " + name_, aullDetail);
    if (step_) step_(*this);
    return true;
  }

 private:
  std::string name_;
  std::function<void(FakeWorker&)> step_;
};

// A sandbox whose version file can be made unreadable and whose temporary
// folder can refuse the restart script.
class CycleEnv : public SandboxEnv {
 public:
  bool version_unreadable = false;
  bool unreadable_settings = false;
  bool script_unwritable = false;
  Status ReadFileToString(const std::string& path, std::string* data) override {
    if ((version_unreadable && path.find("version.txt") != std::string::npos) ||
        (unreadable_settings && path.find("VLAppUpdater.ini") != std::string::npos)) {
      return Status::Error(path + ": Permission denied", 13);
    }
    return SandboxEnv::ReadFileToString(path, data);
  }
  Status WriteStringToFile(const std::string& path, std::string_view data) override {
    if (script_unwritable && path.find("VlAppUpdRestart") != std::string::npos) {
      return Status::Error(path + ": Read-only file system", 30);
    }
    return SandboxEnv::WriteStringToFile(path, data);
  }
};

class UpdateCycleTest : public ::testing::Test {
 protected:
  UpdateCycleTest() : log_(&env_, env_.Path("test.log")) {
    env_.PutIdentifier();
    env_.SetFileVersion(env_.ExecutablePath(), "1.0.0.29");
    settings_ = std::make_unique<ScopedSettings>(&env_);
    module_ = std::make_unique<TVLAppUpd>(&env_, &workers_);
    module_->SetWorkerWaitStep(std::chrono::milliseconds(5));
  }
  void Settings(const std::string& text) {
    env_.Put("var/lib/Velmora/VLAppUpdater/VLAppUpdater.ini", text);
  }
  void Worker(TauSource kind, std::function<void(FakeWorker&)> step = nullptr) {
    workers_.Set(kind, [kind, step](TauSettings* s, Env* env) {
      return StartWorker<FakeWorker>(s, env, SourceKindWord(kind), step);
    });
  }
  std::string SettingsPath() const { return env_.DataFolder() + "VLAppUpdater.ini"; }

  CycleEnv env_;
  ScopedLog log_;
  std::unique_ptr<ScopedSettings> settings_;
  WorkerTable workers_;
  std::unique_ptr<TVLAppUpd> module_;
};

TEST_F(UpdateCycleTest, OneCycleWritesTheWholeOutline) {
  Settings(
      "[COMMON]\nCheckInterval=15\nLogLevel=WEUD\n"
      "[SOURCE]\nPG=P\nSHARE=S\nFTP=F\n");
  Worker(ausPG);
  Worker(ausShare);
  module_->tmrMainTimer();
  const std::string id = "{6B29FC40-CA47-1067-B31D-00DD010662DA}";
  EXPECT_EQ(log_.Lines(), (std::vector<std::string>{
                              "  ProcessUpdates",
                              "      auInit",
                              "          Load settings from file",
                              "            Load setting from \"" + SettingsPath() + "\".",
                              "            Common settings loaded",
                              "            Settings: Check interval=15, Log=True, Loglevel=WEUD, "
                              "UseNextSourceIfErrorHappen=True, Identifier=" +
                                  id,
                              "            Load sources settings...",
                              "            Load PG settings...",
                              "            Load share settings...",
                              "            Load FTP settings...",
                              "          Load settings from file",
                              "      auInit",
                              "      auProcess",
                              "        Sources count: 3",
                              "        Source 0 is PG.",
                              "          UpdateProcess",
                              "            worker PG",
                              "          UpdateProcess",
                              "        Source 1 is Share.",
                              "          UpdateProcess",
                              "            worker Share",
                              "          UpdateProcess",
                              "        Source 2 is FTP.",
                              "      auProcess",
                              "  ProcessUpdates",
                          }));
  EXPECT_TRUE(module_->TimerEnabled());
  EXPECT_EQ(module_->TimerInterval(), 900000u);
}

TEST_F(UpdateCycleTest, NoSourcesAndAMissingSettingsFile) {
  settings_->settings().Common().SetLogLevel({aullError, aullDetail});
  module_->tmrMainTimer();
  const std::vector<std::string> lines = log_.Lines();
  EXPECT_NE(
      std::find(lines.begin(), lines.end(),
                "            File \"" + SettingsPath() + "\" not found! Use default settings."),
      lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "        Sources count: 0"), lines.end());
  EXPECT_EQ(module_->TimerInterval(), 60u * 60000u);
  EXPECT_TRUE(module_->TimerEnabled());
}

TEST_F(UpdateCycleTest, UnreadableSettingsAreLoggedWithCodeFourAndTheCycleGoesOn) {
  Settings("[COMMON]\nCheckInterval=240\nLogLevel=E\n");
  module_->tmrMainTimer();
  EXPECT_EQ(module_->TimerInterval(), 240u * 60000u);

  Settings("[COMMON]\nCheckInterval=20\nLogLevel=E\n");
  env_.unreadable_settings = true;
  module_->tmrMainTimer();
  const std::vector<std::string> lines = log_.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "        Error while load settings from \"" + SettingsPath() +
                          "\"! Original error: " + SettingsPath() + ": Permission denied"),
            lines.end());
  EXPECT_EQ(module_->TimerInterval(), 240u * 60000u);  // the settings held before
  EXPECT_TRUE(module_->TimerEnabled());
}

TEST_F(UpdateCycleTest, AStopWhileAWorkerRunsTerminatesItAndEndsTheCycle) {
  Settings("[COMMON]\nLogLevel=WEUD\n[SOURCE]\nSHARE=A\nPG=B\n");
  env_.Put("bin/version.txt", "changed\r\n");  // must not be looked at
  std::atomic<bool> running{false};
  Worker(ausShare, [&](FakeWorker& w) {
    running = true;
    while (!w.Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  Worker(ausPG);
  std::thread control([&] {
    while (!running) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    module_->ControlStop();
  });
  module_->tmrMainTimer();
  control.join();
  const std::vector<std::string> lines = log_.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "            Stop"), lines.end());
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
            (std::vector<std::string>{
                "            Update process is terminated!", "          UpdateProcess",
                "      auProcess", "  ProcessUpdates", "Service is terminated during operation."}))
      << "the PG source must not start";
  EXPECT_FALSE(module_->TimerEnabled());
  EXPECT_TRUE(env_.StartedScripts().empty());
}

TEST_F(UpdateCycleTest, AWorkerOutlastingManyWaitStepsRunsToItsEndWithoutAStop) {
  Settings("[COMMON]\nLogLevel=WEUD\n[SOURCE]\nSHARE=A\n");
  std::atomic<bool> terminated_seen{false};
  Worker(ausShare, [&](FakeWorker& w) {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // a dozen wait steps
    terminated_seen = w.Terminated();
  });
  module_->tmrMainTimer();
  EXPECT_FALSE(terminated_seen);
  const std::vector<std::string> lines = log_.Lines();
  EXPECT_EQ(std::find(lines.begin(), lines.end(), "            Update process is terminated!"),
            lines.end());
  EXPECT_TRUE(module_->TimerEnabled());
}

TEST_F(UpdateCycleTest, RunsWithoutTheGlobalLog) {
  Settings("[COMMON]\nCheckInterval=20\n[SOURCE]\nSHARE=A\n");
  env_.Put("bin/version.txt", "another build");
  Worker(ausShare);
  TauLog* const log = auLog;
  auLog = nullptr;
  module_->ControlStart();
  module_->tmrMainTimer();  // a new build: restart and shutdown
  TVLAppUpd stopped(&env_, &workers_);
  stopped.ControlStop();
  auLog = log;
  EXPECT_TRUE(log_.Lines().empty());
  EXPECT_EQ(env_.StartedScripts(), std::vector<std::string>{env_.Path("tmp/VlAppUpdRestart.sh")});
  EXPECT_EQ(module_->TimerInterval(), 1000u);  // not re-armed
  EXPECT_EQ(settings_->settings().Common().CheckInterval(), 20);
}

TEST_F(UpdateCycleTest, AStopBetweenSourcesStartsNoFurtherSource) {
  Settings("[COMMON]\nLogLevel=WEUD\n[SOURCE]\nSHARE=A\nPG=B\n");
  Worker(ausShare, [this](FakeWorker&) { module_->ControlStop(); });
  Worker(ausPG);
  module_->tmrMainTimer();
  const std::vector<std::string> lines = log_.Lines();
  EXPECT_EQ(std::find(lines.begin(), lines.end(), "        Source 1 is PG."), lines.end());
  EXPECT_EQ(lines.back(), "Service is terminated during operation.");
  EXPECT_FALSE(module_->TimerEnabled());
}

TEST_F(UpdateCycleTest, SelfUpdateCheck) {
  struct Case {
    const char* name;
    std::optional<std::string> at_start, now;
    bool restart;
  };
  const std::vector<Case> cases = {
      {"absent at start and now", std::nullopt, std::nullopt, false},
      {"empty at start and now", "", "", false},
      {"unchanged", "1.0.0.29\r\n", "1.0.0.29\r\nother second line\r\n", false},
      {"lower", "1.0.0.29\r\n", "1.0.0.28\r\n", true},
      {"higher", "1.0.0.29", "1.0.0.30", true},
      {"letter case", "1.0.0.a", "1.0.0.A", true},
      {"appeared", std::nullopt, "1.0.0.29", false},  // same as the file version
      {"removed", "1.0.0.30", std::nullopt, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CycleEnv env;
    env.PutIdentifier();
    env.SetFileVersion(env.ExecutablePath(), "1.0.0.29");
    if (c.at_start) env.Put("bin/version.txt", *c.at_start);
    ScopedLog log(&env, env.Path("case.log"));
    ScopedSettings settings(&env);
    TVLAppUpd module(&env, &workers_);
    env.RemoveFile(env.Path("bin/version.txt"));
    if (c.now) env.Put("bin/version.txt", *c.now);
    module.tmrMainTimer();

    const std::string script = env.Path("tmp/VlAppUpdRestart.sh");
    const std::vector<std::string> lines = log.Lines();
    if (!c.restart) {
      EXPECT_TRUE(module.TimerEnabled());
      EXPECT_FALSE(module.Terminated());
      EXPECT_FALSE(env.FileExists(script));
      continue;
    }
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
              (std::vector<std::string>{"Service update found.",
                                        "Create cmd restart file \"" + script + "\"",
                                        "Run cmd restart file \"" + script + "\"", "Shutdown"}));
    EXPECT_EQ(env.Read(script), "systemctl stop VLAppUpd\nsystemctl start VLAppUpd\n");
    EXPECT_EQ(env.StartedScripts(), std::vector<std::string>{script});
    EXPECT_TRUE(module.Terminated());
    EXPECT_EQ(module.ServiceStatus(), ServiceState::kStopPending);
    EXPECT_FALSE(module.TimerEnabled());
  }
}

TEST_F(UpdateCycleTest, ALeftOverScriptIsDeletedAtTheStartOfTheNextCycle) {
  const std::string script = env_.Put("tmp/VlAppUpdRestart.sh", "left over");
  module_->tmrMainTimer();
  EXPECT_FALSE(env_.FileExists(script));
  EXPECT_TRUE(module_->TimerEnabled());
}

TEST_F(UpdateCycleTest, SelfUpdateErrorsAreLoggedAndTheTimerIsRearmed) {
  struct Case {
    const char* name;
    bool version_unreadable, script_unwritable;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"version.txt unreadable", true, false,
       "Unexpected error: " + env_.Path("bin/version.txt") + ": Permission denied"},
      {"script not writable", false, true,
       "Unexpected error: " + env_.Path("tmp/VlAppUpdRestart.sh") + ": Read-only file system"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    env_.Put("bin/version.txt", "another build");
    env_.version_unreadable = c.version_unreadable;
    env_.script_unwritable = c.script_unwritable;
    module_->SetTimerEnabled(false);
    module_->tmrMainTimer();
    EXPECT_EQ(log_.Lines().back(), c.error);
    EXPECT_TRUE(module_->TimerEnabled());
    EXPECT_EQ(module_->TimerInterval(), 60u * 60000u);
    EXPECT_FALSE(module_->Terminated());
  }
}

}  // namespace
}  // namespace vlau
