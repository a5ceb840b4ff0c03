#ifndef VLAU_SETTINGS_SETTINGS_H_
#define VLAU_SETTINGS_SETTINGS_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"
#include "settings/setting_common.h"
#include "settings/setting_source.h"

namespace vlau {

class IniFile;

// The settings root: the common settings, the version of the running updater,
// the machine's identifier and the source groups.
//
// Construction (once per process, before any other thread runs): the
// construction values of the common settings and no groups; UpdaterVersion
// from the build on disk ("version.txt" beside the executable, else the
// executable's file version); the identifier from "Ident.ini", created and
// stored when absent. Neither is ever reloaded.
//
// Threads: only the update cycle changes the object (LoadFromIni), before it
// starts the first worker of a cycle; workers and the log only read it.
class TauSettings {
 public:
  // `env` is not owned and must outlive the object.
  explicit TauSettings(Env* env);
  TauSettings(const TauSettings&) = delete;
  TauSettings& operator=(const TauSettings&) = delete;

  TauSettingCommon& Common() { return sCommon; }
  const TauSettingCommon& Common() const { return sCommon; }
  const std::string& UpdaterVersion() const { return FUpdaterVersion; }

  // Reloads the common settings and rebuilds the groups from the settings
  // file, inside the log block "Load settings from file". A missing file is
  // logged (code 1) and changes nothing. Raises when the file exists but
  // cannot be read, after closing the block; what was loaded stays.
  void LoadFromIni(const std::string& AFileName);

  int SourceCount() const { return static_cast<int>(sSource.size()); }
  // 0-based; raises std::out_of_range outside 0 to SourceCount() - 1.
  TauSettingSource& GetSourseItem(int Index) const;
  // The first group of the kind in list order; null when there is none.
  TauSettingSource* SourceShare() const { return FirstOfKind(ausShare); }
  TauSettingSource* SourceOracle() const { return FirstOfKind(ausOracle); }
  TauSettingSource* SourcePG() const { return FirstOfKind(ausPG); }

 private:
  TauSettingSource* FirstOfKind(TauSource kind) const;
  void LoadCommonSettings(const IniFile& ini);
  void LogSettingsSummary();
  void LoadSourceSettings(const IniFile& ini);

  Env* env_;
  TauSettingCommon sCommon;
  std::vector<std::unique_ptr<TauSettingSource>> sSource;
  std::string FUpdaterVersion;
};

// The process-wide settings object; null before start-up and after exit.
extern TauSettings* auSettings;

}  // namespace vlau

#endif  // VLAU_SETTINGS_SETTINGS_H_
