#include "platform/restart_script.h"

namespace vlau {

RestartScript RestartScriptFor(const std::string& service_name) {
  return {"VlAppUpdRestart.sh",
          "systemctl stop " + service_name + "\nsystemctl start " + service_name + "\n"};
}

}  // namespace vlau
