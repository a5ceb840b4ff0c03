#ifndef VLAU_TESTS_SUPPORT_SANDBOX_ENV_H_
#define VLAU_TESTS_SUPPORT_SANDBOX_ENV_H_

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/env_wrapper.h"
#include "tests/support/temp_dir.h"

namespace vlau {

// The real file system inside a temporary folder, with every machine-wide
// folder, the executable's path and the temporary folder placed in it, and
// the calls that would reach beyond it (service registration, processes,
// the clock, the GUID generator) answered and recorded in memory.
// Thread-safe.
class SandboxEnv : public EnvWrapper {
 public:
  SandboxEnv();

  // The sandbox folder, ending with a separator.
  const std::string& root() const { return dir_.path(); }
  std::string DataFolder() const;
  void SetExecutablePath(std::string path) { executable_ = std::move(path); }
  // A file in the sandbox, folders created; `relative` uses '/'.
  std::string Put(const std::string& relative, const std::string& data);
  std::string Path(const std::string& relative) const;
  std::string Read(const std::string& path);
  // Stores an identifier in the data folder so that constructing the
  // settings object writes nothing.
  void PutIdentifier(const std::string& text = "{6B29FC40-CA47-1067-B31D-00DD010662DA}");

  void SetNow(const LocalTime& t);
  void FailGuid(int system_code) { guid_failure_ = system_code; }
  void SetFileVersion(const std::string& path, std::string version);
  // Service registration in memory: registered services and their
  // description (nullopt: none).
  bool IsRegistered(const std::string& name);
  std::optional<std::string> Description(const std::string& name);
  void SetDescription(const std::string& name, std::optional<std::string> text);
  void FailDescriptionWrites() { fail_description_writes_ = true; }
  std::vector<std::string> StartedScripts();

  std::string MachineRoot() override { return root(); }
  std::string CommonFolderPath(CommonFolder folder) override;
  std::string ProgramFilesFolder() override { return Path("opt/"); }
  std::string TempFolder() override { return Path("tmp/"); }
  std::string ExecutablePath() override { return executable_; }
  LocalTime NowLocal() override;
  Status NewGuid(Guid* guid) override;
  std::string GetFileVersionString(const std::string& path) override;
  Status RunProcess(const std::vector<std::string>& argv, int* exit_code) override;
  Status StartDetachedScript(const std::string& script_path) override;
  Status RegisterService(const ServiceDefinition& service) override;
  Status UnregisterService(const std::string& name) override;
  bool ReadServiceDescription(const std::string& name, std::string* text) override;
  Status WriteServiceDescription(const std::string& name, const std::string& text) override;
  Status RemoveServiceDescription(const std::string& name) override;

 private:
  TempDir dir_;
  std::string executable_;
  std::mutex mu_;
  std::optional<LocalTime> now_;
  std::optional<int> guid_failure_;
  std::map<std::string, std::string> file_versions_;
  std::map<std::string, std::optional<std::string>> services_;
  bool fail_description_writes_ = false;
  std::vector<std::string> started_scripts_;
};

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_SANDBOX_ENV_H_
