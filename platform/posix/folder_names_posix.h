#ifndef VLAU_PLATFORM_POSIX_FOLDER_NAMES_POSIX_H_
#define VLAU_PLATFORM_POSIX_FOLDER_NAMES_POSIX_H_

#include <dirent.h>

#include <string>
#include <vector>

#include "platform/status.h"

namespace vlau {

// Reads the entry names of an open folder stream (without "." and ".."),
// in the system's order, and closes the stream. `path` names the folder in
// messages.
Status ReadFolderNames(DIR* dir, const std::string& path, std::vector<std::string>* names);

}  // namespace vlau

#endif  // VLAU_PLATFORM_POSIX_FOLDER_NAMES_POSIX_H_
