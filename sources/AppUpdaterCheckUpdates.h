#ifndef VLAU_SOURCES_APPUPDATERCHECKUPDATES_H_
#define VLAU_SOURCES_APPUPDATERCHECKUPDATES_H_

// The update workers and the table of which worker serves which source kind.
#include "sources/update_process.h"
#include "sources/worker_table.h"

#endif  // VLAU_SOURCES_APPUPDATERCHECKUPDATES_H_
