#ifndef VLAU_APPDESC_APP_SETTINGS_VARS_H_
#define VLAU_APPDESC_APP_SETTINGS_VARS_H_

#include <string>
#include <string_view>
#include <vector>

namespace vlau {

// An ordered list of named text variables, each entry one text NAME=VALUE:
// the name is the text before the first "=", the value everything after it.
// Entries stay in insertion order and repeated names are kept; a lookup by
// name finds the first entry with that name (ASCII letters compared
// ignoring case), and so does substitution.
// Not thread-safe: a list belongs to one thread at a time.
class TAppSettingsVars {
 public:
  // Empty, with the delimiter ";".
  TAppSettingsVars() = default;
  // Empty, then AddVars(AVars).
  explicit TAppSettingsVars(const std::vector<std::string>& AVars);

  // Appends NAME=VALUE as given: no expansion, no test for an existing name.
  void AddVar(std::string_view AName, std::string_view AValue);
  // Appends each NAME=VALUE text of AVars in order, its value first expanded
  // with GetUpdatedString against the entries held at that moment (so also
  // against those added earlier in the same call). A text without "=" is a
  // name with an empty value.
  void AddVars(const std::vector<std::string>& AVars);
  // Removes every entry; the delimiter stays.
  void Clear();

  // Replaces, for each entry in list order, every %NAME% of it in the text
  // by its value: one pass over the list, case-sensitive, left to right,
  // never searching a value just inserted for the same pattern. Patterns of
  // unknown names and lone "%" stay as they are.
  std::string GetUpdatedString(std::string_view S) const;
  // The value of the first entry with that name; "" when there is none.
  std::string GetValue(std::string_view Name) const;
  // Value and name of the entry at a 0-based index; std::out_of_range
  // outside 0..Count()-1.
  std::string GetValueOfIndex(int Index) const;
  std::string GetName(int Index) const;
  int Count() const { return static_cast<int>(FVars.size()); }
  // All entries whole, in order, joined with TextDelimeter(); "" when empty.
  std::string Text() const;

  const std::string& TextDelimeter() const { return FTextDelimeter; }
  void SetTextDelimeter(std::string_view ADelimiter) { FTextDelimeter = ADelimiter; }
  // The entries, NAME=VALUE each.
  const std::vector<std::string>& Vars() const { return FVars; }

 private:
  const std::string& EntryAt(int Index) const;

  std::vector<std::string> FVars;
  std::string FTextDelimeter = ";";
};

}  // namespace vlau

#endif  // VLAU_APPDESC_APP_SETTINGS_VARS_H_
