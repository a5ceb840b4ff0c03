#ifndef VLAU_SOURCES_SHARE_FILE_UPDATE_H_
#define VLAU_SOURCES_SHARE_FILE_UPDATE_H_

#include <string>

#include "appdesc/app_settings.h"
#include "platform/env.h"

namespace vlau {

// The work folder of the file step: the temporary folder followed by
// "VLAppUpdater" and a separator. It holds the backups of the last run
// (i.dat for the i-th FILES entry, from 0) and the run's journal, see
// sources/work_journal.h.
std::string ShareWorkDir(Env* env);

// The share source's file step, the action of the script command "Update".
// `unc` is the share's path with a trailing separator; ANewSettings is the
// descriptor read from the share, AOldSettings the local copy applied last
// time.
//
// First rolls back a run that did not finish (RollBackWorkFolder) and
// empties the work folder, then starts a new journal. Then, for each FILES
// entry in order: a file known to the old descriptor is copied only when its
// new version is empty or greater than the old one; a new file always, its
// destination directory created first. A file standing at the destination
// path (directory + file name) is moved to the work folder before the copy.
// A copy into an existing directory lands under the file's name, otherwise
// at the directory text itself. Each copy is written to a pending name
// beside its target, synced and renamed into place, so a crash leaves every
// file whole, and the next run puts the backups of an unfinished run back.
// On the first failure the backups made so far are moved back in the order
// they were made (a path backed up twice gets its first backup) and the step
// returns false. After all files the shortcuts are created
// (CreateAppShortcuts). True when every file and every shortcut is in place.
// Every change and failure is logged.
//
// Runs on the worker thread while no other step uses the work folder.
// `env` is not owned. Raises nothing of its own; errors of the Env or the
// log pass through.
bool UpdateFiles(Env* env, const std::string& unc, const TAppSettings& ANewSettings,
                 const TAppSettings& AOldSettings);

}  // namespace vlau

#endif  // VLAU_SOURCES_SHARE_FILE_UPDATE_H_
