#include "curvedata/destination.h"

#include <array>
#include <cctype>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "curvedata/job_fields.h"
#include "model/message_box.h"

namespace quillex {

namespace {

// Tries for a free data set name before giving up silently.
constexpr int kSetTries = 500;
// Result numbers run from 1 to below this.
constexpr int kPassLimit = 500;
constexpr size_t kNameLimit = 10;

std::array<std::string, 4> FirstComponents(const std::string& path) {
  std::array<std::string, 4> components;
  for (int32_t n = 0; n < 4; ++n) components[static_cast<size_t>(n)] = PathComponent(path, n);
  return components;
}

bool IsReport(const Context& context) { return context.job.runOption == kGenerateReport; }

// Opens the destination's database for naming; 0 after a message.
uint32_t OpenForNaming(Context& context) {
  uint32_t database = 0;
  const std::string& file = context.job.destination.database;
  if (dorvex::DorvexOpenDatabase(context.dorvex, file, 0, &database) != 0) {
    ErrorBox(context.screen, "The database " + file + " cannot be opened.");
    return 0;
  }
  return database;
}

bool Nameable(const Context& context, const std::array<std::string, 4>& components) {
  return !context.job.destination.database.empty() && !components[2].empty();
}

}  // namespace

std::string NextSetName(const std::string& name) {
  bool trailing = !name.empty() && name.back() == '_';
  size_t end = trailing ? name.size() - 1 : name.size();
  size_t start = end;
  while (start > 1 && std::isdigit(static_cast<unsigned char>(name[start - 1]))) --start;
  std::string next = name;
  if (start < end) {
    long long value = std::stoll(name.substr(start, end - start));
    next = (name.substr(0, start) + std::to_string(value + 1)).substr(0, kNameLimit);
  }
  if (trailing && next.size() < kNameLimit) next += "_";
  return next;
}

void DeriveDestination(Context& context, const std::string& databaseFile,
                       const std::string& chosenPath) {
  DataSource& destination = context.job.destination;
  if (destination.chosen()) return;
  destination.database = databaseFile;
  destination.path = chosenPath;
  while (!PathComponent(destination.path, 3).empty()) {
    destination.path.erase(destination.path.rfind('/'));
  }
  if (IsReport(context)) {
    destination.path += "/_plots_/_qxrp_";
    CreateDestinationPass(context);
  } else {
    destination.path += "/_qxj1_";
    CreateDestinationSet(context);
  }
}

void CreateDestinationSet(Context& context) {
  std::array<std::string, 4> c = FirstComponents(context.job.destination.path);
  if (!Nameable(context, c)) return;
  if (c[3].empty()) c[3] = IsReport(context) ? "_qxrp_" : "_qxj1_";
  uint32_t database = OpenForNaming(context);
  if (database == 0) return;
  char record[dorvex::kDorvexNodeSize] = {};
  for (int attempt = 0; attempt < kSetTries; ++attempt) {
    std::string path = "/" + c[0] + "/" + c[1] + "/" + c[2] + "/" + c[3];
    if (dorvex::DorvexCreateNode(context.dorvex, database, path, dorvex::kDorvexNodeSize, record, 3, 0) == 1) {
      context.job.destination.path = path;
      break;
    }
    c[3] = NextSetName(c[3]);
  }
  dorvex::DorvexCloseDatabase(context.dorvex, database);
}

void CreateDestinationPass(Context& context) {
  std::array<std::string, 4> c = FirstComponents(context.job.destination.path);
  if (!Nameable(context, c)) return;
  uint32_t database = OpenForNaming(context);
  if (database == 0) return;
  std::string set = IsReport(context) ? "_qxrp_" : "_qxj1_";
  char record[dorvex::kDorvexNodeSize] = {};
  for (int n = 1; n < kPassLimit; ++n) {
    std::string path = "/" + c[0] + "/" + c[1] + "/" + c[2] + "/" + c[3] + "/" + set + "/" +
                       std::to_string(n);
    if (dorvex::DorvexCreateNode(context.dorvex, database, path, dorvex::kDorvexNodeSize, record, 5, 1) == 1) {
      context.job.destination.path = path;
      break;
    }
  }
  dorvex::DorvexCloseDatabase(context.dorvex, database);
}

bool ChooseOutputDestination(Context& context) {
  if (context.run.running) return false;
  ReadJobFields(context, ScaleRule::kRun);
  BrowseRequest request{"Output Destination", IsReport(context) ? kResultPattern : kDataSetPattern,
                        0, context.job.destination};
  std::optional<DataSource> chosen = context.screen.Browse(request);
  if (!chosen) return false;
  context.job.destination = *chosen;
  ShowList(context);
  return true;
}

}  // namespace quillex
