#ifndef VLAU_PLATFORM_RESTART_SCRIPT_H_
#define VLAU_PLATFORM_RESTART_SCRIPT_H_

#include <string>

namespace vlau {

// The script that restarts the service from a newly delivered build: its
// file name in the temporary folder and its content. POSIX:
// "VlAppUpdRestart.sh" with "systemctl stop" and "systemctl start" lines (LF
// ends); Windows: "VlAppUpdRestart.cmd" with "sc stop" and "sc start" lines
// (CR LF ends).
struct RestartScript {
  std::string file_name;
  std::string text;
};

RestartScript RestartScriptFor(const std::string& service_name);

}  // namespace vlau

#endif  // VLAU_PLATFORM_RESTART_SCRIPT_H_
