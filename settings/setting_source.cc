#include "settings/setting_source.h"

#include <stdexcept>

#include "foundation/app_updater_error.h"

namespace vlau {

namespace {

bool FitsKind(TauSource kind, const TauSetting* s) {
  switch (kind) {
    case ausShare:
      return dynamic_cast<const TauSettingShare*>(s) != nullptr;
    case ausOracle:
      return dynamic_cast<const TauSettingOracle*>(s) != nullptr;
    case ausPG:
      return dynamic_cast<const TauSettingPG*>(s) != nullptr;
    case ausFTP:
      return dynamic_cast<const TauSettingFTP*>(s) != nullptr;
    case ausHttp:
      return dynamic_cast<const TauSettingHttp*>(s) != nullptr;
    default:
      return false;
  }
}

}  // namespace

void RaiseListIndexError(int index) {
  throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

TauSettingSource& TauSettingSource::Add(std::unique_ptr<TauSetting> ASettings) {
  if (sSource == ausUndefined || sSource == ausServerUdpate) throw EAppUpdater(3);
  if (!FitsKind(sSource, ASettings.get())) throw EAppUpdater(2);
  sSettings.push_back(std::move(ASettings));
  return *this;
}

TauSetting& TauSettingSource::GetItem(int Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
  return *sSettings[static_cast<size_t>(Index)];
}

}  // namespace vlau
