#ifndef VLAU_SETTINGS_SOURCE_KIND_H_
#define VLAU_SETTINGS_SOURCE_KIND_H_

#include <cstdint>

namespace vlau {

// The kind of an update source. Only ausShare to ausHttp come from the
// settings file; ausUndefined and ausServerUdpate have no settings class.
enum TauSource : uint8_t {
  ausUndefined = 0,
  ausShare = 1,
  ausOracle = 2,
  ausPG = 3,
  ausFTP = 4,
  ausHttp = 5,
  ausServerUdpate = 6,
};

// The word the log uses for a kind; "(unknown)" for any other value.
const char* SourceKindWord(TauSource kind);

}  // namespace vlau

#endif  // VLAU_SETTINGS_SOURCE_KIND_H_
