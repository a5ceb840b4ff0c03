#include "foundation/file_version.h"

#include <string_view>

#include "foundation/whole_number.h"

namespace vlau {

namespace {

// The number formed by the text's leading decimal digits, 0 when it starts
// with none; too many digits stop at the largest 32-bit value.
int32_t LeadingDigits(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > INT32_MAX) return INT32_MAX;
  }
  return static_cast<int32_t>(value);
}

}  // namespace

TFileVersion::TFileVersion(const std::string& AFileVersion) : FFileVersion(AFileVersion) {
  std::string_view rest = FFileVersion;
  for (int32_t* field : {&FMajor, &FMinor, &FRelease}) {
    const size_t dot = rest.find('.');
    if (dot == std::string_view::npos) return;
    const std::string_view part = rest.substr(0, dot);
    if (!ParseWholeNumber(part, field)) {
      *field = LeadingDigits(part);
      return;
    }
    rest.remove_prefix(dot + 1);
  }
  FBuild = WholeNumberOr(rest, 0);
}

bool operator==(const TFileVersion& AFV1, const TFileVersion& AFV2) {
  return AFV1.FMajor == AFV2.FMajor && AFV1.FMinor == AFV2.FMinor &&
         AFV1.FRelease == AFV2.FRelease && AFV1.FBuild == AFV2.FBuild;
}

bool operator!=(const TFileVersion& AFV1, const TFileVersion& AFV2) { return !(AFV1 == AFV2); }

bool operator>(const TFileVersion& AFV1, const TFileVersion& AFV2) {
  if (AFV1.FMajor != AFV2.FMajor) return AFV1.FMajor > AFV2.FMajor;
  if (AFV1.FMinor != AFV2.FMinor) return AFV1.FMinor > AFV2.FMinor;
  if (AFV1.FRelease != AFV2.FRelease) return AFV1.FRelease > AFV2.FRelease;
  return AFV1.FBuild > AFV2.FBuild;
}

bool operator>=(const TFileVersion& AFV1, const TFileVersion& AFV2) {
  return AFV1 > AFV2 || AFV1 == AFV2;
}

bool operator<(const TFileVersion& AFV1, const TFileVersion& AFV2) { return AFV2 > AFV1; }

bool operator<=(const TFileVersion& AFV1, const TFileVersion& AFV2) { return AFV2 >= AFV1; }

}  // namespace vlau
