#ifndef VLAU_TESTS_PLATFORM_SCOPED_ENV_VAR_H_
#define VLAU_TESTS_PLATFORM_SCOPED_ENV_VAR_H_

#include <stdlib.h>

#include <optional>
#include <string>

namespace vlau {

// Sets (or, with nullopt, unsets) an environment variable and restores the
// old value at scope end.
class ScopedEnvVar {
 public:
  ScopedEnvVar(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    Set(value);
  }
  ScopedEnvVar(const ScopedEnvVar&) = delete;
  ScopedEnvVar& operator=(const ScopedEnvVar&) = delete;
  ~ScopedEnvVar() { Set(old_); }

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace vlau

#endif  // VLAU_TESTS_PLATFORM_SCOPED_ENV_VAR_H_
