#include "foundation/log_startup.h"

#include "foundation/data_folder.h"

namespace vlau {

std::unique_ptr<TauLog> StartLog(Env* env) {
  env->CreateDirs(GetDataFolder(env));
  const std::string log_file = GetDataFileName(env, ".log");
  const std::string old_log = GetBesideExecutableFileName(env, ".log");
  if (old_log != log_file && env->FileExists(old_log)) RelocateFile(env, old_log, log_file);
  return std::make_unique<TauLog>(env, log_file);
}

}  // namespace vlau
