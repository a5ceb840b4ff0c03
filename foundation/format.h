#ifndef VLAU_FOUNDATION_FORMAT_H_
#define VLAU_FOUNDATION_FORMAT_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vlau {

// One value for Format: a text or a whole number.
class FormatArg {
 public:
  FormatArg(const char* s) : value_(std::string(s)) {}         // NOLINT: implicit on purpose
  FormatArg(std::string s) : value_(std::move(s)) {}           // NOLINT
  FormatArg(std::string_view s) : value_(std::string(s)) {}    // NOLINT
  FormatArg(int v) : value_(static_cast<int64_t>(v)) {}        // NOLINT
  FormatArg(long v) : value_(static_cast<int64_t>(v)) {}       // NOLINT
  FormatArg(long long v) : value_(static_cast<int64_t>(v)) {}  // NOLINT
  FormatArg(unsigned v) : value_(static_cast<int64_t>(v)) {}   // NOLINT

  bool is_text() const { return std::holds_alternative<std::string>(value_); }
  const std::string& text() const { return std::get<std::string>(value_); }
  int64_t number() const { return std::get<int64_t>(value_); }

 private:
  std::variant<std::string, int64_t> value_;
};

using FormatArgs = std::vector<FormatArg>;

// Raised by Format when the format text does not fit its arguments.
class EFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The system's format routine: "%s" takes a text, "%d" a whole number, "%%"
// gives a percent sign. Arguments beyond the placeholders are ignored. A
// placeholder without an argument, of the wrong kind, or an unknown one
// raises EFormatError.
std::string Format(std::string_view format, const FormatArgs& args);

}  // namespace vlau

#endif  // VLAU_FOUNDATION_FORMAT_H_
