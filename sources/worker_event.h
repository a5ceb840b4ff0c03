#ifndef VLAU_SOURCES_WORKER_EVENT_H_
#define VLAU_SOURCES_WORKER_EVENT_H_

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vlau {

// An event a thread can wait on: manual-reset events stay set until Reset;
// auto-reset events let one waiter through and reset themselves.
// Thread-safe.
class WorkerEvent {
 public:
  WorkerEvent(bool manual_reset, bool initially_set)
      : manual_reset_(manual_reset), set_(initially_set) {}

  void Set();
  void Reset();
  bool IsSet() const;
  // True when the event was set within the time-out.
  bool WaitFor(std::chrono::milliseconds timeout);

 private:
  const bool manual_reset_;
  mutable std::mutex mu_;
  std::condition_variable cv_;
  bool set_;
};

}  // namespace vlau

#endif  // VLAU_SOURCES_WORKER_EVENT_H_
