#ifndef VLAU_SOURCES_SHARE_SHORTCUTS_H_
#define VLAU_SOURCES_SHARE_SHORTCUTS_H_

#include <string>
#include <string_view>

#include "appdesc/app_settings.h"
#include "platform/env.h"

namespace vlau {

// The file-name part of a FILES key or path: the text after its last path
// separator, or after a drive colon where the separator is "\".
std::string KeyFileName(std::string_view AKey, char sep);

// Creates the shortcuts of the descriptor's SHORTCUTS section, in order.
// For the key K (a FILES key) and the value "Attr=Value;..." with the
// attributes LinkFileName, Params, Description and Folder (names ignoring
// case, a later one overriding an earlier one, others ignored): the link
// Folder + LinkFileName + ".lnk" (defaults: the common desktop folder with a
// trailing separator, and K's file name with its extension changed to
// ".lnk") points at K's FILES destination directory followed by K's file
// name. Logs each shortcut; returns false, with an error line, at the first
// link file missing after its creation, leaving the rest undone. An existing
// link file is overwritten. `env` is not owned.
bool CreateAppShortcuts(Env* env, const TAppSettings& ANewSettings);

}  // namespace vlau

#endif  // VLAU_SOURCES_SHARE_SHORTCUTS_H_
