#include "foundation/ini_file.h"

#include <unordered_map>

#include "foundation/text_compare.h"
#include "foundation/whole_number.h"

namespace vlau {

namespace {

// The Windows reader returns at most this many characters of a value.
constexpr size_t kMaxValueChars = 2047;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

size_t BomLength(std::string_view text) { return text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0; }

// One line of the file as offsets into its text.
struct Line {
  size_t begin;  // first character
  size_t end;    // just past the last character, before the line end
  size_t next;   // first character of the following line
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = BomLength(text);
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    size_t next = end;
    if (next < text.size()) {
      next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    }
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;       // section name or key, trimmed
  std::string_view raw_value;  // text after the first "=", as written
};

ParsedLine ParseLine(std::string_view line) {
  ParsedLine parsed;
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return parsed;
  if (t.front() == '[') {
    // Text after "]" is ignored; a header without "]" runs to the line end.
    const size_t close = t.find(']');
    parsed.kind = LineKind::kSection;
    parsed.name = Trim(t.substr(1, close == std::string_view::npos ? close : close - 1));
    return parsed;
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return parsed;
  parsed.name = Trim(t.substr(0, eq));
  if (parsed.name.empty()) return parsed;
  parsed.kind = LineKind::kKey;
  parsed.raw_value = t.substr(eq + 1);
  return parsed;
}

// Cuts after kMaxValueChars characters, never inside a UTF-8 sequence.
std::string_view CutValue(std::string_view v) {
  size_t chars = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    if ((static_cast<unsigned char>(v[i]) & 0xC0) != 0x80) {
      if (chars == kMaxValueChars) return v.substr(0, i);
      ++chars;
    }
  }
  return v;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool HasEnclosingQuotes(std::string_view v) {
  return v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front();
}

std::string CleanValue(std::string_view raw) {
  std::string_view v = Trim(raw);
  if (HasEnclosingQuotes(v)) v = v.substr(1, v.size() - 2);
  return std::string(CutValue(v));
}

// The line end of the file's first line; CR LF when it has none.
std::string_view DetectLineEnd(std::string_view text) {
  const size_t pos = text.find_first_of("\r\n");
  if (pos == std::string_view::npos) return "\r\n";
  if (text[pos] == '\n') return "\n";
  return pos + 1 < text.size() && text[pos + 1] == '\n' ? "\r\n" : "\r";
}

// The text to store so that reading gives `value` back unchanged.
std::string StoredValue(std::string_view value) {
  const bool needs_quotes = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                               HasEnclosingQuotes(value));
  if (!needs_quotes) return std::string(value);
  std::string quoted = "\"";
  quoted.append(value);
  quoted += '"';
  return quoted;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

Status CheckWritable(std::string_view section, std::string_view key, std::string_view value) {
  if (HasLineBreak(section) || section.find(']') != std::string_view::npos) {
    return Status::Error("Invalid INI section name: " + std::string(section));
  }
  if (key.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos ||
      key.front() == ';' || key.front() == '[') {
    return Status::Error("Invalid INI key name: " + std::string(key));
  }
  if (HasLineBreak(value)) return Status::Error("INI value contains a line break");
  return Status::OK();
}

}  // namespace

IniFile IniFile::Load(Env* env, const std::string& path) {
  std::string text;
  if (!env->ReadFileToString(path, &text).ok()) return IniFile();
  return Parse(text);
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  Section* current = nullptr;
  for (const Line& line : SplitLines(text)) {
    const ParsedLine parsed = ParseLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::kSection) {
      ini.sections_.push_back({std::string(parsed.name), {}});
      current = &ini.sections_.back();
    } else if (parsed.kind == LineKind::kKey && current != nullptr) {
      current->entries.push_back({std::string(parsed.name), CleanValue(parsed.raw_value)});
    }
  }
  return ini;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  name = Trim(name);
  for (const Section& section : sections_) {
    if (SameText(section.name, name)) return &section;
  }
  return nullptr;
}

const std::string* IniFile::FindValue(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  key = Trim(key);
  for (const Entry& entry : s->entries) {
    if (SameText(entry.key, key)) return &entry.value;
  }
  return nullptr;
}

bool IniFile::SectionExists(std::string_view section) const {
  return FindSection(section) != nullptr;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = FindSection(section)) {
    for (const Entry& entry : s->entries) keys.push_back(entry.key);
  }
  return keys;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> values;
  const Section* s = FindSection(section);
  if (s == nullptr) return values;
  // A repeated key takes its first line's value; the index keeps this linear
  // for descriptors of many thousand files.
  std::unordered_map<std::string, const std::string*> first_value;
  for (const Entry& entry : s->entries) {
    const std::string* value =
        first_value.try_emplace(UpperCase(entry.key), &entry.value).first->second;
    values.emplace_back(entry.key, *value);
  }
  return values;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view default_value) const {
  const std::string* value = FindValue(section, key);
  return value != nullptr ? *value : std::string(default_value);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t default_value) const {
  const std::string* value = FindValue(section, key);
  return value != nullptr ? WholeNumberOr(*value, default_value) : default_value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

Status IniFile::WriteString(Env* env, const std::string& path, std::string_view section,
                            std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (Status s = CheckWritable(section, key, value); !s.ok()) return s;

  std::string text;
  if (Status s = env->ReadFileToString(path, &text); !s.ok()) {
    // Writing over a file that exists but cannot be read would lose it.
    if (env->FileExists(path)) return s;
    text.clear();
  }
  const std::string eol(DetectLineEnd(text));
  const std::vector<Line> lines = SplitLines(text);
  auto line_text = [&](const Line& l) {
    return std::string_view(text).substr(l.begin, l.end - l.begin);
  };

  size_t i = 0;
  for (; i < lines.size(); ++i) {
    const ParsedLine parsed = ParseLine(line_text(lines[i]));
    if (parsed.kind == LineKind::kSection && SameText(parsed.name, section)) break;
  }

  if (i == lines.size()) {
    std::string added;
    if (text.size() > BomLength(text) && !IsLineBreak(text.back())) added = eol;
    added += "[" + std::string(section) + "]" + eol;
    added += std::string(key) + "=" + StoredValue(value) + eol;
    text += added;
    return env->WriteStringToFile(path, text);
  }

  size_t last_filled = i;  // the last non-blank line of the section
  for (size_t j = i + 1; j < lines.size(); ++j) {
    const std::string_view lt = line_text(lines[j]);
    const ParsedLine parsed = ParseLine(lt);
    if (parsed.kind == LineKind::kSection) break;
    if (parsed.kind == LineKind::kKey && SameText(parsed.name, key)) {
      // The key keeps its spelling in the file.
      const std::string replaced = std::string(parsed.name) + "=" + StoredValue(value);
      text.replace(lines[j].begin, lines[j].end - lines[j].begin, replaced);
      return env->WriteStringToFile(path, text);
    }
    if (!Trim(lt).empty()) last_filled = j;
  }

  const Line& after = lines[last_filled];
  std::string added = after.next == after.end ? eol : std::string();
  added += std::string(key) + "=" + StoredValue(value) + eol;
  text.insert(after.next, added);
  return env->WriteStringToFile(path, text);
}

}  // namespace vlau
