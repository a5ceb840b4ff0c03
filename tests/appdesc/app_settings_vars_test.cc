#include "appdesc/app_settings_vars.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vlau {
namespace {

using Entries = std::vector<std::string>;

TAppSettingsVars ListOf(const std::vector<std::pair<std::string, std::string>>& vars) {
  TAppSettingsVars list;
  for (const auto& [name, value] : vars) list.AddVar(name, value);
  return list;
}

TEST(TAppSettingsVarsTest, GetUpdatedStringMakesOnePass) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> vars;
    std::string text;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"empty list", {}, "%A%x\\", "%A%x\\"},
      {"every occurrence", {{"A", "1"}}, "x%A%y%A%", "x1y1"},
      {"case-sensitive", {{"TEMP", "/t/"}}, "%TEMP%Setup/ %Temp%Setup/", "/t/Setup/ %Temp%Setup/"},
      {"unknown names and lone %", {{"A", "1"}}, "%MISSING%x 100% %", "%MISSING%x 100% %"},
      {"% before a pattern", {{"A", "1"}}, "%%A%", "%1"},
      {"left to right, no overlap", {{"A", "1"}}, "%A%A%", "1A%"},
      {"first of a repeated name", {{"A", "1"}, {"A", "2"}}, "%A%", "1"},
      {"later variable in a value", {{"B", "%C%x"}, {"C", "y"}}, "%B%", "yx"},
      {"earlier variable in a value", {{"C", "y"}, {"B", "%C%x"}}, "%B%", "%C%x"},
      {"value not searched again", {{"A", "%A%!"}}, "%A%", "%A%!"},
      {"value with =", {{"K", "a=b"}}, "<%K%>", "<a=b>"},
      {"empty value", {{"E", ""}}, "x%E%y", "xy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ListOf(c.vars).GetUpdatedString(c.text), c.expected);
  }
}

TEST(TAppSettingsVarsTest, LookupsByNameAndIndex) {
  const TAppSettingsVars vars = ListOf({{"A", "1"}, {"a", "2"}, {"K", "a=b"}, {"E", ""}});
  EXPECT_EQ(vars.Vars(), (Entries{"A=1", "a=2", "K=a=b", "E="}));
  EXPECT_EQ(vars.Count(), 4);
  EXPECT_EQ(vars.GetValue("a"), "1");
  EXPECT_EQ(vars.GetValue("k"), "a=b");
  EXPECT_EQ(vars.GetValue("E"), "");
  EXPECT_EQ(vars.GetValue("Missing"), "");
  EXPECT_EQ(vars.GetName(1), "a");
  EXPECT_EQ(vars.GetName(2), "K");
  EXPECT_EQ(vars.GetValueOfIndex(2), "a=b");
  EXPECT_EQ(vars.GetValueOfIndex(3), "");
  for (int index : {-1, 4}) {
    SCOPED_TRACE(index);
    EXPECT_THROW(vars.GetName(index), std::out_of_range);
    EXPECT_THROW(vars.GetValueOfIndex(index), std::out_of_range);
  }
}

TEST(TAppSettingsVarsTest, AddVarsExpandsAgainstEntriesBeforeEach) {
  struct Case {
    const char* name;
    Entries incoming;
    Entries expected;  // after the entry ROOT=/r/ already present
    std::string b;     // what %B% expands to afterwards
  };
  const std::vector<Case> cases = {
      {"forward reference stays", {"B=%C%x", "C=y"}, {"ROOT=/r/", "B=%C%x", "C=y"}, "yx"},
      {"backward reference expanded", {"C=y", "B=%C%x"}, {"ROOT=/r/", "C=y", "B=yx"}, "yx"},
      {"present entries", {"B=%ROOT%b/"}, {"ROOT=/r/", "B=/r/b/"}, "/r/b/"},
      {"names not expanded", {"%ROOT%=v"}, {"ROOT=/r/", "%ROOT%=v"}, "%B%"},
      {"value keeps =", {"B=k=%ROOT%"}, {"ROOT=/r/", "B=k=/r/"}, "k=/r/"},
      {"text without =", {"B"}, {"ROOT=/r/", "B="}, ""},
      {"repeated name keeps the first",
       {"ROOT=/s/", "B=%ROOT%"},
       {"ROOT=/r/", "ROOT=/s/", "B=/r/"},
       "/r/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TAppSettingsVars vars = ListOf({{"ROOT", "/r/"}});
    vars.AddVars(c.incoming);
    EXPECT_EQ(vars.Vars(), c.expected);
    EXPECT_EQ(vars.GetUpdatedString("%B%"), c.b);
  }
  EXPECT_EQ(TAppSettingsVars(Entries{"C=y", "B=%C%x"}).Vars(), (Entries{"C=y", "B=yx"}));
}

TEST(TAppSettingsVarsTest, TextJoinsWithDelimiter) {
  TAppSettingsVars vars;
  EXPECT_EQ(vars.TextDelimeter(), ";");
  EXPECT_EQ(vars.Text(), "");
  vars.AddVar("A", "1");
  EXPECT_EQ(vars.Text(), "A=1");
  vars.AddVar("B", "2");
  EXPECT_EQ(vars.Text(), "A=1;B=2");
  vars.SetTextDelimeter("\r\n");
  EXPECT_EQ(vars.Text(), "A=1\r\nB=2");
  vars.Clear();
  EXPECT_EQ(vars.Count(), 0);
  EXPECT_EQ(vars.Text(), "");
  EXPECT_EQ(vars.TextDelimeter(), "\r\n");
}

}  // namespace
}  // namespace vlau
