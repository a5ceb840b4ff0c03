#ifndef VLAU_SOURCES_UPDATE_PROCESS_SHARE_H_
#define VLAU_SOURCES_UPDATE_PROCESS_SHARE_H_

#include <string>
#include <vector>

#include "appdesc/app_settings.h"
#include "settings/source_settings.h"
#include "sources/update_process.h"

namespace vlau {

// The worker of share sources. Walks the shares of the first share group in
// order; on each share reads the index file "AppUpdater.ini", picks this
// machine's applications by its addresses, and updates each application from
// its descriptor NAMEApp.ini: loads it and the local copy of the descriptor
// applied last time (in the data folder), runs the descriptor's script, and
// when the script succeeds stores the share's descriptor as the new local
// copy.
//
// A failed share ends the walk; a share's result is its last application's.
// The terminated flag is looked at after each application and each share,
// never inside an application's update.
class TauUpdateProcessShare : public TauUpdateProcess {
 public:
  using TauUpdateProcess::TauUpdateProcess;

  // The application names for this machine, sorted ignoring case, each once;
  // `AAppNames` is left alone when no range matches.
  void GetApplicationNames(const std::string& AIndexFileName,
                           std::vector<std::string>& AAppNames) const;

 protected:
  bool DoProcess() override;

 private:
  bool ProcessShares();
  bool ProcessShare();
  bool UpdateApplication(const std::string& AAppSettingFileName);
  bool UpdateFromAppSettings(const std::string& AAppSettingFileName);
  bool RunScript(const TAppSettings& ANewSettings, const TAppSettings& AOldSettings);
  bool UpdateFiles(const TAppSettings& ANewSettings, const TAppSettings& AOldSettings);

  const TauSettingShare* ShareSettings = nullptr;
};

}  // namespace vlau

#endif  // VLAU_SOURCES_UPDATE_PROCESS_SHARE_H_
