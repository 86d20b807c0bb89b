#include "curvedata/input_binding.h"

#include <strings.h>

#include <cstdio>

#include "curvedata/context.h"
#include "curvedata/curve_path.h"
#include "libs/dorvex/curve_info.h"
#include "model/message_box.h"

namespace quillex {

namespace {

std::string Format(const char* format, const std::string& a, const std::string& b = "",
                   const std::string& c = "") {
  std::vector<char> text(std::string(format).size() + a.size() + b.size() + c.size() + 1);
  std::snprintf(text.data(), text.size(), format, a.c_str(), b.c_str(), c.c_str());
  return text.data();
}

bool Fail(Context& context, const std::string& message) {
  ErrorBox(context.screen, message);
  return false;
}

// The first four components, each followed by "/": the data set of a path,
// without its leading "/", or "" when the path has fewer components.
std::string DataSetOf(const std::string& path) {
  std::string set;
  for (int32_t n = 0; n < 4; ++n) {
    std::string component = PathComponent(path, n);
    if (component.empty()) return "";
    set += component + "/";
  }
  return set;
}

// Where a node's curve is looked for, in order: its own path, then (when
// the path names a data set) the curve of the variable's name there and the
// variable under its "_vars_".
std::vector<std::string> InputPaths(const VariableBinding& node) {
  std::string set = DataSetOf(node.path);
  if (set.empty()) return {node.path};
  return {node.path, set + node.name + "/*", set + "_vars_/" + node.name};
}

// Opens the node's curve at the first of its paths that opens; that path
// stays in the node (the curve form when none opens).
bool OpenInputCurve(Context& context, uint32_t database, VariableBinding& node, dorvex::CurveInfo* info) {
  std::vector<std::string> paths = InputPaths(node);
  for (const std::string& path : paths) {
    if (dorvex::DorvexOpenCurve(context.dorvex, database, path, &node.curve, dorvex::kDorvexRead,
                                info) == 0) {
      node.path = path;
      return true;
    }
  }
  if (paths.size() > 1) node.path = paths[1];
  return false;
}

// The file of a database named by a file path: the base name in the
// library's database folder.
std::string DatabaseFileOf(Context& context, const std::string& databaseFile) {
  std::string name;
  corutil::CorutilSplitPath(databaseFile, 0, 0, &name, 0);
  return dorvex::DorvexGetSetting(context.dorvex, dorvex::setting::kDatabaseFolder).text + name +
         ".db";
}

// Depth or time: the first input of a run decides; later ones must agree.
bool CheckKindOfData(Context& context, const dorvex::CurveInfo& info) {
  int32_t mode = dorvex::IsTimeBased(info) ? 0 : 1;
  if (context.firstInput) {
    context.runMode = mode;
    context.firstInput = false;
    return true;
  }
  return mode == context.runMode;
}

void TakeExtent(Context& context, const dorvex::CurveInfo& info, VariableBinding& node) {
  dorvex::DorvexLibrary& dorvex = context.dorvex;
  node.top = info.top;
  node.bottom = info.bottom;
  if (dorvex::DorvexQueryState(dorvex, node.curve, IndexUnset, IndexUnset, 0, 0) & dorvex::kDorvexNotYetAvailable) {
    node.top = IndexUnset;
  }
  if (dorvex::DorvexQueryState(dorvex, node.curve, IndexLimit, IndexLimit, 0, 0) & dorvex::kDorvexNotYetAvailable) {
    node.bottom = IndexLimit;
  }
  node.step = info.step;
  if (node.step == 0) {
    node.step = kDefaultStep;
    node.kind = kNodeSingleValue;
  }
}

// A connection from an earlier run keeps the conversion made then.
void TakeUnits(Context& context, const dorvex::CurveInfo& info, VariableBinding& node) {
  if (node.sourceUnits != 0) return;
  dorvex::DorvexLibrary& dorvex = context.dorvex;
  node.sourceUnits = dorvex::DorvexUnitInSystem(dorvex, 0, info.units);
  if (node.units == 0) {
    int32_t system = dorvex::DorvexGetSetting(dorvex, dorvex::setting::kUnitSystem).number;
    node.units = dorvex::DorvexUnitInSystem(dorvex, system, info.units);
  }
  node.conversion = dorvex::DorvexMakeConversion(dorvex, node.sourceUnits, node.units);
}

void CloseNodeCurve(Context& context, VariableBinding& node) {
  // An input: nothing of it to store.
  static_cast<void>(dorvex::DorvexCloseCurve(context.dorvex, node.curve));
  node.curve = 0;
}

}  // namespace

uint32_t OpenDatabaseByName(Context& context, const std::string& databaseFile) {
  if (databaseFile.empty()) return 0;
  std::string name;
  corutil::CorutilSplitPath(databaseFile, 0, 0, &name, 0);
  DatabaseSlot* free = nullptr;
  for (DatabaseSlot& slot : context.slots) {
    if (slot.handle != 0 && strcasecmp(slot.name.c_str(), name.c_str()) == 0) return slot.handle;
    if (slot.handle == 0) free = &slot;
  }
  if (free == nullptr) {
    char message[96];
    std::snprintf(message, sizeof message, "Can only use %d different databases at a time.",
                  static_cast<int>(kDatabaseSlots));
    ErrorBox(context.screen, message);
    return 0;
  }
  free->name = name;
  std::string file = dorvex::DorvexDatabaseFile(context.dorvex, name);
  if (dorvex::DorvexOpenDatabase(context.dorvex, file, 0, &free->handle) != 0) {
    ErrorBox(context.screen, Format("Can't open database: %s.db.", name));
    free->handle = 0;
  }
  return free->handle;
}

bool ConnectInput(Context& context, VariableBinding& node) {
  if (node.kind != kNodeInput && node.kind != kNodeSingleValue) {
    node.curve = 0;
    return true;
  }
  if (node.database.empty() || node.path.empty()) {
    return Fail(context, Format("Must specify pass for Input %s", node.name));
  }
  uint32_t database = OpenDatabaseByName(context, node.database);
  if (database == 0) return false;
  dorvex::CurveInfo info = dorvex::EmptyCurveInfo();
  if (!OpenInputCurve(context, database, node, &info)) {
    return Fail(context, Format("Unable to connect to input %s in %s: %s", node.name,
                                node.database, node.path));
  }
  if (!CheckKindOfData(context, info)) {
    CloseNodeCurve(context, node);
    return Fail(context, "You can not mix depth based and time based data");
  }
  if (info.typeA != 0 || info.typeB != 0) {
    CloseNodeCurve(context, node);
    // The third value names the variable that asked for the item.
    return Fail(context, Format("The data in %s: %s/%s is not suitable for use as a Quillex Input",
                                node.database, node.path, node.name));
  }
  TakeExtent(context, info, node);
  TakeUnits(context, info, node);
  return true;
}

int32_t FirstInputRunMode(Context& context) {
  for (const auto& output : context.job.outputs) {
    for (const auto& node : output->variables) {
      if (node->kind != kNodeInput && node->kind != kNodeSingleValue) continue;
      if (node->database.empty() || node->path.empty()) return -1;
      dorvex::DorvexLibrary& dorvex = context.dorvex;
      uint32_t database = 0;
      if (dorvex::DorvexOpenDatabase(dorvex, DatabaseFileOf(context, node->database), 0, &database) != 0) {
        return -1;
      }
      dorvex::CurveInfo info = dorvex::EmptyCurveInfo();
      int32_t mode = -1;
      for (const std::string& path : InputPaths(*node)) {
        uint32_t curve = 0;
        if (dorvex::DorvexOpenCurve(dorvex, database, path, &curve, dorvex::kDorvexRead, &info) != 0) {
          continue;
        }
        static_cast<void>(dorvex::DorvexCloseCurve(dorvex, curve));  // only read
        mode = dorvex::IsTimeBased(info) ? 0 : 1;
        break;
      }
      dorvex::DorvexCloseDatabase(dorvex, database);
      return mode;
    }
  }
  return -1;
}

}  // namespace quillex
