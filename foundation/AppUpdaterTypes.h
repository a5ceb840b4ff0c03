#ifndef VLAU_FOUNDATION_APPUPDATERTYPES_H_
#define VLAU_FOUNDATION_APPUPDATERTYPES_H_

// The updater's error type with its logging procedures, and the version
// number record.
#include "foundation/app_updater_error.h"
#include "foundation/file_version.h"

#endif  // VLAU_FOUNDATION_APPUPDATERTYPES_H_
