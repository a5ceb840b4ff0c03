#ifndef VLAU_FOUNDATION_SHORTCUT_H_
#define VLAU_FOUNDATION_SHORTCUT_H_

#include <string>

#include "platform/env.h"

namespace vlau {

// Makes a shortcut file ALinkFileName that starts ATarget with AArguments,
// described by ADescription, in the working folder of ATarget (its text up
// to and including the last path separator; on Windows also a drive colon).
// The folder of ALinkFileName is not created. Failures are not reported:
// callers test afterwards whether ALinkFileName exists. `env` is not owned.
// Safe on any thread.
void CreateShortcut(Env* env, const std::string& ATarget, const std::string& ALinkFileName,
                    const std::string& ADescription, const std::string& AArguments);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_SHORTCUT_H_
