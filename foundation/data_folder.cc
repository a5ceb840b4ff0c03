#include "foundation/data_folder.h"

#include "foundation/path_util.h"

namespace vlau {

std::string GetDataFolder(Env* env) {
  const char sep = env->PathSeparator();
  std::string folder = IncludeTrailingSeparator(env->CommonFolderPath(CommonFolder::kAppData), sep);
  folder += "Velmora";
  folder += sep;
  folder += "VLAppUpdater";
  folder += sep;
  return folder;
}

std::string GetDataFileName(Env* env, std::string_view AExt) {
  const char sep = env->PathSeparator();
  return GetDataFolder(env) + ChangeFileExt(ExtractFileName(env->ExecutablePath(), sep), AExt, sep);
}

std::string GetBesideExecutableFileName(Env* env, std::string_view AExt) {
  return ChangeFileExt(env->ExecutablePath(), AExt, env->PathSeparator());
}

Status RelocateFile(Env* env, const std::string& from, const std::string& to) {
  if (env->RenameFile(from, to).ok()) return Status::OK();
  Status s = env->CopyFileContents(from, to);
  if (!s.ok()) return s;
  return env->RemoveFile(from);
}

}  // namespace vlau
