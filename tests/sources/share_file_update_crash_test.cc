#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "foundation/data_folder.h"
#include "sources/durable_file_ops.h"
#include "sources/share_file_update.h"
#include "sources/work_journal.h"
#include "sources/work_rollback.h"
#include "tests/support/crashing_env.h"
#include "tests/support/hooked_env.h"
#include "tests/support/share_machine.h"

namespace vlau {
namespace {

using Lines = std::vector<std::string>;

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Long enough that a file cut in half is told from a whole one.
std::string Body(const std::string& what) {
  std::string body = what + "\n";
  while (body.size() < 3000) body += what + " data line\n";
  return body;
}

// A three-file update: a.exe known to the local copy with a lower version
// and installed, b.dll new to the local copy but already standing where it
// goes, c.dat new with its directory missing; a shortcut for a.exe. The work
// folder holds the backup and the complete journal of an earlier run.
class CrashScenario {
 public:
  explicit CrashScenario(ShareMachine& m) : m_(m) {
    m.PutShareFile("Bin/a.exe", Body("new a"));
    m.PutShareFile("Bin/b.dll", Body("new b"));
    m.PutShareFile("Data/c.dat", Body("new c"));
    m.env().Put("opt/App/a.exe", Body("old a"));
    m.env().Put("opt/App/b.dll", Body("old b"));
    m.env().CreateDirs(m.env().Path("common/desktop/"));
    m.env().Put("tmp/VLAppUpdater/0.dat", "backup of an earlier run");
    m.env().Put("tmp/VLAppUpdater/Journal.txt", "VLAppUpdater journal 1\ncomplete\n");
  }

  bool Run(Env* through) {
    const TAppSettings shared = m_.Descriptor(
        "[FILES]\r\n"
        "Bin/a.exe=%PROGRAMFILES%App/;1.0.0.2\r\n"
        "Bin/b.dll=%PROGRAMFILES%App/;2.0\r\n"
        "Data/c.dat=%PROGRAMFILES%App/Data/;1.0\r\n"
        "[SHORTCUTS]\r\n"
        "Bin/a.exe=Description=A\r\n");
    const TAppSettings local = m_.Descriptor("[FILES]\r\nBin/a.exe=%PROGRAMFILES%App/;1.0.0.1\r\n");
    return UpdateFiles(through, m_.Unc(), shared, local);
  }

  std::string A() { return m_.env().Path("opt/App/a.exe"); }
  std::string B() { return m_.env().Path("opt/App/b.dll"); }
  std::string C() { return m_.env().Path("opt/App/Data/c.dat"); }
  std::map<std::string, std::string> Destinations() {
    return {{"a", m_.Content(A())}, {"b", m_.Content(B())}, {"c", m_.Content(C())}};
  }
  // Pending copies left behind in the destination folders and, when asked,
  // in the work folder.
  Lines Leftovers(bool also_in_work_folder) {
    Lines found;
    std::vector<std::string> folders = {"opt/App/", "opt/App/Data/"};
    if (also_in_work_folder) folders.push_back("tmp/VLAppUpdater/");
    for (const std::string& folder : folders) {
      std::vector<std::string> names;
      (void)m_.env().ListDirectory(m_.env().Path(folder), &names);
      for (const std::string& name : names) {
        if (name.find(".vlau-new") != std::string::npos) found.push_back(folder + name);
      }
    }
    return found;
  }

