#include "curvedata/stored_report.h"

#include <filesystem>
#include <fstream>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "model/message_box.h"

namespace quillex {

ReportStore StoreReport(Context& context, const std::string& text) {
  dorvex::DorvexLibrary& dorvex = context.dorvex;
  const DataSource& destination = context.job.destination;
  std::string file = dorvex::DorvexTempFileName(dorvex);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  std::error_code ignored;
  if (file.empty() || !out) {
    context.screen.MessageBox(FormatSourceLabel(context, destination.database, destination.path),
                              "Unable to create file for results", box::kOk,
                              context.screen.HasMainWindow());
    if (!file.empty()) std::filesystem::remove(file, ignored);
    return ReportStore::kNoFile;
  }
  uint32_t database = 0;
  ReportStore stored = ReportStore::kStored;
  if (dorvex::DorvexOpenDatabase(dorvex, destination.database, 0, &database) != 0) {
    context.screen.MessageBox(destination.database, "Problem opening database", box::kOk,
                              context.screen.HasMainWindow());
    stored = ReportStore::kNoDatabase;
  } else {
    if (dorvex::DorvexStoreFile(dorvex, database, 0, file, destination.path, "Quillex Report") !=
        0) {
      ErrorBox(context.screen, "Unable to store the report in " +
                                   FormatSourceLabel(context, destination.database,
                                                     destination.path) +
                                   ": " + dorvex::DorvexLastError(dorvex));
      stored = ReportStore::kNotStored;
    }
    dorvex::DorvexCloseDatabase(dorvex, database);
  }
  std::filesystem::remove(file, ignored);
  return stored;
}

}  // namespace quillex
