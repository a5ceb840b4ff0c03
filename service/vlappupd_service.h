#ifndef VLAU_SERVICE_VLAPPUPD_SERVICE_H_
#define VLAU_SERVICE_VLAPPUPD_SERVICE_H_

#include <chrono>
#include <string>

#include "platform/env.h"
#include "service/control_socket.h"
#include "service/service_framework.h"
#include "sources/worker_table.h"

namespace vlau {

// The updater service module. Its timer (disabled until the service starts,
// first tick 1000 ms after the start) drives the update cycle; the start and
// stop handlers write "Start" and "Stop" whatever the log settings say; the
// install hooks and every start keep the service's description at the
// running executable's version.
//
// The control socket (FServSckt) is created closed. Once enabled, every
// cycle makes it follow the Port just loaded: opened on 127.0.0.1 at that
// port, moved when the port changes, closed for 0; a port that cannot be
// listened on is logged and leaves it closed. The module's destruction
// closes it and waits for its thread.
//
// The update cycle (tmrMainTimer) runs on the thread of the message loop:
// it reloads the global settings object, runs the worker of each source
// group one after the other, and then either restarts the service from a
// newly delivered build or re-arms the timer with CheckInterval minutes.
//
// The cycle needs the global settings object; the global log is written
// when it exists. `env` and `workers` are not owned and must outlive the
// module.
class TVLAppUpd : public ServiceFramework {
 public:
  explicit TVLAppUpd(Env* env, const WorkerTable* workers = &WorkerTable::Default());

  // The description text for the running executable's file version.
  std::string DescriptionText() const;

  // Rewrites the service's description when it differs from
  // DescriptionText(), with the line "Add/update service description".
  // Fails when the description cannot be written.
  Status SetServiceDescription();
  // Removes the description when it exists, with the line "Remove service
  // description".
  Status RemoveServiceDescription();

  Status ServiceAfterInstall() { return SetServiceDescription(); }
  Status ServiceAfterUninstall() { return RemoveServiceDescription(); }

  // One update cycle; the program's ONCE switch calls it directly.
  void tmrMainTimer();

  // The restart script's full path: the temporary folder and its name.
  std::string RestartScriptPath() const;

  // How often the cycle looks at the service's status while a worker runs.
  void SetWorkerWaitStep(std::chrono::milliseconds step) { wait_step_ = step; }

  // Whether the cycles open the control socket; off until enabled, so that a
  // single pass (ONCE) or a module under test never listens.
  void SetControlSocketEnabled(bool enabled) { control_socket_enabled_ = enabled; }
  // The port the control socket listens on; 0 when closed.
  int ControlSocketPort() const { return FServSckt.ListeningPort(); }

 protected:
  void OnStart() override { ServiceStart(); }
  void OnStop() override { ServiceStop(); }
  void OnTimer() override { tmrMainTimer(); }

 private:
  void ServiceStart();
  void ServiceStop();
  void StartProcessing();
  void ProcessUpdates();
  void LoadSettings();
  // Opens, moves or closes the control socket to match Common.Port.
  void FollowControlPort();
  void ProcessSources();
  void RunWorker(const WorkerFactory& factory);
  // After the sources: restarts from a new build or re-arms the timer.
  void CheckSelfUpdate();
  void RestartService();
  void RearmTimer();

  Env* env_;
  const WorkerTable* workers_;
  std::chrono::milliseconds wait_step_{500};
  bool control_socket_enabled_ = false;
  ControlSocket FServSckt;
};

}  // namespace vlau

#endif  // VLAU_SERVICE_VLAPPUPD_SERVICE_H_
