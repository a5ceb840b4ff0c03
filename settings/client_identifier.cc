#include "settings/client_identifier.h"

#include <chrono>
#include <cstdio>
#include <random>

#include "foundation/app_updater_log.h"
#include "foundation/data_folder.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"

namespace vlau {

namespace {

constexpr char kSection[] = "COMMON";
constexpr char kKey[] = "Identifier";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void WriteLine(std::string_view text, TauLogLevel level) {
  if (auLog) auLog->WriteImmediatly(text, level);
}

}  // namespace

std::string GuidToString(const Guid& g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.d1), static_cast<unsigned>(g.d2),
                static_cast<unsigned>(g.d3), g.d4[0], g.d4[1], g.d4[2], g.d4[3], g.d4[4], g.d4[5],
                g.d4[6], g.d4[7]);
  return buf;
}

bool StringToGuid(std::string_view text, Guid* guid) {
  if (text.size() != 38 || text[0] != '{') return false;
  // Places counted from 1: hyphens at 10, 15, 20 and 25; the last place is
  // not looked at.
  uint8_t nibbles[32];
  int n = 0;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    const size_t place = i + 1;
    if (place == 10 || place == 15 || place == 20 || place == 25) {
      if (text[i] != '-') return false;
      continue;
    }
    const int v = HexValue(text[i]);
    if (v < 0) return false;
    nibbles[n++] = static_cast<uint8_t>(v);
  }
  auto take = [&](int from, int count) {
    uint32_t v = 0;
    for (int i = 0; i < count; ++i) v = (v << 4) | nibbles[from + i];
    return v;
  };
  Guid g;
  g.d1 = take(0, 8);
  g.d2 = static_cast<uint16_t>(take(8, 4));
  g.d3 = static_cast<uint16_t>(take(12, 4));
  for (int i = 0; i < 8; ++i) g.d4[i] = static_cast<uint8_t>(take(16 + 2 * i, 2));
  *guid = g;
  return true;
}

Guid RandomFallbackGuid() {
  std::mt19937 gen(
      static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  auto draw = [&gen](uint32_t below) {
    return std::uniform_int_distribution<uint32_t>(0, below - 1)(gen);
  };
  Guid g;
  g.d1 = draw(2147483647u);
  g.d2 = static_cast<uint16_t>(draw(65000));
  g.d3 = static_cast<uint16_t>(draw(65000));
  for (uint8_t& b : g.d4) b = static_cast<uint8_t>(draw(255));
  return g;
}

Guid ObtainClientIdentifier(Env* env) {
  const std::string ident_file = GetDataFolder(env) + "Ident.ini";
  const std::string stored = IniFile::Load(env, ident_file).ReadString(kSection, kKey, "");
  Guid guid;
  if (!stored.empty()) {
    if (StringToGuid(stored, &guid)) return guid;
    WriteLine(Format("Identifier \"%s\" in \"%s\" is not a GUID - create a new one",
                     {stored, ident_file}),
              aullError);
  } else {
    WriteLine("Unique identifier not assigned - create it", aullDetail);
  }
  const Status generated = env->NewGuid(&guid);
  if (!generated.ok()) {
    WriteLine(Format("Can not create GUID: LastErrorCode = %d. GUID will be created using random "
                     "numeric values",
                     {generated.system_code()}),
              aullError);
    guid = RandomFallbackGuid();
  }
  const Status written = IniFile::WriteString(env, ident_file, kSection, kKey, GuidToString(guid));
  if (!written.ok()) {
    WriteLine(
        Format("Can not write identifier to \"%s\": %s. The identifier %s is used for this run",
               {ident_file, written.message(), GuidToString(guid)}),
        aullError);
  }
  return guid;
}

}  // namespace vlau
