#ifndef VLAU_FOUNDATION_APPUPDATERTYPES_H_
#define VLAU_FOUNDATION_APPUPDATERTYPES_H_

// The updater's error type and its logging procedures.
#include "foundation/app_updater_error.h"

#endif  // VLAU_FOUNDATION_APPUPDATERTYPES_H_
