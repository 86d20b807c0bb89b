#include "libs/las/header_line.h"

#include "libs/las/las_lines.h"

namespace las {

namespace {

// The colon that ends the value: the last one with a blank before it, else
// the last one; npos when there is none.
size_t DelimiterColon(std::string_view text) {
  size_t last = text.rfind(':');
  for (size_t at = last; at != std::string_view::npos && at > 0; at = text.rfind(':', at - 1)) {
    if (IsLasBlank(text[at - 1])) return at;
  }
  return last;
}

size_t FirstBlank(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && !IsLasBlank(text[at])) ++at;
  return at;
}

// MNEM.UNIT VALUE, when the text before the dot is one word.
bool SplitAtDot(std::string_view left, LasHeaderLine* line) {
  size_t dot = left.find('.');
  if (dot == std::string_view::npos) return false;
  std::string_view mnemonic = TrimLas(left.substr(0, dot));
  if (FirstBlank(mnemonic) != mnemonic.size()) return false;
  std::string_view rest = left.substr(dot + 1);
  size_t blank = FirstBlank(rest);
  line->mnemonic = mnemonic;
  line->unit = rest.substr(0, blank);
  line->value = TrimLas(rest.substr(blank));
  return true;
}

// MNEM VALUE: a line without a unit dot.
void SplitAtBlank(std::string_view left, LasHeaderLine* line) {
  left = TrimLas(left);
  size_t blank = FirstBlank(left);
  line->mnemonic = left.substr(0, blank);
  line->value = TrimLas(left.substr(blank));
}

}  // namespace

LasHeaderLine SplitHeaderLine(std::string_view text, int32_t number) {
  LasHeaderLine line;
  line.line = number;
  size_t colon = DelimiterColon(text);
  std::string_view left = text.substr(0, colon);
  if (colon != std::string_view::npos) line.description = TrimLas(text.substr(colon + 1));
  if (!SplitAtDot(left, &line)) SplitAtBlank(left, &line);
  return line;
}

}  // namespace las
