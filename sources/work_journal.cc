#include "sources/work_journal.h"

#include <string_view>

#include "foundation/path_util.h"

namespace vlau {
namespace {

constexpr std::string_view kHeader = "VLAppUpdater journal 1";
constexpr std::string_view kMove = "move";
constexpr std::string_view kTemp = "temp";
constexpr std::string_view kComplete = "complete";

std::string Escape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (char c : field) {
    switch (c) {
      case '%':
        out += "%25";
        break;
      case '\t':
        out += "%09";
        break;
      case '\r':
        out += "%0D";
        break;
      case '\n':
        out += "%0A";
        break;
      default:
        out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%' && i + 2 < field.size() && HexDigit(field[i + 1]) >= 0 &&
        HexDigit(field[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(field[i + 1]) * 16 + HexDigit(field[i + 2]));
      i += 2;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
}

}  // namespace

std::string TauWorkJournal::FileName(const std::string& AWorkDir) {
  return AWorkDir + "Journal.txt";
}

Status TauWorkJournal::Read(Env* env, const std::string& APath, Contents* AContents) {
  *AContents = Contents();
  std::string text;
  Status s = env->ReadFileToString(APath, &text);
  if (!s.ok()) return s;
  // Only whole lines count: a torn last line announced nothing that began.
  text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
  std::string_view rest = text;
  bool first = true;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    if (first) {
      if (line != kHeader) return Status::Error("not a journal: " + APath);
      first = false;
      continue;
    }
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields[0] == kMove && fields.size() == 3) {
      AContents->moves.push_back({Unescape(fields[1]), Unescape(fields[2])});
    } else if (fields[0] == kTemp && fields.size() == 2) {
      AContents->temporaries.push_back(Unescape(fields[1]));
    } else if (fields[0] == kComplete) {
      AContents->complete = true;
    }
  }
  // No whole first line: the journal was being started, nothing began.
  return Status::OK();
}

TauWorkJournal::TauWorkJournal(Env* env, std::string APath) : env_(env), FPath(std::move(APath)) {}

Status TauWorkJournal::Start() {
  Status s = env_->WriteStringToFile(FPath, std::string(kHeader) + "\n");
  if (s.ok()) s = env_->SyncFile(FPath);
  if (s.ok()) {
    const std::string folder = ExtractFilePath(FPath, env_->PathSeparator());
    s = env_->SyncDirectory(folder.empty() ? "." : folder);
  }
  return s;
}

Status TauWorkJournal::Announce(const std::vector<Move>& AMoves,
                                const std::vector<std::string>& ATemporaries) {
  std::string lines;
  for (const Move& move : AMoves) {
    lines += std::string(kMove) + "\t" + Escape(move.backup) + "\t" + Escape(move.original) + "\n";
  }
  for (const std::string& temporary : ATemporaries) {
    lines += std::string(kTemp) + "\t" + Escape(temporary) + "\n";
  }
  if (lines.empty()) return Status::OK();
  return AppendDurably(lines);
}

Status TauWorkJournal::MarkComplete() { return AppendDurably(std::string(kComplete) + "\n"); }

Status TauWorkJournal::AppendDurably(const std::string& ALines) {
  Status s = env_->AppendToFile(FPath, ALines, "");
  if (s.ok()) s = env_->SyncFile(FPath);
  return s;
}

}  // namespace vlau
