#include "service/command_line.h"

#include "foundation/text_compare.h"

namespace vlau {

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* command_line) {
  CommandLine result;
  bool have_action = false;
  for (const std::string& arg : args) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
    const std::string name = UpperCase(arg.substr(1));
    if (name == "SILENT") {
      result.silent = true;
      continue;
    }
    CommandLine::Action action;
    if (name == "INSTALL")
      action = CommandLine::Action::kInstall;
    else if (name == "UNINSTALL")
      action = CommandLine::Action::kUninstall;
    else if (name == "CONSOLE")
      action = CommandLine::Action::kConsole;
    else if (name == "ONCE")
      action = CommandLine::Action::kOnce;
    else
      return false;
    if (have_action) return false;
    have_action = true;
    result.action = action;
  }
  if (result.silent && result.action != CommandLine::Action::kInstall &&
      result.action != CommandLine::Action::kUninstall) {
    return false;
  }
  *command_line = result;
  return true;
}

std::string UsageText(const std::string& program_name) {
  return "Usage: " + program_name +
         " [switch]\n"
         "  (no switch)         run as the service process started by the service manager\n"
         "  -install [-silent]  register the service (-silent: no result message)\n"
         "  -uninstall [-silent] remove the service\n"
         "  -console            run the service in the foreground until Ctrl+C or SIGTERM\n"
         "  -once               run one update cycle now and exit\n"
         "Switches may start with \"/\" or \"-\" and ignore letter case.\n"
         "VLAPPUPD_ROOT=<folder> makes <folder> stand in for \"/\" for every machine-wide "
         "folder.\n";
}

}  // namespace vlau
