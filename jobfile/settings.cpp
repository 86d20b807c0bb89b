#include "jobfile/settings.h"

#include <strings.h>

#include <cstdlib>

#include "curvedata/context.h"
#include "curvedata/index_value.h"
#include "formula/number_text.h"
#include "libs/profile/profile.h"
#include "model/message_box.h"

namespace quillex {

namespace {

constexpr const char* kSection = "Quillex";
constexpr unsigned kSettingLimit = 9;  // read with a 10-character buffer

std::string ReadSetting(Context& context, const char* key) {
  std::string text = profile::ReadProfileString(SettingsFile(context), kSection, key, "", kSettingLimit);
  return TrimSpaces(text);
}

bool ContainsIgnoringCase(const std::string& text, const std::string& part) {
  if (part.empty()) return true;
  for (size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (strncasecmp(text.c_str() + at, part.c_str(), part.size()) == 0) return true;
  }
  return false;
}

// The job file named on the command line, "" when none. File names are
// compared without regard to case but kept as given.
std::string JobFromCommandLine(Context& context, const std::string& commandLine) {
  size_t option = commandLine.find("-args ");
  if (option == std::string::npos) return "";
  std::string file = dorvex::DorvexParseArgs(commandLine.substr(option + 6));
  if (file.empty()) return "";
  std::string folder = dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kSettingsFolder).text;
  return ContainsIgnoringCase(file, folder) ? file : folder + file;
}

}  // namespace

std::string SettingsFile(Context& context) {
  return dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kSettingsFolder).text + "corvane.ini";
}

void LoadSettings(Context& context, const std::string& commandLine) {
  std::string drive = ReadSetting(context, "Drive");
  context.runMode = drive.empty() ? 1 : std::atoi(drive.c_str());
  SetIndexFactor(context);
  bool metric = dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kMetricDepth).number == 1;
  std::string scale = ReadSetting(context, "Scale");
  context.job.scale = scale.empty() ? (metric ? 200.0 : 240.0) : ReadLeadingNumber(scale);
  context.job.intervalFrom = IndexUnset;
  context.job.intervalTo = IndexUnset;
  context.job.filePath = JobFromCommandLine(context, commandLine).substr(0, kFilePathLimit);
}

void SaveSettings(Context& context) {
  std::string file = SettingsFile(context);
  profile::WritePrivateProfileString(kSection, "Drive", std::to_string(context.runMode), file);
  profile::WritePrivateProfileString(kSection, "Script", context.job.filePath, file);
}

}  // namespace quillex
