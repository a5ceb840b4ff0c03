#include <gtest/gtest.h>

#include <stdexcept>

#include "foundation/app_updater_error.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

// A sandbox whose settings file can be made unreadable.
class SettingsEnv : public SandboxEnv {
 public:
  bool unreadable = false;
  Status ReadFileToString(const std::string& path, std::string* data) override {
    if (unreadable && path.find(".ini") != std::string::npos &&
        path.find("Ident") == std::string::npos) {
      return Status::Error(path + ": Permission denied", 13);
    }
    return SandboxEnv::ReadFileToString(path, data);
  }
};

class SettingsLoaderTest : public ::testing::Test {
 protected:
  SettingsLoaderTest() : log_(&env_, env_.Path("test.log")) {
    env_.PutIdentifier();
    settings_ = std::make_unique<ScopedSettings>(&env_);
  }
  TauSettings& s() { return settings_->settings(); }
  const TauSettingCommon& common() { return s().Common(); }
  void Load(const std::string& ini) { s().LoadFromIni(env_.Put("settings.ini", ini)); }

  SettingsEnv env_;
  ScopedLog log_;
  std::unique_ptr<ScopedSettings> settings_;
};

TEST_F(SettingsLoaderTest, MissingFileIsLoggedAndChangesNothing) {
  const std::string path = env_.Path("missing.ini");
  s().LoadFromIni(path);
  EXPECT_EQ(log_.Lines(), (std::vector<std::string>{
                              "  Load settings from file",
                              "    Load setting from \"" + path + "\".",
                              "    File \"" + path + "\" not found! Use default settings.",
                              "  Load settings from file",
                          }));
  EXPECT_EQ(common().CheckInterval(), 60);
  EXPECT_TRUE(common().Log());
  EXPECT_EQ(common().LogLevel(), (TauLogLevels{aullWaring, aullError, aullUpdate}));
  EXPECT_EQ(common().Port(), 0);
  EXPECT_EQ(s().SourceCount(), 0);

  Load("[SOURCE]\nSHARE=A\n");
  ASSERT_EQ(s().SourceCount(), 1);
  s().LoadFromIni(path);  // a deleted file keeps the last groups
  EXPECT_EQ(s().SourceCount(), 1);
}

TEST_F(SettingsLoaderTest, EmptyCommonSectionGivesDefaultsAndKeepsCurrentValues) {
  Load("[COMMON]\nCheckInterval=30\nLog=0\nUseNextSourceIfErrorHappen=0\nLogLevel=WD\nPort=1\n");
  Load("");
  EXPECT_EQ(common().CheckInterval(), 30);              // kept
  EXPECT_FALSE(common().Log());                         // kept
  EXPECT_FALSE(common().UseNextSourceIfErrorHappen());  // kept
  EXPECT_EQ(common().LogLevel(), TauLogLevels{});       // rebuilt: empty
  EXPECT_EQ(common().Port(), 19981);                    // its own default
}

