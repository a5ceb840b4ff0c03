#include "platform/posix/file_version_posix.h"

#include "gtest/gtest.h"
#include "platform/posix/env_posix.h"
#include "tests/platform/scoped_env_var.h"
#include "tests/support/temp_dir.h"

namespace vlau {
namespace {

// Put together at run time, so that this test program carries no stamp.
const std::string kMarker = std::string("VLAPPUPD_FILE") + "_VERSION=";
const std::string kNul(1, '\0');

std::string WriteFixture(const TempDir& dir, const std::string& bytes) {
  std::string path = dir.path() + "program";
  EXPECT_TRUE(PosixEnv().WriteStringToFile(path, bytes).ok());
  return path;
}

TEST(FileVersionStampTest, FindsTheFirstCompleteStampAtAnyChunkSize) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string version;
  };
  const std::vector<Case> cases = {
      {"stamp among other bytes",
       "\x7f"
       "ELF\1\2" +
           kNul + kMarker + "1.0.0.1" + kNul + "tail",
       "1.0.0.1"},
      {"the scanner's own literal is skipped",
       "junk" + kMarker + kNul + "more" + kMarker + "2.3.4.5" + kNul, "2.3.4.5"},
      {"first stamp wins", kMarker + "1.2.3.4" + kNul + kMarker + "9.9.9.9" + kNul, "1.2.3.4"},
      {"not ended by NUL", kMarker + "1.2.3.4x" + kNul + kMarker + "5.6.7.8" + kNul, "5.6.7.8"},
      {"letters after the marker", kMarker + "abc" + kNul, ""},
      {"marker starting inside a marker", "VLAPPUPD_" + kMarker + "3.1.4.1" + kNul, "3.1.4.1"},
      {"stamp at the very end without NUL", "xx" + kMarker + "1.2.3.4", ""},
      {"run too long for a version", kMarker + std::string(65, '1') + kNul, ""},
      {"longest run accepted", kMarker + std::string(64, '7') + kNul, std::string(64, '7')},
      {"no marker", "VLAPPUPD_FILE_VERSION" + kNul + "1.2.3.4" + kNul, ""},
      {"empty file", "", ""},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = WriteFixture(dir, c.bytes);
    EXPECT_EQ(PosixEnv().GetFileVersionString(path), c.version);
    // Every chunk size puts the chunk boundaries somewhere else, also
    // inside the marker and inside the version.
    for (size_t chunk = 1; chunk <= c.bytes.size() + 1; ++chunk) {
      ASSERT_EQ(ReadFileVersionStamp(path, chunk), c.version) << "chunk size " << chunk;
    }
  }
}

TEST(FileVersionStampTest, StampAcrossTheDefaultChunkOfALargeFile) {
  TempDir dir;
  std::string bytes(3 * 1024 * 1024, '\0');
  const std::string stamp = kMarker + "4.3.2.1" + kNul;
  bytes.replace((1 << 20) - 10, stamp.size(), stamp);  // the marker ends past 1 MiB
  std::string path = WriteFixture(dir, bytes);
  EXPECT_EQ(PosixEnv().GetFileVersionString(path), "4.3.2.1");
}

TEST(FileVersionStampTest, MissingOrUnreadableFileHasNoVersion) {
  TempDir dir;
  EXPECT_EQ(PosixEnv().GetFileVersionString(dir.path() + "missing"), "");
  EXPECT_EQ(PosixEnv().GetFileVersionString(dir.path()), "");  // a folder
}

}  // namespace
}  // namespace vlau
