// The unit table: its rows, spellings, the units of real LAS files,
// conversions and equivalents; and the registry file that gives unknown unit
// texts codes every process agrees on.
#include "libs/dorvex/units.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace dorvex {

namespace {

using D = UnitDimension;

// The table itself: what a careless new row would break. Every spelling must
// lead back to its own row, names must be unique (the unit list finds codes
// by name), and an equivalent must be of the same dimension and final.
TEST(UnitTableRows, AreUnambiguousAndConsistent) {
  UnitTable units;
  std::set<int32_t> codes;
  std::set<std::string> names;
  for (const UnitRow& row : units.Entries()) {
    EXPECT_TRUE(row.code > 0 && row.code < kFirstRegistryCode) << row.code;
    EXPECT_TRUE(codes.insert(row.code).second) << "code " << row.code;
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    std::stringstream spellings(std::string(row.mnemonic) + "|" + row.spellings);
    for (std::string spelling; std::getline(spellings, spelling, '|');) {
      EXPECT_TRUE(spelling.empty() || units.Code(spelling) == row.code) << spelling;
    }
    for (int32_t system : {kUnitsMetric, kUnitsImperial}) {
      int32_t equivalent = units.InSystem(system, row.code);
      EXPECT_EQ(units.Dimension(equivalent), row.dimension) << row.mnemonic;
      EXPECT_EQ(units.InSystem(system, equivalent), equivalent) << row.mnemonic;
    }
  }
}

// The codes and texts the program relies on, and spellings in any case and
// spacing.
TEST(UnitCode, CodesTextsAndSpellings) {
  UnitTable units;
  const std::tuple<const char*, int32_t, const char*> labels[] = {
      {"F", 62, "ft"}, {"M", 63, "m"}, {"S", 70, "s"}, {"GAPI", 100, "GAPI"}};
  for (const auto& [mnemonic, code, label] : labels) {
    EXPECT_EQ(units.Code(mnemonic), code);
    EXPECT_EQ(units.Label(code), label);
  }
  EXPECT_EQ(units.Name(100), "API gamma units");
  for (int32_t code : {0, 999, -5}) {
    EXPECT_EQ(units.Mnemonic(code) + units.Name(code) + units.Label(code), "");
  }
  const std::map<std::string, std::string> same{
      {"Feet", "F"},      {"meter", "M"},     {"us/ft", "US/F"}, {"g/cm3", "G/C3"},
      {"ohm-m", "OHMM"},  {"deg  f", "DEGF"}, {" in ", "IN"},    {"\tms\r\n", "MS"}};
  for (const auto& [text, mnemonic] : same) {
    EXPECT_EQ(units.Mnemonic(units.Code(text)), mnemonic) << '"' << text << '"';
  }
  EXPECT_EQ(units.Code(" \t "), 0);
}

// The units of the ~Curve sections of every LAS file in the folder.
std::set<std::string> LasCurveUnits(const std::string& folder) {
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream file(entry.path());
    bool curves = false;
    for (std::string line; entry.path().extension() == ".las" && std::getline(file, line);) {
      size_t start = line.find_first_not_of(" \t");
      if (start == std::string::npos || line[start] == '#') continue;
      if (line[start] == '~') curves = toupper(line[start + 1]) == 'C';
      size_t dot = line.find('.');
      if (!curves || line[start] == '~' || dot == std::string::npos) continue;
      found.insert(line.substr(dot + 1, line.find_first_of(" \t", dot) - dot - 1));
    }
  }
  return found;
}

