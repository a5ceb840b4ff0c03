#ifndef VLAU_APPDESC_APP_SETTINGS_H_
#define VLAU_APPDESC_APP_SETTINGS_H_

#include <string>

#include "appdesc/app_settings_vars.h"
#include "platform/env.h"

namespace vlau {

// One application descriptor: an INI file with the sections VARIABLES,
// FILES, REG, SHORTCUTS and SCRIPT, each kept as a variable list whose
// values (never the keys) are expanded through the variables while the file
// is read. Reading never fails: a missing file or section reads as empty.
// Nothing is written back. Does not own `env`, which must outlive it.
// Not thread-safe: an object belongs to one thread at a time.
class TAppSettings {
 public:
  // No descriptor: Vars and PredefinedLocalVars hold the predefined
  // variables, the other lists are empty.
  explicit TAppSettings(Env* env);
  // A new object loaded from the descriptor at the given full path.
  static TAppSettings CreateFromIni(Env* env, const std::string& AAppSettingFileName);

  // Replaces the whole content by the descriptor's: the predefined
  // variables are read afresh, then VARIABLES (each value expanded against
  // the variables before it) and FILES, REG, SHORTCUTS and SCRIPT in this
  // order, each value expanded against all variables, entries whose value
  // is then empty dropped, and each remaining value expanded once more
  // against the earlier entries of its own section.
  void LoadFromIni(const std::string& AAppSettingFileName);

  // The predefined variables alone.
  const TAppSettingsVars& PredefinedLocalVars() const { return FPredefinedLocalVars; }
  // The predefined variables, then the VARIABLES entries in file order.
  const TAppSettingsVars& Vars() const { return FVars; }
  const TAppSettingsVars& Files() const { return FFiles; }
  const TAppSettingsVars& Shortcuts() const { return FShortcuts; }
  const TAppSettingsVars& Script() const { return FScript; }

 private:
  void Reset();

  Env* env_;
  TAppSettingsVars FPredefinedLocalVars;
  TAppSettingsVars FVars;
  TAppSettingsVars FFiles;
  TAppSettingsVars FRegs;  // read and expanded only
  TAppSettingsVars FShortcuts;
  TAppSettingsVars FScript;
};

}  // namespace vlau

#endif  // VLAU_APPDESC_APP_SETTINGS_H_
