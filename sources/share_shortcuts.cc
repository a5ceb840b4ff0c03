#include "sources/share_shortcuts.h"

#include <vector>

#include "foundation/app_updater_log.h"
#include "foundation/path_util.h"
#include "foundation/shortcut.h"

namespace vlau {
namespace {

bool SameAsciiText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The pieces between ";"; a ";" at the very end starts no further piece.
std::vector<std::string> SplitAttributes(const std::string& AValue) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    const size_t end = AValue.find(';', start);
    if (end == std::string::npos) {
      if (start < AValue.size() || pieces.empty()) pieces.push_back(AValue.substr(start));
      return pieces;
    }
    pieces.push_back(AValue.substr(start, end - start));
    start = end + 1;
  }
}

struct ShortcutAttributes {
  std::string link_name;
  std::string params;
  std::string description;
  std::string folder;
};

ShortcutAttributes ParseAttributes(const std::string& AValue) {
  ShortcutAttributes a;
  for (const std::string& piece : SplitAttributes(AValue)) {
    const size_t eq = piece.find('=');
    const std::string name = piece.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : piece.substr(eq + 1);
    if (SameAsciiText(name, "LinkFileName")) {
      a.link_name = value + ".lnk";
    } else if (SameAsciiText(name, "Params")) {
      a.params = value;
    } else if (SameAsciiText(name, "Description")) {
      a.description = value;
    } else if (SameAsciiText(name, "Folder")) {
      a.folder = value;
    }
  }
  return a;
}

}  // namespace

std::string KeyFileName(std::string_view AKey, char sep) {
  return ExtractFileNameWithDrive(AKey, sep);
}

bool CreateAppShortcuts(Env* env, const TAppSettings& ANewSettings) {
  const char sep = env->PathSeparator();
  const TAppSettingsVars& shortcuts = ANewSettings.Shortcuts();
  for (int i = 0; i < shortcuts.Count(); ++i) {
    const std::string key = shortcuts.GetName(i);
    const std::string name = KeyFileName(key, sep);
    const std::string files_value = ANewSettings.Files().GetValue(key);
    const std::string target_dir = files_value.substr(0, files_value.find(';'));
    ShortcutAttributes a = ParseAttributes(shortcuts.GetValueOfIndex(i));
    if (a.folder.empty()) {
      a.folder = IncludeTrailingSeparator(env->CommonFolderPath(CommonFolder::kDesktop), sep);
    }
    if (a.link_name.empty()) a.link_name = ChangeFileExt(name, ".lnk", sep);
    const std::string target = target_dir + name;
    const std::string link = a.folder + a.link_name;
    if (auLog) auLog->AddFmt("Create shortcut \"%s\" for \"%s\".", {link, target}, aullUpdate);
    CreateShortcut(env, target, link, a.description, a.params);
    if (!env->FileExists(link)) {
      if (auLog) {
        auLog->AddFmt("Can not create shortcut \"%s\" for \"%s\".", {link, target}, aullError);
      }
      return false;
    }
  }
  return true;
}

}  // namespace vlau
