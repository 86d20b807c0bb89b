#include "tools/dorvex_las_commands.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "libs/las/curve_names.h"
#include "libs/las/database_export.h"
#include "libs/las/database_import.h"
#include "libs/las/las_lines.h"
#include "libs/las/las_number.h"
#include "tools/tool_startup.h"

namespace quillex {

using namespace dorvex;
using namespace las;

namespace {

int Fail(const std::string& message) { return ToolFail("dorvex", message); }

int Usage(const std::string& message) { return ToolUsage("dorvex", message); }

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1) {
    parts.push_back(text.substr(start, end - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

// /L1/L2/L3/SET: four components of 1 to 10 characters.
bool IsSetPath(const std::string& path) {
  std::vector<std::string> components;
  for (const std::string& part : Split(path, '/')) {
    if (!part.empty()) components.push_back(part);
  }
  for (const std::string& component : components) {
    if (component.size() > kLasNameLimit || component == "*") return false;
  }
  return components.size() == 4;
}

bool ReadPass(const LasCommand& command, int32_t* pass) {
  auto found = command.options.find("--pass");
  if (found == command.options.end()) return true;
  const std::string& text = found->second;
  if (text.empty() || text.size() > 9 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  *pass = std::stoi(text);
  return *pass >= 1;
}

bool ReadStep(const LasCommand& command, double* step) {
  auto found = command.options.find("--step");
  return found == command.options.end() || (ReadLasNumber(found->second, step) && *step > 0);
}

bool ReadWhole(const std::string& file, std::string* text) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes beside the file and renames over it, so that a failed write leaves
// no half file behind (and an older file as it was).
bool WriteWhole(const std::string& file, const std::string& text) {
  std::string temporary = file + ".XXXXXX";
  int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) return false;
  mode_t mask = ::umask(0);  // read it: mkstemp's 0600 is too strict for a file to share
  ::umask(mask);
  ::fchmod(descriptor, 0666 & ~mask);
  bool written = ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  written = ::close(descriptor) == 0 && written;
  if (written && std::rename(temporary.c_str(), file.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

std::string Where(const std::string& file, int32_t line) {
  return line > 0 ? file + ":" + std::to_string(line) : file;
}

int Open(DorvexLibrary& library, const LasCommand& command, uint32_t* database) {
  if (DorvexOpenDatabase(library, command.databaseFile, 0, database) != 0) {
    return Fail("cannot open database " + command.database + " (" + command.databaseFile +
                "): missing, unreadable or not a log database");
  }
  return kExitSuccess;
}

std::string Curves(size_t count) {
  return std::to_string(count) + (count == 1 ? " curve" : " curves");
}

void PrintNotes(const std::string& file, const std::vector<LasProblem>& notes) {
  for (const LasProblem& note : notes) {
    std::fprintf(stderr, "dorvex: %s: warning: %s\n", Where(file, note.line).c_str(),
                 note.message.c_str());
  }
}

// The data set path, --null and --curves; an empty message means they are good.
std::string ReadExportOptions(const LasCommand& command, LasExportOptions* options) {
  if (!IsSetPath(command.path)) {
    return "export-las needs NAME:/L1/L2/L3/SET, four components of at most 10 characters";
  }
  options->wrapped = command.wrap;
  double null = 0;
  if (auto found = command.options.find("--null"); found != command.options.end()) {
    if (!ReadLasNumber(found->second, &null)) return "--null takes a number";
    options->null = LasNumberText(null);
  }
  if (auto found = command.options.find("--curves"); found != command.options.end()) {
    for (const std::string& name : Split(found->second, ',')) {
      options->curves.emplace_back(TrimLas(name));
      if (options->curves.back().empty()) return "--curves takes curve names between commas";
    }
  }
  return "";
}

// The data set path, --pass and --step; an empty message means they are good.
std::string ReadImportOptions(const LasCommand& command, LasImportOptions* options) {
  if (!IsSetPath(command.path)) {
    return "import-las needs NAME:/L1/L2/L3/SET, four components of at most 10 characters";
  }
  if (!ReadPass(command, &options->pass)) return "--pass takes a whole number from 1";
  if (!ReadStep(command, &options->step)) return "--step takes a depth or time above 0";
  return "";
}

}  // namespace

int ImportLasCommand(DorvexLibrary& library, const LasCommand& command) {
  LasImportOptions options;
  if (std::string problem = ReadImportOptions(command, &options); !problem.empty()) {
    return Usage(problem);
  }
  std::string text;
  if (!ReadWhole(command.file, &text)) return Fail("cannot read " + command.file);
  uint32_t database = 0;
  if (int status = Open(library, command, &database); status != kExitSuccess) return status;
  LasImportResult result;
  if (ImportLas(library, database, text, command.path, options, &result) != 0) {
    return Fail(Where(command.file, result.error.line) + ": " + result.error.message +
                "; nothing written");
  }
  PrintNotes(command.file, result.notes);
  std::printf("%s of %lld samples imported from %s to %s, pass %d\n", Curves(result.curves).c_str(),
              static_cast<long long>(result.grid.count), command.file.c_str(), command.path.c_str(),
              options.pass);
  return kExitSuccess;
}

int ExportLasCommand(DorvexLibrary& library, const LasCommand& command) {
  LasExportOptions options;
  if (std::string problem = ReadExportOptions(command, &options); !problem.empty()) {
    return Usage(problem);
  }
  uint32_t database = 0;
  if (int status = Open(library, command, &database); status != kExitSuccess) return status;
  LasExportResult result;
  if (ExportLas(library, database, command.path, options, &result) != 0) {
    return Fail(result.error + "; nothing written");
  }
  if (!WriteWhole(command.file, result.text)) {
    return Fail("cannot write " + command.file + "; nothing written");
  }
  std::printf("%s of %lld samples written to %s\n", Curves(result.curves).c_str(),
              static_cast<long long>(result.count), command.file.c_str());
  return kExitSuccess;
}

}  // namespace quillex
