#ifndef VLAU_TESTS_SUPPORT_CRASHING_ENV_H_
#define VLAU_TESTS_SUPPORT_CRASHING_ENV_H_

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/env_wrapper.h"

namespace vlau {

// Thrown where CrashingEnv lets the process die. Nothing in the code under
// test catches it.
struct SimulatedCrash {};

// Lets the process die, as if killed or the machine lost power, at a chosen
// call that changes the file system or syncs it (counted from 1). That call
// is left out, half done (copies and writes: half of the data written) or
// done; then whatever was written to a file since its last SyncFile is cut
// to half of it, as a lost page cache would, and SimulatedCrash is thrown.
// Folder entries count as durable in the order they were made, as a
// journaling file system keeps them. Syncs are bookkept only, never passed
// on to the disk.
//
// With a `devices_root`, each top folder below it is a file system of its
// own: a rename between two of them fails with EXDEV.
// Not thread-safe.
class CrashingEnv : public EnvWrapper {
 public:
  enum class Moment { kBefore, kHalfway, kAfter };
  struct Call {
    int index = 0;
    std::string op;
    std::string path;
    std::string data;  // what AppendToFile and WriteStringToFile write
  };
  // `crash_here` picks the call; an empty function never crashes.
  CrashingEnv(Env* target, std::function<bool(const Call&)> crash_here, Moment moment,
              std::string devices_root = "");

  // The calls counted so far.
  int calls() const { return calls_; }

  Status CreateDirs(const std::string& p) override;
  Status WriteStringToFile(const std::string& p, std::string_view d) override;
  Status AppendToFile(const std::string& p, std::string_view d, std::string_view prefix) override;
  Status RenameFile(const std::string& f, const std::string& t) override;
  Status CopyFileContents(const std::string& f, const std::string& t) override;
  Status RemoveFile(const std::string& p) override;
  Status RemoveDirectoryTree(const std::string& p) override;
  Status SyncFile(const std::string& p) override;
  Status SyncDirectory(const std::string& p) override;
  Status CreateShortcut(const std::string& target, const std::string& link, const std::string& dir,
                        const std::string& desc, const std::string& args) override;

 private:
  // Runs `run`, or crashes at this call: `half` is what the half-done call
  // leaves (nothing when empty).
  Status Step(const std::string& op, const std::string& path, std::string_view data,
              const std::function<Status()>& run, const std::function<void()>& half = {});
  [[noreturn]] void Crash();
  void MarkWritten(const std::string& path, size_t durable_size);
  std::string Device(const std::string& path) const;

  std::function<bool(const Call&)> crash_here_;
  Moment moment_;
  std::string devices_root_;
  int calls_ = 0;
  // Files written since their last sync, with the size known durable.
  std::map<std::string, size_t> unsynced_;
};

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_CRASHING_ENV_H_
