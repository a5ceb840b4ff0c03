#ifndef VLAU_FOUNDATION_APP_UPDATER_ERROR_H_
#define VLAU_FOUNDATION_APP_UPDATER_ERROR_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "foundation/format.h"

namespace vlau {

// The updater's own error: a message and a code from the table of
// GetErrorMessage (0 when the message was given directly).
class EAppUpdater : public std::runtime_error {
 public:
  EAppUpdater(const std::string& AMessage, int32_t AErrorCode);
  // The table text of the code, placeholders left unfilled.
  explicit EAppUpdater(int32_t AErrorCode);
  // Raise EFormatError when the format needs more arguments than given.
  static EAppUpdater CreateFmt(std::string_view AMessage, const FormatArgs& Args,
                               int32_t AErrorCode);
  static EAppUpdater CreateFmt(int32_t AErrorCode, const FormatArgs& Args);

  // The table text for a code; "Undefined error code!" outside 1 to 8.
  static std::string GetErrorMessage(int32_t AErrorCode);

  int32_t ErrorCode;
};

// Build an EAppUpdater, write its message to the log at aullError (filtered
// like TauLog::Add for errors) and drop it. They never raise an EAppUpdater;
// only a format that needs more arguments than given raises EFormatError.
void LogError(std::string_view AMessage, int32_t AErrorCode);
void LogErrorFmt(std::string_view AMessage, const FormatArgs& Args, int32_t AErrorCode);
void LogErrorCode(int32_t AErrorCode, const FormatArgs& Args);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_APP_UPDATER_ERROR_H_
