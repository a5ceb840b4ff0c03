// The real program, run as a child process inside a sandbox root.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/env.h"
#include "tests/support/program_runner.h"
#include "tests/support/scoped_globals.h"
#include "tests/support/temp_dir.h"

namespace vlau {
namespace {

class ProgramTest : public ::testing::Test {
 protected:
  std::map<std::string, std::string> Vars() const {
    return {{"VLAPPUPD_ROOT", root_.path()}, {"TMPDIR", root_.path() + "tmp"}};
  }
  ProgramResult Run(std::vector<std::string> args) {
    return RunProgramToEnd(std::move(args), Vars(), out_.path());
  }
  std::string File(const std::string& relative) {
    std::string data;
    Env::Default()->ReadFileToString(root_.path() + relative, &data);
    return data;
  }
  bool Exists(const std::string& relative) {
    return Env::Default()->FileExists(root_.path() + relative);
  }
  std::vector<std::string> LogLines() {
    return LogTextLines(File("var/lib/Velmora/VLAppUpdater/VLAppUpdater.log"));
  }

  TempDir root_, out_;
  const std::string unit_ = "etc/systemd/system/VLAppUpd.service";
};

TEST_F(ProgramTest, InstallWritesTheUnitWithItsDescriptionAndUninstallRemovesIt) {
  const std::string version = Env::Default()->GetFileVersionString(VLAU_PROGRAM_PATH);
  ASSERT_FALSE(version.empty());

  ProgramResult r = Run({"-install", "-silent"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string unit = File(unit_);
  EXPECT_NE(unit.find("\nDescription=Autoupdate Velmora applications v." + version + "\n"),
            std::string::npos)
      << unit;
  EXPECT_NE(unit.find("ExecStart=" + std::string(VLAU_PROGRAM_PATH)), std::string::npos);
  EXPECT_NE(unit.find("Environment=TMPDIR=/var/tmp"), std::string::npos);
  EXPECT_EQ(LogLines().back(), "Add/update service description");

  r = Run({"/UNINSTALL"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "Service uninstalled successfully\n");
  EXPECT_FALSE(Exists(unit_));

  r = Run({"-uninstall", "-silent"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("failed to uninstall"), std::string::npos);
}

TEST_F(ProgramTest, OnceCreatesTheDataFolderLogAndIdentifier) {
  ProgramResult r = Run({"-once"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(File("var/lib/Velmora/VLAppUpdater/VLAppUpdater.log").substr(0, 3), "\xEF\xBB\xBF");
  const std::string ident = File("var/lib/Velmora/VLAppUpdater/Ident.ini");
  EXPECT_EQ(ident.rfind("[COMMON]\r\nIdentifier={", 0), 0u) << ident;
  EXPECT_EQ(LogLines().front(), "Unique identifier not assigned - create it");
  const size_t first_run = LogLines().size();

  r = Run({"-once"});  // the identifier is read back and kept
  EXPECT_EQ(File("var/lib/Velmora/VLAppUpdater/Ident.ini"), ident);
  const std::vector<std::string> lines = LogLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Unique identifier not assigned - create it"),
            1);
  EXPECT_GT(lines.size(), first_run);
}

TEST_F(ProgramTest, OnceRunsOneWholeCycle) {
  Env::Default()->CreateDirs(root_.path() + "var/lib/Velmora/VLAppUpdater/");
  Env::Default()->WriteStringToFile(root_.path() + "var/lib/Velmora/VLAppUpdater/VLAppUpdater.ini",
                                    "[COMMON]\r\nLogLevel=WEUD\r\n[SOURCE]\r\nFTP=F\r\n");
  ProgramResult r = Run({"-once"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::vector<std::string> outline;
  for (const std::string& line : LogLines()) {
    const std::string text = line.substr(line.find_first_not_of(' '));
    if (text == "ProcessUpdates" || text == "auInit" || text == "auProcess" ||
        text.rfind("Source", 0) == 0) {
      outline.push_back(line);
    }
  }
  EXPECT_EQ(outline, (std::vector<std::string>{"  ProcessUpdates", "      auInit", "      auInit",
                                               "      auProcess", "        Sources count: 1",
                                               "        Source 0 is FTP.", "      auProcess",
                                               "  ProcessUpdates"}));
}

TEST_F(ProgramTest, ABuildDeliveredByAShareRestartsTheService) {
  // A copy of the program whose share delivers a new version.txt beside it.
  Env* env = Env::Default();
  const std::string bin = root_.path() + "bin/", share = root_.path() + "share/";
  const std::string data = root_.path() + "var/lib/Velmora/VLAppUpdater/";
  for (const std::string& dir : {bin, share + "Self/", data}) env->CreateDirs(dir);
  ASSERT_TRUE(env->CopyFileContents(VLAU_PROGRAM_PATH, bin + "VLAppUpdater").ok());
  env->WriteStringToFile(bin + "version.txt", "1.0.0.29\r\n");
  env->WriteStringToFile(share + "Self/version.txt", "1.0.0.30\r\n");
  env->WriteStringToFile(share + "AppUpdater.ini", "[HOSTS]\n0.0.0.0-255.255.255.255=Self\n");
  env->WriteStringToFile(share + "SelfApp.ini",
                         "[FILES]\nSelf/version.txt=" + bin + ";1.0.0.30\n[SCRIPT]\nUpdate=1\n");
  env->WriteStringToFile(
      data + "VLAppUpdater.ini",
      "[COMMON]\nLogLevel=WEU\n[SOURCE]\nSHARE=S\n[SHARE_S]\nUNC=" + share + "\n");

  ProgramResult r = RunProgramToEnd({"-once"}, Vars(), out_.path(), bin + "VLAppUpdater");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(File("bin/version.txt"), "1.0.0.30\r\n");
  const std::string script = root_.path() + "tmp/VlAppUpdRestart.sh";
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
            (std::vector<std::string>{"Service update found.",
                                      "Create cmd restart file \"" + script + "\"",
                                      "Run cmd restart file \"" + script + "\"", "Shutdown"}));
  EXPECT_EQ(File("tmp/VlAppUpdRestart.sh"), "systemctl stop VLAppUpd\nsystemctl start VLAppUpd\n");
}

TEST_F(ProgramTest, ConsoleRunStopsWithinASecondOfSigterm) {
  ProgramRunner runner({"-console"}, Vars(), out_.path());
  const auto started = std::chrono::steady_clock::now();
  auto has = [this](const std::string& line) {
    const std::vector<std::string> lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  while (!has("Start")) {
    ASSERT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const auto stop_sent = std::chrono::steady_clock::now();
  runner.RequestStop();
  ASSERT_TRUE(runner.Wait(std::chrono::seconds(5)));
  EXPECT_LT(std::chrono::steady_clock::now() - stop_sent, std::chrono::seconds(1));
  EXPECT_EQ(runner.exit_code(), 0);
  EXPECT_TRUE(has("Stop"));
}

TEST_F(ProgramTest, UnknownSwitchPrintsUsageAndTouchesNothing) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"-bogus"}, {"install"}, {"-once", "-console"}}) {
    SCOPED_TRACE(::testing::PrintToString(args));
    ProgramResult r = Run(args);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find("Usage: VLAppUpdater"), std::string::npos);
    EXPECT_FALSE(Env::Default()->DirectoryExists(root_.path() + "var/"));
  }
}

}  // namespace
}  // namespace vlau
