#include "libs/las/index_unit.h"

#include <string>

#include "libs/las/las_lines.h"

namespace las {

namespace {

constexpr LasIndexUnit kFeet{"F", false, 6000, 1};
constexpr LasIndexUnit kMetres{"M", false, 19685, 1};
constexpr LasIndexUnit kSeconds{"S", true, 100, 1};
constexpr LasIndexUnit kMilliseconds{"MS", true, 1, 10};

struct Spelling {
  const char* text;
  const LasIndexUnit* unit;
};

constexpr Spelling kSpellings[] = {
    {"F", &kFeet},          {"FT", &kFeet},           {"FEET", &kFeet},     {"FOOT", &kFeet},
    {"M", &kMetres},        {"METER", &kMetres},      {"METERS", &kMetres}, {"METRE", &kMetres},
    {"METRES", &kMetres},   {"MTR", &kMetres},        {"S", &kSeconds},     {"SEC", &kSeconds},
    {"MS", &kMilliseconds}, {"MSEC", &kMilliseconds},
};

}  // namespace

const char kIndexUnitChoice[] = "F, FT, FEET, M, S or MS";

const LasIndexUnit* FindIndexUnit(std::string_view text) {
  for (const Spelling& spelling : kSpellings) {
    if (SameLasText(text, spelling.text)) return spelling.unit;
  }
  return nullptr;
}

const LasIndexUnit& DefaultIndexUnit(bool time, bool metric) {
  if (time) return kSeconds;
  return metric ? kMetres : kFeet;
}

}  // namespace las
