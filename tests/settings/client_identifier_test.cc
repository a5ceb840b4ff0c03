#include "settings/client_identifier.h"

#include <gtest/gtest.h>

#include "foundation/ini_file.h"
#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

class ClientIdentifierTest : public ::testing::Test {
 protected:
  ClientIdentifierTest() : log_(&env_, env_.Path("test.log")) {
    env_.CreateDirs(env_.DataFolder());
  }
  std::string IdentFile() const { return env_.DataFolder() + "Ident.ini"; }
  std::string Stored() {
    return IniFile::Load(&env_, IdentFile()).ReadString("COMMON", "Identifier", "");
  }

  SandboxEnv env_;
  ScopedLog log_;
};

TEST(GuidTextTest, TextFormRoundTripsAndIsUpperCase) {
  Guid g;
  g.d1 = 0x0123abcd;
  g.d2 = 0x00ef;
  g.d3 = 0xa001;
  const uint8_t d4[8] = {0x00, 0x9f, 0x10, 0x20, 0x30, 0x40, 0xfe, 0x0a};
  std::copy(d4, d4 + 8, g.d4);
  EXPECT_EQ(GuidToString(g), "{0123ABCD-00EF-A001-009F-10203040FE0A}");
  Guid back;
  ASSERT_TRUE(StringToGuid("{0123abcd-00ef-a001-009f-10203040fe0a}", &back));
  EXPECT_EQ(GuidToString(back), GuidToString(g));
}

TEST(GuidTextTest, RejectsOtherForms) {
  const std::vector<std::string> rejected = {
      "",
      "0123ABCD-00EF-A001-009F-10203040FE0A",     // no braces
      "{0123ABCD-00EF-A001-009F-10203040FE0A",    // 37 characters
      "{0123ABCD-00EF-A001-009F-10203040FE0A}}",  // 39 characters
      "{0123ABCD00EF-A001-009F-10203040FE0A-}",   // hyphen misplaced
      "{0123ABCG-00EF-A001-009F-10203040FE0A}",   // not hexadecimal
      "[0123ABCD-00EF-A001-009F-10203040FE0A}",
  };
  for (const std::string& text : rejected) {
    SCOPED_TRACE(text);
    Guid g;
    EXPECT_FALSE(StringToGuid(text, &g));
  }
}

TEST(GuidTextTest, RandomFallbackStaysInItsRanges) {
  for (int i = 0; i < 200; ++i) {
    const Guid g = RandomFallbackGuid();
    ASSERT_LT(g.d1, 2147483647u);
    ASSERT_LT(g.d2, 65000);
    ASSERT_LT(g.d3, 65000);
    for (uint8_t b : g.d4) ASSERT_LT(b, 255);
  }
}

TEST_F(ClientIdentifierTest, CreatedOnceThenReadBack) {
  const Guid first = ObtainClientIdentifier(&env_);
  EXPECT_EQ(log_.Lines(), std::vector<std::string>{"Unique identifier not assigned - create it"});
  EXPECT_EQ(Stored(), GuidToString(first));
  const std::string file_after_first = env_.Read(IdentFile());

  const Guid second = ObtainClientIdentifier(&env_);
  EXPECT_EQ(GuidToString(second), GuidToString(first));
  EXPECT_EQ(env_.Read(IdentFile()), file_after_first);
  EXPECT_EQ(log_.Lines().size(), 1u);
}

TEST_F(ClientIdentifierTest, LowerCaseTextIsAcceptedAndNeverRewritten) {
  const std::string content =
      "; kept\r\n[COMMON]\r\nIdentifier={0123abcd-00ef-a001-009f-10203040fe0a}\r\nOther=1\r\n";
  env_.Put("var/lib/Velmora/VLAppUpdater/Ident.ini", content);
  EXPECT_EQ(GuidToString(ObtainClientIdentifier(&env_)), "{0123ABCD-00EF-A001-009F-10203040FE0A}");
  EXPECT_EQ(env_.Read(IdentFile()), content);
  EXPECT_TRUE(log_.Lines().empty());
}

TEST_F(ClientIdentifierTest, EmptyOrMalformedTextIsReplaced) {
  struct Case {
    std::string stored;
    std::string first_log_line;
  };
  const std::vector<Case> cases = {
      {"", "Unique identifier not assigned - create it"},
      {"not-a-guid",
       "Identifier \"not-a-guid\" in \"" + IdentFile() + "\" is not a GUID - create a new one"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    env_.Put("var/lib/Velmora/VLAppUpdater/Ident.ini",
             "[COMMON]\r\nIdentifier=" + c.stored + "\r\nOther=kept\r\n");
    env_.RemoveFile(log_.log().FileName());
    const Guid g = ObtainClientIdentifier(&env_);
    EXPECT_EQ(log_.Lines(), std::vector<std::string>{c.first_log_line});
    EXPECT_EQ(Stored(), GuidToString(g));
    EXPECT_EQ(IniFile::Load(&env_, IdentFile()).ReadString("COMMON", "Other", ""), "kept");
  }
}

TEST_F(ClientIdentifierTest, GeneratorFailureFallsBackToRandomValues) {
  env_.FailGuid(1234);
  const Guid g = ObtainClientIdentifier(&env_);
  EXPECT_EQ(log_.Lines(),
            (std::vector<std::string>{"Unique identifier not assigned - create it",
                                      "Can not create GUID: LastErrorCode = 1234. GUID will be "
                                      "created using random numeric values"}));
  EXPECT_LT(g.d1, 2147483647u);
  EXPECT_EQ(Stored(), GuidToString(g));
}

TEST_F(ClientIdentifierTest, UnwritableFileKeepsTheNewIdentifierForThisRun) {
  env_.CreateDirs(IdentFile() + env_.PathSeparator());  // a folder where the file should be
  const Guid g = ObtainClientIdentifier(&env_);
  const std::vector<std::string> lines = log_.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].rfind("Can not write identifier to \"" + IdentFile() + "\": ", 0), 0u);
  EXPECT_NE(lines[1].find(GuidToString(g)), std::string::npos);
}

}  // namespace
}  // namespace vlau
