#include "sources/update_process_share.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>

#include "sources/work_journal.h"
#include "tests/support/crashing_env.h"
#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

// A sandbox that can run a hook when a file is copied.
class ShareEnv : public SandboxEnv {
 public:
  std::function<void(const std::string& from)> on_copy;
  Status CopyFileContents(const std::string& from, const std::string& to) override {
    if (on_copy) on_copy(from);
    return SandboxEnv::CopyFileContents(from, to);
  }
};

class ShareWorkerTest : public ::testing::Test {
 protected:
  ShareWorkerTest() : log_(&env_, env_.Path("test.log")) {
    env_.PutIdentifier();
    settings_ = std::make_unique<ScopedSettings>(&env_);
  }

  // Settings with the shares named, each at <sandbox>/shares/<name>/.
  void UseShares(const std::vector<std::string>& names) {
    std::string ini = "[COMMON]\nLogLevel=WEUD\n[SOURCE]\nSHARE=";
    for (const std::string& n : names) ini += n + ",";
    ini.pop_back();
    ini += "\n";
    for (const std::string& n : names)
      ini += "[SHARE_" + n + "]\nUNC=" + env_.Path("shares/" + n) + "\n";
    settings_->settings().LoadFromIni(env_.Put("settings.ini", ini));
    env_.RemoveFile(log_.log().FileName());
  }
  // An application NAME on a share: one file, installed into <sandbox>/opt/NAME/.
  void PutApp(const std::string& share, const std::string& name, const std::string& script,
              const std::string& version = "1.0.0.1") {
    env_.Put("shares/" + share + "/" + name + "/" + name + ".bin", name + " " + version);
    env_.Put("shares/" + share + "/" + name + "App.ini",
             "[FILES]\n" + name + "/" + name + ".bin=" + env_.Path("opt/" + name + "/") + ";" +
                 version + "\n[SCRIPT]\n" + script);
  }
  void PutIndex(const std::string& share, const std::string& hosts) {
    env_.Put("shares/" + share + "/AppUpdater.ini", "[HOSTS]\n" + hosts);
  }
  bool Run(std::vector<std::string> ips = {"10.0.0.5"}) {
    worker_ = StartWorker<ResultWorker>(&settings_->settings(), &env_, std::move(ips));
    running_ = worker_.get();
    EXPECT_TRUE(worker_->WaitFor(std::chrono::seconds(30)));
    running_ = nullptr;
    return worker_->result;
  }
  bool Installed(const std::string& name) {
    return env_.FileExists(env_.Path("opt/" + name + "/" + name + ".bin"));
  }
  bool LocalCopy(const std::string& name) {
    return env_.FileExists(env_.DataFolder() + name + "App.ini");
  }
  bool Logged(const std::string& line) {
    const std::vector<std::string> lines = log_.Lines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(line) != std::string::npos; });
  }

  // Keeps DoProcess's result for the test.
  class ResultWorker : public TauUpdateProcessShare {
   public:
    using TauUpdateProcessShare::TauUpdateProcessShare;
    bool result = false;

   protected:
    bool DoProcess() override { return result = TauUpdateProcessShare::DoProcess(); }
  };

  ShareEnv env_;
  ScopedLog log_;
  std::unique_ptr<ScopedSettings> settings_;
  std::unique_ptr<ResultWorker> worker_;
  // The worker of Run(), for hooks on the worker's thread; set once the
  // worker has been started.
  std::atomic<ResultWorker*> running_{nullptr};
};

