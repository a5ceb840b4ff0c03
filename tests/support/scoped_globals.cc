#include "tests/support/scoped_globals.h"

namespace vlau {

ScopedLog::ScopedLog(Env* env, std::string file)
    : env_(env), log_(std::make_unique<TauLog>(env, std::move(file))), previous_(auLog) {
  auLog = log_.get();
}

ScopedLog::~ScopedLog() { auLog = previous_; }

std::string ScopedLog::Raw() const {
  std::string data;
  env_->ReadFileToString(log_->FileName(), &data);
  return data;
}

std::vector<std::string> ScopedLog::Lines() const { return LogTextLines(Raw()); }

std::vector<std::string> LogTextLines(const std::string& raw) {
  std::string text = raw;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    lines.push_back(line.size() > 20 ? line.substr(20) : std::string());
    start = end + 2;
  }
  return lines;
}

ScopedSettings::ScopedSettings(Env* env)
    : settings_(std::make_unique<TauSettings>(env)), previous_(auSettings) {
  auSettings = settings_.get();
}

ScopedSettings::~ScopedSettings() { auSettings = previous_; }

}  // namespace vlau
