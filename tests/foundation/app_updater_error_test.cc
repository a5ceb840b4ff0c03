#include "foundation/app_updater_error.h"

#include <gtest/gtest.h>

#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

TEST(AppUpdaterErrorTest, MessageTable) {
  const std::vector<std::pair<int, std::string>> cases = {
      {0, "Undefined error code!"},
      {1, "File not found!"},
      {2, "Invalid class!"},
      {3, "Source not supported!"},
      {4, "Error while load settings from \"%s\"! Original error: %s"},
      {5, "Directory \"%s\" does not exists."},
      {6, "Not handled an error during the upgrade process. Original error message: %s"},
      {7, "Host not defined: %s"},
      {8, "Port not defined: %s"},
      {9, "Undefined error code!"},
      {-1, "Undefined error code!"},
  };
  for (const auto& [code, text] : cases) {
    SCOPED_TRACE(code);
    const EAppUpdater e(code);
    EXPECT_EQ(e.what(), text);  // unformatted
    EXPECT_EQ(e.ErrorCode, code);
  }
}

TEST(AppUpdaterErrorTest, ProceduresWriteTheMessageOnly) {
  SandboxEnv env;
  ScopedLog log(&env, env.Path("errors.log"));
  LogErrorCode(1, {"C:/some/file.txt"});
  LogErrorCode(6, {"X"});
  LogErrorCode(5, {"/share/"});
  LogError("Unexpected error: boom", 0);
  LogErrorFmt("File \"%s\" not found! Use default settings.", {"a.ini"}, 1);
  EXPECT_EQ(log.Lines(),
            (std::vector<std::string>{
                "File not found!",
                "Not handled an error during the upgrade process. Original error message: X",
                "Directory \"/share/\" does not exists.", "Unexpected error: boom",
                "File \"a.ini\" not found! Use default settings."}));
}

TEST(AppUpdaterErrorTest, NothingIsWrittenWithoutTheErrorLevel) {
  SandboxEnv env;
  env.PutIdentifier();
  ScopedLog log(&env, env.Path("errors.log"));
  ScopedSettings settings(&env);
  settings.settings().Common().SetLogLevel({aullWaring, aullUpdate, aullDetail});
  LogError("x", 0);
  LogErrorFmt("%s", {"y"}, 0);
  LogErrorCode(1, {});
  EXPECT_EQ(log.Lines(), std::vector<std::string>{});
}

TEST(AppUpdaterErrorTest, MissingArgumentsRaiseInsteadOfLogging) {
  SandboxEnv env;
  ScopedLog log(&env, env.Path("errors.log"));
  EXPECT_THROW(LogErrorCode(4, {"only one"}), EFormatError);
  EXPECT_FALSE(env.FileExists(log.log().FileName()));
}

}  // namespace
}  // namespace vlau
