#include "platform/posix/shell_link_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string_view>

#include "platform/posix/posix_error.h"

namespace vlau {

namespace {

constexpr uint32_t kHasLinkInfo = 0x00000002;
constexpr uint32_t kHasName = 0x00000004;
constexpr uint32_t kHasWorkingDir = 0x00000010;
constexpr uint32_t kHasArguments = 0x00000020;
constexpr uint32_t kIsUnicode = 0x00000080;

constexpr uint32_t kFileAttributeNormal = 0x00000080;
constexpr uint32_t kShowNormal = 1;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x00000001;

constexpr uint32_t kHeaderSize = 0x4C;
// With the two Unicode offsets the LinkInfo header is 0x24 bytes long.
constexpr uint32_t kLinkInfoHeaderSize = 0x24;
constexpr uint32_t kVolumeIdHeaderSize = 0x10;
constexpr size_t kMaxStringUnits = 0xFFFF;

// {00021401-0000-0000-C000-000000000046} in its stored byte order.
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

void PutU16(std::string* out, uint32_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(std::string* out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

void PutZeros(std::string* out, size_t n) { out->append(n, '\0'); }

// Decodes UTF-8 into UTF-16 code units; malformed input yields U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else {
      size_t need = 0;
      uint32_t min = 0;
      if ((c & 0xE0) == 0xC0) {
        need = 1;
        cp = c & 0x1F;
        min = 0x80;
      } else if ((c & 0xF0) == 0xE0) {
        need = 2;
        cp = c & 0x0F;
        min = 0x800;
      } else if ((c & 0xF8) == 0xF0) {
        need = 3;
        cp = c & 0x07;
        min = 0x10000;
      }
      bool ok = need > 0 && i + need < s.size();
      for (size_t k = 1; ok && k <= need; ++k) {
        const unsigned char cc = static_cast<unsigned char>(s[i + k]);
        ok = (cc & 0xC0) == 0x80;
        cp = (cp << 6) | (cc & 0x3F);
      }
      if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
      if (ok) {
        len = need + 1;
      } else {
        cp = 0xFFFD;
      }
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

void PutUtf16(std::string* out, const std::u16string& s) {
  for (char16_t u : s) PutU16(out, u);
}

// A StringData entry: count of UTF-16 units, then the units, no terminator.
void PutCountedString(std::string* out, const std::string& utf8) {
  std::u16string s = Utf8ToUtf16(utf8);
  if (s.size() > kMaxStringUnits) s.resize(kMaxStringUnits);
  PutU16(out, static_cast<uint32_t>(s.size()));
  PutUtf16(out, s);
}

std::string BuildLinkInfo(const std::string& target) {
  // VolumeID: header with the label right after it; the label is empty.
  std::string volume;
  PutU32(&volume, kVolumeIdHeaderSize + 1);
  PutU32(&volume, kDriveFixed);
  PutU32(&volume, 0);  // serial number
  PutU32(&volume, kVolumeIdHeaderSize);
  volume.push_back('\0');

  const uint32_t volume_offset = kLinkInfoHeaderSize;
  const uint32_t base_path_offset = volume_offset + static_cast<uint32_t>(volume.size());
  const uint32_t suffix_offset = base_path_offset + static_cast<uint32_t>(target.size()) + 1;
  const uint32_t base_path_unicode_offset = suffix_offset + 1;
  const std::u16string target16 = Utf8ToUtf16(target);
  const uint32_t suffix_unicode_offset =
      base_path_unicode_offset + static_cast<uint32_t>((target16.size() + 1) * 2);
  const uint32_t total = suffix_unicode_offset + 2;

  std::string info;
  PutU32(&info, total);
  PutU32(&info, kLinkInfoHeaderSize);
  PutU32(&info, kVolumeIdAndLocalBasePath);
  PutU32(&info, volume_offset);
  PutU32(&info, base_path_offset);
  PutU32(&info, 0);  // no network location
  PutU32(&info, suffix_offset);
  PutU32(&info, base_path_unicode_offset);
  PutU32(&info, suffix_unicode_offset);
  info += volume;
  info += target;
  info.push_back('\0');
  info.push_back('\0');  // empty common path suffix
  PutUtf16(&info, target16);
  PutU16(&info, 0);
  PutU16(&info, 0);  // empty Unicode common path suffix
  return info;
}

}  // namespace

std::string BuildShellLink(const ShellLinkFields& fields) {
  uint32_t flags = kIsUnicode;
  if (!fields.target.empty()) flags |= kHasLinkInfo;
  if (!fields.description.empty()) flags |= kHasName;
  if (!fields.working_directory.empty()) flags |= kHasWorkingDir;
  if (!fields.arguments.empty()) flags |= kHasArguments;

  std::string out;
  PutU32(&out, kHeaderSize);
  out.append(reinterpret_cast<const char*>(kLinkClsid), sizeof(kLinkClsid));
  PutU32(&out, flags);
  PutU32(&out, kFileAttributeNormal);
  PutZeros(&out, 24);  // creation, access and write times
  PutU32(&out, 0);     // file size
  PutU32(&out, 0);     // icon index
  PutU32(&out, kShowNormal);
  PutU16(&out, 0);     // hot key
  PutZeros(&out, 10);  // reserved

  if (flags & kHasLinkInfo) out += BuildLinkInfo(fields.target);
  // String data comes in this fixed order: name, working dir, arguments.
  if (flags & kHasName) PutCountedString(&out, fields.description);
  if (flags & kHasWorkingDir) PutCountedString(&out, fields.working_directory);
  if (flags & kHasArguments) PutCountedString(&out, fields.arguments);
  PutU32(&out, 0);  // terminal block of the extra data
  return out;
}

Status WriteShellLinkFile(const std::string& link_path, const ShellLinkFields& fields) {
  const std::string data = BuildShellLink(fields);
  const int fd = open(link_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return ErrnoStatus("open", link_path, errno);
  size_t written = 0;
  int err = 0;
  while (written < data.size()) {
    const ssize_t n = write(fd, data.data() + written, data.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    written += static_cast<size_t>(n);
  }
  if (close(fd) != 0 && err == 0) err = errno;
  if (err != 0) {
    // A half-written shortcut must not pass for a made one.
    unlink(link_path.c_str());
    return ErrnoStatus("write", link_path, err);
  }
  return Status::OK();
}

}  // namespace vlau
