// TauSettings::LoadFromIni: the settings file's COMMON and SOURCE sections
// and the per-source sections.
#include <functional>
#include <stdexcept>

#include "foundation/app_updater_error.h"
#include "foundation/app_updater_log.h"
#include "foundation/comma_text.h"
#include "foundation/ini_file.h"
#include "foundation/log_block.h"
#include "foundation/path_util.h"
#include "foundation/text_compare.h"
#include "settings/settings.h"

namespace vlau {

namespace {

constexpr char kCommon[] = "COMMON";
constexpr int32_t kDefaultPort = 19981;

// A load without the global log writes nothing.
void Detail(const std::string& text) {
  if (auLog) auLog->Add(text, aullDetail);
}

void AddFmt(std::string_view format, const FormatArgs& args, TauLogLevel level) {
  if (auLog) auLog->AddFmt(format, args, level);
}

const char* BoolText(bool v) { return v ? "True" : "False"; }

std::string LevelLetters(TauLogLevels levels) {
  std::string letters;
  if (levels.Contains(aullWaring)) letters += 'W';
  if (levels.Contains(aullError)) letters += 'E';
  if (levels.Contains(aullUpdate)) letters += 'U';
  if (levels.Contains(aullDetail)) letters += 'D';
  return letters;
}

TauLogLevels LevelsFromLetters(const std::string& text) {
  TauLogLevels levels;
  if (text.find('W') != std::string::npos) levels.Include(aullWaring);
  if (text.find('E') != std::string::npos) levels.Include(aullError);
  if (text.find('U') != std::string::npos) levels.Include(aullUpdate);
  if (text.find('D') != std::string::npos) levels.Include(aullDetail);
  return levels;
}

std::string Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return std::string(s);
}

using SettingReader = std::function<std::unique_ptr<TauSetting>(
    const std::string& name, const IniFile& ini, const std::string& section, char sep)>;

struct KindLoader {
  const char* key;       // the SOURCE line's key, upper case
  const char* log_line;  // written before the names are read
  TauSource kind;
  const char* prefix;  // of the per-source section
  SettingReader read;
};

const KindLoader kLoaders[] = {
    {"SHARE", "Load share settings...", ausShare, "SHARE_",
     [](const std::string& name, const IniFile& ini, const std::string& section, char sep) {
       auto s = std::make_unique<TauSettingShare>(name);
       s->SetUNC(IncludeTrailingSeparator(Trim(ini.ReadString(section, "UNC", "")), sep));
       return std::unique_ptr<TauSetting>(std::move(s));
     }},
    {"ORACLE", "Load Oracle settings...", ausOracle, "ORACLE_",
     [](const std::string& name, const IniFile& ini, const std::string& section, char) {
       auto s = std::make_unique<TauSettingOracle>(name);
       s->Net = ini.ReadBool(section, "Net", true);
       s->Host = ini.ReadString(section, "Host", "");
       s->Port = ini.ReadInteger(section, "Port", 1521);
       s->SID = ini.ReadString(section, "Sid", "");
       s->TnsName = ini.ReadString(section, "TnsName", "");
       s->Username = ini.ReadString(section, "Username", "");
       s->Password = ini.ReadString(section, "Password", "");
       s->UpdateSchema = ini.ReadString(section, "UpdateSchema", "");
       return std::unique_ptr<TauSetting>(std::move(s));
     }},
    {"PG", "Load PG settings...", ausPG, "PG_",
     [](const std::string& name, const IniFile& ini, const std::string& section, char) {
       auto s = std::make_unique<TauSettingPG>(name);
       s->Host = ini.ReadString(section, "Host", "");
       s->Port = ini.ReadInteger(section, "Port", 5432);
       s->DataBase = ini.ReadString(section, "Database", "");
       s->Username = ini.ReadString(section, "Username", "");
       s->Password = ini.ReadString(section, "Password", "");
       s->UpdateSchema = ini.ReadString(section, "UpdateSchema", "");
       return std::unique_ptr<TauSetting>(std::move(s));
     }},
    {"FTP", "Load FTP settings...", ausFTP, "FTP_",
     [](const std::string& name, const IniFile& ini, const std::string& section, char) {
       auto s = std::make_unique<TauSettingFTP>(name);
       s->Host = ini.ReadString(section, "Host", "");
       s->Port = ini.ReadInteger(section, "Port", 1521);
       s->Username = ini.ReadString(section, "Username", "");
       s->Password = ini.ReadString(section, "Password", "");
       return std::unique_ptr<TauSetting>(std::move(s));
     }},
    {"HTTP", "Load Http settings...", ausHttp, "HTTP_",
     [](const std::string& name, const IniFile& ini, const std::string& section, char) {
       auto s = std::make_unique<TauSettingHttp>(name);
       s->Url = ini.ReadString(section, "URL", "");
       s->Username = ini.ReadString(section, "Username", "");
       s->Password = ini.ReadString(section, "Password", "");
       return std::unique_ptr<TauSetting>(std::move(s));
     }},
};

}  // namespace

