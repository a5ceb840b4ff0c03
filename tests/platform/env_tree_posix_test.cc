#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "platform/posix/env_posix.h"
#include "tests/support/temp_dir.h"

namespace vlau {
namespace {

// Sets or clears the immutable attribute, which keeps even root from
// deleting the file. False where the file system or the user cannot.
bool SetImmutable(const std::string& path, bool on) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  close(fd);
  return done;
}

class PosixTreeTest : public ::testing::Test {
 protected:
  std::string Put(const std::string& relative, const std::string& data = "x") {
    const std::string path = dir_.path() + relative;
    EXPECT_TRUE(env_.CreateDirs(path.substr(0, path.rfind('/') + 1)).ok());
    EXPECT_TRUE(env_.WriteStringToFile(path, data).ok());
    return path;
  }

  PosixEnv env_;
  TempDir dir_;
};

TEST_F(PosixTreeTest, RemovesTheWholeTreeButNeverFollowsLinks) {
  Put("w/0.dat");
  Put("w/sub/deeper/1.dat");
  Put("w/.hidden");
  const std::string outside = Put("keep/file.txt", "stay");
  ASSERT_EQ(symlink((dir_.path() + "keep").c_str(), (dir_.path() + "w/link").c_str()), 0);
  ASSERT_EQ(symlink(outside.c_str(), (dir_.path() + "w/sub/file-link").c_str()), 0);

  const Status s = env_.RemoveDirectoryTree(dir_.path() + "w/");
  EXPECT_TRUE(s.ok()) << s.message();
  EXPECT_FALSE(env_.DirectoryExists(dir_.path() + "w"));
  EXPECT_TRUE(env_.FileExists(outside));
  std::string data;
  EXPECT_TRUE(env_.ReadFileToString(outside, &data).ok());
  EXPECT_EQ(data, "stay");
}

TEST_F(PosixTreeTest, OnlyAFolderIsATree) {
  const std::string file = Put("file.txt");
  ASSERT_EQ(symlink((dir_.path() + "target").c_str(), (dir_.path() + "link").c_str()), 0);
  Put("target/a");
  struct Case {
    std::string name;
    std::string path;
    std::string message;
  };
  const std::string link = dir_.path() + "link";
  const std::vector<Case> cases = {
      {"missing", dir_.path() + "none", "open " + dir_.path() + "none: No such file or directory"},
      {"a file", file, "open " + file + ": Not a directory"},
      {"a link to a folder", link, "open " + link + ": Not a directory"},
      // A trailing separator would make the system follow the link.
      {"a link to a folder, with a separator", link + "/", "open " + link + ": Not a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(env_.RemoveDirectoryTree(c.path).message(), c.message);
  }
  EXPECT_TRUE(env_.FileExists(dir_.path() + "target/a"));
}

TEST_F(PosixTreeTest, GoesOnPastAFileThatCannotBeDeletedAndKeepsTheFolder) {
  const std::string stuck = Put("w/b/stuck.dat");
  Put("w/a/0.dat");
  Put("w/c/1.dat");
  if (!SetImmutable(stuck, true)) GTEST_SKIP() << "no immutable attribute here";
  const Status s = env_.RemoveDirectoryTree(dir_.path() + "w");
  SetImmutable(stuck, false);
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.message(), "unlink " + stuck + ": Operation not permitted");
  EXPECT_EQ(s.system_code(), EPERM);
  EXPECT_TRUE(env_.FileExists(stuck));
  EXPECT_FALSE(env_.DirectoryExists(dir_.path() + "w/a"));
  EXPECT_FALSE(env_.DirectoryExists(dir_.path() + "w/c"));
}

TEST_F(PosixTreeTest, SyncsNeedWhatTheyName) {
  const std::string file = Put("f.txt");
  EXPECT_TRUE(env_.SyncFile(file).ok());
  EXPECT_TRUE(env_.SyncDirectory(dir_.path()).ok());
  const Status missing = env_.SyncFile(dir_.path() + "none");
  EXPECT_EQ(missing.message(), "open " + dir_.path() + "none: No such file or directory");
  EXPECT_EQ(env_.SyncDirectory(file).message(), "open " + file + ": Not a directory");
}

TEST_F(PosixTreeTest, ACopyInManyStepsIsWhole) {
  std::string data((size_t{3} << 20) + 123, ' ');  // several steps of 1 MiB
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 23);
  const std::string from = Put("from.bin", data);
  ASSERT_EQ(chmod(from.c_str(), 0750), 0);
  const std::string to = Put("to.bin", "an older, longer or shorter file");
  ASSERT_TRUE(env_.CopyFileContents(from, to).ok());
  std::string copied;
  ASSERT_TRUE(env_.ReadFileToString(to, &copied).ok());
  EXPECT_EQ(copied, data);
  struct stat info = {};
  ASSERT_EQ(stat(to.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0750u);
}

}  // namespace
}  // namespace vlau
