#include "appdesc/app_settings_vars.h"

#include <stdexcept>
#include <utility>

#include "foundation/text_compare.h"

namespace vlau {

namespace {

std::string_view NameOf(std::string_view entry) { return entry.substr(0, entry.find('=')); }

std::string_view ValueOf(std::string_view entry) {
  const size_t eq = entry.find('=');
  return eq == std::string_view::npos ? std::string_view() : entry.substr(eq + 1);
}

// Replaces every occurrence of `pattern`, left to right, without searching
// the inserted text again.
void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
  size_t pos = text.find(pattern);
  while (pos != std::string::npos) {
    text.replace(pos, pattern.size(), replacement);
    pos = text.find(pattern, pos + replacement.size());
  }
}

}  // namespace

TAppSettingsVars::TAppSettingsVars(const std::vector<std::string>& AVars) { AddVars(AVars); }

void TAppSettingsVars::AddVar(std::string_view AName, std::string_view AValue) {
  std::string entry(AName);
  entry += '=';
  entry.append(AValue);
  FVars.push_back(std::move(entry));
}

void TAppSettingsVars::AddVars(const std::vector<std::string>& AVars) {
  for (const std::string& entry : AVars) {
    AddVar(NameOf(entry), GetUpdatedString(ValueOf(entry)));
  }
}

void TAppSettingsVars::Clear() { FVars.clear(); }

std::string TAppSettingsVars::GetUpdatedString(std::string_view S) const {
  std::string result(S);
  for (const std::string& entry : FVars) {
    // Every pattern starts with "%": a text without one is final. This keeps
    // loading large descriptors linear.
    if (result.find('%') == std::string::npos) break;
    const std::string pattern = "%" + std::string(NameOf(entry)) + "%";
    ReplaceAll(result, pattern, ValueOf(entry));
  }
  return result;
}

std::string TAppSettingsVars::GetValue(std::string_view Name) const {
  for (const std::string& entry : FVars) {
    if (SameText(NameOf(entry), Name)) return std::string(ValueOf(entry));
  }
  return std::string();
}

const std::string& TAppSettingsVars::EntryAt(int Index) const {
  if (Index < 0 || Index >= Count()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
  }
  return FVars[static_cast<size_t>(Index)];
}

std::string TAppSettingsVars::GetValueOfIndex(int Index) const {
  return std::string(ValueOf(EntryAt(Index)));
}

std::string TAppSettingsVars::GetName(int Index) const {
  return std::string(NameOf(EntryAt(Index)));
}

std::string TAppSettingsVars::Text() const {
  std::string text;
  for (size_t i = 0; i < FVars.size(); ++i) {
    if (i > 0) text += FTextDelimeter;
    text += FVars[i];
  }
  return text;
}

}  // namespace vlau