 private:
  ShareMachine& m_;
};

const char* MomentName(CrashingEnv::Moment moment) {
  switch (moment) {
    case CrashingEnv::Moment::kBefore:
      return "before";
    case CrashingEnv::Moment::kHalfway:
      return "halfway";
    case CrashingEnv::Moment::kAfter:
      return "after";
  }
  return "";
}

TEST(ShareFileUpdateCrashTest, ARunKilledAnywhereIsRolledBackAndRedone) {
  for (const bool one_file_system : {true, false}) {
    int total = 0;
    {
      ShareMachine m;
      CrashScenario scenario(m);
      CrashingEnv counting(&m.env(), nullptr, CrashingEnv::Moment::kBefore,
                           one_file_system ? "" : m.env().root());
      ASSERT_TRUE(scenario.Run(&counting));
      total = counting.calls();
      ASSERT_GT(total, 20);
    }
    for (const CrashingEnv::Moment moment :
         {CrashingEnv::Moment::kBefore, CrashingEnv::Moment::kHalfway,
          CrashingEnv::Moment::kAfter}) {
      for (int n = 1; n <= total; ++n) {
        ShareMachine m;
        CrashScenario scenario(m);
        const std::string devices = one_file_system ? "" : m.env().root();
        std::string crashed_at;
        CrashingEnv crashing(
            &m.env(),
            [&](const CrashingEnv::Call& c) {
              if (c.index != n) return false;
              crashed_at = c.op + " " + c.path;
              return true;
            },
            moment, devices);
        EXPECT_THROW(scenario.Run(&crashing), SimulatedCrash);
        SCOPED_TRACE(std::string(one_file_system ? "one file system" : "renames across devices") +
                     ", killed " + MomentName(moment) + " call " + std::to_string(n) + ": " +
                     crashed_at);

        TauWorkJournal::Contents journal;
        const bool journal_read =
            TauWorkJournal::Read(&m.env(), m.WorkDir() + "Journal.txt", &journal).ok();
        const bool finished = journal_read && journal.complete && !journal.moves.empty();
        const bool rolled_back = journal_read && !journal.complete;

        // The next run; what stands at the destinations is taken when it
        // empties or makes the work folder, after any roll-back.
        CrashingEnv next_devices(&m.env(), nullptr, CrashingEnv::Moment::kBefore, devices);
        std::map<std::string, std::string> before_copies;
        Lines leftovers_before_copies;
        HookedEnv watching(&next_devices, [&](const HookedEnv::Call& c) -> std::optional<Status> {
          if (before_copies.empty() && c.path == m.WorkDir() &&
              (c.op == "RemoveDirectoryTree" || c.op == "CreateDirs")) {
            before_copies = scenario.Destinations();
            leftovers_before_copies = scenario.Leftovers(false);
          }
          return std::nullopt;
        });
        const size_t first_line = m.LogLines().size();
        ASSERT_TRUE(scenario.Run(&watching));

        ASSERT_FALSE(before_copies.empty());
        EXPECT_EQ(leftovers_before_copies, Lines{});
        if (finished) {
          EXPECT_EQ(before_copies["a"], Body("new a"));
          EXPECT_EQ(before_copies["b"], Body("new b"));
          EXPECT_EQ(before_copies["c"], Body("new c"));
        } else {
          EXPECT_EQ(before_copies["a"], Body("old a"));
          EXPECT_EQ(before_copies["b"], Body("old b"));
          if (before_copies["c"] != "<missing>") {
            EXPECT_EQ(before_copies["c"], Body("new c"));  // whole when it is there
          }
        }
        EXPECT_EQ(
            Contains(m.LogLines(first_line), "Restore files of an interrupted update from \"" +
                                                 m.WorkDir() + "Journal.txt\""),
            rolled_back);
        EXPECT_EQ(scenario.Destinations(),
                  (std::map<std::string, std::string>{
                      {"a", Body("new a")}, {"b", Body("new b")}, {"c", Body("new c")}}));
        EXPECT_EQ(scenario.Leftovers(true), Lines{});
        EXPECT_TRUE(m.env().FileExists(m.env().Path("common/desktop/a.lnk")));
        EXPECT_FALSE(m.env().DirectoryExists(GetDataFolder(&m.env()) + "Backups/"));
        if (HasFailure()) return;  // one broken case tells enough
      }
    }
  }
}

TEST(ShareFileUpdateCrashTest, AFileBackedUpTwiceIsRolledBackToItsFirstBackup) {
  ShareMachine m;
  m.PutShareFile("Bin/Tool.exe", "new bin");
  m.PutShareFile("Other/Tool.exe", "new other");
  const std::string tool = m.env().Put("opt/App/Tool.exe", "old");
  const TAppSettings shared = m.Descriptor(
      "[FILES]\r\nBin/Tool.exe=%PROGRAMFILES%App/;2.0\r\n"
      "Other/Tool.exe=%PROGRAMFILES%App/;2.0\r\n");
  // Killed once both backups are made, before the second copy.
  CrashingEnv crashing(
      &m.env(),
      [&](const CrashingEnv::Call& c) {
        return c.op == "CopyFileContents" && c.path == PendingCopyName(tool) &&
               m.env().FileExists(m.WorkDir() + "1.dat");
      },
      CrashingEnv::Moment::kBefore);
  ASSERT_THROW(UpdateFiles(&crashing, m.Unc(), shared, TAppSettings(&m.env())), SimulatedCrash);
  ASSERT_EQ(m.Content(m.WorkDir() + "1.dat"), "new bin");

  EXPECT_TRUE(RollBackWorkFolder(&m.env(), m.WorkDir()));
  EXPECT_EQ(m.Content(tool), "old");
}

// Kills the scenario's run just before it marks its journal complete: both
// backups are in the work folder, the new files in place.
void KillBeforeCompletion(ShareMachine& m, CrashScenario& scenario) {
  CrashingEnv crashing(
      &m.env(),
      [](const CrashingEnv::Call& c) { return c.op == "AppendToFile" && c.data == "complete\n"; },
      CrashingEnv::Moment::kBefore);
  ASSERT_THROW(scenario.Run(&crashing), SimulatedCrash);
  ASSERT_EQ(m.Content(m.WorkDir() + "0.dat"), Body("old a"));
  ASSERT_EQ(m.Content(scenario.A()), Body("new a"));
}

TEST(ShareFileUpdateCrashTest, ABackupThatCannotGoBackIsKeptInADatedFolder) {
  ShareMachine m;
  CrashScenario scenario(m);
  KillBeforeCompletion(m, scenario);

  m.env().SetNow({2024, 1, 2, 3, 4, 5, 6});
  m.settings().Common().SetLogLevel({aullError});
  const size_t first = m.LogLines().size();
  bool rolling_back = true;
  HookedEnv stuck(&m.env(), [&](const HookedEnv::Call& c) -> std::optional<Status> {
    if (c.op == "RemoveDirectoryTree") rolling_back = false;
    if (rolling_back && c.path.rfind(scenario.A(), 0) == 0) {
      return Status::Error("open " + c.path + ": Read-only file system", 30);
    }
    return std::nullopt;
  });
  EXPECT_TRUE(scenario.Run(&stuck));

  const std::string kept = GetDataFolder(&m.env()) + "Backups/20240102-030405/0.dat";
  EXPECT_EQ(
      m.LogLines(first),
      (Lines{
          "Can not restore file \"" + scenario.A() + "\" from \"" + m.WorkDir() +
              "0.dat\". System error: open " + scenario.A() + ".vlau-new: Read-only file system",
          "Backup of \"" + scenario.A() + "\" is kept in \"" + kept + "\".",
      }));
  EXPECT_EQ(m.Content(kept), Body("old a"));
  // The run went on once the backup was safe.
  EXPECT_EQ(m.Content(scenario.A()), Body("new a"));
  EXPECT_EQ(m.Content(scenario.B()), Body("new b"));
}

TEST(ShareFileUpdateCrashTest, ABackupThatCanGoNowhereKeepsTheWorkFolder) {
  ShareMachine m;
  CrashScenario scenario(m);
  KillBeforeCompletion(m, scenario);

  m.env().SetNow({2024, 1, 2, 3, 4, 5, 6});
  HookedEnv stuck(&m.env(), [&](const HookedEnv::Call& c) -> std::optional<Status> {
    if (c.path.rfind(scenario.A(), 0) == 0 || c.op == "CreateDirs") {
      return Status::Error("open " + c.path + ": Read-only file system", 30);
    }
    return std::nullopt;
  });
  const size_t first = m.LogLines().size();
  EXPECT_FALSE(scenario.Run(&stuck));
  const Lines lines = m.LogLines(first);
  EXPECT_TRUE(Contains(lines, "Can not keep backup \"" + m.WorkDir() + "0.dat\" of \"" +
                                  scenario.A() + "\". System error: open " +
                                  GetDataFolder(&m.env()) +
                                  "Backups/20240102-030405/: Read-only file system"));
  EXPECT_EQ(m.Content(m.WorkDir() + "0.dat"), Body("old a"));
  EXPECT_EQ(m.Content(scenario.B()), Body("old b"));  // the other backup went back

  // Once the file can be written again, the next run puts it back first.
  const size_t second = m.LogLines().size();
  ASSERT_TRUE(scenario.Run(&m.env()));
  const Lines again = m.LogLines(second);
  ASSERT_GE(again.size(), 2u);
  EXPECT_EQ(again[1], "Restore file \"" + m.WorkDir() + "0.dat\" to \"" + scenario.A() + "\"");
  EXPECT_EQ(m.Content(scenario.A()), Body("new a"));
  EXPECT_EQ(m.Content(m.WorkDir() + "0.dat"), Body("old a"));  // this run's backup
}

TEST(ShareFileUpdateCrashTest, ARestoreThatFailsInARunIsRetriedByTheNext) {
  ShareMachine m;
  CrashScenario scenario(m);
  ASSERT_TRUE(m.env().RemoveFile(m.Unc() + "Data/c.dat").ok());
  const std::string backup = m.WorkDir() + "0.dat";
  HookedEnv stuck(&m.env(), [&](const HookedEnv::Call& c) -> std::optional<Status> {
    if (c.from == backup) return Status::Error("rename: Read-only file system", 30);
    return std::nullopt;
  });
  EXPECT_FALSE(scenario.Run(&stuck));
  EXPECT_TRUE(Contains(m.LogLines(),
                       "Can not restore file \"" + scenario.A() + "\" from \"" + backup + "\""));
  EXPECT_EQ(m.Content(backup), Body("old a"));
  EXPECT_EQ(m.Content(scenario.B()), Body("old b"));

  const size_t first = m.LogLines().size();
  EXPECT_FALSE(scenario.Run(&m.env()));  // c.dat is still missing on the share
  const Lines lines = m.LogLines(first);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "Restore files of an interrupted update from \"" + m.WorkDir() + "Journal.txt\"");
  EXPECT_EQ(lines[1], "Restore file \"" + backup + "\" to \"" + scenario.A() + "\"");
  EXPECT_EQ(lines[2], "Rename \"" + scenario.A() + "\" to \"" + backup + "\".");
  EXPECT_EQ(m.Content(scenario.A()), Body("old a"));
  EXPECT_EQ(m.Content(scenario.B()), Body("old b"));
}

}  // namespace
}  // namespace vlau
