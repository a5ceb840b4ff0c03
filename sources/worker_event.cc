#include "sources/worker_event.h"

namespace vlau {

void WorkerEvent::Set() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    set_ = true;
  }
  cv_.notify_all();
}

void WorkerEvent::Reset() {
  std::lock_guard<std::mutex> lock(mu_);
  set_ = false;
}

bool WorkerEvent::IsSet() const {
  std::lock_guard<std::mutex> lock(mu_);
  return set_;
}

bool WorkerEvent::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mu_);
  if (!cv_.wait_for(lock, timeout, [this] { return set_; })) return false;
  if (!manual_reset_) set_ = false;
  return true;
}

}  // namespace vlau
