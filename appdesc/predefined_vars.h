#ifndef VLAU_APPDESC_PREDEFINED_VARS_H_
#define VLAU_APPDESC_PREDEFINED_VARS_H_

#include <string>
#include <string_view>

#include "appdesc/app_settings_vars.h"
#include "platform/env.h"

namespace vlau {

// Appends the nine predefined folder variables with AddVar, in this order:
// PROGRAMFILES, TEMP, ALLUSERSDOCUMENTS, PUBLICDOCUMENTS (the same folder),
// ALLUSERSSTARTMENU, ALLUSERSPROGRAMSMENU, ALLUSERSSTARTUP, ALLUSERSDESKTOP,
// ALLUSERSAPPDATA. Each value is the folder `env` gives, with a trailing
// path separator added unless it ends in one, so a folder that cannot be
// found gives the separator alone. The folders are asked for at every call.
void AddPredefinedVars(Env* env, TAppSettingsVars& AVars);

// The predefined variables as one text, NAME=VALUE entries joined with
// `ADelimiter` (no delimiter at either end, values not escaped).
std::string GetPredefinedVarsText(Env* env, std::string_view ADelimiter);

}  // namespace vlau

#endif  // VLAU_APPDESC_PREDEFINED_VARS_H_
