// The update cycle of the service module: the timer event and its steps.
#include <stdexcept>

#include "foundation/app_updater_error.h"
#include "foundation/app_updater_log.h"
#include "foundation/build_version.h"
#include "foundation/log_block.h"
#include "foundation/path_util.h"
#include "platform/restart_script.h"
#include "resources/strs.h"
#include "service/vlappupd_service.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace vlau {

namespace {

// The cycle also runs without the global log; it then writes nothing.
void Add(const std::string& message, TauLogLevel level) {
  if (auLog) auLog->Add(message, level);
}

void AddFmt(std::string_view format, const FormatArgs& args, TauLogLevel level) {
  if (auLog) auLog->AddFmt(format, args, level);
}

}  // namespace

std::string TVLAppUpd::RestartScriptPath() const {
  const char sep = env_->PathSeparator();
  return ExcludeTrailingSeparator(env_->TempFolder(), sep) + sep +
         RestartScriptFor(kServiceName).file_name;
}

void TVLAppUpd::tmrMainTimer() {
  SetTimerEnabled(false);
  const std::string script = RestartScriptPath();
  if (env_->FileExists(script)) env_->RemoveFile(script);  // failure ignored
  ProcessUpdates();
  if (Terminated()) {
    Add("Service is terminated during operation.", aullUpdate);
    return;
  }
  // An error here must never leave the service without a next cycle.
  try {
    CheckSelfUpdate();
  } catch (const std::exception& e) {
    LogError(std::string("Unexpected error: ") + e.what(), 0);
    RearmTimer();
  }
}

void TVLAppUpd::ProcessUpdates() {
  LogBlock block("ProcessUpdates");
  LoadSettings();
  FollowControlPort();
  try {
    ProcessSources();
  } catch (const std::exception& e) {
    LogError(std::string("Unexpected error: ") + e.what(), 0);
  }
}

void TVLAppUpd::LoadSettings() {
  LogBlock block("auInit");
  try {
    auSettings->LoadFromIni(GetSettingsFileName(env_));
  } catch (const std::exception& e) {
    LogErrorFmt(EAppUpdater::GetErrorMessage(4), {GetSettingsFileName(env_), e.what()}, 4);
  }
}

void TVLAppUpd::FollowControlPort() {
  if (!control_socket_enabled_) return;
  const int32_t port = auSettings->Common().Port();
  if (port == FServSckt.ListeningPort()) return;
  FServSckt.Close();
  if (port == 0) return;
  const Status s = FServSckt.Open(port);
  if (!s.ok()) {
    LogErrorFmt("Can not open the control socket on port %d: %s", {port, s.message()}, 0);
  }
}

void TVLAppUpd::ProcessSources() {
  LogBlock block("auProcess");
  const int count = auSettings->SourceCount();
  Add("Sources count: " + std::to_string(count), aullDetail);
  for (int i = 0; i < count; ++i) {
    const TauSource kind = auSettings->GetSourseItem(i).auSource();
    AddFmt("Source %d is %s.", {i, SourceKindWord(kind)}, aullDetail);
    if (const WorkerFactory* factory = workers_->For(kind)) RunWorker(*factory);
    if (Terminated()) break;
  }
}

void TVLAppUpd::RunWorker(const WorkerFactory& factory) {
  std::unique_ptr<TauUpdateProcess> worker = factory(auSettings, env_);
  while (!worker->WaitFor(wait_step_)) {
    if (ServiceStatus() == ServiceState::kStopPending) worker->Terminate();
  }
}

void TVLAppUpd::CheckSelfUpdate() {
  std::string on_disk;
  const Status s = ReadBuildVersion(env_, &on_disk);
  if (!s.ok()) throw std::runtime_error(s.message());
  if (on_disk == auSettings->UpdaterVersion()) {
    RearmTimer();
    return;
  }
  RestartService();
}

void TVLAppUpd::RestartService() {
  const std::string script = RestartScriptPath();
  Add("Service update found.", aullUpdate);
  AddFmt("Create cmd restart file \"%s\"", {script}, aullUpdate);
  const Status written = env_->WriteStringToFile(script, RestartScriptFor(kServiceName).text);
  if (!written.ok()) throw std::runtime_error(written.message());
  AddFmt("Run cmd restart file \"%s\"", {script}, aullUpdate);
  env_->StartDetachedScript(script);  // the service shuts down whatever the outcome
  Add("Shutdown", aullUpdate);
  DoShutdown();
}

void TVLAppUpd::RearmTimer() {
  SetTimerInterval(static_cast<uint32_t>(auSettings->Common().CheckInterval()) * 60000u);
  SetTimerEnabled(true);
}

}  // namespace vlau
