#ifndef VLAU_SOURCES_WORKER_TABLE_H_
#define VLAU_SOURCES_WORKER_TABLE_H_

#include <functional>
#include <map>
#include <memory>

#include "platform/env.h"
#include "settings/settings.h"
#include "settings/source_kind.h"
#include "sources/update_process.h"

namespace vlau {

// Creates and starts the worker of one source kind.
using WorkerFactory =
    std::function<std::unique_ptr<TauUpdateProcess>(TauSettings* settings, Env* env)>;

// Which worker class serves which source kind. Kinds without an entry have no
// worker (FTP and Http sources, for instance).
class WorkerTable {
 public:
  // The program's own table: every source kind that has a worker.
  static const WorkerTable& Default();

  void Set(TauSource kind, WorkerFactory factory) { factories_[kind] = std::move(factory); }
  // Null when the kind has no worker.
  const WorkerFactory* For(TauSource kind) const;

 private:
  std::map<TauSource, WorkerFactory> factories_;
};

}  // namespace vlau

#endif  // VLAU_SOURCES_WORKER_TABLE_H_
