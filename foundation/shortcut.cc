#include "foundation/shortcut.h"

namespace vlau {

void CreateShortcut(Env* env, const std::string& ATarget, const std::string& ALinkFileName,
                    const std::string& ADescription, const std::string& AArguments) {
  const char separator = env->PathSeparator();
  // A drive colon ends the folder part only in Windows paths ("C:app.exe").
  const std::string delimiters = separator == '\\' ? std::string("\\:") : std::string(1, separator);
  const size_t last = ATarget.find_last_of(delimiters);
  const std::string working_directory =
      last == std::string::npos ? std::string() : ATarget.substr(0, last + 1);
  // The outcome shows in whether the file exists afterwards.
  (void)env->CreateShortcut(ATarget, ALinkFileName, working_directory, ADescription, AArguments);
}

}  // namespace vlau
