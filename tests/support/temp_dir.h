#ifndef VLAU_TESTS_SUPPORT_TEMP_DIR_H_
#define VLAU_TESTS_SUPPORT_TEMP_DIR_H_

#include <string>

namespace vlau {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes. path() ends with a separator.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_TEMP_DIR_H_
