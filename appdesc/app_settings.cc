#include "appdesc/app_settings.h"

#include <vector>

#include "appdesc/predefined_vars.h"
#include "foundation/ini_file.h"

namespace vlau {

TAppSettings::TAppSettings(Env* env) : env_(env) { Reset(); }

TAppSettings TAppSettings::CreateFromIni(Env* env, const std::string& AAppSettingFileName) {
  TAppSettings settings(env);
  settings.LoadFromIni(AAppSettingFileName);
  return settings;
}

void TAppSettings::Reset() {
  FPredefinedLocalVars.Clear();
  FVars.Clear();
  FFiles.Clear();
  FRegs.Clear();
  FShortcuts.Clear();
  FScript.Clear();
  AddPredefinedVars(env_, FPredefinedLocalVars);
  AddPredefinedVars(env_, FVars);
}

void TAppSettings::LoadFromIni(const std::string& AAppSettingFileName) {
  Reset();
  const IniFile ini = IniFile::Load(env_, AAppSettingFileName);

  std::vector<std::string> variables;
  for (const auto& [key, value] : ini.ReadSectionValues("VARIABLES")) {
    variables.push_back(key + "=" + value);
  }
  FVars.AddVars(variables);

  struct SectionList {
    const char* section;
    TAppSettingsVars* list;
  };
  const SectionList sections[] = {
      {"FILES", &FFiles}, {"REG", &FRegs}, {"SHORTCUTS", &FShortcuts}, {"SCRIPT", &FScript}};
  for (const SectionList& s : sections) {
    std::vector<std::string> entries;
    for (const auto& [key, value] : ini.ReadSectionValues(s.section)) {
      std::string expanded = FVars.GetUpdatedString(value);
      if (!expanded.empty()) entries.push_back(key + "=" + expanded);
    }
    s.list->AddVars(entries);
  }
}

}  // namespace vlau
