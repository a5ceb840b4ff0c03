#ifndef VLAU_FOUNDATION_FILE_VERSION_H_
#define VLAU_FOUNDATION_FILE_VERSION_H_

#include <cstdint>
#include <string>

namespace vlau {

// A four-part version number Major.Minor.Release.Build, a plain value copied
// freely. The fields keep their historical declaration order. FFileVersion
// is the text the value was read from and takes part in no comparison; the
// comparisons are signed and go Major, Minor, Release, Build.
struct TFileVersion {
  std::string FFileVersion;
  int32_t FMinor = 0;
  int32_t FRelease = 0;
  int32_t FMajor = 0;
  int32_t FBuild = 0;

  TFileVersion() = default;
  // Reads the text; never fails. Each of the first three parts counts only
  // when a "." follows it: "1.2.3" gives 1.2.0.0 and "7" gives 0.0.0.0.
  // A part is a whole number as ParseWholeNumber reads it; for the first
  // three parts a text that is not one stops the reading, the part taking
  // its leading decimal digits (0 without any; at most 2147483647) and the
  // later parts 0. The build part is 0 when it is not a whole number.
  explicit TFileVersion(const std::string& AFileVersion);
  static TFileVersion Create(const std::string& AFileVersion) { return TFileVersion(AFileVersion); }
};

bool operator==(const TFileVersion& AFV1, const TFileVersion& AFV2);
bool operator!=(const TFileVersion& AFV1, const TFileVersion& AFV2);
bool operator>(const TFileVersion& AFV1, const TFileVersion& AFV2);
bool operator>=(const TFileVersion& AFV1, const TFileVersion& AFV2);
bool operator<(const TFileVersion& AFV1, const TFileVersion& AFV2);
bool operator<=(const TFileVersion& AFV1, const TFileVersion& AFV2);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_FILE_VERSION_H_
