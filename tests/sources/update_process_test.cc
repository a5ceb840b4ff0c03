#include "sources/update_process.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

// A worker whose step is given by the test.
class ScriptedWorker : public TauUpdateProcess {
 public:
  ScriptedWorker(TauSettings* s, Env* env, std::function<bool(ScriptedWorker&)> step)
      : TauUpdateProcess(s, env, {"10.0.0.1"}), step_(std::move(step)) {}
  using TauUpdateProcess::Terminated;

 protected:
  bool DoProcess() override { return step_(*this); }

 private:
  std::function<bool(ScriptedWorker&)> step_;
};

class UpdateProcessTest : public ::testing::Test {
 protected:
  UpdateProcessTest() : log_(&env_, env_.Path("test.log")) {
    env_.PutIdentifier();
    settings_ = std::make_unique<ScopedSettings>(&env_);
    settings_->settings().Common().SetLogLevel({aullWaring, aullError, aullUpdate, aullDetail});
  }
  std::vector<std::string> RunToEnd(std::function<bool(ScriptedWorker&)> step) {
    auto worker = StartWorker<ScriptedWorker>(&settings_->settings(), &env_, std::move(step));
    EXPECT_TRUE(worker->WaitFor(std::chrono::seconds(10)));
    return log_.Lines();
  }

  SandboxEnv env_;
  ScopedLog log_;
  std::unique_ptr<ScopedSettings> settings_;
};

TEST_F(UpdateProcessTest, RunsTheStepInsideItsBlock) {
  EXPECT_EQ(RunToEnd([](ScriptedWorker&) {
              auLog->Add("working", aullDetail);
              return false;  // a failed step says nothing more
            }),
            (std::vector<std::string>{"  UpdateProcess", "    working", "  UpdateProcess"}));
}

TEST_F(UpdateProcessTest, EscapedErrorsAreLoggedWithCodeSix) {
  EXPECT_EQ(RunToEnd([](ScriptedWorker&) -> bool { throw std::runtime_error("X"); }),
            (std::vector<std::string>{
                "  UpdateProcess",
                "    Not handled an error during the upgrade process. Original error message: X",
                "  UpdateProcess"}));
}

TEST_F(UpdateProcessTest, ATerminatedRunSaysSoBeforeTheBlockCloses) {
  std::atomic<bool> started{false};
  auto worker = StartWorker<ScriptedWorker>(&settings_->settings(), &env_, [&](ScriptedWorker& w) {
    started = true;
    while (!w.Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
  });
  while (!started) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_FALSE(worker->WaitFor(std::chrono::milliseconds(20)));
  worker->Terminate();
  worker->Terminate();  // stays set
  EXPECT_TRUE(worker->WaitFor(std::chrono::seconds(10)));
  EXPECT_TRUE(worker->Terminated());
  EXPECT_EQ(log_.Lines(),
            (std::vector<std::string>{"  UpdateProcess", "    Update process is terminated!",
                                      "  UpdateProcess"}));
}

TEST_F(UpdateProcessTest, AddressesAreCollectedByConstruction) {
  TauUpdateProcess given(&settings_->settings(), &env_, {"192.168.1.5"});
  EXPECT_EQ(given.FIPs(), std::vector<std::string>{"192.168.1.5"});
  TauUpdateProcess collected(&settings_->settings(), &env_);
  for (const std::string& ip : collected.FIPs()) EXPECT_NE(ip.rfind("127.", 0), 0u) << ip;
}

}  // namespace
}  // namespace vlau
