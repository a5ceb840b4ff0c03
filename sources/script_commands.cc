#include "sources/script_commands.h"

#include "foundation/text_compare.h"

namespace vlau {

ScriptCommand FindScriptCommand(std::string_view name) {
  static constexpr struct {
    std::string_view name;
    ScriptCommand command;
  } kTable[] = {
      {"Update", ScriptCommand::kUpdate},       {"Uninstall", ScriptCommand::kUninstall},
      {"Delete", ScriptCommand::kDelete},       {"DeleteAllFiles", ScriptCommand::kDeleteAllFiles},
      {"DeleteAll", ScriptCommand::kDeleteAll}, {"Run", ScriptCommand::kRun},
  };
  for (const auto& entry : kTable) {
    if (SameText(entry.name, name)) return entry.command;
  }
  return ScriptCommand::kUnknown;
}

}  // namespace vlau
