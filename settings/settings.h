#ifndef VLAU_SETTINGS_SETTINGS_H_
#define VLAU_SETTINGS_SETTINGS_H_

#include <string>

#include "platform/env.h"
#include "settings/setting_common.h"

namespace vlau {

// The settings root: the common settings, the version of the running updater
// and the machine's identifier.
//
// Construction (once per process, before any other thread runs): the
// construction values of the common settings; UpdaterVersion from the build
// on disk ("version.txt" beside the executable, else the executable's file
// version); the identifier from "Ident.ini", created and stored when absent.
// Neither is ever reloaded.
//
// Threads: only the update cycle changes the object, before it starts the
// first worker of a cycle; workers and the log only read it.
class TauSettings {
 public:
  // `env` is not owned and must outlive the object.
  explicit TauSettings(Env* env);
  TauSettings(const TauSettings&) = delete;
  TauSettings& operator=(const TauSettings&) = delete;

  TauSettingCommon& Common() { return sCommon; }
  const TauSettingCommon& Common() const { return sCommon; }
  const std::string& UpdaterVersion() const { return FUpdaterVersion; }

 private:
  Env* env_;
  TauSettingCommon sCommon;
  std::string FUpdaterVersion;
};

// The process-wide settings object; null before start-up and after exit.
extern TauSettings* auSettings;

}  // namespace vlau

#endif  // VLAU_SETTINGS_SETTINGS_H_
