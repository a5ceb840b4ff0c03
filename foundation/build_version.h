#ifndef VLAU_FOUNDATION_BUILD_VERSION_H_
#define VLAU_FOUNDATION_BUILD_VERSION_H_

#include <string>

#include "platform/env.h"

namespace vlau {

// The version of the build that lies in the executable's folder: the first
// line of "version.txt" there when that file exists (taken unchanged, a UTF-8
// byte order mark skipped; empty when the file has no line), otherwise the
// executable's file version. Fails only when "version.txt" exists but cannot
// be read; *version is then left alone.
Status ReadBuildVersion(Env* env, std::string* version);

// The first line of a text: up to the first CR or LF, after a UTF-8 byte
// order mark.
std::string FirstLine(std::string_view text);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_BUILD_VERSION_H_
