#include <pthread.h>
#include <signal.h>
#include <time.h>

#include <atomic>
#include <thread>

#include "platform/stop_signals.h"

namespace vlau {
namespace {

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

struct StopSignalWatcher::State {
  std::function<void()> on_stop;
  sigset_t previous_mask;
  std::atomic<bool> stopping{false};
  std::thread thread;

  void Run() {
    const sigset_t signals = StopSignals();
    // The time-out lets the destructor end the loop.
    const timespec timeout = {0, 100 * 1000 * 1000};
    while (!stopping.load()) {
      if (sigtimedwait(&signals, nullptr, &timeout) > 0) on_stop();
    }
  }
};

StopSignalWatcher::StopSignalWatcher(std::function<void()> on_stop)
    : state_(std::make_unique<State>()) {
  state_->on_stop = std::move(on_stop);
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, &state_->previous_mask);
  state_->thread = std::thread([state = state_.get()] { state->Run(); });
}

StopSignalWatcher::~StopSignalWatcher() {
  state_->stopping.store(true);
  state_->thread.join();
  // Unblocking a pending stop signal would end the process with the
  // default action; the program is past watching for it.
  const sigset_t signals = StopSignals();
  const timespec no_wait = {0, 0};
  while (sigtimedwait(&signals, nullptr, &no_wait) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &state_->previous_mask, nullptr);
}

}  // namespace vlau
