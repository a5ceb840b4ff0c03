#ifndef VLAU_SERVICE_COMMAND_LINE_H_
#define VLAU_SERVICE_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace vlau {

// What the program was started to do.
struct CommandLine {
  enum class Action {
    kService,    // no switch: the service process the service manager starts
    kInstall,    // INSTALL [SILENT]
    kUninstall,  // UNINSTALL [SILENT]
    kConsole,    // CONSOLE: the service in the foreground until Ctrl+C or SIGTERM
    kOnce,       // ONCE: one update cycle, then exit
  };
  Action action = Action::kService;
  bool silent = false;
};

// Reads the switches (after the program name). A switch starts with "/" or
// "-" and matches ignoring letter case. False for anything else: an unknown
// switch, a plain word, two actions, or SILENT without INSTALL or UNINSTALL.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* command_line);

// The text shown for a command line that ParseCommandLine rejects.
std::string UsageText(const std::string& program_name);

}  // namespace vlau

#endif  // VLAU_SERVICE_COMMAND_LINE_H_
