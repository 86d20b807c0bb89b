#include "libs/las/curve_names.h"

#include <set>

#include "libs/las/las_lines.h"

namespace las {

const char kLasHeaderName[] = "_header_";

namespace {

// Names compare without regard to case, as the database matches them.
std::string Key(const std::string& name) { return UpperLas(name); }

bool Allowed(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.' || c == '+' || c == '#' || c == '%';
}

// The mnemonic with every character a path should not hold made "_".
std::string Cleaned(const std::string& mnemonic) {
  std::string name = mnemonic.empty() ? "CURVE" : mnemonic;
  for (char& c : name) c = Allowed(c) ? c : '_';
  return name;
}

bool Fits(const std::string& mnemonic) {
  return !mnemonic.empty() && mnemonic.size() <= kLasNameLimit && Cleaned(mnemonic) == mnemonic;
}

// The first of NAME, NAME_2, NAME_3 ... (NAME cut short to fit) not taken.
std::string Unique(const std::string& base, std::set<std::string>* taken) {
  std::string name = base.substr(0, kLasNameLimit);
  for (int n = 2; !taken->insert(Key(name)).second; ++n) {
    std::string suffix = "_" + std::to_string(n);
    name = base.substr(0, kLasNameLimit - suffix.size()) + suffix;
  }
  return name;
}

}  // namespace

std::vector<std::string> CurveItemNames(const std::vector<std::string>& mnemonics) {
  std::vector<std::string> names(mnemonics.size());
  std::set<std::string> taken = {Key(kLasHeaderName)};
  for (size_t i = 0; i < mnemonics.size(); ++i) {
    if (Fits(mnemonics[i]) && taken.insert(Key(mnemonics[i])).second) names[i] = mnemonics[i];
  }
  for (size_t i = 0; i < mnemonics.size(); ++i) {
    if (names[i].empty()) names[i] = Unique(Cleaned(mnemonics[i]), &taken);
  }
  return names;
}

}  // namespace las
