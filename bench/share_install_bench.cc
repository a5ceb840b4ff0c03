// Measures the share source's file step (UpdateFiles) on this machine:
//  (a) installing an application of many large files from a share, with no
//      local copy of its descriptor, against `cp -r` of the same tree;
//  (b) one run over an unchanged application of many small files (every
//      version equal, so nothing is copied).
// The data lives in a fresh folder under $TMPDIR (else /var/tmp) and is
// deleted at the end. See README.md.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "appdesc/app_settings.h"
#include "foundation/app_updater_log.h"
#include "platform/env.h"
#include "sources/share_file_update.h"

namespace fs = std::filesystem;
using vlau::TAppSettings;

namespace {

struct Options {
  int files = 200;
  uint64_t bytes = uint64_t{1} << 30;
  int small_files = 10000;
  int rounds = 5;
  std::string base;
};

void Usage() {
  std::fprintf(stderr,
               "usage: share_install_bench [--files N] [--mib N] [--small-files N] [--rounds N] "
               "[--dir FOLDER]\n");
}

bool ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (arg == "--files") {
      o->files = std::stoi(value);
    } else if (arg == "--mib") {
      o->bytes = std::stoull(value) << 20;
    } else if (arg == "--small-files") {
      o->small_files = std::stoi(value);
    } else if (arg == "--rounds") {
      o->rounds = std::stoi(value);
    } else if (arg == "--dir") {
      o->base = value;
    } else {
      return false;
    }
  }
  return o->files > 0 && o->small_files > 0 && o->rounds > 0;
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// "median s (min-max)" of the rounds.
std::string Spread(const std::vector<double>& v) {
  char text[96];
  std::snprintf(text, sizeof text, "%8.3f s (%.3f-%.3f)", Median(v),
                *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
  return text;
}

void Check(bool ok, const std::string& what) {
  if (ok) return;
  std::fprintf(stderr, "failed: %s\n", what.c_str());
  std::exit(1);
}

// Writes `size` bytes of incompressible data.
void WriteData(const fs::path& path, uint64_t size, std::mt19937_64& random) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  std::vector<uint64_t> block(1 << 14);
  while (size > 0) {
    for (uint64_t& word : block) word = random();
    const uint64_t n = std::min<uint64_t>(size, block.size() * sizeof(uint64_t));
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
    size -= n;
  }
  Check(static_cast<bool>(out), "write " + path.string());
}

// The FILES key of the i-th file: a few folders, as applications have.
std::string Key(const char* app, int i) {
  char key[96];
  std::snprintf(key, sizeof key, "%s/%s/d%02d/f%05d.bin", app, i % 2 ? "Bin" : "Data", i % 10, i);
  return key;
}

std::string Folder(const std::string& key) { return key.substr(0, key.rfind('/') + 1); }

// A descriptor installing every key below `dest`, each with `version`.
TAppSettings Descriptor(vlau::Env* env, const fs::path& file, const std::vector<std::string>& keys,
                        const fs::path& dest, const std::string& version) {
  std::ofstream out(file, std::ios::binary);
  out << "[FILES]\r\n";
  for (const std::string& key : keys) {
    out << key << "=" << (dest / Folder(key)).string() << ";" << version << "\r\n";
  }
  out.close();
  return TAppSettings::CreateFromIni(env, file.string());
}

