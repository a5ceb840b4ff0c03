#ifndef VLAU_FOUNDATION_APPUPDATERLOG_H_
#define VLAU_FOUNDATION_APPUPDATERLOG_H_

// The log, its levels and its start-up.
#include "foundation/app_updater_log.h"
#include "foundation/log_level.h"
#include "foundation/log_startup.h"

#endif  // VLAU_FOUNDATION_APPUPDATERLOG_H_