TEST_F(SettingsLoaderTest, CommonValues) {
  struct Case {
    std::string line;
    int interval;
    bool log;
    TauLogLevels levels;
  };
  // Before each case: CheckInterval 30, Log true.
  const std::vector<Case> cases = {
      {"CheckInterval=14", 60, true, {}},
      {"CheckInterval=15", 15, true, {}},
      {"CheckInterval=240", 240, true, {}},
      {"CheckInterval=241", 60, true, {}},
      {"CheckInterval=abc", 30, true, {}},
      {"CheckInterval=$10", 16, true, {}},
      {"CheckInterval=0x20", 32, true, {}},
      {"CheckInterval= 45 ", 45, true, {}},
      {"Log=0", 30, false, {}},
      {"Log=2", 30, true, {}},
      {"Log=True", 30, true, {}},
      {"LogLevel=weud", 30, true, {}},
      {"LogLevel=Detail", 30, true, {aullDetail}},
      {"LogLevel=EUD", 30, true, {aullError, aullUpdate, aullDetail}},
      {"LogLevel=DUEW", 30, true, {aullWaring, aullError, aullUpdate, aullDetail}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Load("[COMMON]\nCheckInterval=30\nLog=1\n");
    Load("[common]\n" + c.line + "\n");
    EXPECT_EQ(common().CheckInterval(), c.interval);
    EXPECT_EQ(common().Log(), c.log);
    EXPECT_EQ(common().LogLevel(), c.levels);
  }
}

TEST_F(SettingsLoaderTest, SummaryLineAfterTheLevelsJustRead) {
  Load("[COMMON]\nCheckInterval=20\nLogLevel=EDW\nUseNextSourceIfErrorHappen=0\n");
  const std::vector<std::string> lines = log_.Lines();
  EXPECT_EQ(lines[2], "    Common settings loaded");
  EXPECT_EQ(lines[3],
            "    Settings: Check interval=20, Log=True, Loglevel=WED, "
            "UseNextSourceIfErrorHappen=False, Identifier={6B29FC40-CA47-1067-B31D-00DD010662DA}");
  EXPECT_EQ(lines[4], "    Load sources settings...");
}

TEST_F(SettingsLoaderTest, SourceGroupsFollowTheSourceLines) {
  Load(
      "[SOURCE]\n"
      "ORACLE=X\n"
      "share=A, B\n"
      "LOCAL=Y\n"
      "PG=\n"
      "SHARE=ignored, because the first SHARE line's names win\n"
      "ftp=\"Main Store\", Other\n"
      "[SHARE_A]\nUNC=  /srv/share  \n"
      "[SHARE_B]\nUNC=/srv/b/\n"
      "[PG_X]\nPort=1\n"
      "[FTP_Main Store]\nHost=ftp.local\n");
  ASSERT_EQ(s().SourceCount(), 4);
  EXPECT_EQ(s().GetSourseItem(0).auSource(), ausOracle);
  EXPECT_EQ(s().GetSourseItem(1).auSource(), ausShare);
  EXPECT_EQ(s().GetSourseItem(2).auSource(), ausShare);
  EXPECT_EQ(s().GetSourseItem(3).auSource(), ausFTP);

  for (int group : {1, 2}) {
    const TauSettingSource& shares = s().GetSourseItem(group);
    ASSERT_EQ(shares.Count(), 2);
    EXPECT_EQ(shares.GetItem(0).Name(), "A");
    EXPECT_EQ(dynamic_cast<TauSettingShare&>(shares.GetItem(0)).UNC(), "/srv/share/");
    EXPECT_EQ(dynamic_cast<TauSettingShare&>(shares.GetItem(1)).UNC(), "/srv/b/");
  }
  EXPECT_EQ(s().SourceShare(), &s().GetSourseItem(1));
  EXPECT_EQ(s().SourceOracle(), &s().GetSourseItem(0));
  EXPECT_EQ(s().SourcePG(), nullptr);

  const auto& ftp = dynamic_cast<TauSettingFTP&>(s().GetSourseItem(3).GetItem(0));
  EXPECT_EQ(ftp.Name(), "Main Store");
  EXPECT_EQ(ftp.Host, "ftp.local");
  EXPECT_EQ(ftp.Port, 1521);

  EXPECT_THROW(s().GetSourseItem(4), std::out_of_range);
  EXPECT_THROW(s().GetSourseItem(-1), std::out_of_range);
  EXPECT_THROW(s().GetSourseItem(0).GetItem(1), std::out_of_range);
}

TEST_F(SettingsLoaderTest, MissingSectionsGiveDefaults) {
  Load("[SOURCE]\nORACLE=O\nPG=P\nSHARE=S\nHTTP=H\n[HTTP_H]\nURL=http://x/\n");
  const auto& oracle = dynamic_cast<TauSettingOracle&>(s().SourceOracle()->GetItem(0));
  EXPECT_TRUE(oracle.Net);
  EXPECT_EQ(oracle.Port, 1521);
  EXPECT_EQ(oracle.Host + oracle.SID + oracle.TnsName + oracle.Username + oracle.Password +
                oracle.UpdateSchema,
            "");
  const auto& pg = dynamic_cast<TauSettingPG&>(s().SourcePG()->GetItem(0));
  EXPECT_EQ(pg.Port, 5432);
  EXPECT_EQ(dynamic_cast<TauSettingShare&>(s().SourceShare()->GetItem(0)).UNC(), "/");
  EXPECT_EQ(dynamic_cast<TauSettingHttp&>(s().GetSourseItem(3).GetItem(0)).Url, "http://x/");
}

TEST_F(SettingsLoaderTest, EveryKindReadsItsOwnKeysAndLogsItsLine) {
  Load(
      "[COMMON]\nLogLevel=D\n"
      "[SOURCE]\nSHARE=S\nORACLE=O\nPG=P\nFTP=F\nHTTP=H\n"
      "[SHARE_S]\nUNC=/srv/s\n"
      "[ORACLE_O]\nNet=0\nHost=ora.local\nPort=1600\nSid=ORCL\nTnsName=TNS\n"
      "Username=ou\nPassword=op\nUpdateSchema=OS\n"
      "[PG_P]\nHost=pg.local\nPort=6543\nDatabase=db\nUsername=pu\nPassword=pp\n"
      "UpdateSchema=PS\n"
      "[FTP_F]\nHost=ftp.local\nPort=21\nUsername=fu\nPassword=fp\n"
      "[HTTP_H]\nURL=http://h/\nUsername=hu\nPassword=hp\n");
  const std::vector<std::string> lines = log_.Lines();
  EXPECT_EQ(std::vector<std::string>(lines.end() - 7, lines.end()),
            (std::vector<std::string>{"    Load sources settings...", "    Load share settings...",
                                      "    Load Oracle settings...", "    Load PG settings...",
                                      "    Load FTP settings...", "    Load Http settings...",
                                      "  Load settings from file"}));
  ASSERT_EQ(s().SourceCount(), 5);
  EXPECT_EQ(dynamic_cast<TauSettingShare&>(s().GetSourseItem(0).GetItem(0)).UNC(), "/srv/s/");
  const auto& o = dynamic_cast<TauSettingOracle&>(s().GetSourseItem(1).GetItem(0));
  EXPECT_FALSE(o.Net);
  EXPECT_EQ(
      std::vector<std::string>({o.Host, o.SID, o.TnsName, o.Username, o.Password, o.UpdateSchema}),
      std::vector<std::string>({"ora.local", "ORCL", "TNS", "ou", "op", "OS"}));
  EXPECT_EQ(o.Port, 1600);
  const auto& p = dynamic_cast<TauSettingPG&>(s().GetSourseItem(2).GetItem(0));
  EXPECT_EQ(std::vector<std::string>({p.Host, p.DataBase, p.Username, p.Password, p.UpdateSchema}),
            std::vector<std::string>({"pg.local", "db", "pu", "pp", "PS"}));
  EXPECT_EQ(p.Port, 6543);
  const auto& f = dynamic_cast<TauSettingFTP&>(s().GetSourseItem(3).GetItem(0));
  EXPECT_EQ(std::vector<std::string>({f.Host, f.Username, f.Password}),
            std::vector<std::string>({"ftp.local", "fu", "fp"}));
  EXPECT_EQ(f.Port, 21);
  const auto& h = dynamic_cast<TauSettingHttp&>(s().GetSourseItem(4).GetItem(0));
  EXPECT_EQ(std::vector<std::string>({h.Url, h.Username, h.Password}),
            std::vector<std::string>({"http://h/", "hu", "hp"}));

  // A line without names still logs its kind's line but makes no group.
  Load("[COMMON]\nLogLevel=D\n[SOURCE]\nPG=\n");
  EXPECT_EQ(log_.Lines().end()[-2], "    Load PG settings...");
  EXPECT_EQ(s().SourceCount(), 0);
}

TEST_F(SettingsLoaderTest, LoadsWithoutTheGlobalLog) {
  TauLog* const log = auLog;
  auLog = nullptr;
  Load("[COMMON]\nCheckInterval=20\n[SOURCE]\nSHARE=A\n");
  s().LoadFromIni(env_.Path("missing.ini"));
  auLog = log;
  EXPECT_EQ(common().CheckInterval(), 20);
  EXPECT_EQ(s().SourceCount(), 1);
  EXPECT_TRUE(log_.Lines().empty());
}

TEST_F(SettingsLoaderTest, UnreadableFileRaisesAndKeepsTheSettings) {
  Load("[COMMON]\nCheckInterval=30\n[SOURCE]\nSHARE=A\n");
  env_.unreadable = true;
  EXPECT_THROW(Load("[COMMON]\nCheckInterval=90\n"), std::runtime_error);
  EXPECT_EQ(common().CheckInterval(), 30);
  EXPECT_EQ(s().SourceCount(), 1);
  EXPECT_EQ(log_.Lines().back(), "  Load settings from file");  // block closed
}

TEST(SettingSourceTest, AddChecksTheClassOfTheKind) {
  TauSettingSource shares(ausShare);
  EXPECT_EQ(&shares.Add(std::make_unique<TauSettingShare>("A")), &shares);
  try {
    shares.Add(std::make_unique<TauSettingPG>("B"));
    FAIL() << "no error";
  } catch (const EAppUpdater& e) {
    EXPECT_EQ(e.ErrorCode, 2);
  }
  for (TauSource kind : {ausUndefined, ausServerUdpate}) {
    TauSettingSource group(kind);
    try {
      group.Add(std::make_unique<TauSettingShare>("A"));
      FAIL() << "no error";
    } catch (const EAppUpdater& e) {
      EXPECT_EQ(e.ErrorCode, 3);
    }
  }
  EXPECT_EQ(shares.Count(), 1);
}

TEST(SettingsFileTest, TakesOverAFileBesideTheExecutable) {
  SandboxEnv env;
  env.CreateDirs(env.DataFolder());
  const std::string beside = env.Put("bin/VLAppUpdater.ini", "[COMMON]\nCheckInterval=20\n");
  const std::string path = GetSettingsFileName(&env);
  EXPECT_EQ(path, env.DataFolder() + "VLAppUpdater.ini");
  EXPECT_EQ(env.Read(path), "[COMMON]\nCheckInterval=20\n");
  EXPECT_FALSE(env.FileExists(beside));

  // Once the data folder holds one, a file beside the executable stays there.
  env.Put("bin/VLAppUpdater.ini", "newer");
  GetSettingsFileName(&env);
  EXPECT_EQ(env.Read(path), "[COMMON]\nCheckInterval=20\n");
}

}  // namespace
}  // namespace vlau
