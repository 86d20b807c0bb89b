// libFuzzer target for the private-profile engine. Each input is a file:
// every listed section and key must be found again by name, no read may
// overrun its buffer, and a write to a copy must read back while leaving
// every other value as it was.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "libs/profile/profile.h"

namespace {

using namespace profile;

// Values come from a single line, so a default holding a line break can
// never be mistaken for one.
constexpr std::string_view kAbsent = "\n";
constexpr size_t kMostNames = 8;

using Values = std::map<std::pair<std::string, std::string>, std::string>;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "profile fuzz: %s\n", what);
  std::abort();
}

bool SameText(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

// A folder of its own, removed when the fuzzer exits. In memory where there
// is such a folder: every write syncs to disk, which would otherwise make
// each run a hundred times slower.
struct Workspace {
  Workspace() {
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    pattern += "/profile_fuzz_XXXXXX";
    Check(::mkdtemp(pattern.data()) != nullptr, "no temporary folder");
    path = pattern;
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string path;
};

const std::string& Folder() {
  static const Workspace workspace;
  return workspace.path;
}

void PutBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The first values of the first sections, each of which must be found.
Values ReadValues(const std::string& file) {
  Values values;
  std::vector<std::string> sections = ProfileSectionNames(file);
  for (size_t s = 0; s < sections.size() && s < kMostNames; ++s) {
    std::vector<std::string> keys = ProfileKeyNames(file, sections[s]);
    for (size_t k = 0; k < keys.size() && k < kMostNames; ++k) {
      std::string value = ReadProfileString(file, sections[s], keys[k], kAbsent, 4096);
      Check(value != kAbsent, "a listed key is not found");
      GetPrivateProfileInt(sections[s], keys[k], 0, file);
      values.try_emplace({sections[s], keys[k]}, value);
    }
  }
  return values;
}

// Every small buffer, for a value, the section list and a key list.
void ReadIntoSmallBuffers(const std::string& file) {
  std::vector<std::string> sections = ProfileSectionNames(file);
  std::string section = sections.empty() ? "" : sections[0];
  const ProfileName calls[][2] = {
      {section, "k"}, {std::nullopt, std::nullopt}, {section, std::nullopt}};
  for (const auto& call : calls) {
    for (uint32_t size = 0; size < 6; ++size) {
      std::string buffer(size + 1, '@');
      uint32_t count =
          GetPrivateProfileString(call[0], call[1], "default", buffer.data(), size, file);
      Check(buffer[size] == '@', "written past the buffer");
      Check(size == 0 ? count == 0 : count < size && buffer[count] == '\0', "bad count or NUL");
    }
  }
}

void CheckWrite(const std::string& copy, const Values& before) {
  Check(WritePrivateProfileString("Fz", "key", "v1", copy), "write failed");
  Check(ReadProfileString(copy, "Fz", "key", kAbsent, 16) == "v1", "written value not read back");
  for (const auto& [name, value] : before) {
    if (SameText(name.first, "Fz") && SameText(name.second, "key")) continue;
    Check(ReadProfileString(copy, name.first, name.second, kAbsent, 4096) == value,
          "other value changed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string file = Folder() + "/input.ini";
  std::string copy = Folder() + "/copy.ini";
  PutBytes(file, data, size);
  PutBytes(copy, data, size);
  Values values = ReadValues(file);
  ReadIntoSmallBuffers(file);
  CheckWrite(copy, values);
  return 0;
}
