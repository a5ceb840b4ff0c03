#ifndef VLAU_PLATFORM_POSIX_FILE_VERSION_POSIX_H_
#define VLAU_PLATFORM_POSIX_FILE_VERSION_POSIX_H_

#include <cstddef>
#include <string>

namespace vlau {

// The build stamps "VLAPPUPD_FILE_VERSION=<version>" as a NUL-terminated
// text into the program (resources/file_version_stamp.cc.in). Returns the
// version of the first occurrence of the marker that is followed by 1 to 64
// characters of [0-9.] and a NUL byte; other occurrences (such as this
// scanner's own marker text, which is followed directly by NUL) are
// skipped. The empty text when the file cannot be read or has no stamp.
//
// Reads the file in pieces of `chunk_size` bytes (tests make it small), so
// large programs are never held in memory. Safe on any thread.
std::string ReadFileVersionStamp(const std::string& path, size_t chunk_size = 1 << 20);

}  // namespace vlau

#endif  // VLAU_PLATFORM_POSIX_FILE_VERSION_POSIX_H_
