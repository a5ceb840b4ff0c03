#include "platform/posix/env_posix.h"

#include <arpa/inet.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <latch>
#include <random>
#include <set>
#include <thread>

#include "gtest/gtest.h"
#include "tests/platform/scoped_env_var.h"
#include "tests/support/temp_dir.h"

namespace vlau {
namespace {

std::string ReadAll(PosixEnv& env, const std::string& path) {
  std::string data;
  EXPECT_TRUE(env.ReadFileToString(path, &data).ok()) << path;
  return data;
}

mode_t PermissionsOf(const std::string& path) {
  struct stat info = {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// Waits up to five seconds for a file to appear with a complete last line.
bool WaitForLine(PosixEnv& env, const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    std::string data;
    if (env.ReadFileToString(path, &data).ok() && !data.empty() && data.back() == '\n') return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(PosixEnvTest, DefaultIsAPosixEnv) {
  EXPECT_NE(dynamic_cast<PosixEnv*>(Env::Default()), nullptr);
  EXPECT_EQ(Env::Default(), Env::Default());
  EXPECT_EQ(Env::Default()->PathSeparator(), '/');
}

TEST(PosixEnvTest, MachineRootAndFoldersFollowTheVariable) {
  struct Case {
    std::optional<std::string> root_variable;
    std::string root;
  };
  const std::vector<Case> cases = {
      {std::nullopt, "/"},
      {"", "/"},
      {"/", "/"},
      {"/srv/trial", "/srv/trial/"},
      {"/srv/trial/", "/srv/trial/"},
      {"/srv/trial///", "/srv/trial/"},
  };
  PosixEnv env;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.root_variable.value_or("(unset)"));
    ScopedEnvVar root("VLAPPUPD_ROOT", c.root_variable);
    EXPECT_EQ(env.MachineRoot(), c.root);
    EXPECT_EQ(env.ProgramFilesFolder(), c.root + "opt/");
    EXPECT_EQ(env.CommonFolderPath(CommonFolder::kAppData), c.root + "var/lib/");
    EXPECT_EQ(env.CommonFolderPath(CommonFolder::kDocuments), c.root + "srv/");
    EXPECT_EQ(env.CommonFolderPath(CommonFolder::kStartMenu),
              c.root + "usr/local/share/applications/");
    EXPECT_EQ(env.CommonFolderPath(CommonFolder::kProgramsMenu),
              c.root + "usr/local/share/applications/");
    EXPECT_EQ(env.CommonFolderPath(CommonFolder::kStartup), c.root + "etc/xdg/autostart/");
    EXPECT_EQ(env.CommonFolderPath(CommonFolder::kDesktop), c.root + "etc/skel/Desktop/");
  }
}

TEST(PosixEnvTest, TempFolderFollowsTmpdirNotTheRoot) {
  struct Case {
    std::optional<std::string> tmpdir;
    std::string folder;
  };
  const std::vector<Case> cases = {
      {std::nullopt, "/tmp/"},
      {"", "/tmp/"},
      {"/var/tmp", "/var/tmp/"},
      {"/var/tmp//", "/var/tmp/"},
  };
  PosixEnv env;
  ScopedEnvVar root("VLAPPUPD_ROOT", "/srv/trial");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tmpdir.value_or("(unset)"));
    ScopedEnvVar tmpdir("TMPDIR", c.tmpdir);
    EXPECT_EQ(env.TempFolder(), c.folder);
  }
}

TEST(PosixEnvTest, ExecutablePathIsThisProgram) {
  PosixEnv env;
  std::string path = env.ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_TRUE(env.FileExists(path));
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "vlau_tests");
}

