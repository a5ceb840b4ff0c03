#include "appdesc/app_settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/memory_env.h"

namespace vlau {
namespace {

using Entries = std::vector<std::string>;

class TAppSettingsTest : public ::testing::Test {
 protected:
  TAppSettingsTest() {
    env_.SetProgramFilesFolder("/m/opt/");
    env_.SetTempFolder("/tmp/");
    env_.SetCommonFolder(CommonFolder::kDocuments, "/m/srv/");
    env_.SetCommonFolder(CommonFolder::kStartMenu, "/m/apps/");
    env_.SetCommonFolder(CommonFolder::kProgramsMenu, "/m/apps/");
    env_.SetCommonFolder(CommonFolder::kStartup, "/m/etc/xdg/autostart/");
    env_.SetCommonFolder(CommonFolder::kDesktop, "/m/desktop/");
    env_.SetCommonFolder(CommonFolder::kAppData, "/m/var/lib/");
  }

  // The predefined variables followed by `more`.
  static Entries Predefined(const Entries& more = {}) {
    Entries entries = {"PROGRAMFILES=/m/opt/",
                       "TEMP=/tmp/",
                       "ALLUSERSDOCUMENTS=/m/srv/",
                       "PUBLICDOCUMENTS=/m/srv/",
                       "ALLUSERSSTARTMENU=/m/apps/",
                       "ALLUSERSPROGRAMSMENU=/m/apps/",
                       "ALLUSERSSTARTUP=/m/etc/xdg/autostart/",
                       "ALLUSERSDESKTOP=/m/desktop/",
                       "ALLUSERSAPPDATA=/m/var/lib/"};
    entries.insert(entries.end(), more.begin(), more.end());
    return entries;
  }

  MemoryEnv env_;
};

TEST_F(TAppSettingsTest, LoadsAndExpandsEachSection) {
  struct Case {
    const char* name;
    std::optional<std::string> descriptor;  // nullopt: no file
    Entries vars;                           // after the predefined ones
    Entries files;
    Entries shortcuts;
    Entries script;
  };
  const std::vector<Case> cases = {
      {"missing file", std::nullopt, {}, {}, {}, {}},
      {"empty file", "", {}, {}, {}, {}},
      {"variables build on each other",
       "[VARIABLES]\nBASE=%PROGRAMFILES%AppDir/\nBIN=%BASE%Bin/\n"
       "[FILES]\nAppDir\\Bin\\Tool.exe=%BIN%;1.0.0.7\n%BIN%Tool.exe=%BIN%\n",
       {"BASE=/m/opt/AppDir/", "BIN=/m/opt/AppDir/Bin/"},
       {"AppDir\\Bin\\Tool.exe=/m/opt/AppDir/Bin/;1.0.0.7", "%BIN%Tool.exe=/m/opt/AppDir/Bin/"},
       {},
       {}},
      {"predefined TEMP comes first",
       "[VARIABLES]\nTEMP=/elsewhere/\n[FILES]\na=%TEMP%x/\n",
       {"TEMP=/elsewhere/"},
       {"a=/tmp/x/"},
       {},
       {}},
      {"empty variable kept, expands to nothing",
       "[VARIABLES]\nE=\n[FILES]\nf=%E%/d/\n[SCRIPT]\nRun=%E%\n",
       {"E="},
       {"f=/d/"},
       {},
       {}},
      {"entries empty after expansion dropped",
       "[SCRIPT]\nUpdate=\nDelete=  \nRun=go\n",
       {},
       {},
       {},
       {"Run=go"}},
      {"forward reference resolved in later sections",
       "[VARIABLES]\nA=%B%x\nB=y\n[FILES]\nf=%A%/\n",
       {"A=%B%x", "B=y"},
       {"f=yx/"},
       {},
       {}},
      {"earlier key of the same section",
       "[FILES]\nbase=/d/\nsub=%base%s/\nup=%sub%\n",
       {},
       {"base=/d/", "sub=/d/s/", "up=/d/s/"},
       {},
       {}},
      {"sections ignore case, file order of sections does not matter",
       "[script]\nUpdate=%BASE%\n[Shortcuts]\nApp\\Tool.exe=LinkFileName=Tool;"
       "Folder=%ALLUSERSPROGRAMSMENU%Vendor/\n[Other]\nx=1\n[REG]\nr=%BASE%\n"
       "[variables]\nBASE=%PROGRAMFILES%App/\n",
       {"BASE=/m/opt/App/"},
       {},
       {"App\\Tool.exe=LinkFileName=Tool;Folder=/m/apps/Vendor/"},
       {"Update=/m/opt/App/"}},
      {"values follow the INI rules",
       "[FILES]\n  a  =  \" %TEMP% \"  \n; b=/x/\n[SCRIPT]\nUpdate=1\nUPDATE=2\n",
       {},
       {"a= /tmp/ "},
       {},
       {"Update=1", "UPDATE=1"}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    const std::string path = "/share/Case" + std::to_string(i) + "App.ini";
    if (c.descriptor) env_.SetFile(path, *c.descriptor);
    const TAppSettings settings = TAppSettings::CreateFromIni(&env_, path);
    EXPECT_EQ(settings.PredefinedLocalVars().Vars(), Predefined());
    EXPECT_EQ(settings.Vars().Vars(), Predefined(c.vars));
    EXPECT_EQ(settings.Files().Vars(), c.files);
    EXPECT_EQ(settings.Shortcuts().Vars(), c.shortcuts);
    EXPECT_EQ(settings.Script().Vars(), c.script);
  }
}

TEST_F(TAppSettingsTest, EveryLoadStartsAfresh) {
  TAppSettings settings(&env_);
  EXPECT_EQ(settings.Vars().Vars(), Predefined());
  EXPECT_EQ(settings.Files().Count(), 0);

  env_.SetFile("/a/OneApp.ini", "[VARIABLES]\nV=1\n[FILES]\none=%TEMP%\n[SCRIPT]\nUpdate=1\n");
  env_.SetFile("/a/TwoApp.ini", "[FILES]\ntwo=%TEMP%\n");
  settings.LoadFromIni("/a/OneApp.ini");
  settings.LoadFromIni("/a/OneApp.ini");
  EXPECT_EQ(settings.Vars().Vars(), Predefined({"V=1"}));
  EXPECT_EQ(settings.Files().Vars(), (Entries{"one=/tmp/"}));

  // The folders are read again at every load.
  env_.SetTempFolder("/var/tmp");
  settings.LoadFromIni("/a/TwoApp.ini");
  EXPECT_EQ(settings.Vars().GetValue("TEMP"), "/var/tmp/");
  EXPECT_EQ(settings.PredefinedLocalVars().GetValue("TEMP"), "/var/tmp/");
  EXPECT_EQ(settings.Vars().Count(), 9);
  EXPECT_EQ(settings.Files().Vars(), (Entries{"two=/var/tmp/"}));
  EXPECT_EQ(settings.Script().Count(), 0);

  settings.LoadFromIni("/a/MissingApp.ini");
  EXPECT_EQ(settings.Vars().Count(), 9);
  EXPECT_EQ(settings.Files().Count(), 0);
}

}  // namespace
}  // namespace vlau
