#ifndef VLAU_PLATFORM_POSIX_SHELL_LINK_FILE_H_
#define VLAU_PLATFORM_POSIX_SHELL_LINK_FILE_H_

#include <string>

#include "platform/status.h"

namespace vlau {

// What a shortcut file records. All texts are UTF-8; an empty text is left
// out of the file.
struct ShellLinkFields {
  std::string target;  // the file the shortcut starts
  std::string working_directory;
  std::string description;
  std::string arguments;
};

// The bytes of a Windows shortcut (.lnk) file in the openly documented Shell
// Link binary format: a header, a LinkInfo structure with a fixed-drive
// volume and the target as local base path (ANSI field holding the UTF-8
// bytes, plus the Unicode field so that non-ASCII targets survive), and
// UTF-16LE string data for the description, working directory and
// arguments. Times, size, icon and hot key are zero; the show command is
// "normal". Texts longer than 65535 UTF-16 units are cut to that length;
// invalid UTF-8 bytes become U+FFFD. Pure function, safe on any thread.
std::string BuildShellLink(const ShellLinkFields& fields);

// Writes BuildShellLink(fields) to exactly `link_path`, replacing an existing
// file. The folder of `link_path` is not created. On failure returns
// "<action> <link_path>: <system message>" with errno, and no partly
// written file is left behind.
Status WriteShellLinkFile(const std::string& link_path, const ShellLinkFields& fields);

}  // namespace vlau

#endif  // VLAU_PLATFORM_POSIX_SHELL_LINK_FILE_H_
