#ifndef VLAU_TESTS_SUPPORT_SHARE_MACHINE_H_
#define VLAU_TESTS_SUPPORT_SHARE_MACHINE_H_

#include <memory>
#include <string>
#include <vector>

#include "appdesc/app_settings.h"
#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {

// A machine in a sandbox with a share folder, the log and the settings
// object installed (every log level on), for tests of the share source.
// Installs process-wide objects: one at a time.
class ShareMachine {
 public:
  ShareMachine();

  SandboxEnv& env() { return env_; }
  TauSettings& settings() { return settings_->settings(); }
  // The share's folder, ending with a separator.
  std::string Unc() const { return env_.Path("share/"); }
  // The file step's work folder.
  std::string WorkDir() const { return env_.Path("tmp/VLAppUpdater/"); }
  // A file on the share; `key` uses '/'.
  std::string PutShareFile(const std::string& key, const std::string& data);
  // A descriptor loaded from an INI text, values expanded in this sandbox.
  TAppSettings Descriptor(const std::string& ini);
  // The log's lines without time stamps; from line `first` on.
  std::vector<std::string> LogLines(size_t first = 0) const;
  // Whether a file exists, and its content ("<missing>" when it does not).
  std::string Content(const std::string& path);

 private:
  SandboxEnv env_;
  ScopedLog log_;
  std::unique_ptr<ScopedSettings> settings_;
  int descriptors_ = 0;
};

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_SHARE_MACHINE_H_
