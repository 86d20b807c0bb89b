#include "libs/dorvex/units.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <numeric>
#include <unistd.h>

namespace dorvex {

namespace {

using D = UnitDimension;

enum : int32_t {
  kNone = 1, kRatio,
  kVolumeFraction = 10, kDecimal, kPorosityUnits, kLimestoneUnits, kPercent, kPpm,
  kFeet = kUnitFeet, kMetres = kUnitMetres, kInches, kMillimetres, kCentimetres,
  kSeconds = kUnitSeconds, kMilliseconds, kMicroseconds, kMinutes, kHours,
  kFeetPerHour = 80, kMetresPerHour, kFeetPerMinute, kMetresPerMinute, kFeetPerSecond,
  kMetresPerSecond,
  kMicrosecondsPerFoot = 90, kMicrosecondsPerMetre, kNanosecondsPerMetre,
  kApi = 100, kOhmMetres = 110, kMillimhosPerMetre = 115,
  kGramsPerCc = 120, kKilogramsPerM3, kPoundsPerGallon,
  kBarnsPerElectron = 130, kMillivolts = 140, kVolts,
  kFahrenheit = 150, kCelsius, kKelvin,
  kPsi = 160, kKilopascals, kMegapascals, kBars,
  kPoundsForce = 170, kKilogramsForce, kNewtons, kDecanewtons,
  kCountsPerSecond = 180, kCountsPerMinute, kDegrees = 190,
};

// Exact definitions: the international foot (0.3048 m) and inch, the
// avoirdupois pound (0.45359237 kg) under standard gravity (9.80665 m/s2),
// the US gallon (0.003785411784 m3). A psi is a pound-force per square inch.
constexpr UnitRatio kOne{1, 1};
constexpr UnitRatio kFoot{3048, 10000};
constexpr UnitRatio kPercentOf{1, 100};
constexpr UnitRatio kPoundForce{44482216152605, 10000000000000};
constexpr UnitRatio kPsiInKilopascals{44482216152605, 6451600000000};

// Display order of the unit list: depth first, then by log family. Codes are
// stored in curves, so they are never reused or moved; a new unit takes a
// free code beside its family's.
constexpr UnitRow kRows[] = {
    {kFeet, "F", "Feet", D::kLength, kFoot, 0, kMetres, 0, "FT|FEET|FOOT", "ft"},
    {kMetres, "M", "Metres", D::kLength, kOne, 0, 0, kFeet, "METER|METERS|METRE|METRES|MTR", "m"},
    {kInches, "IN", "Inches", D::kLength, {254, 10000}, 0, kMillimetres, 0, "INCH|INCHES", nullptr},
    {kMillimetres, "MM", "Millimetres", D::kLength, {1, 1000}, 0, 0, kInches, "", nullptr},
    {kCentimetres, "CM", "Centimetres", D::kLength, {1, 100}, 0, 0, kInches, "", nullptr},
    {kSeconds, "S", "Seconds", D::kTime, kOne, 0, 0, 0, "SEC|SECS|SECOND|SECONDS", "s"},
    {kMilliseconds, "MS", "Milliseconds", D::kTime, {1, 1000}, 0, 0, 0, "MSEC", nullptr},
    {kMicroseconds, "US", "Microseconds", D::kTime, {1, 1000000}, 0, 0, 0, "USEC", nullptr},
    {kMinutes, "MIN", "Minutes", D::kTime, {60, 1}, 0, 0, 0, "MN|MINS|MINUTES", nullptr},
    {kHours, "HR", "Hours", D::kTime, {3600, 1}, 0, 0, 0, "HRS|HOUR|HOURS", nullptr},
    {kApi, "GAPI", "API gamma units", D::kGammaRay, kOne, 0, 0, 0, "API", nullptr},
    // OHM/M is no resistivity unit, but files write it for ohm-metres.
    {kOhmMetres, "OHMM", "Ohm-metres", D::kResistivity, kOne, 0, 0, 0, "OHM.M|OHM-M|OHM/M|OHM M",
     nullptr},
    {kMillimhosPerMetre, "MMHO/M", "Millimhos per metre", D::kConductivity, kOne, 0, 0, 0,
     "MMO/M|MS/M|MMHOS/M", nullptr},
    {kMicrosecondsPerFoot, "US/F", "Microseconds per foot", D::kSlowness, {10000, 3048}, 0,
     kMicrosecondsPerMetre, 0, "US/FT", nullptr},
    {kMicrosecondsPerMetre, "US/M", "Microseconds per metre", D::kSlowness, kOne, 0, 0,
     kMicrosecondsPerFoot, "", nullptr},
    {kNanosecondsPerMetre, "NS/M", "Nanoseconds per metre", D::kSlowness, {1, 1000}, 0, 0, 0, "",
     nullptr},
    // Logs in imperial units still give densities in g/cm3; SI wants kg/m3.
    {kGramsPerCc, "G/C3", "Grams per cubic centimetre", D::kDensity, {1000, 1}, 0,
     kKilogramsPerM3, 0, "G/CC|G/CM3|GM/CC|GM/C3|GR/CC", nullptr},
    {kKilogramsPerM3, "KG/M3", "Kilograms per cubic metre", D::kDensity, kOne, 0, 0, kGramsPerCc,
     "K/M3", nullptr},
    {kPoundsPerGallon, "LB/G", "Pounds per gallon", D::kDensity, {453592370000, 3785411784}, 0,
     kKilogramsPerM3, 0, "PPG|LB/GAL", nullptr},
    {kVolumeFraction, "V/V", "Volume fraction", D::kFraction, kOne, 0, 0, 0,
     "M3/M3|FT3/FT3|CFCF|VOL/VOL", nullptr},
    {kDecimal, "DEC", "Decimal fraction", D::kFraction, kOne, 0, 0, 0, "DECP|FRAC|FRACTION|DECIMAL",
     nullptr},
    {kPorosityUnits, "PU", "Porosity units", D::kFraction, kPercentOf, 0, 0, 0, "P.U.", nullptr},
    {kLimestoneUnits, "LPU", "Limestone porosity units", D::kFraction, kPercentOf, 0, 0, 0, "",
     nullptr},
    {kPercent, "%", "Percent", D::kFraction, kPercentOf, 0, 0, 0, "PCT|PERCENT", nullptr},
    {kPpm, "PPM", "Parts per million", D::kFraction, {1, 1000000}, 0, 0, 0, "", nullptr},
    {kBarnsPerElectron, "B/E", "Barns per electron", D::kPhotoelectric, kOne, 0, 0, 0,
     "BARN/E|BARNS/E", nullptr},
    {kMillivolts, "MV", "Millivolts", D::kPotential, kOne, 0, 0, 0, "", nullptr},
    {kVolts, "V", "Volts", D::kPotential, {1000, 1}, 0, 0, 0, "VOLT|VOLTS", nullptr},
    {kFahrenheit, "DEGF", "Degrees Fahrenheit", D::kTemperature, {5, 9}, -32, kCelsius, 0,
     "DEG F|DEG-F|DEG.F", nullptr},
    {kCelsius, "DEGC", "Degrees Celsius", D::kTemperature, kOne, 0, 0, kFahrenheit,
     "DEG C|DEG-C|DEG.C", nullptr},
    {kKelvin, "DEGK", "Kelvin", D::kTemperature, kOne, -273.15, 0, kFahrenheit, "DEG K|DEG-K",
     nullptr},
    {kPsi, "PSI", "Pounds per square inch", D::kPressure, kPsiInKilopascals, 0, kKilopascals, 0,
     "", nullptr},
    {kKilopascals, "KPA", "Kilopascals", D::kPressure, kOne, 0, 0, kPsi, "", nullptr},
    {kMegapascals, "MPA", "Megapascals", D::kPressure, {1000, 1}, 0, 0, kPsi, "", nullptr},
    {kBars, "BAR", "Bars", D::kPressure, {100, 1}, 0, 0, kPsi, "BARS", nullptr},
    // Logs record tensions and weights, i.e. forces: pounds there are
    // pounds-force.
    {kPoundsForce, "LBF", "Pounds-force", D::kForce, kPoundForce, 0, kNewtons, 0, "LB|LBS",
     nullptr},
    {kKilogramsForce, "KGF", "Kilograms-force", D::kForce, {980665, 100000}, 0, 0, kPoundsForce, "",
     nullptr},
    {kNewtons, "N", "Newtons", D::kForce, kOne, 0, 0, kPoundsForce, "", nullptr},
    {kDecanewtons, "DAN", "Decanewtons", D::kForce, {10, 1}, 0, 0, kPoundsForce, "", nullptr},
    {kFeetPerHour, "FT/HR", "Feet per hour", D::kSpeed, {3048, 36000000}, 0, kMetresPerHour, 0,
     "F/HR|FT/H|F/H", nullptr},
    {kMetresPerHour, "M/HR", "Metres per hour", D::kSpeed, {1, 3600}, 0, 0, kFeetPerHour, "M/H",
     nullptr},
    {kFeetPerMinute, "FT/MIN", "Feet per minute", D::kSpeed, {3048, 600000}, 0, kMetresPerMinute,
     0, "F/MIN|F/MN|FT/MN", nullptr},
    {kMetresPerMinute, "M/MIN", "Metres per minute", D::kSpeed, {1, 60}, 0, 0, kFeetPerMinute,
     "M/MN", nullptr},
    {kFeetPerSecond, "FT/S", "Feet per second", D::kSpeed, kFoot, 0, kMetresPerSecond, 0,
     "F/S|FT/SEC", nullptr},
    {kMetresPerSecond, "M/S", "Metres per second", D::kSpeed, kOne, 0, 0, kFeetPerSecond, "M/SEC",
     nullptr},
    {kCountsPerSecond, "CPS", "Counts per second", D::kCountRate, kOne, 0, 0, 0, "C/S", nullptr},
    {kCountsPerMinute, "CPM", "Counts per minute", D::kCountRate, {1, 60}, 0, 0, 0, "", nullptr},
    {kDegrees, "DEG", "Degrees", D::kAngle, kOne, 0, 0, 0, "DEGREE|DEGREES", nullptr},
    {kNone, "NONE", "Unitless", D::kNone, kOne, 0, 0, 0, "UNITLESS", nullptr},
    {kRatio, "RATIO", "Ratio", D::kNone, kOne, 0, 0, 0, "", nullptr},
};

// Only this much of a registry file is read: more than its codes can name
// even with long lines, and a bound on what a garbage file can cost.
constexpr size_t kRegistryReadLimit = 4 << 20;
constexpr size_t kRegistryCapacity = kLastRegistryCode - kFirstRegistryCode + 1;

// The first limit bytes of a file, or a little more; "" when it cannot be read.
std::string ReadFileStart(const std::string& path, size_t limit) {
  std::ifstream file(path, std::ios::binary);
  std::string data;
  char chunk[65536];
  while (file && data.size() < limit) {
    file.read(chunk, sizeof chunk);
    data.append(chunk, static_cast<size_t>(file.gcount()));
  }
  return data;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text as remembered: control characters become blanks (a unit text is
// one line of the registry), blank runs one blank, the ends trimmed.
std::string CleanText(const std::string& text) {
  std::string clean;
  for (char c : text) {
    bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    bool blank = control || IsBlank(c);
    if (blank && (clean.empty() || clean.back() == ' ')) continue;
    clean.push_back(blank ? ' ' : c);
  }
  if (clean.size() > kUnitTextLimit) clean.resize(kUnitTextLimit);
  while (!clean.empty() && clean.back() == ' ') clean.pop_back();
  return clean;
}

std::string Key(std::string clean) {
  for (char& c : clean) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return clean;
}

UnitRatio Reduced(UnitRatio ratio) {
  int64_t divisor = std::gcd(ratio.numerator, ratio.denominator);
  return {ratio.numerator / divisor, ratio.denominator / divisor};
}

// from / to exactly; false when a product leaves 64 bits.
bool Divide(UnitRatio from, UnitRatio to, UnitRatio* quotient) {
  from = Reduced(from);
  to = Reduced(to);
  int64_t numerators = std::gcd(from.numerator, to.numerator);
  int64_t denominators = std::gcd(from.denominator, to.denominator);
  int64_t numerator = 0;
  int64_t denominator = 0;
  if (__builtin_mul_overflow(from.numerator / numerators, to.denominator / denominators,
                             &numerator) ||
      __builtin_mul_overflow(from.denominator / denominators, to.numerator / numerators,
                             &denominator)) {
    return false;
  }
  *quotient = Reduced({numerator, denominator});
  return true;
}

bool IsFiniteDecimal(int64_t denominator) {
  while (denominator % 2 == 0) denominator /= 2;
  while (denominator % 5 == 0) denominator /= 5;
  return denominator == 1;
}

double Quotient(int64_t numerator, int64_t denominator) {
  return static_cast<double>(numerator) / static_cast<double>(denominator);
}

// Multiplier and divisor for value * multiplier / divisor (see units.h).
std::pair<double, double> Scale(UnitRatio from, UnitRatio to) {
  UnitRatio ratio{};
  if (!Divide(from, to, &ratio)) {
    return {Quotient(from.numerator, from.denominator) / Quotient(to.numerator, to.denominator),
            1.0};
  }
  const auto [numerator, denominator] = ratio;
  if (IsFiniteDecimal(denominator)) return {Quotient(numerator, denominator), 1.0};
  if (IsFiniteDecimal(numerator)) return {1.0, Quotient(denominator, numerator)};
  return {static_cast<double>(numerator), static_cast<double>(denominator)};
}

}  // namespace

UnitTable::UnitTable(std::string registryFile) : registryFile_(std::move(registryFile)) {
  for (const UnitRow& row : kRows) {
    byCode_.emplace(row.code, &row);
    bySpelling_.emplace(Key(row.mnemonic), &row);
    std::string spellings = row.spellings;
    for (size_t start = 0; start < spellings.size();) {
      size_t end = std::min(spellings.find('|', start), spellings.size());
      bySpelling_.emplace(Key(spellings.substr(start, end - start)), &row);
      start = end + 1;
    }
  }
  ReadRegistry();
}

int32_t UnitTable::Code(const std::string& text) {
  std::string clean = CleanText(text);
  if (clean.empty()) return 0;
  std::string key = Key(clean);
  auto found = bySpelling_.find(key);
  if (found != bySpelling_.end()) return found->second->code;
  return Register(clean, key);
}

int32_t UnitTable::InSystem(int32_t system, int32_t code) const {
  const UnitRow* row = Row(code);
  if (row == nullptr) return code;
  int32_t equivalent = 0;
  if (system == kUnitsMetric) equivalent = row->metric;
  if (system == kUnitsImperial) equivalent = row->imperial;
  return equivalent != 0 ? equivalent : code;
}

uint32_t UnitTable::MakeConversion(int32_t from, int32_t to) {
  const UnitRow* source = Row(from);
  const UnitRow* target = Row(to);
  if (source == nullptr || target == nullptr || source->dimension != target->dimension) return 0;
  auto [known, inserted] = conversionHandles_.emplace(std::make_pair(from, to), 0);
  if (!inserted) return known->second;
  auto [multiplier, divisor] = Scale(source->factor, target->factor);
  if (multiplier == divisor && source->shift == target->shift) return 0;
  conversions_.push_back({source->shift, multiplier, divisor, -target->shift});
  known->second = static_cast<uint32_t>(conversions_.size());
  return known->second;
}

std::string UnitTable::Mnemonic(int32_t code) const {
  if (const UnitRow* row = Row(code)) return row->mnemonic;
  const std::string* text = Registered(code);
  return text != nullptr ? *text : std::string();
}

std::string UnitTable::Name(int32_t code) const {
  const UnitRow* row = Row(code);
  return row != nullptr ? row->name : Mnemonic(code);
}

std::string UnitTable::Label(int32_t code) const {
  const UnitRow* row = Row(code);
  return row != nullptr && row->label != nullptr ? row->label : Mnemonic(code);
}

UnitDimension UnitTable::Dimension(int32_t code) const {
  const UnitRow* row = Row(code);
  return row != nullptr ? row->dimension : UnitDimension::kUnknown;
}

std::span<const UnitRow> UnitTable::Entries() const { return kRows; }

const UnitRow* UnitTable::Row(int32_t code) const {
  auto found = byCode_.find(code);
  return found != byCode_.end() ? found->second : nullptr;
}

// ---------------------------------------------------------------------------
// The registry of unknown unit texts.

const std::string* UnitTable::Registered(int32_t code) const {
  if (code < kFirstRegistryCode || code > kLastRegistryCode) return nullptr;
  size_t position = static_cast<size_t>(code - kFirstRegistryCode);
  if (position >= registered_.size()) ReadRegistry();  // another process may have added it
  if (position >= registered_.size() || registered_[position].empty()) return nullptr;
  return &registered_[position];
}

int32_t UnitTable::RegisteredCode(const std::string& key) const {
  auto found = registeredCodes_.find(key);
  return found != registeredCodes_.end() ? found->second : 0;
}

// Whoever appended a text first owns its code, so after our own append the
// file is read again rather than our line assumed to be the next. Without a
// file, or when it cannot be written, the code is this process's alone.
int32_t UnitTable::Register(const std::string& text, const std::string& key) {
  if (int32_t code = RegisteredCode(key)) return code;
  if (!registryFile_.empty()) {
    ReadRegistry();
    if (int32_t code = RegisteredCode(key)) return code;
    if (registered_.size() >= kRegistryCapacity) return 0;
    if (AppendToRegistry(text)) ReadRegistry();
    if (int32_t code = RegisteredCode(key)) return code;
  }
  if (registered_.size() >= kRegistryCapacity) return 0;
  int32_t code = kFirstRegistryCode + static_cast<int32_t>(registered_.size());
  registered_.push_back(text);
  registeredCodes_.emplace(key, code);
  return code;
}

// Reads the lines past those already known. A line that names nothing
// (blank, or a text an earlier line already names) still takes its code,
// so that every process counts codes alike.
void UnitTable::ReadRegistry() const {
  if (registryFile_.empty()) return;
  std::string data = ReadFileStart(registryFile_, kRegistryReadLimit);
  size_t start = 0;
  for (size_t line = 0; registered_.size() < kRegistryCapacity; ++line) {
    size_t end = data.find('\n', start);
    if (end == std::string::npos) break;
    if (line >= registered_.size()) {
      std::string text = CleanText(data.substr(start, end - start));
      std::string key = Key(text);
      int32_t code = kFirstRegistryCode + static_cast<int32_t>(line);
      bool named = !text.empty() && registeredCodes_.emplace(key, code).second;
      registered_.push_back(named ? text : std::string());
    }
    start = end + 1;
  }
  endsInPartialLine_ = start < data.size();
}

// One write of a whole line: with O_APPEND, lines of two processes land one
// after the other, never inside each other. A torn last line left by a
// crash is closed first, so that our text starts a line of its own.
bool UnitTable::AppendToRegistry(const std::string& text) const {
  std::string line = (endsInPartialLine_ ? "\n" : "") + text + "\n";
  int descriptor = open(registryFile_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (descriptor < 0) return false;
  ssize_t written = 0;
  do {
    written = write(descriptor, line.data(), line.size());
  } while (written < 0 && errno == EINTR);
  close(descriptor);
  return written == static_cast<ssize_t>(line.size());
}

}  // namespace dorvex
