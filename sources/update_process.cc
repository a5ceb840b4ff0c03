#include "sources/update_process.h"

#include "foundation/app_updater_error.h"
#include "foundation/app_updater_log.h"
#include "foundation/log_block.h"
#include "resources/strs.h"

namespace vlau {

TauUpdateProcess::TauUpdateProcess(TauSettings* AAppUpdaterParams, Env* env)
    : TauUpdateProcess(AAppUpdaterParams, env, env->LocalIPv4Addresses()) {}

TauUpdateProcess::TauUpdateProcess(TauSettings* AAppUpdaterParams, Env* env,
                                   std::vector<std::string> ips)
    : FAppUpdaterParams(AAppUpdaterParams), env_(env), ips_(std::move(ips)) {}

TauUpdateProcess::~TauUpdateProcess() {
  if (thread_.joinable()) thread_.join();
}

void TauUpdateProcess::Start() {
  thread_ = std::thread([this] {
    Execute();
    finished_.Set();
  });
}

bool TauUpdateProcess::WaitFor(std::chrono::milliseconds timeout) {
  return finished_.WaitFor(timeout);
}

void TauUpdateProcess::Execute() {
  LogBlock block("UpdateProcess");
  try {
    DoProcess();
    if (Terminated() && auLog) auLog->Add(kUpdateProcessTerminated, aullWaring);
  } catch (const std::exception& e) {
    LogErrorCode(6, {e.what()});
  } catch (...) {
    LogErrorCode(6, {"unknown error"});
  }
}

}  // namespace vlau
