#include "libs/profile/profile_edit.h"

#include <algorithm>
#include <string>

namespace profile {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string KeyLine(std::string_view key, std::string_view value) {
  return std::string(key) + "=" + std::string(value);
}

// Everything up to the '=' stays as it is in the file, so the key keeps its
// spelling and its blanks.
void ReplaceValue(ProfileLine& line, std::string_view value) {
  line.text.resize(line.text.find('=') + 1);
  line.text += value;
  line.end = kCrLf;
}

// After the last line of the section that is neither a comment nor blank, so
// a new key goes before trailing comments and before the blank lines that
// part it from the next section; right after the header when there is none.
size_t KeyInsertionPoint(const ProfileLines& lines, SectionSpan span) {
  size_t point = span.first;
  for (size_t i = span.first; i < span.end; ++i) {
    LineKind kind = Interpret(lines[i].text).kind;
    if (kind == LineKind::kKey || kind == LineKind::kOther) point = i + 1;
  }
  return point;
}

// Only the last line can lack a line end; the line after it needs one there.
void InsertLine(ProfileLines& lines, size_t at, std::string text) {
  if (at > 0 && lines[at - 1].end.empty()) lines[at - 1].end = kCrLf;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
               {std::move(text), std::string(kCrLf)});
}

}  // namespace

bool SetProfileValue(ProfileLines& lines, std::string_view section, std::string_view key,
                     std::string_view value) {
  std::optional<SectionSpan> span = FindSection(lines, section);
  if (!span) {
    InsertLine(lines, lines.size(), "[" + std::string(section) + "]");
    InsertLine(lines, lines.size(), KeyLine(key, value));
  } else if (std::optional<size_t> at = FindKey(lines, *span, key)) {
    ReplaceValue(lines[*at], value);
  } else {
    InsertLine(lines, KeyInsertionPoint(lines, *span), KeyLine(key, value));
  }
  return true;
}

// Only the key that reads would find goes; a duplicate after it becomes the
// one read.
bool DeleteProfileKey(ProfileLines& lines, std::string_view section, std::string_view key) {
  std::optional<SectionSpan> span = FindSection(lines, section);
  std::optional<size_t> at = span ? FindKey(lines, *span, key) : std::nullopt;
  if (!at) return false;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
  return true;
}

// The header and every line of the section go except comments, which stay
// where they were. Blank lines go too, so no gap is left where it was.
bool DeleteProfileSection(ProfileLines& lines, std::string_view section) {
  std::optional<SectionSpan> span = FindSection(lines, section);
  if (!span) return false;
  auto first = lines.begin() + static_cast<std::ptrdiff_t>(span->first - 1);
  auto end = lines.begin() + static_cast<std::ptrdiff_t>(span->end);
  auto kept = std::remove_if(first, end, [](const ProfileLine& line) {
    return Interpret(line.text).kind != LineKind::kComment;
  });
  lines.erase(kept, end);
  return true;
}

}  // namespace profile
