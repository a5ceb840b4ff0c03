#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "platform/posix/env_posix.h"
#include "platform/posix/folder_names_posix.h"
#include "platform/posix/posix_error.h"

namespace vlau {
namespace {

int OpenFolderAt(int parent_fd, const char* name) {
  int fd;
  do {
    fd = openat(parent_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// The entry names of the open folder `fd`, read through a duplicate so
// that `fd` stays open.
Status ReadNames(int fd, const std::string& path, std::vector<std::string>* names) {
  names->clear();
  const int dup_fd = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (dup_fd < 0) return ErrnoStatus("dup", path, errno);
  DIR* dir = fdopendir(dup_fd);
  if (dir == nullptr) {
    const int error_number = errno;
    close(dup_fd);
    return ErrnoStatus("opendir", path, error_number);
  }
  return ReadFolderNames(dir, path, names);
}

// Deletes everything below the open folder `fd`, which `path` names in
// messages. Goes on after a failure and returns the first one. The names
// are read before anything is deleted, as deleting while reading a folder
// may skip entries.
Status ClearFolder(int fd, const std::string& path) {
  std::vector<std::string> names;
  Status first = ReadNames(fd, path, &names);
  for (const std::string& name : names) {
    const std::string child = path + "/" + name;
    struct stat info;
    if (fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      if (first.ok()) first = ErrnoStatus("stat", child, errno);
      continue;
    }
    if (S_ISDIR(info.st_mode)) {
      const int child_fd = OpenFolderAt(fd, name.c_str());
      if (child_fd < 0) {
        if (first.ok()) first = ErrnoStatus("open", child, errno);
        continue;
      }
      Status cleared = ClearFolder(child_fd, child);
      close(child_fd);
      if (!cleared.ok()) {
        // The folder cannot be empty now; its own failure says why.
        if (first.ok()) first = cleared;
        continue;
      }
      if (unlinkat(fd, name.c_str(), AT_REMOVEDIR) != 0 && first.ok()) {
        first = ErrnoStatus("rmdir", child, errno);
      }
    } else if (unlinkat(fd, name.c_str(), 0) != 0 && first.ok()) {
      first = ErrnoStatus("unlink", child, errno);
    }
  }
  return first;
}

}  // namespace

Status PosixEnv::RemoveDirectoryTree(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const int fd = OpenFolderAt(AT_FDCWD, folder.c_str());
  if (fd < 0) return ErrnoStatus("open", folder, errno);
  Status cleared = ClearFolder(fd, folder);
  close(fd);
  if (!cleared.ok()) return cleared;
  if (rmdir(folder.c_str()) != 0) return ErrnoStatus("rmdir", folder, errno);
  return Status::OK();
}

}  // namespace vlau
