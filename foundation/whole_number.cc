#include "foundation/whole_number.h"

namespace vlau {

namespace {

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v < base ? v : -1;
}

}  // namespace

bool ParseWholeNumber(std::string_view text, int32_t* value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  // The magnitude limit allows -2147483648 but not +2147483648.
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], base);
    if (d < 0) return false;
    magnitude = magnitude * base + d;
    if (magnitude > limit) return false;
  }
  *value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

int32_t WholeNumberOr(std::string_view text, int32_t fallback) {
  int32_t v = fallback;
  return ParseWholeNumber(text, &v) ? v : fallback;
}

}  // namespace vlau
