#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/env_posix.h"
#include "platform/posix/posix_error.h"
#include "platform/posix/service_unit_posix.h"

namespace vlau {
namespace {

constexpr char kUnitFolder[] = "etc/systemd/system/";

// Replaces the file at `path` with `data` through a temporary file in the
// same folder, so that readers see the old or the new unit, never a part.
Status ReplaceFileAtomically(const std::string& path, std::string_view data) {
  std::string temp_path = path + ".XXXXXX";
  int fd = mkostemp(temp_path.data(), O_CLOEXEC);
  if (fd < 0) return ErrnoStatus("create temporary file for", path, errno);
  Status status;
  size_t written = 0;
  while (status.ok() && written < data.size()) {
    ssize_t n = write(fd, data.data() + written, data.size() - written);
    if (n < 0 && errno != EINTR) status = ErrnoStatus("write", temp_path, errno);
    if (n > 0) written += static_cast<size_t>(n);
  }
  if (status.ok() && fchmod(fd, 0644) != 0) status = ErrnoStatus("chmod", temp_path, errno);
  if (status.ok() && fsync(fd) != 0) status = ErrnoStatus("fsync", temp_path, errno);
  if (close(fd) != 0 && status.ok()) status = ErrnoStatus("close", temp_path, errno);
  if (status.ok() && rename(temp_path.c_str(), path.c_str()) != 0) {
    status = ErrnoStatus("rename", temp_path + " to " + path, errno);
  }
  if (!status.ok()) unlink(temp_path.c_str());
  return status;
}

bool IsValidServiceName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

}  // namespace

std::string PosixEnv::ServiceUnitPath(const std::string& name) {
  return MachineRoot() + kUnitFolder + name + ".service";
}

bool PosixEnv::MayUseServiceManager() { return SystemdRunning() && MachineRoot() == "/"; }

Status PosixEnv::RegisterService(const ServiceDefinition& service) {
  if (!IsValidServiceName(service.name)) {
    return Status::Error("invalid service name \"" + service.name + "\"", EINVAL);
  }
  Status status = CreateDirs(MachineRoot() + kUnitFolder);
  if (!status.ok()) return status;
  status = WriteStringToFile(ServiceUnitPath(service.name), ServiceUnitText(service));
  if (!status.ok()) return status;
  if (!MayUseServiceManager()) return Status::OK();
  status = RunChecked({"systemctl", "daemon-reload"});
  if (!status.ok()) return status;
  return RunChecked({"systemctl", "enable", service.name});
}

Status PosixEnv::UnregisterService(const std::string& name) {
  if (!IsValidServiceName(name)) return Status::Error("service " + name + " is not installed");
  std::string unit_path = ServiceUnitPath(name);
  if (!FileExists(unit_path)) return Status::Error("service " + name + " is not installed");
  bool use_service_manager = MayUseServiceManager();
  if (use_service_manager) {
    int ignored_exit_code = 0;
    // Failing to disable must not keep the unit file.
    RunProcess({"systemctl", "disable", name}, &ignored_exit_code);
  }
  if (unlink(unit_path.c_str()) != 0) {
    if (errno == ENOENT) return Status::Error("service " + name + " is not installed", ENOENT);
    return ErrnoStatus("unlink", unit_path, errno);
  }
  if (use_service_manager) return RunChecked({"systemctl", "daemon-reload"});
  return Status::OK();
}

bool PosixEnv::ReadServiceDescription(const std::string& name, std::string* text) {
  if (!IsValidServiceName(name)) return false;
  std::string unit;
  if (!ReadFileToString(ServiceUnitPath(name), &unit).ok()) return false;
  return FindUnitDescription(unit, text);
}

Status PosixEnv::WriteServiceDescription(const std::string& name, const std::string& text) {
  if (text.find_first_of("\r\n") != std::string::npos) {
    return Status::Error("a service description must be a single line", EINVAL);
  }
  if (!IsValidServiceName(name)) return Status::Error("service " + name + " is not installed");
  std::string unit_path = ServiceUnitPath(name);
  std::string unit;
  Status status = ReadFileToString(unit_path, &unit);
  if (!status.ok()) {
    if (status.system_code() == ENOENT) {
      return Status::Error("service " + name + " is not installed", ENOENT);
    }
    return status;
  }
  return ReplaceFileAtomically(unit_path, SetUnitDescription(unit, text));
}

Status PosixEnv::RemoveServiceDescription(const std::string& name) {
  if (!IsValidServiceName(name)) return Status::OK();
  std::string unit_path = ServiceUnitPath(name);
  std::string unit;
  Status status = ReadFileToString(unit_path, &unit);
  if (!status.ok()) return status.system_code() == ENOENT ? Status::OK() : status;
  std::string changed = RemoveUnitDescription(unit);
  if (changed == unit) return Status::OK();
  return ReplaceFileAtomically(unit_path, changed);
}

}  // namespace vlau
