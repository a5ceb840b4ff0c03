#include "sources/work_rollback.h"

#include <cstdio>
#include <set>

#include "foundation/app_updater_log.h"
#include "foundation/data_folder.h"
#include "foundation/path_util.h"
#include "sources/durable_file_ops.h"
#include "sources/work_journal.h"

namespace vlau {
namespace {

void Log(std::string_view AFormat, const FormatArgs& AArgs, TauLogLevel ALevel) {
  if (auLog) auLog->AddFmt(AFormat, AArgs, ALevel);
}

std::string FolderOf(Env* env, const std::string& APath) {
  const std::string folder = ExtractFilePath(APath, env->PathSeparator());
  return folder.empty() ? std::string(".") : folder;
}

// Creates a new dated folder for kept backups; the folders whose entries
// changed are added to `AChanged`.
Status CreateKeptFolder(Env* env, std::string* AFolder, std::set<std::string>* AChanged) {
  const char sep = env->PathSeparator();
  const std::string data_folder = GetDataFolder(env);
  const std::string backups = data_folder + "Backups" + sep;
  const LocalTime t = env->NowLocal();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  std::string folder = backups + stamp + sep;
  for (int n = 2; env->DirectoryExists(folder); ++n) {
    folder = backups + stamp + "-" + std::to_string(n) + sep;
  }
  Status s = env->CreateDirs(folder);
  if (!s.ok()) return s;
  *AFolder = folder;
  AChanged->insert(FolderOf(env, ExcludeTrailingSeparator(data_folder, sep)));
  AChanged->insert(data_folder);
  AChanged->insert(backups);
  AChanged->insert(folder);
  return Status::OK();
}

void RemovePendingCopy(Env* env, const std::string& APath) {
  if (!env->FileExists(APath)) return;
  Log("Delete unfinished copy \"%s\".", {APath}, aullDetail);
  Status s = env->RemoveFile(APath);
  if (!s.ok()) Log("Can not delete file \"%s\". System error: %s", {APath, s.message()}, aullError);
}

}  // namespace

bool RollBackWorkFolder(Env* env, const std::string& AWorkDir) {
  const std::string journal_path = TauWorkJournal::FileName(AWorkDir);
  if (!env->FileExists(journal_path)) return true;
  TauWorkJournal::Contents contents;
  Status s = TauWorkJournal::Read(env, journal_path, &contents);
  if (!s.ok()) {
    Log("Can not read journal \"%s\". System error: %s", {journal_path, s.message()}, aullError);
    return false;
  }
  if (contents.complete) return true;

  Log("Restore files of an interrupted update from \"%s\"", {journal_path}, aullUpdate);
  for (const std::string& pending : contents.temporaries) RemovePendingCopy(env, pending);
  // A move back across file systems goes through a pending copy of its own.
  for (const TauWorkJournal::Move& move : contents.moves) {
    RemovePendingCopy(env, PendingCopyName(move.original));
  }

  bool safe = true;
  std::set<std::string> changed;
  std::string kept_folder;
  std::set<std::string> originals;
  for (const TauWorkJournal::Move& move : contents.moves) {
    // Only a path's first backup holds the file from before the run; a later
    // one is the run's own copy, also when the first was moved back already.
    if (!originals.insert(move.original).second) continue;
    // A backup that is not there was never made, or was moved back already.
    if (!env->FileExists(move.backup)) continue;
    Log("Restore file \"%s\" to \"%s\"", {move.backup, move.original}, aullUpdate);
    s = RelocateDurably(env, move.backup, move.original);
    if (s.ok()) {
      changed.insert(FolderOf(env, move.original));
      continue;
    }
    Log("Can not restore file \"%s\" from \"%s\". System error: %s",
        {move.original, move.backup, s.message()}, aullError);
    if (kept_folder.empty()) {
      s = CreateKeptFolder(env, &kept_folder, &changed);
      if (!s.ok()) {
        Log("Can not keep backup \"%s\" of \"%s\". System error: %s",
            {move.backup, move.original, s.message()}, aullError);
        safe = false;
        continue;
      }
    }
    const std::string kept = kept_folder + ExtractFileName(move.backup, env->PathSeparator());
    s = RelocateDurably(env, move.backup, kept);
    if (s.ok()) {
      Log("Backup of \"%s\" is kept in \"%s\".", {move.original, kept}, aullError);
    } else {
      Log("Can not keep backup \"%s\" of \"%s\". System error: %s",
          {move.backup, move.original, s.message()}, aullError);
      safe = false;
    }
  }
  if (!safe) return false;

  // The work folder goes next: what left it must be durable first.
  changed.insert(AWorkDir);
  for (const std::string& folder : changed) {
    s = env->SyncDirectory(folder);
    if (!s.ok()) break;
  }
  if (s.ok()) s = TauWorkJournal(env, journal_path).MarkComplete();
  if (!s.ok()) {
    Log("Can not write journal \"%s\". System error: %s", {journal_path, s.message()}, aullError);
    return false;
  }
  return true;
}

}  // namespace vlau
