#ifndef VLAU_TESTS_SUPPORT_MEMORY_ENV_H_
#define VLAU_TESTS_SUPPORT_MEMORY_ENV_H_

#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/env_wrapper.h"

namespace vlau {

// An Env for tests whose files live in memory and whose machine folders are
// fixed texts. File calls other than reading, writing and FileExists, and
// every call not about folders, go to the target, which may be nullptr when
// the code under test makes no such call.
// Thread-safe.
class MemoryEnv : public EnvWrapper {
 public:
  explicit MemoryEnv(Env* target = nullptr) : EnvWrapper(target) {}

  // The content of a file; nullopt when it does not exist.
  std::optional<std::string> File(const std::string& path) const;
  void SetFile(const std::string& path, std::string_view data);
  // A file that exists but cannot be read (ReadFileToString fails).
  void SetUnreadable(const std::string& path);
  // Every write fails from now on.
  void FailWrites() { fail_writes_ = true; }

  // Folder values; each starts empty. Set them before the Env is shared
  // between threads.
  void SetPathSeparator(char separator) { separator_ = separator; }
  void SetProgramFilesFolder(std::string folder) { program_files_ = std::move(folder); }
  void SetTempFolder(std::string folder) { temp_ = std::move(folder); }
  void SetCommonFolder(CommonFolder folder, std::string path) { common_[folder] = std::move(path); }

  char PathSeparator() const override { return separator_; }
  std::string ProgramFilesFolder() override;
  std::string TempFolder() override;
  std::string CommonFolderPath(CommonFolder folder) override;

  bool FileExists(const std::string& path) override;
  Status ReadFileToString(const std::string& path, std::string* data) override;
  Status WriteStringToFile(const std::string& path, std::string_view data) override;

 private:
  mutable std::mutex mu_;
  std::map<std::string, std::string> files_;
  std::map<std::string, bool> unreadable_;
  std::atomic<bool> fail_writes_ = false;
  char separator_ = '/';
  std::string program_files_;
  std::string temp_;
  std::map<CommonFolder, std::string> common_;
};

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_MEMORY_ENV_H_
