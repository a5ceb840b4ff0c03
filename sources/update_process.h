#ifndef VLAU_SOURCES_UPDATE_PROCESS_H_
#define VLAU_SOURCES_UPDATE_PROCESS_H_

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/env.h"
#include "settings/settings.h"
#include "sources/worker_event.h"

namespace vlau {

// The base of the source workers: one thread that runs the source's step
// DoProcess inside the log block "UpdateProcess", reports a terminated run
// and logs any error that escapes the step (code 6).
//
// Lifecycle: create a worker with StartWorker<T>(...), which starts its
// thread once construction is complete. The owner waits with WaitFor, may
// ask it to end early with Terminate (the flag only goes from false to true;
// workers look at it between their units of work), and destroys it; the
// destructor waits for the thread.
//
// Threads: Terminate, Terminated, WaitFor, Pause, UnPause and Stop may be
// called from any thread. The settings object is only read, and must not
// change while the worker exists. Neither the settings nor the Env are owned.
class TauUpdateProcess {
 public:
  // FIPs: this machine's IPv4 addresses (Env::LocalIPv4Addresses).
  TauUpdateProcess(TauSettings* AAppUpdaterParams, Env* env);
  // FIPs: the given addresses (tests hand a worker its list).
  TauUpdateProcess(TauSettings* AAppUpdaterParams, Env* env, std::vector<std::string> ips);
  TauUpdateProcess(const TauUpdateProcess&) = delete;
  TauUpdateProcess& operator=(const TauUpdateProcess&) = delete;
  virtual ~TauUpdateProcess();

  // True when the thread has ended within the time-out.
  bool WaitFor(std::chrono::milliseconds timeout);
  void Terminate() { terminated_.store(true); }
  bool Terminated() const { return terminated_.load(); }

  // The run and stop events, for holders of a worker; the source steps do
  // not wait on them.
  void Pause() { FHandles[1].Reset(); }
  void UnPause() { FHandles[1].Set(); }
  void Stop() { FHandles[0].Set(); }

  const std::vector<std::string>& FIPs() const { return ips_; }

  template <class T, class... Args>
  friend std::unique_ptr<T> StartWorker(Args&&... args);

 protected:
  // The source's step; the base does nothing and succeeds.
  virtual bool DoProcess() { return true; }

  TauSettings* const FAppUpdaterParams;
  Env* const env_;

 private:
  void Start();
  void Execute();

  WorkerEvent FHandles[2] = {WorkerEvent(false, false), WorkerEvent(true, true)};
  const std::vector<std::string> ips_;
  std::atomic<bool> terminated_{false};
  WorkerEvent finished_{true, false};
  std::thread thread_;
};

// Constructs a worker and starts its thread.
template <class T, class... Args>
std::unique_ptr<T> StartWorker(Args&&... args) {
  auto worker = std::make_unique<T>(std::forward<Args>(args)...);
  worker->Start();
  return worker;
}

}  // namespace vlau

#endif  // VLAU_SOURCES_UPDATE_PROCESS_H_
