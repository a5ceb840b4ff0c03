#include "foundation/app_updater_log.h"

#include <cstdio>
#include <vector>

#include "settings/settings.h"

namespace vlau {

TauLog* auLog = nullptr;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Filter {
  bool log = true;
  TauLogLevels levels = TauSettingCommon::kDefaultLogLevel;
};

Filter CurrentFilter() {
  Filter f;
  if (const TauSettings* s = auSettings) {
    f.log = s->Common().Log();
    f.levels = s->Common().LogLevel();
  }
  return f;
}

std::string TimeStamp(const LocalTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d-%02d%02d%02d%03d: ", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.millisecond);
  return buf;
}

// Lines as a string list takes them from a text: a break is CR, LF or CR LF,
// and a break at the very end starts no further line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

// Blanks and control characters at the end of a line are not written.
void TrimRightInPlace(std::string& s) {
  size_t n = s.size();
  while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ') --n;
  s.resize(n);
}

}  // namespace

TauLog::TauLog(Env* env, std::string AFileName) : env_(env), FFileName(std::move(AFileName)) {}

void TauLog::WriteToLog(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const std::vector<std::string_view> lines = SplitLines(text);
  const std::string indent(static_cast<size_t>(FIdent.load()), ' ');
  std::string joined;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = TimeStamp(env_->NowLocal());
    line += indent;
    if (i > 0) line += "->";
    line += lines[i];
    TrimRightInPlace(line);
    joined += line;
    joined += "\r\n";
  }
  std::lock_guard<std::mutex> lock(FCrit);
  env_->AppendToFile(FFileName, joined, kByteOrderMark);  // failure drops the text
}

void TauLog::WriteImmediatly(std::string_view ALogMsg, TauLogLevel) { WriteToLog(ALogMsg); }

void TauLog::Add(std::string_view ALogMsg, TauLogLevel LogLevelMsg) {
  const Filter f = CurrentFilter();
  if (f.log && f.levels.Contains(LogLevelMsg)) WriteImmediatly(ALogMsg, LogLevelMsg);
}

void TauLog::Add(const std::exception& E) {
  const Filter f = CurrentFilter();
  if (f.log && f.levels.Contains(aullError)) WriteImmediatly(E.what(), aullError);
}

void TauLog::AddFmt(std::string_view ALogMsg, const FormatArgs& Args, TauLogLevel LogLevelMsg) {
  const std::string text = Format(ALogMsg, Args);
  Add(text, LogLevelMsg);
}

void TauLog::BeginBlock(std::string_view AMsg) {
  FIdent += 2;
  if (CurrentFilter().log) WriteToLog(AMsg);
  FIdent += 2;
}

void TauLog::EndBlock(std::string_view AMsg) {
  const bool log = CurrentFilter().log;
  if (FIdent.load() == 0) {
    if (log) WriteToLog("Invalid EndBlock calling");
    return;
  }
  FIdent -= 2;
  if (log) WriteToLog(AMsg);
  FIdent -= 2;
}

}  // namespace vlau
