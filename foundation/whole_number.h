#ifndef VLAU_FOUNDATION_WHOLE_NUMBER_H_
#define VLAU_FOUNDATION_WHOLE_NUMBER_H_

#include <cstdint>
#include <string_view>

namespace vlau {

// Reads a whole number the way the system's settings and version texts are
// read: optional leading blanks, an optional sign, then decimal digits or a
// hexadecimal number with the prefix "$" or "0x" (either case), and nothing
// after it. The value must fit a signed 32-bit integer. Returns false (and
// leaves *value alone) when the text is not such a number.
bool ParseWholeNumber(std::string_view text, int32_t* value);

// ParseWholeNumber, or `fallback` when the text is not a whole number.
int32_t WholeNumberOr(std::string_view text, int32_t fallback);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_WHOLE_NUMBER_H_
