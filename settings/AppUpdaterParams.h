#ifndef VLAU_SETTINGS_APP_UPDATER_PARAMS_H_
#define VLAU_SETTINGS_APP_UPDATER_PARAMS_H_

// The updater's settings: the common settings, the identifier and the
// settings object.
#include "settings/client_identifier.h"
#include "settings/setting_common.h"
#include "settings/settings.h"

#endif  // VLAU_SETTINGS_APP_UPDATER_PARAMS_H_
