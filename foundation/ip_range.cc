#include "foundation/ip_range.h"

#include <string_view>

namespace vlau {

namespace {

constexpr uint32_t kRejected = 0xFFFFFFFF;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitIn(char c, int base) {
  int v = -1;
  if (IsDigit(c)) {
    v = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    v = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    v = c - 'A' + 10;
  }
  return v < base ? v : -1;
}

// Reads one part starting at a digit, as strtoul with base 0 would: "0x"
// followed by a hex digit is hexadecimal, another leading 0 octal. Stops at
// the first character that is no digit of the base. False above 32 bits.
bool ReadPart(std::string_view text, size_t* pos, uint32_t* value) {
  size_t i = *pos;
  int base = 10;
  if (text[i] == '0') {
    base = 8;
    if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitIn(text[i + 2], 16) >= 0) {
      base = 16;
      i += 2;
    }
  }
  uint64_t v = 0;
  for (; i < text.size(); ++i) {
    const int d = DigitIn(text[i], base);
    if (d < 0) break;
    v = v * base + d;
    if (v > 0xFFFFFFFFu) return false;
  }
  *pos = i;
  *value = static_cast<uint32_t>(v);
  return true;
}

}  // namespace

uint32_t IPToNumber(const std::string& AIP) {
  const std::string_view text = AIP;
  // Largest value of the last part by the number of parts before it.
  static constexpr uint32_t kLastMax[4] = {0xFFFFFFFF, 0xFFFFFF, 0xFFFF, 0xFF};
  uint32_t leading[3] = {0, 0, 0};
  size_t count = 0;  // parts read before the last one
  size_t pos = 0;
  uint32_t value = 0;
  for (;;) {
    if (pos >= text.size() || !IsDigit(text[pos])) return kRejected;
    if (!ReadPart(text, &pos, &value)) return kRejected;
    if (pos >= text.size() || text[pos] != '.') break;
    if (count == 3 || value > 0xFF) return kRejected;
    leading[count++] = value;
    ++pos;
  }
  if (pos < text.size() && !IsSpace(text[pos])) return kRejected;
  if (value > kLastMax[count]) return kRejected;
  uint32_t result = value;
  for (size_t k = 0; k < count; ++k) result |= leading[k] << (24 - 8 * k);
  return result;
}

bool IsIPBetween(const std::string& AIP, const std::string& ALow, const std::string& AHigh) {
  const uint32_t n = IPToNumber(AIP);
  if (IPToNumber(ALow) > n) return false;
  return IPToNumber(AHigh) >= n;
}

bool IsIPInRange(const std::string& AIP, const std::string& ARange) {
  std::string low;
  std::string high;
  if (const size_t dash = ARange.find('-'); dash != std::string::npos) {
    low = ARange.substr(0, dash);
    high = ARange.substr(dash + 1);
  } else if (const size_t slash = ARange.find('/'); slash != std::string::npos) {
    low = ARange.substr(0, slash);
    const size_t last_dot = low.rfind('.');
    const std::string head = last_dot == std::string::npos ? "" : low.substr(0, last_dot + 1);
    high = head + ARange.substr(slash + 1);
  } else {
    for (char c : ARange) {
      if (c == '*') {
        low += '0';
        high += "255";
      } else {
        low += c;
        high += c;
      }
    }
  }
  return IsIPBetween(AIP, low, high);
}

}  // namespace vlau
