#ifndef VLAU_SETTINGS_SETTINGS_FILE_H_
#define VLAU_SETTINGS_SETTINGS_FILE_H_

#include <string>

#include "platform/env.h"

namespace vlau {

// The settings file: the executable's name with ".ini" in the data folder.
// When the data folder holds none, a settings file lying beside the
// executable is moved there first (copied and removed where it cannot be
// moved); the outcome of that is not reported.
std::string GetSettingsFileName(Env* env);

}  // namespace vlau

#endif  // VLAU_SETTINGS_SETTINGS_FILE_H_
