#ifndef VLAU_FOUNDATION_COMMA_TEXT_H_
#define VLAU_FOUNDATION_COMMA_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace vlau {

// Splits a comma text, the list form of SOURCE lines and of the application
// lists of a share's index file. Commas separate items, and so do blanks and
// control characters (a run of them is one separator; leading ones are
// skipped). An item in double quotes may hold blanks and commas ("" inside
// stands for one quote). An empty item arises between two commas, before a
// leading comma and after a comma that ends the text.
std::vector<std::string> SplitCommaText(std::string_view text);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_COMMA_TEXT_H_
