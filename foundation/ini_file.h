#ifndef VLAU_FOUNDATION_INI_FILE_H_
#define VLAU_FOUNDATION_INI_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/env.h"

namespace vlau {

// An INI file read with the rules of the Windows private-profile functions,
// which every INI file of the system (settings, identifier, descriptors,
// share index files) follows:
// - section and key names match ignoring letter case (ASCII);
// - the keys of a section are listed in file order, a repeated key listed
//   each time; looking a key up finds its first line, so the first of a
//   repeated key wins;
// - a value is the text after the first "=", blanks around it removed and
//   one pair of enclosing single or double quotes dropped, cut after 2047
//   characters (whole UTF-8 characters);
// - a file that is missing or cannot be read reads as a file without
//   sections.
// The remaining details follow the Windows reader too: a UTF-8 byte order
// mark is skipped; lines end in CR LF, LF or CR; blanks around section
// names and keys are removed; a line whose first non-blank character is ";"
// is a comment; lines before the first section, lines without "=" and lines
// with an empty key are ignored. When a section name occurs more than once,
// only its first section is seen, by lookups and listings alike.
// An IniFile is a snapshot of the file's text: it never goes back to disk.
// Not thread-safe for writing; const methods may run concurrently.
class IniFile {
 public:
  IniFile() = default;

  static IniFile Load(Env* env, const std::string& path);
  static IniFile Parse(std::string_view text);

  // True when the file has a header of that section, even an empty one.
  bool SectionExists(std::string_view section) const;
  // Keys of the section in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // NAME=VALUE pairs of the section: each listed key with the value that a
  // lookup of that key gives.
  std::vector<std::pair<std::string, std::string>> ReadSectionValues(
      std::string_view section) const;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  // A decimal or "$"/"0x" hexadecimal whole number; anything else (absent,
  // empty, not a number) gives the default.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;
  // An integer key: 0 is false, any other number true.
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  // Sets one key in the file at `path`, creating the file, the section or
  // the key as needed and keeping every other line of the file as it was:
  // the first line of the key in the first section of that name is
  // replaced; a new key goes to the end of that section (before its
  // trailing blank lines), a new section to the end of the file. New lines
  // end like the file's lines (CR LF in a new file). A value that the rules
  // above would change when read (blanks around it, enclosing quotes) is
  // written inside double quotes, so that it reads back as written.
  // Blanks around `section` and `key` are ignored. Fails, writing nothing,
  // for names or values that cannot be stored in a line (line breaks, an
  // empty key, a key with "=" or starting with ";" or "[", "]" in a
  // section name), when the file exists but cannot be read, or when
  // writing fails.
  static Status WriteString(Env* env, const std::string& path, std::string_view section,
                            std::string_view key, std::string_view value);

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* FindSection(std::string_view name) const;
  const std::string* FindValue(std::string_view section, std::string_view key) const;

  std::vector<Section> sections_;
};

}  // namespace vlau

#endif  // VLAU_FOUNDATION_INI_FILE_H_
