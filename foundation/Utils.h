#ifndef VLAU_FOUNDATION_UTILS_H_
#define VLAU_FOUNDATION_UTILS_H_

// Routines shared by the subsystems: version comparison, address ranges,
// shortcuts, the data folder and its files, the version of the build on disk,
// paths.
#include "foundation/build_version.h"
#include "foundation/compare_versions.h"
#include "foundation/data_folder.h"
#include "foundation/ip_range.h"
#include "foundation/path_util.h"
#include "foundation/shortcut.h"

#endif  // VLAU_FOUNDATION_UTILS_H_
