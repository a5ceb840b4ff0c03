#include "settings/settings.h"

#include "foundation/app_updater_log.h"
#include "foundation/build_version.h"
#include "foundation/format.h"
#include "settings/client_identifier.h"

namespace vlau {

TauSettings* auSettings = nullptr;

TauSettings::TauSettings(Env* env) : env_(env) {
  const Status s = ReadBuildVersion(env_, &FUpdaterVersion);
  if (!s.ok() && auLog) {
    auLog->WriteImmediatly(Format("Can not read the updater version: %s", {s.message()}),
                           aullError);
  }
  sCommon.SetGUID(ObtainClientIdentifier(env_));
}

TauSettingSource& TauSettings::GetSourseItem(int Index) const {
  if (Index < 0 || Index >= SourceCount()) RaiseListIndexError(Index);
  return *sSource[static_cast<size_t>(Index)];
}

TauSettingSource* TauSettings::FirstOfKind(TauSource kind) const {
  for (const auto& group : sSource) {
    if (group->auSource() == kind) return group.get();
  }
  return nullptr;
}

}  // namespace vlau
