#ifndef VLAU_SOURCES_SCRIPT_COMMANDS_H_
#define VLAU_SOURCES_SCRIPT_COMMANDS_H_

#include <string_view>

namespace vlau {

// The commands of an application's script, shared by all sources. Only
// Update acts; the others are recognised and do nothing.
enum class ScriptCommand {
  kUnknown,
  kUpdate,
  kUninstall,
  kDelete,
  kDeleteAllFiles,
  kDeleteAll,
  kRun
};

// Looks a command up in the table ignoring letter case.
ScriptCommand FindScriptCommand(std::string_view name);

}  // namespace vlau

#endif  // VLAU_SOURCES_SCRIPT_COMMANDS_H_
