#include "platform/posix/posix_error.h"

#include <string.h>

namespace vlau {
namespace {

// strerror_r comes in a GNU flavour (returns the text) and an XSI flavour
// (fills the buffer); these overloads accept whichever the C library has.
[[maybe_unused]] const char* PickMessage(const char* result, const char*) { return result; }
[[maybe_unused]] const char* PickMessage(int result, const char* buffer) {
  return result == 0 ? buffer : "Unknown error";
}

}  // namespace

std::string ErrnoMessage(int error_number) {
  char buffer[256] = {};
  return PickMessage(strerror_r(error_number, buffer, sizeof(buffer)), buffer);
}

Status ErrnoStatus(std::string_view action, std::string_view path, int error_number) {
  std::string message(action);
  if (!path.empty()) {
    message += ' ';
    message += path;
  }
  message += ": ";
  message += ErrnoMessage(error_number);
  return Status::Error(std::move(message), error_number);
}

}  // namespace vlau
