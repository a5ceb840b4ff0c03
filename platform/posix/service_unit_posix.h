#ifndef VLAU_PLATFORM_POSIX_SERVICE_UNIT_POSIX_H_
#define VLAU_PLATFORM_POSIX_SERVICE_UNIT_POSIX_H_

#include <string>
#include <string_view>

#include "platform/env.h"

namespace vlau {

// The text of the systemd unit of a service. Pure functions on unit texts,
// safe on any thread.
//
// A line is its bytes up to and including "\n" (the last line may lack
// it); a "\r" before the "\n" counts as part of the line end. A section
// starts at a line whose first non-blank character is "[". Every function
// that changes a unit keeps every line it does not touch byte for byte.

// The unit written on registration: LF line ends and no Description= line
// (the installer sets the description separately). ExecStart= names the
// program with "%" doubled, in double quotes when the path has blanks.
std::string ServiceUnitText(const ServiceDefinition& service);

// The value of the first "Description=" line of the [Unit] section, exactly
// as written; false when there is none.
bool FindUnitDescription(std::string_view unit, std::string* text);

// `unit` with "Description=<text>" in its [Unit] section: replaces the
// first such line, else inserts the line right after the "[Unit]" header,
// else puts a "[Unit]" header with the line at the top.
std::string SetUnitDescription(std::string_view unit, std::string_view text);

// `unit` without the first Description= line of its [Unit] section;
// unchanged when there is none.
std::string RemoveUnitDescription(std::string_view unit);

}  // namespace vlau

#endif  // VLAU_PLATFORM_POSIX_SERVICE_UNIT_POSIX_H_