TEST(UnitCode, EveryUnitOfTheSampleLasFilesIsDecided) {
  const char* folder = getenv("QUILLEX_LAS_DIR");
  std::string las = folder != nullptr ? folder : QUILLEX_LAS_FOLDER;
  if (!std::filesystem::is_directory(las)) GTEST_SKIP() << "no LAS files in " << las;
  // Keyed by the upper-case text. K/M (a cut K/M3?) and DBM (decibel-
  // milliwatts, written for dB/m) say other than they mean: unknown is safer.
  const std::map<std::string, D> expected{
      {"", D::kUnknown},          {"M", D::kLength},        {"F", D::kLength},
      {"MM", D::kLength},         {"IN", D::kLength},       {"INCH", D::kLength},
      {"OHMM", D::kResistivity},  {"OHM.M", D::kResistivity}, {"OHM/M", D::kResistivity},
      {"V/V", D::kFraction},      {"%", D::kFraction},      {"M3/M3", D::kFraction},
      {"DECP", D::kFraction},     {"LPU", D::kFraction},    {"PPM", D::kFraction},
      {"NONE", D::kNone},         {"K/M3", D::kDensity},    {"G/C3", D::kDensity},
      {"G/CM3", D::kDensity},     {"G/CC", D::kDensity},    {"GAPI", D::kGammaRay},
      {"API", D::kGammaRay},      {"MV", D::kPotential},    {"US/M", D::kSlowness},
      {"US/F", D::kSlowness},     {"US/FT", D::kSlowness},  {"NS/M", D::kSlowness},
      {"CPS", D::kCountRate},     {"MS/M", D::kConductivity}, {"MMO/M", D::kConductivity},
      {"B/E", D::kPhotoelectric}, {"LBS", D::kForce},       {"K/M", D::kUnknown},
      {"DBM", D::kUnknown}};
  UnitTable units;
  for (std::string text : LasCurveUnits(las)) {
    int32_t code = units.Code(text);
    for (char& c : text) c = static_cast<char>(toupper(c));
    auto want = expected.find(text);
    ASSERT_NE(want, expected.end()) << "a unit the table has not decided: \"" << text << '"';
    EXPECT_EQ(units.Dimension(code), want->second) << text;
    EXPECT_EQ(code >= kFirstRegistryCode, want->second == D::kUnknown && !text.empty()) << text;
  }
}

// Compared exactly, and back again to within a few units in the last place;
// with nothing to convert, or nothing known to convert by, one to one.
TEST(UnitConversion, ExactWhereTheDefinitionIsAndOneToOneWhereThereIsNone) {
  const struct {
    const char* from;
    const char* to;
    double value;
    double expected;
  } cases[] = {
      {"F", "M", 1000, 1000 * 0.3048},        {"M", "F", 1, 1 / 0.3048},
      {"DEGF", "DEGC", 212, 100},             {"DEGF", "DEGC", -100, -660.0 / 9},
      {"DEGC", "DEGF", 100, 212},             {"DEGK", "DEGC", 273.15, 0},
      {"PU", "V/V", 50, 0.5},                 {"V/V", "%", 0.25, 25},
      {"G/C3", "KG/M3", 2.5, 2500},           {"KG/M3", "G/CC", 2650, 2.65},
      {"IN", "MM", 8.5, 8.5 * 25.4},          {"MM", "IN", 215.9, 215.9 / 25.4},
      {"MS", "S", 250, 0.25},                 {"S", "HR", 7200, 2},
      {"MIN", "S", 2, 120},                   {"BAR", "KPA", 1, 100},
      {"PSI", "KPA", 1, 6.894757293168361},   {"PSI", "KPA", 15, 103.42135939752542},
      {"KGF", "N", 1, 9.80665},               {"LBF", "N", 1, 4.4482216152605},
      {"FT/HR", "M/HR", 1800, 1800 * 0.3048}, {"US/F", "US/M", 100, 100 / 0.3048},
      {"CPM", "CPS", 120, 2},                 {"V", "MV", 1.5, 1500}};
  UnitTable units;
  for (const auto& c : cases) {
    uint32_t there = units.MakeConversion(units.Code(c.from), units.Code(c.to));
    uint32_t back = units.MakeConversion(units.Code(c.to), units.Code(c.from));
    EXPECT_EQ(units.Convert(c.value, there), c.expected) << c.value << c.from << " to " << c.to;
    EXPECT_DOUBLE_EQ(units.Convert(c.expected, back), c.value) << c.to << " to " << c.from;
  }
  const std::pair<const char*, const char*> pairs[] = {
      {"F", "FT"}, {"F", "S"}, {"V/V", "DEC"}, {"M", ""}, {"FURLONGS", "M"}};
  for (const auto& [from, to] : pairs) {
    EXPECT_EQ(units.MakeConversion(units.Code(from), units.Code(to)), 0U) << from << " " << to;
  }
  EXPECT_EQ(units.Convert(-3.5, 0), -3.5);
  EXPECT_EQ(units.Convert(-3.5, 12345), -3.5);
  uint32_t feetToMetres = units.MakeConversion(62, 63);
  EXPECT_NE(units.MakeConversion(63, 62), feetToMetres);
  EXPECT_EQ(units.MakeConversion(62, 63), feetToMetres);
}

