#include "platform/posix/service_unit_posix.h"

#include <optional>
#include <vector>

namespace vlau {
namespace {

constexpr std::string_view kDescriptionKey = "Description=";

struct Line {
  size_t begin = 0;       // offset of the first byte in the unit
  size_t end = 0;         // offset just past the line end (or the text)
  std::string_view body;  // the line without "\n" and a "\r" before it
};

std::vector<Line> SplitLines(std::string_view unit) {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < unit.size()) {
    size_t newline = unit.find('\n', begin);
    size_t end = newline == std::string_view::npos ? unit.size() : newline + 1;
    std::string_view body = unit.substr(begin, end - begin);
    if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
    if (!body.empty() && body.back() == '\r') body.remove_suffix(1);
    lines.push_back({begin, end, body});
    begin = end;
  }
  return lines;
}

// The section name of a header line ("Unit" for "[Unit]"), or nothing.
std::optional<std::string_view> SectionName(std::string_view body) {
  size_t first = body.find_first_not_of(" \t");
  if (first == std::string_view::npos || body[first] != '[') return std::nullopt;
  size_t close = body.find(']', first);
  if (close == std::string_view::npos) return body.substr(first + 1);
  return body.substr(first + 1, close - first - 1);
}

// Where things are in the [Unit] section of a unit.
struct UnitSectionScan {
  const Line* header = nullptr;       // the first "[Unit]" line
  const Line* description = nullptr;  // its first Description= line
};

UnitSectionScan ScanUnitSection(const std::vector<Line>& lines) {
  UnitSectionScan scan;
  bool in_unit = false;
  for (const Line& line : lines) {
    if (std::optional<std::string_view> section = SectionName(line.body)) {
      in_unit = *section == "Unit";
      if (in_unit && scan.header == nullptr) scan.header = &line;
      continue;
    }
    if (in_unit && line.body.substr(0, kDescriptionKey.size()) == kDescriptionKey) {
      scan.description = &line;
      break;
    }
  }
  return scan;
}

// The program's path as systemd reads the first word of ExecStart=: "%"
// introduces a substitution, and blanks split words unless the word is
// quoted.
std::string ExecStartPath(std::string_view path) {
  std::string escaped;
  for (char c : path) {
    if (c == '%') escaped += '%';
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c;
  }
  if (path.find_first_of(" \t\"'\\") == std::string_view::npos) return escaped;
  return '"' + escaped + '"';
}

}  // namespace

std::string ServiceUnitText(const ServiceDefinition& service) {
  return "[Unit]\n"
         "# " +
         service.display_name +
         "\n"
         "After=network-online.target\n"
         "Wants=network-online.target\n"
         "\n"
         "[Service]\n"
         "Type=simple\n"
         "ExecStart=" +
         ExecStartPath(service.executable) +
         "\n"
         "Restart=on-failure\n"
         "Environment=TMPDIR=/var/tmp\n"
         "\n"
         "[Install]\n"
         "WantedBy=multi-user.target\n";
}

bool FindUnitDescription(std::string_view unit, std::string* text) {
  std::vector<Line> lines = SplitLines(unit);
  UnitSectionScan scan = ScanUnitSection(lines);
  if (scan.description == nullptr) return false;
  *text = std::string(scan.description->body.substr(kDescriptionKey.size()));
  return true;
}

std::string SetUnitDescription(std::string_view unit, std::string_view text) {
  std::vector<Line> lines = SplitLines(unit);
  UnitSectionScan scan = ScanUnitSection(lines);
  std::string description_line = std::string(kDescriptionKey) + std::string(text);
  std::string result;
  if (scan.description != nullptr) {
    // Keep the old line's own line end.
    const Line& old = *scan.description;
    size_t body_end = old.begin + old.body.size();
    result.append(unit.substr(0, old.begin));
    result.append(description_line);
    result.append(unit.substr(body_end));
  } else if (scan.header != nullptr) {
    size_t after_header = scan.header->end;
    result.append(unit.substr(0, after_header));
    if (result.empty() || result.back() != '\n') result += '\n';
    result.append(description_line);
    result += '\n';
    result.append(unit.substr(after_header));
  } else {
    result = "[Unit]\n" + description_line + "\n";
    result.append(unit);
  }
  return result;
}

std::string RemoveUnitDescription(std::string_view unit) {
  std::vector<Line> lines = SplitLines(unit);
  UnitSectionScan scan = ScanUnitSection(lines);
  if (scan.description == nullptr) return std::string(unit);
  std::string result(unit.substr(0, scan.description->begin));
  result.append(unit.substr(scan.description->end));
  return result;
}

}  // namespace vlau