// A copy of this test program runs this test with the variable set: it
// moves its own file away, as a self-update does, and must still report the
// path it was started from.
TEST(PosixEnvTest, ExecutablePathStaysWhereTheProgramStarted) {
  PosixEnv env;
  if (const char* moved = getenv("VLAU_TEST_MOVE_PROGRAM_TO")) {
    const std::string started = env.ExecutablePath();
    ASSERT_EQ(rename(started.c_str(), moved), 0);
    EXPECT_EQ(env.ExecutablePath(), started);
    return;
  }
  TempDir dir;
  const std::string copy = dir.path() + "copy_of_tests";
  if (link(env.ExecutablePath().c_str(), copy.c_str()) != 0) {
    ASSERT_TRUE(env.CopyFileContents(env.ExecutablePath(), copy).ok());
  }
  const std::string output = dir.path() + "output.txt";
  ScopedEnvVar moved("VLAU_TEST_MOVE_PROGRAM_TO", dir.path() + "moved");
  int exit_code = -1;
  ASSERT_TRUE(
      env.RunProcess(
             {"sh", "-c", "\"$0\" \"$1\" > \"$2\" 2>&1", copy,
              "--gtest_filter=PosixEnvTest.ExecutablePathStaysWhereTheProgramStarted", output},
             &exit_code)
          .ok());
  EXPECT_EQ(exit_code, 0) << ReadAll(env, output);
  EXPECT_TRUE(env.FileExists(dir.path() + "moved"));
}

TEST(PosixEnvTest, ExistenceChecksTellFilesFromFolders) {
  TempDir dir;
  PosixEnv env;
  std::string file = dir.path() + "file";
  ASSERT_TRUE(env.WriteStringToFile(file, "x").ok());
  ASSERT_EQ(symlink(file.c_str(), (dir.path() + "link").c_str()), 0);
  ASSERT_EQ(symlink((dir.path() + "gone").c_str(), (dir.path() + "dangling").c_str()), 0);

  EXPECT_TRUE(env.FileExists(file));
  EXPECT_TRUE(env.FileExists(dir.path() + "link"));
  EXPECT_FALSE(env.FileExists(dir.path() + "dangling"));
  EXPECT_FALSE(env.FileExists(dir.path()));
  EXPECT_FALSE(env.FileExists(dir.path() + "missing"));
  EXPECT_TRUE(env.DirectoryExists(dir.path()));
  EXPECT_FALSE(env.DirectoryExists(file));
  EXPECT_FALSE(env.DirectoryExists(dir.path() + "missing"));
}

TEST(PosixEnvTest, CreateDirsMakesEveryMissingFolder) {
  TempDir dir;
  PosixEnv env;
  std::string deep = dir.path() + "a/b/c";
  ASSERT_TRUE(env.CreateDirs(deep).ok());
  EXPECT_TRUE(env.DirectoryExists(deep));
  EXPECT_EQ(PermissionsOf(deep) & 0700, 0700);
  EXPECT_TRUE(env.CreateDirs(deep + "/").ok());  // existing, trailing "/"
  EXPECT_TRUE(env.CreateDirs(dir.path() + "a//d/").ok());

  ASSERT_TRUE(env.WriteStringToFile(dir.path() + "file", "x").ok());
  Status blocked = env.CreateDirs(dir.path() + "file/sub");
  EXPECT_FALSE(blocked.ok());
  EXPECT_NE(blocked.message().find(dir.path() + "file"), std::string::npos) << blocked.message();
  EXPECT_FALSE(env.CreateDirs(dir.path() + "file").ok());
}

TEST(PosixEnvTest, WriteReplacesAndReadReturnsEveryByte) {
  TempDir dir;
  PosixEnv env;
  std::string path = dir.path() + "data.bin";
  ASSERT_TRUE(env.WriteStringToFile(path, "a much longer first content").ok());
  const std::string bytes("line\r\n\0\xff end", 12);
  ASSERT_TRUE(env.WriteStringToFile(path, bytes).ok());
  EXPECT_EQ(ReadAll(env, path), bytes);

  std::string data = "stale";
  Status missing = env.ReadFileToString(dir.path() + "missing", &data);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.system_code(), ENOENT);
  EXPECT_NE(missing.message().find(dir.path() + "missing"), std::string::npos);
  EXPECT_TRUE(data.empty());

  EXPECT_EQ(env.WriteStringToFile(dir.path() + "no/such/folder", "x").system_code(), ENOENT);
}

TEST(PosixEnvTest, AppendWritesThePrefixOnlyWhenItCreatesTheFile) {
  TempDir dir;
  PosixEnv env;
  std::string path = dir.path() + "log.txt";
  ASSERT_TRUE(env.AppendToFile(path, "one\n", "HEADER\n").ok());
  ASSERT_TRUE(env.AppendToFile(path, "two\n", "HEADER\n").ok());
  EXPECT_EQ(ReadAll(env, path), "HEADER\none\ntwo\n");

  std::string existing = dir.path() + "existing.txt";
  ASSERT_TRUE(env.WriteStringToFile(existing, "").ok());
  ASSERT_TRUE(env.AppendToFile(existing, "data", "HEADER\n").ok());
  EXPECT_EQ(ReadAll(env, existing), "data");

  EXPECT_FALSE(env.AppendToFile(dir.path() + "no/folder.txt", "x", "").ok());
}

