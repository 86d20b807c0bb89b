#include "libs/profile/profile.h"

#include <algorithm>
#include <limits>

#include "libs/profile/profile_edit.h"
#include "libs/profile/profile_lines.h"
#include "libs/profile/profile_storage.h"
#include "libs/profile/profile_text.h"

namespace profile {

namespace {

// A missing or unreadable file reads as an empty one: every lookup gives the
// default and every list is empty.
ProfileLines LoadLines(const std::string& file) {
  std::string bytes;
  if (file.empty() || ReadWholeFile(file, bytes) != FileRead::kRead) return {};
  return SplitLines(DecodeProfile(std::move(bytes)).text);
}

// The value as read, quotes stripped; it points into `lines`.
std::optional<std::string_view> FindValue(const ProfileLines& lines, std::string_view section,
                                          std::string_view key) {
  std::optional<SectionSpan> span = FindSection(lines, TrimCallerName(section));
  std::optional<size_t> at = span ? FindKey(lines, *span, TrimCallerName(key)) : std::nullopt;
  if (!at) return std::nullopt;
  return StripQuotes(Interpret(lines[*at].text).value);
}

std::vector<std::string> SectionNames(const ProfileLines& lines) {
  std::vector<std::string> names;
  for (const ProfileLine& line : lines) {
    LineMeaning meaning = Interpret(line.text);
    if (meaning.kind == LineKind::kSection) names.emplace_back(meaning.name);
  }
  return names;
}

// A missing section has no keys: an empty list, not the default, so that a
// caller walking the list always gets a list.
std::vector<std::string> KeyNames(const ProfileLines& lines, std::string_view section) {
  std::vector<std::string> names;
  std::optional<SectionSpan> span = FindSection(lines, TrimCallerName(section));
  if (!span) return names;
  for (size_t i = span->first; i < span->end; ++i) {
    LineMeaning meaning = Interpret(lines[i].text);
    if (meaning.kind == LineKind::kKey) names.emplace_back(meaning.name);
  }
  return names;
}

// Only spaces go from the end of a default: tabs and line breaks stay.
std::string_view DefaultText(ProfileName fallback) {
  std::string_view text = fallback.value_or("");
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// Windows reads at most 65535 characters of a value, wrapping longer counts
// to 16 bits; here the caller's buffer is the only bound.
uint32_t CopyValue(std::string_view value, char* buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  size_t count = std::min<size_t>(value.size(), size - 1);
  std::copy_n(value.begin(), count, buffer);
  buffer[count] = '\0';
  return static_cast<uint32_t>(count);
}

// Each name and its NUL, then one more NUL. A list that does not fit is cut
// to size - 2 characters and still ends in two NULs, so a caller walking it
// stops inside the buffer.
uint32_t CopyList(const std::vector<std::string>& names, char* buffer, uint32_t size) {
  if (buffer == nullptr || size < 2) return CopyValue("", buffer, size);
  std::string list;
  for (const std::string& name : names) list += name + '\0';
  bool cut = list.size() + 1 > size;
  if (cut) list.resize(size - 2);
  auto count = static_cast<uint32_t>(list.size());
  list.append(cut || list.empty() ? 2 : 1, '\0');
  std::copy(list.begin(), list.end(), buffer);
  return count;
}

// An optional sign and decimal digits up to the first other character, kept
// modulo 2^32: "-1" is 4294967295 and "4294967297" is 1.
uint32_t WrappedNumber(std::string_view text) {
  bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  uint32_t number = 0;
  for (size_t i = 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    number = number * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  return negative ? 0U - number : number;
}

bool Edit(ProfileLines& lines, std::string_view section, ProfileName key, ProfileName value) {
  if (!key) return DeleteProfileSection(lines, section);
  if (!value) return DeleteProfileKey(lines, section, TrimCallerName(*key));
  return SetProfileValue(lines, section, TrimCallerName(*key), *value);
}

void EndLastLine(ProfileLines& lines) {
  if (!lines.empty() && lines.back().end.empty()) lines.back().end = "\r\n";
}

}  // namespace

uint32_t GetPrivateProfileString(ProfileName section, ProfileName key, ProfileName fallback,
                                 char* buffer, uint32_t size, const std::string& file) {
  ProfileLines lines = LoadLines(file);
  if (!section) return CopyList(SectionNames(lines), buffer, size);
  if (!key) return CopyList(KeyNames(lines, *section), buffer, size);
  std::optional<std::string_view> value = FindValue(lines, *section, *key);
  return CopyValue(value ? *value : DefaultText(fallback), buffer, size);
}

// An empty value gives the default, as a missing one does: there is nothing
// to read as a number. (What Windows does there is unverified; we never
// write an empty number.)
uint32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t fallback,
                              const std::string& file) {
  ProfileLines lines = LoadLines(file);
  std::optional<std::string_view> value = FindValue(lines, section, key);
  if (!value || value->empty()) return static_cast<uint32_t>(fallback);
  return WrappedNumber(*value);
}

// A delete that finds nothing leaves an existing file alone, but a missing
// file is still created, empty, as on Windows.
bool WritePrivateProfileString(ProfileName section, ProfileName key, ProfileName value,
                               const std::string& file) {
  if (file.empty() || !section) return false;
  std::string bytes;
  FileRead read = ReadWholeFile(file, bytes);
  if (read == FileRead::kFailed) return false;
  ProfileText text = DecodeProfile(std::move(bytes));
  ProfileLines lines = SplitLines(text.text);
  if (!Edit(lines, TrimCallerName(*section), key, value) && read == FileRead::kRead) return true;
  EndLastLine(lines);
  text.text = JoinLines(lines);
  return ReplaceFile(file, EncodeProfile(text));
}

std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view fallback, uint32_t limit) {
  limit = std::min(limit, std::numeric_limits<uint32_t>::max() - 1);
  std::string buffer(static_cast<size_t>(limit) + 1, '\0');
  buffer.resize(GetPrivateProfileString(section, key, fallback, buffer.data(), limit + 1, file));
  return buffer;
}

std::vector<std::string> ProfileSectionNames(const std::string& file) {
  return SectionNames(LoadLines(file));
}

std::vector<std::string> ProfileKeyNames(const std::string& file, std::string_view section) {
  return KeyNames(LoadLines(file), section);
}

struct ProfileReader::Lines {
  ProfileLines lines;
};

ProfileReader::ProfileReader(const std::string& file)
    : lines_(std::make_unique<Lines>(Lines{LoadLines(file)})) {}

ProfileReader::~ProfileReader() = default;

std::string ProfileReader::Read(std::string_view section, std::string_view key,
                                std::string_view fallback, uint32_t limit) const {
  std::optional<std::string_view> value = FindValue(lines_->lines, section, key);
  std::string text(value ? *value : DefaultText(fallback));
  return text.substr(0, limit);
}

namespace {

std::optional<std::string> Own(ProfileName name) {
  return name ? std::optional<std::string>(std::string(*name)) : std::nullopt;
}

}  // namespace

void ProfileWriteBatch::Write(ProfileName section, ProfileName key, ProfileName value) {
  edits_.push_back(Edit{Own(section), Own(key), Own(value)});
}

bool ProfileWriteBatch::Commit() {
  if (file_.empty()) return false;
  std::string bytes;
  FileRead read = ReadWholeFile(file_, bytes);
  if (read == FileRead::kFailed) return false;
  ProfileText text = DecodeProfile(std::move(bytes));
  ProfileLines lines = SplitLines(text.text);
  bool changed = false;
  for (const Edit& edit : edits_) {
    if (!edit.section) return false;
    ProfileName key = edit.key ? ProfileName(*edit.key) : std::nullopt;
    ProfileName value = edit.value ? ProfileName(*edit.value) : std::nullopt;
    changed = profile::Edit(lines, TrimCallerName(*edit.section), key, value) || changed;
  }
  edits_.clear();
  if (!changed && read == FileRead::kRead) return true;
  EndLastLine(lines);
  text.text = JoinLines(lines);
  return ReplaceFile(file_, EncodeProfile(text));
}

}  // namespace profile
