// The program's version, and the line About shows under its names.
#pragma once

namespace quillex {

inline constexpr const char* kVersion = "0.1.0";
inline constexpr const char* kAboutLine = "Derives new well-log curves from existing ones.";

}  // namespace quillex