TEST(PosixEnvTest, ConcurrentAppendsNeverInterleave) {
  // Every round races the writers to create the file: the prefix must still
  // come first, once, and no line may be split.
  constexpr int kRounds = 200;
  constexpr int kThreads = 4;
  constexpr int kLines = 5;
  constexpr size_t kLength = 500;
  TempDir dir;
  PosixEnv env;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    const std::string path = dir.path() + "shared" + std::to_string(round) + ".log";
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&env, &path, &start, t] {
        std::string line(kLength, static_cast<char>('a' + t));
        line += '\n';
        start.arrive_and_wait();
        for (int i = 0; i < kLines; ++i) ASSERT_TRUE(env.AppendToFile(path, line, "H\n").ok());
      });
    }
    for (std::thread& thread : threads) thread.join();
    const std::string data = ReadAll(env, path);
    ASSERT_EQ(data.substr(0, 2), "H\n");
    size_t lines = 0;
    for (size_t pos = 2; pos < data.size(); pos += kLength + 1, ++lines) {
      ASSERT_EQ(data.find_first_not_of(data[pos], pos), pos + kLength) << "line " << lines;
      ASSERT_EQ(data[pos + kLength], '\n');
    }
    EXPECT_EQ(lines, size_t{kThreads * kLines});
  }
  // Nothing of the creation is left beside the files.
  std::vector<std::string> names;
  ASSERT_TRUE(env.ListDirectory(dir.path(), &names).ok());
  EXPECT_EQ(names.size(), size_t{kRounds});
}

TEST(PosixEnvTest, RenameReplacesTheTarget) {
  TempDir dir;
  PosixEnv env;
  std::string from = dir.path() + "new";
  std::string to = dir.path() + "old";
  ASSERT_TRUE(env.WriteStringToFile(from, "new content").ok());
  ASSERT_TRUE(env.WriteStringToFile(to, "old content, longer").ok());
  ASSERT_TRUE(env.RenameFile(from, to).ok());
  EXPECT_FALSE(env.FileExists(from));
  EXPECT_EQ(ReadAll(env, to), "new content");

  Status missing = env.RenameFile(from, to);
  EXPECT_EQ(missing.system_code(), ENOENT);
  EXPECT_NE(missing.message().find(from), std::string::npos);
}

TEST(PosixEnvTest, CopyReplacesTheTargetWithEqualContentAndMode) {
  TempDir dir;
  PosixEnv env;
  std::string from = dir.path() + "big.bin";
  std::string to = dir.path() + "copy.bin";
  std::string content(5 * 1024 * 1024 + 123, '\0');
  std::mt19937 random(42);
  for (char& c : content) c = static_cast<char>(random());
  ASSERT_TRUE(env.WriteStringToFile(from, content).ok());
  ASSERT_EQ(chmod(from.c_str(), 0750), 0);
  // A longer target, so that a missing truncation shows.
  ASSERT_TRUE(env.WriteStringToFile(to, std::string(6 * 1024 * 1024, 'x')).ok());
  ASSERT_EQ(chmod(to.c_str(), 0600), 0);

  ASSERT_TRUE(env.CopyFileContents(from, to).ok());
  EXPECT_TRUE(ReadAll(env, to) == content);
  EXPECT_EQ(PermissionsOf(to), 0750);
  EXPECT_TRUE(ReadAll(env, from) == content);

  std::string fresh = dir.path() + "fresh.bin";
  ASSERT_TRUE(env.CopyFileContents(from, fresh).ok());
  EXPECT_TRUE(ReadAll(env, fresh) == content);
  EXPECT_EQ(PermissionsOf(fresh), 0750);
}

