#ifndef VLAU_APPDESC_APPSETTINGS_H_
#define VLAU_APPDESC_APPSETTINGS_H_

// Application descriptors: variables, predefined folder variables and the
// descriptor file.
#include "appdesc/app_settings.h"
#include "appdesc/app_settings_vars.h"
#include "appdesc/predefined_vars.h"

#endif  // VLAU_APPDESC_APPSETTINGS_H_