TEST_F(ShareWorkerTest, ApplicationNamesForThisMachine) {
  struct Case {
    const char* name;
    std::string index;
    std::vector<std::string> ips;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"sorted, each once",
       "[HOSTS]\n10.0.0.*=Stock,Billing\n10.0.0.5=stock\n",
       {"10.0.0.5"},
       {"Billing", "Stock"}},
      {"alias",
       "[ALIASES]\nOffice=Billing,Stock\n[HOSTS]\n10.0.0.1-10.0.0.9=office\n",
       {"10.0.0.3"},
       {"Billing", "Stock"}},
      {"one level of aliases",
       "[ALIASES]\nA=B\nB=Billing\n[HOSTS]\n10.0.0.3=A\n",
       {"10.0.0.3"},
       {"B"}},
      {"blank separates", "[HOSTS]\n10.0.0.3=Billing Stock\n", {"10.0.0.3"}, {"Billing", "Stock"}},
      {"quoted name keeps its blank",
       "[HOSTS]\n10.0.0.3=\"Sales Desk\",Billing\n",
       {"10.0.0.3"},
       {"Billing", "Sales Desk"}},
      {"two addresses in one range",
       "[HOSTS]\n10.0.0.0-10.0.0.9=Billing\n",
       {"10.0.0.3", "10.0.0.4"},
       {"Billing"}},
      {"no matching range", "[HOSTS]\n192.168.0.*=Billing\n", {"10.0.0.3"}, {}},
      {"empty item", "[HOSTS]\n10.0.0.3=Billing,\n", {"10.0.0.3"}, {"", "Billing"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string index = env_.Put("index.ini", c.index);
    TauUpdateProcessShare worker(&settings_->settings(), &env_, c.ips);
    std::vector<std::string> names;
    worker.GetApplicationNames(index, names);
    EXPECT_EQ(names, c.names);
  }
}

TEST_F(ShareWorkerTest, TheWalkLogsEachStepAtItsLevel) {
  // S lists A (installed) and B (no descriptor); B, the last, fails, so T is
  // never looked at.
  const std::string s = env_.Path("shares/S/");
  const std::string a = s + "AApp.ini";
  const std::vector<std::pair<TauLogLevel, std::vector<std::string>>> cases = {
      {aullDetail,
       {"Share count: 2", "Share 0: S", "Check parameters...", "Using " + s + "AppUpdater.ini",
        "Get application names...", "Applications names count 2", "Application 0 filename=" + a,
        "Begin update application from \"" + a + "\".",
        "End update application from \"" + a + "\".", "Application 1 filename=" + s + "BApp.ini"}},
      {aullUpdate, {"Copy new file \"" + s + "A/A.bin\" to \"" + env_.Path("opt/A/") + "\"."}},
      {aullError, {"File not found!"}},
      {aullWaring, {}},
  };
  for (const auto& [level, lines] : cases) {
    SCOPED_TRACE(level);
    env_.RemoveFile(env_.DataFolder() + "AApp.ini");
    UseShares({"S", "T"});
    settings_->settings().Common().SetLogLevel({level});
    PutIndex("S", "10.0.0.*=B,A\n");
    PutApp("S", "A", "Update=1\n");
    PutIndex("T", "10.0.0.*=D\n");
    PutApp("T", "D", "Update=1\n");
    EXPECT_FALSE(Run());
    // The lines inside the block, without their indentation.
    std::vector<std::string> logged;
    for (const std::string& l : log_.Lines()) {
      if (l.find("UpdateProcess") != std::string::npos) continue;
      logged.push_back(l.substr(std::min(l.find_first_not_of(' '), l.size())));
    }
    EXPECT_EQ(logged, lines);
  }
}

TEST_F(ShareWorkerTest, UpdatesEachApplicationAndStoresItsLocalCopy) {
  UseShares({"S"});
  PutIndex("S", "10.0.0.*=Billing\n");
  PutApp("S", "Billing", "Update=1\nFrobnicate=2\n");
  EXPECT_TRUE(Run());
  EXPECT_TRUE(Installed("Billing"));
  EXPECT_TRUE(LocalCopy("Billing"));
  EXPECT_EQ(env_.Read(env_.DataFolder() + "BillingApp.ini"),
            env_.Read(env_.Path("shares/S/BillingApp.ini")));
  EXPECT_TRUE(Logged("Unknown command: Frobnicate"));
  EXPECT_TRUE(
      Logged("Begin update application from \"" + env_.Path("shares/S/BillingApp.ini") + "\"."));
  EXPECT_TRUE(
      Logged("End update application from \"" + env_.Path("shares/S/BillingApp.ini") + "\"."));
}

TEST_F(ShareWorkerTest, ALocalCopyThatCannotBeWrittenFailsTheApplication) {
  UseShares({"S"});
  PutIndex("S", "10.0.0.*=A\n");
  PutApp("S", "A", "Update=1\n");
  const std::string local = env_.DataFolder() + "AApp.ini";
  ASSERT_TRUE(env_.CreateDirs(local).ok());  // a folder stands in the way
  EXPECT_FALSE(Run());
  EXPECT_TRUE(Installed("A"));
  EXPECT_TRUE(Logged("Can not copy appsettings file \"" + env_.Path("shares/S/AApp.ini") +
                     "\" to \"" + local + "\"."));
  std::vector<std::string> left;
  ASSERT_TRUE(env_.ListDirectory(env_.DataFolder(), &left).ok());
  for (const std::string& name : left) EXPECT_EQ(name.find("AApp.ini."), std::string::npos) << name;
}

TEST_F(ShareWorkerTest, ALocalCopyIsWholeEvenWhenThePowerFailsRightAfterIt) {
  UseShares({"S"});
  PutIndex("S", "10.0.0.*=A\n");
  PutApp("S", "A", "Update=1\n");
  const std::string local = env_.DataFolder() + "AApp.ini";
  CrashingEnv crashing(
      &env_, [&](const CrashingEnv::Call& c) { return c.op == "RenameFile" && c.path == local; },
      CrashingEnv::Moment::kAfter);
  worker_ = StartWorker<ResultWorker>(&settings_->settings(), &crashing,
                                      std::vector<std::string>{"10.0.0.5"});
  ASSERT_TRUE(worker_->WaitFor(std::chrono::seconds(30)));
  EXPECT_EQ(env_.Read(local), env_.Read(env_.Path("shares/S/AApp.ini")));
}

TEST_F(ShareWorkerTest, ScriptsThatDoNotUpdateLeaveNoLocalCopy) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"Run=x\n", false}, {"", false}, {"Frobnicate=1\nUpdate=1\n", true}};
  for (const auto& [script, unknown_logged] : cases) {
    SCOPED_TRACE(script);
    UseShares({"S"});
    PutIndex("S", "10.0.0.*=Billing\n");
    PutApp("S", "Billing", script);
    EXPECT_FALSE(Run());
    EXPECT_FALSE(Installed("Billing"));
    EXPECT_FALSE(LocalCopy("Billing"));
    EXPECT_EQ(Logged("Unknown command: Frobnicate"), unknown_logged);
  }
}

