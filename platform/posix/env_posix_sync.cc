#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/env_posix.h"
#include "platform/posix/posix_error.h"

namespace vlau {
namespace {

// Opens `path` with `flags` and fsyncs it.
Status OpenAndSync(const std::string& path, int flags) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return ErrnoStatus("open", path, errno);
  // EINVAL: the file system has nothing it could sync.
  const int synced = fsync(fd);
  const int sync_error = synced != 0 && errno != EINVAL ? errno : 0;
  const int closed = close(fd);
  if (sync_error != 0) return ErrnoStatus("fsync", path, sync_error);
  if (closed != 0) return ErrnoStatus("close", path, errno);
  return Status::OK();
}

}  // namespace

Status PosixEnv::SyncFile(const std::string& path) { return OpenAndSync(path, O_RDONLY); }

Status PosixEnv::SyncDirectory(const std::string& path) {
  return OpenAndSync(path, O_RDONLY | O_DIRECTORY);
}

}  // namespace vlau
