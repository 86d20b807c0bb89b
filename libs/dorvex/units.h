// Units of well logs: one const table of the units LAS files use, plus a
// registry of the unit texts nobody foresaw.
//
// Each row gives the mnemonic as LAS files write it, the name shown to the
// user, a code, a dimension and the way to that dimension's base unit:
// base = (value + shift) * factor. The factor is an exact ratio of two whole
// numbers (a foot is 3048/10000 m, a psi 44482216152605/6451600000000 kPa),
// so a conversion is worked out exactly first and rounded to double once, at
// the end. The arithmetic then follows the published definitions: where the
// ratio is a finite decimal, the value is multiplied by it (feet to metres
// by 0.3048); where only its reciprocal is one, the value is divided by
// that (metres to feet by 0.3048, Fahrenheit to Celsius by 1.8) rather than
// multiplied by a rounded reciprocal; any other ratio (psi to kPa)
// multiplies by its numerator and divides by its denominator, which is
// correctly rounded whenever the product is exact. The price is a few
// branches when a conversion is made, none when it is applied.
//
// Codes are small and fixed: the table uses codes below kFirstRegistryCode
// (the program relies on feet 62, metres 63, seconds 70). A unit text the
// table does not know gets the next registry code and converts one to one.
// The registry is a text file of one unit text a line, whose code is
// kFirstRegistryCode plus the line number; processes only ever append whole
// lines with O_APPEND, and after appending re-read the file, so that when
// two processes race, both take the code of the first line naming the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace dorvex {

enum class UnitDimension : int8_t {
  kUnknown,  // code 0, registry codes and codes nobody gave out
  kNone,     // no physical dimension, and nothing to convert
  kFraction, // porosity and saturation: base V/V
  kLength,   // base M
  kTime,     // base S
  kSpeed,    // base M/S
  kSlowness, // sonic: base US/M
  kGammaRay,
  kResistivity,
  kConductivity,
  kDensity,  // base KG/M3
  kPhotoelectric,
  kPotential,  // base MV
  kTemperature,  // base DEGC
  kPressure,     // base KPA
  kForce,        // base N
  kCountRate,    // base CPS
  kAngle,
};

// An exact ratio of whole numbers, both positive.
struct UnitRatio {
  int64_t numerator;
  int64_t denominator;
};

struct UnitRow {
  int32_t code;
  const char* mnemonic;  // as written in LAS and job files
  const char* name;      // shown to the user; unique, the unit list finds codes by it
  UnitDimension dimension;
  UnitRatio factor;      // base = (value + shift) * factor
  double shift;
  int32_t metric;        // equivalent in each system; 0 = the unit itself
  int32_t imperial;
  const char* spellings; // other ways files write it, "|" between them
  const char* label;     // shown behind depth and time fields; nullptr = mnemonic
};

constexpr int32_t kUnitFeet = 62;
constexpr int32_t kUnitMetres = 63;
constexpr int32_t kUnitSeconds = 70;

// Registry codes stay below 32768, so that even a reader that takes the
// 16-bit unit word of a CurveInfo as signed sees a positive code.
constexpr int32_t kFirstRegistryCode = 1000;
constexpr int32_t kLastRegistryCode = 32767;
// No unit mnemonic is longer; the cap keeps a registry line far below the
// size an O_APPEND write is known to land in one piece.
constexpr size_t kUnitTextLimit = 64;

// Unit systems of InSystem.
constexpr int32_t kUnitsAsStored = 0;
constexpr int32_t kUnitsMetric = 1;
constexpr int32_t kUnitsImperial = 2;

class UnitTable {
 public:
  // registryFile "" keeps unknown unit texts in memory only.
  explicit UnitTable(std::string registryFile = "");

  // 0 for blank text; a table code for a mnemonic or spelling in any case;
  // otherwise the text's registry code (0 only when the registry is full).
  int32_t Code(const std::string& text);
  int32_t InSystem(int32_t system, int32_t code) const;

  // A handle for Convert; 0 (one to one) when there is nothing to convert
  // or nothing known to convert by. The same pair gives the same handle.
  uint32_t MakeConversion(int32_t from, int32_t to);
  double Convert(double value, uint32_t conversion) const {
    if (conversion == 0 || conversion > conversions_.size()) return value;
    const Conversion& c = conversions_[conversion - 1];
    return (value + c.shiftIn) * c.multiplier / c.divisor + c.shiftOut;
  }

  // Texts of a code: "" for 0 and codes nobody gave out. For a registry code
  // the text as first registered stands in for mnemonic, name and label.
  std::string Mnemonic(int32_t code) const;
  std::string Name(int32_t code) const;
  std::string Label(int32_t code) const;
  UnitDimension Dimension(int32_t code) const;

  // The table rows in the order the unit list shows them.
  std::span<const UnitRow> Entries() const;

 private:
  // value * multiplier / divisor: one of the two is 1 unless neither the
  // ratio nor its reciprocal is a finite decimal.
  struct Conversion {
    double shiftIn;
    double multiplier;
    double divisor;
    double shiftOut;
  };

  const UnitRow* Row(int32_t code) const;
  const std::string* Registered(int32_t code) const;
  int32_t Register(const std::string& text, const std::string& key);
  void ReadRegistry() const;
  bool AppendToRegistry(const std::string& text) const;
  int32_t RegisteredCode(const std::string& key) const;

  std::unordered_map<std::string, const UnitRow*> bySpelling_;
  std::unordered_map<int32_t, const UnitRow*> byCode_;
  std::vector<Conversion> conversions_;
  std::map<std::pair<int32_t, int32_t>, uint32_t> conversionHandles_;

  // The file is the registry; these members cache what has been read of it,
  // so const lookups may read more. A code once given never changes meaning
  // within the process, even if the file is replaced under it.
  std::string registryFile_;
  mutable std::vector<std::string> registered_;  // by code - kFirstRegistryCode; "" = no text
  mutable std::unordered_map<std::string, int32_t> registeredCodes_;  // by key
  mutable bool endsInPartialLine_ = false;
};

}  // namespace dorvex
