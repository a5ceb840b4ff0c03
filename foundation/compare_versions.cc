#include "foundation/compare_versions.h"

#include "foundation/file_version.h"

namespace vlau {

int CompareVersions(const std::string& AVersion1, const std::string& AVersion2) {
  const TFileVersion v1(AVersion1);
  const TFileVersion v2(AVersion2);
  if (v1 == v2) return 0;
  return v1 > v2 ? 1 : -1;
}

}  // namespace vlau
