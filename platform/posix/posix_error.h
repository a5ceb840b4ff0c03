#ifndef VLAU_PLATFORM_POSIX_POSIX_ERROR_H_
#define VLAU_PLATFORM_POSIX_POSIX_ERROR_H_

#include <string>
#include <string_view>

#include "platform/status.h"

namespace vlau {

// The system's message for an errno value. Thread-safe.
std::string ErrnoMessage(int error_number);

// A failed Status for a system call that failed with `error_number`:
// "<action> <path>: <system message>", carrying the errno value.
Status ErrnoStatus(std::string_view action, std::string_view path, int error_number);

}  // namespace vlau

#endif  // VLAU_PLATFORM_POSIX_POSIX_ERROR_H_
