#ifndef VLAU_SERVICE_PROGRAM_H_
#define VLAU_SERVICE_PROGRAM_H_

#include <ostream>
#include <string>
#include <vector>

#include "platform/env.h"

namespace vlau {

// The whole program: start-up (the log, then the settings object, then the
// service module), the action the command line asks for, and the exit in
// reverse order. Returns the process exit status: 0 on success, 1 when
// installing or uninstalling failed, 2 for a command line it does not know
// (which touches nothing on the machine). Result messages go to `out`,
// errors and the usage text to `err`.
int RunProgram(Env* env, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err);

}  // namespace vlau

#endif  // VLAU_SERVICE_PROGRAM_H_
