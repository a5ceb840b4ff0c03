#ifndef VLAU_TESTS_SUPPORT_HOOKED_ENV_H_
#define VLAU_TESTS_SUPPORT_HOOKED_ENV_H_

#include <functional>
#include <optional>
#include <string>

#include "platform/env_wrapper.h"

namespace vlau {

// Shows a test every call that changes the file system or syncs it, before
// it runs, and lets the test fail it instead. Not thread-safe.
class HookedEnv : public EnvWrapper {
 public:
  // `op` is the Env method's name; `from` is set for RenameFile and
  // CopyFileContents, `path` is the path written (the target of those two).
  struct Call {
    std::string op;
    std::string from;
    std::string path;
  };
  // A Status returned by the hook is the call's result; the call then does
  // not run. std::nullopt lets it run.
  using Hook = std::function<std::optional<Status>(const Call&)>;

  HookedEnv(Env* target, Hook hook) : EnvWrapper(target), hook_(std::move(hook)) {}

  Status CreateDirs(const std::string& p) override;
  Status WriteStringToFile(const std::string& p, std::string_view d) override;
  Status AppendToFile(const std::string& p, std::string_view d, std::string_view prefix) override;
  Status RenameFile(const std::string& f, const std::string& t) override;
  Status CopyFileContents(const std::string& f, const std::string& t) override;
  Status RemoveFile(const std::string& p) override;
  Status RemoveDirectoryTree(const std::string& p) override;
  Status SyncFile(const std::string& p) override;
  Status SyncDirectory(const std::string& p) override;
  Status CreateShortcut(const std::string& target, const std::string& link, const std::string& dir,
                        const std::string& desc, const std::string& args) override;

 private:
  Hook hook_;
};

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_HOOKED_ENV_H_
