#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/posix/env_posix.h"
#include "platform/posix/folder_names_posix.h"
#include "platform/posix/posix_error.h"

namespace vlau {
namespace {

// Closes the descriptor when it goes out of scope.
class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;
  ~FdCloser() {
    if (fd_ >= 0) close(fd_);
  }
  // Closes now; close() can report a failed delayed write.
  int Close() {
    int result = close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// open() that is retried when a signal interrupts it.
int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Writes all of `data`; false with errno set on failure.
bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Starts writing the `n` bytes just copied (ending at the file offset of
// `out`) to the device without waiting for it: the device works while the
// copy goes on, and a sync right after the copy finds little left to do.
void StartWriteback(int out, ssize_t n) {
  const off_t end = lseek(out, 0, SEEK_CUR);
  if (end >= n) (void)sync_file_range(out, end - n, n, SYNC_FILE_RANGE_WRITE);
}

// Copies the rest of `in` to `out` through a user-space buffer.
bool CopyByReadWrite(int in, int out) {
  char buffer[64 * 1024];
  for (;;) {
    ssize_t n = read(in, buffer, sizeof(buffer));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    if (!WriteAll(out, std::string_view(buffer, static_cast<size_t>(n)))) return false;
    StartWriteback(out, n);
  }
}

// The errors telling that a kernel copy call cannot handle this pair of
// files (or this kernel lacks it), so the next way should be tried.
bool MeansUnsupported(int error_number) {
  return error_number == ENOSYS || error_number == EXDEV || error_number == EINVAL ||
         error_number == EOPNOTSUPP || error_number == EBADF;
}

// Copies the rest of `in` to `out`: copy_file_range, else sendfile, else
// read/write. Each way continues from the file offsets the previous one
// left. False with errno set on failure.
bool CopyData(int in, int out) {
  // Steps the device can start on while the next one is copied.
  constexpr size_t kStep = size_t{1} << 20;
  bool copy_range_works = true;
  for (;;) {
    ssize_t n = copy_file_range(in, nullptr, out, nullptr, kStep, 0);
    if (n == 0) return true;
    if (n > 0) {
      StartWriteback(out, n);
      continue;
    }
    if (errno == EINTR) continue;
    if (!MeansUnsupported(errno)) return false;
    copy_range_works = false;
    break;
  }
  if (!copy_range_works) {
    for (;;) {
      ssize_t n = sendfile(out, in, nullptr, kStep);
      if (n == 0) return true;
      if (n > 0) {
        StartWriteback(out, n);
        continue;
      }
      if (errno == EINTR) continue;
      if (!MeansUnsupported(errno)) return false;
      break;
    }
  }
  return CopyByReadWrite(in, out);
}

// Holds an exclusive flock() on the open file `fd` while it appends, then
// closes it (which releases the lock).
Status AppendLocked(int fd, const std::string& path, std::string_view data) {
  FdCloser closer(fd);
  int locked;
  do {
    locked = flock(fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) return ErrnoStatus("flock", path, errno);
  if (!WriteAll(fd, data)) return ErrnoStatus("write", path, errno);
  if (closer.Close() != 0) return ErrnoStatus("close", path, errno);
  return Status::OK();
}

// Makes the missing file `path` with `text` in one step: the text is
// written under a name of its own and the file linked into place, so no
// other writer can append before the text. `created` is false when another
// writer made the file first.
Status CreateWithContent(const std::string& path, std::string_view text, bool* created) {
  static std::atomic<unsigned> sequence{0};
  *created = false;
  const std::string temp =
      path + ".new-" + std::to_string(getpid()) + "-" + std::to_string(sequence++);
  const int fd = OpenRetrying(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return ErrnoStatus("open", path, errno);
  FdCloser closer(fd);
  int error_number = WriteAll(fd, text) ? 0 : errno;
  if (closer.Close() != 0 && error_number == 0) error_number = errno;
  int linked = 0;
  if (error_number == 0 && link(temp.c_str(), path.c_str()) != 0) linked = errno;
  unlink(temp.c_str());
  if (error_number != 0) return ErrnoStatus("write", path, error_number);
  if (linked == 0 || linked == EEXIST) {
    *created = linked == 0;
    return Status::OK();
  }
  // A file system without hard links: create in place, where another writer
  // may still get in before the text.
  const int direct = OpenRetrying(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL, 0644);
  if (direct < 0) return errno == EEXIST ? Status::OK() : ErrnoStatus("open", path, errno);
  *created = true;
  return AppendLocked(direct, path, text);
}

}  // namespace

bool PosixEnv::FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PosixEnv::DirectoryExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Status PosixEnv::CreateDirs(const std::string& path) {
  if (path.empty()) return ErrnoStatus("mkdir", "''", ENOENT);
  // Create each prefix that ends before a "/", then the whole path.
  size_t end = 0;
  while (end < path.size()) {
    end = path.find('/', end + 1);
    if (end == std::string::npos) end = path.size();
    std::string prefix = path.substr(0, end);
    if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
      return ErrnoStatus("mkdir", prefix, errno);
    }
  }
  if (!DirectoryExists(path)) return ErrnoStatus("mkdir", path, ENOTDIR);
  return Status::OK();
}

Status PosixEnv::ReadFileToString(const std::string& path, std::string* data) {
  data->clear();
  int fd = OpenRetrying(path.c_str(), O_RDONLY);
  if (fd < 0) return ErrnoStatus("open", path, errno);
  FdCloser closer(fd);
  char buffer[64 * 1024];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof(buffer));
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoStatus("read", path, errno);
    }
    if (n == 0) return Status::OK();
    data->append(buffer, static_cast<size_t>(n));
  }
}

Status PosixEnv::WriteStringToFile(const std::string& path, std::string_view data) {
  int fd = OpenRetrying(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return ErrnoStatus("open", path, errno);
  FdCloser closer(fd);
  if (!WriteAll(fd, data)) return ErrnoStatus("write", path, errno);
  if (closer.Close() != 0) return ErrnoStatus("close", path, errno);
  return Status::OK();
}

Status PosixEnv::AppendToFile(const std::string& path, std::string_view data,
                              std::string_view prefix_if_created) {
  int fd = OpenRetrying(path.c_str(), O_WRONLY | O_APPEND);
  if (fd < 0 && errno == ENOENT) {
    std::string text(prefix_if_created);
    text.append(data);
    bool created = false;
    Status status = CreateWithContent(path, text, &created);
    if (!status.ok() || created) return status;
    fd = OpenRetrying(path.c_str(), O_WRONLY | O_APPEND);  // another writer made it first
  }
  if (fd < 0) return ErrnoStatus("open", path, errno);
  return AppendLocked(fd, path, data);
}

Status PosixEnv::RenameFile(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) {
    return ErrnoStatus("rename", from + " to " + to, errno);
  }
  return Status::OK();
}

Status PosixEnv::CopyFileContents(const std::string& from, const std::string& to) {
  int in = OpenRetrying(from.c_str(), O_RDONLY);
  if (in < 0) return ErrnoStatus("open", from, errno);
  FdCloser in_closer(in);
  struct stat source;
  if (fstat(in, &source) != 0) return ErrnoStatus("stat", from, errno);
  struct stat target;
  if (stat(to.c_str(), &target) == 0 && target.st_dev == source.st_dev &&
      target.st_ino == source.st_ino) {
    // Opening the target would truncate the source.
    return ErrnoStatus("copy", from + " to " + to + " (same file)", EINVAL);
  }
  mode_t mode = source.st_mode & 07777;
  int out = OpenRetrying(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
  if (out < 0) return ErrnoStatus("open", to, errno);
  FdCloser out_closer(out);
  if (!CopyData(in, out)) return ErrnoStatus("copy", from + " to " + to, errno);
  // An existing target keeps its old mode and a new one lost the umask bits.
  if (fchmod(out, mode) != 0) return ErrnoStatus("chmod", to, errno);
  if (out_closer.Close() != 0) return ErrnoStatus("close", to, errno);
  return Status::OK();
}

Status PosixEnv::RemoveFile(const std::string& path) {
  if (unlink(path.c_str()) != 0) return ErrnoStatus("unlink", path, errno);
  return Status::OK();
}

Status PosixEnv::ListDirectory(const std::string& path, std::vector<std::string>* names) {
  names->clear();
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return ErrnoStatus("opendir", path, errno);
  return ReadFolderNames(dir, path, names);
}

}  // namespace vlau
