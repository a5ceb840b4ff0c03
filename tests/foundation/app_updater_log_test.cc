#include "foundation/app_updater_log.h"

#include <gtest/gtest.h>

#include <thread>

#include "foundation/log_startup.h"
#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

class LogTest : public ::testing::Test {
 protected:
  LogTest() : log_(&env_, env_.Path("test.log")) { env_.PutIdentifier(); }

  SandboxEnv env_;
  ScopedLog log_;
};

TEST_F(LogTest, StampsEveryLineAndMarksContinuations) {
  env_.SetNow({2024, 1, 31, 14, 25, 1, 123});
  log_.log().BeginBlock("Block");
  log_.log().AddFmt("Sources count: %d", {2}, aullWaring);
  log_.log().EndBlock("Block");
  env_.SetNow({2024, 3, 5, 4, 5, 6, 7});
  log_.log().WriteImmediatly("padded", aullWaring);
  const std::string raw = log_.Raw();
  EXPECT_EQ(raw,
            "\xEF\xBB\xBF"
            "20240131-142501123:   Block\r\n"
            "20240131-142501123:     Sources count: 2\r\n"
            "20240131-142501123:   Block\r\n"
            "20240305-040506007: padded\r\n");
}

TEST_F(LogTest, SplitsCutsAndTrimsMessages) {
  struct Case {
    std::string message;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"a\r\nb", {"a", "->b"}},
      {"a\nb\rc", {"a", "->b", "->c"}},
      {"a\r\n\r\nb", {"a", "->", "->b"}},
      {"a\r\n", {"a"}},
      {"trailing   \t", {"trailing"}},
      {std::string("be\0fore", 7), {"be"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.message));
    SandboxEnv env;
    ScopedLog log(&env, env.Path("case.log"));
    log.log().WriteImmediatly(c.message, aullWaring);
    EXPECT_EQ(log.Lines(), c.lines);
    // Even a message without lines creates the file with its byte order mark.
    EXPECT_EQ(log.Raw().substr(0, 3), "\xEF\xBB\xBF");
  }
}

TEST_F(LogTest, ByteOrderMarkOnlyWhenTheLogCreatesTheFile) {
  log_.log().WriteImmediatly("one", aullWaring);
  log_.log().WriteImmediatly("two", aullWaring);
  const std::string raw = log_.Raw();
  EXPECT_EQ(raw.find("\xEF\xBB\xBF", 1), std::string::npos);
  EXPECT_EQ(log_.Lines(), (std::vector<std::string>{"one", "two"}));

  const std::string existing = env_.Put("existing.log", "old\r\n");
  TauLog log(&env_, existing);
  log.WriteImmediatly("new", aullWaring);
  EXPECT_EQ(env_.Read(existing).substr(0, 5), "old\r\n");
}

TEST_F(LogTest, FiltersByTheGlobalSettings) {
  ScopedSettings settings(&env_);
  TauSettingCommon& common = settings.settings().Common();

  log_.log().Add("detail is off by default", aullDetail);
  log_.log().Add("update is on by default", aullUpdate);

  common.SetLogLevel({aullError});
  log_.log().Add("detail filtered", aullDetail);
  log_.log().Add(std::runtime_error("an error object"));

  common.SetLog(false);
  log_.log().Add("log off", aullError);
  log_.log().Add(std::runtime_error("error while off"));
  log_.log().BeginBlock("hidden block");
  log_.log().WriteImmediatly("immediate", aullDetail);
  log_.log().EndBlock("hidden block");

  common.SetLog(true);
  log_.log().EndBlock("after");  // the hidden block's indentation was kept

  EXPECT_EQ(log_.Lines(), (std::vector<std::string>{"update is on by default", "an error object",
                                                    "    immediate", "Invalid EndBlock calling"}));
}

TEST_F(LogTest, BlocksIndentByFourAndUnbalancedEndIsReported) {
  ScopedSettings settings(&env_);
  settings.settings().Common().SetLogLevel({aullWaring});
  log_.log().EndBlock("never opened");
  log_.log().BeginBlock("X");
  log_.log().Add("y", aullWaring);
  log_.log().BeginBlock("Inner");
  log_.log().Add("z", aullWaring);
  log_.log().EndBlock("Inner");
  log_.log().EndBlock("X");
  log_.log().Add("back at zero", aullWaring);
  EXPECT_EQ(log_.Lines(),
            (std::vector<std::string>{"Invalid EndBlock calling", "  X", "    y", "      Inner",
                                      "        z", "      Inner", "  X", "back at zero"}));
}

TEST_F(LogTest, FormatErrorsRaiseBeforeAnythingIsWritten) {
  EXPECT_THROW(log_.log().AddFmt("%s and %s", {"one"}, aullError), EFormatError);
  EXPECT_FALSE(env_.FileExists(log_.log().FileName()));
}

TEST_F(LogTest, MessagesOfConcurrentWritersNeverInterleave) {
  constexpr int kThreads = 4;
  constexpr int kMessages = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([this, t] {
      const std::string id = std::to_string(t);
      for (int i = 0; i < kMessages; ++i) {
        log_.log().WriteImmediatly(id + "-first\r\n" + id + "-second", aullWaring);
      }
    });
  }
  for (std::thread& th : threads) th.join();
  const std::vector<std::string> lines = log_.Lines();
  ASSERT_EQ(lines.size(), 2u * kThreads * kMessages);
  for (size_t i = 0; i < lines.size(); i += 2) {
    const std::string id = lines[i].substr(0, 1);
    ASSERT_EQ(lines[i], id + "-first");
    ASSERT_EQ(lines[i + 1], "->" + id + "-second");
  }
}

TEST(LogStartupTest, CreatesTheDataFolderAndMovesAnOldLogIntoIt) {
  SandboxEnv env;
  env.Put("var/lib/Velmora/VLAppUpdater/VLAppUpdater.log", "replaced\r\n");
  const std::string beside = env.Put("bin/VLAppUpdater.log", "from beside the executable\r\n");
  std::unique_ptr<TauLog> log = StartLog(&env);
  EXPECT_EQ(log->FileName(), env.DataFolder() + "VLAppUpdater.log");
  EXPECT_EQ(env.Read(log->FileName()), "from beside the executable\r\n");
  EXPECT_FALSE(env.FileExists(beside));

  SandboxEnv fresh;
  std::unique_ptr<TauLog> fresh_log = StartLog(&fresh);
  EXPECT_TRUE(fresh.DirectoryExists(fresh.DataFolder()));
  EXPECT_FALSE(fresh.FileExists(fresh_log->FileName()));
}

}  // namespace
}  // namespace vlau