TEST(PosixEnvTest, CopyFailuresLeaveTheSourceAlone) {
  TempDir dir;
  PosixEnv env;
  std::string file = dir.path() + "file";
  ASSERT_TRUE(env.WriteStringToFile(file, "precious").ok());
  ASSERT_EQ(symlink(file.c_str(), (dir.path() + "alias").c_str()), 0);

  EXPECT_FALSE(env.CopyFileContents(file, file).ok());
  EXPECT_FALSE(env.CopyFileContents(file, dir.path() + "alias").ok());
  EXPECT_EQ(ReadAll(env, file), "precious");

  Status missing = env.CopyFileContents(dir.path() + "missing", dir.path() + "target");
  EXPECT_EQ(missing.system_code(), ENOENT);
  EXPECT_FALSE(env.FileExists(dir.path() + "target"));
  EXPECT_FALSE(env.CopyFileContents(file, dir.path() + "no/folder/target").ok());
}

TEST(PosixEnvTest, RemoveAndListDirectory) {
  TempDir dir;
  PosixEnv env;
  ASSERT_TRUE(env.WriteStringToFile(dir.path() + "b.txt", "").ok());
  ASSERT_TRUE(env.WriteStringToFile(dir.path() + "a.txt", "").ok());
  ASSERT_TRUE(env.CreateDirs(dir.path() + "sub").ok());

  std::vector<std::string> names = {"stale"};
  ASSERT_TRUE(env.ListDirectory(dir.path(), &names).ok());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.txt", "sub"}));

  ASSERT_TRUE(env.RemoveFile(dir.path() + "a.txt").ok());
  EXPECT_FALSE(env.FileExists(dir.path() + "a.txt"));
  EXPECT_EQ(env.RemoveFile(dir.path() + "a.txt").system_code(), ENOENT);
  ASSERT_TRUE(env.ListDirectory(dir.path(), &names).ok());
  EXPECT_EQ(names.size(), 2u);
  EXPECT_EQ(env.ListDirectory(dir.path() + "missing", &names).system_code(), ENOENT);
}

TEST(PosixEnvTest, NowLocalMatchesTheClock) {
  PosixEnv env;
  // Taken again when the clock passes a second meanwhile, so that every
  // field down to the second can be compared.
  for (int attempt = 0; attempt < 100; ++attempt) {
    timespec before = {}, after = {};
    clock_gettime(CLOCK_REALTIME, &before);
    const LocalTime now = env.NowLocal();
    clock_gettime(CLOCK_REALTIME, &after);
    if (before.tv_sec != after.tv_sec) continue;
    tm expected = {};
    localtime_r(&before.tv_sec, &expected);
    EXPECT_EQ(now.year, expected.tm_year + 1900);
    EXPECT_EQ(now.month, expected.tm_mon + 1);
    EXPECT_EQ(now.day, expected.tm_mday);
    EXPECT_EQ(now.hour, expected.tm_hour);
    EXPECT_EQ(now.minute, expected.tm_min);
    EXPECT_EQ(now.second, expected.tm_sec);
    EXPECT_GE(now.millisecond, before.tv_nsec / 1000000);
    EXPECT_LE(now.millisecond, after.tv_nsec / 1000000);
    return;
  }
  FAIL() << "the clock never stood within one second";
}

TEST(PosixEnvTest, NewGuidIsRandomVersionFour) {
  PosixEnv env;
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    Guid guid;
    ASSERT_TRUE(env.NewGuid(&guid).ok());
    EXPECT_EQ(guid.d3 >> 12, 4) << "version";
    EXPECT_EQ(guid.d4[0] & 0xC0, 0x80) << "variant";
    std::string key(reinterpret_cast<const char*>(&guid.d1), 4);
    key.append(reinterpret_cast<const char*>(&guid.d2), 2);
    key.append(reinterpret_cast<const char*>(&guid.d3), 2);
    key.append(reinterpret_cast<const char*>(guid.d4), 8);
    EXPECT_TRUE(seen.insert(key).second) << "duplicate GUID";
  }
}

TEST(PosixEnvTest, RunProcessReportsTheExitStatus) {
  struct Case {
    std::vector<std::string> argv;
    int exit_code;
  };
  const std::vector<Case> cases = {
      {{"true"}, 0},
      {{"sh", "-c", "exit 3"}, 3},
      {{"sh", "-c", "kill -9 $$"}, 128 + 9},
  };
  PosixEnv env;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argv.back());
    int exit_code = -1;
    ASSERT_TRUE(env.RunProcess(c.argv, &exit_code).ok());
    EXPECT_EQ(exit_code, c.exit_code);
  }
  int exit_code = -1;
  Status missing = env.RunProcess({"vlau-no-such-program"}, &exit_code);
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.message().find("vlau-no-such-program"), std::string::npos);
  EXPECT_FALSE(env.RunProcess({}, &exit_code).ok());
}

