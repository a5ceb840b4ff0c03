#ifndef VLAU_SERVICE_SERVICE_FRAMEWORK_H_
#define VLAU_SERVICE_SERVICE_FRAMEWORK_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vlau {

enum class ServiceState { kStopped, kStartPending, kRunning, kStopPending };

// The service host the service module is built on: start and stop hooks
// called on a control thread, a status with a stop-pending value and a
// terminated flag readable from any thread, a shutdown operation, and a
// main-thread loop that delivers the events of one timer.
//
// The timer behaves like a window timer: while enabled it fires every
// Interval milliseconds on the thread running RunMessageLoop, and enabling
// it or changing its interval starts the countdown anew. A timer event in
// progress is never interrupted: the loop ends once it has returned.
//
// Threads: ControlStart, ControlStop and DoShutdown may be called from any
// thread; RunMessageLoop and OnTimer run on the main thread.
class ServiceFramework {
 public:
  ServiceFramework() = default;
  ServiceFramework(const ServiceFramework&) = delete;
  ServiceFramework& operator=(const ServiceFramework&) = delete;
  virtual ~ServiceFramework() = default;

  ServiceState ServiceStatus() const { return status_.load(); }
  bool Terminated() const { return terminated_.load(); }

  // A start request: start pending, OnStart, running. Ignored once the
  // service is terminated.
  void ControlStart();
  // A stop request: stop pending and terminated, then OnStop. Ignored once
  // the service is terminated (a second request, or one after DoShutdown).
  void ControlStop();
  // Ends the service like a stop request but without calling OnStop.
  void DoShutdown();

  // Delivers timer events until the service is terminated.
  void RunMessageLoop();

  bool TimerEnabled() const;
  void SetTimerEnabled(bool enabled);
  uint32_t TimerInterval() const;
  void SetTimerInterval(uint32_t milliseconds);

 protected:
  virtual void OnStart() {}
  virtual void OnStop() {}
  virtual void OnTimer() {}

 private:
  using Clock = std::chrono::steady_clock;
  // Sets stop pending and terminated; false when it was terminated already.
  bool Terminate();
  void RestartCountdownLocked() { due_ = Clock::now() + std::chrono::milliseconds(interval_); }

  std::atomic<ServiceState> status_{ServiceState::kStopped};
  std::atomic<bool> terminated_{false};

  mutable std::mutex mu_;
  std::condition_variable wake_;
  bool timer_enabled_ = false;
  uint32_t interval_ = 1000;  // a window timer's default
  Clock::time_point due_;
};

}  // namespace vlau

#endif  // VLAU_SERVICE_SERVICE_FRAMEWORK_H_
