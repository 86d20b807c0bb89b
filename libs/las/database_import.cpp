#include "libs/las/database_import.h"

#include <cstdio>
#include <fstream>

#include "libs/dorvex/curve_info.h"
#include "libs/las/curve_description.h"
#include "libs/las/curve_names.h"
#include "libs/las/las_reader.h"
#include "libs/las/las_samples.h"

namespace las {

using namespace dorvex;

namespace {

// What one import writes.
struct Import {
  DorvexLibrary& library;
  uint32_t database;
  const std::string& setPath;
  std::string pass;
  const LasFile& file;
  const LasCurveSet& set;
  LasProblem* error;
};

bool Refuse(Import& import, int32_t line, const std::string& message) {
  *import.error = {line, message};
  return false;
}

bool WriteCurve(Import& import, size_t column, const std::string& name) {
  const LasHeaderLine& line = import.file.curves[column + 1];
  const LasGrid& grid = import.set.grid;
  std::string path = import.setPath + "/" + name + "/" + import.pass;
  int32_t bottom = grid.top + static_cast<int32_t>(grid.count - 1) * grid.step;
  CurveInfo info =
      SampleCurveInfo(DescribeCurve(line), 0, import.set.unit->time,
                      DorvexUnitCode(import.library, line.unit), grid.top, bottom, grid.step);
  uint32_t curve = 0;
  if (DorvexCreateCurve(import.library, import.database, path, sizeof info, &info) != 0 ||
      DorvexOpenCurve(import.library, import.database, path, &curve, kDorvexWrite, nullptr) != 0) {
    return Refuse(import, line.line, "cannot create the curve " + path + ": it exists");
  }
  int written =
      DorvexWriteSamples(import.library, curve, grid.top, static_cast<int32_t>(grid.count),
                         import.set.columns[column].data());
  int closed = DorvexCloseCurve(import.library, curve);
  if (written == 0 && closed == 0) return true;
  std::string reason = DorvexLastError(import.library);
  return Refuse(import, line.line,
                "cannot write the samples of " + path + (reason.empty() ? "" : ": " + reason));
}

bool WriteCurves(Import& import) {
  std::vector<std::string> mnemonics;
  for (size_t c = 1; c < import.file.curves.size(); ++c) {
    mnemonics.push_back(import.file.curves[c].mnemonic);
  }
  std::vector<std::string> names = CurveItemNames(mnemonics);
  for (size_t c = 0; c < names.size(); ++c) {
    if (!WriteCurve(import, c, names[c])) return false;
  }
  return true;
}

// The header goes through a temporary file, as the library stores files.
bool StoreHeader(Import& import) {
  std::string path = import.setPath + "/" + kLasHeaderName + "/" + import.pass;
  std::vector<DorvexItem> existing;
  if (DorvexListItems(import.library, import.database, path, &existing) == 0) {
    return Refuse(import, 0,
                  "a LAS header is kept at " + path +
                      " already: import with "
                      "another --pass");
  }
  std::string temporary = DorvexTempFileName(import.library);
  bool written = !temporary.empty() && static_cast<bool>(std::ofstream(temporary, std::ios::binary)
                                                         << import.file.header);
  bool stored = written && DorvexStoreFile(import.library, import.database, 0, temporary, path,
                                           "LAS header") == 0;
  if (!temporary.empty()) std::remove(temporary.c_str());
  return stored || Refuse(import, 0, "cannot keep the header at " + path);
}

bool Write(Import& import) {
  if (DorvexBeginBatch(import.library, import.database) != 0) {
    return Refuse(import, 0, "cannot begin a batch: the database is busy or cannot be written");
  }
  if (!WriteCurves(import) || !StoreHeader(import)) {
    // A rollback cannot fail in a way that keeps anything.
    static_cast<void>(DorvexEndBatch(import.library, import.database, false));
    return false;
  }
  return DorvexEndBatch(import.library, import.database, true) == 0 ||
         Refuse(import, 0, "the database refused the commit: " + DorvexLastError(import.library));
}

LasSampleOptions SampleOptions(DorvexLibrary& library, const LasImportOptions& options) {
  LasSampleOptions sample;
  sample.step = options.step;
  bool metric = DorvexGetSetting(library, setting::kMetricDepth).number == 1;
  sample.depthIndexPerUnit = metric ? 19685 : 6000;
  return sample;
}

}  // namespace

int ImportLas(DorvexLibrary& library, uint32_t database, std::string_view text,
              const std::string& setPath, const LasImportOptions& options,
              LasImportResult* result) {
  *result = LasImportResult();
  LasFile file;
  LasCurveSet set;
  if (!ReadLas(text, &file, &result->error) ||
      !PlaceSamples(file, SampleOptions(library, options), &set, &result->error)) {
    return kDorvexFailed;
  }
  result->notes = set.notes;
  Import import{library, database, setPath,       std::to_string(options.pass),
                file,    set,      &result->error};
  if (!Write(import)) return kDorvexFailed;
  result->curves = set.columns.size();
  result->grid = set.grid;
  return 0;
}

}  // namespace las
