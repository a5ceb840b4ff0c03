#include "service/vlappupd_service.h"

#include "foundation/app_updater_error.h"
#include "foundation/app_updater_log.h"
#include "foundation/format.h"
#include "resources/strs.h"

namespace vlau {

namespace {

void WriteImmediatly(std::string_view message) {
  if (auLog) auLog->WriteImmediatly(message, aullDetail);
}

}  // namespace

TVLAppUpd::TVLAppUpd(Env* env, const WorkerTable* workers)
    : env_(env), workers_(workers), FServSckt(env) {}

std::string TVLAppUpd::DescriptionText() const {
  return Format(kServiceDescriptionFormat, {env_->GetFileVersionString(env_->ExecutablePath())});
}

Status TVLAppUpd::SetServiceDescription() {
  const std::string text = DescriptionText();
  std::string current;
  if (!env_->ReadServiceDescription(kServiceName, &current)) current.clear();
  if (current == text) return Status::OK();
  WriteImmediatly("Add/update service description");
  return env_->WriteServiceDescription(kServiceName, text);
}

Status TVLAppUpd::RemoveServiceDescription() {
  std::string current;
  if (!env_->ReadServiceDescription(kServiceName, &current)) return Status::OK();
  WriteImmediatly("Remove service description");
  return env_->RemoveServiceDescription(kServiceName);
}

void TVLAppUpd::ServiceStart() {
  WriteImmediatly("Start");
  StartProcessing();
}

void TVLAppUpd::ServiceStop() { WriteImmediatly("Stop"); }

void TVLAppUpd::StartProcessing() {
  SetTimerEnabled(true);
  // A description that cannot be written must not keep the service from
  // updating: the failure is logged and the service runs on.
  const Status s = SetServiceDescription();
  if (!s.ok()) LogError("Can not update the service description: " + s.message(), 0);
}

}  // namespace vlau
