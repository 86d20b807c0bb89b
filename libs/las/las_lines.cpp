#include "libs/las/las_lines.h"

#include <algorithm>

namespace las {

bool LasLines::Next(std::string_view* line) {
  if (next_ >= text_.size()) return false;
  start_ = next_;
  size_t end = start_;
  while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
  *line = text_.substr(start_, end - start_);
  next_ = end + 1;
  if (end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n') ++next_;
  ++number_;
  return true;
}

std::string_view TrimLasStart(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsLasBlank(text[start])) ++start;
  return text.substr(start);
}

std::string_view TrimLas(std::string_view text) {
  text = TrimLasStart(text);
  size_t end = text.size();
  while (end > 0 && IsLasBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string_view FirstLasWord(std::string_view text) {
  text = TrimLasStart(text);
  size_t end = 0;
  while (end < text.size() && !IsLasBlank(text[end])) ++end;
  return text.substr(0, end);
}

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool SameLasText(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Upper(x) == Upper(y); });
}

std::string UpperLas(std::string text) {
  for (char& c : text) c = Upper(c);
  return text;
}

}  // namespace las
