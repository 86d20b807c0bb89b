// The private-profile engine's view of a file: its lines, each with the exact
// bytes it had and its own line end, and what each line means.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

struct ProfileLine {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n", "\r", or "" for a last line without one
};

using ProfileLines = std::vector<ProfileLine>;

enum class LineKind { kBlank, kSection, kComment, kKey, kOther };

// A line's kind, and for a header its name, for a key line its key and value
// (trimmed, quotes still on). The views point into the line's text.
struct LineMeaning {
  LineKind kind = LineKind::kBlank;
  std::string_view name;
  std::string_view value;
};

ProfileLines SplitLines(std::string_view content);
std::string JoinLines(const ProfileLines& lines);

LineMeaning Interpret(std::string_view text);
// Blanks and tabs off both ends: what the engine trims from the lines it
// reads.
std::string_view TrimBlanks(std::string_view text);
// Only spaces off both ends: what the engine trims from the section and key
// names a caller passes (a tab there stays, and the name then matches
// nothing, as on Windows).
std::string_view TrimCallerName(std::string_view text);
std::string_view StripQuotes(std::string_view value);
bool SameName(std::string_view a, std::string_view b);

// The lines of the first section named `name`: [first, end), the header at
// first - 1. Lines before the first header belong to no section.
struct SectionSpan {
  size_t first = 0;
  size_t end = 0;
};

std::optional<SectionSpan> FindSection(const ProfileLines& lines, std::string_view name);
std::optional<size_t> FindKey(const ProfileLines& lines, SectionSpan span, std::string_view key);

}  // namespace profile
