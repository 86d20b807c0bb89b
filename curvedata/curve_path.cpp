#include "curvedata/curve_path.h"

#include "curvedata/context.h"
#include "model/message_box.h"

namespace quillex {

namespace {

constexpr const char* kPathNameErrorCaption = "Path Name Error:";

}  // namespace

std::string PathComponent(const std::string& path, int32_t n) {
  std::string scanned = path.substr(0, kPathScanLimit);
  size_t start = scanned.find_first_not_of('/');
  for (int32_t skipped = 0; start != std::string::npos && skipped < n; ++skipped) {
    start = scanned.find_first_not_of('/', scanned.find('/', start));
  }
  if (n < 0 || start == std::string::npos) return "";
  size_t length = scanned.find('/', start) - start;
  return scanned.substr(start, std::min(length, kPathComponentLimit));
}

std::string BaseName(const std::string& filePath) {
  size_t folderEnd = filePath.find_last_of("\\/");
  return folderEnd == std::string::npos ? filePath : filePath.substr(folderEnd + 1);
}

std::string FormatSourceLabel(Context& /*context*/, const std::string& databaseFile,
                              const std::string& path) {
  std::string name;
  corutil::CorutilSplitPath(databaseFile, 0, 0, &name, 0);
  std::string label = name + ": " + path;
  if (label.size() < 3) return "";
  if (label.back() == '*') label.erase(label.size() - 2);
  return label;
}

void ParseSourceLabel(Context& context, const std::string& text, std::string* databaseFile,
                      std::string* path) {
  databaseFile->clear();
  path->clear();
  std::string label = text;
  if (TrimSpaces(label).empty()) return;
  size_t colon = label.find(':');
  if (colon == std::string::npos) {
    Screen& screen = context.screen;
    screen.MessageBox(label, kPathNameErrorCaption, box::kTaskModal, screen.HasMainWindow());
    return;
  }
  *databaseFile = dorvex::DorvexDatabaseFile(context.dorvex, label.substr(0, colon));
  *path = label.substr(colon + 1);
  TrimSpaces(*path);
}

std::string OutputCurvePath(const std::string& dataSet, const std::string& outputName) {
  return dataSet + "/" + outputName + "/1";
}

std::string SettingsItemPath(const std::string& dataSet) { return dataSet + "/_defaults_/1"; }

std::string InputCurvePath(const std::string& dataSet, const std::string& variableName) {
  return dataSet + "/" + variableName + "/*";
}

}  // namespace quillex
