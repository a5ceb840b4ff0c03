#ifndef VLAU_SETTINGS_SETTING_SOURCE_H_
#define VLAU_SETTINGS_SETTING_SOURCE_H_

#include <memory>
#include <vector>

#include "settings/source_kind.h"
#include "settings/source_settings.h"

namespace vlau {

// One source group: the sources of one kind that one line of the SOURCE
// section lists, in the order of the names. Owns its settings.
class TauSettingSource {
 public:
  explicit TauSettingSource(TauSource ASource) : sSource(ASource) {}
  TauSettingSource(const TauSettingSource&) = delete;
  TauSettingSource& operator=(const TauSettingSource&) = delete;

  TauSource auSource() const { return sSource; }
  int Count() const { return static_cast<int>(sSettings.size()); }

  // Takes the setting and returns the group. Raises EAppUpdater code 3 for a
  // group of kind ausUndefined or ausServerUdpate, and code 2 for a setting
  // that is not of the kind's class (or derived from it); the setting is
  // then freed.
  TauSettingSource& Add(std::unique_ptr<TauSetting> ASettings);
  // 0-based; raises std::out_of_range outside 0 to Count() - 1.
  TauSetting& GetItem(int Index) const;

 private:
  TauSource sSource;
  std::vector<std::unique_ptr<TauSetting>> sSettings;
};

// The list-index error of the platform's lists.
[[noreturn]] void RaiseListIndexError(int index);

}  // namespace vlau

#endif  // VLAU_SETTINGS_SETTING_SOURCE_H_
