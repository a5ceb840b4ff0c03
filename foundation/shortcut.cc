#include "foundation/shortcut.h"

#include "foundation/path_util.h"

namespace vlau {

void CreateShortcut(Env* env, const std::string& ATarget, const std::string& ALinkFileName,
                    const std::string& ADescription, const std::string& AArguments) {
  const std::string working_directory = ExtractFilePathWithDrive(ATarget, env->PathSeparator());
  // The outcome shows in whether the file exists afterwards.
  (void)env->CreateShortcut(ATarget, ALinkFileName, working_directory, ADescription, AArguments);
}

}  // namespace vlau
