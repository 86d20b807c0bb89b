#include "libs/profile/profile_lines.h"

#include <algorithm>

namespace profile {

namespace {

constexpr std::string_view kBlanks = " \t\v";

std::string_view Trim(std::string_view text, std::string_view blanks) {
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Only ASCII letters fold: the files are ANSI or UTF-8 bytes and we do not
// know the code page a Windows program would have used.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

size_t SectionEnd(const ProfileLines& lines, size_t first) {
  while (first < lines.size() && Interpret(lines[first].text).kind != LineKind::kSection) ++first;
  return first;
}

}  // namespace

ProfileLines SplitLines(std::string_view content) {
  ProfileLines lines;
  while (!content.empty()) {
    size_t stop = content.find_first_of("\r\n");
    if (stop == std::string_view::npos) {
      lines.push_back({std::string(content), ""});
      break;
    }
    size_t endLength = content.substr(stop, 2) == "\r\n" ? 2 : 1;
    lines.push_back(
        {std::string(content.substr(0, stop)), std::string(content.substr(stop, endLength))});
    content.remove_prefix(stop + endLength);
  }
  return lines;
}

std::string JoinLines(const ProfileLines& lines) {
  std::string content;
  for (const ProfileLine& line : lines) content += line.text + line.end;
  return content;
}

// A header's name runs to the first ']' or, without one, to the end of the
// line; whatever follows the ']' is ignored. There are no inline comments:
// a ';' after the start of a line belongs to the key or the value.
LineMeaning Interpret(std::string_view text) {
  std::string_view line = TrimBlanks(text);
  if (line.empty()) return {};
  if (line.front() == '[') {
    std::string_view name = line.substr(1);
    return {LineKind::kSection, TrimBlanks(name.substr(0, name.find(']'))), {}};
  }
  if (line.front() == ';') return {LineKind::kComment, {}, {}};
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {LineKind::kOther, line, {}};
  return {LineKind::kKey, TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))};
}

std::string_view TrimBlanks(std::string_view text) { return Trim(text, kBlanks); }

std::string_view TrimCallerName(std::string_view text) { return Trim(text, " "); }

std::string_view StripQuotes(std::string_view value) {
  bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front();
  return quoted ? value.substr(1, value.size() - 2) : value;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Lower(x) == Lower(y); });
}

std::optional<SectionSpan> FindSection(const ProfileLines& lines, std::string_view name) {
  for (size_t i = 0; i < lines.size(); ++i) {
    LineMeaning meaning = Interpret(lines[i].text);
    if (meaning.kind == LineKind::kSection && SameName(meaning.name, name)) {
      return SectionSpan{i + 1, SectionEnd(lines, i + 1)};
    }
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const ProfileLines& lines, SectionSpan span, std::string_view key) {
  for (size_t i = span.first; i < span.end; ++i) {
    LineMeaning meaning = Interpret(lines[i].text);
    if (meaning.kind == LineKind::kKey && SameName(meaning.name, key)) return i;
  }
  return std::nullopt;
}

}  // namespace profile
