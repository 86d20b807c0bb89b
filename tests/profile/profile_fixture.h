// A folder of its own for each profile test, and files as raw bytes.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace profile {

using ProfileFolder = test_support::TempFolder;

// Nothing stands for "no such file".
inline void PutBytes(const std::string& path, const std::optional<std::string>& bytes) {
  if (bytes) std::ofstream(path, std::ios::binary) << *bytes;
}

inline std::optional<std::string> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Text as a UTF-16LE file, byte-order mark first.
inline std::string Utf16File(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace profile
