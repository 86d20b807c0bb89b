// What the database browser shows: the log databases of the database folder
// as trees of their items, cut down to what a request can choose.
//
// A request names what may be chosen with a pattern of path components,
// "*" standing for any one ("/*/*/*/*" is any data set, "/*/*/*/_plots_/
// _qxrp_/*" any numbered result). The tree keeps the items that match and
// the items on the way to them, so that every branch the user opens leads
// somewhere; below a match it keeps everything, down to the passes, but as
// information only (a data set is recognised by its curves). The window
// draws the tree and nothing more: which item may be chosen, and what a
// line says about an item, are settled here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillex {

struct Context;

struct BrowseNode {
  std::string name;     // the component as stored
  std::string path;     // "/L1/L2/..." as stored
  std::string details;  // "data set", "6001 samples, 4000.00 to 7000.00 ft", ...
  bool choosable = false;
  std::vector<BrowseNode> children;
  bool isCurve = false;  // a pass of a curve, with samples
};

struct BrowseDatabase {
  std::string name;  // the base name the source labels show
  std::string file;
  bool readable = false;  // false: not a log database of ours, or unreadable
  std::vector<BrowseNode> items;
};

// Whether a path (components matched without regard to case) is one the
// pattern chooses, and whether it lies on the way to one (a proper prefix).
bool PatternMatches(const std::string& pattern, const std::string& path);
bool PatternLeadsTo(const std::string& pattern, const std::string& path);

// Every database file of the database folder, in name order, with the items
// a request of this pattern shows.
std::vector<BrowseDatabase> ListBrowseTree(Context& context, const std::string& pattern);

// Where the browser opens for a current choice: the path of the deepest item
// of the tree that the choice names, a pass "*" standing for the highest
// pass; "" when the choice names no item of that database.
std::string OpeningPath(const BrowseDatabase& database, const std::string& choice);

}  // namespace quillex
