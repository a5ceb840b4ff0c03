#ifndef VLAU_PLATFORM_STOP_SIGNALS_H_
#define VLAU_PLATFORM_STOP_SIGNALS_H_

#include <functional>
#include <memory>

namespace vlau {

// Turns the system's requests to stop the program (SIGINT and SIGTERM on
// POSIX) into calls of `on_stop`, made on a thread of the watcher's own,
// once per request received.
//
// Construct it on the main thread before any other thread is started: it
// keeps the signals from being delivered to every thread of the process
// (threads started later inherit that), so the watcher thread alone takes
// them. The destructor stops and joins the watcher thread and restores the
// previous state; requests still pending then are dropped. `on_stop` must
// not destroy the watcher.
class StopSignalWatcher {
 public:
  explicit StopSignalWatcher(std::function<void()> on_stop);
  StopSignalWatcher(const StopSignalWatcher&) = delete;
  StopSignalWatcher& operator=(const StopSignalWatcher&) = delete;
  ~StopSignalWatcher();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vlau

#endif  // VLAU_PLATFORM_STOP_SIGNALS_H_
