#include "tools/run_leavings.h"

#include <algorithm>
#include <strings.h>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"

namespace quillex {

namespace {

std::string Location(const std::string& path) {
  std::string location;
  for (int32_t n = 0; n < 3; ++n) {
    std::string component = PathComponent(path, n);
    if (component.empty()) return "";
    location += "/" + component;
  }
  return location;
}

// Paths are matched without regard to case, as the database matches them.
std::string Key(std::string path) {
  for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return path;
}

bool List(Context& context, uint32_t database, const std::string& location,
          std::vector<dorvex::DorvexItem>* items) {
  return dorvex::DorvexListItems(context.dorvex, database, location, items) == 0;
}

}  // namespace

void RunLeavings::Before(Context& context, const DataSource& where) {
  database_ = where.database;
  location_ = Location(where.path);
  uint32_t database = 0;
  if (location_.empty() ||
      dorvex::DorvexOpenDatabase(context.dorvex, database_, 0, &database) != 0) {
    return;
  }
  std::vector<dorvex::DorvexItem> items;
  // A location not there yet has nothing under it: all will be new.
  if (List(context, database, location_, &items)) {
    for (const auto& item : items) before_.insert(Key(item.path));
  }
  dorvex::DorvexCloseDatabase(context.dorvex, database);
  noted_ = true;
}

std::vector<std::string> RunLeavings::RemoveEmpty(Context& context, bool failed) {
  std::vector<std::string> removed;
  uint32_t database = 0;
  if (!noted_ || dorvex::DorvexOpenDatabase(context.dorvex, database_, 0, &database) != 0) {
    return removed;
  }
  // Deepest first, again and again: a set empties once its last curve goes.
  for (bool more = true; more;) {
    more = false;
    std::vector<dorvex::DorvexItem> items;
    if (!List(context, database, location_, &items)) break;
    std::set<std::string> parents;
    for (const auto& item : items) parents.insert(Key(item.path.substr(0, item.path.rfind('/'))));
    for (const auto& item : items) {
      if (before_.count(Key(item.path)) != 0) continue;
      bool empty = item.kind == 0 ? parents.count(Key(item.path)) == 0
                                  : item.kind == 1 && failed && item.count == 0;
      if (!empty) continue;
      if (dorvex::DorvexDeleteItem(context.dorvex, database, item.path, nullptr) == 0) {
        removed.push_back(item.path);
        more = true;
      }
    }
  }
  dorvex::DorvexCloseDatabase(context.dorvex, database);
  return removed;
}

}  // namespace quillex
