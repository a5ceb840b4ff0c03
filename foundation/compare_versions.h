#ifndef VLAU_FOUNDATION_COMPARE_VERSIONS_H_
#define VLAU_FOUNDATION_COMPARE_VERSIONS_H_

#include <string>

namespace vlau {

// Compares two version texts by their TFileVersion numbers, never as text
// ("1.10.0.0" is greater than "1.9.0.0"). Returns 1 when the first is the
// greater, 0 when both are equal, -1 when the first is the smaller.
int CompareVersions(const std::string& AVersion1, const std::string& AVersion2);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_COMPARE_VERSIONS_H_