TEST(UnitInSystem, EquivalentsBothWays) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // unit, metric, imperial
      {"F", "M", "F"},           {"M", "M", "F"},         {"US/F", "US/M", "US/F"},
      {"US/M", "US/M", "US/F"},  {"DEGF", "DEGC", "DEGF"}, {"DEGC", "DEGC", "DEGF"},
      {"G/C3", "KG/M3", "G/C3"}, {"K/M3", "KG/M3", "G/C3"}, {"PSI", "KPA", "PSI"},
      {"BAR", "BAR", "PSI"},     {"IN", "MM", "IN"},       {"CM", "CM", "IN"},
      {"LBF", "N", "LBF"},       {"FT/HR", "M/HR", "FT/HR"}, {"GAPI", "GAPI", "GAPI"}};
  UnitTable units;
  for (const auto& [unit, metric, imperial] : cases) {
    int32_t code = units.Code(unit);
    EXPECT_EQ(units.InSystem(kUnitsAsStored, code), code) << unit;
    EXPECT_EQ(units.Mnemonic(units.InSystem(kUnitsMetric, code)), metric) << unit;
    EXPECT_EQ(units.Mnemonic(units.InSystem(kUnitsImperial, code)), imperial) << unit;
  }
  int32_t unknown = units.Code("WIDGETS");
  EXPECT_EQ(units.InSystem(kUnitsMetric, unknown), unknown);
  EXPECT_EQ(units.InSystem(kUnitsImperial, 0), 0);
}

// ---------------------------------------------------------------------------
// Unknown unit texts and the registry file, in a fresh folder.

class UnitRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(temp_.path().empty()); }
  test_support::TempFolder temp_{"units_test"};
  std::string folder_ = temp_.path();
  std::string file_ = temp_.File("units.txt");
};

TEST_F(UnitRegistryTest, UnknownTextsKeepTheirCodesAcrossTables) {
  UnitTable first(file_);
  first.Code("FEET");
  EXPECT_FALSE(std::filesystem::exists(file_)) << "table units need no registry";
  int32_t cups = first.Code(" Cups ");
  int32_t spoons = first.Code("SPOONS");
  EXPECT_TRUE(cups >= kFirstRegistryCode && spoons <= kLastRegistryCode && cups != spoons);
  EXPECT_EQ(first.Code("CUPS"), cups);
  EXPECT_EQ(first.Dimension(cups), D::kUnknown);

  UnitTable second(file_);
  EXPECT_EQ(second.Mnemonic(cups), "Cups");
  EXPECT_EQ(second.Code("spoons"), spoons);
  int32_t pinch = first.Code("PINCH");  // registered after the second table read the file
  EXPECT_EQ(second.Label(pinch), "PINCH");
  EXPECT_EQ(second.Code("pinch"), pinch);
}

// A damaged file is read past and added to; with no file at all, or none that
// can be made, codes are still given out, for the process alone.
TEST_F(UnitRegistryTest, DamagedOrMissingFilesAreSurvived) {
  std::ofstream(file_, std::ios::binary) << std::string("\x01\x02\0junk\n\n", 9)
                                         << std::string(100000, 'x') << "\nCUPS\r\nCUPS\ntorn";
  UnitTable first(file_);
  EXPECT_EQ(first.Code("cups"), kFirstRegistryCode + 3);
  int32_t added = first.Code("NEWUNIT");
  EXPECT_TRUE(added >= kFirstRegistryCode && added <= kLastRegistryCode);
  UnitTable second(file_);
  EXPECT_EQ(second.Code("newunit"), added);
  EXPECT_EQ(second.Mnemonic(added), "NEWUNIT");
  for (const std::string& file : {std::string(), folder_ + "/no/such/folder/units.txt"}) {
    UnitTable units(file);
    int32_t a = units.Code("A-UNIT");
    EXPECT_GE(a, kFirstRegistryCode);
    EXPECT_NE(units.Code("B-UNIT"), a);
    EXPECT_EQ(units.Code("a-unit"), a);
    EXPECT_EQ(units.Name(a), "A-UNIT");
  }
}

// Two processes register the same texts in opposite orders at the same time;
// both, and a later reader, must agree on every code.
TEST_F(UnitRegistryTest, RacingProcessesAgree) {
  for (int direction : {1, -1}) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      {
        UnitTable units(file_);
        std::ofstream result(folder_ + "/result" + std::to_string(direction));
        for (int i = 0; i < 40; ++i) {
          std::string text = "RACE" + std::to_string(direction > 0 ? i : 39 - i);
          result << text << ' ' << units.Code(text) << '\n';
        }
      }  // flushed before _exit, which runs no destructors
      _exit(0);
    }
  }
  for (int i = 0; i < 2; ++i) ::wait(nullptr);
  UnitTable reader(file_);
  for (int direction : {1, -1}) {
    std::ifstream result(folder_ + "/result" + std::to_string(direction));
    int count = 0;
    std::string text;
    for (int32_t code = 0; result >> text >> code; ++count) {
      EXPECT_EQ(reader.Code(text), code) << text;
      EXPECT_EQ(reader.Mnemonic(code), text);
    }
    EXPECT_EQ(count, 40);
  }
}

}  // namespace

}  // namespace dorvex
