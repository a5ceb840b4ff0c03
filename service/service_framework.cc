#include "service/service_framework.h"

namespace vlau {

void ServiceFramework::ControlStart() {
  status_ = ServiceState::kStartPending;
  OnStart();
  // A stop that arrived during OnStart wins.
  ServiceState expected = ServiceState::kStartPending;
  status_.compare_exchange_strong(expected, ServiceState::kRunning);
}

void ServiceFramework::ControlStop() {
  Terminate();
  OnStop();
}

void ServiceFramework::DoShutdown() { Terminate(); }

void ServiceFramework::Terminate() {
  status_ = ServiceState::kStopPending;
  {
    std::lock_guard<std::mutex> lock(mu_);
    terminated_ = true;
  }
  wake_.notify_all();
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
