#include "libs/las/database_selection.h"

#include <algorithm>
#include <map>

#include "libs/las/curve_names.h"
#include "libs/las/las_lines.h"

namespace las {

using namespace dorvex;

namespace {

// Component n of a stored path: 1 to 6 are L1, L2, L3, SET, NAME and PASS.
std::string Component(const std::string& path, size_t n) {
  size_t start = 0;
  for (size_t i = 1; i < n && start != std::string::npos; ++i) start = path.find('/', start + 1);
  if (start == std::string::npos) return "";
  return path.substr(start + 1, path.find('/', start + 1) - start - 1);
}

// The order the database gives passes for "*": by the number they start
// with, then by text.
bool LaterPass(const std::string& a, const std::string& b) {
  auto number = [](const std::string& pass) {
    int64_t value = 0;
    for (size_t i = 0; i < pass.size() && pass[i] >= '0' && pass[i] <= '9' && value < 1000000000;
         ++i) {
      value = value * 10 + (pass[i] - '0');
    }
    return value;
  };
  return number(a) != number(b) ? number(a) > number(b) : UpperLas(a) > UpperLas(b);
}

// The highest pass of each curve name, in listing order; the header apart.
struct Found {
  std::vector<std::string> order;  // curve names, upper case
  std::map<std::string, DorvexItem> curves;
  std::string header;
  std::string headerPass;
};

void Take(const DorvexItem& item, Found* found) {
  std::string name = UpperLas(Component(item.path, 5));
  std::string pass = Component(item.path, 6);
  if (item.kind == 2 && name == UpperLas(kLasHeaderName)) {
    if (found->header.empty() || LaterPass(pass, found->headerPass)) {
      found->header = item.path;
      found->headerPass = pass;
    }
    return;
  }
  if (item.kind != 1) return;
  auto [at, added] = found->curves.try_emplace(name, item);
  if (added) found->order.push_back(name);
  if (!added && LaterPass(pass, Component(at->second.path, 6))) at->second = item;
}

bool Choose(const Found& found, const std::vector<std::string>& names, const std::string& setPath,
            LasSelection* selection, std::string* error) {
  std::vector<std::string> wanted = names;
  if (wanted.empty()) wanted = found.order;
  for (const std::string& name : wanted) {
    auto at = found.curves.find(UpperLas(name));
    if (at == found.curves.end()) {
      *error = "no curve " + name + " in " + setPath;
      return false;
    }
    selection->curves.push_back(at->second);
    selection->names.push_back(Component(at->second.path, 5));
  }
  if (selection->curves.empty()) *error = "no curves in " + setPath;
  return !selection->curves.empty();
}

std::string Named(const DorvexItem& item) { return Component(item.path, 5); }

bool CheckCurve(const DorvexItem& item, const DorvexItem& first, std::string* error) {
  if (item.elementSize != 4) {
    *error = Named(item) + " holds no samples of one value each";
  } else if (item.timeBased != first.timeBased) {
    *error = "curves of depth and curves of time cannot share a file (" + Named(first) + ", " +
             Named(item) + "): choose with --curves";
  } else if (item.count > 0 && first.count > 0 && item.step != first.step) {
    *error = "the curves have different steps (" + Named(first) + " " + std::to_string(first.step) +
             ", " + Named(item) + " " + std::to_string(item.step) +
             " index units): choose curves of one step with --curves";
  } else if (item.count > 0 && first.count > 0 && (item.top - first.top) % first.step != 0) {
    *error = "the curves " + Named(first) + " and " + Named(item) +
             " lie on different grids "
             "of the same step: choose with --curves";
  } else {
    return true;
  }
  return false;
}

bool ShareGrid(LasSelection* selection, std::string* error) {
  auto sampled = std::find_if(selection->curves.begin(), selection->curves.end(),
                              [](const DorvexItem& item) { return item.count > 0; });
  if (sampled == selection->curves.end()) {
    *error = "none of the curves has samples";
    return false;
  }
  int64_t top = sampled->top;
  int64_t bottom = sampled->bottom;
  for (const DorvexItem& item : selection->curves) {
    if (!CheckCurve(item, *sampled, error)) return false;
    if (item.count > 0) top = std::min<int64_t>(top, item.top);
    if (item.count > 0) bottom = std::max<int64_t>(bottom, item.bottom);
  }
  selection->grid = {static_cast<int32_t>(top), sampled->step, (bottom - top) / sampled->step + 1};
  selection->time = sampled->timeBased;
  return true;
}

}  // namespace

bool SelectCurves(DorvexLibrary& library, uint32_t database, const std::string& setPath,
                  const std::vector<std::string>& names, LasSelection* selection,
                  std::string* error) {
  *selection = LasSelection();
  std::vector<DorvexItem> items;
  if (DorvexListItems(library, database, setPath, &items) != 0 || items.empty() ||
      items[0].level != 4 || items[0].kind != 0) {
    *error = "no data set " + setPath + " in the database";
    return false;
  }
  Found found;
  for (const DorvexItem& item : items) {
    if (item.level == 6) Take(item, &found);
  }
  selection->headerPath = found.header;
  return Choose(found, names, setPath, selection, error) && ShareGrid(selection, error);
}

}  // namespace las
