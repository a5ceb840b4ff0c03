#ifndef VLAU_PLATFORM_STATUS_H_
#define VLAU_PLATFORM_STATUS_H_

#include <string>
#include <utility>

namespace vlau {

// Result of a platform operation: success, or failure with the operating
// system's own message text and its error number (errno, GetLastError()).
// Callers log the message; they never interpret the number except where a
// log line must show it.
class Status {
 public:
  Status() = default;
  static Status OK() { return Status(); }
  static Status Error(std::string message, int system_code = 0) {
    Status s;
    s.ok_ = false;
    s.message_ = std::move(message);
    s.system_code_ = system_code;
    return s;
  }

  bool ok() const { return ok_; }
  const std::string& message() const { return message_; }
  int system_code() const { return system_code_; }

 private:
  bool ok_ = true;
  std::string message_;
  int system_code_ = 0;
};

}  // namespace vlau

#endif  // VLAU_PLATFORM_STATUS_H_
