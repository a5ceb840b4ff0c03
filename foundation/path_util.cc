#include "foundation/path_util.h"

namespace vlau {

std::string IncludeTrailingSeparator(std::string_view path, char sep) {
  std::string out(path);
  if (out.empty() || out.back() != sep) out += sep;
  return out;
}

std::string ExcludeTrailingSeparator(std::string_view path, char sep) {
  while (!path.empty() && path.back() == sep) path.remove_suffix(1);
  return std::string(path);
}

std::string ExtractFileName(std::string_view path, char sep) {
  const size_t pos = path.rfind(sep);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtractFilePath(std::string_view path, char sep) {
  const size_t pos = path.rfind(sep);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

namespace {

size_t LastDelimiter(std::string_view path, char sep) {
  return path.find_last_of(sep == '\\' ? std::string_view("\\:") : std::string_view(&sep, 1));
}

}  // namespace

std::string ExtractFileNameWithDrive(std::string_view path, char sep) {
  const size_t pos = LastDelimiter(path, sep);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtractFilePathWithDrive(std::string_view path, char sep) {
  const size_t pos = LastDelimiter(path, sep);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext, char sep) {
  const size_t name_start = path.rfind(sep) == std::string_view::npos ? 0 : path.rfind(sep) + 1;
  const size_t dot = path.rfind('.');
  std::string out(path);
  if (dot != std::string_view::npos && dot >= name_start) out.resize(dot);
  out += ext;
  return out;
}

}  // namespace vlau
