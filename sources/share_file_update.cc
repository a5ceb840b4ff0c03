#include "sources/share_file_update.h"

#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "foundation/app_updater_log.h"
#include "foundation/compare_versions.h"
#include "foundation/path_util.h"
#include "foundation/text_compare.h"
#include "sources/durable_file_ops.h"
#include "sources/share_shortcuts.h"
#include "sources/work_journal.h"
#include "sources/work_rollback.h"

namespace vlau {
namespace {

void Log(std::string_view AFormat, const FormatArgs& AArgs, TauLogLevel ALevel) {
  if (auLog) auLog->AddFmt(AFormat, AArgs, ALevel);
}

std::string BeforeSemicolon(const std::string& AValue) {
  return AValue.substr(0, AValue.find(';'));
}

std::string AfterSemicolon(const std::string& AValue) {
  const size_t pos = AValue.find(';');
  return pos == std::string::npos ? std::string() : AValue.substr(pos + 1);
}

// One run of the file step.
class FileStep {
 public:
  FileStep(Env* env, const std::string& unc, const TAppSettings& ANewSettings,
           const TAppSettings& AOldSettings)
      : env_(env),
        sep_(env->PathSeparator()),
        unc_(unc),
        new_(ANewSettings),
        old_(AOldSettings),
        work_dir_(ShareWorkDir(env)),
        journal_(env, TauWorkJournal::FileName(work_dir_)) {}

  bool Run() {
    if (!PrepareWorkDir()) return false;
    const bool completed = InstallFiles();
    if (restore_) {
      if (Restore()) Finish();
      return false;
    }
    if (!completed) return false;
    if (!Finish()) return false;
    return CreateAppShortcuts(env_, new_);
  }

 private:
  bool PrepareWorkDir() {
    if (env_->DirectoryExists(work_dir_)) {
      if (!RollBackWorkFolder(env_, work_dir_)) return false;
      Status s = env_->RemoveDirectoryTree(work_dir_);
      if (!s.ok()) {
        Log("Can not delete dir: \"%s\". System error: %s", {work_dir_, s.message()}, aullError);
        return false;
      }
    }
    Status s = env_->CreateDirs(work_dir_);
    // Backups go into the folder: it must outlive a crash.
    if (s.ok()) s = env_->SyncDirectory(Parent(ExcludeTrailingSeparator(work_dir_, sep_)));
    if (!s.ok()) {
      Log("Can not create dir: \"%s\". System error: %s", {work_dir_, s.message()}, aullError);
      return false;
    }
    s = journal_.Start();
    if (!s.ok()) {
      JournalFailed(s);
      return false;
    }
    return true;
  }

  // The file loop; false when it ended with a failure.
  bool InstallFiles() {
    const std::vector<Entry> entries = EntriesToInstall();
    if (!AnnounceAhead(entries)) return false;
    for (const Entry& e : entries) {
      if (!e.known) {
        if (e.dir.empty()) {
          restore_ = true;
          Log("Destination dir of \"%s\" is empty.", {e.key}, aullError);
          return false;
        }
        if (!env_->DirectoryExists(e.dir)) {
          Log("Create dir \"%s\".", {e.dir}, aullUpdate);
          Status s = CreateFolder(e.dir);
          if (!s.ok()) {
            restore_ = true;
            Log("Can not create dir: \"%s\". System error: %s", {e.dir, s.message()}, aullError);
            return false;
          }
        }
      }
      if (!Install(e)) return false;
    }
    return true;
  }

  struct Entry {
    int index = 0;
    std::string key;
    std::string source;
    std::string dir;
    std::string path;
    bool known = false;  // listed by the old descriptor
  };

