#include "platform/posix/shell_link_file.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace vlau {
namespace {

// Reads a shortcut with lnkinfo (Debian package liblnk-utils), an
// independent reader of the format, into "name" -> "value" pairs.
bool RunLnkInfo(const std::string& path, std::map<std::string, std::string>* fields,
                std::string* output) {
  const std::string command = "lnkinfo '" + path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) output->append(buffer, n);
  const int rc = pclose(pipe);
  std::istringstream lines(*output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] != '\t') continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = line.substr(1, colon - 1);
    name.erase(name.find_last_not_of('\t') + 1);
    std::string value = line.substr(colon + 1);
    if (!value.empty() && value[0] == ' ') value.erase(0, 1);
    (*fields)[name] = value;
  }
  return rc == 0;
}

class ShellLinkFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(system("command -v lnkinfo >/dev/null 2>&1"), 0)
        << "lnkinfo is not installed: install the Debian package liblnk-utils "
           "(apt-get install -y liblnk-utils)";
    char pattern[] = "/tmp/vlau_lnk_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  std::map<std::string, std::string> WriteAndRead(const ShellLinkFields& fields) {
    const std::string path = dir_ + "/app.lnk";
    const Status s = WriteShellLinkFile(path, fields);
    EXPECT_TRUE(s.ok()) << s.message();
    std::map<std::string, std::string> read;
    std::string output;
    EXPECT_TRUE(RunLnkInfo(path, &read, &output)) << output;
    return read;
  }

  std::string dir_;
};

TEST_F(ShellLinkFileTest, LnkInfoReadsEveryField) {
  struct Case {
    std::string name;
    ShellLinkFields fields;
    std::string description_read;
  };
  const std::vector<Case> cases = {
      {"ascii",
       {"/opt/velmora/Billing App/bill.sh", "/opt/velmora/Billing App/", "Velmora billing",
        "-c \"C:\\data dir\\x.ini\" /q"},
       "Velmora billing"},
      {"non-ascii",
       {"/opt/Ärger/Über.sh", "/opt/Ärger/", "Déscription – Überblick ✓", "--név=ő"},
       "Déscription – Überblick ✓"},
      {"invalid utf-8 in the description", {"/x", "/", "a\xFF\x62", "-"}, "a\xEF\xBF\xBD\x62"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto read = WriteAndRead(c.fields);
    EXPECT_EQ(read["Local path"], c.fields.target);
    EXPECT_EQ(read["Working directory"], c.fields.working_directory);
    EXPECT_EQ(read["Description"], c.description_read);
    EXPECT_EQ(read["Command line arguments"], c.fields.arguments);
    EXPECT_EQ(read["Drive type"], "Fixed (3)");
    EXPECT_EQ(read["File attribute flags"], "0x00000080");
  }
}

TEST_F(ShellLinkFileTest, AnsiLocalPathAloneNamesTheTarget) {
  // Declaring the short LinkInfo header (0x1C) hides the Unicode path, so
  // the reader must fall back on the ANSI one.
  std::string bytes = BuildShellLink({"/opt/app/run", "/opt/app/", "App", ""});
  ASSERT_EQ(bytes.substr(80, 4), std::string("\x24\0\0\0", 4));
  bytes[80] = 0x1C;
  const std::string path = dir_ + "/ansi.lnk";
  std::ofstream(path, std::ios::binary) << bytes;
  std::map<std::string, std::string> read;
  std::string output;
  EXPECT_TRUE(RunLnkInfo(path, &read, &output)) << output;
  EXPECT_EQ(read["Local path"], "/opt/app/run");
  EXPECT_EQ(read["Description"], "App");
}

TEST_F(ShellLinkFileTest, LeavesOutEmptyTexts) {
  auto read = WriteAndRead({"/opt/app/run", "", "", ""});
  EXPECT_EQ(read["Local path"], "/opt/app/run");
  EXPECT_EQ(read.count("Working directory"), 0u);
  EXPECT_EQ(read.count("Description"), 0u);
  EXPECT_EQ(read.count("Command line arguments"), 0u);

  read = WriteAndRead({"/opt/app/run", "/opt/app/", "", "-x"});
  EXPECT_EQ(read.count("Description"), 0u);
  EXPECT_EQ(read["Working directory"], "/opt/app/");
  EXPECT_EQ(read["Command line arguments"], "-x");
}

TEST_F(ShellLinkFileTest, ReplacesAnExistingFile) {
  const std::string path = dir_ + "/app.lnk";
  std::ofstream(path) << std::string(4096, 'x');
  const ShellLinkFields fields{"/opt/app/run", "/opt/app/", "App", "-a"};
  ASSERT_TRUE(WriteShellLinkFile(path, fields).ok());
  EXPECT_EQ(std::filesystem::file_size(path), BuildShellLink(fields).size());
  std::map<std::string, std::string> read;
  std::string output;
  EXPECT_TRUE(RunLnkInfo(path, &read, &output)) << output;
  EXPECT_EQ(read["Local path"], "/opt/app/run");
}

TEST_F(ShellLinkFileTest, DoesNotCreateTheFolder) {
  const std::string folder = dir_ + "/missing";
  const Status s = WriteShellLinkFile(folder + "/app.lnk", {"/opt/app/run", "/opt/app/", "", ""});
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.system_code(), ENOENT);
  EXPECT_EQ(s.message(), "open " + folder + "/app.lnk: No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(BuildShellLinkTest, HeaderAndSupplementaryCharacters) {
  const std::string bytes = BuildShellLink({"/x", "", "\xF0\x9D\x84\x9E", ""});
  ASSERT_GE(bytes.size(), 76u);
  // Header size, then the show command SW_SHOWNORMAL at offset 60, which
  // lnkinfo does not report.
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x4C\0\0\0", 4));
  EXPECT_EQ(bytes.substr(60, 4), std::string("\x01\0\0\0", 4));
  // U+1D11E as a UTF-16LE surrogate pair after its count of 2 units, then
  // the terminal block closing the file.
  EXPECT_EQ(bytes.substr(bytes.size() - 10), std::string("\x02\0\x34\xD8\x1E\xDD\0\0\0\0", 10));
}

}  // namespace
}  // namespace vlau
