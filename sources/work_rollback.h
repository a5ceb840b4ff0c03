#ifndef VLAU_SOURCES_WORK_ROLLBACK_H_
#define VLAU_SOURCES_WORK_ROLLBACK_H_

#include <string>

#include "platform/env.h"

namespace vlau {

// Rolls back the run whose journal (TauWorkJournal) lies in the work folder
// `AWorkDir` (ending with a separator) when that run did not finish: removes
// the pending copies it left, then moves every backup it names that still
// exists back to its original path, replacing what stands there, in record
// order; of a path backed up twice only the first backup, the file from
// before the run, goes back. A backup that cannot be moved back is moved
// into a new dated folder below the data folder, GetDataFolder + "Backups" +
// sep + "yyyymmdd-hhmmss" (with "-2", "-3" ... when that exists) + sep, under
// its own file name. The folders changed are synced and the journal is
// marked complete.
//
// True when the work folder may now be emptied: no journal, a complete one,
// or every backup moved back or kept. False when a backup could be put
// nowhere, or the journal cannot be read or completed; the work folder must
// then stay as it is. Every change and failure is logged. `env` is not
// owned. Runs only while no other step uses the work folder.
bool RollBackWorkFolder(Env* env, const std::string& AWorkDir);

}  // namespace vlau

#endif  // VLAU_SOURCES_WORK_ROLLBACK_H_
