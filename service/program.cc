#include "service/program.h"

#include <memory>

#include "foundation/app_updater_log.h"
#include "foundation/log_startup.h"
#include "foundation/path_util.h"
#include "platform/stop_signals.h"
#include "resources/strs.h"
#include "service/command_line.h"
#include "service/vlappupd_service.h"
#include "settings/settings.h"

namespace vlau {

namespace {

// Owns the global log and settings object for the life of the program and
// frees them in reverse order of creation.
class GlobalObjects {
 public:
  explicit GlobalObjects(Env* env) : log_(StartLog(env)) {
    auLog = log_.get();
    settings_ = std::make_unique<TauSettings>(env);
    auSettings = settings_.get();
  }
  ~GlobalObjects() {
    auSettings = nullptr;
    settings_.reset();
    auLog = nullptr;
    log_.reset();
  }

 private:
  std::unique_ptr<TauLog> log_;
  std::unique_ptr<TauSettings> settings_;
};

int Install(Env* env, TVLAppUpd& module, bool silent, std::ostream& out, std::ostream& err) {
  ServiceDefinition def{kServiceName, kServiceDisplayName, env->ExecutablePath()};
  Status s = env->RegisterService(def);
  if (s.ok()) {
    s = module.ServiceAfterInstall();
    // A service whose install hook failed is removed again, as the service
    // manager's framework does.
    if (!s.ok()) env->UnregisterService(kServiceName);
  }
  if (!s.ok()) {
    err << "Service \"" << kServiceName << "\" failed to install with error: \"" << s.message()
        << "\"\n";
    return 1;
  }
  if (!silent) out << "Service installed successfully\n";
  return 0;
}

int Uninstall(Env* env, TVLAppUpd& module, bool silent, std::ostream& out, std::ostream& err) {
  Status s = env->UnregisterService(kServiceName);
  if (s.ok()) s = module.ServiceAfterUninstall();
  if (!s.ok()) {
    err << "Service \"" << kServiceName << "\" failed to uninstall with error: \"" << s.message()
        << "\"\n";
    return 1;
  }
  if (!silent) out << "Service uninstalled successfully\n";
  return 0;
}

// Runs the service until a stop signal; the signal watcher's thread plays
// the control thread that delivers the stop request.
int RunService(TVLAppUpd& module) {
  StopSignalWatcher watcher([&module] { module.ControlStop(); });
  module.SetControlSocketEnabled(true);
  module.ControlStart();
  module.RunMessageLoop();
  return 0;
}

}  // namespace

int RunProgram(Env* env, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err) {
  CommandLine command_line;
  if (!ParseCommandLine(args, &command_line)) {
    err << UsageText(ExtractFileName(env->ExecutablePath(), env->PathSeparator()));
    return 2;
  }
  GlobalObjects globals(env);
  TVLAppUpd module(env);
  switch (command_line.action) {
    case CommandLine::Action::kInstall:
      return Install(env, module, command_line.silent, out, err);
    case CommandLine::Action::kUninstall:
      return Uninstall(env, module, command_line.silent, out, err);
    case CommandLine::Action::kOnce:
      module.tmrMainTimer();
      return 0;
    case CommandLine::Action::kConsole:
      out << "Running in the foreground; Ctrl+C or SIGTERM stops the service.\n" << std::flush;
      return RunService(module);
    case CommandLine::Action::kService:
      return RunService(module);
  }
  return 0;
}

}  // namespace vlau
