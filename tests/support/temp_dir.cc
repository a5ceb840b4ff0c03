#include "tests/support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>

namespace vlau {

TempDir::TempDir() {
  namespace fs = std::filesystem;
  static std::atomic<int> counter{0};
  std::mt19937_64 gen(std::random_device{}() ^
                      std::chrono::steady_clock::now().time_since_epoch().count());
  for (;;) {
    fs::path p = fs::temp_directory_path() / ("vlau-test-" + std::to_string(gen() % 1000000000) +
                                              "-" + std::to_string(counter++));
    if (fs::create_directory(p)) {
      path_ = p.string() + static_cast<char>(fs::path::preferred_separator);
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace vlau
