#ifndef VLAU_SOURCES_WORK_JOURNAL_H_
#define VLAU_SOURCES_WORK_JOURNAL_H_

#include <string>
#include <vector>

#include "platform/env.h"

namespace vlau {

// The journal of one run of the share source's file step, kept in its work
// folder W (the temporary folder followed by "VLAppUpdater" and a
// separator), so that a run cut short by a crash (the process killed, the
// machine losing power) is rolled back by the next one.
//
// Location: W followed by "Journal.txt"; one journal per run, started
// afresh once W has been emptied.
//
// Format: UTF-8 text, one record per line, each line ending in LF, fields
// separated by TAB. Inside a field "%", TAB, CR and LF are written as "%25",
// "%09", "%0D" and "%0A"; paths are written whole, as the run used them.
//   VLAppUpdater journal 1    the first line
//   move<TAB>B<TAB>P          the file P is about to be moved aside to the
//                             backup B
//   temp<TAB>X                the pending copy X is about to be created
//   complete                  the run finished cleanly or its restore
//                             succeeded: nothing is left to roll back
// Every record is written through to the storage device before the action
// it announces starts; records may be written well ahead, and an action
// announced need never happen (a backup or pending copy that is not there
// is skipped). A last line without its LF was torn by a crash before its
// action, and is ignored.
//
// A journal without "complete" belongs to a run that did not finish. Rolling
// it back (RollBackWorkFolder) removes its pending copies and moves each
// backup that still exists back to its original path, in record order (only
// the first backup of a path that was backed up twice).
// Whoever empties or removes W (the database sources use it as their
// temporary root too) must roll back an incomplete journal first, and must
// keep W while it still holds a backup that could not be put anywhere.
//
// An object writes one journal file; it is not thread-safe. `env` is not
// owned. Failures are the Env's, with the system's message.
class TauWorkJournal {
 public:
  struct Move {
    std::string backup;
    std::string original;
  };
  struct Contents {
    std::vector<Move> moves;
    std::vector<std::string> temporaries;
    bool complete = false;
  };

  // The journal's path in the work folder `AWorkDir` (ending with a
  // separator).
  static std::string FileName(const std::string& AWorkDir);
  // Reads a journal. Fails when it cannot be read or its first line is
  // whole but not the journal's; a file without a whole first line reads as
  // an empty, incomplete journal. Unknown records are skipped.
  static Status Read(Env* env, const std::string& APath, Contents* AContents);

  TauWorkJournal(Env* env, std::string APath);
  const std::string& Path() const { return FPath; }

  // Writes an empty journal, replacing the file, and makes the file and its
  // entry in its folder durable.
  Status Start();
  // Appends the move records, then the temp records, with one write; they
  // are durable when this returns OK.
  Status Announce(const std::vector<Move>& AMoves, const std::vector<std::string>& ATemporaries);
  // Appends "complete", durably.
  Status MarkComplete();

 private:
  Status AppendDurably(const std::string& ALines);

  Env* env_;
  std::string FPath;
};

}  // namespace vlau

#endif  // VLAU_SOURCES_WORK_JOURNAL_H_
