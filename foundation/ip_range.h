#ifndef VLAU_FOUNDATION_IP_RANGE_H_
#define VLAU_FOUNDATION_IP_RANGE_H_

#include <cstdint>
#include <string>

namespace vlau {

// Whether the IPv4 address AIP lies in ARange, both bounds included. The
// range forms are tried in this order:
//   "LOW-HIGH"   the texts either side of the first "-";
//   "ADDR/N"     ADDR to ADDR with its last part replaced by N (N is no
//                prefix length: "192.168.1.10/50" is .10 to .50); without a
//                "." in ADDR the high bound is N alone;
//   otherwise    every "*" read as 0 for the low and 255 for the high bound;
//                without "*" a single address.
// Blanks are not trimmed. Texts IPToNumber rejects count as 255.255.255.255.
bool IsIPInRange(const std::string& AIP, const std::string& ARange);

// Whether IPToNumber(ALow) <= IPToNumber(AIP) <= IPToNumber(AHigh).
bool IsIPBetween(const std::string& AIP, const std::string& ALow, const std::string& AHigh);

// Reads an IPv4 address the way the classic inet_addr does and returns it
// with the first part as the most significant byte. Accepted: one to four
// parts separated by "." - a (32 bits), a.b (b 24 bits), a.b.c (c 16 bits),
// a.b.c.d - each part decimal, octal with a leading 0 or hexadecimal with
// 0x/0X, and every part before the last at most 255. No sign and no leading
// blank. The address ends at the end of the text or at a white-space
// character, after which the rest of the text is ignored (as in BSD
// inet_aton); any other character rejects the text. A rejected text gives
// 0xFFFFFFFF, the same number as 255.255.255.255.
uint32_t IPToNumber(const std::string& AIP);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_IP_RANGE_H_
