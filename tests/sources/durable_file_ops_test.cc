#include "sources/durable_file_ops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/hooked_env.h"
#include "tests/support/sandbox_env.h"

namespace vlau {
namespace {

class DurableFileOpsTest : public ::testing::Test {
 protected:
  std::string Content(const std::string& path) {
    return env_.FileExists(path) ? env_.Read(path) : "<missing>";
  }

  SandboxEnv env_;
};

TEST_F(DurableFileOpsTest, AFailedReplaceLeavesTheTargetAndNoPendingCopy) {
  const std::string from = env_.Put("share/Tool.exe", "new");
  struct Case {
    std::string name;
    std::string to;
    std::string message_start;
  };
  env_.CreateDirs(env_.Path("app/Tool.exe/"));  // a folder where the file should go
  const std::vector<Case> cases = {
      {"the target is a folder", env_.Path("app/Tool.exe"), "rename "},
      {"no target", "", "open: No such file or directory"},
      {"the folder is missing", env_.Path("gone/Tool.exe"), "open "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Status s = ReplaceByCopy(&env_, from, c.to);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(s.message().rfind(c.message_start, 0), 0u) << s.message();
    EXPECT_FALSE(env_.FileExists(PendingCopyName(c.to)));
  }
  EXPECT_EQ(Content(from), "new");
}

TEST_F(DurableFileOpsTest, AMoveTheSystemCannotRenameGoesByCopy) {
  struct Case {
    std::string name;
    bool copy_fails;
  };
  for (const Case& c : std::vector<Case>{{"copied", false}, {"copy fails too", true}}) {
    SCOPED_TRACE(c.name);
    const std::string from = env_.Put("app/Tool.exe", "old");
    const std::string to = env_.Path("tmp/0.dat");
    (void)env_.RemoveFile(to);  // left by the case before
    std::vector<std::string> ops;
    HookedEnv other_device(&env_, [&](const HookedEnv::Call& call) -> std::optional<Status> {
      ops.push_back(call.op);
      if (call.op == "RenameFile" && call.from == from) {
        return Status::Error("rename: Invalid cross-device link", 18);
      }
      if (call.op == "CopyFileContents" && c.copy_fails) {
        return Status::Error("copy: No space left on device", 28);
      }
      return std::nullopt;
    });
    const Status s = RelocateDurably(&other_device, from, to);
    if (c.copy_fails) {
      EXPECT_EQ(s.message(), "copy: No space left on device");
      EXPECT_EQ(Content(from), "old");
      EXPECT_EQ(Content(to), "<missing>");
    } else {
      EXPECT_TRUE(s.ok()) << s.message();
      EXPECT_EQ(Content(from), "<missing>");
      EXPECT_EQ(Content(to), "old");
      // The source goes only once the copy is durably in place.
      EXPECT_EQ(ops, (std::vector<std::string>{"RenameFile", "CopyFileContents", "SyncFile",
                                               "RenameFile", "SyncDirectory", "RemoveFile"}));
    }
    EXPECT_FALSE(env_.FileExists(PendingCopyName(to)));
  }
}

}  // namespace
}  // namespace vlau
