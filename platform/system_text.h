#ifndef VLAU_PLATFORM_SYSTEM_TEXT_H_
#define VLAU_PLATFORM_SYSTEM_TEXT_H_

#include <string>
#include <string_view>

namespace vlau {

// Conversions between the program's UTF-8 strings and the machine's own
// text encoding, in which other programs exchange plain text with it (the
// ANSI code page on Windows, UTF-8 on POSIX). Pure functions, safe on any
// thread.

// Never fails: bytes the encoding cannot decode become U+FFFD each.
std::string SystemTextToUtf8(std::string_view bytes);
// Characters the encoding lacks become '?'.
std::string Utf8ToSystemText(std::string_view text);

}  // namespace vlau

#endif  // VLAU_PLATFORM_SYSTEM_TEXT_H_
