#ifndef VLAU_SETTINGS_SOURCE_NAMES_H_
#define VLAU_SETTINGS_SOURCE_NAMES_H_

#include <string>
#include <string_view>
#include <vector>

namespace vlau {

// Splits the names of a SOURCE line. Commas separate names, and so do blanks
// and control characters (a run of them is one separator; leading ones are
// skipped). A name in double quotes may hold blanks and commas ("" inside
// stands for one quote). An empty entry between two commas, before a leading
// comma or after a trailing comma is an empty name.
std::vector<std::string> SplitSourceNames(std::string_view text);

}  // namespace vlau

#endif  // VLAU_SETTINGS_SOURCE_NAMES_H_
