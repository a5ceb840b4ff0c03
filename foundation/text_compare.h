#ifndef VLAU_FOUNDATION_TEXT_COMPARE_H_
#define VLAU_FOUNDATION_TEXT_COMPARE_H_

#include <string>
#include <string_view>

namespace vlau {

// Comparisons of names that ignore letter case: INI sections and keys,
// variable names, script commands, application names. Only the ASCII
// letters are folded; other characters compare by their bytes.
bool SameText(std::string_view a, std::string_view b);
// Negative, 0 or positive as `a` sorts before, with or after `b`.
int CompareText(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view s);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_TEXT_COMPARE_H_
