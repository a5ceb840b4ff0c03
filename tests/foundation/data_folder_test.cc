#include "foundation/data_folder.h"

#include <gtest/gtest.h>

#include "foundation/build_version.h"
#include "foundation/path_util.h"
#include "settings/settings_file.h"
#include "tests/support/sandbox_env.h"

namespace vlau {
namespace {

// A sandbox whose common folder and executable path are set by the test, and
// whose renames can be made to fail (as across file systems).
class FolderEnv : public SandboxEnv {
 public:
  std::string common_folder;
  bool renames_fail = false;
  std::string CommonFolderPath(CommonFolder) override { return common_folder; }
  Status RenameFile(const std::string& from, const std::string& to) override {
    if (renames_fail) return Status::Error("Invalid cross-device link", 18);
    return SandboxEnv::RenameFile(from, to);
  }
};

TEST(DataFolderTest, FolderAndFileNames) {
  struct Case {
    std::string common_folder;
    std::string executable;
    std::string folder;
    std::string log_file;
  };
  const std::vector<Case> cases = {
      {"/var/lib/", "/opt/bin/VLAppUpdater.exe", "/var/lib/Velmora/VLAppUpdater/",
       "/var/lib/Velmora/VLAppUpdater/VLAppUpdater.log"},
      {"/var/lib", "/opt/bin/VLAppUpdater", "/var/lib/Velmora/VLAppUpdater/",
       "/var/lib/Velmora/VLAppUpdater/VLAppUpdater.log"},
      {"", "/opt/my.app/VLAppUpdater", "/Velmora/VLAppUpdater/",
       "/Velmora/VLAppUpdater/VLAppUpdater.log"},
      {"/data/", "/opt/bin/vl.app.updater", "/data/Velmora/VLAppUpdater/",
       "/data/Velmora/VLAppUpdater/vl.app.log"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.common_folder + " " + c.executable);
    FolderEnv env;
    env.common_folder = c.common_folder;
    env.SetExecutablePath(c.executable);
    EXPECT_EQ(GetDataFolder(&env), c.folder);
    EXPECT_EQ(GetDataFileName(&env, ".log"), c.log_file);
  }
}

TEST(DataFolderTest, FilesBesideTheExecutableAreCopiedWhereTheyCannotBeMoved) {
  FolderEnv env;
  env.common_folder = env.Path("var/lib/");
  env.renames_fail = true;
  env.CreateDirs(GetDataFolder(&env));
  const std::string beside = env.Put("bin/VLAppUpdater.ini", "[COMMON]\n");
  const std::string path = GetSettingsFileName(&env);
  EXPECT_EQ(env.Read(path), "[COMMON]\n");
  EXPECT_FALSE(env.FileExists(beside));
}

TEST(BuildVersionTest, FirstLineOfTheVersionFile) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1.0.0.29", "1.0.0.29"},
      {"1.0.0.29\r\nx", "1.0.0.29"},
      {"1.0.0.29\rx", "1.0.0.29"},
      {"\nsecond", ""},
      {"", ""},
      {"\xEF\xBB\xBF", ""},
      {" 1.0 \n", " 1.0 "},
  };
  for (const auto& [text, line] : cases) {
    SCOPED_TRACE(::testing::PrintToString(text));
    EXPECT_EQ(FirstLine(text), line);
  }
}

TEST(PathUtilTest, FileNamePartsAndSeparators) {
  EXPECT_EQ(ChangeFileExt("/a.b/c", ".ini", '/'), "/a.b/c.ini");
  EXPECT_EQ(ChangeFileExt("/a/c.tar.gz", ".ini", '/'), "/a/c.tar.ini");
  EXPECT_EQ(ChangeFileExt("c.exe", ".log", '/'), "c.log");
  EXPECT_EQ(ExtractFilePath("/a/b/c", '/'), "/a/b/");
  EXPECT_EQ(ExtractFilePath("c", '/'), "");
  EXPECT_EQ(ExtractFileName("/a/b/c", '/'), "c");
  EXPECT_EQ(IncludeTrailingSeparator("", '/'), "/");
  EXPECT_EQ(IncludeTrailingSeparator("/a/", '/'), "/a/");
  EXPECT_EQ(ExcludeTrailingSeparator("/tmp//", '/'), "/tmp");
}

TEST(PathUtilTest, DriveColonEndsTheFolderOnlyWithBackslashes) {
  struct Case {
    std::string path;
    char sep;
    std::string folder, name;
  };
  const std::vector<Case> cases = {
      {"C:\\App\\Tool.exe", '\\', "C:\\App\\", "Tool.exe"},
      {"C:Tool.exe", '\\', "C:", "Tool.exe"},
      {"Tool.exe", '\\', "", "Tool.exe"},
      {"/opt/a:b/Tool", '/', "/opt/a:b/", "Tool"},
      {"/opt/a:Tool", '/', "/opt/", "a:Tool"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExtractFilePathWithDrive(c.path, c.sep), c.folder);
    EXPECT_EQ(ExtractFileNameWithDrive(c.path, c.sep), c.name);
  }
}

}  // namespace
}  // namespace vlau
