// libFuzzer target for the LAS reader. Each input is a file. Whatever it
// holds, reading must not overrun, and a file that reads and places must
// survive the trip an export makes: written as LAS 2.0 with its index as
// exact decimals, it must read again, and place on the same grid with the
// same values, NaN for NaN, and with nothing more to say about its depths.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "libs/las/decimal_grid.h"
#include "libs/las/las_reader.h"
#include "libs/las/las_samples.h"
#include "libs/las/las_writer.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "las fuzz: %s\n", what);
  std::abort();
}

// What an export writes for the curves: the same index mnemonic, its unit
// the one the depths are written in.
LasOutput Written(const LasFile& file, const LasCurveSet& set) {
  LasOutput output;
  Check(FindDecimalGrid(set.grid.top, set.grid.step, set.grid.count, *set.unit, &output.index),
        "no exact decimal grid");
  output.count = set.grid.count;
  LasDecimalGrid step{output.index.decimals, output.index.step, 0};
  const char* unit = set.unit->mnemonic;
  output.well = {{"STRT", unit, DecimalText(output.index, 0), "START"},
                 {"STOP", unit, DecimalText(output.index, set.grid.count - 1), "STOP"},
                 {"STEP", unit, DecimalText(step, 0), "STEP"},
                 {"NULL", "", "-999.25", "NULL VALUE"}};
  output.curves = file.curves;
  output.curves[0].unit = unit;
  output.columns = set.columns;
  output.wrapped = file.wrapped;
  return output;
}

// A value the file reads back: written values equal to a NULL read as missing.
bool SameValue(float written, float read) {
  bool null = written == -999.25F || written == -9999.0F || written == -99999.0F;
  return std::isnan(read) ? std::isnan(written) || null : read == written;
}

void CheckRoundTrip(const LasFile& file, const LasCurveSet& set) {
  std::string text = WriteLas(Written(file, set));
  LasFile again;
  LasCurveSet placed;
  LasProblem problem;
  Check(ReadLas(text, &again, &problem), "a written file does not read");
  Check(PlaceSamples(again, {}, &placed, &problem), "a written file does not place");
  Check(placed.grid.top == set.grid.top && placed.grid.step == set.grid.step &&
            placed.grid.count == set.grid.count,
        "a written file places on another grid");
  Check(placed.unit == set.unit, "a written file has another index unit");
  for (size_t c = 0; c < set.columns.size(); ++c) {
    for (size_t j = 0; j < set.columns[c].size(); ++j) {
      Check(SameValue(set.columns[c][j], placed.columns[c][j]), "a value changed");
    }
  }
  for (const LasProblem& note : placed.notes) {
    bool moved = note.message.find("resampled") != std::string::npos ||
                 note.message.find("placed on") != std::string::npos;
    Check(!moved, "written depths moved");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  LasFile file;
  LasProblem problem;
  ReadLasHeader(text, &file, &problem);
  if (!ReadLas(text, &file, &problem)) return 0;
  Check(file.values.size() == file.Rows() * file.Width(), "rows and values disagree");
  LasCurveSet set;
  if (!PlaceSamples(file, {}, &set, &problem)) return 0;
  Check(set.grid.step >= 1 && set.grid.step <= 65535 && set.grid.count >= 1, "a bad grid");
  Check(set.columns.size() + 1 == file.Width(), "a curve lost");
  for (const auto& column : set.columns) {
    Check(column.size() == static_cast<size_t>(set.grid.count), "a column off the grid");
  }
  CheckRoundTrip(file, set);
  return 0;
}
