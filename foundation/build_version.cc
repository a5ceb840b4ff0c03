#include "foundation/build_version.h"

#include "foundation/path_util.h"

namespace vlau {

std::string FirstLine(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return std::string(text.substr(0, text.find_first_of("\r\n")));
}

Status ReadBuildVersion(Env* env, std::string* version) {
  const std::string exe = env->ExecutablePath();
  const std::string version_file = ExtractFilePath(exe, env->PathSeparator()) + "version.txt";
  if (!env->FileExists(version_file)) {
    *version = env->GetFileVersionString(exe);
    return Status::OK();
  }
  std::string text;
  Status s = env->ReadFileToString(version_file, &text);
  if (s.ok()) *version = FirstLine(text);
  return s;
}

}  // namespace vlau
