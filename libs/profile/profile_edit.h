// The changes a write makes to a file's lines. Names come trimmed; each call
// returns whether it changed anything. Lines it adds or changes end in CRLF.
#pragma once

#include <string_view>

#include "libs/profile/profile_lines.h"

namespace profile {

bool SetProfileValue(ProfileLines& lines, std::string_view section, std::string_view key,
                     std::string_view value);
bool DeleteProfileKey(ProfileLines& lines, std::string_view section, std::string_view key);
bool DeleteProfileSection(ProfileLines& lines, std::string_view section);

}  // namespace profile
