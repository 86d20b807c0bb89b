#include "libs/las/database_export.h"

#include <limits>

#include "libs/dorvex/curve_info.h"
#include "libs/las/curve_description.h"
#include "libs/las/database_selection.h"
#include "libs/las/index_unit.h"
#include "libs/las/las_lines.h"
#include "libs/las/las_reader.h"
#include "libs/las/las_writer.h"

namespace las {

using namespace dorvex;

namespace {

struct Export {
  DorvexLibrary& library;
  uint32_t database;
  const LasExportOptions& options;
  LasSelection selection;
  LasFile header;  // the data set's LAS header; empty when it keeps none
  LasOutput output;
};

// Reads a curve onto the common grid; its description comes with it.
bool ReadColumn(Export& e, const DorvexItem& item, std::string* description) {
  const LasGrid& grid = e.selection.grid;
  e.output.columns.emplace_back(static_cast<size_t>(grid.count),
                                std::numeric_limits<float>::quiet_NaN());
  CurveInfo info = EmptyCurveInfo();
  uint32_t curve = 0;
  if (DorvexOpenCurve(e.library, e.database, item.path, &curve, kDorvexRead, &info) != 0) {
    return false;
  }
  *description = DescriptionOf(info);
  size_t offset = static_cast<size_t>((item.top - grid.top) / grid.step);
  int result = item.count == 0
                   ? 0
                   : DorvexReadSamples(e.library, curve, item.top, static_cast<int32_t>(item.count),
                                       e.output.columns.back().data() + offset);
  // A curve that was only read has nothing to store when it is closed.
  static_cast<void>(DorvexCloseCurve(e.library, curve));
  return result == 0;
}

LasHeaderLine CurveLine(Export& e, size_t n, const std::string& description) {
  const DorvexItem& item = e.selection.curves[n];
  LasHeaderLine line;
  if (!CurveFromDescription(description, &line)) {
    line = LasHeaderLine();
    line.mnemonic = e.selection.names[n];
    line.description = description;
  }
  line.unit = DorvexUnits(e.library).Mnemonic(item.units);
  return line;
}

bool ReadCurves(Export& e, std::string* error) {
  for (size_t n = 0; n < e.selection.curves.size(); ++n) {
    std::string description;
    if (!ReadColumn(e, e.selection.curves[n], &description)) {
      *error = "cannot read the curve " + e.selection.curves[n].path;
      return false;
    }
    e.output.curves.push_back(CurveLine(e, n, description));
  }
  return true;
}

void ReadHeader(Export& e) {
  std::string title;
  std::string bytes;
  LasProblem ignored;
  if (e.selection.headerPath.empty() ||
      DorvexReadFile(e.library, e.database, e.selection.headerPath, &title, &bytes) != 0 ||
      !ReadLasHeader(bytes, &e.header, &ignored)) {
    e.header = LasFile();
  }
}

// The header's index unit when it is of the data's kind, else the settings'.
const LasIndexUnit& IndexUnit(Export& e) {
  const LasIndexUnit* unit = nullptr;
  if (!e.header.curves.empty()) unit = FindIndexUnit(e.header.curves.front().unit);
  const LasHeaderLine* start = e.header.FindWell("STRT");
  if (unit == nullptr && start != nullptr) unit = FindIndexUnit(start->unit);
  if (unit != nullptr && unit->time == e.selection.time) return *unit;
  bool metric = DorvexGetSetting(e.library, setting::kMetricDepth).number == 1;
  return DefaultIndexUnit(e.selection.time, metric);
}

LasHeaderLine IndexLine(Export& e, const LasIndexUnit& unit) {
  LasHeaderLine line;
  if (!e.header.curves.empty()) line = e.header.curves.front();
  if (line.mnemonic.empty())
    line = {e.selection.time ? "TIME" : "DEPT", "", "", e.selection.time ? "TIME" : "DEPTH"};
  line.unit = unit.mnemonic;
  return line;
}

bool IsRange(const std::string& mnemonic) {
  for (const char* name : {"STRT", "STOP", "STEP", "NULL"}) {
    if (SameLasText(mnemonic, name)) return true;
  }
  return false;
}

bool Present(const std::vector<LasHeaderLine>& lines, std::initializer_list<const char*> names) {
  for (const LasHeaderLine& line : lines) {
    for (const char* name : names) {
      if (SameLasText(line.mnemonic, name)) return true;
    }
  }
  return false;
}

// The ~W lines the standard requires, empty where the header lacks them.
void RequiredLines(Export& e) {
  struct Required {
    std::initializer_list<const char*> names;
    const char* description;
  };
  const Required required[] = {{{"COMP"}, "COMPANY"},
                               {{"WELL"}, "WELL"},
                               {{"FLD"}, "FIELD"},
                               {{"LOC"}, "LOCATION"},
                               {{"PROV", "CNTY", "STAT", "CTRY"}, "PROVINCE"},
                               {{"SRVC"}, "SERVICE COMPANY"},
                               {{"DATE"}, "LOG DATE"},
                               {{"UWI", "API"}, "UNIQUE WELL ID"}};
  for (const Required& each : required) {
    if (!Present(e.output.well, each.names)) {
      e.output.well.push_back({*each.names.begin(), "", "", each.description});
    }
  }
}

// The header's ~W lines after the range, and the required ones it lacks.
void WellLines(Export& e) {
  for (LasHeaderLine line : e.header.well) {
    if (IsRange(line.mnemonic)) continue;
    if (e.header.IsVersion12()) std::swap(line.value, line.description);
    e.output.well.push_back(line);
  }
  RequiredLines(e);
}

bool RangeLines(Export& e, std::string* error) {
  const LasIndexUnit& unit = IndexUnit(e);
  const LasGrid& grid = e.selection.grid;
  if (!FindDecimalGrid(grid.top, grid.step, grid.count, unit, &e.output.index)) {
    *error = "the index cannot be written as exact decimals";
    return false;
  }
  LasDecimalGrid step{e.output.index.decimals, e.output.index.step, 0};
  const char* what = e.selection.time ? "TIME" : "DEPTH";
  e.output.well = {
      {"STRT", unit.mnemonic, DecimalText(e.output.index, 0), std::string("START ") + what},
      {"STOP", unit.mnemonic, DecimalText(e.output.index, grid.count - 1),
       std::string("STOP ") + what},
      {"STEP", unit.mnemonic, DecimalText(step, 0), "STEP"},
      {"NULL", "", e.options.null, "NULL VALUE"}};
  e.output.curves = {IndexLine(e, unit)};
  return true;
}

void OtherLines(Export& e) {
  e.output.parameters = e.header.parameters;
  e.output.other = e.header.other;
  while (!e.output.other.empty() && TrimLas(e.output.other.back()).empty()) {
    e.output.other.pop_back();
  }
}

}  // namespace

int ExportLas(DorvexLibrary& library, uint32_t database, const std::string& setPath,
              const LasExportOptions& options, LasExportResult* result) {
  *result = LasExportResult();
  Export e{library, database, options, {}, {}, {}};
  if (!SelectCurves(library, database, setPath, options.curves, &e.selection, &result->error)) {
    return kDorvexFailed;
  }
  ReadHeader(e);
  if (!RangeLines(e, &result->error) || !ReadCurves(e, &result->error)) return kDorvexFailed;
  WellLines(e);
  OtherLines(e);
  e.output.count = e.selection.grid.count;
  e.output.null = options.null;
  e.output.wrapped = options.wrapped;
  result->text = WriteLas(e.output);
  result->curves = e.output.columns.size();
  result->count = e.output.count;
  return 0;
}

}  // namespace las
