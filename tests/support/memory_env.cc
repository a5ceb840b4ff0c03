#include "tests/support/memory_env.h"

namespace vlau {

std::optional<std::string> MemoryEnv::File(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

void MemoryEnv::SetFile(const std::string& path, std::string_view data) {
  std::lock_guard<std::mutex> lock(mu_);
  files_[path] = std::string(data);
}

void MemoryEnv::SetUnreadable(const std::string& path) {
  std::lock_guard<std::mutex> lock(mu_);
  files_[path];
  unreadable_[path] = true;
}

std::string MemoryEnv::ProgramFilesFolder() { return program_files_; }

std::string MemoryEnv::TempFolder() { return temp_; }

std::string MemoryEnv::CommonFolderPath(CommonFolder folder) {
  auto it = common_.find(folder);
  return it == common_.end() ? std::string() : it->second;
}

bool MemoryEnv::FileExists(const std::string& path) {
  std::lock_guard<std::mutex> lock(mu_);
  return files_.count(path) != 0;
}

Status MemoryEnv::ReadFileToString(const std::string& path, std::string* data) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = files_.find(path);
  if (it == files_.end()) return Status::Error(path + ": No such file or directory", 2);
  if (unreadable_.count(path) != 0) return Status::Error(path + ": Permission denied", 13);
  *data = it->second;
  return Status::OK();
}

Status MemoryEnv::WriteStringToFile(const std::string& path, std::string_view data) {
  std::lock_guard<std::mutex> lock(mu_);
  if (fail_writes_) return Status::Error(path + ": No space left on device", 28);
  files_[path] = std::string(data);
  unreadable_.erase(path);
  return Status::OK();
}

}  // namespace vlau
