#ifndef VLAU_FOUNDATION_APP_UPDATER_LOG_H_
#define VLAU_FOUNDATION_APP_UPDATER_LOG_H_

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "foundation/format.h"
#include "foundation/log_level.h"
#include "platform/env.h"

namespace vlau {

// The plain-text log of the updater. Every message line becomes one file
// line: time stamp, indentation, "->" on continuation lines, the text; CR LF
// line ends; UTF-8 with a byte order mark written when the log creates the
// file.
//
// Filtering: Add, AddFmt, BeginBlock and EndBlock read Common.Log and
// Common.LogLevel of the global settings object (auSettings) at every call;
// while it does not exist the construction values apply (logging on,
// levels W, E and U). WriteImmediatly never filters.
//
// Threads: any thread may write. Each message is appended under a lock by one
// open-append-close of the file, so the lines of two messages never
// interleave and every line is on disk when the call returns. The
// indentation is shared by all threads; only one thread opens blocks at a
// time in this system.
//
// Failure: a file that cannot be opened or created drops the message
// silently. AddFmt raises EFormatError when the format does not fit.
class TauLog {
 public:
  // Does not open the file. `env` is not owned and must outlive the log.
  TauLog(Env* env, std::string AFileName);
  TauLog(const TauLog&) = delete;
  TauLog& operator=(const TauLog&) = delete;

  const std::string& FileName() const { return FFileName; }

  void WriteImmediatly(std::string_view ALogMsg, TauLogLevel LogLevelMsg);
  void Add(std::string_view ALogMsg, TauLogLevel LogLevelMsg);
  // Writes the error's message at aullError.
  void Add(const std::exception& E);
  void AddFmt(std::string_view ALogMsg, const FormatArgs& Args, TauLogLevel LogLevelMsg);
  void BeginBlock(std::string_view AMsg);
  void EndBlock(std::string_view AMsg);

 private:
  void WriteToLog(std::string_view text);

  Env* env_;
  std::mutex FCrit;
  const std::string FFileName;
  std::atomic<int> FIdent{0};
};

// The process-wide log; null before start-up and after exit.
extern TauLog* auLog;

}  // namespace vlau

#endif  // VLAU_FOUNDATION_APP_UPDATER_LOG_H_
