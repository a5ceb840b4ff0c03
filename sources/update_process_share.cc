#include "sources/update_process_share.h"

#include <algorithm>
#include <stdexcept>

#include "foundation/app_updater_error.h"
#include "foundation/app_updater_log.h"
#include "foundation/comma_text.h"
#include "foundation/data_folder.h"
#include "foundation/ini_file.h"
#include "foundation/ip_range.h"
#include "foundation/path_util.h"
#include "foundation/text_compare.h"
#include "sources/durable_file_ops.h"
#include "sources/script_commands.h"
#include "sources/share_file_update.h"
#include "sources/work_rollback.h"

namespace vlau {

namespace {

void Detail(const std::string& text) { auLog->Add(text, aullDetail); }

// The value of the first ALIASES entry named `name` (ignoring case), or
// `name` itself when there is none; one level only.
std::string ResolveAlias(const std::vector<std::pair<std::string, std::string>>& aliases,
                         const std::string& name) {
  for (const auto& [alias, value] : aliases) {
    if (SameText(alias, name)) return value;
  }
  return name;
}

}  // namespace

bool TauUpdateProcessShare::DoProcess() {
  if (!TauUpdateProcess::DoProcess()) return false;
  try {
    return ProcessShares();
  } catch (const std::exception& e) {
    LogError(e.what(), 0);
    return false;
  }
}

bool TauUpdateProcessShare::ProcessShares() {
  // An update cut short by a crash is rolled back before anything else, so
  // that no file it moved aside stays missing until an Update runs again.
  const std::string work_dir = ShareWorkDir(env_);
  if (env_->DirectoryExists(work_dir)) RollBackWorkFolder(env_, work_dir);
  const TauSettingSource* group = FAppUpdaterParams->SourceShare();
  const int count = group ? group->Count() : 0;
  Detail("Share count: " + std::to_string(count));
  bool result = true;
  for (int i = 0; i < count; ++i) {
    ShareSettings = &dynamic_cast<const TauSettingShare&>(group->GetItem(i));
    Detail("Share " + std::to_string(i) + ": " + ShareSettings->Name());
    result = ProcessShare();
    if (!result || Terminated()) break;
  }
  return result;
}

bool TauUpdateProcessShare::ProcessShare() {
  const char sep = env_->PathSeparator();
  const std::string& unc = ShareSettings->UNC();
  Detail("Check parameters...");
  if (!env_->DirectoryExists(unc)) {
    LogErrorCode(5, {unc});
    return false;
  }
  const std::string root = IncludeTrailingSeparator(unc, sep);
  const std::string index = root + "AppUpdater.ini";
  if (!env_->FileExists(index)) {
    LogErrorCode(1, {index});
    return false;
  }
  auLog->AddFmt("Using %s", {index}, aullDetail);
  Detail("Get application names...");
  std::vector<std::string> names;
  GetApplicationNames(index, names);
  auLog->AddFmt("Applications names count %d", {static_cast<int>(names.size())}, aullDetail);
  bool result = true;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string descriptor = root + names[i] + "App.ini";
    auLog->AddFmt("Application %d filename=%s", {static_cast<int>(i), descriptor}, aullDetail);
    if (env_->FileExists(descriptor)) {
      result = UpdateApplication(descriptor);
    } else {
      LogErrorCode(1, {descriptor});
      result = false;
    }
    if (Terminated()) break;
  }
  return result;
}

void TauUpdateProcessShare::GetApplicationNames(const std::string& AIndexFileName,
                                                std::vector<std::string>& AAppNames) const {
  const IniFile index = IniFile::Load(env_, AIndexFileName);
  const auto aliases = index.ReadSectionValues("ALIASES");
  std::string collected;
  for (const auto& [range, value] : index.ReadSectionValues("HOSTS")) {
    for (const std::string& ip : FIPs()) {
      if (!IsIPInRange(ip, range)) continue;
      if (!collected.empty()) collected += ',';
      collected += ResolveAlias(aliases, value);
    }
  }
  if (collected.empty()) return;
  std::vector<std::string> sorted;
  for (std::string& name : SplitCommaText(collected)) {
    auto pos = std::lower_bound(
        sorted.begin(), sorted.end(), name,
        [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    if (pos != sorted.end() && SameText(*pos, name)) continue;  // the first form stays
    sorted.insert(pos, std::move(name));
  }
  AAppNames = std::move(sorted);
}

bool TauUpdateProcessShare::UpdateApplication(const std::string& AAppSettingFileName) {
  auLog->AddFmt("Begin update application from \"%s\".", {AAppSettingFileName}, aullDetail);
  struct EndLine {
    const std::string& path;
    ~EndLine() { auLog->AddFmt("End update application from \"%s\".", {path}, aullDetail); }
  } end_line{AAppSettingFileName};
  return UpdateFromAppSettings(AAppSettingFileName);
}

bool TauUpdateProcessShare::UpdateFromAppSettings(const std::string& AAppSettingFileName) {
  const std::string local =
      GetDataFolder(env_) + ExtractFileNameWithDrive(AAppSettingFileName, env_->PathSeparator());
  const TAppSettings old_settings = TAppSettings::CreateFromIni(env_, local);
  const TAppSettings new_settings = TAppSettings::CreateFromIni(env_, AAppSettingFileName);
  if (!RunScript(new_settings, old_settings)) return false;
  // Written through under a pending name and renamed, so that the local copy
  // (the record of what is installed) is never half-written, not even after
  // a power loss.
  if (!ReplaceByCopy(env_, AAppSettingFileName, local).ok()) {
    auLog->AddFmt("Can not copy appsettings file \"%s\" to \"%s\".", {AAppSettingFileName, local},
                  aullError);
    return false;
  }
  return true;
}

bool TauUpdateProcessShare::RunScript(const TAppSettings& ANewSettings,
                                      const TAppSettings& AOldSettings) {
  const TAppSettingsVars& script = ANewSettings.Script();
  bool result = false;
  for (int i = 0; i < script.Count(); ++i) {
    const std::string command = script.GetName(i);
    switch (FindScriptCommand(command)) {
      case ScriptCommand::kUnknown:
        auLog->AddFmt("Unknown command: %s", {command}, aullError);
        return result;
      case ScriptCommand::kUpdate:
        result = UpdateFiles(ANewSettings, AOldSettings);
        break;
      default:
        break;  // recognised, no action
    }
    if (!result) return false;
  }
  return result;
}

bool TauUpdateProcessShare::UpdateFiles(const TAppSettings& ANewSettings,
                                        const TAppSettings& AOldSettings) {
  return vlau::UpdateFiles(env_,
                           IncludeTrailingSeparator(ShareSettings->UNC(), env_->PathSeparator()),
                           ANewSettings, AOldSettings);
}

}  // namespace vlau
