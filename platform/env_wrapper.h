#ifndef VLAU_PLATFORM_ENV_WRAPPER_H_
#define VLAU_PLATFORM_ENV_WRAPPER_H_

#include "platform/env.h"

namespace vlau {

// Forwards every call to another Env. Subclass it to change a few calls, for
// instance to inject failures in tests. Does not own the target.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env* target) : target_(target) {}
  Env* target() const { return target_; }

  char PathSeparator() const override { return target_->PathSeparator(); }
  std::string MachineRoot() override { return target_->MachineRoot(); }
  std::string CommonFolderPath(CommonFolder f) override { return target_->CommonFolderPath(f); }
  std::string ProgramFilesFolder() override { return target_->ProgramFilesFolder(); }
  std::string TempFolder() override { return target_->TempFolder(); }
  std::string ExecutablePath() override { return target_->ExecutablePath(); }
  bool FileExists(const std::string& p) override { return target_->FileExists(p); }
  bool DirectoryExists(const std::string& p) override { return target_->DirectoryExists(p); }
  Status CreateDirs(const std::string& p) override { return target_->CreateDirs(p); }
  Status ReadFileToString(const std::string& p, std::string* d) override {
    return target_->ReadFileToString(p, d);
  }
  Status WriteStringToFile(const std::string& p, std::string_view d) override {
    return target_->WriteStringToFile(p, d);
  }
  Status AppendToFile(const std::string& p, std::string_view d, std::string_view prefix) override {
    return target_->AppendToFile(p, d, prefix);
  }
  Status RenameFile(const std::string& f, const std::string& t) override {
    return target_->RenameFile(f, t);
  }
  Status CopyFileContents(const std::string& f, const std::string& t) override {
    return target_->CopyFileContents(f, t);
  }
  Status RemoveFile(const std::string& p) override { return target_->RemoveFile(p); }
  Status ListDirectory(const std::string& p, std::vector<std::string>* n) override {
    return target_->ListDirectory(p, n);
  }
  Status RemoveDirectoryTree(const std::string& p) override {
    return target_->RemoveDirectoryTree(p);
  }
  Status SyncFile(const std::string& p) override { return target_->SyncFile(p); }
  Status SyncDirectory(const std::string& p) override { return target_->SyncDirectory(p); }
  LocalTime NowLocal() override { return target_->NowLocal(); }
  Status NewGuid(Guid* g) override { return target_->NewGuid(g); }
  std::string GetFileVersionString(const std::string& p) override {
    return target_->GetFileVersionString(p);
  }
  Status RunProcess(const std::vector<std::string>& argv, int* code) override {
    return target_->RunProcess(argv, code);
  }
  Status StartDetachedScript(const std::string& p) override {
    return target_->StartDetachedScript(p);
  }
  Status RegisterService(const ServiceDefinition& s) override {
    return target_->RegisterService(s);
  }
  Status UnregisterService(const std::string& n) override { return target_->UnregisterService(n); }
  bool ReadServiceDescription(const std::string& n, std::string* t) override {
    return target_->ReadServiceDescription(n, t);
  }
  Status WriteServiceDescription(const std::string& n, const std::string& t) override {
    return target_->WriteServiceDescription(n, t);
  }
  Status RemoveServiceDescription(const std::string& n) override {
    return target_->RemoveServiceDescription(n);
  }
  std::vector<std::string> LocalIPv4Addresses() override { return target_->LocalIPv4Addresses(); }
  Status CreateShortcut(const std::string& target, const std::string& link, const std::string& dir,
                        const std::string& desc, const std::string& args) override {
    return target_->CreateShortcut(target, link, dir, desc, args);
  }

 private:
  Env* target_;
};

}  // namespace vlau

#endif  // VLAU_PLATFORM_ENV_WRAPPER_H_
