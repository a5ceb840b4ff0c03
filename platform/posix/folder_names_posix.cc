#include "platform/posix/folder_names_posix.h"

#include <cerrno>
#include <string_view>

#include "platform/posix/posix_error.h"

namespace vlau {

Status ReadFolderNames(DIR* dir, const std::string& path, std::vector<std::string>* names) {
  names->clear();
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir);
    if (entry == nullptr) break;
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    names->emplace_back(name);
  }
  const int read_error = errno;
  closedir(dir);
  if (read_error != 0) return ErrnoStatus("readdir", path, read_error);
  return Status::OK();
}

}  // namespace vlau
