#include "foundation/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/memory_env.h"
#include "tests/support/temp_dir.h"

namespace vlau {
namespace {

constexpr char kAbsent[] = "<absent>";

std::string Repeat(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(IniFileTest, ReadStringFollowsProfileRules) {
  struct Case {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::string expected;  // kAbsent: the default comes back
  };
  const std::vector<Case> cases = {
      {"names ignore case", "[Common]\nLogLevel=WE\n", "COMMON", "loglevel", "WE"},
      {"blanks around names and value", "  [ Common ]  \n  Key  =  some value  \n", "Common", "Key",
       "some value"},
      {"tabs are blanks", "[S]\n\tk\t=\tv\t\n", "S", "k", "v"},
      {"double quotes dropped", "[S]\nk = \" x \" \n", "S", "k", " x "},
      {"single quotes dropped", "[S]\nk='x'\n", "S", "k", "x"},
      {"only one pair dropped", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
      {"quotes must match", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
      {"a lone quote stays", "[S]\nk=\"\n", "S", "k", "\""},
      {"inner quotes stay", "[S]\nk=a \"b\" c\n", "S", "k", "a \"b\" c"},
      {"empty value is not absent", "[S]\nk=\n", "S", "k", ""},
      {"value keeps later =", "[S]\nk=a=b\n", "S", "k", "a=b"},
      {"first of a repeated key", "[S]\nk=1\nK=2\n", "S", "k", "1"},
      {"first of a repeated section", "[S]\nk=1\n[s]\nk=2\n", "S", "k", "1"},
      {"later repeated section unseen", "[S]\nk=1\n[S]\nj=2\n", "S", "j", kAbsent},
      {"comment lines", "[S]\n;k=1\n  ; k=2\nk=3\n", "S", "k", "3"},
      {"# is no comment", "[S]\n#k=1\n", "S", "#k", "1"},
      {"line without = ignored", "[S]\njunk\nk=1\n", "S", "junk", kAbsent},
      {"keys before a section ignored", "k=1\n[S]\n", "S", "k", kAbsent},
      {"byte order mark skipped", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "1"},
      {"CR LF line ends", "[S]\r\nk=1\r\nj=2\r\n", "S", "j", "2"},
      {"CR line ends", "[S]\rk=1\rj=2\r", "S", "j", "2"},
      {"text after ] ignored", "[S] ; note\nk=1\n", "S", "k", "1"},
      {"header without ]", "[S\nk=1\n", "S", "k", "1"},
      {"[ starts a header", "[S]\n[k]=1\n", "k", "k", kAbsent},
      {"missing section", "[S]\nk=1\n", "T", "k", kAbsent},
      {"missing key", "[S]\nk=1\n", "S", "j", kAbsent},
      {"key of a later section", "[S]\n[T]\nk=1\n", "S", "k", kAbsent},
      {"value cut after 2047", "[S]\nk=" + std::string(3000, 'a') + "\n", "S", "k",
       std::string(2047, 'a')},
      {"cut counts characters, not bytes", "[S]\nk=" + Repeat("\xC3\xA9", 2100) + "\n", "S", "k",
       Repeat("\xC3\xA9", 2047)},
      {"quotes dropped before the cut", "[S]\nk=\"" + std::string(2047, 'a') + "\"\n", "S", "k",
       std::string(2047, 'a')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IniFile::Parse(c.text).ReadString(c.section, c.key, kAbsent), c.expected);
  }
}

TEST(IniFileTest, SectionsListKeysInFileOrder) {
  const IniFile ini =
      IniFile::Parse("[Files]\nb=2\nnoise\na=1\n; c=0\nB=3\n[Other]\nx=1\n[FILES]\nz=9\n");
  EXPECT_EQ(ini.ReadSection("files"), (std::vector<std::string>{"b", "a", "B"}));
  // A repeated key is listed each time with the value a lookup gives.
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(ini.ReadSectionValues("Files"), (Pairs{{"b", "2"}, {"a", "1"}, {"B", "2"}}));
  EXPECT_TRUE(ini.ReadSection("Missing").empty());
  EXPECT_TRUE(ini.ReadSectionValues("Missing").empty());
}

TEST(IniFileTest, SectionExistsForAnyHeader) {
  const IniFile ini = IniFile::Parse("k=1\n[Empty]\n[ Full ]\nk=1\n");
  EXPECT_TRUE(ini.SectionExists("EMPTY"));
  EXPECT_TRUE(ini.SectionExists("full"));
  EXPECT_FALSE(ini.SectionExists("Other"));
  EXPECT_FALSE(ini.SectionExists(""));
  EXPECT_FALSE(IniFile().SectionExists("Empty"));
}

TEST(IniFileTest, IntegersAndBooleans) {
  struct Case {
    const char* line;             // nullptr: no such key
    int32_t integer;              // with the default -7
    std::optional<bool> boolean;  // nullopt: the default comes back
  };
  const std::vector<Case> cases = {
      {"v=10", 10, true},
      {"v=-5", -5, true},
      {"v=0", 0, false},
      {"v=$1F", 31, true},
      {"v=0x1f", 31, true},
      {"v=0X10", 16, true},
      {"v= 12 ", 12, true},
      {"v='7'", 7, true},
      {"v=-2147483648", INT32_MIN, true},
      {"v=2147483648", -7, std::nullopt},
      {"v=", -7, std::nullopt},
      {"v=abc", -7, std::nullopt},
      {"v=12abc", -7, std::nullopt},
      {"v=1.5", -7, std::nullopt},
      {"v=True", -7, std::nullopt},
      {"v=false", -7, std::nullopt},
      {nullptr, -7, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line == nullptr ? "absent" : c.line);
    const IniFile ini = IniFile::Parse(std::string("[S]\n") + (c.line ? c.line : "") + "\n");
    EXPECT_EQ(ini.ReadInteger("S", "V", -7), c.integer);
    EXPECT_EQ(ini.ReadBool("S", "V", true), c.boolean.value_or(true));
    EXPECT_EQ(ini.ReadBool("S", "V", false), c.boolean.value_or(false));
  }
}

TEST(IniFileTest, LoadReadsThroughEnv) {
  MemoryEnv env;
  env.SetFile("/d/App.ini", "[S]\nk=1\n");
  env.SetUnreadable("/d/Locked.ini");
  EXPECT_EQ(IniFile::Load(&env, "/d/App.ini").ReadString("S", "k", ""), "1");
  EXPECT_FALSE(IniFile::Load(&env, "/d/Missing.ini").SectionExists("S"));
  EXPECT_FALSE(IniFile::Load(&env, "/d/Locked.ini").SectionExists("S"));
}

TEST(IniFileTest, WriteStringKeepsOtherLines) {
  const std::string bom = "\xEF\xBB\xBF";
  struct Case {
    const char* name;
    std::optional<std::string> before;  // nullopt: no file
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"new file", std::nullopt, "COMMON", "Identifier", "{1-2}",
       "[COMMON]\r\nIdentifier={1-2}\r\n"},
      {"replace first key of first section",
       "; top\r\n[Common]\r\n  Port = 1 \r\nport=2\r\n[common]\r\nPort=3\r\n", "COMMON", "PORT",
       "9", "; top\r\n[Common]\r\nPort=9\r\nport=2\r\n[common]\r\nPort=3\r\n"},
      {"append before trailing blanks", "[A]\nk=1\n[B]\nx=1\n\n \n", "B", "k", "2",
       "[A]\nk=1\n[B]\nx=1\nk=2\n\n \n"},
      {"append before next section", "[A]\nx=1\n\n[B]\ny=2\n", "a", "k", "v",
       "[A]\nx=1\nk=v\n\n[B]\ny=2\n"},
      {"append to last line without line end", "[A]\nx=1", "A", "k", "v", "[A]\nx=1\nk=v\n"},
      {"new section after last line without line end", "[A]\r\nx=1", "B", "k", "v",
       "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
      {"header alone", "[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
      {"CR line ends kept", "[A]\rx=1\r", "A", "y", "2", "[A]\rx=1\ry=2\r"},
      {"byte order mark kept", bom + "[A]\nx=1\n", "A", "x", "2", bom + "[A]\nx=2\n"},
      {"byte order mark alone", bom, "A", "k", "v", bom + "[A]\r\nk=v\r\n"},
      {"comment is no key", "[A]\n;k=1\n", "A", "k", "2", "[A]\n;k=1\nk=2\n"},
      {"keys before sections untouched", "k=1\n", "A", "k", "2", "k=1\n[A]\nk=2\n"},
      {"names trimmed", std::nullopt, " A ", " k ", "v", "[A]\r\nk=v\r\n"},
      {"empty value", "[A]\nk=1\n", "A", "k", "", "[A]\nk=\n"},
      {"blanks kept by quoting", "[A]\nk=1\n", "A", "k", " v ", "[A]\nk=\" v \"\n"},
      {"enclosing quotes kept by quoting", "[A]\n", "A", "k", "'q'", "[A]\nk=\"'q'\"\n"},
      {"inner quotes written as they are", "[A]\n", "A", "k", "a\"b", "[A]\nk=a\"b\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryEnv env;
    if (c.before) env.SetFile("/d/x.ini", *c.before);
    ASSERT_TRUE(IniFile::WriteString(&env, "/d/x.ini", c.section, c.key, c.value).ok());
    const std::optional<std::string> after = env.File("/d/x.ini");
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(*after, c.after);
    EXPECT_EQ(IniFile::Parse(*after).ReadString(c.section, c.key, kAbsent), c.value);
  }
}

TEST(IniFileTest, WriteStringRefusesWithoutTouchingTheFile) {
  struct Case {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
  };
  const std::vector<Case> cases = {
      {"empty key", "A", " ", "v"},
      {"= in key", "A", "a=b", "v"},
      {"comment key", "A", ";k", "v"},
      {"header key", "A", "[k", "v"},
      {"line break in key", "A", "a\nb", "v"},
      {"] in section", "a]b", "k", "v"},
      {"line break in section", "a\rb", "k", "v"},
      {"line break in value", "A", "k", "x\r\ny"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryEnv env;
    env.SetFile("/d/x.ini", "[A]\nk=1\n");
    EXPECT_FALSE(IniFile::WriteString(&env, "/d/x.ini", c.section, c.key, c.value).ok());
    EXPECT_EQ(env.File("/d/x.ini"), "[A]\nk=1\n");
  }
}

TEST(IniFileTest, WriteStringReportsFileErrors) {
  MemoryEnv env;
  env.SetUnreadable("/d/locked.ini");
  EXPECT_FALSE(IniFile::WriteString(&env, "/d/locked.ini", "A", "k", "v").ok());
  EXPECT_EQ(env.File("/d/locked.ini"), "");

  env.FailWrites();
  EXPECT_FALSE(IniFile::WriteString(&env, "/d/new.ini", "A", "k", "v").ok());
}

TEST(IniFileTest, WritesAccumulate) {
  MemoryEnv env;
  ASSERT_TRUE(IniFile::WriteString(&env, "/d/x.ini", "A", "k", "1").ok());
  ASSERT_TRUE(IniFile::WriteString(&env, "/d/x.ini", "B", "k", "2").ok());
  ASSERT_TRUE(IniFile::WriteString(&env, "/d/x.ini", "a", "j", "3").ok());
  ASSERT_TRUE(IniFile::WriteString(&env, "/d/x.ini", "A", "K", "4").ok());
  EXPECT_EQ(env.File("/d/x.ini"), "[A]\r\nk=4\r\nj=3\r\n[B]\r\nk=2\r\n");
}

TEST(IniFileTest, RoundTripOnDisk) {
  Env* env = Env::Default();
  TempDir dir;
  const std::string path = dir.path() + "Ident.ini";
  EXPECT_FALSE(IniFile::Load(env, path).SectionExists("COMMON"));
  ASSERT_TRUE(IniFile::WriteString(env, path, "COMMON", "Identifier", "{A}").ok());
  EXPECT_EQ(IniFile::Load(env, path).ReadString("COMMON", "Identifier", ""), "{A}");
  ASSERT_TRUE(env->WriteStringToFile(path, "; kept\n[common]\nidentifier=old\nOther=x\n").ok());
  ASSERT_TRUE(IniFile::WriteString(env, path, "COMMON", "Identifier", "{B}").ok());
  std::string text;
  ASSERT_TRUE(env->ReadFileToString(path, &text).ok());
  EXPECT_EQ(text, "; kept\n[common]\nidentifier={B}\nOther=x\n");
  EXPECT_EQ(IniFile::Load(env, path).ReadString("Common", "IDENTIFIER", ""), "{B}");
  EXPECT_FALSE(IniFile::WriteString(env, dir.path() + "no/such/folder/x.ini", "A", "k", "v").ok());
}

}  // namespace
}  // namespace vlau
