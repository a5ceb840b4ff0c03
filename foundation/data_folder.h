#ifndef VLAU_FOUNDATION_DATA_FOLDER_H_
#define VLAU_FOUNDATION_DATA_FOLDER_H_

#include <string>
#include <string_view>

#include "platform/env.h"

namespace vlau {

// The program's data folder: the machine's common application data folder
// followed by "Velmora/VLAppUpdater/" (with the platform's separator). Ends
// with a separator also when the common folder is unknown. Not created here.
std::string GetDataFolder(Env* env);

// The data folder followed by the executable's file name with its extension
// changed to `AExt` (".log", ".ini").
std::string GetDataFileName(Env* env, std::string_view AExt);

// The executable's full path with its extension changed to `AExt`: where an
// older installation kept its log and settings beside the program.
std::string GetBesideExecutableFileName(Env* env, std::string_view AExt);

// Moves `from` to `to`, replacing `to`; where the system cannot rename (for
// instance across file systems) the file is copied and then removed.
Status RelocateFile(Env* env, const std::string& from, const std::string& to);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_DATA_FOLDER_H_
