#include "libs/profile/profile_text.h"

#include <cstdint>

namespace profile {

namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

uint32_t UnitAt(std::string_view bytes, size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

bool IsHigh(uint32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLow(uint32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// Unpaired surrogates are encoded like any other code point (as WTF-8 does)
// so that an untouched line goes back to the file unit for unit.
void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
    return;
  }
  int extra = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
  constexpr uint32_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(kLead[extra] | code >> (6 * extra));
  for (int shift = 6 * (extra - 1); shift >= 0; shift -= 6) {
    out += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
  }
}

void AppendUtf16(std::string& out, uint32_t code) {
  if (code >= 0x10000) {
    AppendUtf16(out, 0xD800 + ((code - 0x10000) >> 10));
    code = 0xDC00 + ((code - 0x10000) & 0x3FF);
  }
  out += static_cast<char>(code & 0xFF);
  out += static_cast<char>(code >> 8);
}

// One UTF-8 sequence at `at`, surrogates accepted for the reason above. A
// byte that starts no valid sequence becomes '?', as Windows writes
// characters it cannot represent.
uint32_t NextCode(std::string_view text, size_t& at) {
  auto lead = static_cast<unsigned char>(text[at++]);
  int extra = lead < 0x80   ? 0
              : lead < 0xC2 ? -1
              : lead < 0xE0 ? 1
              : lead < 0xF0 ? 2
              : lead < 0xF5 ? 3
                            : -1;
  if (extra < 0) return '?';
  uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    if (at >= text.size() || (text[at] & 0xC0) != 0x80) return '?';
    code = code << 6 | (text[at++] & 0x3F);
  }
  constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  return code < kSmallest[extra] || code > 0x10FFFF ? '?' : code;
}

}  // namespace

// An odd last byte cannot be a character and is dropped.
ProfileText DecodeProfile(std::string bytes) {
  if (!std::string_view(bytes).starts_with(kUtf16Mark)) return {std::move(bytes), false};
  std::string text;
  for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
    uint32_t code = UnitAt(bytes, at);
    if (IsHigh(code) && at + 3 < bytes.size() && IsLow(UnitAt(bytes, at + 2))) {
      at += 2;
      code = 0x10000 + ((code - 0xD800) << 10) + (UnitAt(bytes, at) - 0xDC00);
    }
    AppendUtf8(text, code);
  }
  return {std::move(text), true};
}

std::string EncodeProfile(const ProfileText& text) {
  if (!text.utf16) return text.text;
  std::string bytes(kUtf16Mark);
  for (size_t at = 0; at < text.text.size();) AppendUtf16(bytes, NextCode(text.text, at));
  return bytes;
}

}  // namespace profile
