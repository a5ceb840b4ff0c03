#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/env_posix.h"
#include "platform/posix/posix_error.h"

extern char** environ;

namespace vlau {
namespace {

std::string JoinCommand(const std::vector<std::string>& argv) {
  std::string command;
  for (const std::string& arg : argv) {
    if (!command.empty()) command += ' ';
    command += arg;
  }
  return command;
}

std::vector<char*> CArgv(const std::vector<std::string>& argv) {
  std::vector<char*> result;
  result.reserve(argv.size() + 1);
  for (const std::string& arg : argv) result.push_back(const_cast<char*>(arg.c_str()));
  result.push_back(nullptr);
  return result;
}

// Waits for the child; false with errno set when waitpid fails.
bool WaitForChild(pid_t pid, int* wait_status) {
  for (;;) {
    if (waitpid(pid, wait_status, 0) == pid) return true;
    if (errno != EINTR) return false;
  }
}

int ExitCodeOf(int wait_status) {
  if (WIFEXITED(wait_status)) return WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) return 128 + WTERMSIG(wait_status);
  return -1;
}

// Spawn attributes giving the child an empty signal mask and the default
// actions for the signals the service blocks or handles.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    posix_spawnattr_init(&attributes_);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes_, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGHUP);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes_, &defaults);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

}  // namespace

bool PosixEnv::SystemdRunning() {
  struct stat info;
  return stat("/run/systemd/system", &info) == 0 && S_ISDIR(info.st_mode);
}

Status PosixEnv::RunProcess(const std::vector<std::string>& argv, int* exit_code) {
  if (argv.empty() || argv[0].empty()) return ErrnoStatus("start", "(no program)", EINVAL);
  std::vector<char*> c_argv = CArgv(argv);
  SpawnAttributes attributes;
  pid_t pid = 0;
  int error_number =
      posix_spawnp(&pid, c_argv[0], nullptr, attributes.get(), c_argv.data(), environ);
  if (error_number != 0) return ErrnoStatus("start", JoinCommand(argv), error_number);
  int wait_status = 0;
  if (!WaitForChild(pid, &wait_status)) return ErrnoStatus("wait for", JoinCommand(argv), errno);
  *exit_code = ExitCodeOf(wait_status);
  return Status::OK();
}

Status PosixEnv::RunChecked(const std::vector<std::string>& argv) {
  int exit_code = 0;
  Status status = RunProcess(argv, &exit_code);
  if (!status.ok()) return status;
  if (exit_code != 0) {
    return Status::Error("command failed with exit code " + std::to_string(exit_code) + ": " +
                         JoinCommand(argv));
  }
  return Status::OK();
}

Status PosixEnv::StartDetachedScript(const std::string& script_path) {
  // A sandboxed trial must never stop or start the machine's real service.
  if (MachineRoot() != "/")
    return Status::Error("not started: a sandbox root (VLAPPUPD_ROOT) is set");
  if (SystemdRunning()) {
    // A transient unit of its own keeps the script alive when the script
    // stops the service and systemd kills the service's control group.
    return RunChecked(
        {"systemd-run", "--no-block", "--quiet", "--collect", "/bin/sh", script_path});
  }
  // Prepared before fork(): the child may only make async-signal-safe calls.
  std::vector<std::string> argv = {"/bin/sh", script_path};
  std::vector<char*> c_argv = CArgv(argv);
  sigset_t none;
  sigemptyset(&none);
  pid_t child = fork();
  if (child < 0) return ErrnoStatus("fork for", script_path, errno);
  if (child == 0) {
    setsid();
    pid_t grandchild = fork();
    if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
    // The grandchild is no session leader, so it never gets a terminal,
    // and init adopts it when the child ends.
    int null_fd = open("/dev/null", O_RDWR);
    if (null_fd >= 0) {
      dup2(null_fd, STDIN_FILENO);
      dup2(null_fd, STDOUT_FILENO);
      dup2(null_fd, STDERR_FILENO);
      if (null_fd > STDERR_FILENO) close(null_fd);
    }
    close_range(STDERR_FILENO + 1, ~0U, 0);  // no inherited sockets or log files
    struct sigaction default_action = {};
    default_action.sa_handler = SIG_DFL;
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
      sigaction(signal_number, &default_action, nullptr);
    }
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(c_argv[0], c_argv.data());
    _exit(127);
  }
  int wait_status = 0;
  if (!WaitForChild(child, &wait_status)) return ErrnoStatus("wait for", "fork child", errno);
  if (!WIFEXITED(wait_status) || WEXITSTATUS(wait_status) != 0) {
    return Status::Error("could not start " + script_path + " in a new session");
  }
  return Status::OK();
}

}  // namespace vlau