  // The FILES entries the loop works on, in order: every new file, and each
  // known file whose version is empty or has risen.
  std::vector<Entry> EntriesToInstall() const {
    std::unordered_map<std::string, int> old_index;
    const TAppSettingsVars& old_files = old_.Files();
    for (int i = 0; i < old_files.Count(); ++i) {
      old_index.emplace(UpperCase(old_files.GetName(i)), i);
    }
    std::vector<Entry> entries;
    const TAppSettingsVars& files = new_.Files();
    for (int i = 0; i < files.Count(); ++i) {
      Entry e;
      e.index = i;
      e.key = files.GetName(i);
      const std::string value = files.GetValueOfIndex(i);
      e.source = unc_ + e.key;
      e.dir = BeforeSemicolon(value);
      e.path = e.dir + KeyFileName(e.key, sep_);
      const auto known = old_index.find(UpperCase(e.key));
      e.known = known != old_index.end();
      if (e.known) {
        const std::string new_version = AfterSemicolon(value);
        const std::string old_version = AfterSemicolon(old_files.GetValueOfIndex(known->second));
        if (!new_version.empty() && CompareVersions(new_version, old_version) != 1) continue;
      }
      entries.push_back(std::move(e));
    }
    return entries;
  }

  // Records, with one sync, the pending copies the loop may make (the target
  // depends on whether the directory exists when the file's turn comes, so
  // both forms) and the backups of the files standing in the way now. A
  // record whose action never happens is harmless; a backup not foreseen
  // here is recorded when its turn comes.
  bool AnnounceAhead(const std::vector<Entry>& entries) {
    std::vector<TauWorkJournal::Move> moves;
    std::vector<std::string> pending;
    for (const Entry& e : entries) {
      // No copy can land anywhere: a new file fails before its backup, a
      // known one at its copy (a backup before that is recorded then).
      if (e.dir.empty()) continue;
      if (env_->FileExists(e.path)) {
        moves.push_back(BackupOf(e));
        announced_.insert(e.index);
      }
      pending.push_back(
          PendingCopyName(IncludeTrailingSeparator(e.dir, sep_) + KeyFileName(e.source, sep_)));
      pending.push_back(PendingCopyName(e.dir));
    }
    Status s = journal_.Announce(moves, pending);
    if (!s.ok()) {
      restore_ = true;
      JournalFailed(s);
      return false;
    }
    return true;
  }

  TauWorkJournal::Move BackupOf(const Entry& e) const {
    return {work_dir_ + std::to_string(e.index) + ".dat", e.path};
  }

  // Backs up the file at the entry's path, when there is one, and copies
  // the new file in.
  bool Install(const Entry& e) {
    if (env_->FileExists(e.path)) {
      const TauWorkJournal::Move move = BackupOf(e);
      if (announced_.count(e.index) == 0) {
        Status s = journal_.Announce({move}, {});
        if (!s.ok()) {
          restore_ = true;
          JournalFailed(s);
          return false;
        }
      }
      if (!BackUp(move, !e.known)) return false;
    }

    Log(e.known ? "Copy file \"%s\" to \"%s\"." : "Copy new file \"%s\" to \"%s\".",
        {e.source, e.dir}, aullUpdate);
    const std::string target = CopyTarget(e);
    Status s = ReplaceByCopy(env_, e.source, target);
    if (!s.ok()) {
      restore_ = true;
      Log("Can not copy file \"%s\" to \"%s\". System Error: %s", {e.source, e.dir, s.message()},
          aullError);
      return false;
    }
    changed_.insert(Parent(target));
    return true;
  }

  // Where a copy of the entry's source into its directory lands.
  std::string CopyTarget(const Entry& e) {
    if (env_->DirectoryExists(e.dir)) {
      return IncludeTrailingSeparator(e.dir, sep_) + KeyFileName(e.source, sep_);
    }
    return e.dir;
  }

