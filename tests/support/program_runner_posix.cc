#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/program_runner.h"

extern char** environ;

namespace vlau {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

ProgramRunner::ProgramRunner(std::vector<std::string> args, std::map<std::string, std::string> env,
                             std::string output_dir, std::string program)
    : output_dir_(std::move(output_dir)) {
  std::vector<std::string> argv_s = {std::move(program)};
  argv_s.insert(argv_s.end(), args.begin(), args.end());
  std::vector<std::string> env_s;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (!env.count(entry.substr(0, entry.find('=')))) env_s.push_back(entry);
  }
  for (const auto& [k, v] : env) env_s.push_back(k + "=" + v);
  std::vector<char*> argv, envp;
  for (std::string& s : argv_s) argv.push_back(s.data());
  for (std::string& s : env_s) envp.push_back(s.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  const std::string out = output_dir_ + "stdout.txt", err = output_dir_ + "stderr.txt";
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // The test process may block stop signals; the program must get them.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t empty;
  sigemptyset(&empty);
  posix_spawnattr_setsigmask(&attr, &empty);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);
  pid_t pid;
  if (posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), envp.data()) == 0) pid_ = pid;
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
}

ProgramRunner::~ProgramRunner() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

void ProgramRunner::RequestStop() {
  if (pid_ > 0) kill(pid_, SIGTERM);
}

bool ProgramRunner::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      pid_ = -1;
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::string ProgramRunner::Stdout() const { return ReadAll(output_dir_ + "stdout.txt"); }
std::string ProgramRunner::Stderr() const { return ReadAll(output_dir_ + "stderr.txt"); }

ProgramResult RunProgramToEnd(std::vector<std::string> args, std::map<std::string, std::string> env,
                              const std::string& output_dir, const std::string& program) {
  ProgramRunner runner(std::move(args), std::move(env), output_dir, program);
  runner.Wait(std::chrono::seconds(30));
  return {runner.exit_code(), runner.Stdout(), runner.Stderr()};
}

}  // namespace vlau
