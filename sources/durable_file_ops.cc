#include "sources/durable_file_ops.h"

#include "foundation/path_util.h"

namespace vlau {

std::string PendingCopyName(const std::string& path) { return path + ".vlau-new"; }

Status ReplaceByCopy(Env* env, const std::string& from, const std::string& to) {
  // The system says why there is no file to write to.
  if (to.empty()) return env->CopyFileContents(from, to);
  const std::string pending = PendingCopyName(to);
  Status s = env->CopyFileContents(from, pending);
  if (s.ok()) s = env->SyncFile(pending);
  if (s.ok()) s = env->RenameFile(pending, to);
  if (!s.ok() && env->FileExists(pending)) (void)env->RemoveFile(pending);
  return s;
}

Status RelocateDurably(Env* env, const std::string& from, const std::string& to) {
  if (env->RenameFile(from, to).ok()) return Status::OK();
  Status s = ReplaceByCopy(env, from, to);
  if (!s.ok()) return s;
  // `from` goes only once the whole file is durably at `to`.
  const std::string folder = ExtractFilePath(to, env->PathSeparator());
  s = env->SyncDirectory(folder.empty() ? "." : folder);
  if (!s.ok()) return s;
  (void)env->RemoveFile(from);
  return Status::OK();
}

}  // namespace vlau
