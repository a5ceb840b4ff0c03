#include "sources/work_journal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/hooked_env.h"
#include "tests/support/sandbox_env.h"

namespace vlau {
namespace {

class TauWorkJournalTest : public ::testing::Test {
 protected:
  TauWorkJournalTest() { env_.CreateDirs(env_.Path("tmp/VLAppUpdater/")); }

  std::string JournalPath() const {
    return TauWorkJournal::FileName(env_.Path("tmp/VLAppUpdater/"));
  }
  TauWorkJournal::Contents ReadBack() {
    TauWorkJournal::Contents contents;
    const Status s = TauWorkJournal::Read(&env_, JournalPath(), &contents);
    EXPECT_TRUE(s.ok()) << s.message();
    return contents;
  }

  SandboxEnv env_;
};

TEST_F(TauWorkJournalTest, LivesInTheWorkFolder) {
  EXPECT_EQ(TauWorkJournal::FileName("/var/tmp/VLAppUpdater/"),
            "/var/tmp/VLAppUpdater/Journal.txt");
}

TEST_F(TauWorkJournalTest, RecordsReadBackWholeWhateverThePathsHold) {
  const std::vector<TauWorkJournal::Move> moves = {
      {"/w/0.dat", "/opt/App/Tool.exe"},
      {"/w/1.dat", "/opt/odd\tname%09 with\nnew line\r and %25.dll"},
      {"/w/2.dat", "C:\\Program Files\\App\\a=b;c.ini"},
  };
  TauWorkJournal journal(&env_, JournalPath());
  ASSERT_TRUE(journal.Start().ok());
  ASSERT_TRUE(journal.Announce({moves[0], moves[1]}, {"/opt/App/Tool.exe.vlau-new"}).ok());
  ASSERT_TRUE(journal.Announce({}, {"/opt/%41\n.vlau-new"}).ok());
  ASSERT_TRUE(journal.Announce({}, {}).ok());  // writes nothing
  ASSERT_TRUE(journal.Announce({moves[2]}, {}).ok());

  TauWorkJournal::Contents contents = ReadBack();
  ASSERT_EQ(contents.moves.size(), 3u);
  for (size_t i = 0; i < moves.size(); ++i) {
    EXPECT_EQ(contents.moves[i].backup, moves[i].backup);
    EXPECT_EQ(contents.moves[i].original, moves[i].original);
  }
  EXPECT_EQ(contents.temporaries,
            (std::vector<std::string>{"/opt/App/Tool.exe.vlau-new", "/opt/%41\n.vlau-new"}));
  EXPECT_FALSE(contents.complete);

  ASSERT_TRUE(journal.MarkComplete().ok());
  EXPECT_TRUE(ReadBack().complete);
  // One record per line, whatever the paths hold.
  const std::string text = env_.Read(JournalPath());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
}

TEST_F(TauWorkJournalTest, StartReplacesAnEarlierJournal) {
  TauWorkJournal journal(&env_, JournalPath());
  ASSERT_TRUE(journal.Start().ok());
  ASSERT_TRUE(journal.Announce({{"/w/0.dat", "/a"}}, {"/a.vlau-new"}).ok());
  ASSERT_TRUE(journal.MarkComplete().ok());
  ASSERT_TRUE(journal.Start().ok());
  const TauWorkJournal::Contents contents = ReadBack();
  EXPECT_TRUE(contents.moves.empty());
  EXPECT_TRUE(contents.temporaries.empty());
  EXPECT_FALSE(contents.complete);
}

TEST_F(TauWorkJournalTest, EveryRecordIsSyncedBeforeItsCallReturns) {
  std::vector<std::string> calls;
  HookedEnv hooked(&env_, [&](const HookedEnv::Call& c) -> std::optional<Status> {
    calls.push_back(c.op + " " + c.path.substr(c.path.rfind('/') + 1));
    return std::nullopt;
  });
  TauWorkJournal journal(&hooked, JournalPath());
  ASSERT_TRUE(journal.Start().ok());
  ASSERT_TRUE(journal.Announce({{"/w/0.dat", "/a"}}, {"/a.vlau-new"}).ok());
  ASSERT_TRUE(journal.MarkComplete().ok());
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "WriteStringToFile Journal.txt", "SyncFile Journal.txt",
                       "SyncDirectory ",  // the work folder, so the journal's entry survives
                       "AppendToFile Journal.txt", "SyncFile Journal.txt",
                       "AppendToFile Journal.txt", "SyncFile Journal.txt"}));
}

TEST_F(TauWorkJournalTest, TornAndForeignFiles) {
  const std::string header = "VLAppUpdater journal 1\n";
  struct Case {
    std::string name;
    std::string text;
    bool readable;
    size_t moves;
    bool complete;
  };
  const std::vector<Case> cases = {
      {"torn last record", header + "move\t/w/0.dat\t/a\nmove\t/w/1.dat\t/b", true, 1, false},
      {"torn complete mark", header + "move\t/w/0.dat\t/a\ncompl", true, 1, false},
      {"complete", header + "move\t/w/0.dat\t/a\ncomplete\n", true, 1, true},
      {"unknown records are skipped", header + "later\tx\nmove\t/w/0.dat\t/a\n", true, 1, false},
      {"torn first line", "VLAppUpd", true, 0, false},
      {"empty", "", true, 0, false},
      {"another format", "VLAppUpdater journal 2\nmove\t/w/0.dat\t/a\n", false, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    env_.WriteStringToFile(JournalPath(), c.text);
    TauWorkJournal::Contents contents;
    const Status s = TauWorkJournal::Read(&env_, JournalPath(), &contents);
    EXPECT_EQ(s.ok(), c.readable) << s.message();
    EXPECT_EQ(contents.moves.size(), c.moves);
    EXPECT_EQ(contents.complete, c.complete);
  }
  TauWorkJournal::Contents contents;
  EXPECT_FALSE(TauWorkJournal::Read(&env_, env_.Path("tmp/none.txt"), &contents).ok());
}

}  // namespace
}  // namespace vlau