  bool BackUp(const TauWorkJournal::Move& AMove, bool AIsNew) {
    Log("Rename \"%s\" to \"%s\".", {AMove.original, AMove.backup}, aullDetail);
    Status s = RelocateDurably(env_, AMove.original, AMove.backup);
    if (s.ok()) {
      restore_list_.push_back(AMove);
      changed_.insert(Parent(AMove.original));
      // The backup must be durable before the new file can replace the old.
      s = env_->SyncDirectory(work_dir_);
    }
    if (!s.ok()) {
      restore_ = true;
      if (AIsNew) {
        Log("Can not rename \"%s\" to \"%s\". System error: %s",
            {AMove.original, AMove.backup, s.message()}, aullDetail);
      } else {
        Log("Can not rename \"%s\" to \"%s\".", {AMove.original, AMove.backup}, aullDetail);
      }
      return false;
    }
    return true;
  }

  // Creates a folder and its missing parents, noting the folders whose
  // entries change.
  Status CreateFolder(const std::string& AFolder) {
    std::vector<std::string> missing;
    for (std::string p = ExcludeTrailingSeparator(AFolder, sep_);
         !p.empty() && !env_->DirectoryExists(p);
         p = ExcludeTrailingSeparator(ExtractFilePath(p, sep_), sep_)) {
      missing.push_back(p);
    }
    Status s = env_->CreateDirs(AFolder);
    if (!s.ok()) return s;
    for (const std::string& m : missing) changed_.insert(Parent(m));
    return Status::OK();
  }

  // True when every backup is back.
  bool Restore() {
    Log("Restore files", {}, aullDetail);
    bool all_back = true;
    // A path backed up twice in one run (two entries with one destination)
    // gets its first backup, the file that stood there before the run; the
    // later one is this run's own copy and stays in the work folder.
    std::set<std::string> restored;
    for (const TauWorkJournal::Move& m : restore_list_) {
      if (!restored.insert(m.original).second) continue;
      Log("Restore file \"%s\" to \"%s\"", {m.backup, m.original}, aullUpdate);
      if (RelocateDurably(env_, m.backup, m.original).ok()) {
        changed_.insert(Parent(m.original));
      } else {
        Log("Can not restore file \"%s\" from \"%s\"", {m.original, m.backup}, aullError);
        all_back = false;
      }
    }
    restore_list_.clear();
    return all_back;
  }

  // Makes the run's changes durable and marks the journal complete.
  bool Finish() {
    changed_.insert(work_dir_);
    Status s;
    for (const std::string& folder : changed_) {
      s = env_->SyncDirectory(folder);
      if (!s.ok()) break;
    }
    if (s.ok()) s = journal_.MarkComplete();
    if (!s.ok()) {
      JournalFailed(s);
      return false;
    }
    return true;
  }

  void JournalFailed(const Status& s) {
    Log("Can not write journal \"%s\". System error: %s", {journal_.Path(), s.message()},
        aullError);
  }

  // The folder part of a path (up to its last separator); "." when it has
  // none.
  std::string Parent(const std::string& APath) const {
    const std::string folder = ExtractFilePath(APath, sep_);
    return folder.empty() ? std::string(".") : folder;
  }

  Env* env_;
  const char sep_;
  const std::string unc_;
  const TAppSettings& new_;
  const TAppSettings& old_;
  const std::string work_dir_;
  TauWorkJournal journal_;
  bool restore_ = false;
  // Entries whose backup the journal already announces.
  std::set<int> announced_;
  std::vector<TauWorkJournal::Move> restore_list_;
  // Folders whose entries this run changed; synced before the journal is
  // marked complete.
  std::set<std::string> changed_;
};

}  // namespace

std::string ShareWorkDir(Env* env) {
  const char sep = env->PathSeparator();
  return IncludeTrailingSeparator(env->TempFolder(), sep) + "VLAppUpdater" + sep;
}

bool UpdateFiles(Env* env, const std::string& unc, const TAppSettings& ANewSettings,
                 const TAppSettings& AOldSettings) {
  return FileStep(env, unc, ANewSettings, AOldSettings).Run();
}

}  // namespace vlau
