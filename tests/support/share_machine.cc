#include "tests/support/share_machine.h"

namespace vlau {

ShareMachine::ShareMachine() : log_(&env_, env_.Path("test.log")) {
  env_.PutIdentifier();
  settings_ = std::make_unique<ScopedSettings>(&env_);
  settings().Common().SetLogLevel({aullWaring, aullError, aullUpdate, aullDetail});
}

std::string ShareMachine::PutShareFile(const std::string& key, const std::string& data) {
  return env_.Put("share/" + key, data);
}

TAppSettings ShareMachine::Descriptor(const std::string& ini) {
  const std::string path =
      env_.Put("descriptors/" + std::to_string(++descriptors_) + "App.ini", ini);
  return TAppSettings::CreateFromIni(&env_, path);
}

std::vector<std::string> ShareMachine::LogLines(size_t first) const {
  std::vector<std::string> lines = LogTextLines(log_.Raw());
  if (first >= lines.size()) return {};
  return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end());
}

std::string ShareMachine::Content(const std::string& path) {
  if (!env_.FileExists(path)) return "<missing>";
  return env_.Read(path);
}

}  // namespace vlau
