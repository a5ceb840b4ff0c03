#include "appdesc/predefined_vars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/memory_env.h"

namespace vlau {
namespace {

using Entries = std::vector<std::string>;

TEST(PredefinedVarsTest, NineFoldersInOrderEachEndingInSeparator) {
  MemoryEnv env;
  env.SetProgramFilesFolder("/m/opt/");
  env.SetTempFolder("/t");  // separator added
  env.SetCommonFolder(CommonFolder::kDocuments, "/m/srv/");
  env.SetCommonFolder(CommonFolder::kStartMenu, "/m/menu/");
  env.SetCommonFolder(CommonFolder::kProgramsMenu, "/m/programs/");
  // no Startup folder
  env.SetCommonFolder(CommonFolder::kDesktop, "/m/desk");
  env.SetCommonFolder(CommonFolder::kAppData, "/m/var/lib/");
  TAppSettingsVars vars;
  vars.AddVar("FIRST", "1");
  AddPredefinedVars(&env, vars);
  EXPECT_EQ(vars.Vars(),
            (Entries{"FIRST=1", "PROGRAMFILES=/m/opt/", "TEMP=/t/", "ALLUSERSDOCUMENTS=/m/srv/",
                     "PUBLICDOCUMENTS=/m/srv/", "ALLUSERSSTARTMENU=/m/menu/",
                     "ALLUSERSPROGRAMSMENU=/m/programs/", "ALLUSERSSTARTUP=/",
                     "ALLUSERSDESKTOP=/m/desk/", "ALLUSERSAPPDATA=/m/var/lib/"}));
  EXPECT_EQ(vars.GetUpdatedString("%TEMP%Setup/"), "/t/Setup/");
  EXPECT_EQ(vars.GetUpdatedString("%Temp%Setup/"), "%Temp%Setup/");
}

TEST(PredefinedVarsTest, TextUsesDelimiterAndReadsFoldersEachTime) {
  MemoryEnv env;
  env.SetPathSeparator('\\');
  env.SetTempFolder("C:\\Temp");
  EXPECT_EQ(GetPredefinedVarsText(&env, ";"),
            "PROGRAMFILES=\\;TEMP=C:\\Temp\\;ALLUSERSDOCUMENTS=\\;PUBLICDOCUMENTS=\\;"
            "ALLUSERSSTARTMENU=\\;ALLUSERSPROGRAMSMENU=\\;ALLUSERSSTARTUP=\\;"
            "ALLUSERSDESKTOP=\\;ALLUSERSAPPDATA=\\");
  env.SetTempFolder("D:\\Tmp\\");
  env.SetCommonFolder(CommonFolder::kDocuments, "C:\\Users\\Public\\Documents");
  EXPECT_EQ(GetPredefinedVarsText(&env, "|"),
            "PROGRAMFILES=\\|TEMP=D:\\Tmp\\|ALLUSERSDOCUMENTS=C:\\Users\\Public\\Documents\\|"
            "PUBLICDOCUMENTS=C:\\Users\\Public\\Documents\\|ALLUSERSSTARTMENU=\\|"
            "ALLUSERSPROGRAMSMENU=\\|ALLUSERSSTARTUP=\\|ALLUSERSDESKTOP=\\|ALLUSERSAPPDATA=\\");
}

}  // namespace
}  // namespace vlau
