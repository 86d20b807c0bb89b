// The text of a profile file. A file that begins with a UTF-16LE byte-order
// mark is handled as UTF-8 inside and turned back into UTF-16LE, mark first,
// when written; any other file is its bytes, a UTF-8 mark included.
#pragma once

#include <string>
#include <string_view>

namespace profile {

struct ProfileText {
  std::string text;
  bool utf16 = false;
};

ProfileText DecodeProfile(std::string bytes);
std::string EncodeProfile(const ProfileText& text);

}  // namespace profile
