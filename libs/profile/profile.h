// The private-profile (INI) engine: job files and the settings file are read
// and written key by key, the way Windows programs do it, so that files move
// between this program and Windows programs both ways.
//
// Reading follows the Windows rules: section and key names match without
// regard to case; blanks (space, tab, vertical tab) around names and values
// are trimmed; one pair of matching outer quotes is stripped from a value;
// ';' starts a comment line; the first of duplicate keys or sections wins;
// CRLF, LF and CR line ends are all read. Writing changes only the line it
// must: other lines stay byte for byte, new keys go after the last key of
// their section, new sections at the end, and every line written ends in
// CRLF. A file that begins with a UTF-16LE byte-order mark is read and
// written as UTF-16LE.
//
// Every write reads the file afresh and replaces it whole through a
// temporary file renamed over it, so a write is never half done: a program
// killed midway leaves the old file or the new one, and two writes in a row
// never lose one another. (Two processes writing the same file at the same
// moment may still lose one update; the system never does that.)
//
// The null pointers of the Windows calls are std::nullopt here.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

using ProfileName = std::optional<std::string_view>;

// GetPrivateProfileString: copies the value of section/key (or, with a null
// section, the list of section names; with a null key, the list of the
// section's keys, each followed by a NUL, the list by one more) into a buffer
// of `size` bytes, and returns the number of characters copied without the
// final NUL. A missing file, section or key gives the default (null = "",
// trailing spaces removed). Values too long for the buffer are cut to
// size - 1 characters; lists to size - 2 with two NULs.
uint32_t GetPrivateProfileString(ProfileName section, ProfileName key, ProfileName fallback,
                                 char* buffer, uint32_t size, const std::string& file);

// GetPrivateProfileInt: an optional sign and decimal digits, stopping at the
// first other character, wrapped modulo 2^32; text that is there but not a
// number gives 0; a missing file, section or key gives the default.
uint32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t fallback,
                              const std::string& file);

// WritePrivateProfileString: sets section/key to value (the value exactly as
// given); a null value deletes the key, a null key deletes the section
// (comment lines inside it stay). Returns false when the file cannot be
// written (no such folder, an empty file name, a null section).
bool WritePrivateProfileString(ProfileName section, ProfileName key, ProfileName value,
                               const std::string& file);

// Convenience over GetPrivateProfileString: the value as a string read with a
// buffer of `limit` characters plus the NUL.
std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view fallback, uint32_t limit);

// Many reads of one file: the file is read and parsed once, and each read
// answers as ReadProfileString would have at that moment.
class ProfileReader {
 public:
  explicit ProfileReader(const std::string& file);
  ~ProfileReader();
  std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                   uint32_t limit) const;

 private:
  struct Lines;
  std::unique_ptr<Lines> lines_;
};

// Many writes to one file made as one: the file is read once, each write is
// applied in order as WritePrivateProfileString would apply it, and the file
// is replaced once, whole, by Commit. (Each replacement is synced to disk;
// a job's output record is a dozen keys.)
class ProfileWriteBatch {
 public:
  explicit ProfileWriteBatch(std::string file) : file_(std::move(file)) {}
  void Write(ProfileName section, ProfileName key, ProfileName value);
  bool Commit();

 private:
  struct Edit {
    std::optional<std::string> section, key, value;
  };
  std::string file_;
  std::vector<Edit> edits_;
};

// The names of the sections, or of the keys of one section, in file order
// (duplicates included), read without a size limit.
std::vector<std::string> ProfileSectionNames(const std::string& file);
std::vector<std::string> ProfileKeyNames(const std::string& file, std::string_view section);

}  // namespace profile
