#ifndef VLAU_SETTINGS_SETTING_COMMON_H_
#define VLAU_SETTINGS_SETTING_COMMON_H_

#include <atomic>
#include <cstdint>
#include <string>

#include "foundation/log_level.h"
#include "platform/env.h"

namespace vlau {

// The common settings of the updater. Setters store without any check (the
// settings file loader keeps CheckInterval in range).
//
// Threads: only the update cycle changes them, while no worker runs. Log and
// LogLevel are read by the log from any thread at any time (the control
// socket's thread included), so those two are atomic.
class TauSettingCommon {
 public:
  static constexpr int32_t kDefaultCheckInterval = 60;
  static constexpr TauLogLevels kDefaultLogLevel{aullWaring, aullError, aullUpdate};

  int32_t CheckInterval() const { return FCheckInterval; }
  void SetCheckInterval(int32_t v) { FCheckInterval = v; }
  bool Log() const { return FLog.load(); }
  void SetLog(bool v) { FLog.store(v); }
  TauLogLevels LogLevel() const { return FLogLevel.load(); }
  void SetLogLevel(TauLogLevels v) { FLogLevel.store(v); }
  bool UseNextSourceIfErrorHappen() const { return FUseNextSourceIfErrorHappen; }
  void SetUseNextSourceIfErrorHappen(bool v) { FUseNextSourceIfErrorHappen = v; }
  int32_t Port() const { return FPort; }
  void SetPort(int32_t v) { FPort = v; }
  const Guid& GUID() const { return FGUID; }
  void SetGUID(const Guid& v) { FGUID = v; }
  // GUID in its 38-character upper-case text form.
  std::string sGUID() const;

 private:
  int32_t FCheckInterval = kDefaultCheckInterval;
  std::atomic<bool> FLog{true};
  std::atomic<TauLogLevels> FLogLevel{kDefaultLogLevel};
  bool FUseNextSourceIfErrorHappen = true;
  int32_t FPort = 0;
  Guid FGUID;
};

}  // namespace vlau

#endif  // VLAU_SETTINGS_SETTING_COMMON_H_
