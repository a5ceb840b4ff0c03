#ifndef VLAU_SETTINGS_CLIENT_IDENTIFIER_H_
#define VLAU_SETTINGS_CLIENT_IDENTIFIER_H_

#include <string>
#include <string_view>

#include "platform/env.h"

namespace vlau {

// The 38-character text form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} with
// upper-case hexadecimal digits.
std::string GuidToString(const Guid& guid);

// Reads the text form: 38 characters, "{" first, hyphens at the 10th, 15th,
// 20th and 25th places, hexadecimal digits of either case everywhere else
// but the last place. False when the text has another form.
bool StringToGuid(std::string_view text, Guid* guid);

// An identifier drawn from a clock-seeded pseudo-random generator, for when
// the system's generator fails: D1 below 2147483647, D2 and D3 below 65000,
// each D4 byte below 255; no version or variant bits.
Guid RandomFallbackGuid();

// The machine's identifier, kept as key Identifier of section COMMON in
// "Ident.ini" in the data folder: read when present, otherwise created
// (the system's generator, the random fallback when that fails) and
// written. A stored text that is not a GUID is logged as an error and
// replaced by a new identifier; a file that cannot be written is logged as
// an error and the new identifier serves this run. Writes to the log only
// through WriteImmediatly (the settings object does not exist yet).
Guid ObtainClientIdentifier(Env* env);

}  // namespace vlau

#endif  // VLAU_SETTINGS_CLIENT_IDENTIFIER_H_
