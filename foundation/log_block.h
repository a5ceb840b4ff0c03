#ifndef VLAU_FOUNDATION_LOG_BLOCK_H_
#define VLAU_FOUNDATION_LOG_BLOCK_H_

#include <string>
#include <utility>

#include "foundation/app_updater_log.h"

namespace vlau {

// Opens a named block on the global log and closes it with the same name
// when it goes out of scope, also when an error passes.
class LogBlock {
 public:
  explicit LogBlock(std::string name) : name_(std::move(name)) {
    if (auLog) auLog->BeginBlock(name_);
  }
  ~LogBlock() {
    if (auLog) auLog->EndBlock(name_);
  }
  LogBlock(const LogBlock&) = delete;
  LogBlock& operator=(const LogBlock&) = delete;

 private:
  const std::string name_;
};

}  // namespace vlau

#endif  // VLAU_FOUNDATION_LOG_BLOCK_H_
