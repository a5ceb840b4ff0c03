#ifndef VLAU_TESTS_SUPPORT_PROGRAM_RUNNER_H_
#define VLAU_TESTS_SUPPORT_PROGRAM_RUNNER_H_

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace vlau {

// Runs the real program (VLAU_PROGRAM_PATH, or a copy of it at `program`) as
// a child process with extra environment variables; its output goes to files
// in `output_dir`.
class ProgramRunner {
 public:
  ProgramRunner(std::vector<std::string> args, std::map<std::string, std::string> env,
                std::string output_dir, std::string program = VLAU_PROGRAM_PATH);
  ~ProgramRunner();  // kills a child still running

  // Asks the program to stop (SIGTERM on POSIX).
  void RequestStop();
  // Waits at most `timeout`; false when the program is still running.
  bool Wait(std::chrono::milliseconds timeout);
  int exit_code() const { return exit_code_; }
  std::string Stdout() const;
  std::string Stderr() const;

 private:
  int pid_ = -1;
  int exit_code_ = -1;
  std::string output_dir_;
};

struct ProgramResult {
  int exit_code;
  std::string out;
  std::string err;
};

// Runs the program to its end (at most 30 s).
ProgramResult RunProgramToEnd(std::vector<std::string> args, std::map<std::string, std::string> env,
                              const std::string& output_dir,
                              const std::string& program = VLAU_PROGRAM_PATH);

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_PROGRAM_RUNNER_H_
