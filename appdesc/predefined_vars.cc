#include "appdesc/predefined_vars.h"

#include "foundation/path_util.h"

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

}  // namespace

void AddPredefinedVars(Env* env, TAppSettingsVars& AVars) {
  const char separator = env->PathSeparator();
  AVars.AddVar("PROGRAMFILES", IncludeTrailingSeparator(env->ProgramFilesFolder(), separator));
  AVars.AddVar("TEMP", IncludeTrailingSeparator(env->TempFolder(), separator));
  for (const CommonFolderVar& var : kCommonFolderVars) {
    AVars.AddVar(var.name, IncludeTrailingSeparator(env->CommonFolderPath(var.folder), separator));
  }
}

std::string GetPredefinedVarsText(Env* env, std::string_view ADelimiter) {
  TAppSettingsVars vars;
  AddPredefinedVars(env, vars);
  vars.SetTextDelimeter(ADelimiter);
  return vars.Text();
}

}  // namespace vlau
