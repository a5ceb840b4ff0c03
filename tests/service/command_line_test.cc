#include "service/command_line.h"

#include <gtest/gtest.h>

namespace vlau {
namespace {

TEST(CommandLineTest, Switches) {
  using A = CommandLine::Action;
  struct Case {
    std::vector<std::string> args;
    bool ok;
    A action;
    bool silent;
  };
  const std::vector<Case> cases = {
      {{}, true, A::kService, false},
      {{"-install"}, true, A::kInstall, false},
      {{"/INSTALL", "/Silent"}, true, A::kInstall, true},
      {{"-silent", "-uninstall"}, true, A::kUninstall, true},
      {{"/UnInstall"}, true, A::kUninstall, false},
      {{"-console"}, true, A::kConsole, false},
      {{"/ONCE"}, true, A::kOnce, false},
      {{"-once", "-console"}, false, A::kService, false},
      {{"-silent"}, false, A::kService, false},
      {{"-once", "-silent"}, false, A::kService, false},
      {{"install"}, false, A::kService, false},
      {{"-"}, false, A::kService, false},
      {{"--install"}, false, A::kService, false},
      {{"-reinstall"}, false, A::kService, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    CommandLine cl;
    ASSERT_EQ(ParseCommandLine(c.args, &cl), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(cl.action, c.action);
    EXPECT_EQ(cl.silent, c.silent);
  }
}

}  // namespace
}  // namespace vlau