void TauSettings::LoadFromIni(const std::string& AFileName) {
  LogBlock block("Load settings from file");
  AddFmt("Load setting from \"%s\".", {AFileName}, aullUpdate);
  if (!env_->FileExists(AFileName)) {
    LogErrorFmt("File \"%s\" not found! Use default settings.", {AFileName}, 1);
    return;
  }
  // A file that exists but cannot be read must not reset the settings to
  // their defaults: the error goes to the caller and the settings stay.
  std::string text;
  const Status read = env_->ReadFileToString(AFileName, &text);
  if (!read.ok()) throw std::runtime_error(read.message());
  const IniFile ini = IniFile::Parse(text);
  LoadCommonSettings(ini);
  LogSettingsSummary();
  LoadSourceSettings(ini);
}

void TauSettings::LoadCommonSettings(const IniFile& ini) {
  int32_t interval = ini.ReadInteger(kCommon, "CheckInterval", sCommon.CheckInterval());
  if (interval < 15 || interval > 240) interval = TauSettingCommon::kDefaultCheckInterval;
  sCommon.SetCheckInterval(interval);
  sCommon.SetLog(ini.ReadBool(kCommon, "Log", sCommon.Log()));
  sCommon.SetLogLevel(LevelsFromLetters(ini.ReadString(kCommon, "LogLevel", "")));
  sCommon.SetUseNextSourceIfErrorHappen(
      ini.ReadBool(kCommon, "UseNextSourceIfErrorHappen", sCommon.UseNextSourceIfErrorHappen()));
  sCommon.SetPort(ini.ReadInteger(kCommon, "Port", kDefaultPort));
  Detail("Common settings loaded");
}

void TauSettings::LogSettingsSummary() {
  AddFmt(
      "Settings: Check interval=%d, Log=%s, Loglevel=%s, UseNextSourceIfErrorHappen=%s, "
      "Identifier=%s",
      {sCommon.CheckInterval(), BoolText(sCommon.Log()), LevelLetters(sCommon.LogLevel()),
       BoolText(sCommon.UseNextSourceIfErrorHappen()), sCommon.sGUID()},
      aullDetail);
}

void TauSettings::LoadSourceSettings(const IniFile& ini) {
  Detail("Load sources settings...");
  sSource.clear();
  for (const std::string& key : ini.ReadSection("SOURCE")) {
    const std::string kind_key = UpperCase(key);
    for (const KindLoader& loader : kLoaders) {
      if (kind_key != loader.key) continue;
      Detail(loader.log_line);
      // A repeated key always yields the value of its first line.
      const std::vector<std::string> names = SplitCommaText(ini.ReadString("SOURCE", kind_key, ""));
      if (names.empty()) break;
      auto group = std::make_unique<TauSettingSource>(loader.kind);
      for (const std::string& name : names) {
        group->Add(loader.read(name, ini, loader.prefix + name, env_->PathSeparator()));
      }
      sSource.push_back(std::move(group));
      break;
    }
  }
}

}  // namespace vlau
