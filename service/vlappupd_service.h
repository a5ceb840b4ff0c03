#ifndef VLAU_SERVICE_VLAPPUPD_SERVICE_H_
#define VLAU_SERVICE_VLAPPUPD_SERVICE_H_

#include <string>

#include "platform/env.h"
#include "service/service_framework.h"

namespace vlau {

// The updater service module. Its timer (disabled until the service starts,
// first tick 1000 ms after the start) drives the update cycle; the start and
// stop handlers write "Start" and "Stop" whatever the log settings say; the
// install hooks and every start keep the service's description at the
// running executable's version.
//
// Needs the global log; `env` is not owned and must outlive the module.
class TVLAppUpd : public ServiceFramework {
 public:
  explicit TVLAppUpd(Env* env);

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

 protected:
  void OnStart() override { ServiceStart(); }
  void OnStop() override { ServiceStop(); }
  void OnTimer() override { tmrMainTimer(); }

 private:
  void ServiceStart();
  void ServiceStop();
  void StartProcessing();

  Env* env_;
};

}  // namespace vlau

#endif  // VLAU_SERVICE_VLAPPUPD_SERVICE_H_