TEST(PosixEnvTest, RunProcessStartsProgramsWithNoSignalBlocked) {
  sigset_t term;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  sigset_t previous;
  ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &term, &previous), 0);
  PosixEnv env;
  int exit_code = -1;
  Status status = env.RunProcess(
      {"sh", "-c", "grep -q '^SigBlk:[[:space:]]*0*$' /proc/self/status"}, &exit_code);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(exit_code, 0);
}

TEST(PosixEnvTest, DetachedScriptIsRefusedUnderASandboxRoot) {
  TempDir dir;
  ScopedEnvVar root("VLAPPUPD_ROOT", dir.path());
  PosixEnv env;
  std::string marker = dir.path() + "ran";
  std::string script = dir.path() + "script.sh";
  ASSERT_TRUE(env.WriteStringToFile(script, "echo ran > '" + marker + "'\n").ok());
  Status status = env.StartDetachedScript(script);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.message(), "not started: a sandbox root (VLAPPUPD_ROOT) is set");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(env.FileExists(marker));
}

TEST(PosixEnvTest, DetachedScriptRunsInItsOwnSession) {
  struct stat systemd_folder;
  if (stat("/run/systemd/system", &systemd_folder) == 0) {
    GTEST_SKIP() << "systemd is running; the script would become a unit of the real machine";
  }
  TempDir dir;
  ScopedEnvVar root("VLAPPUPD_ROOT", std::nullopt);
  PosixEnv env;
  std::string out = dir.path() + "out";
  std::string script = dir.path() + "script.sh";
  ASSERT_TRUE(env.WriteStringToFile(script,
                                    "stdin=$(readlink /proc/$$/fd/0)\n"
                                    "session=$(cut -d' ' -f6 /proc/$$/stat)\n"
                                    "echo \"$stdin $session\" > '" +
                                        out +
                                        ".tmp'\n"
                                        "mv '" +
                                        out + ".tmp' '" + out + "'\n")
                  .ok());
  ASSERT_TRUE(env.StartDetachedScript(script).ok());
  ASSERT_TRUE(WaitForLine(env, out));
  std::string line = ReadAll(env, out);
  EXPECT_EQ(line.substr(0, line.find(' ')), "/dev/null");
  EXPECT_NE(std::stol(line.substr(line.find(' ') + 1)), static_cast<long>(getsid(0)));
}

TEST(PosixEnvTest, LocalAddressesAreDistinctAndNotLoopback) {
  PosixEnv env;
  std::vector<std::string> addresses = env.LocalIPv4Addresses();
  if (!addresses.empty() && addresses[0].substr(0, 4) == "127.") {
    GTEST_SKIP() << "no interface with an address is up: the host name's addresses serve";
  }
  std::set<std::string> distinct(addresses.begin(), addresses.end());
  EXPECT_EQ(distinct.size(), addresses.size());
  for (const std::string& address : addresses) {
    SCOPED_TRACE(address);
    in_addr parsed;
    EXPECT_EQ(inet_pton(AF_INET, address.c_str(), &parsed), 1);
    EXPECT_NE(address.substr(0, 4), "127.");
  }
}

TEST(PosixEnvTest, CreateShortcutWritesTheLinkFile) {
  TempDir dir;
  PosixEnv env;
  std::string link = dir.path() + "App.lnk";
  ASSERT_TRUE(env.CreateShortcut("C:\\App\\app.exe", link, "C:\\App\\", "App", "-x").ok());
  std::string data = ReadAll(env, link);
  ASSERT_GE(data.size(), 4u);
  EXPECT_EQ(data.substr(0, 4), std::string("\x4c\0\0\0", 4));  // header size
  EXPECT_FALSE(env.CreateShortcut("x", dir.path() + "no/App.lnk", "", "", "").ok());
}

TEST(PosixEnvTest, ProgramCarriesTheBuildVersion) {
  PosixEnv env;
  EXPECT_EQ(env.GetFileVersionString(VLAU_PROGRAM_PATH), VLAU_PROJECT_VERSION);
  EXPECT_EQ(env.GetFileVersionString("/no/such/program"), "");
}

}  // namespace
}  // namespace vlau
