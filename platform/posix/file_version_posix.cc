#include "platform/posix/file_version_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "platform/posix/env_posix.h"

namespace vlau {
namespace {

constexpr std::string_view kMarker = "VLAPPUPD_FILE_VERSION=";
// Longer runs are not a version; the limit bounds what is carried from one
// piece of the file to the next.
constexpr size_t kMaxVersionLength = 64;

bool IsVersionChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

enum class Candidate { kStamp, kNoStamp, kNeedMore };

// Looks at the bytes after a marker in `window` starting at `version_start`.
Candidate CheckCandidate(std::string_view window, size_t version_start, std::string* version) {
  size_t i = version_start;
  while (i < window.size() && IsVersionChar(window[i])) {
    if (i - version_start >= kMaxVersionLength) return Candidate::kNoStamp;
    ++i;
  }
  if (i == window.size()) return Candidate::kNeedMore;
  if (window[i] != '\0' || i == version_start) return Candidate::kNoStamp;
  *version = std::string(window.substr(version_start, i - version_start));
  return Candidate::kStamp;
}

}  // namespace

std::string ReadFileVersionStamp(const std::string& path, size_t chunk_size) {
  if (chunk_size == 0) chunk_size = 1;
  int fd;
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return std::string();
  std::string window;  // bytes carried over from the last piece, then the new piece
  std::string chunk(chunk_size, '\0');
  std::string version;
  bool at_end = false;
  while (!at_end) {
    ssize_t n = read(fd, chunk.data(), chunk.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    at_end = n == 0;
    window.append(chunk.data(), static_cast<size_t>(n));
    // Where the bytes that must be looked at again with the next piece start.
    size_t keep_from = window.size() >= kMarker.size() ? window.size() - (kMarker.size() - 1) : 0;
    for (size_t pos = window.find(kMarker); pos != std::string::npos;
         pos = window.find(kMarker, pos + 1)) {
      Candidate candidate = CheckCandidate(window, pos + kMarker.size(), &version);
      if (candidate == Candidate::kStamp) {
        close(fd);
        return version;
      }
      if (candidate == Candidate::kNeedMore) {
        keep_from = pos;
        break;
      }
    }
    window.erase(0, keep_from);
  }
  close(fd);
  return std::string();
}

std::string PosixEnv::GetFileVersionString(const std::string& path) {
  return ReadFileVersionStamp(path);
}

}  // namespace vlau
