#include "foundation/comma_text.h"

namespace vlau {

namespace {

bool IsBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

// A quoted name from text[i] (the opening quote); i ends after the closing
// quote, or at the end when there is none.
std::string QuotedItem(std::string_view text, size_t& i) {
  std::string name;
  ++i;
  while (i < text.size()) {
    if (text[i] == '"') {
      if (i + 1 < text.size() && text[i + 1] == '"') {
        name += '"';
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    name += text[i++];
  }
  return name;
}

}  // namespace

std::vector<std::string> SplitCommaText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> names;
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skip_blanks();
  while (i < text.size()) {
    if (text[i] == '"') {
      names.push_back(QuotedItem(text, i));
    } else {
      const size_t start = i;
      while (i < text.size() && !IsBlank(text[i]) && text[i] != ',') ++i;
      names.emplace_back(text.substr(start, i - start));
    }
    skip_blanks();
    if (i < text.size() && text[i] == ',') {
      if (i + 1 == text.size()) names.emplace_back();
      ++i;
      skip_blanks();
    }
  }
  return names;
}

}  // namespace vlau
