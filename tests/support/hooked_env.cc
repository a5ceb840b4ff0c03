#include "tests/support/hooked_env.h"

namespace vlau {

Status HookedEnv::CreateDirs(const std::string& p) {
  if (auto s = hook_({"CreateDirs", "", p})) return *s;
  return EnvWrapper::CreateDirs(p);
}

Status HookedEnv::WriteStringToFile(const std::string& p, std::string_view d) {
  if (auto s = hook_({"WriteStringToFile", "", p})) return *s;
  return EnvWrapper::WriteStringToFile(p, d);
}

Status HookedEnv::AppendToFile(const std::string& p, std::string_view d, std::string_view prefix) {
  if (auto s = hook_({"AppendToFile", "", p})) return *s;
  return EnvWrapper::AppendToFile(p, d, prefix);
}

Status HookedEnv::RenameFile(const std::string& f, const std::string& t) {
  if (auto s = hook_({"RenameFile", f, t})) return *s;
  return EnvWrapper::RenameFile(f, t);
}

Status HookedEnv::CopyFileContents(const std::string& f, const std::string& t) {
  if (auto s = hook_({"CopyFileContents", f, t})) return *s;
  return EnvWrapper::CopyFileContents(f, t);
}

Status HookedEnv::RemoveFile(const std::string& p) {
  if (auto s = hook_({"RemoveFile", "", p})) return *s;
  return EnvWrapper::RemoveFile(p);
}

Status HookedEnv::RemoveDirectoryTree(const std::string& p) {
  if (auto s = hook_({"RemoveDirectoryTree", "", p})) return *s;
  return EnvWrapper::RemoveDirectoryTree(p);
}

Status HookedEnv::SyncFile(const std::string& p) {
  if (auto s = hook_({"SyncFile", "", p})) return *s;
  return EnvWrapper::SyncFile(p);
}

Status HookedEnv::SyncDirectory(const std::string& p) {
  if (auto s = hook_({"SyncDirectory", "", p})) return *s;
  return EnvWrapper::SyncDirectory(p);
}

Status HookedEnv::CreateShortcut(const std::string& target, const std::string& link,
                                 const std::string& dir, const std::string& desc,
                                 const std::string& args) {
  if (auto s = hook_({"CreateShortcut", target, link})) return *s;
  return EnvWrapper::CreateShortcut(target, link, dir, desc, args);
}

}  // namespace vlau
