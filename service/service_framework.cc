#include "service/service_framework.h"

namespace vlau {

void ServiceFramework::ControlStart() {
  {
    // A service that is already ending is not started again.
    std::lock_guard<std::mutex> lock(mu_);
    if (terminated_) return;
    status_ = ServiceState::kStartPending;
  }
  OnStart();
  // A stop that arrived during OnStart wins.
  ServiceState expected = ServiceState::kStartPending;
  status_.compare_exchange_strong(expected, ServiceState::kRunning);
}

void ServiceFramework::ControlStop() {
  // A stop request reaches the stop hook only while the service runs: not
  // twice, and not after a shutdown.
  if (Terminate()) OnStop();
}

void ServiceFramework::DoShutdown() { Terminate(); }

bool ServiceFramework::Terminate() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (terminated_) return false;
    status_ = ServiceState::kStopPending;
    terminated_ = true;
  }
  wake_.notify_all();
  return true;
}

void ServiceFramework::RunMessageLoop() {
  std::unique_lock<std::mutex> lock(mu_);
  while (!terminated_) {
    if (!timer_enabled_) {
      wake_.wait(lock);
      continue;
    }
    if (Clock::now() < due_) {
      wake_.wait_until(lock, due_);
      continue;
    }
    RestartCountdownLocked();
    lock.unlock();
    OnTimer();
    lock.lock();
  }
  status_ = ServiceState::kStopped;
}

bool ServiceFramework::TimerEnabled() const {
  std::lock_guard<std::mutex> lock(mu_);
  return timer_enabled_;
}

void ServiceFramework::SetTimerEnabled(bool enabled) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (enabled && !timer_enabled_) RestartCountdownLocked();
    timer_enabled_ = enabled;
  }
  wake_.notify_all();
}

uint32_t ServiceFramework::TimerInterval() const {
  std::lock_guard<std::mutex> lock(mu_);
  return interval_;
}

void ServiceFramework::SetTimerInterval(uint32_t milliseconds) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    interval_ = milliseconds;
    RestartCountdownLocked();
  }
  wake_.notify_all();
}

}  // namespace vlau
