#include "jobfile/job_file.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "curvedata/job_fields.h"
#include "formula/compiler.h"
#include "formula/filters.h"
#include "formula/number_text.h"
#include "libs/profile/profile.h"
#include "model/controls.h"
#include "model/job_list.h"

namespace quillex {

using profile::GetPrivateProfileInt;
using profile::GetPrivateProfileString;
using profile::ReadProfileString;
using profile::ProfileSectionNames;
using profile::WritePrivateProfileString;

namespace {

bool IsInput(const VariableBinding& node) {
  return node.kind == kNodeInput || node.kind == kNodeSingleValue;
}

std::string Section(int number) { return std::to_string(number); }

void Write(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value) {
  WritePrivateProfileString(section, key, value, file);
}

// A field as it can be read back: the reader splits at commas and skips
// empty fields, so a comma becomes ";" and an empty field a single blank
// (either would shift every later field).
std::string Field(std::string text) {
  for (char& c : text) {
    if (c == ',') c = ';';
  }
  return text.empty() ? " " : text;
}

std::vector<std::string> SplitAtCommas(const std::string& line) {
  std::vector<std::string> tokens;
  size_t start = 0;
  while (start < line.size()) {
    size_t comma = line.find(',', start);
    if (comma == std::string::npos) comma = line.size();
    if (comma > start) tokens.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  return tokens;
}

void WriteRecordTo(Context& context, const OutputDef& output, ProfileWriteBatch& batch) {
  batch.Write("Job", "Option", std::to_string(context.job.runOption));
  std::string section = Section(OutputNumber(context.job, &output));
  batch.Write(section, std::nullopt, std::nullopt);
  batch.Write(section, "output", OutputRecordLine(context, output));
  batch.Write(section, "formula", output.formula);
  for (const auto& node : output.variables) {
    if (!IsInput(*node)) continue;
    batch.Write(section, node->name + "units", UnitText(context, node->units));
    batch.Write(section, node->name + "path", FormatSourceLabel(context, node->database, node->path));
  }
}

// The job folder holds job files named without a folder.
std::string InJobFolder(Context& context, const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  return dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kSettingsFolder).text + path;
}

std::string ReadPresentation(const ProfileReader& file) {
  std::string name = file.Read("0", "format", "", kFormatLimit);
  if (!name.empty() && name.size() <= 8 && name.find('.') == std::string::npos) name += ".PRS";
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

// Makes the output of one "output" line; false when the line holds no token.
bool ReadOutput(Context& context, const ProfileReader& file, int number) {
  std::string section = Section(number);
  std::vector<std::string> tokens =
      SplitAtCommas(file.Read(section, "output", "", kRecordLimit));
  if (tokens.empty()) return false;
  auto made = std::make_unique<OutputDef>();
  made->name = tokens[0].substr(0, kOutputNameLimit);
  if (tokens.size() > 1) made->units = dorvex::DorvexUnitCode(context.dorvex, tokens[1]);
  if (tokens.size() > 2) made->dataId = static_cast<uint32_t>(std::max(0, std::atoi(tokens[2].c_str())));
  if (tokens.size() > 3) made->description = tokens[3];
  if (tokens.size() > 4) made->step = std::atoi(tokens[4].c_str());
  made->formula = file.Read(section, "formula", "", kRecordLimit);
  OutputDef& output = AppendOutput(context.job, std::move(made));
  ResetCompiledFormula(context, &output);
  if (CompileFormula(context, output.formula, output.compiled, output) == 0) {
    ResetCompiledFormula(context, &output);
  }
  // The node keys are not read here: a run and the editor read them back
  // from the file when they need them.
  return true;
}

}  // namespace

std::string OutputRecordLine(Context& context, const OutputDef& output) {
  char numbers[2][16];
  std::snprintf(numbers[0], sizeof numbers[0], "%d", static_cast<int>(output.dataId));
  std::snprintf(numbers[1], sizeof numbers[1], "%d", output.step);
  return Field(output.name) + "," + Field(UnitText(context, output.units)) + "," + numbers[0] +
         "," + Field(output.description) + "," + numbers[1];
}

void WriteOutputRecord(Context& context, const OutputDef& output) {
  ProfileWriteBatch batch(context.job.filePath);
  WriteRecordTo(context, output, batch);
  batch.Commit();
}

void WriteOutputRecord(Context& context, const OutputDef& output, ProfileWriteBatch& batch) {
  WriteRecordTo(context, output, batch);
}

void WritePathKeys(Context& context, const OutputDef& output, int section) {
  ProfileWriteBatch batch(context.job.filePath);
  for (const auto& node : output.variables) {
    if (node->kind != kNodeInput) continue;
    batch.Write(Section(section), node->name + "path",
                FormatSourceLabel(context, node->database, node->path));
  }
  batch.Commit();
}

bool LoadJob(Context& context) {
  Job& job = context.job;
  ReleaseAllOutputs(context.filters, job);
  job.nextControlId = kFirstGridControlId;
  if (job.filePath.empty()) {
    context.screen.SetText(control::kJobTitle, "");
    return false;
  }
  job.filePath = FindFileIgnoringCase(InJobFolder(context, job.filePath));
  const std::string& file = job.filePath;
  ApplyRunOption(context, GetPrivateProfileInt("Job", "Option", 0, file) == 1 ? kGenerateReport
                                                                              : kGenerateCurves);
  ProfileReader reader(file);
  job.presentation = ReadPresentation(reader);
  context.screen.SetText(control::kPresentation, job.presentation);
  std::string scale = reader.Read("0", "scale", "", kScaleLimit);
  context.screen.SetText(control::kScale, scale);
  if (double value = ReadLeadingNumber(scale); value != 0.0) job.scale = value;
  for (int number = 1; ReadOutput(context, reader, number); ++number) {
  }
  context.screen.SetText(control::kJobTitle, file);
  return true;
}

void ClearInputPaths(Context& context) {
  ProfileWriteBatch batch(context.job.filePath);
  for (const auto& output : context.job.outputs) {
    std::string section = Section(OutputNumber(context.job, output.get()));
    for (const auto& node : output->variables) {
      if (node->kind != kNodeInput) continue;
      batch.Write(section, node->name + "path", "");
      node->database.clear();
      node->path.clear();
    }
  }
  batch.Commit();
}

void ReadNodeBindings(Context& context, const OutputDef& output, VariableBinding& node) {
  ReadNodeBindings(context, ProfileReader(context.job.filePath), output, node);
}

void ReadNodeBindings(Context& context, const ProfileReader& file, const OutputDef& output,
                      VariableBinding& node) {
  std::string section = Section(OutputNumber(context.job, &output));
  node.units = dorvex::DorvexUnitCode(context.dorvex, file.Read(section, node.name + "units", "", kRecordLimit));
  ParseSourceLabel(context, file.Read(section, node.name + "path", "", kRecordLimit),
                   &node.database, &node.path);
}

void DeleteOutputSection(Context& context, int number) {
  const std::string& file = context.job.filePath;
  WritePrivateProfileString(Section(number), std::nullopt, std::nullopt, file);
  for (int k = number + 1;; ++k) {
    std::string keyList(kKeyListLimit + 1, '\0');
    uint32_t length = GetPrivateProfileString(Section(k), std::nullopt, "", keyList.data(),
                                               kKeyListLimit + 1, file);
    if (length == 0) break;
    for (size_t at = 0; at < length && keyList[at] != '\0'; at = keyList.find('\0', at) + 1) {
      std::string key = keyList.c_str() + at;
      Write(file, Section(k - 1), key, ReadProfileString(file, Section(k), key, "", kCopyLimit));
    }
    WritePrivateProfileString(Section(k), std::nullopt, std::nullopt, file);
  }
}

bool SaveJob(Context& context) {
  Job& job = context.job;
  if (job.filePath.empty()) return false;
  ReadJobFields(context, ScaleRule::kSave);
  std::string saving = job.filePath + ".saving";
  std::filesystem::remove(saving);
  char scale[32];
  double whole = std::trunc(job.scale);
  std::snprintf(scale, sizeof scale, "%d",
                std::isnan(whole) ? 0 : static_cast<int>(std::clamp(whole, -2147483648.0, 2147483647.0)));
  ProfileWriteBatch batch(saving);
  batch.Write("0", "format", job.presentation);
  batch.Write("0", "scale", scale);
  for (const auto& output : job.outputs) WriteRecordTo(context, *output, batch);
  bool written = batch.Commit();
  std::error_code error;
  if (written) std::filesystem::rename(saving, job.filePath, error);
  if (!written || error) {
    std::filesystem::remove(saving, error);
    return false;
  }
  context.screen.SetText(control::kJobTitle, job.filePath);
  return true;
}

bool IsJobFile(const std::string& path) {
  for (const std::string& section : ProfileSectionNames(path)) {
    if (strcasecmp(section.c_str(), "Job") == 0 || section == "0" || section == "1") return true;
  }
  return false;
}

std::vector<std::string> JobFileWarnings(const std::string& path) {
  std::vector<std::string> warnings;
  ProfileReader reader(path);
  // Read as the load reads it: a number, and any number but 1 runs curves.
  auto option = static_cast<int32_t>(GetPrivateProfileInt("Job", "Option", 0, path));
  if (option != kGenerateCurves && option != kGenerateReport) {
    warnings.push_back("Option=" + std::to_string(option) +
                       " is no run option (0 Generate Curve(s), 1 Generate Report): the job "
                       "runs as Generate Curve(s)");
  }
  for (int number = 1;; ++number) {
    std::vector<std::string> tokens =
        SplitAtCommas(reader.Read(Section(number), "output", "", kRecordLimit));
    if (tokens.empty()) break;
    if (tokens[0].size() > kOutputNameLimit) {
      warnings.push_back("output " + std::to_string(number) + ": the name " + tokens[0] +
                         " is cut to its first " + std::to_string(kOutputNameLimit) +
                         " characters, " + tokens[0].substr(0, kOutputNameLimit));
    }
  }
  return warnings;
}

std::string FindFileIgnoringCase(const std::string& path) {
  std::error_code error;
  std::filesystem::path wanted(path);
  if (std::filesystem::exists(wanted, error)) return path;
  std::filesystem::path folder = wanted.has_parent_path() ? wanted.parent_path() : ".";
  std::string name = wanted.filename().string();
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (strcasecmp(entry.path().filename().c_str(), name.c_str()) == 0) {
      return (folder / entry.path().filename()).string();
    }
  }
  return path;
}

}  // namespace quillex
