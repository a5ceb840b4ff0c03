#ifndef VLAU_SERVICE_VLAPPUPDATERSRV_H_
#define VLAU_SERVICE_VLAPPUPDATERSRV_H_

// The service host: the service module, its framework and the program.
#include "service/command_line.h"
#include "service/program.h"
#include "service/service_framework.h"
#include "service/vlappupd_service.h"

#endif  // VLAU_SERVICE_VLAPPUPDATERSRV_H_
