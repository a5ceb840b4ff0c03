#include "platform/posix/env_posix.h"

#include <sys/random.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/posix_error.h"
#include "platform/posix/shell_link_file.h"

namespace vlau {
namespace {

// Where the common folders live below the machine root. The one place to
// change when the layout changes.
struct CommonFolderEntry {
  CommonFolder folder;
  const char* relative_path;
};
constexpr CommonFolderEntry kCommonFolders[] = {
    {CommonFolder::kAppData, "var/lib/"},
    {CommonFolder::kDocuments, "srv/"},
    {CommonFolder::kStartMenu, "usr/local/share/applications/"},
    {CommonFolder::kProgramsMenu, "usr/local/share/applications/"},
    {CommonFolder::kStartup, "etc/xdg/autostart/"},
    {CommonFolder::kDesktop, "etc/skel/Desktop/"},
};
constexpr char kProgramFilesRelative[] = "opt/";

// The value of an environment variable as a folder with exactly one
// trailing "/", or `fallback` when it is unset or empty.
std::string FolderFromEnvironment(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  std::string folder = (value != nullptr && *value != '\0') ? value : fallback;
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  folder += '/';
  return folder;
}

// The target of /proc/self/exe; empty when it cannot be read.
std::string ReadExecutableLink() {
  std::string buffer(256, '\0');
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);  // possibly cut off: try a larger buffer
  }
}

}  // namespace

Env* Env::Default() {
  static PosixEnv env;
  return &env;
}

std::string PosixEnv::MachineRoot() { return FolderFromEnvironment("VLAPPUPD_ROOT", "/"); }

std::string PosixEnv::CommonFolderPath(CommonFolder folder) {
  for (const CommonFolderEntry& entry : kCommonFolders) {
    if (entry.folder == folder) return MachineRoot() + entry.relative_path;
  }
  return std::string();
}

std::string PosixEnv::ProgramFilesFolder() { return MachineRoot() + kProgramFilesRelative; }

std::string PosixEnv::TempFolder() { return FolderFromEnvironment("TMPDIR", "/tmp"); }

std::string PosixEnv::ExecutablePath() {
  // Read once: the link follows the program file when it is moved or
  // deleted later, as a self-update does, while every use means the path
  // the program was started from.
  static const std::string path = ReadExecutableLink();
  return path;
}

LocalTime PosixEnv::NowLocal() {
  timespec now = {};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local = {};
  localtime_r(&now.tv_sec, &local);
  LocalTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec;
  result.millisecond = static_cast<int>(now.tv_nsec / 1000000);
  return result;
}

Status PosixEnv::NewGuid(Guid* guid) {
  uint8_t bytes[16];
  size_t filled = 0;
  while (filled < sizeof(bytes)) {
    ssize_t n = getrandom(bytes + filled, sizeof(bytes) - filled, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoStatus("getrandom", "", errno);
    }
    filled += static_cast<size_t>(n);
  }
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4: random
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  // The text form prints d1, d2 and d3 as numbers, most significant byte
  // first, then the d4 bytes in order.
  guid->d1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
             uint32_t{bytes[3]};
  guid->d2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
  guid->d3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) guid->d4[i] = bytes[8 + i];
  return Status::OK();
}

Status PosixEnv::CreateShortcut(const std::string& target, const std::string& link_path,
                                const std::string& working_directory,
                                const std::string& description, const std::string& arguments) {
  ShellLinkFields fields;
  fields.target = target;
  fields.working_directory = working_directory;
  fields.description = description;
  fields.arguments = arguments;
  return WriteShellLinkFile(link_path, fields);
}

}  // namespace vlau