void Run(const std::string& command) { Check(std::system(command.c_str()) == 0, command); }

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, &o)) {
    Usage();
    return 2;
  }
  if (o.base.empty()) {
    const char* tmpdir = std::getenv("TMPDIR");
    o.base = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/var/tmp";
  }
  std::string pattern = (fs::path(o.base) / "vlau-bench-XXXXXX").string();
  Check(mkdtemp(pattern.data()) != nullptr, "mkdtemp in " + o.base);
  const fs::path root = pattern;
  // The work folder and every machine folder stay inside the bench folder.
  setenv("TMPDIR", (root / "tmp").c_str(), 1);
  setenv("VLAPPUPD_ROOT", (root / "machine").c_str(), 1);
  fs::create_directories(root / "tmp");
  vlau::Env* env = vlau::Env::Default();
  vlau::TauLog log(env, (root / "bench.log").string());
  vlau::auLog = &log;
  const std::string share = (root / "share").string() + "/";
  std::mt19937_64 random(42);

  // (a) Install from the share.
  std::vector<std::string> keys;
  for (int i = 0; i < o.files; ++i) keys.push_back(Key("App", i));
  for (int i = 0; i < o.files; ++i) {
    const uint64_t size = o.bytes / o.files + (static_cast<uint64_t>(i) < o.bytes % o.files);
    WriteData(root / "share" / keys[i], size, random);
  }
  sync();
  const fs::path installed = root / "installed";
  const TAppSettings install = Descriptor(env, root / "InstallApp.ini", keys, installed, "1.0.0.1");
  const TAppSettings none(env);
  std::vector<double> cp_times, cp_sync_times, update_times;
  for (int round = 0; round < o.rounds; ++round) {
    fs::remove_all(root / "copied");
    fs::create_directories(root / "copied");
    sync();
    cp_times.push_back(Seconds([&] {
      Run("cp -r '" + (root / "share" / "App").string() + "' '" + (root / "copied").string() +
          "/'");
    }));
    cp_sync_times.push_back(cp_times.back() + Seconds([] { sync(); }));
    fs::remove_all(installed);
    sync();
    update_times.push_back(
        Seconds([&] { Check(vlau::UpdateFiles(env, share, install, none), "install"); }));
  }
  Run("diff -r '" + (root / "share" / "App").string() + "' '" + (installed / "App").string() + "'");
  const double cp = Median(cp_times);
  const double cp_sync = Median(cp_sync_times);
  const double update = Median(update_times);
  std::printf("(a) install %d files, %.1f MiB, median of %d rounds\n", o.files,
              static_cast<double>(o.bytes) / (1 << 20), o.rounds);
  std::printf("    UpdateFiles       %s\n", Spread(update_times).c_str());
  std::printf("    cp -r             %s   ratio %.2f (goal: within 1.20)\n",
              Spread(cp_times).c_str(), update / cp);
  std::printf("    cp -r, then sync  %s   ratio %.2f\n", Spread(cp_sync_times).c_str(),
              update / cp_sync);
  fs::remove_all(root / "copied");
  fs::remove_all(installed);
  fs::remove_all(root / "share");

  // (b) An unchanged application: every version equal, nothing copied.
  std::vector<std::string> small_keys;
  for (int i = 0; i < o.small_files; ++i) small_keys.push_back(Key("Small", i));
  const fs::path small_installed = root / "small";
  for (const std::string& key : small_keys) {
    WriteData(root / "share" / key, 1024, random);
    WriteData(small_installed / Folder(key) / fs::path(key).filename(), 1024, random);
  }
  sync();
  TAppSettings shared_small(env);
  TAppSettings local_small(env);
  const double load = Seconds([&] {
    shared_small = Descriptor(env, root / "SmallApp.ini", small_keys, small_installed, "2.1.0.15");
    local_small = Descriptor(env, root / "SmallLocal.ini", small_keys, small_installed, "2.1.0.15");
  });
  std::vector<double> unchanged_times;
  for (int round = 0; round < o.rounds; ++round) {
    unchanged_times.push_back(Seconds(
        [&] { Check(vlau::UpdateFiles(env, share, shared_small, local_small), "unchanged"); }));
  }
  std::printf("(b) unchanged application of %d files, median of %d rounds\n", o.small_files,
              o.rounds);
  std::printf("    UpdateFiles       %s\n", Spread(unchanged_times).c_str());
  std::printf("    (loading both descriptors, not part of the step: %.3f s)\n", load);

  // (c) The same unchanged application through whole update cycles of the
  // program (-once): settings, index file, both descriptors, the script, the
  // file step and the local copy. The first cycle installs; the rest copy
  // nothing.
  const std::string data = (root / "machine" / "var/lib/Velmora/VLAppUpdater").string();
  fs::create_directories(data);
  {
    std::ofstream(root / "share" / "AppUpdater.ini")
        << "[HOSTS]\r\n0.0.0.0-255.255.255.255=Small\r\n";
    fs::copy_file(root / "SmallApp.ini", root / "share" / "SmallApp.ini",
                  fs::copy_options::overwrite_existing);
    std::ofstream settings(fs::path(data) / "VLAppUpdater.ini");
    settings << "[COMMON]\r\nLogLevel=WEU\r\nPort=0\r\n[SOURCE]\r\nSHARE=Bench\r\n"
             << "[SHARE_Bench]\r\nUNC=" << share << "\r\n";
  }
  {
    std::ofstream script(root / "SmallApp.ini", std::ios::app);
    script << "[SCRIPT]\r\nUpdate=1\r\n";
  }
  fs::copy_file(root / "SmallApp.ini", root / "share" / "SmallApp.ini",
                fs::copy_options::overwrite_existing);
  const std::string once = std::string("'") + VLAU_PROGRAM_PATH + "' -once";
  Run(once);  // installs: the local copy did not exist
  Check(fs::exists(fs::path(data) / "SmallApp.ini"), "local copy after the first cycle");
  std::vector<double> cycle_times;
  for (int round = 0; round < o.rounds; ++round) cycle_times.push_back(Seconds([&] { Run(once); }));
  std::printf("(c) whole update cycle (VLAppUpdater -once) over the unchanged application\n");
  std::printf("    cycle             %s\n", Spread(cycle_times).c_str());

  vlau::auLog = nullptr;
  fs::remove_all(root);
  return 0;
}
