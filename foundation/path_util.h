#ifndef VLAU_FOUNDATION_PATH_UTIL_H_
#define VLAU_FOUNDATION_PATH_UTIL_H_

#include <string>
#include <string_view>

namespace vlau {

// Path texts are joined by plain concatenation; folders end with the
// platform's separator (Env::PathSeparator()), which these helpers take as an
// argument so that they stay free of the platform.

// The path with a separator appended unless it already ends in one; the
// empty path becomes a lone separator.
std::string IncludeTrailingSeparator(std::string_view path, char sep);
// The path without trailing separators.
std::string ExcludeTrailingSeparator(std::string_view path, char sep);
// The part after the last separator.
std::string ExtractFileName(std::string_view path, char sep);
// The part up to and including the last separator; empty without one.
std::string ExtractFilePath(std::string_view path, char sep);
// The part after the last separator or, where the separator is '\', after
// a drive colon ("C:app.exe"): the file name the system's own routines see.
std::string ExtractFileNameWithDrive(std::string_view path, char sep);
// The part up to and including that last separator or drive colon.
std::string ExtractFilePathWithDrive(std::string_view path, char sep);
// The path with the extension of its file name (from the file name's last
// "." on) replaced by `ext`, or `ext` appended when the file name has no ".".
std::string ChangeFileExt(std::string_view path, std::string_view ext, char sep);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_PATH_UTIL_H_
