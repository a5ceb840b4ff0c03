#include "sources/worker_table.h"

namespace vlau {

const WorkerTable& WorkerTable::Default() {
  static const WorkerTable table = [] {
    WorkerTable t;
    // The share, Oracle and PostgreSQL workers register here.
    return t;
  }();
  return table;
}

const WorkerFactory* WorkerTable::For(TauSource kind) const {
  auto it = factories_.find(kind);
  return it == factories_.end() ? nullptr : &it->second;
}

}  // namespace vlau
