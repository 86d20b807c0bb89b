#include "curvedata/browse_tree.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "curvedata/context.h"

namespace quillex {

namespace {

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> components;
  size_t at = 0;
  while (at < path.size()) {
    size_t slash = path.find('/', at);
    if (slash == std::string::npos) slash = path.size();
    if (slash > at) components.push_back(path.substr(at, slash - at));
    at = slash + 1;
  }
  return components;
}

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

// Whether the first components of a path match the pattern's.
bool PrefixMatches(const std::vector<std::string>& pattern, const std::vector<std::string>& path) {
  if (path.size() > pattern.size()) return false;
  for (size_t n = 0; n < path.size(); ++n) {
    if (pattern[n] != "*" && !SameName(pattern[n], path[n])) return false;
  }
  return true;
}

std::string Range(Context& context, const dorvex::DorvexItem& item) {
  double factor = item.timeBased ? 100.0 : context.metric ? 19685.0 : 6000.0;
  const char* unit = item.timeBased ? "s" : context.metric ? "m" : "ft";
  char text[96];
  std::snprintf(text, sizeof text, "%.2f to %.2f %s", item.top / factor, item.bottom / factor, unit);
  return text;
}

std::string Details(Context& context, const dorvex::DorvexItem& item) {
  if (item.kind == 2) return "stored file: " + item.title;
  if (item.kind == 1) {
    std::string text = std::to_string(item.count) + (item.count == 1 ? " sample" : " samples");
    if (item.count > 0 && item.step > 0) text += ", " + Range(context, item);
    return item.recording ? text + ", being recorded" : text;
  }
  static const char* const kLevels[] = {"location", "location", "location", "data set"};
  return item.level >= 1 && item.level <= 4 ? kLevels[item.level - 1] : "";
}

// The items of a listing (depth first, each followed by what lies below
// it) from `at` on, as long as they lie below `level`.
std::vector<BrowseNode> Build(Context& context, const std::vector<dorvex::DorvexItem>& items,
                              size_t& at, int32_t level) {
  std::vector<BrowseNode> nodes;
  while (at < items.size() && items[at].level > level) {
    const dorvex::DorvexItem& item = items[at++];
    BrowseNode node{item.name, item.path, Details(context, item), false, {}};
    node.children = Build(context, items, at, item.level);
    // Below a data set, a node is a curve when it holds passes, and an
    // empty place (a result not yet written) when it holds nothing.
    bool passes = std::any_of(node.children.begin(), node.children.end(),
                              [](const BrowseNode& child) { return child.isCurve; });
    if (item.kind == 0 && item.level > 4) node.details = passes ? "curve" : node.children.empty() ? "empty" : "";
    node.isCurve = item.kind == 1;
    nodes.push_back(std::move(node));
  }
  return nodes;
}

// Keeps what matches, what leads to a kept match, and everything below a
// match (as information, not to be chosen).
void Prune(const std::vector<std::string>& pattern, std::vector<BrowseNode>& nodes) {
  std::vector<BrowseNode> kept;
  for (BrowseNode& node : nodes) {
    std::vector<std::string> path = Components(node.path);
    if (!PrefixMatches(pattern, path)) continue;
    if (path.size() == pattern.size()) {
      node.choosable = true;
    } else {
      Prune(pattern, node.children);
      if (node.children.empty()) continue;
    }
    kept.push_back(std::move(node));
  }
  nodes = std::move(kept);
}

BrowseDatabase ListDatabase(Context& context, const std::filesystem::path& file,
                            const std::vector<std::string>& pattern) {
  BrowseDatabase database{file.stem().string(), file.string(), false, {}};
  uint32_t handle = 0;
  if (dorvex::DorvexOpenDatabase(context.dorvex, database.file, 0, &handle) != 0) return database;
  std::vector<dorvex::DorvexItem> items;
  database.readable = dorvex::DorvexListItems(context.dorvex, handle, "/", &items) == 0;
  dorvex::DorvexCloseDatabase(context.dorvex, handle);
  size_t at = 0;
  database.items = Build(context, items, at, 0);
  Prune(pattern, database.items);
  return database;
}

bool IsDatabaseFile(const std::filesystem::directory_entry& entry) {
  std::error_code error;
  return entry.is_regular_file(error) && SameName(entry.path().extension().string(), ".db");
}

}  // namespace

bool PatternMatches(const std::string& pattern, const std::string& path) {
  std::vector<std::string> wanted = Components(pattern);
  std::vector<std::string> components = Components(path);
  return components.size() == wanted.size() && PrefixMatches(wanted, components);
}

bool PatternLeadsTo(const std::string& pattern, const std::string& path) {
  std::vector<std::string> wanted = Components(pattern);
  std::vector<std::string> components = Components(path);
  return components.size() < wanted.size() && PrefixMatches(wanted, components);
}

std::vector<BrowseDatabase> ListBrowseTree(Context& context, const std::string& pattern) {
  std::string folder = dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kDatabaseFolder).text;
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (IsDatabaseFile(entry)) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return strcasecmp(a.filename().c_str(), b.filename().c_str()) < 0;
  });
  std::vector<BrowseDatabase> databases;
  std::vector<std::string> wanted = Components(pattern);
  for (const auto& file : files) databases.push_back(ListDatabase(context, file, wanted));
  return databases;
}

std::string OpeningPath(const BrowseDatabase& database, const std::string& choice) {
  const std::vector<BrowseNode>* level = &database.items;
  std::string found;
  for (const std::string& component : Components(choice)) {
    const BrowseNode* next = nullptr;
    for (const BrowseNode& node : *level) {
      bool higherPass = component == "*" && (next == nullptr ||
                                             std::atol(node.name.c_str()) > std::atol(next->name.c_str()));
      if (higherPass || SameName(node.name, component)) next = &node;
    }
    if (next == nullptr) break;
    found = next->path;
    level = &next->children;
  }
  return found;
}

}  // namespace quillex
