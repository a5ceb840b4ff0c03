#include "settings/source_kind.h"

namespace vlau {

const char* SourceKindWord(TauSource kind) {
  switch (kind) {
    case ausUndefined:
      return "Undefined";
    case ausShare:
      return "Share";
    case ausOracle:
      return "Oracle";
    case ausPG:
      return "PG";
    case ausFTP:
      return "FTP";
    case ausHttp:
      return "Http";
    case ausServerUdpate:
      return "ServerUdpate";
  }
  return "(unknown)";
}

}  // namespace vlau
