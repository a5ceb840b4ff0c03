#ifndef VLAU_SOURCES_DURABLE_FILE_OPS_H_
#define VLAU_SOURCES_DURABLE_FILE_OPS_H_

#include <string>

#include "platform/env.h"

namespace vlau {

// File operations after which a crash (the process killed, the machine
// losing power) leaves every file whole. They make file contents durable;
// the caller syncs the folders whose entries it changed before it relies on
// a rename. `env` is not owned. Safe on any thread for distinct files.

// Where a copy meant for `path` is written before it is renamed over
// `path`: `path` followed by ".vlau-new", in the same folder, so that the
// rename is atomic.
std::string PendingCopyName(const std::string& path);

// Copies `from` to `to`, replacing it: the content goes to
// PendingCopyName(to), is written through to the storage device and then
// renamed over `to`, so `to` is always its old or its new whole file. The
// pending copy is removed again when a step fails; a crash can leave it
// behind. An empty `to` fails. The failure is that of the step that failed.
Status ReplaceByCopy(Env* env, const std::string& from, const std::string& to);

// Moves a file, replacing `to`. Where the system cannot rename (for instance
// across file systems) the file is copied with ReplaceByCopy, the folder of
// `to` is synced and only then `from` is removed (whether that succeeds is
// not examined). Fails when both ways fail, with the copy's failure.
Status RelocateDurably(Env* env, const std::string& from, const std::string& to);

}  // namespace vlau

#endif  // VLAU_SOURCES_DURABLE_FILE_OPS_H_
