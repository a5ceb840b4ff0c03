#ifndef VLAU_PLATFORM_POSIX_ENV_POSIX_H_
#define VLAU_PLATFORM_POSIX_ENV_POSIX_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace vlau {

// The Env of POSIX systems (Linux with or without systemd).
//
// Machine folders hang below MachineRoot(), which is read from
// $VLAPPUPD_ROOT at every call so that a trial run can be sandboxed in a
// folder; with a sandbox root nothing outside it is touched: no service
// manager command is run and no detached script is started.
//
// Holds no state but the executable's path, read once per process; every
// method may be called from any thread at once.
// Failed system calls give Status::Error("<action> <path>: <strerror>",
// errno).
class PosixEnv : public Env {
 public:
  PosixEnv() = default;

  char PathSeparator() const override { return '/'; }

  // "/" or $VLAPPUPD_ROOT, always with exactly one trailing "/".
  std::string MachineRoot() override;
  std::string CommonFolderPath(CommonFolder folder) override;
  // <root>opt/
  std::string ProgramFilesFolder() override;
  // $TMPDIR when set and not empty, else "/tmp/"; not below the root.
  std::string TempFolder() override;
  // The target of /proc/self/exe when first asked (at start-up), kept
  // when the program file is moved or deleted later; empty when it cannot
  // be read.
  std::string ExecutablePath() override;

  // Follows symbolic links.
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  // mkdir -p: new folders get mode 0755; an existing folder is fine.
  Status CreateDirs(const std::string& path) override;
  Status ReadFileToString(const std::string& path, std::string* data) override;
  // New files get mode 0644 (less the umask).
  Status WriteStringToFile(const std::string& path, std::string_view data) override;
  // Holds an exclusive flock() on the file while writing. A file it creates
  // appears with the prefix and the data already in it (written under a
  // temporary name beside it, then hard-linked into place), so no other
  // writer can append before the prefix.
  Status AppendToFile(const std::string& path, std::string_view data,
                      std::string_view prefix_if_created) override;
  // rename(2): atomic, replaces `to`, fails across file systems.
  Status RenameFile(const std::string& from, const std::string& to) override;
  // Copies in the kernel where it can; `to` gets the permission bits of
  // `from`. Copying a file onto itself fails (it would empty it). Copies in
  // steps of 1 MiB and starts writing each step out at once
  // (sync_file_range), without waiting for it.
  Status CopyFileContents(const std::string& from, const std::string& to) override;
  Status RemoveFile(const std::string& path) override;
  // The names come in the order the file system gives them, not sorted.
  Status ListDirectory(const std::string& path, std::vector<std::string>* names) override;
  // Works below the folder through descriptors (openat, unlinkat), so a
  // folder swapped for a symbolic link while it runs is not followed.
  // POSIX has no attribute that keeps a file from being deleted; a
  // folder's own permissions are left as they are.
  Status RemoveDirectoryTree(const std::string& path) override;
  // fsync(2). A file system that cannot sync a file (EINVAL) counts as
  // done.
  Status SyncFile(const std::string& path) override;
  // fsync(2) of the folder; EINVAL, as above, counts as done.
  Status SyncDirectory(const std::string& path) override;

  LocalTime NowLocal() override;
  // A random (version 4) GUID from getrandom().
  Status NewGuid(Guid* guid) override;
  // The version stamped into the program at build time, see
  // file_version_posix.h.
  std::string GetFileVersionString(const std::string& path) override;

  // Searches $PATH for argv[0]. `exit_code` is the exit status, or 128 plus
  // the signal number when the program was killed by a signal. The program
  // starts with no signal blocked.
  Status RunProcess(const std::vector<std::string>& argv, int* exit_code) override;
  // Runs "/bin/sh <script_path>" in a transient systemd unit when systemd
  // is running, else in a new session (double fork) with standard streams
  // on /dev/null. Refuses to run anything while a sandbox root is set.
  Status StartDetachedScript(const std::string& script_path) override;

  // The service is the systemd unit <root>etc/systemd/system/<name>.service.
  // systemctl is run only when systemd is running and the root is "/".
  Status RegisterService(const ServiceDefinition& service) override;
  Status UnregisterService(const std::string& name) override;
  // The Description= line of the unit's [Unit] section.
  bool ReadServiceDescription(const std::string& name, std::string* text) override;
  // Replaces or inserts the Description= line, keeping every other line;
  // the unit is replaced atomically. The text must be a single line.
  Status WriteServiceDescription(const std::string& name, const std::string& text) override;
  // Fine when the unit or its description does not exist.
  Status RemoveServiceDescription(const std::string& name) override;

  // Addresses of the interfaces that are up, in the system's order,
  // without loopback (127.0.0.0/8) addresses; when there are none, the
  // addresses the host name resolves to. No duplicates.
  std::vector<std::string> LocalIPv4Addresses() override;

  // Writes a Windows shell link (.lnk) file, see shell_link_file.h.
  Status CreateShortcut(const std::string& target, const std::string& link_path,
                        const std::string& working_directory, const std::string& description,
                        const std::string& arguments) override;

 private:
  // systemd is the service manager of this boot: /run/systemd/system is a
  // folder (the check sd_booted() makes).
  static bool SystemdRunning();
  std::string ServiceUnitPath(const std::string& name);
  // True when systemd is running and no sandbox root is set: the only
  // case where systemctl may be run.
  bool MayUseServiceManager();
  // Runs argv; a start failure or a non-zero exit status is an error
  // naming the command.
  Status RunChecked(const std::vector<std::string>& argv);
};

}  // namespace vlau

#endif  // VLAU_PLATFORM_POSIX_ENV_POSIX_H_
