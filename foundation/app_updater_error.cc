#include "foundation/app_updater_error.h"

#include "foundation/app_updater_log.h"

namespace vlau {

EAppUpdater::EAppUpdater(const std::string& AMessage, int32_t AErrorCode)
    : std::runtime_error(AMessage), ErrorCode(AErrorCode) {}

EAppUpdater::EAppUpdater(int32_t AErrorCode)
    : EAppUpdater(GetErrorMessage(AErrorCode), AErrorCode) {}

EAppUpdater EAppUpdater::CreateFmt(std::string_view AMessage, const FormatArgs& Args,
                                   int32_t AErrorCode) {
  return EAppUpdater(Format(AMessage, Args), AErrorCode);
}

EAppUpdater EAppUpdater::CreateFmt(int32_t AErrorCode, const FormatArgs& Args) {
  return CreateFmt(GetErrorMessage(AErrorCode), Args, AErrorCode);
}

std::string EAppUpdater::GetErrorMessage(int32_t AErrorCode) {
  switch (AErrorCode) {
    case 1:
      return "File not found!";
    case 2:
      return "Invalid class!";
    case 3:
      return "Source not supported!";
    case 4:
      return "Error while load settings from \"%s\"! Original error: %s";
    case 5:
      return "Directory \"%s\" does not exists.";
    case 6:
      return "Not handled an error during the upgrade process. Original error message: %s";
    case 7:
      return "Host not defined: %s";
    case 8:
      return "Port not defined: %s";
    default:
      return "Undefined error code!";
  }
}

namespace {

void WriteError(const EAppUpdater& e) {
  if (auLog) auLog->Add(e);
}

}  // namespace

void LogError(std::string_view AMessage, int32_t AErrorCode) {
  WriteError(EAppUpdater(std::string(AMessage), AErrorCode));
}

void LogErrorFmt(std::string_view AMessage, const FormatArgs& Args, int32_t AErrorCode) {
  WriteError(EAppUpdater::CreateFmt(AMessage, Args, AErrorCode));
}

void LogErrorCode(int32_t AErrorCode, const FormatArgs& Args) {
  WriteError(EAppUpdater::CreateFmt(AErrorCode, Args));
}

}  // namespace vlau
