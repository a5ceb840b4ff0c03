#include "settings/setting_common.h"

#include "settings/client_identifier.h"

namespace vlau {

std::string TauSettingCommon::sGUID() const { return GuidToString(FGUID); }

}  // namespace vlau
