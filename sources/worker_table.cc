#include "sources/worker_table.h"

#include "sources/update_process_share.h"

namespace vlau {

const WorkerTable& WorkerTable::Default() {
  static const WorkerTable table = [] {
    WorkerTable t;
    t.Set(ausShare, [](TauSettings* settings, Env* env) -> std::unique_ptr<TauUpdateProcess> {
      return StartWorker<TauUpdateProcessShare>(settings, env);
    });
    return t;
  }();
  return table;
}

const WorkerFactory* WorkerTable::For(TauSource kind) const {
  auto it = factories_.find(kind);
  return it == factories_.end() ? nullptr : &it->second;
}

}  // namespace vlau
