#include "sources/share_file_update.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "sources/work_journal.h"
#include "sources/work_rollback.h"
#include "tests/support/hooked_env.h"
#include "tests/support/share_machine.h"

namespace vlau {
namespace {

using Lines = std::vector<std::string>;

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Records each shortcut the step asks for and writes it.
class ShortcutRecorder : public EnvWrapper {
 public:
  struct Shortcut {
    std::string target, link, working_directory, description, arguments;
  };
  using EnvWrapper::EnvWrapper;
  Status CreateShortcut(const std::string& target, const std::string& link, const std::string& dir,
                        const std::string& desc, const std::string& args) override {
    made.push_back({target, link, dir, desc, args});
    return EnvWrapper::CreateShortcut(target, link, dir, desc, args);
  }
  std::vector<Shortcut> made;
};

class ShareFileUpdateTest : public ::testing::Test {
 protected:
  ShareFileUpdateTest() { Fresh(); }

  // A new machine; the previous one is gone first, as it owns the globals.
  void Fresh() {
    m_.reset();
    m_ = std::make_unique<ShareMachine>();
  }
  SandboxEnv& env() { return m_->env(); }
  std::string Root(const std::string& relative = "") { return env().Path(relative); }
  std::string App(const std::string& relative = "") { return env().Path("opt/App/" + relative); }
  std::string Src(const std::string& key) { return m_->Unc() + key; }
  std::string W(const std::string& name = "") { return m_->WorkDir() + name; }
  bool Update(const TAppSettings& n, const TAppSettings& o, Env* through = nullptr) {
    return UpdateFiles(through ? through : &env(), m_->Unc(), n, o);
  }
  bool JournalComplete() {
    TauWorkJournal::Contents contents;
    EXPECT_TRUE(TauWorkJournal::Read(&env(), W("Journal.txt"), &contents).ok());
    return contents.complete;
  }
  // Three files on the share and installed in an older version.
  void InstallThreeOldFiles() {
    for (const char* name : {"One.exe", "Two.dll", "Three.ini"}) {
      m_->PutShareFile(std::string("Bin/") + name, std::string("new ") + name);
      env().Put(std::string("opt/App/") + name, std::string("old ") + name);
    }
  }
  static std::string ThreeFiles(const std::string& version) {
    return "[FILES]\r\nBin/One.exe=%PROGRAMFILES%App/;" + version +
           "\r\nBin/Two.dll=%PROGRAMFILES%App/;" + version +
           "\r\nBin/Three.ini=%PROGRAMFILES%App/;" + version + "\r\n";
  }

