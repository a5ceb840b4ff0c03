#ifndef VLAU_PLATFORM_ENV_H_
#define VLAU_PLATFORM_ENV_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace vlau {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

struct Guid {
  uint32_t d1 = 0;
  uint16_t d2 = 0;
  uint16_t d3 = 0;
  uint8_t d4[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};

// The common folders shared by all users of the machine.
enum class CommonFolder {
  kDocuments,
  kStartMenu,
  kProgramsMenu,
  kStartup,
  kDesktop,
  kAppData,
};

// What the service registration needs to know about the program.
struct ServiceDefinition {
  std::string name;          // service name, e.g. "VLAppUpd"
  std::string display_name;  // shown by the service manager
  std::string executable;    // absolute path of the program to run
};

// Everything the updater takes from the operating system goes through an Env.
// The process-wide instance is Env::Default(); tests pass their own subclass
// (usually an EnvWrapper that overrides a few calls) to objects that take an
// Env*, which they never own.
//
// Paths are plain strings in the platform's form (UTF-8 everywhere). Every
// folder an Env returns ends with exactly one PathSeparator().
//
// Thread safety: every method may be called from any thread at once.
// Failure: operations that can fail return a Status carrying the system's
// message; queries that cannot fail by contract return an empty value.
class Env {
 public:
  Env() = default;
  Env(const Env&) = delete;
  Env& operator=(const Env&) = delete;
  virtual ~Env() = default;

  // The process-wide environment of this platform. Never deleted.
  static Env* Default();

  // Separator of path components: '/' on POSIX, '\\' on Windows.
  virtual char PathSeparator() const = 0;

  // --- Machine folders -----------------------------------------------------
  // The folder standing in for the file-system root for every machine-wide
  // folder the program derives. POSIX: $VLAPPUPD_ROOT when set and not
  // empty, else "/". Windows: the empty text (folders are absolute).
  virtual std::string MachineRoot() = 0;
  // A common folder of the machine; the empty text when it cannot be found.
  virtual std::string CommonFolderPath(CommonFolder folder) = 0;
  // The folder where programs are installed; empty when unknown.
  virtual std::string ProgramFilesFolder() = 0;
  // The temporary folder of the account the program runs under.
  virtual std::string TempFolder() = 0;
  // Absolute path of the running executable.
  virtual std::string ExecutablePath() = 0;

  // --- Files and folders ---------------------------------------------------
  virtual bool FileExists(const std::string& path) = 0;  // a regular file
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Creates the folder and every missing folder of its path.
  virtual Status CreateDirs(const std::string& path) = 0;
  virtual Status ReadFileToString(const std::string& path, std::string* data) = 0;
  // Creates or truncates the file, writes the data and closes it.
  virtual Status WriteStringToFile(const std::string& path, std::string_view data) = 0;
  // Appends to the file, creating it when missing; a newly created file gets
  // `prefix_if_created` first. Other writers of the file are held off for
  // the duration of the call.
  virtual Status AppendToFile(const std::string& path, std::string_view data,
                              std::string_view prefix_if_created) = 0;
  // Moves a file, replacing the target; fails where the system cannot
  // rename (for instance across file systems).
  virtual Status RenameFile(const std::string& from, const std::string& to) = 0;
  // Copies the content of a file to `to`, replacing it. The storage device
  // may start writing while the copy goes on, so that a SyncFile of `to`
  // right after finds little left to do.
  virtual Status CopyFileContents(const std::string& from, const std::string& to) = 0;
  virtual Status RemoveFile(const std::string& path) = 0;
  // Names (not paths) of the entries of a folder, without "." and "..".
  virtual Status ListDirectory(const std::string& path, std::vector<std::string>* names) = 0;
  // Deletes every file and folder below the folder `path`, going on after an
  // entry that cannot be deleted, and then the folder itself when nothing is
  // left in it. Symbolic links are deleted, never followed. OK only when the
  // folder is gone; otherwise the first failure. A `path` that is not a
  // folder fails.
  virtual Status RemoveDirectoryTree(const std::string& path) = 0;

  // --- Durability ----------------------------------------------------------
  // A crash or a power loss can lose what was written shortly before it.
  // Writes the file's content and attributes through to the storage device,
  // so that they survive a crash.
  virtual Status SyncFile(const std::string& path) = 0;
  // Writes the folder's list of entries through to the storage device, so
  // that entries created, renamed or removed in it survive a crash. OK
  // without doing anything where the system keeps entries durable on its own.
  virtual Status SyncDirectory(const std::string& path) = 0;

  // --- Time, identity, versions --------------------------------------------
  virtual LocalTime NowLocal() = 0;
  // A new GUID from the system's generator; on failure the Status carries
  // the system's last-error code.
  virtual Status NewGuid(Guid* guid) = 0;
  // The "FileVersion" text stored in an executable; empty when the file is
  // missing or carries none.
  virtual std::string GetFileVersionString(const std::string& path) = 0;

  // --- Processes -----------------------------------------------------------
  // Runs a program and waits for it; `exit_code` receives its exit status.
  virtual Status RunProcess(const std::vector<std::string>& argv, int* exit_code) = 0;
  // Starts a script detached from this process (and from the service's
  // process group or control group), without waiting for it.
  virtual Status StartDetachedScript(const std::string& script_path) = 0;

  // --- Service registration ------------------------------------------------
  virtual Status RegisterService(const ServiceDefinition& service) = 0;
  virtual Status UnregisterService(const std::string& name) = 0;
  // The service's description; false when the service, or its description,
  // does not exist or cannot be read.
  virtual bool ReadServiceDescription(const std::string& name, std::string* text) = 0;
  virtual Status WriteServiceDescription(const std::string& name, const std::string& text) = 0;
  virtual Status RemoveServiceDescription(const std::string& name) = 0;

  // --- Network -------------------------------------------------------------
  // This machine's IPv4 addresses in dotted-decimal form, see the
  // implementations for the order and what is left out.
  virtual std::vector<std::string> LocalIPv4Addresses() = 0;

  // --- Shell ---------------------------------------------------------------
  // Writes a shortcut file at `link_path` pointing at `target`. The folder of
  // `link_path` is not created.
  virtual Status CreateShortcut(const std::string& target, const std::string& link_path,
                                const std::string& working_directory,
                                const std::string& description, const std::string& arguments) = 0;
};

}  // namespace vlau

#endif  // VLAU_PLATFORM_ENV_H_
