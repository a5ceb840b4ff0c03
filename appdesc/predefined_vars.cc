#include "appdesc/predefined_vars.h"

namespace vlau {

namespace {

struct CommonFolderVar {
  const char* name;
  CommonFolder folder;
};

constexpr CommonFolderVar kCommonFolderVars[] = {
    {"ALLUSERSDOCUMENTS", CommonFolder::kDocuments},
    {"PUBLICDOCUMENTS", CommonFolder::kDocuments},
    {"ALLUSERSSTARTMENU", CommonFolder::kStartMenu},
    {"ALLUSERSPROGRAMSMENU", CommonFolder::kProgramsMenu},
    {"ALLUSERSSTARTUP", CommonFolder::kStartup},
    {"ALLUSERSDESKTOP", CommonFolder::kDesktop},
    {"ALLUSERSAPPDATA", CommonFolder::kAppData},
};

std::string WithTrailingSeparator(std::string folder, char separator) {
  if (folder.empty() || folder.back() != separator) folder += separator;
  return folder;
}

}  // namespace

void AddPredefinedVars(Env* env, TAppSettingsVars& AVars) {
  const char separator = env->PathSeparator();
  AVars.AddVar("PROGRAMFILES", WithTrailingSeparator(env->ProgramFilesFolder(), separator));
  AVars.AddVar("TEMP", WithTrailingSeparator(env->TempFolder(), separator));
  for (const CommonFolderVar& var : kCommonFolderVars) {
    AVars.AddVar(var.name, WithTrailingSeparator(env->CommonFolderPath(var.folder), separator));
  }
}

std::string GetPredefinedVarsText(Env* env, std::string_view ADelimiter) {
  TAppSettingsVars vars;
  AddPredefinedVars(env, vars);
  vars.SetTextDelimeter(ADelimiter);
  return vars.Text();
}

}  // namespace vlau
