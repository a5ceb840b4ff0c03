#ifndef VLAU_TESTS_SUPPORT_SCOPED_GLOBALS_H_
#define VLAU_TESTS_SUPPORT_SCOPED_GLOBALS_H_

#include <memory>
#include <string>
#include <vector>

#include "foundation/app_updater_log.h"
#include "platform/env.h"
#include "settings/settings.h"

namespace vlau {

// Installs a log on `file` as the process-wide log for the life of the
// object, and puts the previous one back afterwards.
class ScopedLog {
 public:
  ScopedLog(Env* env, std::string file);
  ~ScopedLog();

  TauLog& log() { return *log_; }
  // The file's lines with their time stamps cut off (indentation kept).
  std::vector<std::string> Lines() const;
  // The file's bytes.
  std::string Raw() const;

 private:
  Env* env_;
  std::unique_ptr<TauLog> log_;
  TauLog* previous_;
};

// Constructs a settings object and installs it as the process-wide one.
class ScopedSettings {
 public:
  explicit ScopedSettings(Env* env);
  ~ScopedSettings();

  TauSettings& settings() { return *settings_; }

 private:
  std::unique_ptr<TauSettings> settings_;
  TauSettings* previous_;
};

// Lines of a log text without their 20-character time stamps.
std::vector<std::string> LogTextLines(const std::string& raw);

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_SCOPED_GLOBALS_H_