  std::unique_ptr<ShareMachine> m_;
};

TEST_F(ShareFileUpdateTest, FirstInstallMakesDirectoriesAndBacksUpFilesInTheWay) {
  m_->PutShareFile("Bin/Tool.exe", "new tool");
  m_->PutShareFile("Bin/Lib.dll", "new lib");
  m_->PutShareFile("Data/Conf.ini", "new conf");
  env().Put("opt/App/Tool.exe", "old tool");
  const TAppSettings shared = m_->Descriptor(
      "[FILES]\r\n"
      "Bin/Tool.exe=%PROGRAMFILES%App/;1.0.0.2\r\n"
      "Bin/Lib.dll=%PROGRAMFILES%App/Lib/Deep/;2.0\r\n"
      "Data/Conf.ini=%PROGRAMFILES%App/\r\n");

  ASSERT_TRUE(Update(shared, TAppSettings(&env())));
  EXPECT_EQ(m_->LogLines(),
            (Lines{
                "Rename \"" + App("Tool.exe") + "\" to \"" + W("0.dat") + "\".",
                "Copy new file \"" + Src("Bin/Tool.exe") + "\" to \"" + App() + "\".",
                "Create dir \"" + App("Lib/Deep/") + "\".",
                "Copy new file \"" + Src("Bin/Lib.dll") + "\" to \"" + App("Lib/Deep/") + "\".",
                "Copy new file \"" + Src("Data/Conf.ini") + "\" to \"" + App() + "\".",
            }));
  EXPECT_EQ(m_->Content(App("Tool.exe")), "new tool");
  EXPECT_EQ(m_->Content(App("Lib/Deep/Lib.dll")), "new lib");
  EXPECT_EQ(m_->Content(App("Conf.ini")), "new conf");
  EXPECT_EQ(m_->Content(W("0.dat")), "old tool");  // stays until the next run
  EXPECT_TRUE(JournalComplete());

  // The next cycle, with the share's descriptor as the local copy: only the
  // file without a version is copied again, and the old backup is gone.
  const size_t first = m_->LogLines().size();
  ASSERT_TRUE(Update(shared, shared));
  EXPECT_EQ(m_->LogLines(first),
            (Lines{
                "Rename \"" + App("Conf.ini") + "\" to \"" + W("2.dat") + "\".",
                "Copy file \"" + Src("Data/Conf.ini") + "\" to \"" + App() + "\".",
            }));
  EXPECT_FALSE(env().FileExists(W("0.dat")));
  EXPECT_EQ(m_->Content(W("2.dat")), "new conf");
  std::vector<std::string> left;
  ASSERT_TRUE(env().ListDirectory(App(), &left).ok());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Conf.ini", "Lib", "Tool.exe"}));  // nothing pending
}

TEST_F(ShareFileUpdateTest, KnownFilesFollowTheVersionRule) {
  struct Case {
    std::string name;
    std::string old_entry;  // the local copy's FILES line
    std::string new_version;
    bool installed;
    bool copied;
  };
  const std::vector<Case> cases = {
      {"higher build", "Bin/Tool.exe=%PROGRAMFILES%App/;1.0.0.1", "1.0.0.2", true, true},
      {"equal", "Bin/Tool.exe=%PROGRAMFILES%App/;1.0.0.2", "1.0.0.2", true, false},
      {"lower by number, higher as text", "Bin/Tool.exe=%PROGRAMFILES%App/;1.0.0.10", "1.0.0.9",
       true, false},
      {"higher by number, lower as text", "Bin/Tool.exe=%PROGRAMFILES%App/;1.9.0.0", "1.10.0.0",
       true, true},
      {"no new version: every run", "Bin/Tool.exe=%PROGRAMFILES%App/;1.0.0.2", "", true, true},
      {"no old version", "Bin/Tool.exe=%PROGRAMFILES%App/", "1.0.0.1", true, true},
      {"key in another case", "bin/TOOL.exe=%PROGRAMFILES%App/;1.0.0.2", "1.0.0.2", true, false},
      {"equal, installed file deleted", "Bin/Tool.exe=%PROGRAMFILES%App/;1.0.0.2", "1.0.0.2", false,
       false},
      {"higher, installed file deleted", "Bin/Tool.exe=%PROGRAMFILES%App/;1.0.0.1", "1.0.0.2",
       false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    m_->PutShareFile("Bin/Tool.exe", "new");
    env().CreateDirs(App());
    if (c.installed) env().Put("opt/App/Tool.exe", "old");
    const std::string suffix = c.new_version.empty() ? "" : ";" + c.new_version;
    const TAppSettings shared =
        m_->Descriptor("[FILES]\r\nBin/Tool.exe=%PROGRAMFILES%App/" + suffix + "\r\n");
    const TAppSettings local = m_->Descriptor("[FILES]\r\n" + c.old_entry + "\r\n");

    EXPECT_TRUE(Update(shared, local));
    const std::string copy_line = "Copy file \"" + Src("Bin/Tool.exe") + "\" to \"" + App() + "\".";
    EXPECT_EQ(Contains(m_->LogLines(), copy_line), c.copied);
    EXPECT_EQ(m_->Content(App("Tool.exe")), c.copied ? "new" : c.installed ? "old" : "<missing>");
    EXPECT_EQ(m_->Content(W("0.dat")), c.copied && c.installed ? "old" : "<missing>");
  }
}

TEST_F(ShareFileUpdateTest, AKnownFileGoesToItsNewDirectoryOnly) {
  m_->PutShareFile("Bin/Tool.exe", "new");
  env().Put("opt/Old/Tool.exe", "old");
  env().CreateDirs(App());
  const TAppSettings shared = m_->Descriptor("[FILES]\r\nBin/Tool.exe=%PROGRAMFILES%App/;2.0\r\n");
  const TAppSettings local = m_->Descriptor("[FILES]\r\nBin/Tool.exe=%PROGRAMFILES%Old/;1.0\r\n");
  ASSERT_TRUE(Update(shared, local));
  EXPECT_EQ(m_->Content(App("Tool.exe")), "new");
  EXPECT_EQ(m_->Content(Root("opt/Old/Tool.exe")), "old");
}

TEST_F(ShareFileUpdateTest, AFailedCopyPutsBackEveryBackupInTheOrderMade) {
  InstallThreeOldFiles();
  ASSERT_TRUE(env().RemoveFile(Src("Bin/Three.ini")).ok());
  const TAppSettings shared = m_->Descriptor(ThreeFiles("2.0"));
  const TAppSettings local = m_->Descriptor(ThreeFiles("1.0"));

  EXPECT_FALSE(Update(shared, local));
  EXPECT_EQ(
      m_->LogLines(),
      (Lines{
          "Rename \"" + App("One.exe") + "\" to \"" + W("0.dat") + "\".",
          "Copy file \"" + Src("Bin/One.exe") + "\" to \"" + App() + "\".",
          "Rename \"" + App("Two.dll") + "\" to \"" + W("1.dat") + "\".",
          "Copy file \"" + Src("Bin/Two.dll") + "\" to \"" + App() + "\".",
          "Rename \"" + App("Three.ini") + "\" to \"" + W("2.dat") + "\".",
          "Copy file \"" + Src("Bin/Three.ini") + "\" to \"" + App() + "\".",
          "Can not copy file \"" + Src("Bin/Three.ini") + "\" to \"" + App() +
              "\". System Error: open " + Src("Bin/Three.ini") + ": No such file or directory",
          "Restore files",
          "Restore file \"" + W("0.dat") + "\" to \"" + App("One.exe") + "\"",
          "Restore file \"" + W("1.dat") + "\" to \"" + App("Two.dll") + "\"",
          "Restore file \"" + W("2.dat") + "\" to \"" + App("Three.ini") + "\"",
      }));
  for (const char* name : {"One.exe", "Two.dll", "Three.ini"}) {
    EXPECT_EQ(m_->Content(App(name)), std::string("old ") + name);
  }
  EXPECT_FALSE(env().FileExists(App("Three.ini.vlau-new")));
  EXPECT_TRUE(JournalComplete());
}

TEST_F(ShareFileUpdateTest, AFileBackedUpTwiceGetsItsFirstBackupBack) {
  // Two entries land on the same path: the second backup is the first
  // entry's new copy, the first one the file that stood there before.
  m_->PutShareFile("Bin/Tool.exe", "new bin");
  m_->PutShareFile("Other/Tool.exe", "new other");
  env().Put("opt/App/Tool.exe", "old");
  const TAppSettings shared = m_->Descriptor(
      "[FILES]\r\nBin/Tool.exe=%PROGRAMFILES%App/;2.0\r\n"
      "Other/Tool.exe=%PROGRAMFILES%App/;2.0\r\nBin/Gone.dll=%PROGRAMFILES%App/;2.0\r\n");
  struct Case {
    std::string name;
    bool journal_completes;  // false: the run's own restore is rolled back again
  };
  for (const Case& c :
       std::vector<Case>{{"restored in the run", true}, {"rolled back by the next run", false}}) {
    SCOPED_TRACE(c.name);
    env().Put("opt/App/Tool.exe", "old");
    bool restoring = false;
    HookedEnv hooked(&env(), [&](const HookedEnv::Call& call) -> std::optional<Status> {
      if (call.op == "RenameFile" && call.from == W("0.dat")) restoring = true;
      if (!c.journal_completes && restoring && call.op == "AppendToFile") {
        return Status::Error("write: No space left on device", 28);
      }
      return std::nullopt;
    });
    const size_t first = m_->LogLines().size();
    EXPECT_FALSE(Update(shared, TAppSettings(&env()), &hooked));
    EXPECT_EQ(m_->Content(App("Tool.exe")), "old");
    EXPECT_EQ(m_->Content(W("1.dat")), "new bin");
    const Lines lines = m_->LogLines(first);
    EXPECT_TRUE(
        Contains(lines, "Restore file \"" + W("0.dat") + "\" to \"" + App("Tool.exe") + "\""));
    EXPECT_FALSE(
        Contains(lines, "Restore file \"" + W("1.dat") + "\" to \"" + App("Tool.exe") + "\""));
    EXPECT_EQ(JournalComplete(), c.journal_completes);

    EXPECT_TRUE(RollBackWorkFolder(&env(), W()));
    EXPECT_EQ(m_->Content(App("Tool.exe")), "old");
    EXPECT_TRUE(JournalComplete());
  }
}

TEST_F(ShareFileUpdateTest, LinesGoToTheirLevels) {
  InstallThreeOldFiles();
  ASSERT_TRUE(env().RemoveFile(Src("Bin/Two.dll")).ok());
  const TAppSettings shared = m_->Descriptor(ThreeFiles("2.0"));
  const TAppSettings local = m_->Descriptor(ThreeFiles("1.0"));
  const std::vector<std::pair<TauLogLevel, Lines>> cases = {
      {aullDetail,
       {"Rename \"" + App("One.exe") + "\" to \"" + W("0.dat") + "\".",
        "Rename \"" + App("Two.dll") + "\" to \"" + W("1.dat") + "\".", "Restore files"}},
      {aullUpdate,
       {"Copy file \"" + Src("Bin/One.exe") + "\" to \"" + App() + "\".",
        "Copy file \"" + Src("Bin/Two.dll") + "\" to \"" + App() + "\".",
        "Restore file \"" + W("0.dat") + "\" to \"" + App("One.exe") + "\"",
        "Restore file \"" + W("1.dat") + "\" to \"" + App("Two.dll") + "\""}},
      {aullError,
       {"Can not copy file \"" + Src("Bin/Two.dll") + "\" to \"" + App() +
        "\". System Error: open " + Src("Bin/Two.dll") + ": No such file or directory"}},
      {aullWaring, {}},
  };
  for (const auto& [level, lines] : cases) {
    SCOPED_TRACE(level);
    m_->settings().Common().SetLogLevel({level});
    const size_t first = m_->LogLines().size();
    EXPECT_FALSE(Update(shared, local));
    EXPECT_EQ(m_->LogLines(first), lines);
  }
}

TEST_F(ShareFileUpdateTest, AFailureInTheLoopPutsBackTheEarlierBackups) {
  // Paths differ between machines, so each case computes its own.
  struct Case {
    std::string name;
    bool known;  // whether the local copy lists the second file
    std::function<std::string()> second_value;
    bool cannot_move_second;
    std::function<std::string()> error_line;
  };
  const std::vector<Case> cases = {
      {"known file, directory gone", true, [&] { return Root("gone/") + ";2.0"; }, false,
       [&] {
         return "Can not copy file \"" + Src("Bin/Two.dll") + "\" to \"" + Root("gone/") +
                "\". System Error: open " + Root("gone/") + ".vlau-new: No such file or directory";
       }},
      {"new file, empty directory", false, [&] { return std::string(";2.0"); }, false,
       [&] { return std::string("Destination dir of \"Bin/Two.dll\" is empty."); }},
      {"new file, directory cannot be made", false, [&] { return Root("opt/file.txt/sub/;2.0"); },
       false,
       [&] {
         return "Can not create dir: \"" + Root("opt/file.txt/sub/") + "\". System error: mkdir " +
                Root("opt/file.txt/sub") + ": Not a directory";
       }},
      {"known file cannot be moved aside", true, [&] { return App() + ";2.0"; }, true,
       [&] { return "Can not rename \"" + App("Two.dll") + "\" to \"" + W("1.dat") + "\"."; }},
      {"new file cannot be moved aside", false, [&] { return App() + ";2.0"; }, true,
       [&] {
         return "Can not rename \"" + App("Two.dll") + "\" to \"" + W("1.dat") +
                "\". System error: copy: Read-only file system";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    InstallThreeOldFiles();
    env().Put("opt/file.txt", "in the way");
    const std::string second = "Bin/Two.dll=" + c.second_value() + "\r\n";
    const TAppSettings shared = m_->Descriptor("[FILES]\r\nBin/One.exe=%PROGRAMFILES%App/;2.0\r\n" +
                                               second + "Bin/Three.ini=%PROGRAMFILES%App/;2.0\r\n");
    const TAppSettings local =
        m_->Descriptor("[FILES]\r\nBin/One.exe=%PROGRAMFILES%App/;1.0\r\n" +
                       (c.known ? "Bin/Two.dll=%PROGRAMFILES%App/;1.0\r\n" : std::string()));
    const std::string two = App("Two.dll");
    HookedEnv hooked(&env(), [&](const HookedEnv::Call& call) -> std::optional<Status> {
      if (!c.cannot_move_second || call.from != two) return std::nullopt;
      return Status::Error(
          call.op == "RenameFile" ? "rename: Read-only file system" : "copy: Read-only file system",
          30);
    });

    EXPECT_FALSE(Update(shared, local, &hooked));
    const Lines lines = m_->LogLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[lines.size() - 3], c.error_line());
    EXPECT_EQ(lines[lines.size() - 2], "Restore files");
    EXPECT_EQ(lines.back(), "Restore file \"" + W("0.dat") + "\" to \"" + App("One.exe") + "\"");
    EXPECT_EQ(m_->Content(App("One.exe")), "old One.exe");
    EXPECT_EQ(m_->Content(App("Two.dll")), "old Two.dll");
    EXPECT_EQ(m_->Content(App("Three.ini")), "old Three.ini");
    EXPECT_TRUE(JournalComplete());
  }
}

TEST_F(ShareFileUpdateTest, ADirectoryWithoutTrailingSeparator) {
  struct Case {
    std::string name;
    std::string dir;  // below the sandbox
    bool dir_exists;
    std::string copy_line;  // "Copy new file" or with "Create dir" before it
    std::string landed;     // where the file arrives
  };
  const std::vector<Case> cases = {
      // The file to move aside is looked for at opt/AppTool.exe, so the one
      // in opt/App is replaced without a backup.
      {"existing directory", "opt/App", true, "", "opt/App/Tool.exe"},
      // Created as a directory, then copied into.
      {"missing directory", "opt/New", false, "Create dir", "opt/New/Tool.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    m_->PutShareFile("Bin/Tool.exe", "new");
    if (c.dir_exists) env().Put(c.dir + "/Tool.exe", "old");
    const TAppSettings shared = m_->Descriptor("[FILES]\r\nBin/Tool.exe=" + Root(c.dir) + "\r\n");
    ASSERT_TRUE(Update(shared, TAppSettings(&env())));
    Lines expected;
    if (!c.copy_line.empty()) expected.push_back("Create dir \"" + Root(c.dir) + "\".");
    expected.push_back("Copy new file \"" + Src("Bin/Tool.exe") + "\" to \"" + Root(c.dir) + "\".");
    EXPECT_EQ(m_->LogLines(), expected);
    EXPECT_EQ(m_->Content(Root(c.landed)), "new");
    EXPECT_FALSE(env().FileExists(W("0.dat")));
  }
}

TEST_F(ShareFileUpdateTest, TheWorkFolderMustBeEmptiedAndMade) {
  struct Case {
    std::string name;
    bool work_folder_is_a_file;
    bool fail_removal;
    std::function<std::string()> line;
  };
  const std::vector<Case> cases = {
      {"cannot be deleted", false, true,
       [&] {
         return "Can not delete dir: \"" + W() + "\". System error: unlink " + W("0.dat") +
                ": Operation not permitted";
       }},
      {"cannot be made", true, false,
       [&] {
         return "Can not create dir: \"" + W() + "\". System error: mkdir " + W() +
                ": Not a directory";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    InstallThreeOldFiles();
    if (c.work_folder_is_a_file) {
      env().Put("tmp/VLAppUpdater", "a file");
    } else {
      env().Put("tmp/VLAppUpdater/0.dat", "backup of an earlier run");
    }
    HookedEnv hooked(&env(), [&](const HookedEnv::Call& call) -> std::optional<Status> {
      if (c.fail_removal && call.op == "RemoveDirectoryTree") {
        return Status::Error("unlink " + W("0.dat") + ": Operation not permitted", 1);
      }
      return std::nullopt;
    });
    EXPECT_FALSE(
        Update(m_->Descriptor(ThreeFiles("2.0")), m_->Descriptor(ThreeFiles("1.0")), &hooked));
    EXPECT_EQ(m_->LogLines(), Lines{c.line()});
    EXPECT_EQ(m_->Content(App("One.exe")), "old One.exe");
  }
}

class ShareShortcutsTest : public ShareFileUpdateTest {
 protected:
  // Installs Tool.exe into App and Other.exe into App/Other, then runs the
  // step with the given SHORTCUTS lines through a recorder.
  bool RunWithShortcuts(const std::string& shortcut_lines, ShortcutRecorder* recorder) {
    m_->PutShareFile("Bin/Tool.exe", "tool");
    m_->PutShareFile("Bin/Other.exe", "other");
    env().CreateDirs(Root("common/desktop/"));
    env().CreateDirs(Root("common/programs/"));
    const TAppSettings shared = m_->Descriptor(
        "[FILES]\r\nBin/Tool.exe=%PROGRAMFILES%App/;1.0\r\n"
        "Bin/Other.exe=%PROGRAMFILES%App/Other/;1.0\r\n"
        "[SHORTCUTS]\r\n" +
        shortcut_lines);
    return Update(shared, TAppSettings(&env()), recorder);
  }
};

TEST_F(ShareShortcutsTest, AttributesAndDefaults) {
  using Shortcut = ShortcutRecorder::Shortcut;
  struct Case {
    std::string name;
    std::string lines;
    std::function<std::vector<Shortcut>()> made;
  };
  auto desktop = [&](const std::string& name) { return Root("common/desktop/") + name; };
  const std::vector<Case> cases = {
      {"description only", "Bin/Tool.exe=Description=Tool\r\n",
       [&] {
         return std::vector<Shortcut>{{App("Tool.exe"), desktop("Tool.lnk"), App(), "Tool", ""}};
       }},
      {"name and folder", "Bin/Tool.exe=LinkFileName=Run Tool;Folder=%ALLUSERSPROGRAMSMENU%\r\n",
       [&] {
         return std::vector<Shortcut>{
             {App("Tool.exe"), Root("common/programs/Run Tool.lnk"), App(), "", ""}};
       }},
      {"folder without separator",
       "Bin/Tool.exe=Folder=" + std::string("%ALLUSERSDESKTOP%") + "x\r\n",
       [&] {
         return std::vector<Shortcut>{
             {App("Tool.exe"), Root("common/desktop/xTool.lnk"), App(), "", ""}};
       }},
      {"the second takes the defaults",
       "Bin/Tool.exe=Folder=%ALLUSERSPROGRAMSMENU%;LinkFileName=Tool Two\r\n"
       "Bin/Other.exe=Params=-x\r\n",
       [&] {
         return std::vector<Shortcut>{
             {App("Tool.exe"), Root("common/programs/Tool Two.lnk"), App(), "", ""},
             {App("Other/Other.exe"), desktop("Other.lnk"), App("Other/"), "", "-x"}};
       }},
      {"later pieces win, names ignore case, unknown ones are ignored",
       "Bin/Tool.exe=params=-a;DESCRIPTION=x;;Icon=1;Description=y;LinkFileName=A;"
       "linkfilename=B;Folder\r\n",
       [&] {
         return std::vector<Shortcut>{{App("Tool.exe"), desktop("B.lnk"), App(), "y", "-a"}};
       }},
      {"a key that is no file", "Bin/Gone.exe=Description=G\r\n",
       [&] {
         return std::vector<Shortcut>{{"Gone.exe", desktop("Gone.lnk"), "", "G", ""}};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    ShortcutRecorder recorder(&env());
    EXPECT_TRUE(RunWithShortcuts(c.lines, &recorder));
    const std::vector<Shortcut> expected = c.made();
    ASSERT_EQ(recorder.made.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(recorder.made[i].target, expected[i].target);
      EXPECT_EQ(recorder.made[i].link, expected[i].link);
      EXPECT_EQ(recorder.made[i].working_directory, expected[i].working_directory);
      EXPECT_EQ(recorder.made[i].description, expected[i].description);
      EXPECT_EQ(recorder.made[i].arguments, expected[i].arguments);
      EXPECT_TRUE(env().FileExists(expected[i].link));
      EXPECT_TRUE(Contains(m_->LogLines(), "Create shortcut \"" + expected[i].link + "\" for \"" +
                                               expected[i].target + "\"."));
    }
  }
}

TEST_F(ShareShortcutsTest, AMissingLinkEndsTheStepButKeepsTheFiles) {
  ShortcutRecorder recorder(&env());
  EXPECT_FALSE(RunWithShortcuts(
      "Bin/Tool.exe=Folder=" + Root("nowhere/") + "\r\nBin/Other.exe=Description=O\r\n",
      &recorder));
  EXPECT_EQ(recorder.made.size(), 1u);
  const Lines lines = m_->LogLines();
  EXPECT_EQ(lines.back(), "Can not create shortcut \"" + Root("nowhere/Tool.lnk") + "\" for \"" +
                              App("Tool.exe") + "\".");
  EXPECT_EQ(m_->Content(App("Tool.exe")), "tool");
  EXPECT_EQ(m_->Content(App("Other/Other.exe")), "other");
  EXPECT_TRUE(JournalComplete());
}

TEST_F(ShareShortcutsTest, ShortcutsAreMadeOnEveryRunAndReadableByLnkInfo) {
  ASSERT_EQ(system("command -v lnkinfo >/dev/null 2>&1"), 0)
      << "lnkinfo is not installed: apt-get install -y liblnk-utils";
  ASSERT_TRUE(RunWithShortcuts("Bin/Tool.exe=Description=Velmora tool;Params=-q\r\n", nullptr));
  const std::string link = Root("common/desktop/Tool.lnk");
  ASSERT_TRUE(env().RemoveFile(link).ok());
  // Nothing to copy the second time; the shortcut is made again.
  const TAppSettings shared = m_->Descriptor(
      "[FILES]\r\nBin/Tool.exe=%PROGRAMFILES%App/;1.0\r\n"
      "[SHORTCUTS]\r\nBin/Tool.exe=Description=Velmora tool;Params=-q\r\n");
  ASSERT_TRUE(Update(shared, shared));

  FILE* pipe = popen(("lnkinfo '" + link + "' 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) output.append(buffer, n);
  ASSERT_EQ(pclose(pipe), 0) << output;
  std::map<std::string, std::string> fields;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    const size_t colon = line.find(':');
    if (line.empty() || line[0] != '\t' || colon == std::string::npos) continue;
    std::string name = line.substr(1, colon - 1);
    name.erase(name.find_last_not_of('\t') + 1);
    fields[name] = line.substr(colon + 2 <= line.size() ? colon + 2 : line.size());
  }
  EXPECT_EQ(fields["Local path"], App("Tool.exe")) << output;
  EXPECT_EQ(fields["Working directory"], App()) << output;
  EXPECT_EQ(fields["Description"], "Velmora tool") << output;
  EXPECT_EQ(fields["Command line arguments"], "-q") << output;
}

}  // namespace
}  // namespace vlau
