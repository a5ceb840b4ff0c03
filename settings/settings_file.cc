#include "settings/settings_file.h"

#include "foundation/data_folder.h"

namespace vlau {

std::string GetSettingsFileName(Env* env) {
  const std::string path = GetDataFileName(env, ".ini");
  if (!env->FileExists(path)) {
    const std::string beside = GetBesideExecutableFileName(env, ".ini");
    if (env->FileExists(beside)) RelocateFile(env, beside, path);
  }
  return path;
}

}  // namespace vlau
