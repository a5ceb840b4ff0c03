#ifndef VLAU_FOUNDATION_LOG_STARTUP_H_
#define VLAU_FOUNDATION_LOG_STARTUP_H_

#include <memory>

#include "foundation/app_updater_log.h"
#include "platform/env.h"

namespace vlau {

// The log's start-up: makes sure the data folder exists, moves a log file
// lying beside the executable into it (replacing the one there) and returns
// the log for the data folder's log file. Failures are not reported: the log
// then drops what it cannot write.
std::unique_ptr<TauLog> StartLog(Env* env);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_LOG_STARTUP_H_
