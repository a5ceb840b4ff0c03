#ifndef VLAU_TESTS_PLATFORM_POSIX_TEST_UTIL_H_
#define VLAU_TESTS_PLATFORM_POSIX_TEST_UTIL_H_

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace vlau {

// A fresh folder below /tmp, removed with its content at scope end. path()
// ends with "/".
class ScopedTempDir {
 public:
  ScopedTempDir() {
    std::string pattern = "/tmp/vlau_test_XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
  }
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;
  ~ScopedTempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

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

#endif  // VLAU_TESTS_PLATFORM_POSIX_TEST_UTIL_H_
