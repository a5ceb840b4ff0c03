#include "foundation/format.h"

namespace vlau {

namespace {

[[noreturn]] void Invalid(std::string_view format) {
  throw EFormatError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

}  // namespace

std::string Format(std::string_view format, const FormatArgs& args) {
  std::string out;
  out.reserve(format.size() + 32);
  size_t next_arg = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i == format.size()) Invalid(format);
    const char kind = format[i];
    if (kind == '%') {
      out += '%';
      continue;
    }
    if ((kind != 's' && kind != 'd') || next_arg >= args.size()) Invalid(format);
    const FormatArg& arg = args[next_arg++];
    if (kind == 's') {
      if (!arg.is_text()) Invalid(format);
      out += arg.text();
    } else {
      if (arg.is_text()) Invalid(format);
      out += std::to_string(arg.number());
    }
  }
  return out;
}

}  // namespace vlau
