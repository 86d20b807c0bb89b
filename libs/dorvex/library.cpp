// The library object, start-up, settings, texts and the small services.
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "libs/dorvex/dorvex.h"
#include "libs/dorvex/library_state.h"
#include "libs/profile/profile.h"

namespace dorvex {

using namespace internal;

DorvexLibrary::DorvexLibrary() : state(std::make_unique<State>()) {}

// Closing the library closes what is still open, committing buffered samples,
// so a caller that forgets a handle loses no data.
DorvexLibrary::~DorvexLibrary() {
  for (size_t i = 0; i < state->databases.size(); ++i) {
    DorvexCloseDatabase(*this, static_cast<uint32_t>(i + 1));
  }
}

namespace {

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string DefaultHome() {
  if (const char* home = std::getenv("CORVANE_HOME"); home != nullptr && *home != '\0') {
    return home;
  }
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
    return WithSlash(data) + "corvane";
  }
  const char* user = std::getenv("HOME");
  return WithSlash(user != nullptr ? user : ".") + ".local/share/corvane";
}

bool MakeFolder(const std::string& folder) {
  std::string partial;
  for (size_t at = 0; at <= folder.size(); ++at) {
    if (at == folder.size() || (folder[at] == '/' && at > 0)) {
      partial = folder.substr(0, at);
      if (::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat status;
  return ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Reads the two integer keys of section "Corvane" of the system's settings
// file the way Windows programs read them, through the same private-profile
// engine as the program's own keys: quotes around a value are stripped, the
// first of repeated keys or sections wins. Missing keys, sections or files
// give 0.
void ReadSystemSettings(DorvexLibrary::State& state) {
  std::string file = state.home + "jobs/corvane.ini";
  state.metricDepth = static_cast<int32_t>(profile::GetPrivateProfileInt("Corvane", "Metric", 0, file));
  state.unitSystem = static_cast<int32_t>(profile::GetPrivateProfileInt("Corvane", "Units", 0, file));
}

}  // namespace

int DorvexInitializeAt(DorvexLibrary& library, const std::string& home) {
  DorvexLibrary::State& state = *library.state;
  state.home = WithSlash(home);
  for (const char* folder : {"", "db/", "jobs/", "plots/"}) {
    if (!MakeFolder(state.home + folder)) return 0;
  }
  ReadSystemSettings(state);
  state.units = std::make_unique<UnitTable>(state.home + "units.txt");
  return sqlite3_threadsafe() >= 0 ? 1 : 0;
}

int DorvexInitialize(DorvexLibrary& library, int32_t /*flags*/) {
  return DorvexInitializeAt(library, DefaultHome());
}

DorvexSetting DorvexGetSetting(DorvexLibrary& library, int32_t index) {
  const DorvexLibrary::State& state = *library.state;
  DorvexSetting setting;
  switch (index) {
    case setting::kMetricDepth:
      setting.number = state.metricDepth;
      break;
    case setting::kUnitSystem:
      setting.number = state.unitSystem;
      break;
    case setting::kDatabaseFolder:
      setting.text = state.home + "db/";
      break;
    case setting::kSettingsFolder:
      setting.text = state.home + "jobs/";
      break;
    case setting::kPresentationFolder:
      setting.text = state.home + "plots/";
      break;
    default:
      break;
  }
  return setting;
}

std::string DorvexGetText(DorvexLibrary& /*library*/, int32_t number) {
  switch (number) {
    case 249:
      return "Quillex run settings";
    case 250:
      return "The run settings for the plotting program could not be written.";
    default:
      return "";
  }
}

std::string DorvexDatabaseFile(DorvexLibrary& library, const std::string& name) {
  return FindDatabaseFile(library.state->home + "db/", name + ".db");
}

int32_t DorvexUnitCode(DorvexLibrary& library, const std::string& text) {
  return library.state->units->Code(text);
}

int32_t DorvexUnitInSystem(DorvexLibrary& library, int32_t system, int32_t code) {
  return library.state->units->InSystem(system, code);
}

uint32_t DorvexMakeConversion(DorvexLibrary& library, int32_t from, int32_t to) {
  return library.state->units->MakeConversion(from, to);
}

double DorvexConvert(DorvexLibrary& library, double value, uint32_t conversion) {
  return library.state->units->Convert(value, conversion);
}

std::string DorvexUnitLabel(DorvexLibrary& library, int32_t code) {
  return library.state->units->Label(code);
}

const UnitTable& DorvexUnits(DorvexLibrary& library) { return *library.state->units; }

std::string DorvexTempFileName(DorvexLibrary& /*library*/) {
  const char* folder = std::getenv("TMPDIR");
  std::string name = WithSlash(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                     "quillexXXXXXX";
  int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) return "";
  ::close(descriptor);
  return name;
}

}  // namespace dorvex