TEST_F(ShareWorkerTest, AFailedApplicationDoesNotStopTheShareButTheLastOneDecides) {
  UseShares({"S", "T"});
  PutIndex("S", "10.0.0.*=A,B,C\n");
  PutApp("S", "A", "Update=1\n");
  PutApp("S", "C", "Update=1\n");  // B has no descriptor
  PutIndex("T", "10.0.0.*=D\n");
  PutApp("T", "D", "Update=1\n");
  EXPECT_TRUE(Run());
  EXPECT_TRUE(Installed("A"));
  EXPECT_TRUE(Installed("C"));
  EXPECT_TRUE(Installed("D"));  // the last application of S succeeded
  EXPECT_TRUE(Logged("File not found!"));

  PutIndex("S", "10.0.0.*=A,C,Z\n");  // now the last one fails
  env_.RemoveFile(env_.Path("opt/D/D.bin"));
  env_.RemoveFile(env_.DataFolder() + "DApp.ini");
  EXPECT_FALSE(Run());
  EXPECT_FALSE(Installed("D"));
}

TEST_F(ShareWorkerTest, MissingShareOrIndexEndsTheWalk) {
  struct Case {
    const char* name;
    bool share_exists;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"no share folder", false, "Directory \"" + env_.Path("shares/S/") + "\" does not exists."},
      {"no index file", true, "File not found!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseShares({"S", "T"});
    if (c.share_exists) env_.CreateDirs(env_.Path("shares/S/"));
    PutIndex("T", "10.0.0.*=D\n");
    PutApp("T", "D", "Update=1\n");
    EXPECT_FALSE(Run());
    EXPECT_TRUE(Logged(c.error));
    EXPECT_FALSE(Installed("D"));
  }
}

TEST_F(ShareWorkerTest, AStopDuringAnUpdateFinishesItAndStartsNoOther) {
  // The stop comes while A is copied; B is the next application of the same
  // share or the first of the next share.
  for (const bool same_share : {true, false}) {
    SCOPED_TRACE(same_share ? "same share" : "next share");
    env_.RemoveFile(env_.Path("opt/A/A.bin"));
    env_.RemoveFile(env_.Path("opt/B/B.bin"));
    env_.RemoveFile(env_.DataFolder() + "AApp.ini");
    UseShares({"S", "T"});
    PutIndex("S", same_share ? "10.0.0.*=A,B\n" : "10.0.0.*=A\n");
    PutIndex("T", "10.0.0.*=B\n");
    PutApp("S", "A", "Update=1\n");
    PutApp(same_share ? "S" : "T", "B", "Update=1\n");
    env_.on_copy = [this](const std::string& from) {
      if (from.find("A.bin") == std::string::npos) return;
      ResultWorker* worker;
      while ((worker = running_.load()) == nullptr) std::this_thread::yield();
      worker->Terminate();
    };
    Run();
    EXPECT_TRUE(Installed("A"));
    EXPECT_TRUE(LocalCopy("A"));
    EXPECT_FALSE(Installed("B"));
    EXPECT_TRUE(Logged("Update process is terminated!"));
  }
}

TEST_F(ShareWorkerTest, AnUpdateCutShortIsRolledBackBeforeTheShareIsRead) {
  // A crash left Tool.bin moved aside; this cycle's share is unreachable.
  const std::string work = env_.Path("tmp/VLAppUpdater/");
  const std::string original = env_.Path("opt/Tool/Tool.bin");
  env_.Put("tmp/VLAppUpdater/0.dat", "old version");
  TauWorkJournal journal(&env_, TauWorkJournal::FileName(work));
  ASSERT_TRUE(journal.Start().ok());
  ASSERT_TRUE(journal.Announce({{work + "0.dat", original}}, {}).ok());
  env_.CreateDirs(env_.Path("opt/Tool/"));
  UseShares({"Unreachable"});
  EXPECT_FALSE(Run());
  EXPECT_EQ(env_.Read(original), "old version");
}

TEST_F(ShareWorkerTest, AnErrorInsideTheShareStepsIsLoggedAndEndsTheRun) {
  UseShares({"S"});
  PutIndex("S", "10.0.0.*=A\n");
  PutApp("S", "A", "Update=1\n");
  env_.on_copy = [](const std::string&) { throw std::runtime_error("disk on fire"); };
  EXPECT_FALSE(Run());
  EXPECT_TRUE(Logged("disk on fire"));
  EXPECT_TRUE(Logged("End update application from"));
}

}  // namespace
}  // namespace vlau
