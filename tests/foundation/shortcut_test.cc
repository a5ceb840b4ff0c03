#include "foundation/shortcut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/env_wrapper.h"

namespace vlau {
namespace {

// Records the shortcut request instead of making a file.
class RecordingEnv : public EnvWrapper {
 public:
  explicit RecordingEnv(char separator) : EnvWrapper(nullptr), separator_(separator) {}
  char PathSeparator() const override { return separator_; }
  Status CreateShortcut(const std::string& target, const std::string& link, const std::string& dir,
                        const std::string& desc, const std::string& args) override {
    calls.push_back({target, link, dir, desc, args});
    return Status::Error("refused", 5);
  }

  std::vector<std::vector<std::string>> calls;

 private:
  char separator_;
};

TEST(CreateShortcutTest, PassesTheTargetFolderAsWorkingDirectory) {
  struct Case {
    char separator;
    std::string target, working_directory;
  };
  const std::vector<Case> cases = {
      {'/', "/opt/app/bin/run.sh", "/opt/app/bin/"},
      {'/', "/run.sh", "/"},
      {'/', "run.sh", ""},
      {'/', "a:b/c:d", "a:b/"},
      {'/', "c:run", ""},
      {'\\', "C:\\Apps\\Billing\\bill.exe", "C:\\Apps\\Billing\\"},
      {'\\', "\\\\srv\\share\\app.exe", "\\\\srv\\share\\"},
      {'\\', "C:app.exe", "C:"},
      {'\\', "app.exe", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    RecordingEnv env(c.separator);
    CreateShortcut(&env, c.target, "link.lnk", "Billing", "/q \"x y\"");
    ASSERT_EQ(env.calls.size(), 1u);
    EXPECT_EQ(env.calls[0], (std::vector<std::string>{c.target, "link.lnk", c.working_directory,
                                                      "Billing", "/q \"x y\""}));
  }
}

}  // namespace
}  // namespace vlau
