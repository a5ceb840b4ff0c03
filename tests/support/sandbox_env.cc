#include "tests/support/sandbox_env.h"

namespace vlau {

SandboxEnv::SandboxEnv() : EnvWrapper(Env::Default()) {
  executable_ = Path("bin/VLAppUpdater");
  CreateDirs(Path("bin/"));
  CreateDirs(Path("tmp/"));
}

std::string SandboxEnv::Path(const std::string& relative) const {
  std::string p = root() + relative;
  for (char& c : p) {
    if (c == '/') c = PathSeparator();
  }
  return p;
}

std::string SandboxEnv::DataFolder() const { return Path("var/lib/Velmora/VLAppUpdater/"); }

std::string SandboxEnv::Put(const std::string& relative, const std::string& data) {
  const std::string p = Path(relative);
  CreateDirs(p.substr(0, p.rfind(PathSeparator()) + 1));
  WriteStringToFile(p, data);
  return p;
}

std::string SandboxEnv::Read(const std::string& path) {
  std::string data;
  ReadFileToString(path, &data);
  return data;
}

void SandboxEnv::PutIdentifier(const std::string& text) {
  Put("var/lib/Velmora/VLAppUpdater/Ident.ini", "[COMMON]\r\nIdentifier=" + text + "\r\n");
}

std::string SandboxEnv::CommonFolderPath(CommonFolder folder) {
  switch (folder) {
    case CommonFolder::kAppData:
      return Path("var/lib/");
    case CommonFolder::kDocuments:
      return Path("common/documents/");
    case CommonFolder::kStartMenu:
      return Path("common/startmenu/");
    case CommonFolder::kProgramsMenu:
      return Path("common/programs/");
    case CommonFolder::kStartup:
      return Path("common/startup/");
    case CommonFolder::kDesktop:
      return Path("common/desktop/");
  }
  return "";
}

void SandboxEnv::SetNow(const LocalTime& t) {
  std::lock_guard<std::mutex> lock(mu_);
  now_ = t;
}

LocalTime SandboxEnv::NowLocal() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (now_) return *now_;
  }
  return target()->NowLocal();
}

Status SandboxEnv::NewGuid(Guid* guid) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (guid_failure_) return Status::Error("generator failed", *guid_failure_);
  }
  return target()->NewGuid(guid);
}

void SandboxEnv::SetFileVersion(const std::string& path, std::string version) {
  std::lock_guard<std::mutex> lock(mu_);
  file_versions_[path] = std::move(version);
}

std::string SandboxEnv::GetFileVersionString(const std::string& path) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = file_versions_.find(path);
  return it == file_versions_.end() ? std::string() : it->second;
}

Status SandboxEnv::RunProcess(const std::vector<std::string>& argv, int*) {
  return Status::Error("no process runs in the sandbox: " + (argv.empty() ? "" : argv[0]));
}

Status SandboxEnv::StartDetachedScript(const std::string& script_path) {
  std::lock_guard<std::mutex> lock(mu_);
  started_scripts_.push_back(script_path);
  return Status::OK();
}

std::vector<std::string> SandboxEnv::StartedScripts() {
  std::lock_guard<std::mutex> lock(mu_);
  return started_scripts_;
}

Status SandboxEnv::RegisterService(const ServiceDefinition& service) {
  std::lock_guard<std::mutex> lock(mu_);
  services_[service.name] = std::nullopt;
  return Status::OK();
}

Status SandboxEnv::UnregisterService(const std::string& name) {
  std::lock_guard<std::mutex> lock(mu_);
  if (services_.erase(name) == 0) return Status::Error("service " + name + " is not installed");
  return Status::OK();
}

bool SandboxEnv::IsRegistered(const std::string& name) {
  std::lock_guard<std::mutex> lock(mu_);
  return services_.count(name) != 0;
}

std::optional<std::string> SandboxEnv::Description(const std::string& name) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = services_.find(name);
  return it == services_.end() ? std::nullopt : it->second;
}

void SandboxEnv::SetDescription(const std::string& name, std::optional<std::string> text) {
  std::lock_guard<std::mutex> lock(mu_);
  services_[name] = std::move(text);
}

bool SandboxEnv::ReadServiceDescription(const std::string& name, std::string* text) {
  std::optional<std::string> d = Description(name);
  if (!d) return false;
  *text = *d;
  return true;
}

Status SandboxEnv::WriteServiceDescription(const std::string& name, const std::string& text) {
  std::lock_guard<std::mutex> lock(mu_);
  if (fail_description_writes_ || services_.count(name) == 0) {
    return Status::Error("service " + name + " is not installed");
  }
  services_[name] = text;
  return Status::OK();
}

Status SandboxEnv::RemoveServiceDescription(const std::string& name) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = services_.find(name);
  if (it != services_.end()) it->second.reset();
  return Status::OK();
}

}  // namespace vlau
