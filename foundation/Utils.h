#ifndef VLAU_FOUNDATION_UTILS_H_
#define VLAU_FOUNDATION_UTILS_H_

// Routines shared by the subsystems: the data folder and its files, the
// version of the build on disk, paths.
#include "foundation/build_version.h"
#include "foundation/data_folder.h"
#include "foundation/path_util.h"

#endif  // VLAU_FOUNDATION_UTILS_H_
