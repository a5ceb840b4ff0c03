#include "tests/support/crashing_env.h"

#include <cerrno>

namespace vlau {

CrashingEnv::CrashingEnv(Env* target, std::function<bool(const Call&)> crash_here, Moment moment,
                         std::string devices_root)
    : EnvWrapper(target),
      crash_here_(std::move(crash_here)),
      moment_(moment),
      devices_root_(std::move(devices_root)) {}

Status CrashingEnv::Step(const std::string& op, const std::string& path, std::string_view data,
                         const std::function<Status()>& run, const std::function<void()>& half) {
  const Call call{++calls_, op, path, std::string(data)};
  if (!crash_here_ || !crash_here_(call)) return run();
  if (moment_ == Moment::kAfter) (void)run();
  if (moment_ == Moment::kHalfway && half) half();
  Crash();
}

void CrashingEnv::Crash() {
  for (const auto& [path, durable] : unsynced_) {
    std::string data;
    if (!target()->ReadFileToString(path, &data).ok() || data.size() <= durable) continue;
    data.resize(durable + (data.size() - durable) / 2);
    (void)target()->WriteStringToFile(path, data);
  }
  unsynced_.clear();
  throw SimulatedCrash{};
}

void CrashingEnv::MarkWritten(const std::string& path, size_t durable_size) {
  unsynced_.emplace(path, durable_size);  // keeps an earlier, smaller size
}

std::string CrashingEnv::Device(const std::string& path) const {
  if (devices_root_.empty() || path.compare(0, devices_root_.size(), devices_root_) != 0) {
    return std::string();
  }
  return path.substr(devices_root_.size(),
                     path.find(PathSeparator(), devices_root_.size()) - devices_root_.size());
}

Status CrashingEnv::CreateDirs(const std::string& p) {
  return Step("CreateDirs", p, "", [&] { return target()->CreateDirs(p); });
}

Status CrashingEnv::WriteStringToFile(const std::string& p, std::string_view d) {
  auto write = [&](std::string_view data) {
    unsynced_.erase(p);
    MarkWritten(p, 0);
    return target()->WriteStringToFile(p, data);
  };
  return Step(
      "WriteStringToFile", p, d, [&] { return write(d); },
      [&] { (void)write(d.substr(0, d.size() / 2)); });
}

Status CrashingEnv::AppendToFile(const std::string& p, std::string_view d,
                                 std::string_view prefix) {
  auto append = [&](std::string_view data) {
    std::string old;
    (void)target()->ReadFileToString(p, &old);
    MarkWritten(p, old.size());
    return target()->AppendToFile(p, data, prefix);
  };
  return Step(
      "AppendToFile", p, d, [&] { return append(d); },
      [&] { (void)append(d.substr(0, d.size() / 2)); });
}

Status CrashingEnv::RenameFile(const std::string& f, const std::string& t) {
  return Step("RenameFile", t, "", [&] {
    if (Device(f) != Device(t)) {
      return Status::Error("rename " + f + " to " + t + ": Invalid cross-device link", EXDEV);
    }
    Status s = target()->RenameFile(f, t);
    if (s.ok()) {
      auto it = unsynced_.find(f);
      unsynced_.erase(t);
      if (it != unsynced_.end()) {
        unsynced_[t] = it->second;
        unsynced_.erase(it);
      }
    }
    return s;
  });
}

Status CrashingEnv::CopyFileContents(const std::string& f, const std::string& t) {
  return Step(
      "CopyFileContents", t, "",
      [&] {
        unsynced_.erase(t);
        MarkWritten(t, 0);
        return target()->CopyFileContents(f, t);
      },
      [&] {
        std::string data;
        (void)target()->ReadFileToString(f, &data);
        unsynced_.erase(t);
        MarkWritten(t, 0);
        (void)target()->WriteStringToFile(t, data.substr(0, data.size() / 2));
      });
}

Status CrashingEnv::RemoveFile(const std::string& p) {
  return Step("RemoveFile", p, "", [&] {
    unsynced_.erase(p);
    return target()->RemoveFile(p);
  });
}

Status CrashingEnv::RemoveDirectoryTree(const std::string& p) {
  return Step("RemoveDirectoryTree", p, "", [&] {
    for (auto it = unsynced_.begin(); it != unsynced_.end();) {
      it = it->first.compare(0, p.size(), p) == 0 ? unsynced_.erase(it) : std::next(it);
    }
    return target()->RemoveDirectoryTree(p);
  });
}

// Durability is modelled, not exercised: a sync only checks what it names.
Status CrashingEnv::SyncFile(const std::string& p) {
  return Step("SyncFile", p, "", [&] {
    if (!target()->FileExists(p)) return Status::Error("open " + p + ": No such file", ENOENT);
    unsynced_.erase(p);
    return Status::OK();
  });
}

Status CrashingEnv::SyncDirectory(const std::string& p) {
  return Step("SyncDirectory", p, "", [&] {
    if (!target()->DirectoryExists(p)) return Status::Error("open " + p + ": No such file", ENOENT);
    return Status::OK();
  });
}

Status CrashingEnv::CreateShortcut(const std::string& target_path, const std::string& link,
                                   const std::string& dir, const std::string& desc,
                                   const std::string& args) {
  return Step("CreateShortcut", link, "", [&] {
    // Written whole by the shortcut writer; not modelled as unsynced.
    return target()->CreateShortcut(target_path, link, dir, desc, args);
  });
}

}  // namespace vlau
